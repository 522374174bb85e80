#include "design/HAreaEd.h"

#include "runtime/Hyprarea.h"

namespace mebrox {

const TAction& THyperAreaEditor::Action() const {
  return dynamic_cast<const THyperArea&>(Component()).Action();
}

}  // namespace mebrox
