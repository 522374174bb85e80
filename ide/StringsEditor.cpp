#include "ide/StringsEditor.h"

#include "host/DialogLayout.h"

namespace ide {

TStringsEditDlg::TStringsEditDlg(host::TComponent* owner) : host::TForm(owner) {
  host::TDialogLayout("StringsEditDlg")
      .Bind("Bevel1", Bevel1)
      .Bind("LineCount", LineCount)
      .Bind("Memo", Memo)
      .Bind("OKBtn", OKBtn)
      .Bind("CancelBtn", CancelBtn)
      .Load(*this);
  Memo->OnChange = [this](host::TObject*) { ShowCount(); };
  OnShow = [this](host::TObject*) { ShowCount(); };
}

void TStringsEditDlg::ShowCount() {
  int count = Memo->Lines().Count();
  LineCount->SetCaption(std::to_string(count) + (count == 1 ? " line" : " lines"));
}

}  // namespace ide
