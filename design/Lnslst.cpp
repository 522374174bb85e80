#include "design/Lnslst.h"

namespace mebrox {

TLinesListSelectDlg::TLinesListSelectDlg(host::TComponent* owner)
    : TFileListSelectDlg(owner, "TLinesListSelectDlg", "List of Lines files",
                         "Lines List|*.TXT|All files|*.*", TFileKind::Text) {}

std::unique_ptr<TFileListSelectDlg> TLinesListsProperty::CreateDialog() const {
  return std::make_unique<TLinesListSelectDlg>(host::Application);
}

}  // namespace mebrox
