// mebrox-studio: the design environment of the kit. In a window it is the designer's studio;
// headless it runs the same design session from a script, printing a trace of what happened.

#include <QApplication>
#include <QPointer>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/headless/CommandLine.h"
#include "apps/headless/RunVerbs.h"
#include "apps/studio/FirstStart.h"
#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioVerbs.h"
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

mebrox::THelpText Help() {
  mebrox::THelpText help;
  help.Program = "mebrox-studio";
  help.Version = MEBROX_VERSION;
  help.Date = MEBROX_RELEASE_DATE;
  help.Summary = "design Mebrox hyper applications";
  help.Synopsis = {"[--new] [PROJECT.dpr]",
                   "--headless [--new] [--script FILE] [--screenshots DIR] PROJECT.dpr",
                   "--help | --help-script [text|markdown] | --version | --man"};
  help.Description =
      "Opens a Mebrox project for design: in a window with the palette, the frames and the "
      "object inspector, or headless, working on it from a script and printing a trace of what "
      "happened.\n\n"
      "Started in a window without a project and with none opened before, the studio offers to "
      "open the examples (a copy of them in the documents folder, to change at will) or to "
      "start a new project there.";
  help.Sections.push_back(
      {"Options",
       "",
       {{"--new", "make PROJECT.dpr first: a new project with one empty frame"},
        {"--headless",
         "no windows on screen: events come from a script, and a trace goes to standard output"},
        {"--script FILE", "the script (default: standard input)"},
        {"--screenshots DIR", "save every form and dialog as DIR/NNN-CLASS.png as it opens"},
        {"--help", "show this text"},
        {"--help-script [text|markdown]",
         "show the script lines alone: as in this text, or as Markdown tables like the README's"},
        {"--version", "show the program's version"},
        {"--man", "show this text as a manual page, in roff"}}});
  help.Sections.push_back(mebrox::ScriptLinesSection(
      "Script lines",
      "Those of mebrox-run, and the design lines below. One a line; '#' starts a comment, and a "
      "word in double quotes may hold blanks. FORM is a frame's name, CONTROL the name of a "
      "component on it.",
      mebrox::RunVerbs()));
  help.Sections.push_back(mebrox::ScriptLinesSection(
      "Design lines",
      "A dialog opened by a line stays open for the lines that follow until one of them closes "
      "it. Answers at the head of a script answer what opening asks (changes a crash left, to "
      "recover). What a script does not save is discarded when it ends.",
      mebrox::StudioVerbs()));
  help.Sections.push_back(
      {"Exit status",
       "",
       {{"0", "done"},
        {"1",
         "the project could not be opened or saved, or a screenshot not written (the message "
         "names the file and the line)"},
        {"2", "a wrong command line, or a faulty script (the message names the script line)"}},
       false});
  help.Sections.push_back(
      {"Environment",
       "",
       {{"XDG_CONFIG_HOME",
         "the studio keeps its recent projects and window layout in "
         "mebrox/mebrox-studio.ini there (by default ~/.config)"},
        {"XDG_STATE_HOME",
         "unsaved work is kept against a crash in mebrox/NAME-NUMBER.recovery there (by "
         "default ~/.local/state)"},
        {"MEBROX_WINDIR",
         "the folder of the default settings file Mebrox.ini, from which dropped components "
         "take their first look; when unset, mebrox in $XDG_CONFIG_HOME"},
        {"XDG_DOCUMENTS_DIR",
         "the documents folder (from xdg-user-dirs), where the first start puts the examples "
         "and new projects, in Mebrox"}},
       false});
  help.SeeAlso = {"mebrox-run(1)"};
  return help;
}

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

void RegisterEverything(ide::TDesignCore& core) {
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  mebrox::RegisterStudioPalette(core);
}

int RunWindowed(const mebrox::TCommandLine& line) {
  mebrox::TQtArguments qtArgs("mebrox-studio");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  QApplication::setApplicationName("mebrox-studio");
  // The studio's own windows follow the desktop; the frames it designs look as when they run.
  host::qt::InstallQtBackend(/*scriptedDialogs=*/false, /*classicEverywhere=*/false);
  ide::TDesignCore core;
  RegisterEverything(core);
  // The studio ends when its main window closes (and the designer agreed to what was unsaved).
  QPointer<mebrox::studio::QtStudioWindow> window = new mebrox::studio::QtStudioWindow(core);
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &QObject::destroyed, &app, &QApplication::quit);
  window->show();
  if (line.Project.empty()) {
    if (mebrox::studio::ShouldOfferFirstStart())
      mebrox::studio::OfferFirstStart(*window, mebrox::studio::UserFirstStartPlaces());
  } else {
    QString project = QString::fromStdString(line.Project);
    if (line.New)
      window->NewProject(project);
    else
      window->OpenProject(project);
  }
  const int result = app.exec();
  // A window still open when the loop ends (the session manager ended it) goes before the core
  // it fronts.
  delete window.data();
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
  ide::TDesignCore core;
  RegisterEverything(core);

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
    session = ide::OpenForDesign(core, project.string());
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
    core.SetToolServices(session.get());
    run->SetSession(session.get());
    run->ShowForms();
    result = run->RunScript(script, scriptName, "mebrox-studio");
    // The script is over, as a designer closing without saving: what it did not save goes.
    // Only a crash or a kill line leaves the recovery file.
    session->DiscardRecovery();
  }

  // The trace ends with the run: what the forms do while they are freed is not part of it.
  run.reset();
  session.reset();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  return mebrox::ProgramMain(argc, argv, Help(), Run,
                             {.AllowNew = true, .WindowedWithoutProject = true});
}
