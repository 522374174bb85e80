#pragma once

#include "host/Controls.h"

namespace host {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const std::vector<std::string>& AlignmentNames();

// A caption drawn on its parent, sized to its text unless AutoSize is off.
class TLabel : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

  void Loaded() override;

 protected:
  void Paint() override;
  // Draws (or, with DT_CALCRECT, measures) the caption into rect on the canvas.
  virtual void DoDrawText(TRect& rect, unsigned flags);
  // Sizes the label to its caption when AutoSize is on.
  void AdjustBounds();
  unsigned AlignmentFlags() const;
  void FontChanged() override;
  void TextChanged() override;

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  bool FWordWrap = false;
};

void RegisterStdCtrlsClasses();

}  // namespace host
