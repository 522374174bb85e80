// mebrox-run: runs a hyper application from its project folder, in real windows or headless
// from an event script with a trace of what happened.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/headless/CommandLine.h"
#include "apps/headless/HeadlessRun.h"
#include "apps/headless/RunVerbs.h"
#include "apps/headless/Script.h"
#include "apps/run/Project.h"
#include "apps/run/ProjectCheck.h"
#include "apps/run/ProjectMap.h"
#include "apps/run/WebExport.h"
#include "host/Mci.h"
#include "host/ProjectFile.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"

namespace {

namespace fs = std::filesystem;

using mebrox::ExitFailed;
using mebrox::ExitOk;
using mebrox::ExitUsage;

mebrox::THelpText Help() {
  mebrox::THelpText help;
  help.Program = "mebrox-run";
  help.Version = MEBROX_VERSION;
  help.Date = MEBROX_RELEASE_DATE;
  help.Summary = "run a Mebrox hyper application";
  help.Synopsis = {"PROJECT.dpr",
                   "--headless [--script FILE] [--screenshots DIR] PROJECT.dpr",
                   "--check PROJECT.dpr",
                   "--map [--map-format dot|svg|png] [--map-output FILE] PROJECT.dpr",
                   "--export-html DIR [--force] PROJECT.dpr",
                   "--help | --help-script [text|markdown] | --version | --man"};
  help.Description =
      "Runs a Mebrox hyper application from its project file, or from the folder holding it. "
      "Every frame of the project is created at start and the first one is shown; closing it "
      "ends the application. The project folder becomes the current directory, so that word "
      "lists, texts, sounds and programs the frames name without a folder are found beside the "
      "project.\n\n"
      "Headless, the run reads events from a script and prints a trace of what the application "
      "does, one line for each effect (a frame shown, a message box and its answer, a sound "
      "command and its result ...). The kit's README describes the trace, the project files "
      "and the components.";
  help.Sections.push_back(
      {"Options",
       "",
       {{"--headless",
         "no windows on screen: events come from a script, and a trace of what the application "
         "does goes to standard output"},
        {"--script FILE", "the event script (default: standard input)"},
        {"--screenshots DIR", "save every form as DIR/NNN-CLASS.png each time it becomes visible"},
        {"--check",
         "load the project without showing it and report every broken or suspicious link as "
         "FILE(LINE): COMPONENT.PROPERTY: PROBLEM, errors first, then warnings"},
        {"--map", "write the frames and the links between them as a Graphviz graph"},
        {"--map-format dot|svg|png", "dot (the default), or svg or png drawn by Graphviz"},
        {"--map-output FILE", "write the map there instead of to standard output"},
        {"--export-html DIR",
         "publish the application as a folder of web files that any web server, or a browser "
         "from the disk, shows: `index.html` with every frame, the pictures and sounds, and a "
         "script and style sheet of the kit's own; a project with errors is refused with them "
         "listed, warnings are printed"},
        {"--force", "with --export-html, replace DIR when it is not empty"},
        {"--help", "show this text"},
        {"--help-script [text|markdown]",
         "show the script lines alone: as in this text, or as Markdown tables like the README's"},
        {"--version", "show the program's version"},
        {"--man", "show this text as a manual page, in roff"}}});
  help.Sections.push_back(mebrox::ScriptLinesSection(
      "Script lines",
      "One event a line; '#' starts a comment, and a word in double quotes may hold blanks. "
      "FORM is a form's name, CONTROL the name of a component on it.",
      mebrox::RunVerbs()));
  help.Sections.push_back(
      {"Exit status",
       "",
       {{"0",
         "the run is over: the script ran out or the application ended; with --check, no "
         "errors (warnings allowed)"},
        {"1",
         "the project could not be loaded, or a screenshot not written (the message names "
         "the file and the line); with --check, the project has errors"},
        {"2", "a wrong command line, or a faulty script (the message names the script line)"}},
       false});
  help.Sections.push_back(
      {"Environment",
       "",
       {{"MEBROX_WINDIR",
         "the folder of the default settings file Mebrox.ini; when unset, mebrox in "
         "$XDG_CONFIG_HOME (by default ~/.config/mebrox)"},
        {"QT_QPA_PLATFORM", "Qt's platform; headless runs take offscreen unless it is set"},
        {"SDL_AUDIODRIVER", "SDL's sound driver; headless runs take dummy unless it is set"}},
       false});
  help.SeeAlso = {"mebrox-studio(1)"};
  return help;
}

std::string Counted(int n, const std::string& what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// --export-html: a project that passes the check is laid out and written as a web folder.
int ExportHtml(const mebrox::TLoadedProject& project, const mebrox::TProjectReport& report,
               const mebrox::TCommandLine& line, const std::string& target) {
  mebrox::TPublishFindings findings = mebrox::WeighFindings(project, report);
  for (const mebrox::TFinding& f : findings.Errors) std::cerr << f.Text() << '\n';
  if (!findings.Errors.empty()) {
    std::cerr << "mebrox-run: " << line.Project << " has "
              << Counted(static_cast<int>(findings.Errors.size()), "error")
              << ": nothing published\n";
    return ExitFailed;
  }
  for (const mebrox::TFinding& f : findings.Warnings) std::cerr << f.Text() << '\n';
  try {
    mebrox::TWebSite site = mebrox::BuildWebSite(project);
    for (const std::string& w : site.Warnings) std::cerr << w << '\n';
    mebrox::WriteWebSite(site, target, *line.ExportHtml, project.Folder(), line.Force);
    std::cout << "Published " << line.Project << " to " << *line.ExportHtml << " ("
              << Counted(static_cast<int>(site.Files.size()), "file") << ")\n";
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    return ExitFailed;
  }
  return ExitOk;
}

// --check, --map and --export-html: the project is loaded as a run loads it, quietly, and
// looked at.
int Inspect(const mebrox::TCommandLine& line, const std::string& exportTarget) {
  std::unique_ptr<mebrox::TLoadedProject> project;
  try {
    project = mebrox::TLoadedProject::Load(line.Project);
  } catch (const std::exception& e) {
    std::cerr << "mebrox-run: " << e.what() << '\n';
    return ExitFailed;
  }
  mebrox::TProjectReport report = mebrox::CheckProject(*project);
  if (line.ExportHtml) return ExportHtml(*project, report, line, exportTarget);
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
  bool inspect = line.Check || line.Map || line.ExportHtml;
  // The map file is named from where the program started; loading moves into the project.
  mebrox::TCommandLine inspectLine = line;
  if (line.MapOutput) inspectLine.MapOutput = fs::absolute(*line.MapOutput).string();
  std::string exportTarget = line.ExportHtml ? fs::absolute(*line.ExportHtml).string() : "";
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
    int result = Inspect(inspectLine, exportTarget);
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
  return mebrox::ProgramMain(argc, argv, Help(), Run, rules);
}
