#pragma once

#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/StdCtrls.h"

namespace mebrox {

// The description popup: a borderless yellow note holding one line of text, sized to it and
// centred on the screen; a click on the text closes it. Its look comes from the "MsgDlg"
// layout, and from the "Desc" section of the settings file each time it is shown.
class TMsgDlg : public host::TForm {
 public:
  explicit TMsgDlg(host::TComponent* owner);

  host::TLabel& MsgLbl() { return *FMsgLbl; }
  host::TShape& Shape1() { return *FShape1; }

  // Applies the "Desc" section of the settings file to the label's font and the background.
  void GetINISettings();
  // An alert that reads its text as it opens.
  host::TAccessibleInfo AccessibleInfo() const override;

 protected:
  void FormCreate();
  void FormShow();
  void MsgLblClick();
  // Escape closes the note; Enter or Space is a click on its text, which closes it too.
  void KeyDown(host::TKey& key, host::TShiftState shift) override;

 private:
  host::TLabel* FMsgLbl = nullptr;
  host::TShape* FShape1 = nullptr;
};

}  // namespace mebrox
