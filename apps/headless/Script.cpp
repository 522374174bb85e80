#include "apps/headless/Script.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "host/SysUtils.h"

namespace mebrox {

namespace {

using host::EParserError;
using host::SameText;

// The longest single wait: about 24 days, far beyond any sound, and safe to add up.
constexpr int64_t MaxWaitMs = std::numeric_limits<int32_t>::max();

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

class TScriptLineParser {
 public:
  TScriptLineParser(const std::string& sourceName, int line, TScriptDialect dialect)
      : FSourceName(sourceName), FLine(line), FDialect(dialect) {}

  [[noreturn]] void Error(const std::string& message) const {
    throw EParserError(FSourceName, FLine, message);
  }

  // Splits a line into words; false for a line with nothing but blanks and a comment.
  bool Split(std::string_view text) {
    size_t i = 0;
    for (;;) {
      while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
      if (i >= text.size() || text[i] == '#') break;
      if (text[i] == '"') {
        size_t end = text.find('"', i + 1);
        if (end == std::string_view::npos) Error("Closing '\"' missing");
        FWords.push_back(std::string(text.substr(i + 1, end - i - 1)));
        FQuoted.push_back(true);
        i = end + 1;
        if (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
          Error("Blank expected after '\"'");
      } else {
        size_t begin = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' &&
               text[i] != '#')
          ++i;
        FWords.push_back(std::string(text.substr(begin, i - begin)));
        FQuoted.push_back(false);
      }
    }
    return !FWords.empty();
  }

  TScriptCommand Parse() {
    TScriptCommand c;
    c.Line = FLine;
    const std::string verb = host::LowerCase(FWords[0]);
    if (verb == "move" || verb == "down" || verb == "up" || verb == "click") {
      c.Verb = verb == "move" ? svMove : verb == "down" ? svDown : verb == "up" ? svUp : svClick;
      // A quoted third word names a hot word: scripts that point at words by name survive a
      // change of font or text.
      bool byWord = FWords.size() >= 3 && FQuoted[2];
      size_t words = byWord ? 3 : 4;
      if (FWords.size() < words || FWords.size() > words + 1)
        Error("Use: " + verb + " FORM.CONTROL X Y [right], or " + verb +
              " FORM.CONTROL \"HOT WORD\" [right]");
      if (byWord) {
        ReadControl(FWords[1], c);
        c.HotWord = FWords[2];
        if (LTrimmed(c.HotWord).empty()) Error("Hot word expected between the quotes");
      } else {
        ReadTarget(FWords[1], c);
        c.X = ReadInt(FWords[2], "X");
        c.Y = ReadInt(FWords[3], "Y");
      }
      if (FWords.size() == words + 1) {
        if (SameText(FWords[words], "right"))
          c.Button = host::mbRight;
        else if (!SameText(FWords[words], "left"))
          Error("'right' expected instead of '" + FWords[words] + "'");
      }
    } else if (verb == "answer") {
      c.Verb = svAnswer;
      if (FWords.size() != 2) Error("Use: answer yes|no|ok|cancel");
      const std::string& a = FWords[1];
      c.Answer = SameText(a, "yes")      ? host::mrYes
                 : SameText(a, "no")     ? host::mrNo
                 : SameText(a, "ok")     ? host::mrOk
                 : SameText(a, "cancel") ? host::mrCancel
                                         : host::mrNone;
      if (c.Answer == host::mrNone) Error("Answer must be yes, no, ok or cancel, not '" + a + "'");
    } else if (verb == "screenshot") {
      c.Verb = svScreenshot;
      if (FWords.size() != 3) Error("Use: screenshot FORM FILE.png");
      ReadName(FWords[1], "Form name", c.Form);
      c.FileName = FWords[2];
      if (!SameText(host::ExtractFileExt(c.FileName), ".png") ||
          host::ExtractFileName(c.FileName) == ".png")
        Error("Screenshot file name must end in .png: '" + c.FileName + "'");
    } else if (verb == "wait") {
      c.Verb = svWait;
      if (FWords.size() != 2) Error("Use: wait MS");
      int64_t ms = 0;
      const std::string& w = FWords[1];
      auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), ms);
      if (ec != std::errc() || end != w.data() + w.size() || ms < 0 || ms > MaxWaitMs)
        Error("Milliseconds from 0 to " + std::to_string(MaxWaitMs) + " expected, not '" + w + "'");
      c.Milliseconds = ms;
    } else if (verb == "type") {
      c.Verb = svType;
      if (FWords.size() != 3) Error("Use: type FORM.CONTROL \"TEXT\"");
      ReadControl(FWords[1], c);
      c.Text = FWords[2];
    } else if (verb == "key") {
      c.Verb = svKey;
      if (FWords.size() != 3) Error("Use: key FORM[.CONTROL] KEY");
      ReadTarget(FWords[1], c);
      if (!ParseKeyName(FWords[2], c.Key)) Error("Unknown key '" + FWords[2] + "'");
    } else if (verb == "select" && FDialect == TScriptDialect::Studio &&
               (FWords.size() == 2 || (FWords.size() == 3 && SameText(FWords[2], "add")))) {
      // The designer's selection; "select FORM.CONTROL ITEM" below picks a list item.
      c.Verb = svPick;
      ReadTarget(FWords[1], c);
      c.Checked = FWords.size() == 3;
    } else if (verb == "select") {
      c.Verb = svSelect;
      if (FWords.size() != 3) Error("Use: select FORM.CONTROL \"ITEM\" or select FORM.CONTROL N");
      ReadControl(FWords[1], c);
      // A bare number is a position; quoted, it is an item's text.
      if (!FQuoted[2] && IsNumber(FWords[2])) {
        c.Index = ReadInt(FWords[2], "Item number");
        if (c.Index < 0) Error("Item number must not be negative");
      } else {
        c.Text = FWords[2];
        if (c.Text.empty()) Error("Item text expected");
      }
    } else if (verb == "check") {
      c.Verb = svCheck;
      if (FWords.size() != 3) Error("Use: check FORM.CONTROL on|off");
      ReadControl(FWords[1], c);
      if (SameText(FWords[2], "on"))
        c.Checked = true;
      else if (!SameText(FWords[2], "off"))
        Error("'on' or 'off' expected instead of '" + FWords[2] + "'");
    } else if (verb == "file") {
      c.Verb = svFile;
      if (FWords.size() < 2) Error("Use: file \"PATH\" [\"PATH\" ...]");
      for (size_t i = 1; i < FWords.size(); ++i) {
        if (FWords[i].empty()) Error("File name expected");
        c.Files.push_back(FWords[i]);
      }
    } else if (verb == "font") {
      c.Verb = svFont;
      if (FWords.size() < 3)
        Error("Use: font \"NAME\" SIZE [bold] [italic] [underline] [strikeout] [COLOUR]");
      c.FontName = FWords[1];
      c.FontSize = ReadInt(FWords[2], "Font size");
      if (c.FontSize <= 0) Error("Font size must be above 0");
      for (size_t i = 3; i < FWords.size(); ++i) {
        const std::string& w = FWords[i];
        if (SameText(w, "bold"))
          c.FontStyle.Include(host::fsBold);
        else if (SameText(w, "italic"))
          c.FontStyle.Include(host::fsItalic);
        else if (SameText(w, "underline"))
          c.FontStyle.Include(host::fsUnderline);
        else if (SameText(w, "strikeout"))
          c.FontStyle.Include(host::fsStrikeOut);
        else if (!host::IdentToColor(w, c.FontColor))
          Error("Font style or colour expected, not '" + w + "'");
      }
    } else if (verb == "color") {
      c.Verb = svColor;
      if (FWords.size() != 2) Error("Use: color COLOUR");
      try {
        c.Color = host::StringToColor(FWords[1]);
      } catch (const host::EConvertError&) {
        Error("Colour expected, not '" + FWords[1] + "'");
      }
    } else if (verb == "menu") {
      c.Verb = svMenu;
      if (FWords.size() != 3 || FWords[2].empty()) Error("Use: menu FORM.CONTROL \"ITEM\"");
      ReadControl(FWords[1], c);
      c.Text = FWords[2];
    } else if (FDialect == TScriptDialect::Studio && !ParseStudio(verb, c)) {
      Error("Unknown command '" + FWords[0] + "'");
    } else if (FDialect == TScriptDialect::Run) {
      Error("Unknown command '" + FWords[0] + "'");
    }
    return c;
  }

 private:
  bool ParseStudio(const std::string& verb, TScriptCommand& c) {
    if (verb == "drop") {
      c.Verb = svDrop;
      if (FWords.size() != 5) Error("Use: drop CLASS FORM X Y");
      ReadName(FWords[1], "Class name", c.ClassName);
      ReadName(FWords[2], "Form name", c.Form);
      c.X = ReadInt(FWords[3], "X");
      c.Y = ReadInt(FWords[4], "Y");
    } else if (verb == "edit") {
      c.Verb = svEdit;
      if (FWords.size() != 3) Error("Use: edit FORM.COMPONENT PROPERTY");
      ReadTarget(FWords[1], c);
      c.Property = ReadPath(FWords[2]);
    } else if (verb == "verb") {
      c.Verb = svVerb;
      if (FWords.size() != 3) Error("Use: verb FORM.COMPONENT N");
      ReadControl(FWords[1], c);
      c.Index = ReadInt(FWords[2], "Verb number");
      if (c.Index < 0) Error("Verb number must not be negative");
    } else if (verb == "dblclick") {
      c.Verb = svDblClick;
      if (FWords.size() != 2) Error("Use: dblclick FORM.COMPONENT");
      ReadControl(FWords[1], c);
    } else if (verb == "expert") {
      c.Verb = svExpert;
      if (FWords.size() != 2) Error("Use: expert \"MENU TEXT\"");
      c.Text = FWords[1];
    } else if (verb == "set") {
      c.Verb = svSet;
      if (FWords.size() != 4) Error("Use: set FORM[.COMPONENT] PROPERTY VALUE");
      ReadTarget(FWords[1], c);
      c.Property = ReadPath(FWords[2]);
      c.Text = FWords[3];
    } else if (verb == "save") {
      c.Verb = svSave;
      if (FWords.size() != 1) Error("Use: save");
    } else if (verb == "saveas") {
      c.Verb = svSaveAs;
      if (FWords.size() != 2 || FWords[1].empty()) Error("Use: saveas PATH");
      c.FileName = FWords[1];
    } else if (verb == "kill") {
      c.Verb = svKill;
      if (FWords.size() != 1) Error("Use: kill");
    } else if (verb == "newframe") {
      c.Verb = svNewFrame;
      if (FWords.size() != 1) Error("Use: newframe");
    } else if (verb == "nudge" || verb == "resize") {
      c.Verb = verb == "nudge" ? svNudge : svResize;
      if (FWords.size() != 4) Error("Use: " + verb + " FORM DX DY");
      ReadName(FWords[1], "Form name", c.Form);
      c.X = ReadInt(FWords[2], "DX");
      c.Y = ReadInt(FWords[3], "DY");
    } else if (verb == "undo" || verb == "redo" || verb == "copy" || verb == "cut" ||
               verb == "paste" || verb == "delete" || verb == "front" || verb == "back") {
      c.Verb = verb == "undo"     ? svUndo
               : verb == "redo"   ? svRedo
               : verb == "copy"   ? svCopy
               : verb == "cut"    ? svCut
               : verb == "paste"  ? svPaste
               : verb == "delete" ? svDelete
               : verb == "front"  ? svFront
                                  : svBack;
      if (FWords.size() != 2) Error("Use: " + verb + " FORM");
      ReadName(FWords[1], "Form name", c.Form);
    } else {
      return false;
    }
    return true;
  }

  void ReadName(const std::string& word, const std::string& what, std::string& name) {
    if (!host::TComponent::IsValidIdent(word)) Error(what + " expected, not '" + word + "'");
    name = word;
  }

  void ReadTarget(const std::string& word, TScriptCommand& c) {
    size_t dot = word.find('.');
    if (dot == std::string::npos) {
      ReadName(word, "Form name", c.Form);
      return;
    }
    ReadName(word.substr(0, dot), "Form name", c.Form);
    ReadName(word.substr(dot + 1), "Control name after '" + c.Form + ".'", c.Control);
  }

  void ReadControl(const std::string& word, TScriptCommand& c) {
    if (word.find('.') == std::string::npos) Error("FORM.CONTROL expected, not '" + word + "'");
    ReadTarget(word, c);
  }

  // A property name, or a dotted path of sub-properties (Font.Color).
  std::string ReadPath(const std::string& word) {
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

  static std::string LTrimmed(const std::string& word) {
    size_t start = word.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : word.substr(start);
  }

  static bool IsNumber(const std::string& word) {
    size_t start = !word.empty() && word[0] == '-' ? 1 : 0;
    return word.size() > start && word.find_first_not_of("0123456789", start) == std::string::npos;
  }

  int ReadInt(const std::string& word, const std::string& what) {
    int value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
      Error(what + " must be a whole number, not '" + word + "'");
    return value;
  }

  const std::string& FSourceName;
  int FLine;
  TScriptDialect FDialect;
  std::vector<std::string> FWords;
  std::vector<bool> FQuoted;
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

std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName,
                                        TScriptDialect dialect) {
  std::vector<TScriptCommand> commands;
  int line = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    ++line;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    TScriptLineParser parser(sourceName, line, dialect);
    if (parser.Split(text.substr(pos, end - pos))) commands.push_back(parser.Parse());
    pos = end + 1;
  }
  return commands;
}

}  // namespace mebrox
