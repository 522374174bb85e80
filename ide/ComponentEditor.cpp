#include "ide/ComponentEditor.h"

#include "ide/Registry.h"

namespace ide {

TComponentEditor::TComponentEditor(host::TComponent& component, IDesigner& designer)
    : FComponent(component), FDesigner(designer) {}

void TComponentEditor::Edit() {
  if (GetVerbCount() > 0) ExecuteVerb(0);
}

int TComponentEditor::GetVerbCount() {
  return 0;
}

std::string TComponentEditor::GetVerb(int index) {
  return {};
}

void TComponentEditor::ExecuteVerb(int index) {}

void TDefaultEditor::Edit() {
  bool continueIt = true;
  for (const host::TPropInfo* prop : Component().ClassInfo().Properties()) {
    std::unique_ptr<TPropertyEditor> editor =
        CreatePropertyEditor(Designer(), {&Component()}, *prop);
    bool freeEditor = true;
    EditProperty(*editor, continueIt, freeEditor);
    if (!freeEditor) FKeptEditors.push_back(std::move(editor));
    if (!continueIt) break;
  }
}

void TDefaultEditor::EditProperty(TPropertyEditor& editor, bool& continueIt, bool& freeEditor) {}

}  // namespace ide
