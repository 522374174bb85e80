#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apps/headless/Script.h"

namespace mebrox {

// Exit codes of both programs: done; a project or picture that could not be read or written;
// a wrong command line or a faulty script.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// What mebrox-run and mebrox-studio take on their command lines:
//   PROGRAM [--headless [--script FILE] [--screenshots DIR]] PROJECT.dpr
// and mebrox-run also
//   PROGRAM --check PROJECT.dpr
//   PROGRAM --map [--map-format dot|svg|png] [--map-output FILE] PROJECT.dpr
struct TCommandLine {
  bool Headless = false;
  bool Help = false;
  std::optional<std::string> Script;
  std::optional<std::string> ScreenshotDir;
  std::string Project;
  bool New = false;    // mebrox-studio: make the project first
  bool Check = false;  // report the project's broken links instead of running it
  bool Map = false;    // draw the project's frames and links instead of running it
  std::optional<std::string> MapFormat;
  std::optional<std::string> MapOutput;
};

// What a program takes beyond the common options.
struct TCommandLineRules {
  bool AllowNew = false;                // --new
  bool WindowedWithoutProject = false;  // a window may open with no project
  bool AllowProjectTools = false;       // --check, --map and its options
};

// The formats --map-format takes.
bool IsMapFormat(const std::string& format);

// Fills line from the arguments; false with a reason in error for a command line we do not take.
bool ParseCommandLine(int argc, char** argv, TCommandLine& line, std::string& error,
                      TCommandLineRules rules = {});

// A program's main: reads the command line (a mistake shows the usage and gives ExitUsage,
// --help the usage alone), then returns what run returns.
int ProgramMain(int argc, char** argv, const std::string& program, const char* usage,
                const std::function<int(const TCommandLine&)>& run, TCommandLineRules rules = {});

// The headless run's script: the file named, or standard input. Fails with EParserError or
// EInOutError naming the script; scriptName says what it was called.
std::vector<TScriptCommand> ReadScript(const TCommandLine& line, TScriptDialect dialect,
                                       std::string& scriptName);

// Prepares the process for a run without a display: Qt's offscreen platform, SDL's silent audio
// driver, and a private runtime directory when the session has none (Qt warns on every start
// without one).
void PrepareHeadlessProcess();

// The arguments a QApplication is given: the program's name only, since it would take some of
// ours for itself.
struct TQtArguments {
  int Argc = 1;
  std::string Name;
  char* Argv[2] = {nullptr, nullptr};
  explicit TQtArguments(const char* name) : Name(name) { Argv[0] = Name.data(); }
};

}  // namespace mebrox
