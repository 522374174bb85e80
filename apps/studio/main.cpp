// mebrox-studio: the design environment of the kit. In a window it is the designer's studio;
// headless it runs the same design session from a script, printing a trace of what happened.

#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/headless/CommandLine.h"
#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioWindow.h"
#include "host/HostClasses.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"
#include "ide/DesignSession.h"
#include "ide/NewProject.h"
#include "runtime/RuntimeClasses.h"

namespace {

namespace fs = std::filesystem;

using mebrox::ExitFailed;
using mebrox::ExitOk;
using mebrox::ExitUsage;

const char* const Usage =
    "Usage: mebrox-studio [--new] [PROJECT.dpr]\n"
    "       mebrox-studio --headless [--new] [--script FILE] [--screenshots DIR] PROJECT.dpr\n"
    "\n"
    "Opens a Mebrox project for design: in a window with the palette, the frames and the\n"
    "object inspector, or headless, working on it from a script and printing a trace of what\n"
    "happened.\n"
    "\n"
    "  --new               make PROJECT.dpr first: a new project with one empty frame\n"
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
    "  saveas PATH                           the project under another name or folder\n"
    "  newframe                              an empty frame joins the project\n"
    "  kill                                  end at once, as a power cut would\n"
    "A dialog stays open for the lines that follow until one of them closes it. Answers at\n"
    "the head of the script answer what opening asks (changes a crash left to recover).\n"
    "\n"
    "Exit codes: 0 done, 1 the project could not be opened or saved or a picture not be\n"
    "written, 2 wrong command line or a faulty script.\n";

// Fault injection, for the tests and scripts that kill saves: MEBROX_KILL_AT_WRITE_STEP=N ends
// the studio as a power cut would at step N of writing a save's files.
int KillAtWriteStep = -1;

void KillAtStep(int step) {
  if (step == KillAtWriteStep) ::raise(SIGKILL);
}

void InstallFaultInjection() {
  const char* step = std::getenv("MEBROX_KILL_AT_WRITE_STEP");
  if (!step || !*step) return;
  KillAtWriteStep = std::atoi(step);
  host::WriteStepHook = KillAtStep;
}

void RegisterEverything() {
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  mebrox::RegisterStudioPalette();
}

int RunWindowed(const mebrox::TCommandLine& line) {
  mebrox::TQtArguments qtArgs("mebrox-studio");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  QApplication::setApplicationName("mebrox-studio");
  // The studio's own windows follow the desktop; the frames it designs look as when they run.
  host::qt::InstallQtBackend(/*scriptedDialogs=*/false, /*classicEverywhere=*/false);
  RegisterEverything();
  // The studio ends when its main window closes (and the designer agreed to what was unsaved).
  auto* window = new mebrox::studio::QtStudioWindow;
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &QObject::destroyed, &app, &QApplication::quit);
  window->show();
  if (!line.Project.empty()) {
    QString project = QString::fromStdString(line.Project);
    if (line.New)
      window->NewProject(project);
    else
      window->OpenProject(project);
  }
  int result = app.exec();
  ide::SetToolServices(nullptr);
  return result;
}

int Run(const mebrox::TCommandLine& line) {
  InstallFaultInjection();
  if (!line.Headless) return RunWindowed(line);
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
  RegisterEverything();

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
    if (line.New) ide::CreateNewProject(project.string());
    // Answers at the head of the script are there for what opening asks (changes a crash left).
    script.erase(script.begin(), script.begin() + run->QueueLeadingAnswers(script));
    session = ide::OpenForDesign(project.string());
    if (!session) {
      std::cerr << "mebrox-studio: " << line.Project
                << " was left closed, its unsaved changes kept for later\n";
      result = ExitFailed;
    }
  } catch (const std::exception& e) {
    std::cerr << "mebrox-studio: " << e.what() << '\n';
    result = ExitFailed;
  }

  if (result == ExitOk) {
    ide::SetToolServices(session.get());
    run->SetSession(session.get());
    run->ShowForms();
    result = run->RunScript(script, scriptName, "mebrox-studio");
    // The script is over, as a designer closing without saving: what it did not save goes.
    // Only a crash or a kill line leaves the recovery file.
    session->DiscardRecovery();
  }

  // The trace ends with the run: what the forms do while they are freed is not part of it.
  run.reset();
  ide::SetToolServices(nullptr);
  session.reset();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  return mebrox::ProgramMain(argc, argv, "mebrox-studio", Usage, Run,
                             {.AllowNew = true, .WindowedWithoutProject = true});
}
