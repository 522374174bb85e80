#include "host/qt/QtPainterSurface.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>
#include <cmath>
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

namespace {

// Characters that drawText places by rules one left-to-right glyph run does not repeat:
// controls, separators and anything written right to left.
bool NeedsTextLayout(const QString& text) {
  for (QChar ch : text) {
    char16_t u = ch.unicode();
    if (u < 0x20 || u == 0x7F || u == 0x2028 || u == 0x2029) return true;
    if (u < 0x80) continue;
    switch (ch.direction()) {
      case QChar::DirL:
      case QChar::DirEN:
      case QChar::DirES:
      case QChar::DirET:
      case QChar::DirCS:
      case QChar::DirNSM:
      case QChar::DirBN:
      case QChar::DirWS:
      case QChar::DirON:
        break;
      default:
        return true;
    }
  }
  return false;
}

}  // namespace

const void* QtShapeKey() {
  static const char key = 0;
  return &key;
}

std::unique_ptr<TShapedText> ShapeQtText(const std::string& text, const TFont& font,
                                         QtFontCache& fonts) {
  const QFont& qfont = fonts.Font(font);
  const QFontMetrics& metrics = fonts.Metrics(font);
  QString s = QString::fromStdString(text);
  auto shaped =
      std::make_unique<QtShapedText>(text, TSize{metrics.horizontalAdvance(s), metrics.height()});
  if (s.isEmpty()) {
    shaped->AsText = false;  // drawText draws nothing for it, decorations included
    return shaped;
  }
  if (NeedsTextLayout(s)) return shaped;
  QTextLayout layout(s, qfont);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e6);
  layout.endLayout();
  if (line.textLength() != s.size()) return shaped;
  QList<QGlyphRun> runs = layout.glyphRuns();
  // Several runs mean fallback fonts, whose decorations drawText joins up its own way.
  if (runs.size() != 1) return shaped;
  const QGlyphRun& run = runs.first();
  shaped->Font = run.rawFont();
  const QList<quint32> glyphs = run.glyphIndexes();
  const QList<QPointF> positions = run.positions();
  shaped->Glyphs.assign(glyphs.begin(), glyphs.end());
  shaped->Positions.reserve(static_cast<size_t>(positions.size()));
  for (QPointF p : positions) shaped->Positions.emplace_back(p.x(), p.y() - line.ascent());
  shaped->Ascent = metrics.ascent();
  // drawText rules its lines from the pen to the floor of the pen plus the advance, one line
  // thickness wide, the underline at least half a pixel inside the descent.
  shaped->DecorationEnd = static_cast<int>(std::floor(line.horizontalAdvance()));
  shaped->Underline = qfont.underline();
  shaped->StrikeOut = qfont.strikeOut();
  if (shaped->Underline || shaped->StrikeOut) {
    QFontMetricsF exact(qfont);
    qreal position = exact.underlinePos();
    qreal offset = std::ceil(position) + 0.5;
    if (position <= exact.descent()) offset = std::min(offset, exact.descent() - 0.5);
    shaped->UnderlineOffset = offset;
    shaped->StrikeOutOffset = exact.ascent() / 3.0;
    shaped->LineWidth = exact.lineWidth();
  }
  shaped->AsText = false;
  return shaped;
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
  Flush();
  if (Clipped()) {
    TRect c = ClipRect();
    FPainter.setClipRect(QRect(c.Left, c.Top, c.Width(), c.Height()));
  } else {
    FPainter.setClipping(false);
  }
}

void QtPainterSurface::TextOut(int x, int y, const std::string& text, const TFont& font) {
  Flush();
  FPainter.setFont(FFonts.Font(font));
  FPainter.setPen(ToQColor(font.Color()));
  FPainter.drawText(QPoint(x + Origin().X, y + Origin().Y + FFonts.Metrics(font).ascent()),
                    QString::fromStdString(text));
}

std::unique_ptr<TShapedText> QtPainterSurface::ShapeText(const std::string& text,
                                                         const TFont& font) {
  return ShapeQtText(text, font, FFonts);
}

void QtPainterSurface::DrawShaped(int x, int y, const TShapedText& text, const TFont& font) {
  const auto* shaped = dynamic_cast<const QtShapedText*>(&text);
  if (!shaped || shaped->AsText) {
    TextOut(x, y, text.Text(), font);
    return;
  }
  if (shaped->Glyphs.empty()) return;
  QColor color = ToQColor(font.Color());
  bool decorated = shaped->Underline || shaped->StrikeOut;
  if (!FBatchGlyphs.empty() && (color != FBatchColor || shaped->Font != FBatchFont)) Flush();
  if (FBatchGlyphs.empty()) {
    FBatchFont = shaped->Font;
    FBatchColor = color;
  }
  QPointF origin(x + Origin().X, y + Origin().Y + shaped->Ascent);
  FBatchGlyphs.insert(FBatchGlyphs.end(), shaped->Glyphs.begin(), shaped->Glyphs.end());
  for (QPointF p : shaped->Positions) FBatchPositions.push_back(p + origin);
  if (!decorated) return;
  // A line drawn over the next piece's glyphs would cover them, so decorated text is drawn at
  // once, in drawText's order: glyphs, underline, strike-out.
  Flush();
  QPen pen(color);
  pen.setWidthF(shaped->LineWidth);
  pen.setCapStyle(Qt::FlatCap);
  FPainter.setPen(pen);
  FPainter.setBrush(Qt::NoBrush);
  qreal left = origin.x(), right = origin.x() + shaped->DecorationEnd;
  if (shaped->Underline) {
    qreal at = origin.y() + shaped->UnderlineOffset;
    FPainter.drawLine(QLineF(left, at, right, at));
  }
  if (shaped->StrikeOut) {
    qreal at = origin.y() - shaped->StrikeOutOffset;
    FPainter.drawLine(QLineF(left, at, right, at));
  }
}

void QtPainterSurface::Flush() {
  if (FBatchGlyphs.empty()) return;
  if (FPainter.isActive()) {
    QGlyphRun run;
    run.setRawFont(FBatchFont);
    run.setRawData(FBatchGlyphs.data(), FBatchPositions.data(),
                   static_cast<int>(FBatchGlyphs.size()));
    FPainter.setPen(FBatchColor);
    FPainter.drawGlyphRun(QPointF(0, 0), run);
  }
  FBatchGlyphs.clear();
  FBatchPositions.clear();
}

TSize QtPainterSurface::TextExtent(const std::string& text, const TFont& font) {
  const QFontMetrics& metrics = FFonts.Metrics(font);
  return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

void QtPainterSurface::FillRect(const TRect& rect, const TBrush& brush) {
  Flush();
  if (rect.IsEmpty()) return;
  FPainter.fillRect(Absolute(rect), ToQBrush(brush));
}

void QtPainterSurface::FrameRect(const TRect& rect, const TPen& pen) {
  Flush();
  if (rect.IsEmpty() || pen.Style() == psClear) return;
  FPainter.setPen(ToQPen(pen));
  FPainter.setBrush(Qt::NoBrush);
  QRect r = Absolute(rect);
  int w = std::max(1, pen.Width());
  // The outline lies inside the rectangle, as the old canvas drew it.
  FPainter.drawRect(QRectF(r.x() + w / 2.0, r.y() + w / 2.0, r.width() - w, r.height() - w));
}

void QtPainterSurface::Line(TPoint from, TPoint to, const TPen& pen) {
  Flush();
  if (pen.Style() == psClear) return;
  FPainter.setPen(ToQPen(pen));
  FPainter.drawLine(QPoint(from.X + Origin().X, from.Y + Origin().Y),
                    QPoint(to.X + Origin().X, to.Y + Origin().Y));
}

void QtPainterSurface::Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) {
  Flush();
  FPainter.setPen(pen.Style() == psClear ? QPen(Qt::NoPen) : ToQPen(pen));
  FPainter.setBrush(brush.Style() == bsClear && !brush.Bitmap() ? QBrush(Qt::NoBrush)
                                                                : ToQBrush(brush));
  QRect r = Absolute(rect);
  FPainter.drawEllipse(r.adjusted(0, 0, -1, -1));
}

void QtPainterSurface::RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush,
                                 const TPen& pen) {
  Flush();
  FPainter.setPen(pen.Style() == psClear ? QPen(Qt::NoPen) : ToQPen(pen));
  FPainter.setBrush(brush.Style() == bsClear && !brush.Bitmap() ? QBrush(Qt::NoBrush)
                                                                : ToQBrush(brush));
  QRect r = Absolute(rect);
  FPainter.drawRoundedRect(r.adjusted(0, 0, -1, -1), rx / 2.0, ry / 2.0);
}

void QtPainterSurface::DrawImage(const TRect& dest, const TRawImage& image) {
  Flush();
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
  FSurface->Flush();
  if (FPainter && FPainter->isActive()) FPainter->end();
  return FromQImage(FImage);
}

}  // namespace host::qt
