#pragma once

#include <string>

#include "runtime/FileReferences.h"

namespace ide {
class TIToolServices;
}

namespace mebrox {

// The folder of the project of those services, ending in a separator; without a project the
// current directory.
std::string ProjectFolder(ide::TIToolServices* services);

// The file's name relative to folder ("ding.wav", "sounds/ding.wav"), or empty when the file
// lies outside it. Only the file's folder is resolved: a linked file keeps its own name.
std::string NameInside(const std::string& fileName, const std::string& folder);

// A file the designer picked, as the project in folder names it: its name inside that folder. A
// file from outside is copied in first, beside the project file under its own name (or the
// first free "name-2.wav" when another file holds that name), and the designer is told where;
// a program stays outside with its full path when the designer says so. A copy that fails
// raises EInOutError and nothing is named.
std::string TakeIntoProject(const std::string& fileName, TFileKind kind, const std::string& folder);

}  // namespace mebrox
