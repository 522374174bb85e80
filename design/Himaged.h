#pragma once

#include <string>

#include "ide/ComponentEditor.h"
#include "runtime/Action.h"

namespace mebrox {

// The action at a glance, as the context menu of a hot image or hot area shows it: a label
// padded to a common width, then the value ("Show  : Form2").
std::string ActionVerb(const TAction& action);

// What the hot image and the hot area share in the designer: one context-menu line that
// describes the action and does nothing when chosen, and a double-click that opens the Action
// editor instead of making an event handler.
class THotComponentEditor : public ide::TDefaultEditor {
 public:
  using ide::TDefaultEditor::TDefaultEditor;
  int GetVerbCount() override { return 1; }
  std::string GetVerb(int index) override { return ActionVerb(Action()); }
  void ExecuteVerb(int index) override {}

 protected:
  virtual const TAction& Action() const = 0;
  void EditProperty(ide::TPropertyEditor& editor, bool& continueIt, bool& freeEditor) override;
};

// The hot image's component editor.
class THyperImageEditor : public THotComponentEditor {
 public:
  using THotComponentEditor::THotComponentEditor;

 protected:
  const TAction& Action() const override;
};

}  // namespace mebrox
