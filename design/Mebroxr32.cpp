#include "design/Mebroxr32.h"

#include "design/Aboutpt.h"
#include "design/Hareareg.h"
#include "design/Himgreg.h"
#include "design/Htxtreg.h"
#include "ide/Registry.h"
#include "runtime/Bookmark.h"
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
  // The wave player's component editor and WaveName editor join here as they are built.
  ide::RegisterComponents("Mebrox", {&TWavePlay::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterWavePaus() {
  ide::RegisterComponents("Mebrox", {&TWavePause::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

void RegisterProjctrl() {
  // No About line on the project control; its component editor joins as it is built.
  ide::RegisterComponents("Mebrox", {&TProjCtrl::StaticClassInfo()});
}

void RegisterBookmark() {
  ide::RegisterComponents("Mebrox", {&TBookMark::StaticClassInfo()});
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
}

}  // namespace

void Register() {
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
