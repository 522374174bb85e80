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

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

}  // namespace

// The file as lines, each kept verbatim so that a write changes only the lines it must.
class TIniDocument {
 public:
  struct Line {
    enum Kind { Other, Section, Key } Kind = Other;
    std::string Text;
    std::string Name;  // section name or key
    std::string Value;
    // False for a line the reader skipped; a section line that is not understood still ends
    // the section before it, so that the keys under it are not taken for that section's.
    bool Understood = true;
    int Number = 0;
    std::string Fault;
  };

  static TIniDocument Load(const std::string& path, TIniParsing parsing) {
    TIniDocument doc;
    if (!FileExists(path)) {
      if (DirectoryExists(path))
        throw EInOutError("Cannot open file \"" + path + "\": is a directory");
      return doc;
    }
    std::string text = ReadFileBytes(path);
    if (text.compare(0, Utf8Bom.size(), Utf8Bom) == 0) {
      doc.FBom = true;
      text.erase(0, Utf8Bom.size());
    }
    size_t lf = text.find('\n');
    doc.FNewLine = (lf != std::string::npos && (lf == 0 || text[lf - 1] != '\r')) ? "\n" : "\r\n";
    size_t pos = 0;
    int lineNo = 0;
    bool inSection = false;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      pos = end == std::string::npos ? text.size() : end + 1;
      // "\r\r\n" is one line end, as some editors and transfers leave it: a CR kept in the value
      // would make a name that matches nothing.
      while (!raw.empty() && raw.back() == '\r') raw.pop_back();
      ++lineNo;
      Line line;
      line.Text = raw;
      line.Number = lineNo;
      ParseLine(line, inSection);
      if (!line.Understood && parsing == TIniParsing::Strict)
        throw EParserError(path, lineNo, line.Fault);
      doc.FLines.push_back(std::move(line));
    }
    return doc;
  }

  std::string Serialize() const {
    std::string out = FBom ? std::string(Utf8Bom) : std::string();
    for (const Line& l : FLines) {
      out += l.Text;
      out += FNewLine;
    }
    return out;
  }

  const Line* FirstFault() const {
    for (const Line& l : FLines)
      if (!l.Understood) return &l;
    return nullptr;
  }

  // "PATH(LINE): what", with how many more lines are not understood; empty when all are.
  std::string Problem(const std::string& path) const {
    const Line* first = FirstFault();
    if (!first) return {};
    std::string text = EParserError(path, first->Number, first->Fault).Message();
    size_t more = 0;
    for (const Line& l : FLines) more += !l.Understood;
    if (more > 1)
      text += " (and " + std::to_string(more - 1) + " more line" + (more > 2 ? "s" : "") +
              " not understood)";
    return text;
  }

  void CheckWritable(const std::string& path) const {
    if (const Line* fault = FirstFault()) throw EParserError(path, fault->Number, fault->Fault);
  }

  void DropProblemLines() {
    std::vector<Line> kept;
    bool underBrokenSection = false;
    for (Line& l : FLines) {
      if (l.Kind == Line::Section) underBrokenSection = !l.Understood;
      if (l.Understood && !underBrokenSection) kept.push_back(std::move(l));
    }
    FLines = std::move(kept);
  }

  // Index range [begin, end) of the lines of the first section named so; begin is the header.
  std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const {
    for (size_t i = 0; i < FLines.size(); ++i) {
      const Line& l = FLines[i];
      if (l.Kind != Line::Section || !l.Understood || !SameText(l.Name, section)) continue;
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
      if (FLines[i].Kind == Line::Key && FLines[i].Understood && SameText(FLines[i].Name, key))
        return &FLines[i];
    return nullptr;
  }

  void Write(std::string_view section, std::string_view key, std::string_view value) {
    std::string text = std::string(key) + "=" + std::string(value);
    auto range = FindSection(section);
    if (!range) {
      if (!FLines.empty() && !TrimBlanks(FLines.back().Text).empty()) FLines.push_back({});
      Line header;
      header.Kind = Line::Section;
      header.Text = "[" + std::string(section) + "]";
      header.Name = std::string(section);
      FLines.push_back(std::move(header));
      FLines.push_back(KeyLine(text, key, value));
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
    FLines.insert(FLines.begin() + static_cast<long>(insertAt), KeyLine(text, key, value));
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
  static Line KeyLine(std::string text, std::string_view key, std::string_view value) {
    Line line;
    line.Kind = Line::Key;
    line.Text = std::move(text);
    line.Name = std::string(key);
    line.Value = std::string(value);
    return line;
  }

  static void Fault(Line& line, std::string fault) {
    line.Understood = false;
    line.Fault = std::move(fault);
  }

  static void ParseLine(Line& line, bool& inSection) {
    // A NUL byte never belongs in a text file: such lines come from a write cut short.
    if (line.Text.find('\0') != std::string::npos) return Fault(line, "the line holds NUL bytes");
    std::string_view t = TrimBlanks(line.Text);
    if (t.empty() || t[0] == ';' || t[0] == '#') return;
    if (t[0] == '[') {
      line.Kind = Line::Section;
      size_t close = t.find(']');
      if (close == std::string_view::npos) {
        inSection = false;
        return Fault(line, "section name has no closing ']'");
      }
      line.Name = std::string(TrimBlanks(t.substr(1, close - 1)));
      inSection = true;
      return;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return Fault(line, "expected 'key=value' or '[section]'");
    if (!inSection) return Fault(line, "key outside any section");
    line.Name = std::string(TrimBlanks(t.substr(0, eq)));
    line.Value = std::string(TrimBlanks(t.substr(eq + 1)));
    if (line.Name.empty()) return Fault(line, "key name is empty");
    line.Kind = Line::Key;
  }

  std::vector<Line> FLines;
  std::string FNewLine = "\r\n";
  bool FBom = false;
};

namespace {

void CheckName(std::string_view what, std::string_view text, const std::string& path) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos ||
      (what == "key" && text.find('=') != std::string_view::npos) ||
      (what == "section" && text.find(']') != std::string_view::npos))
    throw EInOutError("Cannot write " + std::string(what) + " \"" + std::string(text) + "\" to \"" +
                      path + "\": it would break the file's lines");
}

void Save(const TIniDocument& doc, const std::string& path) {
  doc.CheckWritable(path);
  std::string dir = ExtractFilePath(path);
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) throw EInOutError("Cannot create directory \"" + dir + "\": " + ec.message());
  }
  WriteFileAtomically(path, doc.Serialize());
}

// Reads the file named so (a bare name lives in the Windows directory). A lenient read tells
// the first line it skipped, once.
TIniDocument Load(const std::string& fileName, TIniParsing parsing) {
  std::string path = ProfilePath(fileName);
  TIniDocument doc = TIniDocument::Load(path, parsing);
  if (parsing == TIniParsing::Lenient) {
    std::string problem = doc.Problem(path);
    if (!problem.empty()) FileNotice(problem + ". Lines that are not understood are skipped.");
  }
  return doc;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& fileName,
                                    TIniParsing parsing) {
  TIniDocument doc = Load(fileName, parsing);
  const auto* line = doc.FindKey(section, key);
  return line ? line->Value : std::string(defaultValue);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& fileName, TIniParsing parsing) {
  TIniDocument doc = Load(fileName, parsing);
  const auto* line = doc.FindKey(section, key);
  return line ? StrToIntDef(line->Value, defaultValue) : defaultValue;
}

void WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& fileName) {
  if (!section) return;
  std::string path = ProfilePath(fileName);
  CheckName("section", section, path);
  TIniDocument doc = Load(fileName, TIniParsing::Strict);
  bool changed = true;
  if (!key) {
    changed = doc.EraseSection(section);
  } else if (!value) {
    changed = doc.DeleteKey(section, key);
  } else {
    CheckName("key", key, path);
    CheckName("value", value, path);
    doc.Write(section, TrimBlanks(key), value);
  }
  if (changed) Save(doc, path);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const {
  return GetPrivateProfileString(section, ident, defaultValue, FFileName, FParsing);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident,
                          int defaultValue) const {
  return GetPrivateProfileInt(section, ident, defaultValue, FFileName, FParsing);
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
  return Load(FFileName, FParsing).FindSection(section).has_value();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  return Load(FFileName, FParsing).FindKey(section, ident) != nullptr;
}

int TIniFile::KeyLine(std::string_view section, std::string_view ident) const {
  TIniDocument doc = Load(FFileName, FParsing);
  const auto* line = doc.FindKey(section, ident);
  return line ? line->Number : 0;
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const {
  TIniDocument doc = Load(FFileName, FParsing);
  keys.BeginUpdate();
  keys.Clear();
  if (auto range = doc.FindSection(section))
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (doc.Lines()[i].Kind == TIniDocument::Line::Key) keys.Add(doc.Lines()[i].Name);
  keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
  TIniDocument doc = Load(FFileName, FParsing);
  sections.BeginUpdate();
  sections.Clear();
  for (const auto& line : doc.Lines())
    if (line.Kind == TIniDocument::Line::Section) sections.Add(line.Name);
  sections.EndUpdate();
}

void TIniFile::EraseSection(std::string_view section) {
  WritePrivateProfileString(std::string(section).c_str(), nullptr, nullptr, FFileName);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
  WritePrivateProfileString(std::string(section).c_str(), std::string(ident).c_str(), nullptr,
                            FFileName);
}

// ---- TMemIniFile

TMemIniFile::TMemIniFile() : FDocument(std::make_unique<TIniDocument>()) {}

TMemIniFile::TMemIniFile(const std::string& fileName)
    : FFileName(ProfilePath(fileName)),
      FDocument(
          std::make_unique<TIniDocument>(TIniDocument::Load(FFileName, TIniParsing::Lenient))) {}

TMemIniFile::TMemIniFile(TMemIniFile&&) noexcept = default;
TMemIniFile& TMemIniFile::operator=(TMemIniFile&&) noexcept = default;
TMemIniFile::~TMemIniFile() = default;

std::string TMemIniFile::Problem() const {
  return FDocument->Problem(FFileName);
}

void TMemIniFile::DropProblemLines() {
  FDocument->DropProblemLines();
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view ident,
                                    std::string_view defaultValue) const {
  const auto* line = FDocument->FindKey(section, ident);
  return line ? line->Value : std::string(defaultValue);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view ident,
                              std::string_view value) {
  CheckName("section", section, FFileName);
  CheckName("key", ident, FFileName);
  CheckName("value", value, FFileName);
  FDocument->Write(section, TrimBlanks(ident), value);
}

bool TMemIniFile::DeleteKey(std::string_view section, std::string_view ident) {
  return FDocument->DeleteKey(section, ident);
}

bool TMemIniFile::EraseSection(std::string_view section) {
  return FDocument->EraseSection(section);
}

bool TMemIniFile::SectionExists(std::string_view section) const {
  return FDocument->FindSection(section).has_value();
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  return FDocument->FindKey(section, ident) != nullptr;
}

void TMemIniFile::ReadSection(std::string_view section, TStrings& keys) const {
  keys.BeginUpdate();
  keys.Clear();
  if (auto range = FDocument->FindSection(section))
    for (size_t i = range->first + 1; i < range->second; ++i) {
      const TIniDocument::Line& line = FDocument->Lines()[i];
      if (line.Kind == TIniDocument::Line::Key && line.Understood) keys.Add(line.Name);
    }
  keys.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& sections) const {
  sections.BeginUpdate();
  sections.Clear();
  for (const auto& line : FDocument->Lines())
    if (line.Kind == TIniDocument::Line::Section && line.Understood) sections.Add(line.Name);
  sections.EndUpdate();
}

std::string TMemIniFile::Text() const {
  return FDocument->Serialize();
}

void TMemIniFile::UpdateFile() const {
  if (FFileName.empty()) throw EInOutError("Cannot write an INI file that has no name");
  Save(*FDocument, FFileName);
}

}  // namespace host
