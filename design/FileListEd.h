#pragma once

#include <memory>
#include <string>
#include "runtime/FileReferences.h"

#include "host/Buttons.h"
#include "host/Dialogs.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "ide/ClassProperty.h"

namespace mebrox {

// The dialog in which the designer picks the files a hypertext control switches between. The
// word-list and lines-list editors use it alike; each twin gives its own class name, caption
// and file filter. Files are kept by their names inside the project folder ("intro.txt",
// "texts/intro.txt"), where the control finds them; a file from outside is copied in first.
class TFileListSelectDlg : public host::TForm {
 public:
  TFileListSelectDlg(host::TComponent* owner, const std::string& className,
                     const std::string& caption, const std::string& filter, TFileKind kind);

  // "Select Files": the files chosen together replace the whole list.
  void BitBtn1Click(host::TObject* sender);
  // "Delete": removes the selected entry.
  void BitBtn2Click(host::TObject* sender);
  // "Add File": appends one file.
  void BitBtn3Click(host::TObject* sender);
  // The folder of the project the files are for (the current directory until set).
  void SetProjectFolder(std::string folder) { FProjectFolder = std::move(folder); }

  host::TBevel* Bevel1;
  host::TListBox* ListBox1;
  host::TBitBtn* BitBtn1;
  host::TBitBtn* BitBtn3;
  host::TBitBtn* BitBtn2;
  host::TBitBtn* CancelBtn;
  host::TBitBtn* OKBtn;
  host::TOpenDialog* OpenDialog1;

 private:
  TFileKind FKind;
  std::string FProjectFolder;
  void ListBox1KeyDown(host::TObject* sender, host::TKey& key, host::TShiftState shift);
};

// The editor of a hypertext control's list of files: a dialog button, no typing. OK puts the
// dialog's list into the property; Cancel leaves it as it was.
class TFileListsProperty : public ide::TClassProperty {
 public:
  using ide::TClassProperty::TClassProperty;
  ide::TPropertyAttributes GetAttributes() const override;
  void Edit() override;

 protected:
  virtual std::unique_ptr<TFileListSelectDlg> CreateDialog() const = 0;
};

}  // namespace mebrox
