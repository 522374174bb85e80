#pragma once

#include "host/StdCtrls.h"
#include "runtime/About.h"
#include "runtime/DefaultSettings.h"

namespace mebrox {

// A label whose caption stands out raised, sunk or shadowed: the caption is drawn a few times
// at small offsets in a shadow and a light colour, then once more in its own colour on top.
class TfxLabel : public host::TLabel {
  HOST_PUBLISHED_CLASS
 public:
  explicit TfxLabel(host::TComponent* owner);

  TAboutMebrox& About() { return FAbout; }
  int ShadowDistance() const { return FShadowDistance; }
  // A distance that no longer fits the chosen shadow turns it into the effect that does. While
  // a form is being read, both setters store the value alone.
  void SetShadowDistance(int value);
  host::TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(host::TColor value);
  host::TColor LightColor() const { return FLightColor; }
  void SetLightColor(host::TColor value);
  TEffectTypes EffectType() const { return FEffectType; }
  // Also presets the shadow distance that suits the effect.
  void SetEffectType(TEffectTypes value);

  // Applies the "fxLabel" section of the settings file; the effect and distance are taken as
  // they stand, without the coupling of their setters.
  void GetINISettings();
  // A component dropped from the palette takes its first look from the settings file.
  void DroppedFromPalette() override { GetINISettings(); }

 protected:
  // A form file that names an effect but no distance (written by hand) gets the effect's own
  // distance, as choosing the effect in the designer would have given it.
  void Loaded() override;
  void Paint() override;
  // Draws with the canvas font as the caller set it, so that each layer keeps its colour.
  void DoDrawText(host::TRect& rect, unsigned flags) override;

 private:
  enum TLayerDirection { ldUpLeft, ldDownRight, ldLeft, ldRight, ldInPlace };
  // One copy of the caption, moved by distance in a direction, in colour.
  void DrawLayer(TLayerDirection direction, int distance, host::TColor color);

  TAboutMebrox FAbout;
  int FShadowDistance = 0;
  host::TColor FShadowColor = host::clBlack;
  host::TColor FLightColor = host::clWhite;
  TEffectTypes FEffectType = etCustom;
  bool FEffectRead = false, FDistanceRead = false;  // while a form is read
};

}  // namespace mebrox
