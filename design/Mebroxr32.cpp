#include "design/Mebroxr32.h"

#include "design/Aboutpt.h"
#include "design/Hareareg.h"
#include "design/Himgreg.h"
#include "design/Htxtreg.h"
#include "design/ProjectAssets.h"
#include "design/WavePlyEd.h"
#include "ide/DesignCore.h"
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

void RegisterFxLbl(ide::TDesignRegistry& registry) {
  registry.RegisterComponents("Mebrox", {&TfxLabel::StaticClassInfo()});
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterWavePly(ide::TDesignRegistry& registry) {
  const host::TClassInfo* player = &TWavePlay::StaticClassInfo();
  registry.RegisterComponents("Mebrox", {player});
  registry.RegisterComponentEditor<TWavePlayEditor>(*player);
  registry.RegisterPropertyEditor<TWaveNameProperty>(ide::StringType(), player, "WaveName");
  registry.RegisterFileDropper(*player, [](ide::IDesigner& designer, host::TComponent& c,
                                           const std::vector<std::string>& files) {
    DropWave(static_cast<TWavePlay&>(c), files, ProjectFolder(designer.ToolServices()));
  });
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterWavePaus(ide::TDesignRegistry& registry) {
  registry.RegisterComponents("Mebrox", {&TWavePause::StaticClassInfo()});
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterProjctrl(ide::TDesignRegistry& registry) {
  // No About line on the project control. Its component editor is registered with the
  // experts, which it belongs to.
  registry.RegisterComponents("Mebrox", {&TProjCtrl::StaticClassInfo()});
}

void RegisterBookmark(ide::TDesignRegistry& registry) {
  registry.RegisterComponents("Mebrox", {&TBookMark::StaticClassInfo()});
  // A picture file dropped on it is its picture, the last of several.
  registry.RegisterFileDropper(
      TBookMark::StaticClassInfo(),
      [](ide::IDesigner&, host::TComponent& c, const std::vector<std::string>& files) {
        if (!files.empty()) static_cast<TBookMark&>(c).Picture().LoadFromFile(files.back());
      });
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
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

void Register(ide::TDesignCore& core) {
  ide::TDesignRegistry& registry = core.Registry();
  registry.RegisterFrameRenamer(host::TComponent::StaticClassInfo(), RenameActionFrames);
  registry.RegisterFileLister([](host::TComponent& component) {
    std::vector<std::string> files;
    for (const TFileReference& reference : FileReferencesOf(component))
      files.push_back(reference.Path);
    return files;
  });
  Htxtreg::Register(core);
  Himgreg::Register(core);
  Hareareg::Register(core);
  RegisterFxLbl(registry);
  RegisterWavePly(registry);
  RegisterWavePaus(registry);
  RegisterProjctrl(registry);
  RegisterBookmark(registry);
}

}  // namespace mebrox::Mebroxr32
