#include "apps/headless/ScriptVerb.h"

#include <charconv>

#include "host/Classes.h"
#include "host/SysUtils.h"

namespace mebrox {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// A Markdown table cell: a bar would end it.
std::string Cell(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '|') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

bool TScriptWords::Split(std::string_view text) {
  size_t i = 0;
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] == '#') break;
    if (text[i] == '"') {
      size_t end = text.find('"', i + 1);
      if (end == std::string_view::npos) Error("Closing '\"' missing");
      FWords.push_back(std::string(text.substr(i + 1, end - i - 1)));
      FQuoted.push_back(true);
      i = end + 1;
      if (i < text.size() && !IsBlank(text[i])) Error("Blank expected after '\"'");
    } else {
      size_t begin = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != '#') ++i;
      FWords.push_back(std::string(text.substr(begin, i - begin)));
      FQuoted.push_back(false);
    }
  }
  return !FWords.empty();
}

void TScriptWords::Error(const std::string& message) const {
  throw host::EParserError(FSourceName, FLine, message);
}

void TScriptWords::Usage() const {
  std::string ways;
  for (const TScriptVerbInfo* verb : FVerbs)
    for (const TScriptForm& form : verb->Forms)
      ways += (ways.empty() ? "" : ", or ") + ScriptLineSyntax(*verb, form);
  Error("Use: " + ways);
}

std::string TScriptWords::ReadName(size_t i, const std::string& what) const {
  if (!host::TComponent::IsValidIdent(FWords[i]))
    Error(what + " expected, not '" + FWords[i] + "'");
  return FWords[i];
}

void TScriptWords::ReadTarget(size_t i, TScriptCommand& command) const {
  const std::string& word = FWords[i];
  size_t dot = word.find('.');
  std::string form = word.substr(0, dot);
  if (!host::TComponent::IsValidIdent(form)) Error("Form name expected, not '" + form + "'");
  command.Form = form;
  if (dot == std::string::npos) return;
  std::string control = word.substr(dot + 1);
  if (!host::TComponent::IsValidIdent(control))
    Error("Control name after '" + form + ".' expected, not '" + control + "'");
  command.Control = control;
}

void TScriptWords::ReadControl(size_t i, TScriptCommand& command) const {
  if (FWords[i].find('.') == std::string::npos)
    Error("FORM.CONTROL expected, not '" + FWords[i] + "'");
  ReadTarget(i, command);
}

std::string TScriptWords::ReadPath(size_t i) const {
  const std::string& word = FWords[i];
  size_t start = 0;
  for (;;) {
    size_t dot = word.find('.', start);
    std::string part =
        word.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (!host::TComponent::IsValidIdent(part) || part.empty())
      Error("Property name expected, not '" + word + "'");
    if (dot == std::string::npos) return word;
    start = dot + 1;
  }
}

int TScriptWords::ReadInt(size_t i, const std::string& what) const {
  const std::string& word = FWords[i];
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size())
    Error(what + " must be a whole number, not '" + word + "'");
  return value;
}

bool TScriptWords::IsNumber(size_t i) const {
  const std::string& word = FWords[i];
  if (FQuoted[i]) return false;
  size_t start = !word.empty() && word[0] == '-' ? 1 : 0;
  return word.size() > start && word.find_first_not_of("0123456789", start) == std::string::npos;
}

std::string ScriptLineSyntax(const TScriptVerbInfo& verb, const TScriptForm& form) {
  return form.Args.empty() ? verb.Name : verb.Name + " " + form.Args;
}

std::string ScriptTableMarkdown(const TScriptVerbTable& table) {
  std::string out = "| script line | meaning |\n| --- | --- |\n";
  for (const TScriptVerbInfo& verb : table)
    for (const TScriptForm& form : verb.Forms)
      out += "| `" + Cell(ScriptLineSyntax(verb, form)) + "` | " + Cell(form.Meaning) + " |\n";
  return out;
}

}  // namespace mebrox
