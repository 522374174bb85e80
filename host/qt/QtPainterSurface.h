#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <optional>
#include <vector>

#include "host/Canvas.h"

namespace host::qt {

QFont ToQFont(const TFont& font);

// The Qt font and metrics of the font used last: layout measures and draws many pieces of text
// in a row with one font, and building Qt fonts is the costly part.
class QtFontCache {
 public:
  const QFont& Font(const TFont& font);
  const QFontMetrics& Metrics(const TFont& font);

 private:
  bool Matches(const TFont& font) const;
  std::string FName;
  int FHeight = 0;
  uint32_t FStyle = 0;
  bool FValid = false;
  QFont FFont;
  std::optional<QFontMetrics> FMetrics;
};
QColor ToQColor(TColor color);
QImage ToQImage(const TRawImage& image);
TRawImage FromQImage(const QImage& image);

// Text shaped once by Qt: its glyphs and where they sit, so that drawing it again only blits
// cached glyph images. Text that drawText lays out in ways a single glyph run cannot repeat
// (right-to-left runs, characters from fallback fonts, line separators) keeps no glyphs and is
// drawn as text.
class QtShapedText : public TShapedText {
 public:
  using TShapedText::TShapedText;
  bool AsText = true;
  QRawFont Font;
  std::vector<quint32> Glyphs;
  std::vector<QPointF> Positions;  // from the left end of the baseline
  int Ascent = 0;
  int DecorationEnd = 0;  // where drawText ends underline and strike-out, from the left
  bool Underline = false;
  bool StrikeOut = false;
  qreal UnderlineOffset = 0;  // below the baseline
  qreal StrikeOutOffset = 0;  // above the baseline
  qreal LineWidth = 1;
};

// Shapes text as QPainter::drawText would lay it out in the font.
std::unique_ptr<TShapedText> ShapeQtText(const std::string& text, const TFont& font,
                                         QtFontCache& fonts);
// What every surface that measures with Qt answers as its ShapeKey.
const void* QtShapeKey();

// A canvas surface that draws with a QPainter (a window's paint event or an image).
class QtPainterSurface : public TCanvasSurface {
 public:
  explicit QtPainterSurface(QPainter& painter) : FPainter(painter) {}
  ~QtPainterSurface() override { Flush(); }

  void TextOut(int x, int y, const std::string& text, const TFont& font) override;
  TSize TextExtent(const std::string& text, const TFont& font) override;
  void FillRect(const TRect& rect, const TBrush& brush) override;
  void FrameRect(const TRect& rect, const TPen& pen) override;
  void Line(TPoint from, TPoint to, const TPen& pen) override;
  void Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) override;
  void RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush, const TPen& pen) override;
  void DrawImage(const TRect& dest, const TRawImage& image) override;

  const void* ShapeKey() const override { return QtShapeKey(); }
  std::unique_ptr<TShapedText> ShapeText(const std::string& text, const TFont& font) override;
  // Plain glyphs of one font and colour wait to be drawn together with those that follow
  // them; anything else drawn first draws them.
  void DrawShaped(int x, int y, const TShapedText& text, const TFont& font) override;
  void Flush() override;

 protected:
  void ClipChanged() override;

 private:
  QRect Absolute(const TRect& r) const;
  QPainter& FPainter;
  QtFontCache FFonts;
  QRawFont FBatchFont;
  QColor FBatchColor;
  std::vector<quint32> FBatchGlyphs;
  std::vector<QPointF> FBatchPositions;
};

// Measures text with Qt's font metrics, without drawing.
class QtMeasureSurface : public TCanvasSurface {
 public:
  void TextOut(int, int, const std::string&, const TFont&) override {}
  TSize TextExtent(const std::string& text, const TFont& font) override;
  const void* ShapeKey() const override { return QtShapeKey(); }
  std::unique_ptr<TShapedText> ShapeText(const std::string& text, const TFont& font) override {
    return ShapeQtText(text, font, FFonts);
  }
  void FillRect(const TRect&, const TBrush&) override {}
  void FrameRect(const TRect&, const TPen&) override {}
  void Line(TPoint, TPoint, const TPen&) override {}
  void Ellipse(const TRect&, const TBrush&, const TPen&) override {}
  void RoundRect(const TRect&, int, int, const TBrush&, const TPen&) override {}
  void DrawImage(const TRect&, const TRawImage&) override {}

 private:
  QtFontCache FFonts;
};

// Paints into an in-memory image: for tests and pictures of controls.
class QtImageCanvas : public TCanvas {
 public:
  QtImageCanvas(int width, int height, TColor background = clWhite);
  ~QtImageCanvas() override;
  QtPainterSurface& Painter() { return *FSurface; }
  // Ends painting and gives the pixels.
  TRawImage Image();

 private:
  QImage FImage;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<QtPainterSurface> FSurface;
};

}  // namespace host::qt
