#include "design/FileListEd.h"

#include "design/ProjectAssets.h"
#include "host/DialogLayout.h"
#include "host/SysUtils.h"

namespace mebrox {

TFileListSelectDlg::TFileListSelectDlg(host::TComponent* owner, const std::string& className,
                                       const std::string& caption, const std::string& filter,
                                       TFileKind kind)
    : host::TForm(owner), FKind(kind), FProjectFolder(ProjectFolder(nullptr)) {
  host::TDialogLayout("FileListSelectDlg")
      .Bind("Bevel1", Bevel1)
      .Bind("ListBox1", ListBox1)
      .Bind("BitBtn1", BitBtn1)
      .Bind("BitBtn3", BitBtn3)
      .Bind("BitBtn2", BitBtn2)
      .Bind("CancelBtn", CancelBtn)
      .Bind("OKBtn", OKBtn)
      .Bind("OpenDialog1", OpenDialog1)
      .Load(*this);
  SetClassName(className);
  SetCaption(caption);
  OpenDialog1->SetFilter(filter);
  BitBtn1->OnClick = [this](host::TObject* sender) { BitBtn1Click(sender); };
  BitBtn2->OnClick = [this](host::TObject* sender) { BitBtn2Click(sender); };
  BitBtn3->OnClick = [this](host::TObject* sender) { BitBtn3Click(sender); };
  ListBox1->OnKeyDown = [this](host::TObject* sender, host::TKey& key, host::TShiftState shift) {
    ListBox1KeyDown(sender, key, shift);
  };
}

void TFileListSelectDlg::BitBtn1Click(host::TObject*) {
  host::TOpenOptions options = OpenDialog1->Options();
  options.Include(host::ofAllowMultiSelect);
  OpenDialog1->SetOptions(options);
  if (!OpenDialog1->Execute()) return;
  host::TStringList& items = ListBox1->Items();
  items.BeginUpdate();
  items.Clear();
  for (int i = 0; i < OpenDialog1->Files().Count(); ++i)
    items.Add(TakeIntoProject(OpenDialog1->Files().Get(i), FKind, FProjectFolder));
  items.EndUpdate();
}

void TFileListSelectDlg::BitBtn2Click(host::TObject*) {
  const int index = ListBox1->ItemIndex();
  if (index < 0) {
    host::ShowMessage("Select an item first.");
    return;
  }
  ListBox1->Items().Delete(index);
  // As the old list box did: the deleted entry takes the selection with it, so a second
  // Delete never removes a neighbour the designer did not choose.
  ListBox1->SetItemIndex(-1);
}

void TFileListSelectDlg::BitBtn3Click(host::TObject*) {
  host::TOpenOptions options = OpenDialog1->Options();
  options.Exclude(host::ofAllowMultiSelect);
  OpenDialog1->SetOptions(options);
  if (OpenDialog1->Execute())
    ListBox1->Items().Add(TakeIntoProject(OpenDialog1->FileName(), FKind, FProjectFolder));
}

void TFileListSelectDlg::ListBox1KeyDown(host::TObject* sender, host::TKey& key,
                                         host::TShiftState shift) {
  // The Delete key in the list does what the Delete button does.
  if (key != host::VK_DELETE || shift.Mask() != 0) return;
  key = 0;
  BitBtn2Click(sender);
}

ide::TPropertyAttributes TFileListsProperty::GetAttributes() const {
  return {ide::paDialog, ide::paReadOnly};
}

void TFileListsProperty::Edit() {
  std::unique_ptr<TFileListSelectDlg> dialog = CreateDialog();
  dialog->SetProjectFolder(ProjectFolder(Designer().ToolServices()));
  if (auto* files = dynamic_cast<host::TStrings*>(GetObjectValue()))
    dialog->ListBox1->Items().Assign(*files);
  // Setting the value tells the designer that the form changed.
  if (dialog->ShowModal() == host::mrOk) SetObjectValue(dialog->ListBox1->Items());
}

}  // namespace mebrox
