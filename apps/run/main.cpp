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
#include "host/qt/QtBackend.h"

namespace {

namespace fs = std::filesystem;

using mebrox::ExitFailed;
using mebrox::ExitOk;
using mebrox::ExitUsage;

const char* const Usage =
    "Usage: mebrox-run PROJECT.dpr\n"
    "       mebrox-run --headless [--script FILE] [--screenshots DIR] PROJECT.dpr\n"
    "\n"
    "Runs a Mebrox hyper application from its project file.\n"
    "\n"
    "  --headless          no windows on screen: events come from a script, and a trace of\n"
    "                      what the application does goes to standard output\n"
    "  --script FILE       the event script (default: standard input)\n"
    "  --screenshots DIR   save every form as DIR/NNN-CLASS.png each time it becomes visible\n"
    "  --help              show this text\n"
    "\n"
    "Script lines ('#' starts a comment):\n"
    "  move|down|up|click FORM.CONTROL X Y [right]\n"
    "  answer yes|no|ok|cancel\n"
    "  screenshot FORM FILE.png\n"
    "  wait MS\n"
    "  type FORM.CONTROL \"TEXT\"\n"
    "  key FORM[.CONTROL] KEY          (Enter, Escape, Tab, Shift+Tab, Alt+O, F1 ...)\n"
    "  select FORM.CONTROL \"ITEM\"|N\n"
    "  check FORM.CONTROL on|off\n"
    "  file \"PATH\"                     (the answer for the next file dialog)\n"
    "\n"
    "Exit codes: 0 done, 1 the project or a picture could not be read or written,\n"
    "2 wrong command line or a faulty script.\n";

int Run(const mebrox::TCommandLine& line) {
  std::string startDir = fs::current_path().string();
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

  mebrox::TQtArguments qtArgs("mebrox-run");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/line.Headless);
  mebrox::RegisterProjectClasses();

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
  return mebrox::ProgramMain(argc, argv, "mebrox-run", Usage, Run);
}
