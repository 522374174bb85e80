#include "host/qt/QtPainterSurface.h"

#include <QFontMetrics>
#include <cstdlib>
#include <cstring>

namespace host::qt {

QFont ToQFont(const TFont& font) {
  QFont f(QString::fromStdString(font.Name()));
  // Height is the old character height in pixels; Qt's pixel size is the same measure.
  f.setPixelSize(std::max(1, std::abs(font.Height())));
  f.setBold(font.Style().Contains(fsBold));
  f.setItalic(font.Style().Contains(fsItalic));
  f.setUnderline(font.Style().Contains(fsUnderline));
  f.setStrikeOut(font.Style().Contains(fsStrikeOut));
  return f;
}

bool QtFontCache::Matches(const TFont& font) const {
  return FValid && FHeight == font.Height() && FStyle == font.Style().Mask() &&
         FName == font.Name();
}

const QFont& QtFontCache::Font(const TFont& font) {
  if (!Matches(font)) {
    FName = font.Name();
    FHeight = font.Height();
    FStyle = font.Style().Mask();
    FFont = ToQFont(font);
    FMetrics.emplace(FFont);
    FValid = true;
  }
  return FFont;
}

const QFontMetrics& QtFontCache::Metrics(const TFont& font) {
  Font(font);
  return *FMetrics;
}

QColor ToQColor(TColor color) {
  uint32_t rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QImage ToQImage(const TRawImage& image) {
  QImage q(image.Width, image.Height, QImage::Format_ARGB32);
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(q.scanLine(y), image.Pixels.data() + static_cast<size_t>(y * image.Width),
                static_cast<size_t>(image.Width) * 4);
  return q;
}

TRawImage FromQImage(const QImage& source) {
  QImage q = source.convertToFormat(QImage::Format_ARGB32);
  TRawImage image;
  image.Width = q.width();
  image.Height = q.height();
  image.Pixels.resize(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height));
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(image.Pixels.data() + static_cast<size_t>(y * image.Width), q.constScanLine(y),
                static_cast<size_t>(image.Width) * 4);
  return image;
}

static Qt::BrushStyle ToQtBrushStyle(TBrushStyle style) {
  switch (style) {
    case bsSolid:
      return Qt::SolidPattern;
    case bsClear:
      return Qt::NoBrush;
    case bsHorizontal:
      return Qt::HorPattern;
    case bsVertical:
      return Qt::VerPattern;
    case bsFDiagonal:
      return Qt::FDiagPattern;
    case bsBDiagonal:
      return Qt::BDiagPattern;
    case bsCross:
      return Qt::CrossPattern;
    case bsDiagCross:
      return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

static QBrush ToQBrush(const TBrush& brush) {
  if (brush.Bitmap()) return QBrush(ToQImage(*brush.Bitmap()));
  return QBrush(ToQColor(brush.Color()), ToQtBrushStyle(brush.Style()));
}

static QPen ToQPen(const TPen& pen) {
  Qt::PenStyle style = Qt::SolidLine;
  switch (pen.Style()) {
    case psSolid:
    case psInsideFrame:
      style = Qt::SolidLine;
      break;
    case psDash:
      style = Qt::DashLine;
      break;
    case psDot:
      style = Qt::DotLine;
      break;
    case psDashDot:
      style = Qt::DashDotLine;
      break;
    case psDashDotDot:
      style = Qt::DashDotDotLine;
      break;
    case psClear:
      style = Qt::NoPen;
      break;
  }
  QPen q(ToQColor(pen.Color()), std::max(1, pen.Width()), style);
  q.setJoinStyle(Qt::MiterJoin);
  return q;
}

QRect QtPainterSurface::Absolute(const TRect& r) const {
  return QRect(r.Left + Origin().X, r.Top + Origin().Y, r.Width(), r.Height());
}

void QtPainterSurface::ClipChanged() {
  if (Clipped()) {
    TRect c = ClipRect();
    FPainter.setClipRect(QRect(c.Left, c.Top, c.Width(), c.Height()));
  } else {
    FPainter.setClipping(false);
  }
}

void QtPainterSurface::TextOut(int x, int y, const std::string& text, const TFont& font) {
  FPainter.setFont(FFonts.Font(font));
  FPainter.setPen(ToQColor(font.Color()));
  FPainter.drawText(QPoint(x + Origin().X, y + Origin().Y + FFonts.Metrics(font).ascent()),
                    QString::fromStdString(text));
}

TSize QtPainterSurface::TextExtent(const std::string& text, const TFont& font) {
  const QFontMetrics& metrics = FFonts.Metrics(font);
  return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

void QtPainterSurface::FillRect(const TRect& rect, const TBrush& brush) {
  if (rect.IsEmpty()) return;
  FPainter.fillRect(Absolute(rect), ToQBrush(brush));
}

void QtPainterSurface::FrameRect(const TRect& rect, const TPen& pen) {
  if (rect.IsEmpty() || pen.Style() == psClear) return;
  FPainter.setPen(ToQPen(pen));
  FPainter.setBrush(Qt::NoBrush);
  QRect r = Absolute(rect);
  int w = std::max(1, pen.Width());
  // The outline lies inside the rectangle, as the old canvas drew it.
  FPainter.drawRect(QRectF(r.x() + w / 2.0, r.y() + w / 2.0, r.width() - w, r.height() - w));
}

void QtPainterSurface::Line(TPoint from, TPoint to, const TPen& pen) {
  if (pen.Style() == psClear) return;
  FPainter.setPen(ToQPen(pen));
  FPainter.drawLine(QPoint(from.X + Origin().X, from.Y + Origin().Y),
                    QPoint(to.X + Origin().X, to.Y + Origin().Y));
}

void QtPainterSurface::Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) {
  FPainter.setPen(pen.Style() == psClear ? QPen(Qt::NoPen) : ToQPen(pen));
  FPainter.setBrush(brush.Style() == bsClear && !brush.Bitmap() ? QBrush(Qt::NoBrush)
                                                                : ToQBrush(brush));
  QRect r = Absolute(rect);
  FPainter.drawEllipse(r.adjusted(0, 0, -1, -1));
}

void QtPainterSurface::RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush,
                                 const TPen& pen) {
  FPainter.setPen(pen.Style() == psClear ? QPen(Qt::NoPen) : ToQPen(pen));
  FPainter.setBrush(brush.Style() == bsClear && !brush.Bitmap() ? QBrush(Qt::NoBrush)
                                                                : ToQBrush(brush));
  QRect r = Absolute(rect);
  FPainter.drawRoundedRect(r.adjusted(0, 0, -1, -1), rx / 2.0, ry / 2.0);
}

void QtPainterSurface::DrawImage(const TRect& dest, const TRawImage& image) {
  FPainter.drawImage(Absolute(dest), ToQImage(image));
}

TSize QtMeasureSurface::TextExtent(const std::string& text, const TFont& font) {
  const QFontMetrics& metrics = FFonts.Metrics(font);
  return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

QtImageCanvas::QtImageCanvas(int width, int height, TColor background)
    : FImage(width, height, QImage::Format_ARGB32) {
  FImage.fill(ToQColor(background));
  FPainter = std::make_unique<QPainter>(&FImage);
  FSurface = std::make_unique<QtPainterSurface>(*FPainter);
  SetSurface(FSurface.get());
}

QtImageCanvas::~QtImageCanvas() {
  SetSurface(nullptr);
  FSurface.reset();
  FPainter.reset();
}

TRawImage QtImageCanvas::Image() {
  if (FPainter && FPainter->isActive()) FPainter->end();
  return FromQImage(FImage);
}

}  // namespace host::qt
