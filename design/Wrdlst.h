#pragma once

#include <memory>

#include "design/FileListEd.h"

namespace mebrox {

// The word-list files of a hypertext control, picked by name.
class TWordListSelectDlg : public TFileListSelectDlg {
 public:
  explicit TWordListSelectDlg(host::TComponent* owner);
};

// The editor of a hypertext control's WordsLists: the word-list files it switches between.
class TWordsListsProperty : public TFileListsProperty {
 public:
  using TFileListsProperty::TFileListsProperty;

 protected:
  std::unique_ptr<TFileListSelectDlg> CreateDialog() const override;
};

}  // namespace mebrox
