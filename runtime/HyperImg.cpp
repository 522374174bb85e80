#include "runtime/HyperImg.h"

#include "host/Forms.h"
#include "host/Resources.h"
#include "runtime/DefaultSettings.h"

namespace mebrox {

using namespace host;

// ---- THotCursors

TCursorGroup& THotCursors::Group() {
  static TCursorGroup group{{1, "HAND"}, {2, "WAVE"},     {3, "FORM"},
                            {4, "RUN"},  {5, "BookMark"}, {6, "CLOSE"}};
  return group;
}

// ---- THyperImage

const TClassInfo& THyperImage::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("THyperImage", &TCustomControl::StaticClassInfo());
    // AllowShadow and CursorShow declare no default, so a stored form always states them.
    TPublisher<THyperImage>(i)
        .SubObject<TAboutMebrox>(
            "About", [](THyperImage& h) -> TAboutMebrox& { return h.About(); }, nullptr)
        .SubObject<TAction>(
            "Action", [](THyperImage& h) -> TAction& { return h.Action(); },
            &THyperImage::SetAction)
        .Boolean("AllowShadow", &THyperImage::AllowShadow, &THyperImage::SetAllowShadow)
        .Boolean("CursorShow", &THyperImage::CursorShow, &THyperImage::SetCursorShow)
        .SubObject<TPicture>(
            "Picture", [](THyperImage& h) -> TPicture& { return h.Picture(); },
            &THyperImage::SetPicture)
        .Boolean("Stretch", &THyperImage::Stretch, &THyperImage::SetStretch, false);
    return i;
  }();
  return info;
}

THyperImage::THyperImage(TComponent* owner) : TCustomControl(owner) {
  FPicture.OnChange = [this](TObject*) { PictureChanged(); };
  // Paint lays the ground itself, in the colour of what lies behind.
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  SetBounds(Left(), Top(), 100, 100);
  FAction.SetActionType(acNone);
}

void THyperImage::GetINISettings() {
  TSettingsSection ini("HyperImage");
  if (!ini.Used()) return;
  // The settings only ever switch these on.
  if (ini.ReadBool("CursorShow", false)) FCursorShow = true;
  if (ini.ReadBool("Allow Shadow", false)) SetAllowShadow(true);
}

// ---- properties

void THyperImage::SetAction(const TAction& value) {
  if (&value != &FAction) FAction.Assign(value);
}

void THyperImage::SetAllowShadow(bool value) {
  if (value == FAllowShadow) return;
  FAllowShadow = value;
  FitToPicture();
  Invalidate();
}

void THyperImage::SetPicture(const TPicture& value) {
  FPicture.Assign(value);
}

void THyperImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  FitToPicture();
  Invalidate();
}

void THyperImage::PictureChanged() {
  FitToPicture();
  Invalidate();
}

// ---- size

// Fitted as soon as anything it depends on changes, so that the control never shows at another
// size first. While a form is read its properties come in any order: the fit waits for Loaded.
bool THyperImage::FitsPicture() const {
  return FAllowShadow && !FStretch && !FPicture.Empty() && !IsLoading();
}

void THyperImage::FitToPicture() {
  if (FitsPicture()) SetBounds(Left(), Top(), Width(), Height());
}

void THyperImage::SetBounds(int left, int top, int width, int height) {
  if (FitsPicture()) {
    width = FPicture.Width() + ShadowOffset;
    height = FPicture.Height() + ShadowOffset;
  }
  TCustomControl::SetBounds(left, top, width, height);
}

void THyperImage::Loaded() {
  TCustomControl::Loaded();
  FitToPicture();
}

void THyperImage::DropFiles(const std::vector<std::string>& files) {
  if (!IsDesigning() || files.empty()) return;
  FPicture.LoadFromFile(files.back());
}

// ---- painting

void THyperImage::DrawShadow() {
  TCanvas& c = Canvas();
  const TBrushStyle brushStyle = c.Brush().Style();
  const TColor brushColor = c.Brush().Color();
  const TPenStyle penStyle = c.Pen().Style();
  c.Pen().SetStyle(psClear);
  c.Pen().SetColor(clSilver);
  auto pattern = LoadBitmapResource("ISHADOW");
  // Without the stipple the band is plain silver rather than missing.
  if (pattern)
    c.Brush().SetBitmap(pattern);
  else
    c.Brush().SetColor(clSilver);
  c.Brush().SetStyle(bsSolid);
  // The control shifted by the offset; only the band along the right and bottom edges lies
  // inside, and it is cut here so that no surface has to do it.
  TRect band{ShadowOffset, ShadowOffset, Width() + ShadowOffset, Height() + ShadowOffset};
  c.Rectangle(band.Intersect(ClientRect()));
  c.Brush().SetBitmap(nullptr);
  c.Brush().SetColor(brushColor);
  c.Brush().SetStyle(brushStyle);
  c.Pen().SetStyle(penStyle);
}

void THyperImage::Paint() {
  TCanvas& c = Canvas();
  // The corners beside the shadow band, and the band a pressed picture leaves, show the
  // frame's colour, not a grey of the control's own.
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Parent() ? Parent()->Color() : Color());
  c.FillRect(ClientRect());
  c.Brush().SetStyle(bsClear);
  const TRawImage* image = FPicture.Empty() ? nullptr : FPicture.Image().get();
  if (FStretch) {
    // Stretched, the picture is the whole control: no shadow, no sinking, no resizing.
    if (image) c.StretchDraw(ClientRect(), *image);
  } else {
    if (FAllowShadow && !FPressed) DrawShadow();
    if (!FPressed) FDrawRect = {0, 0, FPicture.Width(), FPicture.Height()};
    if (image) c.StretchDraw(FDrawRect, *image);
    c.ResetClip();
  }
  c.Font().SetColor(clWhite);
  // Shows the designer where a click leads, whatever the action's kind.
  if (IsDesigning()) c.TextOut(Width() / 3, Height() / 3, FAction.Frame());
}

// ---- pointer

void THyperImage::MouseDown(TMouseButton, TShiftState, int, int) {
  FDrawRect = {ShadowOffset, ShadowOffset, FPicture.Width() + ShadowOffset,
               FPicture.Height() + ShadowOffset};
  FPressed = true;
  Repaint();
}

void THyperImage::MouseUp(TMouseButton, TShiftState, int, int) {
  FDrawRect = {0, 0, FPicture.Width(), FPicture.Height()};
  FPressed = false;
  Repaint();
}

void THyperImage::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  SetCursor(FCursorShow ? THotCursors::HandCursor : crDefault);
}

std::vector<TRect> THyperImage::KeyStopRects(int) const {
  if (FStretch || FPicture.Empty()) return {ClientRect()};
  return {TRect{0, 0, FPicture.Width(), FPicture.Height()}.Intersect(ClientRect())};
}

void THyperImage::PaintKeyStopMark(TCanvasSurface& surface, int index) const {
  TRect picture = KeyStopRects(index).front();
  // A little inside the picture: on its edge the dots would pass for the shadow's stipple.
  const int inset = 3;
  if (picture.Width() > 4 * inset && picture.Height() > 4 * inset)
    picture = {picture.Left + inset, picture.Top + inset, picture.Right - inset,
               picture.Bottom - inset};
  DrawFocusRect(surface, picture);
}

void THyperImage::Click() {
  TCustomControl::Click();
  PerformAction(*this, FAction);
}

}  // namespace mebrox
