#include "host/MetricCanvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace host {

int TMetricSurface::CharWidth(const TFont& font) {
  int s = std::abs(font.Size());
  return std::max(1, s / 2) + (font.Style().Contains(fsBold) ? 1 : 0);
}

int TMetricSurface::LineHeight(const TFont& font) {
  return std::max(1, std::abs(font.Size()) * 3 / 2);
}

static int CodePoints(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

TSize TMetricSurface::TextExtent(const std::string& text, const TFont& font) {
  int64_t width = static_cast<int64_t>(CodePoints(text)) * CharWidth(font);
  return {static_cast<int>(std::min<int64_t>(width, std::numeric_limits<int>::max() / 2)),
          LineHeight(font)};
}

TCanvasOp TMetricSurface::Make(TCanvasOpKind kind, const TRect& rect) {
  TCanvasOp op;
  op.Kind = kind;
  op.Rect = rect.Offset(Origin().X, Origin().Y);
  if (Clipped()) op.Clip = ClipRect();
  return op;
}

void TMetricSurface::TextOut(int x, int y, const std::string& text, const TFont& font) {
  TSize extent = TextExtent(text, font);
  TCanvasOp op = Make(ckText, Bounds(x, y, extent.cx, extent.cy));
  op.Text = text;
  op.FontName = font.Name();
  op.FontSize = font.Size();
  op.FontColor = font.Color();
  op.FontStyle = font.Style();
  op.Color = font.Color();
  FOps.push_back(std::move(op));
}

void TMetricSurface::FillRect(const TRect& rect, const TBrush& brush) {
  TCanvasOp op = Make(ckFill, rect);
  op.Color = brush.Color();
  op.BrushStyle = brush.Style();
  op.Patterned = brush.Bitmap() != nullptr;
  FOps.push_back(std::move(op));
}

void TMetricSurface::FrameRect(const TRect& rect, const TPen& pen) {
  TCanvasOp op = Make(ckFrame, rect);
  op.Color = pen.Color();
  op.PenStyle = pen.Style();
  op.PenWidth = pen.Width();
  FOps.push_back(std::move(op));
}

void TMetricSurface::Line(TPoint from, TPoint to, const TPen& pen) {
  TCanvasOp op = Make(ckLine, {from.X, from.Y, to.X, to.Y});
  op.Color = pen.Color();
  op.PenStyle = pen.Style();
  op.PenWidth = pen.Width();
  FOps.push_back(std::move(op));
}

void TMetricSurface::Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) {
  TCanvasOp op = Make(ckEllipse, rect);
  op.Color = brush.Color();
  op.BrushStyle = brush.Style();
  op.PenStyle = pen.Style();
  FOps.push_back(std::move(op));
}

void TMetricSurface::RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush,
                               const TPen& pen) {
  TCanvasOp op = Make(ckRoundRect, rect);
  op.Color = brush.Color();
  op.BrushStyle = brush.Style();
  op.PenStyle = pen.Style();
  FOps.push_back(std::move(op));
}

void TMetricSurface::DrawImage(const TRect& dest, const TRawImage& image) {
  FOps.push_back(Make(ckImage, dest));
}

std::vector<TCanvasOp> TMetricSurface::OpsOf(TCanvasOpKind kind) const {
  std::vector<TCanvasOp> out;
  std::copy_if(FOps.begin(), FOps.end(), std::back_inserter(out),
               [kind](const TCanvasOp& op) { return op.Kind == kind; });
  return out;
}

}  // namespace host
