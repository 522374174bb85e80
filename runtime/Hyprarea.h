#pragma once

#include "host/ExtCtrls.h"
#include "runtime/About.h"
#include "runtime/Action.h"
#include "runtime/HyperImg.h"

namespace mebrox {

// An invisible clickable region of a frame that performs its action when clicked. It is a
// shape whose pen and brush start clear, so at run time it draws nothing unless the designer
// makes them visible; in the designer it is outlined so that it can be found.
class THyperArea : public host::TShape {
  HOST_PUBLISHED_CLASS
 public:
  explicit THyperArea(host::TComponent* owner);

  TAboutMebrox& About() { return FAbout; }
  TAction& Action() { return FAction; }
  const TAction& Action() const { return FAction; }
  void SetAction(const TAction& value);
  bool CursorShow() const { return FCursorShow; }
  void SetCursorShow(bool value) { FCursorShow = value; }

  void GetINISettings();
  // A component dropped from the palette takes its first look from the settings file.
  void DroppedFromPalette() override { GetINISettings(); }

  // At run time the area is a keyboard stop; Enter or Space on it is a click.
  int KeyStopCount() const override { return IsDesigning() ? 0 : 1; }
  host::TAccessibleInfo AccessibleInfo() const override { return HotControlInfo(*this, FAction); }

 protected:
  void Paint() override;
  void Click() override;
  void MouseMove(host::TShiftState shift, int x, int y) override;

 private:
  TAboutMebrox FAbout;
  TAction FAction;
  // The area only ever shows the hand; the bookmark pointer is the hot image's to install.
  TCursorGroup::TLease FCursors{THotCursors::Group(), {THotCursors::BookMarkCursor}};
  bool FCursorShow = false;
};

}  // namespace mebrox
