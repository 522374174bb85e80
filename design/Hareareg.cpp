#include "design/Hareareg.h"

#include "design/Aboutpt.h"
#include "ide/Registry.h"
#include "runtime/Hyprarea.h"

namespace mebrox::Hareareg {

void Register() {
  // As for the hot image: the component, then its editors, which join as they are built.
  ide::RegisterComponents("Mebrox", {&THyperArea::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Hareareg
