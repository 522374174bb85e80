#pragma once

#include <memory>
#include <string>

#include "host/Controls.h"
#include "host/Strings.h"

namespace mebrox::Actdef {

// The frames and wave players the Action editor and wizard offer, found in the project's unit
// files on disk.

// The form declared in a unit source file: on the first line holding "(TForm)", the first
// blank-delimited token after leading spaces, without its first character; empty when no line
// holds it. A file that cannot be read fails with EInOutError naming it.
std::string GetFormName(const std::string& fileName);
// One entry per ".pas" unit of the open project (the extension in any case), in the IDE's unit
// order; empty without an IDE.
std::unique_ptr<host::TStringList> GetFormNames();
// The names of the "TWavePlay" components of the form holding the control, in component order;
// empty when no form holds it.
std::unique_ptr<host::TStringList> GetWaveComponents(host::TControl* control);
// The names of the components of form whose class name is exactly "TWavePlay", in component
// order: a class derived from the player under another name is no player here.
std::unique_ptr<host::TStringList> GetFormWaveComponents(const host::TComponent& form);

}  // namespace mebrox::Actdef
