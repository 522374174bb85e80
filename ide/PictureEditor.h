#pragma once

#include <string>

#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/Graphics.h"
#include "host/StdCtrls.h"
#include "ide/PropertyEditor.h"

namespace ide {

// The picture editor: the picture at its true size, loaded from a file, saved to one as it is
// stored, or cleared; OK gives it back, Cancel leaves it as it was.
class TPictureEditorDlg : public host::TForm {
 public:
  explicit TPictureEditorDlg(host::TComponent* owner);

  host::TPanel* Panel1;
  host::TImage* Image1;
  host::TLabel* Info;
  host::TBitBtn* LoadBtn;
  host::TBitBtn* SaveBtn;
  host::TBitBtn* ClearBtn;
  host::TBitBtn* OKBtn;
  host::TBitBtn* CancelBtn;

  // The picture being edited: what the dialog starts with, and what OK gives back.
  host::TPicture& Picture() { return FPicture; }

  // The picture files the kit reads, as a file dialog's filter.
  static const char* const Filter;

 private:
  void LoadBtnClick();
  void SaveBtnClick();
  void ClearBtnClick();
  void PictureChanged();

  host::TPicture FPicture;
};

// What a picture's bytes are, "PNG", "BMP", "JPEG" or "GIF"; empty for none of them.
std::string PictureFormat(const std::string& bytes);

// The editor of every picture property (a hot image's, an image's, a button's glyph): it shows
// what the picture is, "(PNG, 60 x 40)" or "(None)", and its dialog is the picture editor, whose
// choice every selected object takes.
class TPictureProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  void Edit() override;
};

}  // namespace ide
