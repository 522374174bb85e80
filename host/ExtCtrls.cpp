#include "host/ExtCtrls.h"

#include <algorithm>

namespace host {

template <class T>
static TFont& FontOf(T& c) {
  return c.Font();
}

// ---- TPaintBox

const TClassInfo& TPaintBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TPaintBox", &TGraphicControl::StaticClassInfo());
    TPublisher<TPaintBox>(i)
        .Enumeration("Align", AlignNames(), &TPaintBox::Align, &TPaintBox::SetAlign, alNone)
        .Color("Color", &TPaintBox::Color, &TPaintBox::SetColor, clBtnFace)
        .SubObject<TFont>("Font", &FontOf<TPaintBox>, &TPaintBox::SetFont);
    return i;
  }();
  return info;
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas().SetFont(Font());
  Canvas().Brush().SetColor(Color());
  if (IsDesigning()) {
    Canvas().Pen().SetStyle(psDash);
    Canvas().Brush().SetStyle(bsClear);
    Canvas().Rectangle(0, 0, Width(), Height());
  }
  if (OnPaint) OnPaint(this);
}

// ---- TShape

const std::vector<std::string>& ShapeTypeNames() {
  static const std::vector<std::string> names = {"stRectangle",   "stSquare",  "stRoundRect",
                                                 "stRoundSquare", "stEllipse", "stCircle"};
  return names;
}

const TClassInfo& TShape::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TShape", &TGraphicControl::StaticClassInfo());
    TPublisher<TShape>(i)
        .Enumeration("Align", AlignNames(), &TShape::Align, &TShape::SetAlign, alNone)
        .SubObject<TBrush>(
            "Brush", [](TShape& s) -> TBrush& { return s.Brush(); }, &TShape::SetBrush)
        .SubObject<TPen>(
            "Pen", [](TShape& s) -> TPen& { return s.Pen(); }, &TShape::SetPen)
        .Enumeration("Shape", ShapeTypeNames(), &TShape::Shape, &TShape::SetShape, stRectangle);
    return i;
  }();
  return info;
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 65);
  FBrush.OnChange = [this](TObject*) { Invalidate(); };
  FPen.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType value) {
  if (value == FShape) return;
  FShape = value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas& c = Canvas();
  c.Pen().Assign(FPen);
  c.Brush().Assign(FBrush);
  // The canvas keeps outlines inside their rectangle, so the shape fills the control exactly.
  int x = 0, y = 0, w = Width(), h = Height();
  int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x = (w - s) / 2;
    y = (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare:
      c.Rectangle(x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare:
      c.RoundRect(x, y, x + w, y + h, s / 4, s / 4);
      break;
    case stEllipse:
    case stCircle:
      c.Ellipse(x, y, x + w, y + h);
      break;
  }
}

// ---- TImage

const TClassInfo& TImage::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TImage", &TGraphicControl::StaticClassInfo());
    TPublisher<TImage>(i)
        .Enumeration("Align", AlignNames(), &TImage::Align, &TImage::SetAlign, alNone)
        .Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
        .Boolean("Center", &TImage::Center, &TImage::SetCenter, false)
        .SubObject<TPicture>(
            "Picture", [](TImage& im) -> TPicture& { return im.Picture(); }, &TImage::SetPicture)
        .Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
    return i;
  }();
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
  FPicture.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustSize();
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  Invalidate();
}

void TImage::AdjustSize() {
  if (FAutoSize && !IsLoading() && !FPicture.Empty())
    SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
}

TAccessibleInfo TImage::AccessibleInfo() const {
  TAccessibleInfo info = TGraphicControl::AccessibleInfo();
  if (info.Role == TAccessibleRole::None && !Hint().empty()) info.Role = TAccessibleRole::Graphic;
  return info;
}

void TImage::Loaded() {
  TGraphicControl::Loaded();
  AdjustSize();
}

void TImage::PictureChanged() {
  AdjustSize();
  Invalidate();
}

void TImage::Paint() {
  if (IsDesigning()) {
    Canvas().Pen().SetStyle(psDash);
    Canvas().Brush().SetStyle(bsClear);
    Canvas().Rectangle(0, 0, Width(), Height());
  }
  if (FPicture.Empty() || !FPicture.Image()) return;
  const TRawImage& image = *FPicture.Image();
  if (FStretch) {
    Canvas().StretchDraw(ClientRect(), image);
  } else if (FCenter) {
    Canvas().Draw((Width() - image.Width) / 2, (Height() - image.Height) / 2, image);
  } else {
    Canvas().Draw(0, 0, image);
  }
}

// ---- TPanel

const std::vector<std::string>& BevelCutNames() {
  static const std::vector<std::string> names = {"bvNone", "bvLowered", "bvRaised"};
  return names;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TPanel", &TCustomControl::StaticClassInfo());
    TPublisher<TPanel>(i)
        .Enumeration("Align", AlignNames(), &TPanel::Align, &TPanel::SetAlign, alNone)
        .Enumeration("BevelInner", BevelCutNames(), &TPanel::BevelInner, &TPanel::SetBevelInner,
                     bvNone)
        .Enumeration("BevelOuter", BevelCutNames(), &TPanel::BevelOuter, &TPanel::SetBevelOuter,
                     bvRaised)
        .String("Caption", &TPanel::Caption, &TPanel::SetCaption)
        .Color("Color", &TPanel::Color, &TPanel::SetColor, clBtnFace)
        .SubObject<TFont>("Font", &FontOf<TPanel>, &TPanel::SetFont);
    return i;
  }();
  return info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csSetCaption});
}

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  Invalidate();
}

void Frame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(topLeft);
  canvas.MoveTo(r.Left, r.Bottom - 1);
  canvas.LineTo(r.Left, r.Top);
  canvas.LineTo(r.Right - 1, r.Top);
  canvas.Pen().SetColor(bottomRight);
  canvas.MoveTo(r.Right - 1, r.Top);
  canvas.LineTo(r.Right - 1, r.Bottom - 1);
  canvas.LineTo(r.Left - 1, r.Bottom - 1);
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == FBevelInner) return;
  FBevelInner = value;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas& c = Canvas();
  TRect edge = ClientRect();
  for (TBevelCut cut : {FBevelOuter, FBevelInner}) {
    if (cut == bvRaised)
      Frame3D(c, edge, clBtnHighlight, clBtnShadow);
    else if (cut == bvLowered)
      Frame3D(c, edge, clBtnShadow, clBtnHighlight);
    if (cut != bvNone) edge = {edge.Left + 1, edge.Top + 1, edge.Right - 1, edge.Bottom - 1};
  }
  c.SetFont(Font());
  c.Brush().SetStyle(bsClear);
  TRect r = ClientRect();
  c.DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- TBevel

const std::vector<std::string>& BevelStyleNames() {
  static const std::vector<std::string> names = {"bsLowered", "bsRaised"};
  return names;
}

const std::vector<std::string>& BevelShapeNames() {
  static const std::vector<std::string> names = {
      "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"};
  return names;
}

const TClassInfo& TBevel::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TBevel", &TGraphicControl::StaticClassInfo());
    TPublisher<TBevel>(i)
        .Enumeration("Align", AlignNames(), &TBevel::Align, &TBevel::SetAlign, alNone)
        .Enumeration("Shape", BevelShapeNames(), &TBevel::Shape, &TBevel::SetShape, bsBox)
        .Enumeration("Style", BevelStyleNames(), &TBevel::Style, &TBevel::SetStyle, bsLowered);
    return i;
  }();
  return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
  if (value == FShape) return;
  FShape = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& canvas = Canvas();
  // Lowered: shadow above and to the left, light below and to the right; raised the other way.
  TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  int w = Width(), h = Height();
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  switch (FShape) {
    case bsBox:
      Frame3D(canvas, ClientRect(), first, second);
      break;
    case bsFrame: {
      // Two nested edges: the groove (lowered) or ridge (raised) of a frame.
      Frame3D(canvas, {0, 0, w - 1, h - 1}, first, first);
      Frame3D(canvas, {1, 1, w, h}, second, second);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}

void RegisterExtCtrlsClasses() {
  TClassRegistry::Register<TBevel>();
  TClassRegistry::Register<TPaintBox>();
  TClassRegistry::Register<TShape>();
  TClassRegistry::Register<TImage>();
  TClassRegistry::Register<TPanel>();
}

}  // namespace host
