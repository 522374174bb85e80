#pragma once

#include <string>
#include <vector>

#include "host/Graphics.h"
#include "host/Types.h"

namespace host {

// Flags of DrawText, with the old values.
enum : unsigned {
  DT_LEFT = 0x0,
  DT_TOP = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_EXPANDTABS = 0x40,
  DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
};

// A drawing surface with a pen position, a font, a brush and a pen. Coordinates are relative to
// the current origin; a parent painting its children moves the origin and clips with
// PushClipOrigin/PopClipOrigin.
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override = default;

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }
  void SetFont(const TFont& font) { FFont.Assign(font); }
  void SetBrush(const TBrush& brush) { FBrush.Assign(brush); }

  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint p) { FPenPos = p; }
  void MoveTo(int x, int y) { FPenPos = {x, y}; }
  void LineTo(int x, int y);

  // Draws text with the top-left of its cell at (x, y); the pen ends at (x + TextWidth, y).
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  TSize TextExtent(const std::string& text) { return DoTextExtent(text); }

  // Fills with the brush (unless its style is bsClear) and outlines with the pen (unless its
  // style is psClear); the outline lies inside the rectangle.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void Ellipse(int x1, int y1, int x2, int y2);
  void RoundRect(int x1, int y1, int x2, int y2, int rx, int ry);
  void Draw(int x, int y, const TRawImage& image);
  void StretchDraw(const TRect& rect, const TRawImage& image);

  // Formatted text: alignment, word breaks, tab expansion and the accelerator character "&"
  // (underlines the next character, "&&" draws one "&") unless DT_NOPREFIX. With DT_CALCRECT
  // nothing is drawn and rect's Right and Bottom are set to the text's extent. Returns the
  // height of the text.
  int DrawText(const std::string& text, TRect& rect, unsigned flags);

  // Moves the origin by (dx, dy) and clips to clip (given in the new coordinates) until the
  // matching PopClipOrigin.
  void PushClipOrigin(int dx, int dy, const TRect& clip);
  void PopClipOrigin();
  // Drops clipping a control set on its own. Controls set none, and the bounds the canvas was
  // handed out with always stay, so this has nothing to undo.
  void ResetClip() {}
  TPoint Origin() const { return FClip.Origin; }

 protected:
  // Primitives in the current coordinates; implementations honour Origin() and the clip.
  virtual void DoTextOut(int x, int y, const std::string& text) = 0;
  virtual TSize DoTextExtent(const std::string& text) = 0;
  virtual void DoFillRect(const TRect& rect, const TBrush& brush) = 0;
  virtual void DoFrameRect(const TRect& rect, const TPen& pen) = 0;
  virtual void DoLine(TPoint from, TPoint to) = 0;
  virtual void DoEllipse(const TRect& rect) = 0;
  virtual void DoRoundRect(const TRect& rect, int rx, int ry) = 0;
  virtual void DoDraw(const TRect& dest, const TRawImage& image) = 0;
  virtual void DoClipChanged() {}

  struct ClipState {
    TPoint Origin;
    TRect Clip;  // absolute coordinates
    bool Clipped;
  };
  const ClipState& Clip() const { return FClip; }

 private:
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  TPoint FPenPos;
  ClipState FClip{{0, 0}, {}, false};
  std::vector<ClipState> FClipStack;
};

}  // namespace host
