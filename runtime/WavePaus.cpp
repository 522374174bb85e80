#include "runtime/WavePaus.h"

#include <string>
#include <utility>
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
  // The frame's players and their modes, asked once: the answer decides for all of them, so
  // that no player is paused and resumed again in the same click.
  std::vector<std::pair<TWavePlay*, std::string>> players;
  for (host::TComponent* component : frame->ComponentList()) {
    auto* player = dynamic_cast<TWavePlay*>(component);
    if (!player || player->ClassName() != "TWavePlay") continue;
    // A player that is not open would answer the query with an error and keep it, refusing
    // to play from then on; a closed player is neither playing nor paused anyway.
    if (!player->Opened()) continue;
    players.emplace_back(player, player->Status("mode"));
  }
  auto any = [&](const char* mode) {
    for (const auto& p : players)
      if (p.second == mode) return true;
    return false;
  };
  if (any("playing")) {
    for (const auto& [player, mode] : players)
      if (mode == "playing") {
        FPausedName = player->Name();
        player->Pause();
      }
    ShowGlyph("PLAY");
    SetResumes(true);
  } else if (any("paused")) {
    for (const auto& [player, mode] : players)
      if (mode == "paused") player->Resume();
    ShowGlyph("PAUSE");
    SetResumes(false);
  }
}

void TWavePause::SetResumes(bool value) {
  if (value == FResumes) return;
  FResumes = value;
  host::NotifyAccessible(*this, -1, host::TAccessibleEvent::NameChanged);
  host::NotifyAccessible(*this, -1, host::TAccessibleEvent::StateChanged);
}

host::TAccessibleInfo TWavePause::AccessibleInfo() const {
  host::TAccessibleInfo info = TSpeedButton::AccessibleInfo();
  info.Role = host::TAccessibleRole::ToggleButton;
  info.Name = FResumes ? "Resume" : "Pause";
  info.Description =
      FResumes ? "resumes the sounds of this frame" : "pauses the sounds of this frame";
  info.Checked = FResumes;
  return info;
}

}  // namespace mebrox
