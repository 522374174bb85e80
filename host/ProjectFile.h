#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

// One entry of the project file's uses clause: `Unit1 in 'Unit1.pas' {Form1},`.
struct TProjectUnit {
  std::string Name;
  std::string FileName;  // as written between the quotes; empty when the unit has no "in"
  std::string FormName;  // the frame named in braces; empty for a unit without a form
  int Line = 0;
};

// One `Application.CreateForm(TForm1, Form1);` of the main block.
struct TFormCreation {
  std::string ClassName;
  std::string FormName;
  int Line = 0;
};

// The project file (Demo.dpr): Pascal text whose uses clause lists the units and whose main
// block creates the forms.
struct TProjectFile {
  std::string FileName;  // as the project was named to us
  std::string ProgramName;
  std::string Title;  // from `Application.Title := '...'`; empty when the project sets none
  std::vector<TProjectUnit> Units;
  std::vector<TFormCreation> Creations;  // in creation order; the first is the main form

  // Where a new unit and a new CreateForm call go, as byte offsets into the text read.
  size_t UsesEnd = 0;               // the ";" that ends the uses clause
  size_t LastCreationEnd = 0;       // just after the last CreateForm call (and its ";")
  bool LastCreationClosed = false;  // that call ends with its own ";"

  // The unit whose braces name formName (names ignore case, as Pascal's do); null if none.
  const TProjectUnit* FindFormUnit(std::string_view formName) const;
  // The unit of that name (ignoring case); null if none.
  const TProjectUnit* FindUnit(std::string_view unitName) const;
};

// Reads the text of a project file. Keywords ignore case; `{ }`, `(* *)` and `//` comments are
// skipped except the braces after a unit's file name, which name its form. The main block may
// hold only Application calls. Anything else fails with EParserError naming sourceName and the
// line, and so does a project that creates no form or creates a form no unit declares.
TProjectFile ParseProjectText(std::string_view text, const std::string& sourceName);
// EInOutError when the file cannot be read.
TProjectFile ReadProjectFile(const std::string& fileName);
// The project a user means by path: path itself, or the one project file (.dpr) in the folder
// path names. EInOutError for a folder with none or several.
std::string ProjectFileAt(const std::string& path);

// The unit's source file relative to the project folder, with "/" separators.
std::string SourceFileOf(const TProjectUnit& unit);
// The form file of a unit, relative to the project folder: beside the unit's source, with the
// same base name and the extension ".dfm".
std::string FormFileOf(const TProjectUnit& unit);

// The project text with one more unit: `Unit2 in 'Unit2.pas' {Form2}` at the end of the uses
// clause and, when className is not empty, `Application.CreateForm(TForm2, Form2);` after the
// last CreateForm call, both indented like their neighbours; everything else stays as it was.
// Fails with EConvertError for a unit or form the project already has.
std::string AddUnitToProjectText(std::string_view text, const TProjectFile& project,
                                 const TProjectUnit& unit, const std::string& className);

// The project text without the unit: its entry in the uses clause and its CreateForm call go,
// each being a line of its own (the entry before a last one takes its ";"); everything else stays
// as it was. Fails with EConvertError for a unit the project does not have or lists otherwise.
std::string RemoveUnitFromProjectText(std::string_view text, const TProjectFile& project,
                                      const std::string& unitName);

// The project text with its program renamed: `program Old;` becomes `program New;`, and nothing
// else changes.
std::string RenameProgramText(const std::string& text, const std::string& oldName,
                              const std::string& newName);

// Pascal text (a unit or a project file) with identifiers renamed: whole identifiers, ignoring
// case as Pascal does, never inside strings or comments, except a comment that holds nothing but
// a renamed name (a project's `{Form1}`, which names a unit's form). Everything else stays as
// it was, byte for byte.
std::string RenamePascalIdentifiers(
    std::string_view text, const std::vector<std::pair<std::string, std::string>>& renames);

// Projects often come from systems whose file names ignore case: "Unit1.pas" may sit beside
// "unit1.dfm". Returns the path of the file as it exists: an exact match, otherwise the only
// name in its folder equal ignoring case; empty when there is none.
std::string LocateFile(const std::string& path);

}  // namespace host
