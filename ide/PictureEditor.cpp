#include "ide/PictureEditor.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "host/DialogLayout.h"
#include "host/Dialogs.h"
#include "host/SysUtils.h"

namespace ide {

const char* const TPictureEditorDlg::Filter =
    "All pictures (*.png;*.bmp;*.jpg;*.jpeg;*.gif)|*.png;*.bmp;*.jpg;*.jpeg;*.gif|"
    "PNG pictures (*.png)|*.png|Bitmaps (*.bmp)|*.bmp|JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
    "GIF pictures (*.gif)|*.gif";

namespace {

std::string SizeText(size_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  return std::to_string((bytes + 512) / 1024) + " KB";
}

// The save dialog's filter and extension for bytes of that format: the file keeps its kind.
void SaveAs(const std::string& format, std::string& filter, std::string& extension) {
  if (format == "PNG") {
    filter = "PNG pictures (*.png)|*.png", extension = "png";
  } else if (format == "BMP") {
    filter = "Bitmaps (*.bmp)|*.bmp", extension = "bmp";
  } else if (format == "JPEG") {
    filter = "JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg", extension = "jpg";
  } else if (format == "GIF") {
    filter = "GIF pictures (*.gif)|*.gif", extension = "gif";
  } else {
    filter = "All files (*.*)|*.*", extension.clear();
  }
}

}  // namespace

std::string PictureFormat(const std::string& bytes) {
  if (bytes.starts_with("\x89PNG\r\n\x1a\n")) return "PNG";
  if (bytes.starts_with("BM")) return "BMP";
  if (bytes.starts_with("\xFF\xD8\xFF")) return "JPEG";
  if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return "GIF";
  return std::string();
}

TPictureEditorDlg::TPictureEditorDlg(host::TComponent* owner) : host::TForm(owner) {
  host::TDialogLayout("PictureEditorDlg")
      .Bind("Panel1", Panel1)
      .Bind("Image1", Image1)
      .Bind("Info", Info)
      .Bind("LoadBtn", LoadBtn)
      .Bind("SaveBtn", SaveBtn)
      .Bind("ClearBtn", ClearBtn)
      .Bind("OKBtn", OKBtn)
      .Bind("CancelBtn", CancelBtn)
      .Load(*this);
  LoadBtn->OnClick = [this](host::TObject*) { LoadBtnClick(); };
  SaveBtn->OnClick = [this](host::TObject*) { SaveBtnClick(); };
  ClearBtn->OnClick = [this](host::TObject*) { ClearBtnClick(); };
  FPicture.OnChange = [this](host::TObject*) { PictureChanged(); };
  PictureChanged();
}

void TPictureEditorDlg::PictureChanged() {
  Image1->Picture().Assign(FPicture);
  const std::string data = FPicture.Data();
  SaveBtn->SetEnabled(!data.empty());
  ClearBtn->SetEnabled(!data.empty());
  if (data.empty()) {
    Info->SetCaption("(None)");
    return;
  }
  std::string format = PictureFormat(data);
  std::string text = (format.empty() ? std::string("A picture") : format + " picture") + ", " +
                     std::to_string(FPicture.Width()) + " x " + std::to_string(FPicture.Height()) +
                     " pixels, " + SizeText(data.size());
  // The view shows the picture at its own size: a larger one shows its middle.
  if (FPicture.Width() > Image1->Width() || FPicture.Height() > Image1->Height())
    text += "; larger than the view, which shows its middle";
  Info->SetCaption(text);
}

void TPictureEditorDlg::LoadBtnClick() {
  host::TOpenDialog picker(nullptr);
  picker.SetTitle("Load Picture");
  picker.SetFilter(Filter);
  picker.SetOptions({host::ofFileMustExist, host::ofPathMustExist});
  if (!picker.Execute()) return;
  try {
    FPicture.LoadFromFile(picker.FileName());
  } catch (const host::Exception& e) {
    // The picture stays as it was; the designer chooses another file.
    host::MessageDlg(e.Message(), host::mtError, {host::mbOK}, 0);
  }
}

void TPictureEditorDlg::SaveBtnClick() {
  const std::string data = FPicture.Data();
  if (data.empty()) return;
  std::string filter, extension;
  SaveAs(PictureFormat(data), filter, extension);
  host::TSaveDialog picker(nullptr);
  picker.SetTitle("Save Picture As");
  picker.SetFilter(filter);
  picker.SetDefaultExt(extension);
  picker.SetOptions({host::ofOverwritePrompt, host::ofPathMustExist});
  if (!picker.Execute()) return;
  try {
    FPicture.SaveToFile(picker.FileName());
  } catch (const host::Exception& e) {
    host::MessageDlg(e.Message(), host::mtError, {host::mbOK}, 0);
  }
}

void TPictureEditorDlg::ClearBtnClick() {
  FPicture.Clear();
}

TPropertyAttributes TPictureProperty::GetAttributes() const {
  return WithReadOnly({paDialog, paMultiSelect});
}

std::string TPictureProperty::GetValue() const {
  auto* picture = dynamic_cast<host::TPicture*>(GetObjectValue());
  if (!picture || picture->Data().empty()) return "(None)";
  std::string format = PictureFormat(picture->Data());
  return "(" + (format.empty() ? std::string("Picture") : format) + ", " +
         std::to_string(picture->Width()) + " x " + std::to_string(picture->Height()) + ")";
}

void TPictureProperty::Edit() {
  auto dialog = std::make_unique<TPictureEditorDlg>(nullptr);
  if (auto* picture = dynamic_cast<host::TPicture*>(GetObjectValue()))
    dialog->Picture().Assign(*picture);
  if (dialog->ShowModal() != host::mrOk) return;
  // OK on the picture as it was changes nothing, for one object as for several.
  const std::string chosen = dialog->Picture().Data();
  std::vector<host::TPersistent*> pictures = GetObjectValues();
  if (!pictures.empty() && std::all_of(pictures.begin(), pictures.end(), [&](host::TPersistent* p) {
        return static_cast<host::TPicture*>(p)->Data() == chosen;
      }))
    return;
  SetObjectValue(dialog->Picture());
}

}  // namespace ide
