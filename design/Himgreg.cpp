#include "design/Himgreg.h"

#include "design/Aboutpt.h"
#include "design/Actdef.h"
#include "design/Himaged.h"
#include "ide/Registry.h"
#include "runtime/HyperImg.h"

namespace mebrox::Himgreg {

void Register() {
  // The component, then its editors.
  ide::RegisterComponents("Mebrox", {&THyperImage::StaticClassInfo()});
  ide::RegisterComponentEditor<THyperImageEditor>(THyperImage::StaticClassInfo());
  ide::RegisterFileDropper(THyperImage::StaticClassInfo(),
                           [](host::TComponent& c, const std::vector<std::string>& files) {
                             static_cast<THyperImage&>(c).DropFiles(files);
                           });
  ide::RegisterPropertyEditor<TActionProperty>(ide::ClassType<TAction>(), nullptr, "Action");
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace mebrox::Himgreg
