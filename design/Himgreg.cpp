#include "design/Himgreg.h"

#include "design/Aboutpt.h"
#include "design/Actdef.h"
#include "design/Himaged.h"
#include "ide/DesignCore.h"
#include "runtime/HyperImg.h"

namespace mebrox::Himgreg {

void Register(ide::TDesignCore& core) {
  ide::TDesignRegistry& registry = core.Registry();
  // The component, then its editors.
  registry.RegisterComponents("Mebrox", {&THyperImage::StaticClassInfo()});
  registry.RegisterComponentEditor<THyperImageEditor>(THyperImage::StaticClassInfo());
  registry.RegisterFileDropper(
      THyperImage::StaticClassInfo(),
      [](ide::IDesigner&, host::TComponent& c, const std::vector<std::string>& files) {
        static_cast<THyperImage&>(c).DropFiles(files);
      });
  registry.RegisterPropertyEditor<TActionProperty>(ide::ClassType<TAction>(), nullptr, "Action");
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Himgreg
