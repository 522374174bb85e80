#include "design/Hareareg.h"

#include "design/Aboutpt.h"
#include "design/Actdef.h"
#include "design/HAreaEd.h"
#include "ide/DesignCore.h"
#include "runtime/Hyprarea.h"

namespace mebrox::Hareareg {

void Register(ide::TDesignCore& core) {
  ide::TDesignRegistry& registry = core.Registry();
  // The component, then its editors.
  registry.RegisterComponents("Mebrox", {&THyperArea::StaticClassInfo()});
  registry.RegisterComponentEditor<THyperAreaEditor>(THyperArea::StaticClassInfo());
  registry.RegisterPropertyEditor<TActionProperty>(ide::ClassType<TAction>(), nullptr, "Action");
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Hareareg
