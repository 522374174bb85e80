#pragma once

#include <memory>

#include "host/Classes.h"
#include "host/Strings.h"

namespace mebrox::Wrddef {

// The frames and wave players the words editor offers, found among the forms that exist now.

// The names of the forms on the screen whose class name begins with "TForm" (TForm1, TFormIntro
// and TForm itself, not TMainForm), in screen order.
std::unique_ptr<host::TStringList> GetFormNames();
// The names of the "TWavePlay" components owned by the component's owner, which must be a form:
// anything else fails with EInvalidCast.
std::unique_ptr<host::TStringList> GetWaveComponents(host::TComponent* component);

}  // namespace mebrox::Wrddef
