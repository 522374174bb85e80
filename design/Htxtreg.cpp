#include "design/Htxtreg.h"

#include "design/Aboutpt.h"
#include "ide/Registry.h"
#include "runtime/HyperTxt.h"

namespace mebrox::Htxtreg {

void Register() {
  // The editors first, the component last. The word and list editors join here as they are built.
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
  ide::RegisterComponents("Mebrox", {&THyperTxt::StaticClassInfo()});
}

}  // namespace mebrox::Htxtreg
