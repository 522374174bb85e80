#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/Forms.h"
#include "host/ProjectFile.h"

namespace mebrox {

using host::FormFileOf;
using host::ParseProjectText;
using host::ReadProjectFile;
using host::TFormCreation;
using host::TProjectFile;
using host::TProjectUnit;

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
