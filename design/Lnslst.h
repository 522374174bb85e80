#pragma once

#include <memory>

#include "design/FileListEd.h"

namespace mebrox {

// The text files of a hypertext control, picked by name.
class TLinesListSelectDlg : public TFileListSelectDlg {
 public:
  explicit TLinesListSelectDlg(host::TComponent* owner);
};

// The editor of a hypertext control's LinesLists: the text files it switches between.
class TLinesListsProperty : public TFileListsProperty {
 public:
  using TFileListsProperty::TFileListsProperty;

 protected:
  std::unique_ptr<TFileListSelectDlg> CreateDialog() const override;
};

}  // namespace mebrox
