#include "design/Himaged.h"

#include "host/SysUtils.h"
#include "runtime/HyperImg.h"

namespace mebrox {

std::string ActionVerb(const TAction& action) {
  switch (action.ActionType()) {
    case acFrame:
      return "Show  : " + action.Frame();
    case acExecute:
      return "Run   : " + action.FileToRun();
    case acWavePlay:
      return "Audio : " + action.WaveComp();
    case acDesc:
      return "Desc. : " + action.Desc();
    case acBookMark:
      return "Action: Book Mark";
    case acClose:
      return "Action: Close";
    case acNone:
      break;
  }
  return "No Action";
}

void THotComponentEditor::EditProperty(ide::TPropertyEditor& editor, bool& continueIt,
                                       bool& freeEditor) {
  if (!host::SameText(editor.GetName(), "Action")) return;
  editor.Edit();
  continueIt = false;
}

const TAction& THyperImageEditor::Action() const {
  return dynamic_cast<const THyperImage&>(Component()).Action();
}

}  // namespace mebrox
