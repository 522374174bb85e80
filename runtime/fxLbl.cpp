#include "runtime/fxLbl.h"

#include <string>

namespace mebrox {

using namespace host;

namespace {

constexpr size_t MaxCaptionChars = 255;

// The first count characters of a UTF-8 text, never splitting a character.
std::string LeadingChars(const std::string& text, size_t count) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bool startsChar = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsChar && chars++ == count) return text.substr(0, i);
  }
  return text;
}

// The shadow distance that suits an effect; the custom and deep-sunk looks keep the current one.
int PresetDistance(TEffectTypes effect, int current) {
  switch (effect) {
    case etRaise:
    case etSink:
      return 1;
    case etHighRaise:
    case etShadow:
      return 2;
    case etHighShadow:
      return 5;
    case etCustom:
    case etDeepSink:
      break;
  }
  return current;
}

}  // namespace

const TClassInfo& TfxLabel::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TfxLabel", &TLabel::StaticClassInfo());
    TPublisher<TfxLabel>(i)
        .SubObject<TAboutMebrox>(
            "About", [](TfxLabel& l) -> TAboutMebrox& { return l.About(); }, nullptr)
        .Integer("ShadowDistance", &TfxLabel::ShadowDistance, &TfxLabel::SetShadowDistance)
        .Color("ShadowColor", &TfxLabel::ShadowColor, &TfxLabel::SetShadowColor)
        .Color("LightColor", &TfxLabel::LightColor, &TfxLabel::SetLightColor)
        .Enumeration("EffectType", EffectTypesNames(), &TfxLabel::EffectType,
                     &TfxLabel::SetEffectType)
        // The label starts transparent, so only an opaque one is worth writing; with the
        // label's own default of false an opaque effects label would come back transparent.
        .Boolean("Transparent", &TfxLabel::Transparent, &TfxLabel::SetTransparent, true);
    return i;
  }();
  return info;
}

TfxLabel::TfxLabel(TComponent* owner) : TLabel(owner) {
  SetTransparent(true);
}

void TfxLabel::GetINISettings() {
  TSettingsSection ini("fxLabel");
  if (!ini.Used()) return;
  FEffectType = IntToEffectType(ini.ReadInteger("EffectType", 0));
  FShadowDistance = ini.ReadInteger("ShadowDistance", 1);
  ini.ApplyFont(Font(), "Font");
  FShadowColor = ini.ReadColor("ShadowColor", "clBlack");
  FLightColor = ini.ReadColor("LightColor", "clWhite");
  Invalidate();
}

// ---- properties

void TfxLabel::SetShadowDistance(int value) {
  if (IsLoading()) FDistanceRead = true;
  if (value == FShadowDistance) return;
  FShadowDistance = value;
  // A form being read restores effect and distance as they were written: coupling them there
  // would let the effect, read last, overwrite a distance chosen by hand.
  if (!IsLoading()) {
    if (value > 2 && FEffectType == etShadow)
      FEffectType = etCustom;
    else if (value != 5 && FEffectType == etHighShadow)
      FEffectType = etShadow;
  }
  Invalidate();
}

void TfxLabel::SetShadowColor(TColor value) {
  if (value == FShadowColor) return;
  FShadowColor = value;
  Invalidate();
}

void TfxLabel::SetLightColor(TColor value) {
  if (value == FLightColor) return;
  FLightColor = value;
  Invalidate();
}

void TfxLabel::SetEffectType(TEffectTypes value) {
  if (IsLoading()) FEffectRead = true;
  if (value == FEffectType) return;
  FEffectType = value;
  if (!IsLoading()) FShadowDistance = PresetDistance(value, FShadowDistance);
  Invalidate();
}

void TfxLabel::Loaded() {
  TLabel::Loaded();
  if (FEffectRead && !FDistanceRead) FShadowDistance = PresetDistance(FEffectType, FShadowDistance);
  FEffectRead = FDistanceRead = false;
  Invalidate();
}

// ---- painting

void TfxLabel::DrawLayer(TLayerDirection direction, int distance, TColor color) {
  Canvas().Font().SetColor(color);
  TRect rect = ClientRect();
  const int d = distance;
  switch (direction) {
    case ldUpLeft:
      rect = rect.Offset(-d, -d);
      break;
    case ldDownRight:
      rect = rect.Offset(d, d);
      break;
    case ldLeft:
      rect = rect.Offset(-d, 0);
      break;
    case ldRight:
      rect = rect.Offset(d, 0);
      break;
    case ldInPlace:
      break;
  }
  DoDrawText(rect, DT_EXPANDTABS | DT_WORDBREAK | AlignmentFlags());
}

void TfxLabel::Paint() {
  // Our DoDrawText leaves the font to its caller, so the plain caption needs it set here.
  Canvas().SetFont(Font());
  TLabel::Paint();

  Canvas().SetFont(Font());
  const TColor faceColor = Canvas().Font().Color();
  const TColor s = FShadowColor;
  const TColor l = FLightColor;
  const int d = FShadowDistance;
  switch (FEffectType) {
    case etCustom:
    case etShadow:
    case etHighShadow:
      DrawLayer(ldDownRight, d, s);
      break;
    case etDeepSink:
      DrawLayer(ldDownRight, 1, l);
      DrawLayer(ldRight, 2, l);
      DrawLayer(ldUpLeft, 1, s);
      DrawLayer(ldLeft, 2, s);
      break;
    case etRaise:
      DrawLayer(ldDownRight, 1, s);
      DrawLayer(ldUpLeft, 1, l);
      break;
    case etHighRaise:
      DrawLayer(ldDownRight, 1, s);
      DrawLayer(ldDownRight, 2, s);
      DrawLayer(ldUpLeft, 1, l);
      DrawLayer(ldUpLeft, 2, l);
      break;
    case etSink:
      DrawLayer(ldUpLeft, d, s);
      DrawLayer(ldDownRight, d, l);
      break;
  }
  DrawLayer(ldInPlace, 0, faceColor);
}

void TfxLabel::DoDrawText(TRect& rect, unsigned flags) {
  std::string text = LeadingChars(Caption(), MaxCaptionChars);
  const bool measuring = (flags & DT_CALCRECT) != 0;
  // An empty caption (or a lone accelerator mark) still measures one blank high.
  if (measuring && (text.empty() || (ShowAccelChar() && text == "&"))) text.assign(1, ' ');
  if (!ShowAccelChar()) flags |= DT_NOPREFIX;
  // Sizing happens outside painting, when the canvas may still hold a layer's colour or an
  // older font.
  if (measuring) Canvas().SetFont(Font());
  if (!Enabled()) Canvas().Font().SetColor(clGrayText);
  Canvas().DrawText(text, rect, flags);
}

}  // namespace mebrox
