#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/Forms.h"

namespace mebrox {

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

struct TProjectFile {
  std::string FileName;  // as the project was named to us
  std::string ProgramName;
  std::string Title;  // from `Application.Title := '...'`; empty when the project sets none
  std::vector<TProjectUnit> Units;
  std::vector<TFormCreation> Creations;  // in creation order; the first is the main form

  // The unit whose braces name formName (names ignore case, as Pascal's do); null if none.
  const TProjectUnit* FindFormUnit(std::string_view formName) const;
};

// Reads the text of a project file. Keywords ignore case; `{ }`, `(* *)` and `//` comments are
// skipped except the braces after a unit's file name, which name its form. The main block may
// hold only Application calls. Anything else fails with EParserError naming sourceName and the
// line, and so does a project that creates no form or creates a form no unit declares.
TProjectFile ParseProjectText(std::string_view text, const std::string& sourceName);
// EInOutError when the file cannot be read.
TProjectFile ReadProjectFile(const std::string& fileName);

// The form file of a unit, relative to the project folder: beside the unit's source, with the
// same base name and the extension ".dfm". Stored paths may separate with "\".
std::string FormFileOf(const TProjectUnit& unit);

// Creates the project's forms as the project's main block would: each owned by Application,
// with the class name of its CreateForm call, read from its unit's form file, then DoCreate.
// Sets Application's ExeName to the project file's absolute path and makes the project folder
// the current directory first, so that files a form names bare are found beside the project.
// Every form file is checked to exist before anything is created. On failure the forms created
// so far are freed again and the error propagates: EParserError naming the project file or the
// form file and the line.
std::vector<host::TForm*> LoadProject(const TProjectFile& project);

// Frees every form the application owns, the last created first.
void UnloadProject();

// Registers every component class a project's form files may name.
void RegisterProjectClasses();

}  // namespace mebrox
