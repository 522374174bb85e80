#include "host/ProjectFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/Classes.h"
#include "host/FileKind.h"
#include "host/SysUtils.h"

namespace host {

namespace fs = std::filesystem;

namespace {

enum class TTokenKind { End, Ident, String, Number, Symbol, Braces };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // the identifier, the symbol, the string's value or the braces' content
  int Line = 0;
  size_t Begin = 0;  // byte offsets of the token in the text
  size_t End = 0;

  bool Is(std::string_view symbol) const { return Kind == TTokenKind::Symbol && Text == symbol; }
  bool IsKeyword(std::string_view word) const {
    return Kind == TTokenKind::Ident && SameText(Text, word);
  }
};

// Pascal tokens. Brace comments come out as tokens because the uses clause keeps form names in
// them; the parser drops them everywhere else. Compiler directives `{$...}` are plain comments.
class TProjectLexer {
 public:
  TProjectLexer(std::string_view text, const std::string& sourceName)
      : FText(text), FSourceName(sourceName) {}

  [[noreturn]] void Error(int line, const std::string& message) const {
    throw EParserError(FSourceName, line, message);
  }

  // The next token; brace comments only when wanted.
  TToken Next(bool wantBraces = false) {
    for (;;) {
      TToken t = Scan();
      if (t.Kind != TTokenKind::Braces || wantBraces) return t;
    }
  }

  TToken Peek(bool wantBraces = false) {
    size_t pos = FPos;
    int line = FLine;
    TToken t = Next(wantBraces);
    FPos = pos;
    FLine = line;
    return t;
  }

 private:
  char At(size_t i) const { return i < FText.size() ? FText[i] : '\0'; }

  // Skips blanks and the comments that never mean anything.
  void SkipBlanks() {
    for (;;) {
      char c = At(FPos);
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++FPos;
      } else if (c == '/' && At(FPos + 1) == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else if (c == '(' && At(FPos + 1) == '*') {
        int start = FLine;
        FPos += 2;
        while (!(At(FPos) == '*' && At(FPos + 1) == ')')) {
          if (FPos >= FText.size()) Error(start, "Comment '(*' is not closed");
          if (FText[FPos] == '\n') ++FLine;
          ++FPos;
        }
        FPos += 2;
      } else if (c == '{' && At(FPos + 1) == '$') {
        ReadBraces();
      } else {
        return;
      }
    }
  }

  std::string ReadBraces() {
    int start = FLine;
    size_t begin = ++FPos;
    while (At(FPos) != '}') {
      if (FPos >= FText.size()) Error(start, "Comment '{' is not closed");
      if (FText[FPos] == '\n') ++FLine;
      ++FPos;
    }
    return std::string(FText.substr(begin, FPos++ - begin));
  }

  TToken Scan() {
    SkipBlanks();
    TToken t;
    t.Line = FLine;
    t.Begin = t.End = FPos;
    if (FPos >= FText.size()) return t;
    char c = FText[FPos];
    auto isIdent = [](char ch) {
      return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_';
    };
    if (c == '{') {
      t.Kind = TTokenKind::Braces;
      t.Text = ReadBraces();
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.Kind = TTokenKind::Ident;
      size_t begin = FPos;
      while (isIdent(At(FPos))) ++FPos;
      t.Text = std::string(FText.substr(begin, FPos - begin));
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      t.Kind = TTokenKind::Number;
      size_t begin = FPos;
      while (isIdent(At(FPos))) ++FPos;
      t.Text = std::string(FText.substr(begin, FPos - begin));
    } else if (c == '\'' || c == '#') {
      t.Kind = TTokenKind::String;
      t.Text = ReadString();
    } else if (c == ':' && At(FPos + 1) == '=') {
      t.Kind = TTokenKind::Symbol;
      t.Text = ":=";
      FPos += 2;
    } else {
      t.Kind = TTokenKind::Symbol;
      t.Text = std::string(1, c);
      ++FPos;
    }
    t.End = FPos;
    return t;
  }

  // 'quoted' pieces with '' for a quote, joined with #nn character codes.
  std::string ReadString() {
    std::string value;
    for (;;) {
      if (At(FPos) == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n') Error(FLine, "String is not closed");
          if (FText[FPos] == '\'') {
            if (At(FPos + 1) != '\'') break;
            ++FPos;
          }
          value += FText[FPos++];
        }
        ++FPos;
      } else if (At(FPos) == '#') {
        size_t begin = ++FPos;
        while (std::isdigit(static_cast<unsigned char>(At(FPos)))) ++FPos;
        int code = 0;
        if (FPos == begin || !TryStrToInt(FText.substr(begin, FPos - begin), code) || code > 255)
          Error(FLine, "Character code expected after '#'");
        value += static_cast<char>(code);
      } else {
        return value;
      }
    }
  }

  std::string_view FText;
  const std::string& FSourceName;
  size_t FPos = 0;
  int FLine = 1;
};

class TProjectParser {
 public:
  TProjectParser(std::string_view text, const std::string& sourceName) : FLexer(text, sourceName) {
    FProject.FileName = sourceName;
  }

  TProjectFile Parse() {
    TToken t = FLexer.Next();
    if (t.Kind == TTokenKind::End) FLexer.Error(t.Line, "The project file is empty");
    if (!t.IsKeyword("program")) FLexer.Error(t.Line, "'program' expected");
    FProject.ProgramName = ExpectIdent("Program name").Text;
    Expect(";");
    if (FLexer.Peek().IsKeyword("uses")) {
      FLexer.Next();
      ReadUses();
    }
    t = FLexer.Next();
    if (!t.IsKeyword("begin")) FLexer.Error(t.Line, "'begin' expected");
    int beginLine = t.Line;
    ReadMainBlock();
    if (FProject.Creations.empty()) FLexer.Error(beginLine, "The project creates no form");
    return std::move(FProject);
  }

 private:
  TToken ExpectIdent(const std::string& what) {
    TToken t = FLexer.Next();
    if (t.Kind != TTokenKind::Ident || IsReserved(t.Text)) FLexer.Error(t.Line, what + " expected");
    return t;
  }

  TToken Expect(std::string_view symbol) {
    TToken t = FLexer.Next();
    if (!t.Is(symbol)) FLexer.Error(t.Line, "'" + std::string(symbol) + "' expected");
    return t;
  }

  static bool IsReserved(std::string_view word) {
    for (const char* r : {"program", "uses", "in", "begin", "end"})
      if (SameText(word, r)) return true;
    return false;
  }

  void ReadUses() {
    for (;;) {
      TProjectUnit unit;
      TToken name = ExpectIdent("Unit name");
      unit.Line = name.Line;
      unit.Name = name.Text;
      // Dotted unit names (System.Classes) are one name.
      while (FLexer.Peek().Is(".")) {
        FLexer.Next();
        unit.Name += "." + ExpectIdent("Unit name").Text;
      }
      for (const TProjectUnit& other : FProject.Units)
        if (SameText(other.Name, unit.Name))
          FLexer.Error(name.Line, "Unit " + unit.Name + " is named twice");
      if (FLexer.Peek().IsKeyword("in")) {
        FLexer.Next();
        TToken file = FLexer.Next();
        if (file.Kind != TTokenKind::String || file.Text.empty())
          FLexer.Error(file.Line, "File name of unit " + unit.Name + " expected");
        unit.FileName = file.Text;
        if (FLexer.Peek(true).Kind == TTokenKind::Braces) ReadFormName(unit, FLexer.Next(true));
      }
      FProject.Units.push_back(std::move(unit));
      TToken t = FLexer.Next();
      if (t.Is(";")) {
        FProject.UsesEnd = t.Begin;
        return;
      }
      if (!t.Is(",")) FLexer.Error(t.Line, "',' or ';' expected");
    }
  }

  // `{Form1}`, or `{Form1: TForm1}` as some environments write it. Braces holding anything
  // else are an ordinary comment.
  void ReadFormName(TProjectUnit& unit, const TToken& braces) {
    std::string text = braces.Text;
    if (size_t colon = text.find(':'); colon != std::string::npos) text.resize(colon);
    std::string name = Trim(text);
    if (!TComponent::IsValidIdent(name)) return;
    for (const TProjectUnit& other : FProject.Units)
      if (SameText(other.FormName, name))
        FLexer.Error(braces.Line, "Form " + name + " is declared by two units");
    unit.FormName = name;
  }

  void ReadMainBlock() {
    bool afterCreation = false;
    for (;;) {
      TToken t = FLexer.Next();
      if (t.Is(";")) {
        if (afterCreation) {
          FProject.LastCreationEnd = t.End;
          FProject.LastCreationClosed = true;
        }
        afterCreation = false;
        continue;
      }
      afterCreation = false;
      if (t.IsKeyword("end")) break;
      if (t.Kind == TTokenKind::End) FLexer.Error(t.Line, "'end.' expected");
      afterCreation = ReadStatement(t);
      TToken after = FLexer.Peek();
      if (!after.Is(";") && !after.IsKeyword("end")) FLexer.Error(after.Line, "';' expected");
    }
    Expect(".");
  }

  // True for a CreateForm call.
  bool ReadStatement(const TToken& first) {
    if (!first.IsKeyword("Application"))
      FLexer.Error(first.Line, "Only Application calls may stand in the main block");
    Expect(".");
    TToken member = ExpectIdent("Application member");
    if (SameText(member.Text, "CreateForm")) {
      FProject.LastCreationEnd = ReadCreateForm(member.Line);
      FProject.LastCreationClosed = false;
      return true;
    }
    if (SameText(member.Text, "Initialize") || SameText(member.Text, "Run")) {
      if (FLexer.Peek().Is("(")) {
        FLexer.Next();
        Expect(")");
      }
    } else if (FLexer.Peek().Is(":=")) {
      FLexer.Next();
      TToken value = FLexer.Next();
      if (value.Kind != TTokenKind::String && value.Kind != TTokenKind::Number &&
          value.Kind != TTokenKind::Ident)
        FLexer.Error(value.Line, "Value expected for Application." + member.Text);
      if (SameText(member.Text, "Title")) {
        if (value.Kind != TTokenKind::String)
          FLexer.Error(value.Line, "Application.Title takes a string");
        FProject.Title = value.Text;
      }
    } else {
      FLexer.Error(member.Line, "Unknown statement Application." + member.Text);
    }
    return false;
  }

  // Returns the offset just after the call's ")".
  size_t ReadCreateForm(int line) {
    Expect("(");
    TFormCreation c;
    c.Line = line;
    c.ClassName = ExpectIdent("Form class").Text;
    Expect(",");
    c.FormName = ExpectIdent("Form variable").Text;
    size_t end = Expect(")").End;
    if (!FProject.FindFormUnit(c.FormName))
      FLexer.Error(line, "No unit of the uses clause declares form " + c.FormName);
    for (const TFormCreation& other : FProject.Creations)
      if (SameText(other.FormName, c.FormName))
        FLexer.Error(line, "Form " + c.FormName + " is created twice");
    FProject.Creations.push_back(std::move(c));
    return end;
  }

  TProjectLexer FLexer;
  TProjectFile FProject;
};

// The blanks that start the line holding offset.
std::string IndentAt(std::string_view text, size_t offset) {
  size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  size_t end = lineStart;
  while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
  return std::string(text.substr(lineStart, end - lineStart));
}

// The line end the file uses.
std::string LineEnd(std::string_view text) {
  return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

std::string QuotePascal(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

}  // namespace

const TProjectUnit* TProjectFile::FindFormUnit(std::string_view formName) const {
  for (const TProjectUnit& unit : Units)
    if (!unit.FormName.empty() && SameText(unit.FormName, formName)) return &unit;
  return nullptr;
}

const TProjectUnit* TProjectFile::FindUnit(std::string_view unitName) const {
  for (const TProjectUnit& unit : Units)
    if (SameText(unit.Name, unitName)) return &unit;
  return nullptr;
}

TProjectFile ParseProjectText(std::string_view text, const std::string& sourceName) {
  RefuseForeignFile(text, sourceName, "a project file (the text of a program)");
  return TProjectParser(text, sourceName).Parse();
}

TProjectFile ReadProjectFile(const std::string& fileName) {
  return ParseProjectText(ReadFileBytes(fileName), fileName);
}

std::string ProjectFileAt(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(path, ec)) return path;
  std::vector<std::string> projects;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, ec)) {
    std::string name = entry.path().filename().string();
    if (SameText(ExtractFileExt(name), ".dpr") && entry.is_regular_file(ec))
      projects.push_back(name);
  }
  if (ec) throw EInOutError("Cannot list the folder " + path + ": " + ec.message());
  if (projects.size() == 1) return (fs::path(path) / projects.front()).string();
  if (projects.empty())
    throw EInOutError(path + " is a folder without a project file (.dpr) in it");
  std::sort(projects.begin(), projects.end());
  std::string names;
  for (const std::string& name : projects) names += (names.empty() ? "" : ", ") + name;
  throw EInOutError(path + " is a folder with several project files (" + names +
                    "): name the one you mean");
}

std::string SourceFileOf(const TProjectUnit& unit) {
  std::string source = unit.FileName.empty() ? unit.Name + ".pas" : unit.FileName;
  for (char& c : source)
    if (c == '\\') c = '/';
  return source;
}

std::string FormFileOf(const TProjectUnit& unit) {
  return ChangeFileExt(SourceFileOf(unit), ".dfm");
}

std::string AddUnitToProjectText(std::string_view text, const TProjectFile& project,
                                 const TProjectUnit& unit, const std::string& className) {
  if (project.FindUnit(unit.Name))
    throw EConvertError("The project already has a unit " + unit.Name);
  if (!unit.FormName.empty() && project.FindFormUnit(unit.FormName))
    throw EConvertError("The project already has a form " + unit.FormName);
  const std::string eol = LineEnd(text);
  std::string entry = unit.Name;
  if (!unit.FileName.empty()) entry += " in " + QuotePascal(unit.FileName);
  if (!unit.FormName.empty()) entry += " {" + unit.FormName + "}";

  // Edits from the end backwards, so that the earlier offsets stay right.
  std::string out(text);
  if (!className.empty()) {
    std::string indent = IndentAt(text, project.LastCreationEnd);
    std::string call = "Application.CreateForm(" + className + ", " + unit.FormName + ")";
    if (project.LastCreationClosed)
      out.insert(project.LastCreationEnd, eol + indent + call + ";");
    else
      out.insert(project.LastCreationEnd, ";" + eol + indent + call);
  }
  // A project that creates a form always has a uses clause naming the form's unit.
  if (project.UsesEnd == 0) throw EConvertError("The project has no uses clause");
  out.insert(project.UsesEnd, "," + eol + IndentAt(text, project.UsesEnd) + entry);
  return out;
}

namespace {

// Where each line of text starts (a line end belongs to its line).
std::vector<size_t> LineStarts(std::string_view text) {
  std::vector<size_t> starts{0};
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') starts.push_back(i + 1);
  return starts;
}

std::string_view LineText(std::string_view text, const std::vector<size_t>& starts, int line) {
  size_t from = starts[static_cast<size_t>(line - 1)];
  size_t to =
      static_cast<size_t>(line) < starts.size() ? starts[static_cast<size_t>(line)] : text.size();
  std::string_view s = text.substr(from, to - from);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string RemoveUnitFromProjectText(std::string_view text, const TProjectFile& project,
                                      const std::string& unitName) {
  const TProjectUnit* unit = project.FindUnit(unitName);
  if (!unit) throw EConvertError("The project has no unit " + unitName);
  auto refuse = [&] {
    return EConvertError("The project file lists " + unitName +
                         " in a way the studio does not change; take it out there by hand");
  };
  const std::vector<size_t> starts = LineStarts(text);
  auto lineOk = [&](int line) { return line >= 1 && static_cast<size_t>(line) <= starts.size(); };
  std::vector<int> gone;
  // The uses entry, alone on its line.
  if (!lineOk(unit->Line)) throw refuse();
  std::string entry = Trim(LineText(text, starts, unit->Line));
  const bool last = entry.ends_with(";");
  if (!(entry.ends_with(",") || last) || !SameText(entry.substr(0, unitName.size()), unitName))
    throw refuse();
  gone.push_back(unit->Line);
  int previous = 0;
  if (last) {
    for (const TProjectUnit& u : project.Units)
      if (u.Line < unit->Line && u.Line > previous) previous = u.Line;
    if (previous == 0 || !Trim(LineText(text, starts, previous)).ends_with(",")) throw refuse();
  }
  for (const TFormCreation& c : project.Creations)
    if (!unit->FormName.empty() && SameText(c.FormName, unit->FormName)) {
      if (!lineOk(c.Line) ||
          !Trim(LineText(text, starts, c.Line)).starts_with("Application.CreateForm"))
        throw refuse();
      gone.push_back(c.Line);
    }
  std::string out;
  for (int line = 1; static_cast<size_t>(line) <= starts.size(); ++line) {
    size_t from = starts[static_cast<size_t>(line - 1)];
    size_t to =
        static_cast<size_t>(line) < starts.size() ? starts[static_cast<size_t>(line)] : text.size();
    std::string piece(text.substr(from, to - from));
    if (std::find(gone.begin(), gone.end(), line) != gone.end()) continue;
    if (line == previous) {
      // The entry before a last one ends the clause now.
      size_t comma = piece.rfind(',');
      piece[comma] = ';';
    }
    out += piece;
  }
  TProjectFile check = ParseProjectText(out, project.FileName);
  if (check.FindUnit(unitName) || check.Units.size() + 1 != project.Units.size()) throw refuse();
  return out;
}

std::string RenameProgramText(const std::string& text, const std::string& oldName,
                              const std::string& newName) {
  std::string lower = LowerCase(text);
  auto identChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  for (size_t at = lower.find("program"); at != std::string::npos;
       at = lower.find("program", at + 1)) {
    if (at > 0 && identChar(text[at - 1])) continue;
    size_t name = at + 7;
    if (name >= text.size() || !std::isspace(static_cast<unsigned char>(text[name]))) continue;
    while (name < text.size() && std::isspace(static_cast<unsigned char>(text[name]))) ++name;
    if (SameText(text.substr(name, oldName.size()), oldName))
      return text.substr(0, name) + newName + text.substr(name + oldName.size());
  }
  return text;
}

std::string RenamePascalIdentifiers(
    std::string_view text, const std::vector<std::pair<std::string, std::string>>& renames) {
  auto renamed = [&](std::string_view name) -> const std::string* {
    for (const auto& [from, to] : renames)
      if (SameText(from, name)) return &to;
    return nullptr;
  };
  auto identChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    size_t start = i;
    if (c == '\'') {
      // A string, with '' for a quote inside it, up to its closing quote or the line's end.
      for (++i; i < text.size() && text[i] != '\n'; ++i)
        if (text[i] == '\'') {
          if (i + 1 < text.size() && text[i + 1] == '\'') {
            ++i;
            continue;
          }
          ++i;
          break;
        }
      out.append(text.substr(start, i - start));
    } else if (c == '{' || (c == '(' && i + 1 < text.size() && text[i + 1] == '*')) {
      std::string_view close = c == '{' ? "}" : "*)";
      size_t open = c == '{' ? 1 : 2;
      size_t end = text.find(close, i + open);
      size_t stop = end == std::string_view::npos ? text.size() : end + close.size();
      std::string_view inside =
          text.substr(i + open, (end == std::string_view::npos ? text.size() : end) - i - open);
      const std::string* to = c == '{' ? renamed(inside) : nullptr;
      if (to && end != std::string_view::npos)
        out.append("{").append(*to).append("}");
      else
        out.append(text.substr(start, stop - start));
      i = stop;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end;
      out.append(text.substr(start, i - start));
    } else if (identChar(c)) {
      while (i < text.size() && identChar(text[i])) ++i;
      std::string_view word = text.substr(start, i - start);
      // A number such as 10 or 1E5 is no identifier.
      const std::string* to = std::isdigit(static_cast<unsigned char>(c)) ? nullptr : renamed(word);
      if (to)
        out.append(*to);
      else
        out.append(word);
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string LocateFile(const std::string& pathName) {
  fs::path path(pathName);
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return pathName;
  fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::string wanted = path.filename().string();
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
    if (SameText(entry.path().filename().string(), wanted) && entry.is_regular_file(ec))
      return (path.has_parent_path() ? dir / entry.path().filename() : entry.path().filename())
          .string();
  }
  return std::string();
}

}  // namespace host
