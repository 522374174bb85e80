#pragma once

#include <string>
#include <vector>

#include "host/Controls.h"
#include "host/Graphics.h"
#include "runtime/About.h"
#include "runtime/Action.h"
#include "runtime/CursorGroup.h"

namespace mebrox {

// The pointer images of screen cursors 1 to 6 ("HAND", "WAVE", "FORM", "RUN", "BookMark",
// "CLOSE"), shared by every hot image and hot area of the process. Each construction reloads
// them; they are given up when the last hot image or hot area goes.
struct THotCursors {
  // Screen cursor of the hand shown over a hot component whose CursorShow is set.
  static constexpr int HandCursor = 1;
  static constexpr int BookMarkCursor = 5;
  static TCursorGroup& Group();
};

// A clickable picture with an optional drop shadow that sinks into its shadow while pressed
// and performs its action when clicked. In the designer it takes image files dropped on it and
// writes the name of its target frame across itself.
class THyperImage : public host::TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  // Both the width of the shadow band and how far the picture moves while pressed.
  static constexpr int ShadowOffset = 8;

  explicit THyperImage(host::TComponent* owner);

  TAboutMebrox& About() { return FAbout; }
  TAction& Action() { return FAction; }
  const TAction& Action() const { return FAction; }
  void SetAction(const TAction& value);
  bool AllowShadow() const { return FAllowShadow; }
  void SetAllowShadow(bool value);
  bool CursorShow() const { return FCursorShow; }
  void SetCursorShow(bool value) { FCursorShow = value; }
  host::TPicture& Picture() { return FPicture; }
  const host::TPicture& Picture() const { return FPicture; }
  void SetPicture(const host::TPicture& value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);

  // Between a button press on the control and its release.
  bool Pressed() const { return FPressed; }

  // With a shadow, a picture and no stretching the control is the picture and its shadow band,
  // whatever size it is given.
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

  // Loads the last of the dropped files into Picture; only in the designer. A file that is no
  // picture fails with EInvalidGraphic naming it, for the designer to report.
  void DropFiles(const std::vector<std::string>& files) override;

  void GetINISettings();
  // A component dropped from the palette takes its first look from the settings file.
  void DroppedFromPalette() override { GetINISettings(); }

  // At run time the picture is a keyboard stop; Enter or Space on it is a click.
  int KeyStopCount() const override { return IsDesigning() ? 0 : 1; }
  // The picture, without its shadow band; the mark goes a little inside it.
  std::vector<host::TRect> KeyStopRects(int index) const override;
  void PaintKeyStopMark(host::TCanvasSurface& surface, int index) const override;
  host::TAccessibleInfo AccessibleInfo() const override { return HotControlInfo(*this, FAction); }

 protected:
  void Paint() override;
  void Click() override;
  void MouseDown(host::TMouseButton button, host::TShiftState shift, int x, int y) override;
  void MouseUp(host::TMouseButton button, host::TShiftState shift, int x, int y) override;
  void MouseMove(host::TShiftState shift, int x, int y) override;
  void PictureChanged();

 private:
  void DrawShadow();
  bool FitsPicture() const;
  void FitToPicture();

  TAboutMebrox FAbout;
  TAction FAction;
  TCursorGroup::TLease FCursors{THotCursors::Group()};
  host::TPicture FPicture;
  bool FAllowShadow = true;
  bool FCursorShow = false;
  bool FStretch = false;
  bool FPressed = false;
  host::TRect FDrawRect;
};

}  // namespace mebrox
