#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/Forms.h"
#include "host/ProjectFile.h"
#include "host/SysUtils.h"

namespace mebrox {

using host::FormFileOf;
using host::ParseProjectText;
using host::ReadProjectFile;
using host::TFormCreation;
using host::TProjectFile;
using host::TProjectUnit;

// What a path names on disk, asked without exceptions. A path the system will not look up (a
// name longer than it allows, a folder on the way that cannot be searched) says why instead.
struct TPathState {
  std::filesystem::file_type Type = std::filesystem::file_type::not_found;
  std::string Why;  // empty when the path could be looked up

  bool Usable() const { return Why.empty(); }
  bool Exists() const { return Usable() && Type != std::filesystem::file_type::not_found; }
  bool IsFile() const { return Type == std::filesystem::file_type::regular; }
  bool IsDirectory() const { return Type == std::filesystem::file_type::directory; }
};
TPathState LookAt(const std::filesystem::path& path);

// One frame of a project as the run reads it: its CreateForm call and its form file.
struct TFrameFile {
  const TFormCreation* Creation = nullptr;
  const TProjectUnit* Unit = nullptr;
  std::string Path;         // absolute
  std::string DisplayName;  // as the user would name it from where the project was named
};

// Where each created form's file is. A form no unit declares, or whose form file is missing,
// fails with EParserError naming the project file and line; with problems given, the error is
// added there instead and the frame left out.
std::vector<TFrameFile> PlanFrames(const TProjectFile& project,
                                   std::vector<host::EParserError>* problems = nullptr);

// Makes the project the running application: Application's ExeName is the project file's
// absolute path, its title the project's, and the project folder the current directory, so that
// files a form names bare are found beside the project.
void EnterProject(const TProjectFile& project);

// Creates one frame as the project's main block would: owned by Application, with the class
// name of its CreateForm call, read from its form file, then DoCreate. On failure the form is
// freed again and the error propagates: EParserError naming the form file and the line.
host::TForm* LoadFrame(const TFrameFile& frame, const TProjectFile& project);

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
