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
//   PROGRAM --export-html DIR [--force] PROJECT.dpr
struct TCommandLine {
  bool Headless = false;
  bool Help = false;
  bool Version = false;  // say the program's name and version
  bool Man = false;      // the help as a manual page, in roff
  // The script lines alone: "text" as the help shows them, or "markdown" as the README does.
  std::optional<std::string> HelpScript;
  std::optional<std::string> Script;
  std::optional<std::string> ScreenshotDir;
  std::string Project;
  bool New = false;    // mebrox-studio: make the project first
  bool Check = false;  // report the project's broken links instead of running it
  bool Map = false;    // draw the project's frames and links instead of running it
  std::optional<std::string> MapFormat;
  std::optional<std::string> MapOutput;
  std::optional<std::string> ExportHtml;  // publish the project as a web folder there
  bool Force = false;                     // an export replaces a folder that is not empty
};

// What a program takes beyond the common options.
struct TCommandLineRules {
  bool AllowNew = false;                // --new
  bool WindowedWithoutProject = false;  // a window may open with no project
  bool AllowProjectTools = false;       // --check, --map, --export-html and their options
};

// The formats --map-format takes.
bool IsMapFormat(const std::string& format);

// Fills line from the arguments; false with a reason in error for a command line we do not take.
bool ParseCommandLine(int argc, char** argv, TCommandLine& line, std::string& error,
                      TCommandLineRules rules = {});

// One entry of a part of a program's help: an option, a script line or an exit code, and what
// it means. Words of the text in `backquotes` are typed as they stand: the manual page shows
// them in bold, the help without the quotes.
struct THelpEntry {
  std::string Term;
  std::string Text;
};

// A titled part of a program's help: a paragraph, then its entries. In a syntax part the
// terms are written as typed, with words in capitals standing for what the user puts there.
struct THelpSection {
  std::string Title;
  std::string Intro;
  std::vector<THelpEntry> Entries;
  bool Syntax = true;
  // The script verbs the entries were made from (ScriptLinesSection), for --help-script.
  const TScriptVerbTable* Verbs = nullptr;
};

// What a program says about itself. --help shows it as text and --man as the program's manual
// page, so that the two say the same.
struct THelpText {
  std::string Program;
  std::string Version;
  std::string Date;     // of the release, YYYY-MM-DD
  std::string Summary;  // the manual page's one line: "run a Mebrox hyper application"
  std::vector<std::string> Synopsis;  // each a way to start the program, after its name
  std::string Description;            // paragraphs, separated by blank lines
  std::vector<THelpSection> Sections;
  std::vector<std::string> SeeAlso;  // "mebrox-studio(1)"
};

// The help as --help shows it, wrapped to width columns.
std::string FormatHelp(const THelpText& help, int width = 80);
// The help as a manual page in section 1, for man(1).
std::string FormatManPage(const THelpText& help);

// A part of the help listing every line of the verbs, one entry for each way of writing one.
THelpSection ScriptLinesSection(std::string title, std::string intro,
                                const TScriptVerbTable& verbs);
// The parts of the help made from script verbs, alone: as --help shows them, or as Markdown
// tables like the README's.
std::string FormatScriptHelp(const THelpText& help, bool markdown, int width = 80);

// A program's main: reads the command line (a mistake names it with the ways to start the
// program and gives ExitUsage; --help, --help-script, --version and --man print and end), then
// returns what run returns.
int ProgramMain(int argc, char** argv, const THelpText& help,
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
