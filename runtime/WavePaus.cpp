#include "runtime/WavePaus.h"

#include <vector>

#include "host/Resources.h"
#include "runtime/WavePly.h"

namespace mebrox {

const host::TClassInfo& TWavePause::StaticClassInfo() {
  static host::TClassInfo info = [] {
    host::TClassInfo i("TWavePause", &host::TSpeedButton::StaticClassInfo());
    host::TPublisher<TWavePause>(i).SubObject<TAboutMebrox>(
        "About", [](TWavePause& b) -> TAboutMebrox& { return b.About(); }, nullptr);
    return i;
  }();
  return info;
}

TWavePause::TWavePause(host::TComponent* owner) : host::TSpeedButton(owner) {
  ShowGlyph("PAUSE");
  SetHeight(25);
  SetWidth(25);
  SetCaption("");
}

void TWavePause::ShowGlyph(const char* name) {
  Glyph().SetImage(host::LoadBitmapResource(name));
}

void TWavePause::Click() {
  host::TComponent* frame = Owner();
  if (!frame) return;
  const std::vector<host::TComponent*> components = frame->ComponentList();
  for (host::TComponent* component : components) {
    auto* player = dynamic_cast<TWavePlay*>(component);
    if (!player || player->ClassName() != "TWavePlay") continue;
    // A player that is not open would answer the query with an error and keep it, refusing
    // to play from then on; a closed player is neither playing nor paused anyway.
    if (!player->Opened()) continue;
    const std::string mode = player->Status("mode");
    if (mode == "playing") {
      FPausedName = player->Name();
      if (auto* found = dynamic_cast<TWavePlay*>(frame->FindComponent(FPausedName))) found->Pause();
      ShowGlyph("PLAY");
    } else if (mode == "paused") {
      // The player this button paused, while there is one of that name; otherwise (this
      // button never paused one, or it has been renamed since) the paused player itself, so
      // that the "PAUSE" glyph shown next is true.
      auto* paused = dynamic_cast<TWavePlay*>(frame->FindComponent(FPausedName));
      (paused ? paused : player)->Resume();
      ShowGlyph("PAUSE");
    }
  }
}

}  // namespace mebrox
