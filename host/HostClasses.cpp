#include "host/HostClasses.h"

#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/StdCtrls.h"

namespace host {

void RegisterHostClasses() {
  RegisterCoreClasses();
  RegisterFormClasses();
  RegisterExtCtrlsClasses();
  RegisterStdCtrlsClasses();
  RegisterButtonsClasses();
}

}  // namespace host
