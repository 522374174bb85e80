#include "host/Buttons.h"

#include <algorithm>

#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/Resources.h"

namespace host {

namespace {

uint32_t Argb(TColor color) {
  const uint32_t bgr = ColorToRGB(color);
  return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// The checker of face and highlight that marks a button held down by its group, so that it
// reads as "on" rather than as being pressed.
std::shared_ptr<const TRawImage> DitherPattern() {
  static const std::shared_ptr<const TRawImage> pattern = [] {
    auto image = std::make_shared<TRawImage>();
    image->Width = image->Height = 8;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        image->Pixels.push_back((x + y) % 2 ? Argb(clBtnHighlight) : Argb(clBtnFace));
    return image;
  }();
  return pattern;
}

}  // namespace

std::shared_ptr<const TRawImage> GlyphShape(const TRawImage& glyph, TColor color) {
  auto shape = std::make_shared<TRawImage>();
  shape->Width = glyph.Width;
  shape->Height = glyph.Height;
  shape->Pixels.reserve(glyph.Pixels.size());
  const uint32_t ink = Argb(color);
  for (uint32_t pixel : glyph.Pixels) {
    const bool opaque = (pixel >> 24) >= 0x80;
    const bool white = (pixel & 0xFFFFFF) == 0xFFFFFF;
    shape->Pixels.push_back(opaque && !white ? ink : 0);
  }
  return shape;
}

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSpeedButton", &TGraphicControl::StaticClassInfo());
    // GroupIndex comes before Down, so that a stored Down finds its group when read back.
    TPublisher<TSpeedButton>(i)
        .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
        .Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
        .String("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption)
        .Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
        .SubObject<TFont>(
            "Font", [](TSpeedButton& b) -> TFont& { return b.Font(); }, &TSpeedButton::SetFont)
        .SubObject<TPicture>(
            "Glyph", [](TSpeedButton& b) -> TPicture& { return b.Glyph(); },
            &TSpeedButton::SetGlyph);
    return i;
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
  FGlyph.OnChange = [this](TObject*) { Invalidate(); };
}

void TSpeedButton::SetDown(bool value) {
  // Outside a group there is nothing to stay down for.
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  FDown = value;
  Invalidate();
  if (FDown) LetGroupUp();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  if (FGroupIndex == 0 && FDown) {
    FDown = false;
    Invalidate();
  } else if (FDown) {
    LetGroupUp();
  }
}

void TSpeedButton::LetGroupUp() {
  if (!Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (!other || other == this || other->FGroupIndex != FGroupIndex || !other->FDown) continue;
    other->FDown = false;
    other->Invalidate();
  }
}

void TSpeedButton::SetPressed(bool value) {
  if (value == FPressed) return;
  FPressed = value;
  Invalidate();
}

TAccessibleInfo TSpeedButton::AccessibleInfo() const {
  TAccessibleInfo info = TGraphicControl::AccessibleInfo();
  info.Role = FGroupIndex != 0 ? TAccessibleRole::ToggleButton : TAccessibleRole::Button;
  info.Pressable = true;
  info.Checked = FDown;
  return info;
}

void TSpeedButton::Click() {
  if (FGroupIndex != 0) SetDown(true);
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  FDragging = true;
  SetPressed(true);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  // The pointer stays captured while held: the button sinks only while it is over it.
  if (FDragging) SetPressed(ClientRect().Contains({x, y}));
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FDragging) {
    FDragging = false;
    SetPressed(false);
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::DrawFrame(bool sunk) {
  TCanvas& c = Canvas();
  const TRect outer = ClientRect();
  const TRect inner{outer.Left + 1, outer.Top + 1, outer.Right - 1, outer.Bottom - 1};
  if (!FFlat) {
    if (sunk) {
      Frame3D(c, outer, clWindowFrame, clBtnHighlight);
      Frame3D(c, inner, clBtnShadow, clBtnFace);
    } else {
      Frame3D(c, outer, clBtnHighlight, clWindowFrame);
      Frame3D(c, inner, clBtnFace, clBtnShadow);
    }
  } else if (sunk) {
    Frame3D(c, outer, clBtnShadow, clBtnHighlight);
  } else if (IsDesigning()) {
    // A flat button has no edge of its own; the designer still needs to see where it is.
    Frame3D(c, outer, clBtnHighlight, clBtnShadow);
  }
}

void TSpeedButton::DrawGlyphAndCaption(int offset) {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  c.Brush().SetStyle(bsClear);

  const TRawImage* glyph = FGlyph.Empty() ? nullptr : FGlyph.Image().get();
  const int glyphWidth = glyph ? glyph->Width : 0;
  const int glyphHeight = glyph ? glyph->Height : 0;
  TRect textSize{0, 0, 0, 0};
  if (!Caption().empty()) c.DrawText(Caption(), textSize, DT_CALCRECT | DT_SINGLELINE);
  const int textWidth = textSize.Right, textHeight = textSize.Bottom;
  const int total = glyphWidth + textWidth + (glyphWidth > 0 && textWidth > 0 ? Spacing : 0);

  int x = (Width() - total) / 2 + offset;
  if (glyph) {
    const int y = (Height() - glyphHeight) / 2 + offset;
    if (Enabled()) {
      c.Draw(x, y, *glyph);
    } else {
      c.Draw(x + 1, y + 1, *GlyphShape(*glyph, clBtnHighlight));
      c.Draw(x, y, *GlyphShape(*glyph, clBtnShadow));
    }
    x += glyphWidth + Spacing;
  }
  if (textWidth > 0) {
    const int y = (Height() - textHeight) / 2 + offset;
    TRect r{x, y, x + textWidth, y + textHeight};
    if (!Enabled()) {
      TRect lit = r.Offset(1, 1);
      c.Font().SetColor(clBtnHighlight);
      c.DrawText(Caption(), lit, DT_CENTER | DT_SINGLELINE);
      c.Font().SetColor(clBtnShadow);
    }
    c.DrawText(Caption(), r, DT_CENTER | DT_SINGLELINE);
  }
}

void TSpeedButton::Paint() {
  TCanvas& c = Canvas();
  // A disabled button shows neither press nor group state.
  const bool sunk = Enabled() && (FPressed || FDown);
  c.Brush().SetBitmap(nullptr);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(ClientRect());
  DrawFrame(sunk);
  if (Enabled() && FDown && !FPressed) {
    const int edge = FFlat ? 1 : 2;
    c.Brush().SetBitmap(DitherPattern());
    c.FillRect({edge, edge, Width() - edge, Height() - edge});
    c.Brush().SetBitmap(nullptr);
  }
  DrawGlyphAndCaption(sunk ? 1 : 0);
}

// ---- TBitBtn

const std::vector<std::string>& BitBtnKindNames() {
  static const std::vector<std::string> names = {"bkCustom", "bkOK",     "bkCancel", "bkHelp",
                                                 "bkYes",    "bkNo",     "bkClose",  "bkAbort",
                                                 "bkRetry",  "bkIgnore", "bkAll"};
  return names;
}

const std::vector<std::string>& ButtonLayoutNames() {
  static const std::vector<std::string> names = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                 "blGlyphBottom"};
  return names;
}

namespace {

struct TBitBtnKindFace {
  const char* Caption;
  TModalResult Result;
  const char* Glyph;
};

const TBitBtnKindFace& KindFace(TBitBtnKind kind) {
  static const TBitBtnKindFace faces[] = {
      {"", mrNone, ""},
      {"OK", mrOk, "BBOK"},
      {"Cancel", mrCancel, "BBCANCEL"},
      {"&Help", mrNone, "BBHELP"},
      {"&Yes", mrYes, "BBYES"},
      {"&No", mrNo, "BBNO"},
      {"&Close", mrNone, "BBCLOSE"},
      {"Abort", mrAbort, "BBABORT"},
      {"&Retry", mrRetry, "BBRETRY"},
      {"&Ignore", mrIgnore, "BBIGNORE"},
      {"&All", mrAll, "BBALL"},
  };
  return faces[kind];
}

}  // namespace

const TClassInfo& TBitBtn::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TBitBtn", &TButton::StaticClassInfo());
    // Redeclared, keeping their places before Kind: each is written where it differs from
    // what the kind gives, and a value read wins over the kind's, whichever line comes first.
    auto reading = []<class C, class V>(TKindPart part, void (C::*set)(V)) {
      return [part, set](TBitBtn& b, V value) {
        b.ReadPart(part);
        (b.*set)(value);
      };
    };
    TPublisher<TBitBtn>(i)
        .Boolean("Cancel", &TBitBtn::Cancel, reading(kpCancel, &TBitBtn::SetCancel))
        .StoredIf([](const TBitBtn& b) { return b.Cancel() != b.KindCancel(); })
        .String("Caption", &TBitBtn::Caption, reading(kpCaption, &TBitBtn::SetCaption))
        .StoredIf([](const TBitBtn& b) { return b.Caption() != b.KindCaption(); })
        .Boolean("Default", &TBitBtn::Default, reading(kpDefault, &TBitBtn::SetDefault))
        .StoredIf([](const TBitBtn& b) { return b.Default() != b.KindDefault(); })
        .Integer("ModalResult", &TBitBtn::ModalResult,
                 reading(kpModalResult, &TBitBtn::SetModalResult))
        .StoredIf([](const TBitBtn& b) { return b.ModalResult() != b.KindModalResult(); })
        .SubObject<TPicture>(
            "Glyph", [](TBitBtn& b) -> TPicture& { return b.Glyph(); }, &TBitBtn::SetGlyph)
        .Enumeration("Kind", BitBtnKindNames(), &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom)
        .Enumeration("Layout", ButtonLayoutNames(), &TBitBtn::Layout, &TBitBtn::SetLayout,
                     blGlyphLeft)
        .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1);
    return i;
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
  FGlyph.OnChange = [this](TObject*) { ShowGlyph(); };
}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (value == FKind) return;
  FKind = value;
  if (value != bkCustom) {
    // What a form file being read has set stays as it was read.
    if (!FPartsRead.Contains(kpDefault)) SetDefault(KindDefault());
    if (!FPartsRead.Contains(kpCancel)) SetCancel(KindCancel());
    if (!FPartsRead.Contains(kpCaption)) SetCaption(KindCaption());
    if (!FPartsRead.Contains(kpModalResult)) SetModalResult(KindModalResult());
  }
  ShowGlyph();
}

std::string TBitBtn::KindCaption() const {
  return KindFace(FKind).Caption;
}

int TBitBtn::KindModalResult() const {
  return KindFace(FKind).Result;
}

void TBitBtn::ReadPart(TKindPart part) {
  if (IsLoading()) FPartsRead.Include(part);
}

void TBitBtn::Loaded() {
  TButton::Loaded();
  FPartsRead = {};
}

void TBitBtn::SetLayout(TButtonLayout value) {
  FLayout = value;
  if (auto* peer = WidgetPeer<IButtonPeer>()) peer->SetGlyphRight(value == blGlyphRight);
}

void TBitBtn::SetNumGlyphs(int value) {
  FNumGlyphs = std::clamp(value, 1, 4);
  ShowGlyph();
}

void TBitBtn::ShowGlyph() {
  auto* peer = WidgetPeer<IButtonPeer>();
  if (!peer) return;
  // A glyph of several images shows its first, the left part of the picture.
  if (!FGlyph.Empty() && FNumGlyphs > 1 && FGlyph.Image()) {
    const TRawImage& all = *FGlyph.Image();
    auto first = std::make_shared<TRawImage>();
    first->Width = all.Width / FNumGlyphs;
    first->Height = all.Height;
    for (int y = 0; y < all.Height; ++y)
      for (int x = 0; x < first->Width; ++x) first->Pixels.push_back(all.Pixel(x, y));
    peer->SetGlyph(first);
    return;
  }
  if (!FGlyph.Empty() && FGlyph.Image())
    peer->SetGlyph(FGlyph.Image());
  else
    peer->SetGlyph(FKind == bkCustom ? nullptr : LoadBitmapResource(KindFace(FKind).Glyph));
}

void TBitBtn::PeerCreated() {
  TButton::PeerCreated();
  WidgetPeer<IButtonPeer>()->SetGlyphRight(FLayout == blGlyphRight);
  ShowGlyph();
}

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void RegisterButtonsClasses() {
  TClassRegistry::Register<TSpeedButton>();
  TClassRegistry::Register<TBitBtn>();
}

}  // namespace host
