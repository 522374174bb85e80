#pragma once

#include "host/Buttons.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/StdCtrls.h"

namespace ide {

// The string list editor: the lines of a string property (a hot text's Lines, a list's Items)
// in a memo, with their count.
class TStringsEditDlg : public host::TForm {
 public:
  explicit TStringsEditDlg(host::TComponent* owner);

  host::TBevel* Bevel1;
  host::TLabel* LineCount;
  host::TMemo* Memo;
  host::TBitBtn* OKBtn;
  host::TBitBtn* CancelBtn;

 private:
  void ShowCount();
};

}  // namespace ide
