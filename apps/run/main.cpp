// mebrox-run: runs a hyper application from its project folder, in real windows or headless
// from an event script with a trace of what happened.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "apps/headless/HeadlessRun.h"
#include "apps/run/Project.h"
#include "apps/headless/Script.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"

namespace {

namespace fs = std::filesystem;

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

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
    "\n"
    "Exit codes: 0 done, 1 the project or a picture could not be read or written,\n"
    "2 wrong command line or a faulty script.\n";

struct TCommandLine {
  bool Headless = false;
  bool Help = false;
  std::optional<std::string> Script;
  std::optional<std::string> ScreenshotDir;
  std::string Project;
};

// Fills line from the arguments; false with a reason in error for a command line we do not take.
bool ParseCommandLine(int argc, char** argv, TCommandLine& line, std::string& error) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::optional<std::string>& slot) {
      if (slot) {
        error = arg + " given twice";
        return false;
      }
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      slot = argv[++i];
      return true;
    };
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (!line.Project.empty()) {
        error = "only one project file, please";
        return false;
      }
      line.Project = arg;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      line.Help = true;
    } else if (arg == "--headless") {
      line.Headless = true;
    } else if (arg == "--script") {
      if (!value(line.Script)) return false;
    } else if (arg == "--screenshots") {
      if (!value(line.ScreenshotDir)) return false;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (line.Help) return true;
  if ((line.Script || line.ScreenshotDir) && !line.Headless) {
    error = "--script and --screenshots need --headless";
    return false;
  }
  if (line.Project.empty()) {
    error = "no project file given";
    return false;
  }
  return true;
}

// Servers and CI sessions often have no per-user runtime directory; Qt then warns on every
// start. A private one under the temporary directory serves a headless run just as well.
void ProvideRuntimeDirectory() {
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) return;
  std::string dir =
      (std::filesystem::temp_directory_path() / ("mebrox-runtime-" + std::to_string(::getuid())))
          .string();
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
      (st.st_mode & 077) == 0)
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

// The QApplication must not see our arguments: it would take some of them for itself.
struct TQtArguments {
  int Argc = 1;
  std::string Name;
  char* Argv[2] = {nullptr, nullptr};
  explicit TQtArguments(const char* name) : Name(name) { Argv[0] = Name.data(); }
};

int Run(const TCommandLine& line) {
  std::string startDir = fs::current_path().string();
  std::vector<mebrox::TScriptCommand> script;
  std::string scriptName;
  if (line.Headless) {
    // The whole script is checked before any of it runs.
    std::string text;
    try {
      if (line.Script) {
        scriptName = *line.Script;
        text = host::ReadFileBytes(scriptName);
      } else {
        scriptName = "<stdin>";
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
      }
      script = mebrox::ParseScript(text, scriptName);
    } catch (const std::exception& e) {
      std::cerr << "mebrox-run: " << e.what() << '\n';
      return ExitUsage;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ProvideRuntimeDirectory();
  }

  TQtArguments qtArgs("mebrox-run");
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
    headless->Start();
    try {
      headless->Execute(script, scriptName);
    } catch (const host::EParserError& e) {
      std::cerr << "mebrox-run: " << e.what() << '\n';
      result = ExitUsage;
    }
    if (result == ExitOk && !headless->Failure().empty()) {
      std::cerr << "mebrox-run: " << headless->Failure() << '\n';
      result = ExitFailed;
    }
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
  TCommandLine line;
  std::string error;
  if (!ParseCommandLine(argc, argv, line, error)) {
    std::cerr << "mebrox-run: " << error << "\n\n" << Usage;
    return ExitUsage;
  }
  if (line.Help) {
    std::cout << Usage;
    return ExitOk;
  }
  return Run(line);
}
