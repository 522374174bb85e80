// mebrox-studio: the design environment of the kit. This version runs the design session
// headless, from a script, printing a trace of what happened.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/headless/CommandLine.h"
#include "apps/studio/StudioRun.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/DesignSession.h"
#include "runtime/RuntimeClasses.h"

namespace {

namespace fs = std::filesystem;

using mebrox::ExitFailed;
using mebrox::ExitOk;
using mebrox::ExitUsage;

const char* const Usage =
    "Usage: mebrox-studio --headless [--script FILE] [--screenshots DIR] PROJECT.dpr\n"
    "\n"
    "Opens a Mebrox project for design and works on it from a script, printing a trace of\n"
    "what happened.\n"
    "\n"
    "  --headless          no windows on screen: events come from a script, and a trace goes\n"
    "                      to standard output\n"
    "  --script FILE       the script (default: standard input)\n"
    "  --screenshots DIR   save every form and dialog as DIR/NNN-CLASS.png as it opens\n"
    "  --help              show this text\n"
    "\n"
    "Script lines ('#' starts a comment): those of mebrox-run, and\n"
    "  drop CLASS FORM X Y                   a component from the palette\n"
    "  edit FORM.COMPONENT PROPERTY          the property's editor\n"
    "  verb FORM.COMPONENT N                 verb N of the component's menu\n"
    "  dblclick FORM.COMPONENT               the component editor's double-click\n"
    "  expert \"MENU TEXT\"                    an expert from the experts menu\n"
    "  set FORM[.COMPONENT] PROPERTY VALUE   as the object inspector would\n"
    "  save                                  write what changed\n"
    "A dialog stays open for the lines that follow until one of them closes it.\n"
    "\n"
    "Exit codes: 0 done, 1 the project could not be opened or a picture not be written,\n"
    "2 wrong command line or a faulty script.\n";

int Run(const mebrox::TCommandLine& line) {
  if (!line.Headless) {
    std::cerr << "mebrox-studio: this version designs headless only; use --headless\n\n" << Usage;
    return ExitUsage;
  }
  std::string startDir = fs::current_path().string();
  std::vector<mebrox::TScriptCommand> script;
  std::string scriptName;
  try {
    script = mebrox::ReadScript(line, mebrox::TScriptDialect::Studio, scriptName);
  } catch (const std::exception& e) {
    std::cerr << "mebrox-studio: " << e.what() << '\n';
    return ExitUsage;
  }
  mebrox::PrepareHeadlessProcess();

  mebrox::TQtArguments qtArgs("mebrox-studio");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  mebrox::RegisterStudioPalette();

  mebrox::THeadlessOptions options;
  options.StartDir = startDir;
  if (line.ScreenshotDir) options.ScreenshotDir = fs::absolute(*line.ScreenshotDir).string();
  int result = ExitOk;
  std::unique_ptr<mebrox::TStudioRun> run;
  std::unique_ptr<ide::TDesignSession> session;
  try {
    run = std::make_unique<mebrox::TStudioRun>(std::cout, options);
    // Word lists and pictures named bare are found beside the project, as when it runs: the
    // forms read them as they are opened.
    fs::path project = fs::absolute(line.Project);
    std::error_code ec;
    if (fs::is_directory(project.parent_path(), ec)) fs::current_path(project.parent_path());
    session = std::make_unique<ide::TDesignSession>(project.string());
  } catch (const std::exception& e) {
    std::cerr << "mebrox-studio: " << e.what() << '\n';
    result = ExitFailed;
  }

  if (result == ExitOk) {
    ide::SetToolServices(session.get());
    run->SetSession(session.get());
    run->ShowForms();
    result = run->RunScript(script, scriptName, "mebrox-studio");
  }

  // The trace ends with the run: what the forms do while they are freed is not part of it.
  run.reset();
  ide::SetToolServices(nullptr);
  session.reset();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  return mebrox::ProgramMain(argc, argv, "mebrox-studio", Usage, Run);
}
