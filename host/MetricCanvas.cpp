#include "host/MetricCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace host {

int TMetricCanvas::CharWidth(const TFont& font) {
  int s = std::abs(font.Size());
  return std::max(1, s / 2) + (font.Style().Contains(fsBold) ? 1 : 0);
}

int TMetricCanvas::LineHeight(const TFont& font) {
  return std::max(1, std::abs(font.Size()) * 3 / 2);
}

static int CodePoints(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

TSize TMetricCanvas::DoTextExtent(const std::string& text) {
  return {CodePoints(text) * CharWidth(Font()), LineHeight(Font())};
}

TCanvasOp TMetricCanvas::Make(TCanvasOpKind kind, const TRect& rect) {
  TCanvasOp op;
  op.Kind = kind;
  op.Rect = rect.Offset(Origin().X, Origin().Y);
  if (Clip().Clipped) op.Clip = Clip().Clip;
  op.FontName = Font().Name();
  op.FontSize = Font().Size();
  op.FontColor = Font().Color();
  op.FontStyle = Font().Style();
  op.BrushStyle = Brush().Style();
  op.PenStyle = Pen().Style();
  return op;
}

void TMetricCanvas::DoTextOut(int x, int y, const std::string& text) {
  TSize extent = DoTextExtent(text);
  TCanvasOp op = Make(ckText, Bounds(x, y, extent.cx, extent.cy));
  op.Text = text;
  op.Color = Font().Color();
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoFillRect(const TRect& rect, const TBrush& brush) {
  TCanvasOp op = Make(ckFill, rect);
  op.Color = brush.Color();
  op.BrushStyle = brush.Style();
  op.Patterned = brush.Bitmap() != nullptr;
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoFrameRect(const TRect& rect, const TPen& pen) {
  TCanvasOp op = Make(ckFrame, rect);
  op.Color = pen.Color();
  op.PenStyle = pen.Style();
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoLine(TPoint from, TPoint to) {
  TCanvasOp op = Make(ckLine, {from.X, from.Y, to.X, to.Y});
  op.Color = Pen().Color();
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoEllipse(const TRect& rect) {
  TCanvasOp op = Make(ckEllipse, rect);
  op.Color = Brush().Color();
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoRoundRect(const TRect& rect, int rx, int ry) {
  TCanvasOp op = Make(ckRoundRect, rect);
  op.Color = Brush().Color();
  FOps.push_back(std::move(op));
}

void TMetricCanvas::DoDraw(const TRect& dest, const TRawImage& image) {
  FOps.push_back(Make(ckImage, dest));
}

std::vector<TCanvasOp> TMetricCanvas::OpsOf(TCanvasOpKind kind) const {
  std::vector<TCanvasOp> out;
  std::copy_if(FOps.begin(), FOps.end(), std::back_inserter(out),
               [kind](const TCanvasOp& op) { return op.Kind == kind; });
  return out;
}

}  // namespace host
