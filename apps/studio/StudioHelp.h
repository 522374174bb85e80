#pragma once

#include <QString>
#include <string>

#include "host/Classes.h"

namespace mebrox::studio {

// What a component of the palette is for, in a line a designer understands ("Hot image: a
// picture that acts when clicked ..."); for a class without a line of its own, its name.
QString ComponentPurpose(const host::TClassInfo& cls);

// What a property does, in one line, for the inspector. owner is the class of the object that
// publishes it: a component's, or a sub-object's such as a font's or an action's; name is the
// property's name, or a set member's ("fsBold"). A line given for the class or an ancestor
// ("TFont.Color") comes before the one for the name alone ("Color"); empty when there is none.
QString PropertyPurpose(const host::TClassInfo& owner, const std::string& name);

}  // namespace mebrox::studio
