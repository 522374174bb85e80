#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/Canvas.h"

namespace host {

// One thing drawn on a TMetricCanvas, in absolute coordinates, with the attributes in force.
enum TCanvasOpKind { ckText, ckFill, ckFrame, ckLine, ckEllipse, ckRoundRect, ckImage };

struct TCanvasOp {
  TCanvasOpKind Kind = ckText;
  TRect Rect;  // the cell, area or image rectangle; a line runs Left,Top to Right,Bottom
  std::optional<TRect> Clip;  // absolute clip in force, if any
  std::string Text;
  std::string FontName;
  int FontSize = 0;
  TColor FontColor = 0;
  TFontStyles FontStyle;
  TColor Color = 0;  // fill: brush colour; frame and line: pen colour
  TBrushStyle BrushStyle = bsSolid;
  bool Patterned = false;  // filled with a brush bitmap
  TPenStyle PenStyle = psSolid;
};

// A canvas for tests and layout work that draws nothing: it measures text by a fixed formula
// and records every operation.
//
// Text metrics, with S = |Font.Size()|:
//   each character (UTF-8 code point) is max(1, S / 2) pixels wide, plus 1 when bold;
//   a line is max(1, S * 3 / 2) pixels high, whatever its text.
class TMetricCanvas : public TCanvas {
 public:
  static int CharWidth(const TFont& font);
  static int LineHeight(const TFont& font);

  const std::vector<TCanvasOp>& Ops() const { return FOps; }
  std::vector<TCanvasOp> OpsOf(TCanvasOpKind kind) const;
  void ClearOps() { FOps.clear(); }

 protected:
  void DoTextOut(int x, int y, const std::string& text) override;
  TSize DoTextExtent(const std::string& text) override;
  void DoFillRect(const TRect& rect, const TBrush& brush) override;
  void DoFrameRect(const TRect& rect, const TPen& pen) override;
  void DoLine(TPoint from, TPoint to) override;
  void DoEllipse(const TRect& rect) override;
  void DoRoundRect(const TRect& rect, int rx, int ry) override;
  void DoDraw(const TRect& dest, const TRawImage& image) override;

 private:
  TCanvasOp Make(TCanvasOpKind kind, const TRect& rect);
  std::vector<TCanvasOp> FOps;
};

}  // namespace host
