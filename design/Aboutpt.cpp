#include "design/Aboutpt.h"

#include <memory>

#include "host/DialogLayout.h"
#include "host/Resources.h"

namespace mebrox {

TAboutBoxDlg::TAboutBoxDlg(host::TComponent* owner) : host::TForm(owner) {
  host::TDialogLayout("AboutBoxDlg")
      .Bind("Panel1", Panel1)
      .Bind("ProgramIcon", ProgramIcon)
      .Bind("ProductName", ProductName)
      .Bind("Version", Version)
      .Bind("Comments", Comments)
      .Bind("OKButton", OKButton)
      .Load(*this);
  ProgramIcon->Picture().SetImage(host::LoadBitmapResource("MEBROX"));
}

ide::TPropertyAttributes TAboutProperty::GetAttributes() const {
  return {ide::paDialog};
}

void TAboutProperty::Edit() {
  auto dialog = std::make_unique<TAboutBoxDlg>(host::Application);
  dialog->ShowModal();
}

}  // namespace mebrox
