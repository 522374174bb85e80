#include "host/Canvas.h"

#include "host/MetricCanvas.h"

#include <algorithm>
#include <optional>
#include <typeinfo>

namespace host {

void TCanvasSurface::PushClipOrigin(int dx, int dy, const TRect& clip) {
  FStack.push_back(FState);
  State next;
  next.Origin = {FState.Origin.X + dx, FState.Origin.Y + dy};
  TRect absolute = clip.Offset(next.Origin.X, next.Origin.Y);
  next.Clip = FState.Clipped ? FState.Clip.Intersect(absolute) : absolute;
  next.Clipped = true;
  FState = next;
  ClipChanged();
}

void TCanvasSurface::PopClipOrigin() {
  if (FStack.empty()) return;
  FState = FStack.back();
  FStack.pop_back();
  ClipChanged();
}

// Surfaces of one class measure alike; one that shares its shaping with another class says so.
const void* TCanvasSurface::ShapeKey() const {
  return &typeid(*this);
}

std::unique_ptr<TShapedText> TCanvasSurface::ShapeText(const std::string& text, const TFont& font) {
  return std::make_unique<TShapedText>(text, TextExtent(text, font));
}

static TCanvasSurface*& MeasureSlot() {
  static TCanvasSurface* surface = nullptr;
  return surface;
}

void DrawFocusRect(TCanvasSurface& surface, const TRect& rect) {
  TPen pen;
  pen.SetColor(clWhite);
  surface.FrameRect(rect, pen);
  pen.SetColor(clBlack);
  pen.SetStyle(psDot);
  surface.FrameRect(rect, pen);
}

void SetMeasureSurface(TCanvasSurface* surface) {
  MeasureSlot() = surface;
}

TCanvasSurface& MeasureSurface() {
  if (MeasureSlot()) return *MeasureSlot();
  static TMetricSurface metric;
  return metric;
}

void TCanvas::LineTo(int x, int y) {
  if (FSurface && FPen.Style() != psClear) FSurface->Line(FPenPos, {x, y}, FPen);
  FPenPos = {x, y};
}

TSize TCanvas::TextExtent(const std::string& text) {
  return (FSurface ? *FSurface : MeasureSurface()).TextExtent(text, FFont);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  TSize extent = TextExtent(text);
  if (FSurface) {
    if (FBrush.Style() == bsSolid && !text.empty())
      FSurface->FillRect(Bounds(x, y, extent.cx, extent.cy), FBrush);
    FSurface->TextOut(x, y, text, FFont);
  }
  FPenPos = {x + extent.cx, y};
}

void TCanvas::TextOut(int x, int y, const TShapedText& text) {
  TSize extent = text.Extent();
  if (FSurface) {
    if (FBrush.Style() == bsSolid && !text.Text().empty())
      FSurface->FillRect(Bounds(x, y, extent.cx, extent.cy), FBrush);
    FSurface->DrawShaped(x, y, text, FFont);
  }
  FPenPos = {x + extent.cx, y};
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (!FSurface) return;
  TRect r{x1, y1, x2, y2};
  if (FBrush.Style() != bsClear) FSurface->FillRect(r, FBrush);
  if (FPen.Style() != psClear) FSurface->FrameRect(r, FPen);
}

void TCanvas::FillRect(const TRect& rect) {
  if (FSurface && FBrush.Style() != bsClear) FSurface->FillRect(rect, FBrush);
}

void TCanvas::FrameRect(const TRect& rect) {
  if (!FSurface) return;
  TPen pen;
  pen.SetColor(FBrush.Color());
  FSurface->FrameRect(rect, pen);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (FSurface) FSurface->Ellipse({x1, y1, x2, y2}, FBrush, FPen);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int rx, int ry) {
  if (FSurface) FSurface->RoundRect({x1, y1, x2, y2}, rx, ry, FBrush, FPen);
}

void TCanvas::Draw(int x, int y, const TRawImage& image) {
  if (FSurface && image.Width > 0 && image.Height > 0)
    FSurface->DrawImage(Bounds(x, y, image.Width, image.Height), image);
}

void TCanvas::StretchDraw(const TRect& rect, const TRawImage& image) {
  if (FSurface && image.Width > 0 && image.Height > 0 && !rect.IsEmpty())
    FSurface->DrawImage(rect, image);
}

namespace {

struct TextLine {
  std::string Text;
  int Underline = -1;  // byte index of the accelerator character, or -1
};

// Tabs advance to the next multiple of eight characters.
std::string ExpandTabStops(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') {
      do out += ' ';
      while (out.size() % 8 != 0);
    } else {
      out += c;
    }
  }
  return out;
}

// Removes accelerator marks: "&&" stands for "&", "&x" underlines x.
TextLine StripPrefix(const std::string& s) {
  TextLine line;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 >= s.size()) break;
      if (s[i + 1] == '&') {
        line.Text += '&';
        ++i;
        continue;
      }
      if (line.Underline < 0) line.Underline = static_cast<int>(line.Text.size());
      continue;
    }
    line.Text += s[i];
  }
  return line;
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
  // Paragraphs, then words.
  std::vector<std::string> paragraphs;
  if (flags & DT_SINGLELINE) {
    paragraphs.push_back(text);
  } else {
    size_t start = 0;
    while (true) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) {
        paragraphs.push_back(text.substr(start));
        break;
      }
      paragraphs.push_back(text.substr(start, end - start));
      start = end + 1;
      if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
  }

  const int maxWidth = rect.Width();
  std::vector<TextLine> lines;
  for (std::string para : paragraphs) {
    if (flags & DT_EXPANDTABS) para = ExpandTabStops(para);
    if (!(flags & DT_WORDBREAK)) {
      lines.push_back((flags & DT_NOPREFIX) ? TextLine{para, -1} : StripPrefix(para));
      continue;
    }
    // Greedy word wrap: a word wider than the rectangle keeps a line of its own.
    std::string current;
    size_t pos = 0;
    auto flush = [&] {
      while (!current.empty() && current.back() == ' ') current.pop_back();
      lines.push_back((flags & DT_NOPREFIX) ? TextLine{current, -1} : StripPrefix(current));
      current.clear();
    };
    bool any = false;
    while (pos <= para.size()) {
      size_t space = para.find(' ', pos);
      std::string word =
          para.substr(pos, space == std::string::npos ? std::string::npos : space - pos + 1);
      std::string candidate = current + word;
      std::string measured = candidate;
      while (!measured.empty() && measured.back() == ' ') measured.pop_back();
      int width = TextExtent((flags & DT_NOPREFIX) ? measured : StripPrefix(measured).Text).cx;
      if (!current.empty() && width > maxWidth) {
        flush();
        current = word;
      } else {
        current = candidate;
      }
      any = true;
      if (space == std::string::npos) break;
      pos = space + 1;
    }
    if (any || lines.empty()) flush();
  }

  // Each line measured once, for the size and for its place; any extent gives the line height.
  std::vector<int> widths;
  int lineHeight = 0, widest = 0;
  for (const TextLine& l : lines) {
    TSize extent = TextExtent(l.Text);
    widths.push_back(extent.cx);
    widest = std::max(widest, extent.cx);
    lineHeight = extent.cy;
  }
  if (lines.empty()) lineHeight = TextExtent("Wg").cy;
  int totalHeight = lineHeight * static_cast<int>(lines.size());

  if (flags & DT_CALCRECT) {
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + totalHeight;
    return totalHeight;
  }

  int y = rect.Top;
  if (flags & DT_SINGLELINE) {
    if (flags & DT_VCENTER)
      y = rect.Top + (rect.Height() - lineHeight) / 2;
    else if (flags & DT_BOTTOM)
      y = rect.Bottom - lineHeight;
  }
  if (!FSurface) return totalHeight;
  bool clip = !(flags & DT_NOCLIP);
  std::optional<TClipOriginScope> clipped;
  if (clip) clipped.emplace(*FSurface, 0, 0, rect);
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLine& l = lines[i];
    int width = widths[i];
    int x = rect.Left;
    if (flags & DT_CENTER)
      x = rect.Left + (rect.Width() - width) / 2;
    else if (flags & DT_RIGHT)
      x = rect.Right - width;
    if (FBrush.Style() == bsSolid && !l.Text.empty())
      FSurface->FillRect(Bounds(x, y, width, lineHeight), FBrush);
    FSurface->TextOut(x, y, l.Text, FFont);
    if (l.Underline >= 0 && l.Underline < static_cast<int>(l.Text.size())) {
      int ux = x + TextExtent(l.Text.substr(0, static_cast<size_t>(l.Underline))).cx;
      int uw = TextExtent(l.Text.substr(static_cast<size_t>(l.Underline), 1)).cx;
      TPen pen;
      pen.SetColor(FFont.Color());
      FSurface->Line({ux, y + lineHeight - 2}, {ux + uw, y + lineHeight - 2}, pen);
    }
    y += lineHeight;
  }
  return totalHeight;
}

}  // namespace host
