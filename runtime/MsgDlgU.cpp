#include "runtime/MsgDlgU.h"

#include <exception>

#include "host/FormFile.h"
#include "host/Resources.h"
#include "runtime/DefaultSettings.h"

namespace mebrox {

using namespace host;

template <class T>
static T* FindPart(TForm& form, const char* name) {
  auto* part = dynamic_cast<T*>(form.FindComponent(name));
  if (!part) throw EComponentError(std::string("The popup layout has no ") + name);
  return part;
}

TMsgDlg::TMsgDlg(TComponent* owner) : TForm(owner) {
  auto layout = FindResource("MsgDlg");
  if (!layout) throw EComponentError("The popup layout \"MsgDlg\" is missing");
  ReadComponentText(*layout, *this, "MsgDlg.dfm");
  FMsgLbl = FindPart<TLabel>(*this, "MsgLbl");
  FShape1 = FindPart<TShape>(*this, "Shape1");
  OnCreate = [this](TObject*) { FormCreate(); };
  OnShow = [this](TObject*) { FormShow(); };
  FMsgLbl->OnClick = [this](TObject*) { MsgLblClick(); };
  DoCreate();
}

void TMsgDlg::GetINISettings() {
  TSettingsSection ini("Desc");
  if (!ini.Used()) return;
  ini.ApplyFont(FMsgLbl->Font(), "Font");
  FShape1->Brush().SetColor(ini.ReadColor("BackgroundColor", "clYellow"));
}

TAccessibleInfo TMsgDlg::AccessibleInfo() const {
  TAccessibleInfo info = TForm::AccessibleInfo();
  info.Role = TAccessibleRole::Alert;
  info.Name = FMsgLbl->Caption();
  return info;
}

void TMsgDlg::FormCreate() {
  if (IsDesigning()) GetINISettings();
}

void TMsgDlg::FormShow() {
  // A setting that cannot be read is still told, but the popup fits the text it has all the
  // same rather than showing it cut at the design size.
  std::exception_ptr failure;
  try {
    GetINISettings();
  } catch (...) {
    failure = std::current_exception();
  }
  // One pixel more than the label each way, so the shape's outline frames the text.
  FShape1->SetBounds(0, 0, FMsgLbl->Width() + 1, FMsgLbl->Height() + 1);
  SetBounds(Left(), Top(), FMsgLbl->Width() + 1, FMsgLbl->Height() + 1);
  if (failure) std::rethrow_exception(failure);
}

void TMsgDlg::MsgLblClick() {
  Close();
}

void TMsgDlg::KeyDown(TKey& key, TShiftState shift) {
  TForm::KeyDown(key, shift);
  if (shift.Contains(ssAlt) || shift.Contains(ssCtrl)) return;
  if (key == VK_ESCAPE) {
    key = 0;
    Close();
  } else if (key == VK_RETURN || key == VK_SPACE) {
    key = 0;
    FMsgLbl->Click();
  }
}

}  // namespace mebrox
