#pragma once

#include <memory>
#include <string>

#include "host/Classes.h"
#include "ide/PropertyEditor.h"

namespace ide {

// A property of a component named by its path: "Width", "Font.Color", "Font.Style.fsBold".
// Each step after the first is a sub-property of the one before, as the object inspector shows
// them; names ignore case. An unknown path fails with EConvertError naming it.
std::unique_ptr<TPropertyEditor> FindPropertyEditor(IDesigner& designer,
                                                    host::TComponent& component,
                                                    const std::string& path);

// The value's text, and setting it from text, through the property's editor: what the
// inspector shows and what a scripted "set FORM.COMPONENT PROPERTY VALUE" does.
std::string GetPropertyText(IDesigner& designer, host::TComponent& component,
                            const std::string& path);
void SetPropertyText(IDesigner& designer, host::TComponent& component, const std::string& path,
                     const std::string& value);

}  // namespace ide
