#pragma once

#include <memory>

#include "host/Controls.h"
#include "host/StdCtrls.h"

namespace host {

// A button without a window of its own, drawn like the old speed button: a raised 3D frame
// that sinks while the left button is held over it, a glyph and a caption centred together.
//
// Down matters only inside a group (GroupIndex not 0): such a button stays down once clicked
// and lets the other buttons of its group on the same parent up.
class TSpeedButton : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TSpeedButton(TComponent* owner);

  TPicture& Glyph() { return FGlyph; }
  const TPicture& Glyph() const { return FGlyph; }
  void SetGlyph(const TPicture& value) { FGlyph.Assign(value); }
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);

  // True while the left button is held over the button.
  bool Pressed() const { return FPressed; }

  // Puts a grouped button down, then fires OnClick.
  void Click() override;
  // A button named by its caption, else its hint; a grouped one is a toggle, in while down.
  TAccessibleInfo AccessibleInfo() const override;

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  // Blank between glyph and caption when both are shown.
  static constexpr int Spacing = 4;

 protected:
  void Paint() override;

 private:
  void SetPressed(bool value);
  void DrawFrame(bool sunk);
  void DrawGlyphAndCaption(int offset);
  void LetGroupUp();

  TPicture FGlyph;
  bool FDown = false;
  bool FFlat = false;
  int FGroupIndex = 0;
  bool FPressed = false;
  bool FDragging = false;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
const std::vector<std::string>& BitBtnKindNames();
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const std::vector<std::string>& ButtonLayoutNames();

// A push button with a picture. A Kind other than bkCustom gives the button that kind's
// caption, glyph and modal result, and makes OK and Yes default, Cancel and No cancel buttons;
// a Close button closes its form instead of firing OnClick.
class TBitBtn : public TButton {
  HOST_PUBLISHED_CLASS
 public:
  explicit TBitBtn(TComponent* owner);

  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind value);
  // A picture of the designer's own; while empty the kind's glyph shows.
  TPicture& Glyph() { return FGlyph; }
  void SetGlyph(const TPicture& value) { FGlyph.Assign(value); }
  // Where the glyph sits beside the caption. The toolkit's buttons put a glyph above or below
  // the caption to its left.
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  // How many images the glyph holds side by side (up, disabled ...); only the first is shown,
  // the toolkit greys it for the disabled look.
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);

  void Click() override;

 protected:
  void PeerCreated() override;
  void Loaded() override;

 private:
  // What the kind gives the button, and which of it a form file being read has set already.
  enum TKindPart { kpCancel, kpCaption, kpDefault, kpModalResult };
  bool KindCancel() const { return FKind == bkCancel || FKind == bkNo; }
  bool KindDefault() const { return FKind == bkOK || FKind == bkYes; }
  std::string KindCaption() const;
  int KindModalResult() const;
  void ReadPart(TKindPart part);
  void ShowGlyph();

  TBitBtnKind FKind = bkCustom;
  TSet<TKindPart> FPartsRead;
  TPicture FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  int FNumGlyphs = 1;
};

// The glyph as a disabled button shows it: its shape, without its colours, in one colour.
// Transparent and pure white pixels fall away, as they did in the old framework's greying.
std::shared_ptr<const TRawImage> GlyphShape(const TRawImage& glyph, TColor color);

void RegisterButtonsClasses();

}  // namespace host
