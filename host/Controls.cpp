#include "host/Controls.h"

#include <algorithm>

#include "host/Forms.h"

namespace host {

static std::unique_ptr<IBackend>& BackendSlot() {
  static std::unique_ptr<IBackend> backend;
  return backend;
}
void SetBackend(std::unique_ptr<IBackend> backend) {
  BackendSlot() = std::move(backend);
}
IBackend* Backend() {
  return BackendSlot().get();
}

const std::vector<std::string>& AlignNames() {
  static const std::vector<std::string> names = {"alNone", "alTop",   "alBottom",
                                                 "alLeft", "alRight", "alClient"};
  return names;
}

// ---- TControl

const TClassInfo& TControl::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TControl", &TComponent::StaticClassInfo());
    TPublisher<TControl>(i)
        .Integer("Left", &TControl::Left, &TControl::SetLeft)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Integer("Width", &TControl::Width, &TControl::SetWidth)
        .Integer("Height", &TControl::Height, &TControl::SetHeight)
        .Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
        .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
    return i;
  }();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return FParent;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
  FLeft = left;
  FTop = top;
  FWidth = std::max(0, width);
  FHeight = std::max(0, height);
  BoundsChanged();
  Invalidate();
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  if (FParent) FParent->InvalidateRect(BoundsRect());
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Invalidate();
}

void TControl::SetAlign(TAlign value) {
  FAlign = value;
}

void TControl::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  // A window shows its own pointer unless a graphic child is under the pointer; a graphic
  // control's pointer is shown by its parent while it is the one hovered.
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FPeer && (!w->FHover || w->FHover == w))
    w->FPeer->SetCursor(value);
  else if (FParent && FParent->FHover == this && FParent->FPeer)
    FParent->FPeer->SetCursor(value);
}

void TControl::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Invalidate();
}

void TControl::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  TextChanged();
}

TWinControl* TControl::PaintingWindow() const {
  return FParent;
}

void TControl::Invalidate() {
  if (FParent && (FVisible || IsDesigning())) FParent->InvalidateRect(BoundsRect());
}

void TControl::Update() {
  if (TWinControl* w = PaintingWindow(); w && w->FPeer) w->FPeer->Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FPeer) w->FPeer->BringToFront();
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  Invalidate();
}

TPoint TControl::ClientToScreen(TPoint point) const {
  TPoint origin{0, 0};
  const TControl* c = this;
  while (c->FParent) {
    origin.X += c->FLeft;
    origin.Y += c->FTop;
    c = c->FParent;
  }
  auto* top = dynamic_cast<const TWinControl*>(c);
  TPoint screen = (top && top->FPeer) ? top->FPeer->ClientOrigin() : TPoint{c->FLeft, c->FTop};
  return {point.X + origin.X + screen.X, point.Y + origin.Y + screen.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const {
  TPoint zero = ClientToScreen({0, 0});
  return {point.X - zero.X, point.Y - zero.Y};
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

// ---- TGraphicControl

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static TClassInfo info("TGraphicControl", &TControl::StaticClassInfo());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::PaintOn(TCanvasSurface& surface) {
  TCanvas::TSurfaceScope bound(FCanvas, surface);
  Paint();
}

// ---- TWinControl

const TClassInfo& TWinControl::StaticClassInfo() {
  static TClassInfo info("TWinControl", &TControl::StaticClassInfo());
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children go with their parent window, as they did in the old framework.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
  FPeer.reset();
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  control->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && FPeer) w->HandleNeeded();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  control->Invalidate();
  FControls.erase(it);
  control->FParent = nullptr;
  if (FCapture == control) FCapture = nullptr;
  if (FCaptureWindow == control) FCaptureWindow = nullptr;
  if (FHover == control) FHover = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyWnd();
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls) const {
  auto eligible = [&](TControl* c) {
    return (c->Visible() || c->IsDesigning()) && (allowDisabled || c->Enabled()) &&
           c->BoundsRect().Contains(point);
  };
  if (allowWinControls)
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
      if (dynamic_cast<TWinControl*>(*it) && eligible(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (!dynamic_cast<TWinControl*>(*it) && eligible(*it)) return *it;
  return nullptr;
}

void TWinControl::HandleNeeded() {
  if (FPeer || !Backend()) return;
  if (FParent && !FParent->FPeer) return;  // created with the parent's window
  CreateWnd();
}

void TWinControl::CreateWnd() {
  FPeer = Backend()->CreateWindowPeer(*this, FParent ? FParent->FPeer.get() : nullptr);
  FPeer->SetBounds(BoundsRect());
  FPeer->SetEnabled(Enabled());
  FPeer->SetCursor(Cursor());
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  UpdatePeerVisibility();
}

void TWinControl::DestroyWnd() {
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyWnd();
  FPeer.reset();
}

void TWinControl::UpdatePeerVisibility() {
  if (FPeer) FPeer->SetVisible(ShowingWindow());
}

void TWinControl::SetVisible(bool value) {
  if (value == Visible()) return;
  TControl::SetVisible(value);
  UpdatePeerVisibility();
}

void TWinControl::SetEnabled(bool value) {
  TControl::SetEnabled(value);
  if (FPeer) FPeer->SetEnabled(value);
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  DestroyWnd();
  TControl::SetParent(parent);
  if (parent) HandleNeeded();
}

void TWinControl::BoundsChanged() {
  if (FPeer) FPeer->SetBounds(BoundsRect());
}

void TWinControl::Invalidate() {
  if (FPeer) FPeer->Invalidate(ClientRect());
}

void TWinControl::InvalidateRect(const TRect& rect) {
  if (FPeer) FPeer->Invalidate(rect);
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc,
                              TComponent* root) const {
  for (TControl* c : FControls)
    if (c->Owner() == root) proc(c);
}

void TWinControl::PaintWindow(TCanvasSurface& surface) {
  TBrush brush;
  brush.SetColor(Color());
  surface.FillRect(ClientRect(), brush);
}

void TWinControl::DispatchPaint(TCanvasSurface& surface, const TRect& rect) {
  PaintWindow(surface);
  PaintGraphicChildren(surface, rect);
}

void TWinControl::PaintGraphicChildren(TCanvasSurface& surface, const TRect& rect) {
  // Copy: a child's Paint may resize or reorder its siblings.
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !(g->Visible() || g->IsDesigning())) continue;
    if (g->BoundsRect().Intersect(rect).IsEmpty()) continue;
    TClipOriginScope clip(surface, g->Left(), g->Top(), g->ClientRect());
    g->PaintOn(surface);
  }
}

void TWinControl::PaintTo(TCanvasSurface& surface) {
  DispatchPaint(surface, ClientRect());
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !(w->Visible() || w->IsDesigning())) continue;
    TClipOriginScope clip(surface, w->Left(), w->Top(), w->ClientRect());
    w->PaintTo(surface);
  }
}

void TWinControl::ReleaseCapture() {
  FCapture = nullptr;
  FCaptureWindow = nullptr;
}

void TWinControl::UpdateHoverCursor(TControl* control) {
  FHover = control;
  if (FPeer) FPeer->SetCursor(control ? control->Cursor() : Cursor());
}

void TWinControl::DispatchMouse(const TMouseEventRecord& event) {
  if (auto* form = dynamic_cast<TForm*>(this); form && form->RouteToDesigner(event)) return;

  // A pressed windowed child keeps the pointer until release, as the toolkit does.
  TWinControl* window = FCaptureWindow;
  if (!window && !FCapture && event.Kind != TMouseEventRecord::Up) {
    if (auto* w = dynamic_cast<TWinControl*>(ControlAtPos(event.Pos))) window = w;
  }
  if (window) {
    if (event.Kind == TMouseEventRecord::Down) FCaptureWindow = window;
    if (event.Kind == TMouseEventRecord::Up) FCaptureWindow = nullptr;
    TMouseEventRecord inner = event;
    inner.Pos = {event.Pos.X - window->Left(), event.Pos.Y - window->Top()};
    window->DispatchMouse(inner);
    return;
  }

  TControl* target = FCapture;
  if (!target) {
    target = ControlAtPos(event.Pos, false, false);
    if (!target) target = this;
  }
  TPoint offset = target == this ? TPoint{0, 0} : TPoint{target->Left(), target->Top()};
  int x = event.Pos.X - offset.X, y = event.Pos.Y - offset.Y;

  switch (event.Kind) {
    case TMouseEventRecord::Down:
      if (event.Button == mbLeft) {
        if (target->ControlStyle().Contains(csCaptureMouse)) FCapture = target;
        if (target->ControlStyle().Contains(csClickEvents)) target->FClicked = true;
      }
      target->MouseDown(event.Button, event.Shift, x, y);
      break;
    case TMouseEventRecord::Move:
      if (FHover != target) UpdateHoverCursor(target);
      target->MouseMove(event.Shift, x, y);
      break;
    case TMouseEventRecord::Up:
      if (event.Button == mbLeft) {
        ReleaseCapture();
        // Click comes before MouseUp, and only for a release over the pressed control.
        if (target->FClicked) {
          target->FClicked = false;
          if (target->ClientRect().Contains({x, y})) target->Click();
        }
      }
      target->MouseUp(event.Button, event.Shift, x, y);
      break;
    case TMouseEventRecord::DblClick:
      if (target->ControlStyle().Contains(csClickEvents)) target->DblClick();
      target->MouseDown(event.Button, event.Shift + TShiftState{ssDouble}, x, y);
      break;
  }
}

// ---- TCustomControl

const TClassInfo& TCustomControl::StaticClassInfo() {
  static TClassInfo info("TCustomControl", &TWinControl::StaticClassInfo());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(TCanvasSurface& surface) {
  if (!ControlStyle().Contains(csOpaque)) TWinControl::PaintWindow(surface);
  TCanvas::TSurfaceScope bound(FCanvas, surface);
  Paint();
}

TForm* GetParentForm(const TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

}  // namespace host
