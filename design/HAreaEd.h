#pragma once

#include "design/Himaged.h"

namespace mebrox {

// The hot area's component editor: the hot image's, on the area's action. A bookmark action
// reads "Action: Book Mark" here too, so that both menus describe the same action alike.
class THyperAreaEditor : public THotComponentEditor {
 public:
  using THotComponentEditor::THotComponentEditor;

 protected:
  const TAction& Action() const override;
};

}  // namespace mebrox
