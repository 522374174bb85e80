#include "host/IniFiles.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace host {

std::string WindowsDirectory() {
  if (const char* dir = std::getenv("MEBROX_WINDIR"); dir && *dir) return dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return std::string(xdg) + "/mebrox";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/mebrox";
}

std::string ProfilePath(const std::string& fileName) {
  for (char c : fileName)
    if (IsPathDelimiter(c)) return NativePath(fileName);
  return WindowsDirectory() + "/" + fileName;
}

namespace {

std::string_view TrimBlanks(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// The file as lines, each kept verbatim so that a write changes only the lines it must.
class IniDocument {
 public:
  struct Line {
    enum Kind { Other, Section, Key } Kind = Other;
    std::string Text;
    std::string Name;  // section name or key
    std::string Value;
  };

  static IniDocument Load(const std::string& path, const std::string& displayName) {
    IniDocument doc;
    if (!FileExists(path)) {
      if (DirectoryExists(path))
        throw EInOutError("Cannot open file \"" + displayName + "\": is a directory");
      return doc;
    }
    std::string text = ReadFileBytes(path);
    size_t lf = text.find('\n');
    doc.FNewLine = (lf != std::string::npos && (lf == 0 || text[lf - 1] != '\r')) ? "\n" : "\r\n";
    size_t pos = 0;
    int lineNo = 0;
    bool inSection = false;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      pos = end == std::string::npos ? text.size() : end + 1;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      ++lineNo;
      Line line;
      line.Text = raw;
      std::string_view t = TrimBlanks(raw);
      if (t.empty() || t[0] == ';' || t[0] == '#') {
        doc.FLines.push_back(std::move(line));
        continue;
      }
      if (t[0] == '[') {
        size_t close = t.find(']');
        if (close == std::string_view::npos)
          throw EParserError(displayName, lineNo, "section name has no closing ']'");
        line.Kind = Line::Section;
        line.Name = std::string(TrimBlanks(t.substr(1, close - 1)));
        inSection = true;
      } else {
        size_t eq = t.find('=');
        if (eq == std::string_view::npos)
          throw EParserError(displayName, lineNo, "expected 'key=value' or '[section]'");
        if (!inSection) throw EParserError(displayName, lineNo, "key outside any section");
        line.Kind = Line::Key;
        line.Name = std::string(TrimBlanks(t.substr(0, eq)));
        line.Value = std::string(TrimBlanks(t.substr(eq + 1)));
        if (line.Name.empty()) throw EParserError(displayName, lineNo, "key name is empty");
      }
      doc.FLines.push_back(std::move(line));
    }
    return doc;
  }

  std::string Serialize() const {
    std::string out;
    for (const Line& l : FLines) {
      out += l.Text;
      out += FNewLine;
    }
    return out;
  }

  // Index range [begin, end) of the lines of the first section named so; begin is the header.
  std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const {
    for (size_t i = 0; i < FLines.size(); ++i) {
      if (FLines[i].Kind != Line::Section || !SameText(FLines[i].Name, section)) continue;
      size_t end = i + 1;
      while (end < FLines.size() && FLines[end].Kind != Line::Section) ++end;
      return std::make_pair(i, end);
    }
    return std::nullopt;
  }

  const Line* FindKey(std::string_view section, std::string_view key) const {
    auto range = FindSection(section);
    if (!range) return nullptr;
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (FLines[i].Kind == Line::Key && SameText(FLines[i].Name, key)) return &FLines[i];
    return nullptr;
  }

  void Write(std::string_view section, std::string_view key, std::string_view value) {
    std::string text = std::string(key) + "=" + std::string(value);
    auto range = FindSection(section);
    if (!range) {
      if (!FLines.empty() && !TrimBlanks(FLines.back().Text).empty()) FLines.push_back({});
      FLines.push_back({Line::Section, "[" + std::string(section) + "]", std::string(section), {}});
      FLines.push_back({Line::Key, text, std::string(key), std::string(value)});
      return;
    }
    size_t insertAt = range->first + 1;
    for (size_t i = range->first + 1; i < range->second; ++i) {
      Line& l = FLines[i];
      if (l.Kind != Line::Key) continue;
      if (SameText(l.Name, key)) {
        l.Text = l.Name + "=" + std::string(value);
        l.Value = std::string(value);
        return;
      }
      insertAt = i + 1;
    }
    FLines.insert(FLines.begin() + static_cast<long>(insertAt),
                  Line{Line::Key, text, std::string(key), std::string(value)});
  }

  bool DeleteKey(std::string_view section, std::string_view key) {
    auto range = FindSection(section);
    if (!range) return false;
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (FLines[i].Kind == Line::Key && SameText(FLines[i].Name, key)) {
        FLines.erase(FLines.begin() + static_cast<long>(i));
        return true;
      }
    return false;
  }

  bool EraseSection(std::string_view section) {
    bool erased = false;
    while (auto range = FindSection(section)) {
      FLines.erase(FLines.begin() + static_cast<long>(range->first),
                   FLines.begin() + static_cast<long>(range->second));
      erased = true;
    }
    return erased;
  }

  const std::vector<Line>& Lines() const { return FLines; }

 private:
  std::vector<Line> FLines;
  std::string FNewLine = "\r\n";
};

void CheckName(std::string_view what, std::string_view text, const std::string& fileName) {
  if (text.find_first_of("\r\n") != std::string_view::npos ||
      (what == "key" && text.find('=') != std::string_view::npos) ||
      (what == "section" && text.find(']') != std::string_view::npos))
    throw EInOutError("Cannot write " + std::string(what) + " \"" + std::string(text) + "\" to \"" +
                      fileName + "\": it would break the file's lines");
}

void Save(const IniDocument& doc, const std::string& path) {
  std::string dir = ExtractFilePath(path);
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) throw EInOutError("Cannot create directory \"" + dir + "\": " + ec.message());
  }
  WriteFileAtomically(path, doc.Serialize());
}

IniDocument Load(const std::string& fileName) {
  return IniDocument::Load(ProfilePath(fileName), fileName);
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& fileName) {
  IniDocument doc = Load(fileName);
  const auto* line = doc.FindKey(section, key);
  return line ? line->Value : std::string(defaultValue);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& fileName) {
  IniDocument doc = Load(fileName);
  const auto* line = doc.FindKey(section, key);
  return line ? StrToIntDef(line->Value, defaultValue) : defaultValue;
}

void WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& fileName) {
  if (!section) return;
  CheckName("section", section, fileName);
  IniDocument doc = Load(fileName);
  bool changed = true;
  if (!key) {
    changed = doc.EraseSection(section);
  } else if (!value) {
    changed = doc.DeleteKey(section, key);
  } else {
    CheckName("key", key, fileName);
    CheckName("value", value, fileName);
    doc.Write(section, TrimBlanks(key), value);
  }
  if (changed) Save(doc, ProfilePath(fileName));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const {
  return GetPrivateProfileString(section, ident, defaultValue, FFileName);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident,
                          int defaultValue) const {
  return GetPrivateProfileInt(section, ident, defaultValue, FFileName);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view ident,
                           std::string_view value) {
  WritePrivateProfileString(std::string(section).c_str(), std::string(ident).c_str(),
                            std::string(value).c_str(), FFileName);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

bool TIniFile::SectionExists(std::string_view section) const {
  return Load(FFileName).FindSection(section).has_value();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  return Load(FFileName).FindKey(section, ident) != nullptr;
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const {
  IniDocument doc = Load(FFileName);
  keys.BeginUpdate();
  keys.Clear();
  if (auto range = doc.FindSection(section))
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (doc.Lines()[i].Kind == IniDocument::Line::Key) keys.Add(doc.Lines()[i].Name);
  keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
  IniDocument doc = Load(FFileName);
  sections.BeginUpdate();
  sections.Clear();
  for (const auto& line : doc.Lines())
    if (line.Kind == IniDocument::Line::Section) sections.Add(line.Name);
  sections.EndUpdate();
}

void TIniFile::EraseSection(std::string_view section) {
  WritePrivateProfileString(std::string(section).c_str(), nullptr, nullptr, FFileName);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
  WritePrivateProfileString(std::string(section).c_str(), std::string(ident).c_str(), nullptr,
                            FFileName);
}

}  // namespace host
