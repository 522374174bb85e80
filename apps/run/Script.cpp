#include "apps/run/Script.h"

#include <charconv>
#include <limits>

#include "host/SysUtils.h"

namespace mebrox {

namespace {

using host::EParserError;
using host::SameText;

// The longest single wait: about 24 days, far beyond any sound, and safe to add up.
constexpr int64_t MaxWaitMs = std::numeric_limits<int32_t>::max();

class TScriptLineParser {
 public:
  TScriptLineParser(const std::string& sourceName, int line)
      : FSourceName(sourceName), FLine(line) {}

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
        i = end + 1;
        if (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
          Error("Blank expected after '\"'");
      } else {
        size_t begin = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' &&
               text[i] != '#')
          ++i;
        FWords.push_back(std::string(text.substr(begin, i - begin)));
      }
    }
    return !FWords.empty();
  }

  TScriptCommand Parse() {
    TScriptCommand c;
    c.Line = FLine;
    const std::string& verb = FWords[0];
    if (SameText(verb, "move") || SameText(verb, "down") || SameText(verb, "up") ||
        SameText(verb, "click")) {
      c.Verb = SameText(verb, "move")   ? svMove
               : SameText(verb, "down") ? svDown
               : SameText(verb, "up")   ? svUp
                                        : svClick;
      if (FWords.size() < 4 || FWords.size() > 5)
        Error("Use: " + LowerVerb(verb) + " FORM.CONTROL X Y [right]");
      ReadTarget(FWords[1], c);
      c.X = ReadInt(FWords[2], "X");
      c.Y = ReadInt(FWords[3], "Y");
      if (FWords.size() == 5) {
        if (SameText(FWords[4], "right"))
          c.Button = host::mbRight;
        else if (!SameText(FWords[4], "left"))
          Error("'right' expected instead of '" + FWords[4] + "'");
      }
    } else if (SameText(verb, "answer")) {
      c.Verb = svAnswer;
      if (FWords.size() != 2) Error("Use: answer yes|no|ok|cancel");
      const std::string& a = FWords[1];
      c.Answer = SameText(a, "yes")      ? host::mrYes
                 : SameText(a, "no")     ? host::mrNo
                 : SameText(a, "ok")     ? host::mrOk
                 : SameText(a, "cancel") ? host::mrCancel
                                         : host::mrNone;
      if (c.Answer == host::mrNone) Error("Answer must be yes, no, ok or cancel, not '" + a + "'");
    } else if (SameText(verb, "screenshot")) {
      c.Verb = svScreenshot;
      if (FWords.size() != 3) Error("Use: screenshot FORM FILE.png");
      ReadName(FWords[1], "Form name", c.Form);
      c.FileName = FWords[2];
      if (!SameText(host::ExtractFileExt(c.FileName), ".png") ||
          host::ExtractFileName(c.FileName) == ".png")
        Error("Screenshot file name must end in .png: '" + c.FileName + "'");
    } else if (SameText(verb, "wait")) {
      c.Verb = svWait;
      if (FWords.size() != 2) Error("Use: wait MS");
      int64_t ms = 0;
      const std::string& w = FWords[1];
      auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), ms);
      if (ec != std::errc() || end != w.data() + w.size() || ms < 0 || ms > MaxWaitMs)
        Error("Milliseconds from 0 to " + std::to_string(MaxWaitMs) + " expected, not '" + w + "'");
      c.Milliseconds = ms;
    } else {
      Error("Unknown command '" + verb + "'");
    }
    return c;
  }

 private:
  static std::string LowerVerb(const std::string& verb) { return host::LowerCase(verb); }

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

  int ReadInt(const std::string& word, const std::string& what) {
    int value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
      Error(what + " must be a whole number, not '" + word + "'");
    return value;
  }

  const std::string& FSourceName;
  int FLine;
  std::vector<std::string> FWords;
};

}  // namespace

std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName) {
  std::vector<TScriptCommand> commands;
  int line = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    ++line;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    TScriptLineParser parser(sourceName, line);
    if (parser.Split(text.substr(pos, end - pos))) commands.push_back(parser.Parse());
    pos = end + 1;
  }
  return commands;
}

}  // namespace mebrox
