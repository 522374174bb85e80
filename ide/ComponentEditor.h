#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "ide/PropertyEditor.h"

namespace ide {

// What the form designer does with a component beyond its properties: the verbs of its context
// menu, and what a double-click does.
class TComponentEditor {
 public:
  TComponentEditor(host::TComponent& component, IDesigner& designer);
  virtual ~TComponentEditor() = default;
  TComponentEditor(const TComponentEditor&) = delete;
  TComponentEditor& operator=(const TComponentEditor&) = delete;

  // A double-click: the first verb, when there is one.
  virtual void Edit();
  virtual int GetVerbCount();
  virtual std::string GetVerb(int index);
  virtual void ExecuteVerb(int index);

  host::TComponent& Component() const { return FComponent; }
  IDesigner& Designer() const { return FDesigner; }

 private:
  host::TComponent& FComponent;
  IDesigner& FDesigner;
};

// The editor of a component without one of its own. A double-click offers each published
// property's editor, in published order, to EditProperty, which may open one and stop the walk.
class TDefaultEditor : public TComponentEditor {
 public:
  using TComponentEditor::TComponentEditor;
  void Edit() override;

 protected:
  // Clearing continueIt ends the walk; clearing freeEditor keeps the editor alive as long as
  // this component editor, for a dialog that outlives the call.
  virtual void EditProperty(TPropertyEditor& editor, bool& continueIt, bool& freeEditor);

 private:
  std::vector<std::unique_ptr<TPropertyEditor>> FKeptEditors;
};

}  // namespace ide
