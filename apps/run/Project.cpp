#include "apps/run/Project.h"

#include <cctype>
#include <filesystem>

#include "host/FormFile.h"
#include "host/HostClasses.h"
#include "host/SysUtils.h"
#include "runtime/RuntimeClasses.h"

namespace mebrox {

namespace fs = std::filesystem;
using host::EParserError;
using host::SameText;

namespace {

enum class TTokenKind { End, Ident, String, Number, Symbol, Braces };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // the identifier, the symbol, the string's value or the braces' content
  int Line = 0;

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
        if (FPos == begin || !host::TryStrToInt(FText.substr(begin, FPos - begin), code) ||
            code > 255)
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

  void Expect(std::string_view symbol) {
    TToken t = FLexer.Next();
    if (!t.Is(symbol)) FLexer.Error(t.Line, "'" + std::string(symbol) + "' expected");
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
      if (t.Is(";")) return;
      if (!t.Is(",")) FLexer.Error(t.Line, "',' or ';' expected");
    }
  }

  // `{Form1}`, or `{Form1: TForm1}` as some environments write it. Braces holding anything
  // else are an ordinary comment.
  void ReadFormName(TProjectUnit& unit, const TToken& braces) {
    std::string text = braces.Text;
    if (size_t colon = text.find(':'); colon != std::string::npos) text.resize(colon);
    std::string name = host::Trim(text);
    if (!host::TComponent::IsValidIdent(name)) return;
    for (const TProjectUnit& other : FProject.Units)
      if (SameText(other.FormName, name))
        FLexer.Error(braces.Line, "Form " + name + " is declared by two units");
    unit.FormName = name;
  }

  void ReadMainBlock() {
    for (;;) {
      TToken t = FLexer.Next();
      if (t.Is(";")) continue;
      if (t.IsKeyword("end")) break;
      if (t.Kind == TTokenKind::End) FLexer.Error(t.Line, "'end.' expected");
      ReadStatement(t);
      TToken after = FLexer.Peek();
      if (!after.Is(";") && !after.IsKeyword("end")) FLexer.Error(after.Line, "';' expected");
    }
    Expect(".");
  }

  void ReadStatement(const TToken& first) {
    if (!first.IsKeyword("Application"))
      FLexer.Error(first.Line, "Only Application calls may stand in the main block");
    Expect(".");
    TToken member = ExpectIdent("Application member");
    if (SameText(member.Text, "CreateForm")) {
      ReadCreateForm(member.Line);
    } else if (SameText(member.Text, "Initialize") || SameText(member.Text, "Run")) {
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
  }

  void ReadCreateForm(int line) {
    Expect("(");
    TFormCreation c;
    c.Line = line;
    c.ClassName = ExpectIdent("Form class").Text;
    Expect(",");
    c.FormName = ExpectIdent("Form variable").Text;
    Expect(")");
    if (!FProject.FindFormUnit(c.FormName))
      FLexer.Error(line, "No unit of the uses clause declares form " + c.FormName);
    for (const TFormCreation& other : FProject.Creations)
      if (SameText(other.FormName, c.FormName))
        FLexer.Error(line, "Form " + c.FormName + " is created twice");
    FProject.Creations.push_back(std::move(c));
  }

  TProjectLexer FLexer;
  TProjectFile FProject;
};

// Projects often come from systems whose file names ignore case: "Unit1.pas" may sit beside
// "unit1.dfm". An exact match wins; otherwise the only name equal ignoring case.
bool LocateFile(fs::path& path) {
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return true;
  fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::string wanted = path.filename().string();
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
    if (SameText(entry.path().filename().string(), wanted) && entry.is_regular_file(ec)) {
      path = entry.path();
      return true;
    }
  }
  return false;
}

// The line of the form file's first "object", for errors about the form as a whole.
int HeaderLine(const std::string& text) {
  int line = 1;
  for (char c : text) {
    if (c == '\n')
      ++line;
    else if (!std::isspace(static_cast<unsigned char>(c)))
      return line;
  }
  return 1;
}

struct TPlannedForm {
  const TFormCreation* Creation;
  fs::path Path;            // absolute
  std::string DisplayName;  // as the user would name it from where the project was named
};

}  // namespace

const TProjectUnit* TProjectFile::FindFormUnit(std::string_view formName) const {
  for (const TProjectUnit& unit : Units)
    if (!unit.FormName.empty() && SameText(unit.FormName, formName)) return &unit;
  return nullptr;
}

TProjectFile ParseProjectText(std::string_view text, const std::string& sourceName) {
  return TProjectParser(text, sourceName).Parse();
}

TProjectFile ReadProjectFile(const std::string& fileName) {
  return ParseProjectText(host::ReadFileBytes(fileName), fileName);
}

std::string FormFileOf(const TProjectUnit& unit) {
  std::string source = unit.FileName.empty() ? unit.Name + ".pas" : unit.FileName;
  for (char& c : source)
    if (c == '\\') c = '/';
  return host::ChangeFileExt(source, ".dfm");
}

std::vector<host::TForm*> LoadProject(const TProjectFile& project) {
  fs::path projectPath = fs::absolute(project.FileName).lexically_normal();
  fs::path folder = projectPath.parent_path();
  fs::path shownFolder = fs::path(project.FileName).parent_path();

  std::vector<TPlannedForm> plan;
  for (const TFormCreation& creation : project.Creations) {
    const TProjectUnit* unit = project.FindFormUnit(creation.FormName);
    if (!unit)
      throw EParserError(project.FileName, creation.Line,
                         "No unit of the uses clause declares form " + creation.FormName);
    std::string relative = FormFileOf(*unit);
    TPlannedForm p{&creation, (folder / relative).lexically_normal(), std::string()};
    if (!LocateFile(p.Path))
      throw EParserError(project.FileName, unit->Line,
                         "Form file " + (shownFolder / relative).lexically_normal().string() +
                             " of unit " + unit->Name + " not found");
    p.DisplayName = (shownFolder / p.Path.lexically_relative(folder)).lexically_normal().string();
    plan.push_back(std::move(p));
  }

  host::Application->SetExeName(projectPath.string());
  host::Application->SetTitle(project.Title.empty() ? project.ProgramName : project.Title);
  fs::current_path(folder);

  std::vector<host::TForm*> forms;
  try {
    for (const TPlannedForm& p : plan) {
      auto* form = new host::TForm(host::Application);
      forms.push_back(form);
      form->SetClassName(p.Creation->ClassName);
      std::string text = host::ReadFileBytes(p.Path.string());
      try {
        host::ReadComponentText(text, *form, p.DisplayName);
      } catch (const EParserError&) {
        throw;
      } catch (const std::exception& e) {
        // A component's Loaded failed once the whole form was read.
        throw host::Exception(p.DisplayName + ": " + e.what());
      }
      // Frames find each other by class name, so the form file and the project must agree.
      if (form->ClassName() != p.Creation->ClassName)
        throw EParserError(p.DisplayName, HeaderLine(text),
                           "The form file holds a " + form->ClassName() + ", but " +
                               project.FileName + " creates a " + p.Creation->ClassName);
      host::HandleEvents([form] { form->DoCreate(); });
    }
  } catch (...) {
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) delete *it;
    throw;
  }
  return forms;
}

void UnloadProject() {
  while (host::Application->ComponentCount() > 0)
    delete host::Application->Components(host::Application->ComponentCount() - 1);
}

void RegisterProjectClasses() {
  host::RegisterHostClasses();
  RegisterRuntimeClasses();
}

}  // namespace mebrox
