#pragma once

#include <string>

#include "host/Buttons.h"
#include "runtime/About.h"

namespace mebrox {

// A small button that pauses the wave players of its frame and resumes them. It shows the
// "PAUSE" glyph while it can pause and "PLAY" while it can resume.
class TWavePause : public host::TSpeedButton {
  HOST_PUBLISHED_CLASS
 public:
  explicit TWavePause(host::TComponent* owner);

  TAboutMebrox& About() { return FAbout; }
  // The Name of the player this button paused last; empty until it has paused one.
  const std::string& PausedName() const { return FPausedName; }

  // Asks every open wave player of the owner frame for its mode: while any plays, pauses all
  // that play; otherwise resumes all that are paused. Replaces the button's click, so OnClick
  // is not called.
  void Click() override;
  // A toggle button: "Pause" while it can pause, "Resume" (and in) while it can resume.
  host::TAccessibleInfo AccessibleInfo() const override;

 private:
  void ShowGlyph(const char* name);
  void SetResumes(bool value);

  TAboutMebrox FAbout;
  std::string FPausedName;
  bool FResumes = false;
};

}  // namespace mebrox
