#include "design/Mebroxr32.h"

#include "design/Aboutpt.h"
#include "design/Hareareg.h"
#include "design/Himgreg.h"
#include "design/Htxtreg.h"
#include "design/WavePlyEd.h"
#include "ide/Registry.h"
#include "runtime/Action.h"
#include "runtime/Bookmark.h"
#include "runtime/FileReferences.h"
#include "runtime/Projctrl.h"
#include "runtime/WavePaus.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

namespace mebrox::Mebroxr32 {

namespace {

// The run-time units' own registrations. They live here, not beside their components, because a
// finished application links the run-time kit without the IDE.

void RegisterFxLbl() {
  ide::RegisterComponents("Mebrox", {&TfxLabel::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterWavePly() {
  const host::TClassInfo* player = &TWavePlay::StaticClassInfo();
  ide::RegisterComponents("Mebrox", {player});
  ide::RegisterComponentEditor<TWavePlayEditor>(*player);
  ide::RegisterPropertyEditor<TWaveNameProperty>(ide::StringType(), player, "WaveName");
  ide::RegisterFileDropper(*player, [](host::TComponent& c, const std::vector<std::string>& files) {
    DropWave(static_cast<TWavePlay&>(c), files);
  });
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterWavePaus() {
  ide::RegisterComponents("Mebrox", {&TWavePause::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterProjctrl() {
  // No About line on the project control. Its component editor is registered with the
  // experts, which it belongs to.
  ide::RegisterComponents("Mebrox", {&TProjCtrl::StaticClassInfo()});
}

void RegisterBookmark() {
  ide::RegisterComponents("Mebrox", {&TBookMark::StaticClassInfo()});
  // A picture file dropped on it is its picture, the last of several.
  ide::RegisterFileDropper(TBookMark::StaticClassInfo(),
                           [](host::TComponent& c, const std::vector<std::string>& files) {
                             if (!files.empty())
                               static_cast<TBookMark&>(c).Picture().LoadFromFile(files.back());
                           });
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

// Every action a component publishes (a hot image's, a hot area's) follows a renamed frame it
// goes to. Frames are named in actions exactly, so only an exact match is renamed.
bool RenameActionFrames(host::TComponent& component, const std::string& from, const std::string& to,
                        bool apply) {
  bool changed = false;
  for (const host::TPropInfo* p : component.ClassInfo().Properties()) {
    if (p->Kind != host::TPropKind::Class || p->ObjectClass != &TAction::StaticClassInfo() ||
        !p->GetObject)
      continue;
    auto* action = dynamic_cast<TAction*>(p->GetObject(component));
    if (!action || action->Frame() != from) continue;
    if (apply) action->SetFrame(to);
    changed = true;
  }
  return changed;
}

}  // namespace

void Register() {
  ide::RegisterFrameRenamer(host::TComponent::StaticClassInfo(), RenameActionFrames);
  ide::RegisterFileLister([](host::TComponent& component) {
    std::vector<std::string> files;
    for (const TFileReference& reference : FileReferencesOf(component))
      files.push_back(reference.Path);
    return files;
  });
  Htxtreg::Register();
  Himgreg::Register();
  Hareareg::Register();
  RegisterFxLbl();
  RegisterWavePly();
  RegisterWavePaus();
  RegisterProjctrl();
  RegisterBookmark();
}

}  // namespace mebrox::Mebroxr32
