// What both programs say about themselves: --help, --version and the manual pages made from
// the same text, and whether the script lines they describe are the ones they read.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "apps/headless/CommandLine.h"
#include "apps/headless/RunVerbs.h"
#include "apps/headless/Script.h"
#include "apps/studio/StudioVerbs.h"
#include "tests/ProcessSupport.h"
#include "tests/TestSupport.h"

namespace {

using namespace mebrox;
using testing_support::RunProcess;
using testing_support::TProcessResult;

TProcessResult RunProgram(const char* program, const std::vector<std::string>& args) {
  testing_support::TempDir start;
  return RunProcess(program, args, start.Path());
}

// The terms of a manual page's section, as written: fonts and escapes taken out.
std::vector<std::string> ManTerms(const std::string& page, const std::string& section) {
  std::vector<std::string> terms;
  std::istringstream lines(page);
  bool inSection = false;
  bool termNext = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(".SH ")) {
      inSection = line == ".SH \"" + section + "\"";
    } else if (inSection && line == ".TP") {
      termNext = true;
    } else if (termNext) {
      std::string term;
      for (size_t i = 0; i < line.size(); ++i) {
        if (line.compare(i, 2, "\\f") == 0)
          i += 2;
        else if (line.compare(i, 2, "\\-") == 0)
          term += '-', ++i;
        else
          term += line[i];
      }
      terms.push_back(term);
      termNext = false;
    }
  }
  return terms;
}

// A script line written as the help writes it, made concrete: the first of alternatives and
// optional parts left out, or with everything the last of alternatives and every optional part;
// a sample in place of each word in capitals.
std::string Instantiate(const std::string& syntax, bool everything = false) {
  static const std::vector<std::pair<std::string, std::string>> samples = {
      {"FORM.HYPERTXT", "Form1.HyperTxt1"},
      {"FORM.CONTROL", "Form1.Button1"},
      {"FORM.COMPONENT", "Form1.Button1"},
      {"FILE.png", "shot.png"},
      {"\"MENU TEXT\"", "\"Help\""},
      {"CLASS", "THyperTxt"},
      {"PROPERTY", "Caption"},
      {"VALUE", "Hello"},
      {"COLOUR", "clRed"},
      {"FORM", "Form1"},
      {"KEY", "Enter"},
      {"PATH", "Copy.dpr"},
      {"\"WORD\"", "\"hot\""},
      {"\"TEXT\"", "\"hot\""},
      {"\"ITEM\"", "\"hot\""},
      {"\"NAME\"", "\"Arial\""},
      {"SIZE", "12"},
      {"MS", "10"},
      {"DX", "1"},
      {"DY", "1"},
      {"DW", "1"},
      {"DH", "1"},
      {"X", "1"},
      {"Y", "1"},
      {"N", "0"}};
  std::string line;
  int optional = 0;
  std::istringstream words(syntax);
  for (std::string word; words >> word;) {
    bool leftOut = optional > 0 || word[0] == '[';
    for (char c : word) optional += c == '[' ? 1 : c == ']' ? -1 : 0;
    if (everything) {
      std::erase(word, '[');
      std::erase(word, ']');
      if (word == "...") continue;
      word = word.substr(word.rfind('|') + 1);
    } else {
      if (leftOut) continue;
      word = word.substr(0, word.find('['));  // FORM[.CONTROL]
      word = word.substr(0, word.find('|'));
    }
    for (const auto& [name, sample] : samples)
      if (word == name) {
        word = sample;
        break;
      }
    line += (line.empty() ? "" : " ") + word;
  }
  return line;
}

TEST(Help, EveryScriptLineTheHelpShowsIsReadAndEveryLineReadIsShown) {
  struct TCase {
    const char* Program;
    std::vector<std::string> Sections;
    TScriptDialect Dialect;
    TScriptVerb Last;
  };
  const TCase cases[] = {
      {MEBROX_RUN_PROGRAM, {"SCRIPT LINES"}, TScriptDialect::Run, svColor},
      {MEBROX_STUDIO_PROGRAM, {"SCRIPT LINES", "DESIGN LINES"}, TScriptDialect::Studio, svBack},
  };
  for (const TCase& c : cases) {
    TProcessResult man = RunProgram(c.Program, {"--man"});
    ASSERT_EQ(man.ExitCode, 0) << man.Err;
    std::set<int> verbs;
    for (const std::string& section : c.Sections) {
      std::vector<std::string> terms = ManTerms(man.Out, section);
      EXPECT_FALSE(terms.empty()) << c.Program << ": " << section;
      for (const std::string& term : terms) {
        // Every alternative of the term's verb is read, each as the written form says.
        std::string alternatives = term.substr(0, term.find(' '));
        std::string rest = term.substr(alternatives.size());
        for (size_t at = 0; at <= alternatives.size();) {
          size_t bar = std::min(alternatives.find('|', at), alternatives.size());
          std::string line = Instantiate(alternatives.substr(at, bar - at) + rest);
          try {
            for (const TScriptCommand& command : ParseScript(line, "help", c.Dialect))
              verbs.insert(command.Verb);
          } catch (const std::exception& e) {
            ADD_FAILURE() << c.Program << ": \"" << term << "\" as \"" << line
                          << "\": " << e.what();
          }
          at = bar + 1;
        }
      }
    }
    for (int verb = svMove; verb <= c.Last; ++verb)
      EXPECT_TRUE(verbs.count(verb)) << c.Program << " shows no line for script verb " << verb;
  }
}

// The declarations of the name in the dialect, in the order the parser tries them.
std::vector<const TScriptVerbInfo*> Declarations(const TScriptDialect& dialect,
                                                 const std::string& name) {
  std::vector<const TScriptVerbInfo*> found;
  for (const TScriptVerbTable* table : dialect.Tables())
    for (const TScriptVerbInfo& verb : *table)
      if (verb.Name == name) found.push_back(&verb);
  return found;
}

TEST(Help, EachVerbReadsTheLinesItsHelpShowsAndAWrongLineIsToldThemAll) {
  struct TCase {
    const char* Program;
    const TScriptVerbTable& Verbs;
    const TScriptDialect& Dialect;
  };
  const TCase cases[] = {
      {"mebrox-run", RunVerbs(), TScriptDialect::Run},
      {"mebrox-studio", RunVerbs(), TScriptDialect::Studio},
      {"mebrox-studio", StudioVerbs(), TScriptDialect::Studio},
  };
  for (const TCase& c : cases) {
    for (const TScriptVerbInfo& verb : c.Verbs) {
      SCOPED_TRACE(std::string(c.Program) + ": " + verb.Name);
      EXPECT_FALSE(verb.Forms.empty()) << "a verb the help does not show";
      std::vector<const TScriptVerbInfo*> same = Declarations(c.Dialect, verb.Name);
      // A name declared twice goes to the first that takes the line: all but the last must be
      // able to give way.
      for (size_t i = 0; i + 1 < same.size(); ++i)
        EXPECT_TRUE(same[i]->Takes) << "a second '" << verb.Name << "' could never be read";
      for (const TScriptForm& form : verb.Forms) {
        for (bool everything : {false, true}) {
          std::string line = Instantiate(ScriptLineSyntax(verb, form), everything);
          try {
            std::vector<TScriptCommand> commands = ParseScript(line, "help", c.Dialect);
            ASSERT_EQ(commands.size(), 1u) << line;
            EXPECT_EQ(commands[0].Info, &verb) << line << " is read by another declaration";
          } catch (const std::exception& e) {
            ADD_FAILURE() << "\"" << line << "\": " << e.what();
          }
        }
      }
      // Too little for a verb whose every form has words to follow; more words than any form
      // takes for one that may stand alone.
      size_t most = 0;
      bool alone = false;
      for (const TScriptForm& form : verb.Forms) {
        alone = alone || form.Args.empty();
        most = std::max<size_t>(most, std::ranges::count(form.Args, ' ') + 1);
      }
      std::string wrong = verb.Name;
      for (size_t i = 0; alone && i <= most; ++i) wrong += " extra";
      try {
        ParseScript(wrong, "help", c.Dialect);
        ADD_FAILURE() << "\"" << wrong << "\" was read";
      } catch (const host::EParserError& e) {
        std::string message = e.what();
        EXPECT_NE(message.find(": Use: "), std::string::npos) << message;
        for (const TScriptVerbInfo* declaration : same)
          for (const TScriptForm& form : declaration->Forms)
            EXPECT_NE(message.find(ScriptLineSyntax(*declaration, form)), std::string::npos)
                << message;
      }
    }
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The table of script lines in the README section under heading, as its lines.
std::vector<std::string> ReadmeTable(const std::string& readme, const std::string& heading) {
  size_t at = readme.find("\n" + heading + "\n");
  if (at == std::string::npos) return {};
  at = readme.find("\n| script line | meaning |\n", at);
  if (at == std::string::npos) return {};
  std::vector<std::string> lines;
  for (const std::string& line : Lines(readme.substr(at + 1))) {
    if (!line.starts_with('|')) break;
    lines.push_back(line);
  }
  return lines;
}

TEST(Help, TheReadmesTablesOfScriptLinesAreTheVerbsOwn) {
  std::string readme = testing_support::ReadFile(MEBROX_README);
  struct TCase {
    const char* Heading;
    const TScriptVerbTable& Verbs;
    const char* Source;
  };
  const TCase cases[] = {
      {"## Running an application", RunVerbs(), "mebrox-run --help-script markdown"},
      {"### Headless", StudioVerbs(), "the last table of mebrox-studio --help-script markdown"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("the README's table under \"") + c.Heading + "\", as " + c.Source +
                 " prints it");
    std::vector<std::string> written = ReadmeTable(readme, c.Heading);
    std::vector<std::string> declared = Lines(ScriptTableMarkdown(c.Verbs));
    for (size_t i = 0; i < std::max(written.size(), declared.size()); ++i) {
      std::string readmeRow = i < written.size() ? written[i] : "(none)";
      std::string verbRow = i < declared.size() ? declared[i] : "(none)";
      if (readmeRow != verbRow) {
        ADD_FAILURE() << "row " << i << "\n  README: " << readmeRow << "\n  verbs:  " << verbRow;
        break;
      }
    }
  }
}

TEST(Help, ScriptHelpShowsTheScriptLinesAloneAsTextOrAsTables) {
  struct TCase {
    const char* Program;
    std::vector<const TScriptVerbTable*> Verbs;
  };
  const TCase cases[] = {
      {MEBROX_RUN_PROGRAM, {&RunVerbs()}},
      {MEBROX_STUDIO_PROGRAM, {&RunVerbs(), &StudioVerbs()}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Program);
    std::string tables;
    for (const TScriptVerbTable* verbs : c.Verbs)
      tables += (tables.empty() ? "" : "\n") + ScriptTableMarkdown(*verbs);
    TProcessResult markdown = RunProgram(c.Program, {"--help-script", "markdown"});
    EXPECT_EQ(markdown.ExitCode, 0) << markdown.Err;
    EXPECT_EQ(markdown.Out, tables);

    // As text, as --help shows them, the project not looked at.
    TProcessResult text = RunProgram(c.Program, {"--help-script", "absent.dpr"});
    EXPECT_EQ(text.ExitCode, 0) << text.Err;
    EXPECT_TRUE(text.Out.starts_with("Script lines:\n")) << text.Out;
    EXPECT_EQ(text.Out.find("Options:"), std::string::npos) << text.Out;
    EXPECT_EQ(text.Out.find('`'), std::string::npos) << text.Out;
    for (const TScriptVerbTable* verbs : c.Verbs)
      for (const TScriptVerbInfo& verb : *verbs)
        for (const TScriptForm& form : verb.Forms) {
          // A long line stands above its meaning.
          std::string term = "\n  " + ScriptLineSyntax(verb, form);
          EXPECT_TRUE(text.Out.find(term + " ") != std::string::npos ||
                      text.Out.find(term + "\n") != std::string::npos)
              << term;
        }
    TProcessResult same = RunProgram(c.Program, {"--help-script", "text"});
    EXPECT_EQ(same.Out, text.Out);
  }
}

TEST(Help, VersionHelpAndManualPageComeBeforeEverythingElse) {
  for (const char* program : {MEBROX_RUN_PROGRAM, MEBROX_STUDIO_PROGRAM}) {
    std::string name = std::string(program).substr(std::string(program).rfind('/') + 1);
    TProcessResult version = RunProgram(program, {"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, name + " " + MEBROX_VERSION + "\n");
    // Whatever else the line holds is not looked at: not even a project that is not there.
    TProcessResult help = RunProgram(program, {"--headless", "--help", "absent.dpr"});
    EXPECT_EQ(help.ExitCode, 0) << help.Err;
    EXPECT_TRUE(help.Out.starts_with("Usage: " + name + " ")) << help.Out;
    TProcessResult man = RunProgram(program, {"--man", "--script", "absent.txt"});
    EXPECT_EQ(man.ExitCode, 0) << man.Err;
    EXPECT_TRUE(man.Out.starts_with(".TH ")) << man.Out;
    // A mistake names itself and the ways to start the program, on standard error only.
    TProcessResult wrong = RunProgram(program, {"--bogus"});
    EXPECT_EQ(wrong.ExitCode, ExitUsage);
    EXPECT_EQ(wrong.Out, "");
    EXPECT_TRUE(wrong.Err.starts_with(name + ": unknown option --bogus\nUsage: " + name))
        << wrong.Err;
  }
}

// groff reads the pages as man(1) will: no warning, and every part a manual page has.
TEST(Help, ManualPagesReadWithoutAWarning) {
  for (const char* program : {MEBROX_RUN_PROGRAM, MEBROX_STUDIO_PROGRAM}) {
    testing_support::TempDir work;
    TProcessResult man = RunProgram(program, {"--man"});
    ASSERT_EQ(man.ExitCode, 0);
    testing_support::WriteFile(work.File("page.1"), man.Out);
    TProcessResult groff =
        RunProcess("/usr/bin/groff", {"-man", "-ww", "-z", "page.1"}, work.Path());
    EXPECT_EQ(groff.ExitCode, 0) << program;
    EXPECT_EQ(groff.Err, "") << program;
    for (const char* section : {".SH NAME\n", ".SH SYNOPSIS\n", ".SH DESCRIPTION\n",
                                ".SH \"OPTIONS\"\n", ".SH \"EXIT STATUS\"\n", ".SH \"SEE ALSO\"\n"})
      EXPECT_NE(man.Out.find(section), std::string::npos) << program << " lacks " << section;
  }
}

THelpText SmallHelp() {
  THelpText help;
  help.Program = "tool";
  help.Version = "1.2";
  help.Date = "2026-01-31";
  help.Summary = "do a thing";
  help.Synopsis = {"FILE", "--all [--out DIR] FILE"};
  help.Description =
      "First paragraph, long enough that it has to be wrapped at the width.\n\n"
      ".second starts with a dot";
  help.Sections = {{"Options",
                    "",
                    {{"--all", "every one"},
                     {"--a-very-long-option-name-that-does-not-fit VALUE", "then below"}}},
                   {"Exit status", "Said as a number.", {{"0", "done \\ over"}}, false}};
  help.SeeAlso = {"other(1)", "more(5)"};
  return help;
}

TEST(Help, HelpTextIsWrappedIntoColumns) {
  EXPECT_EQ(FormatHelp(SmallHelp(), 40),
            "Usage: tool FILE\n"
            "       tool --all [--out DIR] FILE\n"
            "\n"
            "First paragraph, long enough that it has\n"
            "to be wrapped at the width.\n"
            "\n"
            ".second starts with a dot\n"
            "\n"
            "Options:\n"
            "  --all  every one\n"
            "  --a-very-long-option-name-that-does-not-fit VALUE\n"
            "         then below\n"
            "\n"
            "Exit status:\n"
            "  Said as a number.\n"
            "\n"
            "  0  done \\ over\n");
}

TEST(Help, ManualPageEscapesWhatRoffWouldReadAsItsOwn) {
  std::string page = FormatManPage(SmallHelp());
  struct TCase {
    const char* Fragment;
    const char* Why;
  };
  const TCase cases[] = {
      {".TH TOOL 1 \"2026-01-31\" \"Mebrox 1.2\" \"User Commands\"\n", "the header"},
      {".SH NAME\ntool \\- do a thing\n", "the name line"},
      {".br\n.B tool\n\\fB\\-\\-all\\fR [\\fB\\-\\-out\\fR \\fIDIR\\fR] \\fIFILE\\fR\n",
       "options in bold, what the user fills in in italics"},
      {"\n\\&.second starts with a dot\n", "a line starting with a dot is not a request"},
      {".TP\n\\fB0\\fR\ndone \\e over\n", "a backslash printed as one"},
      {"Said as a number.\n.TP\n", "the section's own paragraph before its entries"},
      {".SH \"SEE ALSO\"\n.BR other (1) ,\n.BR more (5)\n", "references to other pages"},
  };
  for (const TCase& c : cases)
    EXPECT_NE(page.find(c.Fragment), std::string::npos) << c.Why << "\n" << page;
}

TEST(Help, BackquotedWordsAreBoldInTheManualPageAndPlainInTheHelp) {
  THelpText help = SmallHelp();
  help.Sections = {
      {"Keys",
       "",
       {{"key KEY", "`Enter` or `F1`, and `open"}, {"dot", "`.` is a dot"}, {"plain", ".start"}}}};
  std::string page = FormatManPage(help);
  for (const char* fragment : {"\\fIKEY\\fR\n\\fBEnter\\fR or \\fBF1\\fR, and \\fBopen\\fR\n",
                               "\\fBdot\\fR\n\\fB.\\fR is a dot\n", "\\fBplain\\fR\n\\&.start\n"})
    EXPECT_NE(page.find(fragment), std::string::npos) << fragment << "\n" << page;
  std::string text = FormatHelp(help, 80);
  EXPECT_NE(text.find("  key KEY  Enter or F1, and open\n  dot      . is a dot\n"),
            std::string::npos)
      << text;
}

}  // namespace
