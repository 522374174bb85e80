#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/Canvas.h"

namespace host {

enum TCanvasOpKind { ckText, ckFill, ckFrame, ckLine, ckEllipse, ckRoundRect, ckImage };

// One thing drawn on a TMetricSurface, in absolute coordinates, with the attributes in force.
struct TCanvasOp {
  TCanvasOpKind Kind = ckText;
  TRect Rect;                 // text cell, area or image; a line runs Left,Top to Right,Bottom
  std::optional<TRect> Clip;  // absolute clip in force, if any
  std::string Text;
  std::string FontName;
  int FontSize = 0;
  TColor FontColor = 0;
  TFontStyles FontStyle;
  TColor Color = 0;  // text: font colour; fill and shapes: brush colour; frame and line: pen
  TBrushStyle BrushStyle = bsSolid;
  bool Patterned = false;  // filled with a brush bitmap
  TPenStyle PenStyle = psSolid;
  int PenWidth = 1;
};

// A surface for tests and layout work that draws nothing: it measures text by a fixed formula
// and records every operation.
//
// Text metrics, with S = |Font.Size()|:
//   each character (UTF-8 code point) is max(1, S / 2) pixels wide, plus 1 when bold;
//   a line is max(1, S * 3 / 2) pixels high, whatever its text.
class TMetricSurface : public TCanvasSurface {
 public:
  static int CharWidth(const TFont& font);
  static int LineHeight(const TFont& font);

  const std::vector<TCanvasOp>& Ops() const { return FOps; }
  std::vector<TCanvasOp> OpsOf(TCanvasOpKind kind) const;
  void ClearOps() { FOps.clear(); }

  void TextOut(int x, int y, const std::string& text, const TFont& font) override;
  TSize TextExtent(const std::string& text, const TFont& font) override;
  void FillRect(const TRect& rect, const TBrush& brush) override;
  void FrameRect(const TRect& rect, const TPen& pen) override;
  void Line(TPoint from, TPoint to, const TPen& pen) override;
  void Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) override;
  void RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush, const TPen& pen) override;
  void DrawImage(const TRect& dest, const TRawImage& image) override;

 private:
  TCanvasOp Make(TCanvasOpKind kind, const TRect& rect);
  std::vector<TCanvasOp> FOps;
};

// A canvas on its own metric surface.
class TMetricCanvas : public TCanvas {
 public:
  TMetricCanvas() : TCanvas(&FMetric) {}
  TMetricSurface& Metric() { return FMetric; }
  const std::vector<TCanvasOp>& Ops() const { return FMetric.Ops(); }
  std::vector<TCanvasOp> OpsOf(TCanvasOpKind kind) const { return FMetric.OpsOf(kind); }
  void ClearOps() { FMetric.ClearOps(); }

 private:
  TMetricSurface FMetric;
};

}  // namespace host
