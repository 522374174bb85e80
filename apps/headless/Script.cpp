#include "apps/headless/Script.h"

#include <cctype>
#include <charconv>

#include "apps/headless/ScriptVerb.h"
#include "host/SysUtils.h"

namespace mebrox {

namespace {

using host::SameText;

struct TKeyName {
  const char* Name;
  host::TKey Key;
  const char* Text;
};

constexpr TKeyName KeyNames[] = {
    {"Enter", host::VK_RETURN, ""},   {"Return", host::VK_RETURN, ""},
    {"Escape", host::VK_ESCAPE, ""},  {"Esc", host::VK_ESCAPE, ""},
    {"Tab", host::VK_TAB, ""},        {"Space", host::VK_SPACE, " "},
    {"Backspace", host::VK_BACK, ""}, {"Delete", host::VK_DELETE, ""},
    {"Insert", host::VK_INSERT, ""},  {"Home", host::VK_HOME, ""},
    {"End", host::VK_END, ""},        {"PageUp", host::VK_PRIOR, ""},
    {"PageDown", host::VK_NEXT, ""},  {"Up", host::VK_UP, ""},
    {"Down", host::VK_DOWN, ""},      {"Left", host::VK_LEFT, ""},
    {"Right", host::VK_RIGHT, ""},
};

}  // namespace

bool ParseKeyName(std::string_view name, host::TKeyEventRecord& key) {
  key = {};
  for (;;) {
    size_t plus = name.find('+');
    if (plus == std::string_view::npos || plus + 1 == name.size()) break;
    std::string_view modifier = name.substr(0, plus);
    if (SameText(modifier, "Shift"))
      key.Shift.Include(host::ssShift);
    else if (SameText(modifier, "Ctrl"))
      key.Shift.Include(host::ssCtrl);
    else if (SameText(modifier, "Alt"))
      key.Shift.Include(host::ssAlt);
    else
      return false;
    name.remove_prefix(plus + 1);
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    char c = name[0];
    key.Key = std::toupper(static_cast<unsigned char>(c));
    bool upper = key.Shift.Contains(host::ssShift);
    key.Text = std::string(1, std::isalpha(static_cast<unsigned char>(c))
                                  ? static_cast<char>(upper ? std::toupper(c) : std::tolower(c))
                                  : c);
    return true;
  }
  for (const TKeyName& k : KeyNames)
    if (SameText(name, k.Name)) {
      key.Key = k.Key;
      key.Text = k.Text;
      return true;
    }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12) {
      key.Key = host::VK_F1 + n - 1;
      return true;
    }
  }
  return false;
}

namespace {

// Reads one line by the declaration of its verb: the first of the dialect's that takes it.
TScriptCommand ParseLine(TScriptWords& words, const TScriptDialect& dialect) {
  std::vector<const TScriptVerbInfo*> verbs;
  for (const TScriptVerbTable* table : dialect.Tables())
    for (const TScriptVerbInfo& verb : *table)
      if (SameText(verb.Name, words[0])) verbs.push_back(&verb);
  if (verbs.empty()) words.Error("Unknown command '" + words[0] + "'");
  words.SetVerbs(verbs);
  for (const TScriptVerbInfo* verb : verbs) {
    if (verb->Takes && !verb->Takes(words)) continue;
    TScriptCommand command;
    command.Line = words.Line();
    command.Info = verb;
    command.Verb = verb->Verb;
    verb->Parse(words, command);
    return command;
  }
  words.Usage();
}

}  // namespace

std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName,
                                        const TScriptDialect& dialect) {
  std::vector<TScriptCommand> commands;
  int line = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    ++line;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    TScriptWords words(sourceName, line);
    if (words.Split(text.substr(pos, end - pos))) commands.push_back(ParseLine(words, dialect));
    pos = end + 1;
  }
  return commands;
}

}  // namespace mebrox
