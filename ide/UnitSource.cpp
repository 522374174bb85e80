#include "ide/UnitSource.h"

#include <cctype>
#include <string_view>

#include "host/SysUtils.h"

namespace ide {

namespace {

bool IsIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Reads a line of Pascal a piece at a time: blanks, identifiers, single symbols.
struct TLineReader {
  std::string_view Text;
  size_t At = 0;

  void Blanks() {
    while (At < Text.size() && std::isspace(static_cast<unsigned char>(Text[At]))) ++At;
  }
  bool Word(std::string& out) {
    Blanks();
    size_t start = At;
    while (At < Text.size() && IsIdentChar(Text[At])) ++At;
    out = std::string(Text.substr(start, At - start));
    return !out.empty() && !std::isdigit(static_cast<unsigned char>(out[0]));
  }
  bool Symbol(char c) {
    Blanks();
    if (At >= Text.size() || Text[At] != c) return false;
    ++At;
    return true;
  }
  bool AtEnd() {
    Blanks();
    return At >= Text.size();
  }
};

// The source's lines, each with where it starts and ends (its line end not included).
struct TLine {
  size_t Start, End;
};

std::vector<TLine> Lines(const std::string& source) {
  std::vector<TLine> lines;
  size_t pos = 0;
  while (pos <= source.size()) {
    size_t end = source.find('\n', pos);
    if (end == std::string::npos) end = source.size();
    size_t stop = end > pos && source[end - 1] == '\r' ? end - 1 : end;
    lines.push_back({pos, stop});
    pos = end + 1;
  }
  return lines;
}

bool IsClassLine(std::string_view text, std::string& className) {
  TLineReader r{text};
  std::string keyword, base;
  return r.Word(className) && r.Symbol('=') && r.Word(keyword) &&
         host::SameText(keyword, "class") && r.Symbol('(') && r.Word(base) &&
         host::SameText(base, "TForm") && r.Symbol(')') && r.AtEnd();
}

// `Name: Class;` alone on its line.
bool IsFieldLine(std::string_view text, TFormField& field) {
  TLineReader r{text};
  return r.Word(field.Name) && r.Symbol(':') && r.Word(field.ClassName) && r.Symbol(';') &&
         r.AtEnd();
}

// What may follow the fields: a visibility, a method, a property, the class's end, or nothing.
bool EndsFields(std::string_view text) {
  TLineReader r{text};
  std::string word;
  if (r.AtEnd()) return true;
  if (!r.Word(word)) return false;
  for (const char* keyword : {"private", "protected", "public", "published", "procedure",
                              "function", "constructor", "destructor", "property", "class", "end"})
    if (host::SameText(word, keyword)) return true;
  return false;
}

}  // namespace

bool FindFormClassDeclaration(const std::string& source, std::string& className, int& line) {
  // The class line may go on after its ")": `TForm1 = class(TForm) end;` is a class too.
  std::vector<TLine> lines = Lines(source);
  for (size_t i = 0; i < lines.size(); ++i) {
    TLineReader r{std::string_view(source).substr(lines[i].Start, lines[i].End - lines[i].Start)};
    std::string name, keyword, base;
    if (!r.Word(name) || !r.Symbol('=') || !r.Word(keyword) || !host::SameText(keyword, "class") ||
        !r.Symbol('(') || !r.Word(base) || !host::SameText(base, "TForm") || !r.Symbol(')'))
      continue;
    className = name;
    line = static_cast<int>(i) + 1;
    return true;
  }
  return false;
}

bool SetFormFields(std::string& source, const std::vector<TFormField>& fields) {
  std::vector<TLine> lines = Lines(source);
  auto text = [&](size_t i) {
    return std::string_view(source).substr(lines[i].Start, lines[i].End - lines[i].Start);
  };
  size_t classLine = 0;
  std::string className;
  while (classLine < lines.size() && !IsClassLine(text(classLine), className)) ++classLine;
  if (classLine == lines.size() || classLine + 1 == lines.size()) return false;

  size_t first = classLine + 1, last = first;
  TFormField field;
  while (last < lines.size() && IsFieldLine(text(last), field)) ++last;
  if (last == lines.size() || !EndsFields(text(last))) return false;

  std::string_view sample = text(first < last ? first : classLine);
  size_t indentWidth = sample.find_first_not_of(" \t");
  std::string indent(sample.substr(0, indentWidth));
  if (first == last) indent += "  ";
  std::string lineEnd = source.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::string block;
  for (const TFormField& f : fields) block += indent + f.Name + ": " + f.ClassName + ";" + lineEnd;
  source.replace(lines[first].Start, lines[last].Start - lines[first].Start, block);
  return true;
}

}  // namespace ide
