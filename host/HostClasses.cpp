#include "host/HostClasses.h"

#include "host/Buttons.h"
#include "host/Dialogs.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/Menus.h"
#include "host/Outline.h"
#include "host/StdCtrls.h"
#include "host/TabCtrls.h"

namespace host {

void RegisterHostClasses() {
  RegisterCoreClasses();
  RegisterFormClasses();
  RegisterExtCtrlsClasses();
  RegisterStdCtrlsClasses();
  RegisterButtonsClasses();
  RegisterEditCtrlsClasses();
  RegisterListCtrlsClasses();
  RegisterTabCtrlsClasses();
  RegisterOutlineClasses();
  RegisterDialogsClasses();
  RegisterMenusClasses();
}

}  // namespace host
