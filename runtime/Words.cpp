#include "runtime/Words.h"

#include "host/SysUtils.h"
#include "runtime/Strtool.h"

namespace mebrox {

namespace {

constexpr size_t ActTypeColumn = TWords::WordWidth;
constexpr size_t ActColumn = TWords::WordWidth + TWords::ActTypeWidth;

// Exactly the given columns (0-based start), as far as the entry reaches, trailing spaces gone.
std::string Column(const std::string& entry, size_t start, size_t width) {
  if (start >= entry.size()) return {};
  return RTrim(entry.substr(start, width));
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// A field wider than its column would shift the fields behind it and garble the entry; a line
// break in a word or code would split its record in the word-list file. Trailing spaces are
// padding, so they do not count.
std::string FitField(const std::string& value, size_t width, const char* what) {
  std::string field = value.size() > width ? RTrim(value) : value;
  if (field.size() > width)
    throw host::EListError(std::string(what) + " \"" + field + "\" is longer than the " +
                           std::to_string(width) + " characters its column holds");
  if (HasLineBreak(field))
    throw host::EListError(std::string(what) + " \"" + field + "\" holds a line break");
  return field;
}

// Action data may hold line breaks (a description's), but no more than its columns.
std::string FitData(const std::string& act) {
  std::string data = act.size() > TWords::ActWidth ? RTrim(act) : act;
  if (data.size() > TWords::ActWidth)
    throw host::EListError("The action data is " + std::to_string(data.size()) +
                           " characters long; its column holds " +
                           std::to_string(TWords::ActWidth));
  return data;
}

std::string MakeEntry(const std::string& word, const std::string& actType, const std::string& act) {
  return PadStr(FitField(word, TWords::WordWidth, "The word"), TWords::WordWidth) +
         PadStr(FitField(actType, TWords::ActTypeWidth, "The word action code"),
                TWords::ActTypeWidth) +
         PadStr(FitData(act), TWords::ActWidth);
}

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Hands out the lines of a text file one at a time, as the old text-file reader did: CR LF or LF
// ends a line, and reading past the end gives empty lines.
class TLineReader {
 public:
  explicit TLineReader(const std::string& text) : FText(text) {}
  bool Eof() const { return FPos >= FText.size(); }
  int LineNumber() const { return FLineNumber; }
  std::string ReadLine() {
    ++FLineNumber;
    if (Eof()) return {};
    size_t end = FText.find('\n', FPos);
    if (end == std::string::npos) end = FText.size();
    size_t next = end + 1;
    if (end > FPos && FText[end - 1] == '\r') --end;
    std::string line = FText.substr(FPos, end - FPos);
    FPos = next;
    return line;
  }

 private:
  const std::string& FText;
  size_t FPos = 0;
  int FLineNumber = 0;
};

int ParseCode(const std::string& code, const std::string& fileName, int line) {
  int value = 0;
  if (!host::TryStrToInt(code, value))
    throw host::EParserError(fileName, line,
                             "word action code \"" + code + "\" is not an integer number");
  return value;
}

// What an entry cannot hold is refused where the file says it, not when the entry is built.
void CheckRecord(const std::string& word, int wordLine, const std::string& code, int codeLine,
                 const std::string& fileName) {
  if (word.size() > TWords::WordWidth && RTrim(word).size() > TWords::WordWidth)
    throw host::EParserError(
        fileName, wordLine,
        "the word is longer than " + std::to_string(TWords::WordWidth) + " characters");
  if (HasLineBreak(word))
    throw host::EParserError(fileName, wordLine, "the word holds a carriage return");
  if (code.size() > TWords::ActTypeWidth)
    throw host::EParserError(fileName, codeLine,
                             "word action code \"" + code + "\" is longer than " +
                                 std::to_string(TWords::ActTypeWidth) + " characters");
  if (HasLineBreak(code))
    throw host::EParserError(fileName, codeLine, "the word action code holds a carriage return");
  if (!code.empty()) ParseCode(code, fileName, codeLine);
}

// Whether text, written out as lines, has a line that is only "~" and would end its record.
// The writer ends the last line with CR LF of its own, so only a CR before an LF of the text
// goes with the line end.
bool HasRecordEnd(const std::string& text) {
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    bool lineFeed = end != std::string::npos;
    if (!lineFeed) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    if (lineFeed && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == "~") return true;
    pos = end + 1;
  }
  return false;
}

// Whether text has a line feed that does not follow a carriage return: the reader would give
// it back as CR LF.
bool HasBareLineFeed(const std::string& text) {
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    if (at == 0 || text[at - 1] != '\r') return true;
  return false;
}

}  // namespace

// ---- TWords

const host::TClassInfo& TWords::StaticClassInfo() {
  static host::TClassInfo info("TWords", &host::TStringList::StaticClassInfo());
  return info;
}

int TWords::NewWord(const std::string& word, const std::string& actType, const std::string& act) {
  return Add(MakeEntry(word, actType, act));
}

void TWords::ChangeWord(int index, const std::string& word, const std::string& actType,
                        const std::string& act) {
  std::string newWord = word.empty() ? GetWord(index) : RTrim(word);
  Put(index, MakeEntry(newWord, RTrim(actType), RTrim(act)));
}

void TWords::RemoveWord(int index) {
  Delete(index);
}

std::string TWords::GetWord(int index) const {
  if (index < 0 || index >= Count()) return {};
  return Column(Items()[static_cast<size_t>(index)], 0, WordWidth);
}

bool TWords::SelectEntry(int index, const std::string& key, std::string& entry) const {
  if (index >= 0 && index < Count()) {
    entry = Items()[static_cast<size_t>(index)];
    return true;
  }
  if (key.empty()) return false;
  entry = Get(IndexOf(key));  // no such entry: the list's index error
  return true;
}

std::string TWords::GetWordActType(int index, const std::string& key) const {
  std::string entry;
  return SelectEntry(index, key, entry) ? Column(entry, ActTypeColumn, ActTypeWidth)
                                        : std::string();
}

std::string TWords::GetWordAct(int index, const std::string& key) const {
  std::string entry;
  return SelectEntry(index, key, entry) ? Column(entry, ActColumn, ActWidth) : std::string();
}

void TWords::Assign(const host::TStrings& source) {
  // Copied first, so that assigning a list to itself keeps its entries.
  std::vector<std::string> strings;
  strings.reserve(static_cast<size_t>(source.Count()));
  for (int i = 0; i < source.Count(); ++i) strings.push_back(source.Get(i));
  Clear();
  for (const std::string& s : strings) Add(s);
  Changed();
}

void TWords::Changed() {
  if (OnListChange) OnListChange(this);
}

void TWords::LoadListFromFile(const std::string& fileName) {
  // Read before clearing: a file that cannot be opened leaves the list as it was.
  ReadList(host::ReadFileBytes(fileName), fileName);
}

void TWords::ReadList(std::string text, const std::string& fileName) {
  if (text.compare(0, Utf8Bom.size(), Utf8Bom) == 0) text.erase(0, Utf8Bom.size());
  Clear();
  TLineReader reader(text);
  while (!reader.Eof()) {
    std::string word = reader.ReadLine();
    int wordLine = reader.LineNumber();
    std::string code = RTrim(reader.ReadLine());
    int codeLine = reader.LineNumber();
    CheckRecord(word, wordLine, code, codeLine, fileName);
    // CheckRecord has seen that a code given is a number.
    const bool description = !code.empty() && ParseCode(code, fileName, codeLine) == 0;
    std::string data;
    int dataLines = 0;
    std::string line = reader.ReadLine();
    // A description's lines are joined by the line breaks between them, so that it reads back
    // exactly as it was written, blank lines and all; other data lines are joined as they are.
    // A record that ends with the file instead of "~" keeps the lines it has: the line read
    // last is data too, unless it is the empty rest after the last line end.
    while (line != "~" && (!reader.Eof() || !line.empty())) {
      // Data without a code has no action to belong to.
      if (!line.empty() && code.empty()) ParseCode(code, fileName, codeLine);
      if (dataLines++ > 0 && description) data += "\r\n";
      data += line;
      if (data.size() > TWords::ActWidth && RTrim(data).size() > TWords::ActWidth)
        throw host::EParserError(fileName, reader.LineNumber(),
                                 "the action data of \"" + word + "\" is longer than the " +
                                     std::to_string(TWords::ActWidth) +
                                     " characters its column holds");
      if (reader.Eof()) break;
      line = reader.ReadLine();
    }
    NewWord(word, code, data);
  }
}

void TWords::SaveListToFile(const std::string& fileName) const {
  // Only what reads back as the same records is written.
  for (int i = 0; i < Count(); ++i) {
    std::string word = GetWord(i), code = GetWordActType(i), act = GetWordAct(i);
    std::string which = "word " + std::to_string(i + 1) + " (\"" + word + "\")";
    auto refuse = [&](const std::string& why) {
      throw host::EInOutError("Cannot save the word list \"" + fileName + "\": " + why);
    };
    int value = 0;
    if (HasLineBreak(word)) refuse(which + " holds a line break");
    if (HasLineBreak(code) || (!code.empty() && !host::TryStrToInt(code, value)))
      refuse("the action code \"" + code + "\" of " + which + " is not a number");
    if (code.empty() && !act.empty()) refuse(which + " has action data but no action code");
    if (HasRecordEnd(act))
      refuse("the action data of " + which +
             " has a line that is only \"~\", which would end the word's record");
    if (value != 0 && act.find('\n') != std::string::npos)
      refuse("the action data of " + which +
             " holds a line break, which only a description (code 0) keeps");
    if (value == 0 && HasBareLineFeed(act))
      refuse("the description of " + which +
             " holds a line feed without a carriage return, which would read back as both");
  }
  // The reader takes a byte order mark at the start for the file's own; a first word that begins
  // with one keeps it behind a mark of the file's.
  std::string text = Count() > 0 && GetWord(0).compare(0, Utf8Bom.size(), Utf8Bom) == 0
                         ? std::string(Utf8Bom)
                         : std::string();
  for (int i = 0; i < Count(); ++i) {
    text += GetWord(i) + "\r\n";
    text += GetWordActType(i) + "\r\n";
    text += GetWordAct(i) + "\r\n";
    text += "~\r\n";
  }
  // What the checks above may have missed is still caught: the file is read back before it is
  // written, and must give every entry as it stands.
  TWords back;
  std::string differs;
  try {
    back.ReadList(text, fileName);
    for (int i = 0; i < Count() && differs.empty(); ++i)
      if (i >= back.Count() || back.GetWord(i) != GetWord(i) ||
          back.GetWordActType(i) != GetWordActType(i) || back.GetWordAct(i) != GetWordAct(i))
        differs = "word " + std::to_string(i + 1) + " (\"" + GetWord(i) + "\")";
    if (differs.empty() && back.Count() != Count()) differs = "the number of words";
  } catch (const host::EParserError& e) {
    differs = "the list (" + e.Message() + ")";
  }
  if (!differs.empty())
    throw host::EInOutError("Cannot save the word list \"" + fileName + "\": " + differs +
                            " would not read back as it is");
  host::WriteFileAtomically(fileName, text);
}

// ---- TWordsLists

const host::TClassInfo& TWordsLists::StaticClassInfo() {
  static host::TClassInfo info("TWordsLists", &host::TStringList::StaticClassInfo());
  return info;
}

// ---- TLinesLists

const host::TClassInfo& TLinesLists::StaticClassInfo() {
  static host::TClassInfo info("TLinesLists", &host::TStringList::StaticClassInfo());
  return info;
}

}  // namespace mebrox
