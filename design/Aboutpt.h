#pragma once

#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/StdCtrls.h"
#include "ide/ClassProperty.h"
#include "runtime/About.h"

namespace mebrox {

// The kit's About box: the product picture, name, version and a line on what the kit is for.
class TAboutBoxDlg : public host::TForm {
 public:
  explicit TAboutBoxDlg(host::TComponent* owner);

  host::TPanel* Panel1;
  host::TImage* ProgramIcon;
  host::TLabel* ProductName;
  host::TLabel* Version;
  host::TLabel* Comments;
  host::TBitBtn* OKButton;
};

// The editor of every component's About line: no value, a dialog button that opens the box.
class TAboutProperty : public ide::TClassProperty {
 public:
  using ide::TClassProperty::TClassProperty;
  ide::TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override { return std::string(); }
  void Edit() override;
};

}  // namespace mebrox
