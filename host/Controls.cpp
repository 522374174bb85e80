#include "host/Controls.h"

#include <algorithm>
#include <cctype>

#include "host/Forms.h"
#include "host/Menus.h"

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
        .Range(-MaxScreenExtent - 1, MaxScreenExtent, ScreenExtentLimit)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Range(-MaxScreenExtent - 1, MaxScreenExtent, ScreenExtentLimit)
        .Integer("Width", &TControl::Width, &TControl::SetWidth)
        .Range(0, MaxScreenExtent, ScreenExtentLimit)
        .Integer("Height", &TControl::Height, &TControl::SetHeight)
        .Range(0, MaxScreenExtent, ScreenExtentLimit)
        .Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
        .String("Hint", &TControl::Hint, &TControl::SetHint)
        .Component<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
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
  NotifyAccessible(*this, -1, TAccessibleEvent::Destroyed);
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
  // Whatever sizes a control (its text, its picture, alignment) leaves it where a form file can
  // hold it, so that what is saved always reads back.
  left =
      std::clamp(left, static_cast<int>(-MaxScreenExtent - 1), static_cast<int>(MaxScreenExtent));
  top = std::clamp(top, static_cast<int>(-MaxScreenExtent - 1), static_cast<int>(MaxScreenExtent));
  width = std::clamp(width, 0, static_cast<int>(MaxScreenExtent));
  height = std::clamp(height, 0, static_cast<int>(MaxScreenExtent));
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  BoundsChanged();
  Invalidate();
  if (FAlign != alNone) RequestAlign();
  if (auto* w = dynamic_cast<TWinControl*>(this); w && !IsLoading()) w->AlignControls();
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  if (FParent) FParent->InvalidateRect(BoundsRect());
  if (FAlign != alNone) RequestAlign();
  NotifyAccessible(*this, -1, TAccessibleEvent::StateChanged);
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Invalidate();
  NotifyAccessible(*this, -1, TAccessibleEvent::StateChanged);
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  FAlign = value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControls();
}

void TControl::PaintKeyStopMark(TCanvasSurface& surface, int index) const {
  for (const TRect& part : KeyStopRects(index)) DrawFocusRect(surface, part);
}

void TControl::KeyStopsChanged() {
  if (TForm* form = GetParentForm(this)) form->KeyStopsChanged(this);
  NotifyAccessible(*this, -1, TAccessibleEvent::ChildrenChanged);
}

TAccessibleInfo TControl::AccessibleInfo() const {
  TAccessibleInfo info;
  info.Name = FCaption.empty() ? FHint : StripAccelerator(FCaption);
  // A control that is one keyboard stop is pressed as a whole.
  info.Focusable = info.Pressable = KeyStopCount() == 1 && AccessibleChildCount() == 0;
  return info;
}

void TControl::AccessiblePress(int child) {
  if (child < 0)
    Click();
  else
    KeyStopClick(child);
}

TAccessibleInfo AccessibleInfoOf(const TControl& control, int child) {
  TAccessibleInfo info = child < 0 ? control.AccessibleInfo() : control.AccessibleChild(child);
  if (child >= 0 || !control.IsDesigning() || dynamic_cast<const TForm*>(&control)) return info;
  std::string reads = info.Name;
  info.Name = control.Name();
  info.Description = control.ClassName();
  if (!reads.empty() && reads != info.Name) info.Description += ": " + reads;
  if (info.Role == TAccessibleRole::None) info.Role = TAccessibleRole::Graphic;
  // Pressing a component in the designer selects it, which the designer's own keys do.
  info.Pressable = false;
  return info;
}

bool TControl::AccessibleFocused(int child) const {
  const TForm* form = GetParentForm(this);
  if (form && form->KeyStopControl() == this)
    return AccessibleChildCount() > 0 ? child == form->KeyStopIndex() : child < 0;
  auto* window = dynamic_cast<const TWinControl*>(this);
  return child < 0 && window && window->Focused() && !(form && form->KeyStopControl());
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
  ColorChanged();
}

void TControl::SetName(const std::string& name) {
  bool follow =
      FControlStyle.Contains(csSetCaption) && IsDesigning() && !IsLoading() && FCaption == Name();
  TComponent::SetName(name);
  if (follow) SetCaption(name);
}

void TControl::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  TextChanged();
  NotifyAccessible(*this, -1, TAccessibleEvent::NameChanged);
}

bool TControl::ContextPopup(TPoint point) {
  for (TControl* c = this; c; c = c->Parent()) {
    if (!c->FPopupMenu) {
      point = {point.X + c->Left(), point.Y + c->Top()};
      continue;
    }
    TPoint screen = c->ClientToScreen(point);
    c->FPopupMenu->SetPopupComponent(c);
    c->FPopupMenu->Popup(screen.X, screen.Y);
    return true;
  }
  return false;
}

void TControl::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
  TComponent::Notification(component, operation);
}

void TControl::SetHint(const std::string& value) {
  FHint = value;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FPeer) w->FPeer->SetHint(value);
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

TPoint TControl::OriginIn(const TControl* ancestor) const {
  TPoint origin{0, 0};
  for (const TControl* c = this; c != ancestor && c->FParent; c = c->FParent) {
    origin.X += c->FLeft;
    origin.Y += c->FTop;
  }
  return origin;
}

TPoint TControl::ClientToScreen(TPoint point) const {
  const TPoint origin = OriginInTopLevel();
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
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

TAccessibleInfo TGraphicControl::AccessibleInfo() const {
  TAccessibleInfo info = TControl::AccessibleInfo();
  info.Role = info.Pressable ? TAccessibleRole::Button : TAccessibleRole::None;
  return info;
}

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
  // Leave the parent while still a window: it drops this one from its Tab order and its form
  // from the keyboard.
  if (Parent()) Parent()->RemoveControl(this);
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
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    FTabList.push_back(w);
    if (FPeer) w->HandleNeeded();
  }
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
  if (TForm* form = GetParentForm(this)) form->ControlRemoved(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    w->DestroyWnd();
  }
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

std::unique_ptr<IWindowPeer> TWinControl::CreatePeer(IWindowPeer* parent) {
  return Backend()->CreateWindowPeer(*this, parent);
}

void TWinControl::CreateWnd() {
  FPeer = CreatePeer(FParent ? FParent->FPeer.get() : nullptr);
  FPeer->SetBounds(BoundsRect());
  FPeer->SetEnabled(Enabled());
  FPeer->SetCursor(Cursor());
  if (!Hint().empty()) FPeer->SetHint(Hint());
  PeerCreated();
  if (TForm* form = GetParentForm(this); form && form != this && form->ActiveControl() == this)
    FPeer->SetFocus();
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

void TWinControl::AlignControls() {
  if (FAligning || IsLoading()) return;
  FAligning = true;
  TRect rest = ClientRect();
  auto place = [](TControl* c, int left, int top, int width, int height) {
    c->SetBounds(left, top, std::max(0, width), std::max(0, height));
  };
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
      if (c->Align() != align || !(c->Visible() || c->IsDesigning())) continue;
      switch (align) {
        case alTop:
          place(c, rest.Left, rest.Top, rest.Width(), c->Height());
          rest.Top += c->Height();
          break;
        case alBottom:
          place(c, rest.Left, rest.Bottom - c->Height(), rest.Width(), c->Height());
          rest.Bottom -= c->Height();
          break;
        case alLeft:
          place(c, rest.Left, rest.Top, c->Width(), rest.Height());
          rest.Left += c->Width();
          break;
        case alRight:
          place(c, rest.Right - c->Width(), rest.Top, c->Width(), rest.Height());
          rest.Right -= c->Width();
          break;
        default:
          place(c, rest.Left, rest.Top, rest.Width(), rest.Height());
      }
    }
  }
  FAligning = false;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  AlignControls();
}

void TWinControl::PaintWindow(TCanvasSurface& surface) {
  TBrush brush;
  brush.SetColor(Color());
  surface.FillRect(ClientRect(), brush);
}

void TWinControl::DispatchPaint(TCanvasSurface& surface, const TRect& rect) {
  PaintWindow(surface);
  PaintGraphicChildren(surface, rect);
  PaintFocusMark(surface, *this);
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
    PaintFocusMark(surface, *g);
  }
}

void TWinControl::PaintFocusMark(TCanvasSurface& surface, const TControl& control) {
  TForm* form = GetParentForm(&control);
  if (form && form->KeyStopControl() == &control && form->ShowsFocusMark())
    control.PaintKeyStopMark(surface, form->KeyStopIndex());
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

std::string TWinControl::HintAt(TPoint point) const {
  TControl* c = ControlAtPos(point, true, false);
  if (c && !c->Hint().empty()) return c->Hint();
  return Hint();
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
  if (auto* form = dynamic_cast<TForm*>(this)) {
    if (form->RouteToDesigner(event)) return;
  } else if (IsDesigning()) {
    // The designer handles the pointer on every window of its form, in the form's coordinates.
    if (TForm* owner = GetParentForm(this); owner && owner->Designer()) {
      TMouseEventRecord outer = event;
      const TPoint origin = OriginIn(owner);
      outer.Pos = {outer.Pos.X + origin.X, outer.Pos.Y + origin.Y};
      owner->DispatchMouse(outer);
      return;
    }
  }

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

  if (event.Kind == TMouseEventRecord::Down && target == this && FocusOnClick() && CanFocus() &&
      !Focused())
    SetFocus();

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
      if (event.Button == mbRight) target->ContextPopup({x, y});
      break;
    case TMouseEventRecord::DblClick:
      if (target->ControlStyle().Contains(csClickEvents)) target->DblClick();
      target->MouseDown(event.Button, event.Shift + TShiftState{ssDouble}, x, y);
      break;
  }
}

// ---- keyboard

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible()) return false;
    if (dynamic_cast<const TForm*>(c)) return true;
  }
  return false;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (dynamic_cast<const TForm*>(c)) return true;
  }
  return false;
}

bool TWinControl::Focused() const {
  TForm* form = GetParentForm(this);
  return form && form != this && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  TForm* form = GetParentForm(this);
  if (!form) throw EInvalidOperation("Cannot focus a window that is on no form");
  if (form == this) {
    if (FPeer) FPeer->SetFocus();
    return;
  }
  form->SetActiveControl(this);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  list.erase(std::find(list.begin(), list.end(), this));
  // Form files name places that later windows fill: an order past the end means the end.
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* w : FTabList) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

void TWinControl::KeyDown(TKey& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(TKey& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// The form's preview and the control's own handlers; true when one of them ate the key.
bool TWinControl::RunKeyHandlers(TKeyEventRecord& event) {
  TForm* form = GetParentForm(this);
  bool preview = form && form != this && form->KeyPreview();
  TKey key = event.Key;
  if (event.Kind == TKeyEventRecord::Up) {
    if (preview) form->KeyUp(key, event.Shift);
    if (key) KeyUp(key, event.Shift);
    return key == 0;
  }
  // A key with no code of its own (a punctuation mark) only types its text.
  if (key) {
    if (preview) form->KeyDown(key, event.Shift);
    if (key) KeyDown(key, event.Shift);
    if (!key) return true;
  }
  event.Key = key;
  // Only single characters pass through KeyPress, as they did on the old system; other text
  // goes to the widget as typed.
  if (event.Text.size() == 1 && static_cast<unsigned char>(event.Text[0]) < 0x80 &&
      !event.Shift.Contains(ssCtrl) && !event.Shift.Contains(ssAlt)) {
    char c = event.Text[0];
    if (preview) form->KeyPress(c);
    if (c) KeyPress(c);
    if (!c) return true;
    event.Text = std::string(1, c);
  }
  return false;
}

bool TWinControl::DispatchKey(TKeyEventRecord& event) {
  if (RunKeyHandlers(event)) return true;
  if (event.Kind == TKeyEventRecord::Up || WantsKey(event.Key, event.Shift)) return false;
  TForm* form = dynamic_cast<TForm*>(this);
  if (!form) form = GetParentForm(this);
  if (!form) return false;
  return form->FormKey(form == this ? nullptr : this, event.Key, event.Shift, event.Text);
}

void TWinControl::PerformKey(TKeyEventRecord event) {
  if (!DispatchKey(event) && FPeer) FPeer->DefaultKeyAction(event);
}

void TWinControl::DispatchFocus(bool gained) {
  TForm* form = GetParentForm(this);
  if (!form || form == this) return;
  if (gained) form->SetActiveControl(this);
}

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&')
      return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return 0;
}

std::string StripAccelerator(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

// ---- TWidgetControl

TWidgetControl::TWidgetControl(TComponent* owner, TWidgetKind kind)
    : TWinControl(owner), FKind(kind) {
  SetTabStop(true);
  SetColor(clWindow);
}

std::unique_ptr<IWindowPeer> TWidgetControl::CreatePeer(IWindowPeer* parent) {
  return Backend()->CreateWidgetPeer(*this, parent, FKind);
}

void TWidgetControl::PeerCreated() {
  auto* peer = WidgetPeer<IWidgetPeer>();
  peer->SetFont(Font());
  peer->SetColor(Color());
  peer->SetText(Caption());
}

void TWidgetControl::FontChanged() {
  if (auto* peer = WidgetPeer<IWidgetPeer>()) peer->SetFont(Font());
}

void TWidgetControl::ColorChanged() {
  if (auto* peer = WidgetPeer<IWidgetPeer>()) peer->SetColor(Color());
}

void TWidgetControl::TextChanged() {
  if (auto* peer = WidgetPeer<IWidgetPeer>()) peer->SetText(Caption());
}

void TWidgetControl::RecreateWidget(TWidgetKind kind) {
  if (kind == FKind) return;
  FKind = kind;
  if (!HandleAllocated()) return;
  DestroyWnd();
  HandleNeeded();
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

TRect Overhang(const TControl& control) {
  const TControl* parent = control.Parent();
  if (!parent) return {};
  const TRect b = control.BoundsRect();
  return {std::max(0, -b.Left), std::max(0, -b.Top), std::max(0, b.Right - parent->ClientWidth()),
          std::max(0, b.Bottom - parent->ClientHeight())};
}

TForm* GetParentForm(const TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

}  // namespace host
