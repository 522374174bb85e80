#include "design/Hareareg.h"

#include "design/Aboutpt.h"
#include "design/Actdef.h"
#include "design/HAreaEd.h"
#include "ide/Registry.h"
#include "runtime/Hyprarea.h"

namespace mebrox::Hareareg {

void Register() {
  // The component, then its editors.
  ide::RegisterComponents("Mebrox", {&THyperArea::StaticClassInfo()});
  ide::RegisterComponentEditor<THyperAreaEditor>(THyperArea::StaticClassInfo());
  ide::RegisterPropertyEditor<TActionProperty>(ide::ClassType<TAction>(), nullptr, "Action");
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Hareareg
