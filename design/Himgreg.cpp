#include "design/Himgreg.h"

#include "design/Aboutpt.h"
#include "ide/Registry.h"
#include "runtime/HyperImg.h"

namespace mebrox::Himgreg {

void Register() {
  // The component, then its editors. The Action wizard and the component editor join here as
  // they are built.
  ide::RegisterComponents("Mebrox", {&THyperImage::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Himgreg
