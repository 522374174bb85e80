#pragma once

#include <memory>
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

// Text measured and shaped once in one font, to be drawn again and again without doing either:
// a page that lays out the same pieces on every paint keeps these. A surface makes them, and
// every surface with the same ShapeKey draws them.
class TShapedText {
 public:
  TShapedText(std::string text, TSize extent) : FText(std::move(text)), FExtent(extent) {}
  virtual ~TShapedText() = default;
  const std::string& Text() const { return FText; }
  TSize Extent() const { return FExtent; }

 private:
  std::string FText;
  TSize FExtent;
};

// Where drawing lands: a window, an image or a recording. Coordinates are relative to the
// current origin; a parent painting its children moves the origin and clips with
// PushClipOrigin/PopClipOrigin.
class TCanvasSurface {
 public:
  virtual ~TCanvasSurface() = default;
  // Draws text with the top-left of its cell at (x, y).
  virtual void TextOut(int x, int y, const std::string& text, const TFont& font) = 0;
  // Width of the text and height of a line in the font.
  virtual TSize TextExtent(const std::string& text, const TFont& font) = 0;
  // Fills the rectangle with the brush's colour, hatch or pattern.
  virtual void FillRect(const TRect& rect, const TBrush& brush) = 0;
  // Outlines the rectangle inside its bounds with the pen.
  virtual void FrameRect(const TRect& rect, const TPen& pen) = 0;
  // Draws a line from one point up to (not including) the other.
  virtual void Line(TPoint from, TPoint to, const TPen& pen) = 0;
  // Fills (unless bsClear) and outlines (unless psClear) an ellipse or a rounded rectangle.
  virtual void Ellipse(const TRect& rect, const TBrush& brush, const TPen& pen) = 0;
  virtual void RoundRect(const TRect& rect, int rx, int ry, const TBrush& brush,
                         const TPen& pen) = 0;
  // Draws the image scaled into dest.
  virtual void DrawImage(const TRect& dest, const TRawImage& image) = 0;

  // Surfaces with the same key measure and shape text alike, so text one shaped any can draw.
  virtual const void* ShapeKey() const;
  // Measures and shapes text in the font; its colour is taken when the text is drawn.
  virtual std::unique_ptr<TShapedText> ShapeText(const std::string& text, const TFont& font);
  // Draws shaped text exactly as TextOut draws its text, in the font's colour.
  virtual void DrawShaped(int x, int y, const TShapedText& text, const TFont& font) {
    TextOut(x, y, text.Text(), font);
  }
  // Draws whatever shaped text the surface held back to draw in one go.
  virtual void Flush() {}

  // Moves the origin by (dx, dy) and clips to clip (in the new coordinates) until the matching
  // PopClipOrigin.
  void PushClipOrigin(int dx, int dy, const TRect& clip);
  void PopClipOrigin();
  TPoint Origin() const { return FState.Origin; }
  bool Clipped() const { return FState.Clipped; }
  TRect ClipRect() const { return FState.Clip; }  // absolute

 protected:
  // Told after the origin or clip changed.
  virtual void ClipChanged() {}

 private:
  struct State {
    TPoint Origin;
    TRect Clip;
    bool Clipped = false;
  };
  State FState;
  std::vector<State> FStack;
};

// Moves the origin and clips for the lifetime of the object, also when painting throws.
class TClipOriginScope {
 public:
  TClipOriginScope(TCanvasSurface& surface, int dx, int dy, const TRect& clip) : FSurface(surface) {
    FSurface.PushClipOrigin(dx, dy, clip);
  }
  ~TClipOriginScope() { FSurface.PopClipOrigin(); }
  TClipOriginScope(const TClipOriginScope&) = delete;
  TClipOriginScope& operator=(const TClipOriginScope&) = delete;

 private:
  TCanvasSurface& FSurface;
};

// The dotted rectangle that marks where the keyboard is, drawn inside rect: black dots on a
// white line, so that it shows on light and dark ground alike.
void DrawFocusRect(TCanvasSurface& surface, const TRect& rect);

// Measures text when a canvas has no surface (a control sizing itself outside a paint). The GUI
// backend installs the toolkit's measurements; until then the metric formula serves.
void SetMeasureSurface(TCanvasSurface* surface);
TCanvasSurface& MeasureSurface();

// The drawing state of the old canvas (font, brush, pen, pen position) over a surface. A
// control keeps one canvas for its life; it is bound to a surface while the control paints.
class TCanvas : public TPersistent {
 public:
  explicit TCanvas(TCanvasSurface* surface = nullptr) : FSurface(surface) {}

  TCanvasSurface* Surface() const { return FSurface; }
  void SetSurface(TCanvasSurface* surface) { FSurface = surface; }

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
  // A solid brush makes the text cell opaque; any other style leaves it transparent.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  TSize TextExtent(const std::string& text);
  // The same for text shaped in the canvas font by this surface's kind: nothing measured again.
  void TextOut(int x, int y, const TShapedText& text);

  // Fills with the brush (unless bsClear) and outlines with the pen (unless psClear).
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

  // Binds a canvas to a surface for the lifetime of the object, also when painting throws.
  class TSurfaceScope {
   public:
    TSurfaceScope(TCanvas& canvas, TCanvasSurface& surface) : FCanvas(canvas) {
      FCanvas.SetSurface(&surface);
    }
    ~TSurfaceScope() { FCanvas.SetSurface(nullptr); }
    TSurfaceScope(const TSurfaceScope&) = delete;
    TSurfaceScope& operator=(const TSurfaceScope&) = delete;

   private:
    TCanvas& FCanvas;
  };

  // Drops clipping a control set on its own. Controls set none, and the bounds the canvas was
  // handed out with always stay, so this has nothing to undo.
  void ResetClip() {}

 private:
  TCanvasSurface* FSurface;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  TPoint FPenPos;
};

}  // namespace host
