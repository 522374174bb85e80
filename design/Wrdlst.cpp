#include "design/Wrdlst.h"

namespace mebrox {

TWordListSelectDlg::TWordListSelectDlg(host::TComponent* owner)
    : TFileListSelectDlg(owner, "TWordListSelectDlg", "Dialog", "Words List|*.WLS|All files|*.*",
                         TFileKind::WordList) {}

std::unique_ptr<TFileListSelectDlg> TWordsListsProperty::CreateDialog() const {
  return std::make_unique<TWordListSelectDlg>(host::Application);
}

}  // namespace mebrox
