#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/headless/Script.h"

namespace mebrox {

class THeadlessRun;
struct TScriptVerbInfo;

// The words of one script line, as a verb's parse step reads them. The verb is word 0. Every
// reader fails with EParserError naming the script and the line.
class TScriptWords {
 public:
  TScriptWords(const std::string& sourceName, int line) : FSourceName(sourceName), FLine(line) {}

  // Splits a line into words: blanks between them, `#` outside double quotes starts a comment,
  // a word in double quotes may hold blanks. False for a line with no words.
  bool Split(std::string_view text);

  int Line() const { return FLine; }
  size_t Count() const { return FWords.size(); }
  const std::string& operator[](size_t i) const { return FWords[i]; }
  bool Quoted(size_t i) const { return FQuoted[i]; }

  [[noreturn]] void Error(const std::string& message) const;
  // Fails with every way the program takes this verb: "Use: drop CLASS FORM X Y".
  [[noreturn]] void Usage() const;
  // Usage() unless the line has exactly count words, the verb included.
  void Expect(size_t count) const {
    if (Count() != count) Usage();
  }

  // A component name: "Form name expected, not '1x'" when it is none.
  std::string ReadName(size_t i, const std::string& what) const;
  // FORM or FORM.CONTROL into the command's Form and Control.
  void ReadTarget(size_t i, TScriptCommand& command) const;
  // FORM.CONTROL, the control required.
  void ReadControl(size_t i, TScriptCommand& command) const;
  // A property name, or a dotted path of sub-properties (Font.Color).
  std::string ReadPath(size_t i) const;
  int ReadInt(size_t i, const std::string& what) const;
  // An unquoted whole number, perhaps negative.
  bool IsNumber(size_t i) const;

  // The declarations the line's verb has in the program, for Usage().
  void SetVerbs(std::vector<const TScriptVerbInfo*> verbs) { FVerbs = std::move(verbs); }

 private:
  const std::string& FSourceName;
  int FLine;
  std::vector<std::string> FWords;
  std::vector<bool> FQuoted;
  std::vector<const TScriptVerbInfo*> FVerbs;
};

// One way of writing a verb's line. Args is written as typed: words in capitals stand for what
// the user puts there, [ ] holds what may be left out, | separates alternatives. Meaning says
// what the line does in a phrase; words in `backquotes` are typed as they stand.
struct TScriptForm {
  std::string Args;
  std::string Meaning;
};

// A script verb, declared once: how its lines are written and what they mean (which the help,
// the manual page, the parser's messages and the README's tables show), how its words are read
// into a command, and what carrying the command out does.
struct TScriptVerbInfo {
  std::string Name;  // in lower case; scripts may write it in any case
  // The name code outside the table knows the verb by, when it needs one.
  TScriptVerb Verb = svOther;
  std::vector<TScriptForm> Forms;
  // For a name two declarations of a program share: whether this one reads the line. Null:
  // every line of its name.
  bool (*Takes)(const TScriptWords& words) = nullptr;
  void (*Parse)(const TScriptWords& words, TScriptCommand& command) = nullptr;
  std::function<void(THeadlessRun& run, const TScriptCommand& command)> Run;
};

// The script line of a form as the help shows it: "drop CLASS FORM X Y".
std::string ScriptLineSyntax(const TScriptVerbInfo& verb, const TScriptForm& form);

// The table as the README shows it: a Markdown table of script lines and their meanings.
std::string ScriptTableMarkdown(const TScriptVerbTable& table);

}  // namespace mebrox
