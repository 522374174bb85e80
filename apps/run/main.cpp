// mebrox-run: runs a hyper application from its project folder, in real windows or headless
// from an event script with a trace of what happened.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/headless/CommandLine.h"
#include "apps/headless/HeadlessRun.h"
#include "apps/headless/Script.h"
#include "apps/run/Project.h"
#include "apps/run/ProjectCheck.h"
#include "apps/run/ProjectMap.h"
#include "host/Mci.h"
#include "host/ProjectFile.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"

namespace {

namespace fs = std::filesystem;

using mebrox::ExitFailed;
using mebrox::ExitOk;
using mebrox::ExitUsage;

const char* const Usage =
    "Usage: mebrox-run PROJECT.dpr\n"
    "       mebrox-run --headless [--script FILE] [--screenshots DIR] PROJECT.dpr\n"
    "       mebrox-run --check PROJECT.dpr\n"
    "       mebrox-run --map [--map-format dot|svg|png] [--map-output FILE] PROJECT.dpr\n"
    "\n"
    "Runs a Mebrox hyper application from its project file, or from the folder holding it.\n"
    "\n"
    "  --headless          no windows on screen: events come from a script, and a trace of\n"
    "                      what the application does goes to standard output\n"
    "  --script FILE       the event script (default: standard input)\n"
    "  --screenshots DIR   save every form as DIR/NNN-CLASS.png each time it becomes visible\n"
    "  --check             load the project without showing it and report every broken or\n"
    "                      suspicious link as FILE(LINE): COMPONENT.PROPERTY: PROBLEM\n"
    "  --map               write the frames and the links between them as a Graphviz graph\n"
    "  --map-format F      dot (the default), or svg or png drawn by Graphviz\n"
    "  --map-output FILE   write the map there instead of to standard output\n"
    "  --help              show this text\n"
    "\n"
    "Script lines ('#' starts a comment):\n"
    "  move|down|up|click FORM.CONTROL X Y [right]\n"
    "  move|down|up|click FORM.HYPERTXT \"HOT WORD\" [right]   (the middle of the word)\n"
    "  answer yes|no|ok|cancel\n"
    "  screenshot FORM FILE.png\n"
    "  wait MS\n"
    "  type FORM.CONTROL \"TEXT\"\n"
    "  key FORM[.CONTROL] KEY          (Enter, Escape, Tab, Shift+Tab, Alt+O, F1 ...)\n"
    "  select FORM.CONTROL \"ITEM\"|N\n"
    "  check FORM.CONTROL on|off\n"
    "  file \"PATH\"                     (the answer for the next file dialog)\n"
    "\n"
    "Exit codes: 0 done, 1 the project or a picture could not be read or written (--check:\n"
    "the project has errors), 2 wrong command line or a faulty script.\n";

std::string Counted(int n, const std::string& what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// --check and --map: the project is loaded as a run loads it, quietly, and looked at.
int Inspect(const mebrox::TCommandLine& line) {
  std::unique_ptr<mebrox::TLoadedProject> project;
  try {
    project = mebrox::TLoadedProject::Load(line.Project);
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    return ExitFailed;
  }
  mebrox::TProjectReport report = mebrox::CheckProject(*project);
  if (line.Check) {
    for (const mebrox::TFinding& f : report.Findings) std::cout << f.Text() << '\n';
    std::cout << line.Project << ": "
              << Counted(static_cast<int>(project->Frames().size()), "frame") << " checked, "
              << Counted(report.Errors(), "error") << ", " << Counted(report.Warnings(), "warning")
              << '\n';
    return report.Errors() > 0 ? ExitFailed : ExitOk;
  }

  for (const mebrox::TFinding& f : project->LoadFailures())
    std::cerr << "mebrox-run: " << f.Text() << '\n';
  std::string format = line.MapFormat.value_or("dot");
  std::string map = mebrox::ProjectMapDot(*project, report);
  try {
    if (format != "dot") map = mebrox::RenderGraph(map, format);
    if (line.MapOutput)
      host::WriteFileAtomically(*line.MapOutput, map);
    else
      std::cout << map << std::flush;
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    return ExitFailed;
  }
  return project->LoadFailures().empty() ? ExitOk : ExitFailed;
}

int Run(const mebrox::TCommandLine& given) {
  std::string startDir = fs::current_path().string();
  mebrox::TCommandLine line = given;
  try {
    line.Project = host::ProjectFileAt(given.Project);
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    return ExitFailed;
  }
  bool inspect = line.Check || line.Map;
  // The map file is named from where the program started; loading moves into the project.
  mebrox::TCommandLine inspectLine = line;
  if (line.MapOutput) inspectLine.MapOutput = fs::absolute(*line.MapOutput).string();
  std::vector<mebrox::TScriptCommand> script;
  std::string scriptName;
  if (line.Headless) {
    // The whole script is checked before any of it runs.
    try {
      script = mebrox::ReadScript(line, mebrox::TScriptDialect::Run, scriptName);
    } catch (const std::exception& e) {
      std::cerr << "mebrox-run: " << e.what() << '\n';
      return ExitUsage;
    }
    mebrox::PrepareHeadlessProcess();
  }
  if (inspect) mebrox::PrepareHeadlessProcess();

  mebrox::TQtArguments qtArgs("mebrox-run");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/line.Headless || inspect);
  mebrox::RegisterProjectClasses();
  if (inspect) {
    // Wave players that start by themselves while their frame loads stay silent.
    host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
    int result = Inspect(inspectLine);
    mebrox::UnloadProject();
    return result;
  }

  int result = ExitOk;
  std::unique_ptr<mebrox::THeadlessRun> headless;
  try {
    if (line.Headless) {
      mebrox::THeadlessOptions options;
      options.StartDir = startDir;
      if (line.ScreenshotDir) options.ScreenshotDir = fs::absolute(*line.ScreenshotDir).string();
      headless = std::make_unique<mebrox::THeadlessRun>(std::cout, options);
    }
    mebrox::LoadProject(mebrox::ReadProjectFile(line.Project));
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    result = ExitFailed;
  }

  if (result == ExitOk && headless) {
    result = headless->RunScript(script, scriptName, "mebrox-run");
  } else if (result == ExitOk) {
    host::Application->Run();
  }

  // The trace ends with the run: what the forms do while they are freed is not part of it.
  headless.reset();
  mebrox::UnloadProject();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  mebrox::TCommandLineRules rules;
  rules.AllowProjectTools = true;
  return mebrox::ProgramMain(argc, argv, "mebrox-run", Usage, Run, rules);
}
