#include "apps/headless/CommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "apps/headless/ScriptVerb.h"
#include "host/SysUtils.h"

namespace mebrox {

bool ParseCommandLine(int argc, char** argv, TCommandLine& line, std::string& error,
                      TCommandLineRules rules) {
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
    } else if (arg == "--version") {
      line.Version = true;
    } else if (arg == "--man") {
      line.Man = true;
    } else if (arg == "--help-script") {
      // The format may be left out; a project would never be named so, and is not needed here.
      bool format = i + 1 < argc && (std::string_view(argv[i + 1]) == "text" ||
                                     std::string_view(argv[i + 1]) == "markdown");
      line.HelpScript = format ? argv[++i] : "text";
    } else if (arg == "--new" && rules.AllowNew) {
      line.New = true;
    } else if (arg == "--check" && rules.AllowProjectTools) {
      line.Check = true;
    } else if (arg == "--map" && rules.AllowProjectTools) {
      line.Map = true;
    } else if (arg == "--map-format" && rules.AllowProjectTools) {
      if (!value(line.MapFormat)) return false;
      if (!IsMapFormat(*line.MapFormat)) {
        error = "--map-format takes dot, svg or png, not " + *line.MapFormat;
        return false;
      }
    } else if (arg == "--map-output" && rules.AllowProjectTools) {
      if (!value(line.MapOutput)) return false;
    } else if (arg == "--export-html" && rules.AllowProjectTools) {
      if (!value(line.ExportHtml)) return false;
    } else if (arg == "--force" && rules.AllowProjectTools) {
      line.Force = true;
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
  if (line.Help || line.Version || line.Man || line.HelpScript) return true;
  if ((line.MapFormat || line.MapOutput) && !line.Map) {
    error = "--map-format and --map-output need --map";
    return false;
  }
  if (line.Force && !line.ExportHtml) {
    error = "--force needs --export-html";
    return false;
  }
  if (line.Check + line.Map + line.Headless + line.ExportHtml.has_value() > 1) {
    error = "--check, --map, --export-html and --headless go one at a time";
    return false;
  }
  if ((line.Script || line.ScreenshotDir) && !line.Headless) {
    error = "--script and --screenshots need --headless";
    return false;
  }
  if (line.Project.empty() && !(rules.WindowedWithoutProject && !line.Headless && !line.New)) {
    error = "no project file given";
    return false;
  }
  return true;
}

bool IsMapFormat(const std::string& format) {
  return format == "dot" || format == "svg" || format == "png";
}

namespace {

// Fills text into lines of at most width columns, going on from column at; each new line
// starts with indent blanks. A word longer than a line stands alone.
void Fill(std::string& out, const std::string& text, size_t at, size_t indent, size_t width) {
  size_t lineStart = at;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (at > lineStart && at + 1 + word.size() > width) {
      out += "\n" + std::string(indent, ' ');
      at = lineStart = indent;
    } else if (at > lineStart) {
      out += ' ';
      ++at;
    }
    out += word;
    at += word.size();
  }
  out += '\n';
}

std::vector<std::string> Paragraphs(const std::string& text) {
  std::vector<std::string> paragraphs;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find("\n\n", at);
    if (end == std::string::npos) end = text.size();
    if (end > at) paragraphs.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return paragraphs;
}

// Terms longer than this put their text on the next line instead of widening the column.
constexpr size_t LongestTermInColumn = 34;

std::string Roff(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  return out;
}

// A line of running text: one that starts with a dot or an apostrophe would be read as a
// request.
std::string RequestSafe(std::string line) {
  if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line.insert(0, "\\&");
  return line;
}

std::string RoffLine(std::string_view text) {
  return RequestSafe(Roff(text));
}

// Help text with `code` in backquotes: the code in bold.
std::string RoffMarked(std::string_view text) {
  std::string out;
  bool code = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '`') continue;
    out += Roff(text.substr(start, i - start));
    if (i < text.size()) {
      out += code ? "\\fR" : "\\fB";
      code = !code;
    }
    start = i + 1;
  }
  if (code) out += "\\fR";
  return RequestSafe(out);
}

std::string Unmarked(std::string text) {
  std::erase(text, '`');
  return text;
}

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '+' ||
         c == '.';
}

// What the user types as it stands in bold, what they put there (words in capitals) in italics.
std::string RoffSyntax(std::string_view term) {
  std::string out;
  size_t i = 0;
  while (i < term.size()) {
    if (!IsWordChar(term[i]) || term[i] == '.') {
      out += Roff(term.substr(i, 1));
      ++i;
      continue;
    }
    size_t end = i;
    while (end < term.size() && IsWordChar(term[end])) ++end;
    std::string_view word = term.substr(i, end - i);
    std::string_view stem = word.substr(0, word.find('.'));
    bool placeholder = std::isupper(static_cast<unsigned char>(word[0])) &&
                       std::none_of(stem.begin(), stem.end(), [](char c) {
                         return std::islower(static_cast<unsigned char>(c));
                       });
    out += (placeholder ? "\\fI" : "\\fB") + Roff(word) + "\\fR";
    i = end;
  }
  return out;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

void AppendSection(std::string& out, const THelpSection& section, size_t w) {
  out += section.Title + ":\n";
  if (!section.Intro.empty()) {
    out += "  ";
    Fill(out, section.Intro, 2, 2, w);
    out += '\n';
  }
  size_t longest = 0;
  for (const THelpEntry& e : section.Entries)
    if (e.Term.size() <= LongestTermInColumn) longest = std::max(longest, e.Term.size());
  const size_t column = 2 + longest + 2;
  for (const THelpEntry& e : section.Entries) {
    out += "  " + e.Term;
    size_t at = 2 + e.Term.size();
    if (at + 2 > column) {
      out += '\n';
      at = 0;
    }
    out += std::string(column - at, ' ');
    Fill(out, Unmarked(e.Text), column, column, w);
  }
}

}  // namespace

std::string FormatHelp(const THelpText& help, int width) {
  const size_t w = static_cast<size_t>(std::max(width, 40));
  std::string out;
  for (size_t i = 0; i < help.Synopsis.size(); ++i)
    out += (i == 0 ? "Usage: " : "       ") + help.Program + " " + help.Synopsis[i] + "\n";
  for (const std::string& paragraph : Paragraphs(help.Description)) {
    out += '\n';
    Fill(out, paragraph, 0, 0, w);
  }
  for (const THelpSection& section : help.Sections) {
    out += '\n';
    AppendSection(out, section, w);
  }
  return out;
}

std::string FormatManPage(const THelpText& help) {
  std::string out = ".TH " + Roff(Upper(help.Program)) + " 1 \"" + help.Date + "\" \"Mebrox " +
                    help.Version + "\" \"User Commands\"\n";
  out += ".SH NAME\n" + Roff(help.Program) + " \\- " + Roff(help.Summary) + "\n";
  out += ".SH SYNOPSIS\n";
  for (size_t i = 0; i < help.Synopsis.size(); ++i) {
    if (i > 0) out += ".br\n";
    out += ".B " + Roff(help.Program) + "\n" + RoffSyntax(help.Synopsis[i]) + "\n";
  }
  out += ".SH DESCRIPTION\n";
  std::vector<std::string> paragraphs = Paragraphs(help.Description);
  for (size_t i = 0; i < paragraphs.size(); ++i)
    out += (i > 0 ? ".PP\n" : "") + RoffLine(paragraphs[i]) + "\n";
  for (const THelpSection& section : help.Sections) {
    out += ".SH \"" + Roff(Upper(section.Title)) + "\"\n";
    if (!section.Intro.empty()) out += RoffLine(section.Intro) + "\n";
    for (const THelpEntry& e : section.Entries) {
      out += ".TP\n";
      out += (section.Syntax ? RoffSyntax(e.Term) : "\\fB" + Roff(e.Term) + "\\fR") + "\n";
      out += RoffMarked(e.Text) + "\n";
    }
  }
  if (!help.SeeAlso.empty()) {
    out += ".SH \"SEE ALSO\"\n";
    for (size_t i = 0; i < help.SeeAlso.size(); ++i) {
      const std::string& page = help.SeeAlso[i];
      size_t paren = page.find('(');
      out += ".BR " + Roff(page.substr(0, paren)) + " " + page.substr(paren) +
             (i + 1 < help.SeeAlso.size() ? " ," : "") + "\n";
    }
  }
  return out;
}

THelpSection ScriptLinesSection(std::string title, std::string intro,
                                const TScriptVerbTable& verbs) {
  THelpSection section{std::move(title), std::move(intro), {}};
  for (const TScriptVerbInfo& verb : verbs)
    for (const TScriptForm& form : verb.Forms)
      section.Entries.push_back({ScriptLineSyntax(verb, form), form.Meaning});
  section.Verbs = &verbs;
  return section;
}

std::string FormatScriptHelp(const THelpText& help, bool markdown, int width) {
  const size_t w = static_cast<size_t>(std::max(width, 40));
  std::string out;
  for (const THelpSection& section : help.Sections) {
    if (!section.Verbs) continue;
    if (!out.empty()) out += '\n';
    if (markdown)
      out += ScriptTableMarkdown(*section.Verbs);
    else
      AppendSection(out, section, w);
  }
  return out;
}

int ProgramMain(int argc, char** argv, const THelpText& help,
                const std::function<int(const TCommandLine&)>& run, TCommandLineRules rules) {
  TCommandLine line;
  std::string error;
  if (!ParseCommandLine(argc, argv, line, error, rules)) {
    std::cerr << help.Program << ": " << error << "\n";
    for (size_t i = 0; i < help.Synopsis.size(); ++i)
      std::cerr << (i == 0 ? "Usage: " : "       ") << help.Program << " " << help.Synopsis[i]
                << "\n";
    std::cerr << "Try '" << help.Program << " --help' for more.\n";
    return ExitUsage;
  }
  if (line.Help) {
    std::cout << FormatHelp(help);
    return ExitOk;
  }
  if (line.HelpScript) {
    std::cout << FormatScriptHelp(help, *line.HelpScript == "markdown");
    return ExitOk;
  }
  if (line.Man) {
    std::cout << FormatManPage(help);
    return ExitOk;
  }
  if (line.Version) {
    std::cout << help.Program << " " << help.Version << "\n";
    return ExitOk;
  }
  return run(line);
}

std::vector<TScriptCommand> ReadScript(const TCommandLine& line, TScriptDialect dialect,
                                       std::string& scriptName) {
  std::string text;
  if (line.Script) {
    scriptName = *line.Script;
    text = host::ReadFileBytes(scriptName);
  } else {
    scriptName = "<stdin>";
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  return ParseScript(text, scriptName, dialect);
}

void PrepareHeadlessProcess() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
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

}  // namespace mebrox
