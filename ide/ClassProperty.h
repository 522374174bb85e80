#pragma once

#include <string>

#include "ide/PropertyEditor.h"

namespace ide {

// A persistent sub-object (a font, an action): shows its class, "(TFont)", and offers the
// sub-object's own published properties as sub-properties. The base of the kit's dialog editors.
class TClassProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  void GetProperties(const TGetPropEditProc& proc) const override;
};

}  // namespace ide
