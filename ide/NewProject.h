#pragma once

#include <string>
#include <vector>

#include "host/Forms.h"
#include "ide/DesignSession.h"

namespace ide {

// The source of a unit that declares one form class, TformIdent, with the given fields
// ("Image1: TImage") and the kit's units after the framework's in its uses clause.
std::string UnitSourceText(const std::string& unitIdent, const std::string& formIdent,
                           const std::vector<std::string>& extraUses,
                           const std::vector<std::string>& fields);

// The form file of an empty frame named formIdent: 640 x 480, centred, white.
std::string EmptyFrameText(const std::string& formIdent);

// Writes a new project of one empty frame: PROJECT.dpr with Unit1.pas and Unit1.dfm beside it.
// The project's name must be an identifier, and none of the files may exist; otherwise
// EInOutError or EConvertError, and nothing is written.
void CreateNewProject(const std::string& projectFile);

// Adds an empty frame to the project, unsaved, as File > New Frame does; null when the project
// has no free unit name.
host::TForm* AddEmptyFrame(TDesignSession& session);

}  // namespace ide
