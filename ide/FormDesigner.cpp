#include "ide/FormDesigner.h"

#include <algorithm>

#include "host/FormFile.h"

namespace ide {

using host::TComponent;
using host::TControl;
using host::TPoint;
using host::TRect;
using host::TWinControl;

std::string NewComponentName(const TComponent& form, const std::string& className) {
  std::string base = className.size() > 1 && (className[0] == 'T' || className[0] == 't')
                         ? className.substr(1)
                         : className;
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!form.FindComponent(name) && !host::SameText(form.Name(), name)) return name;
  }
}

TFormDesigner::TFormDesigner(host::TForm& form, TDesignCore& core, TIToolServices* services,
                             std::function<void()> modified)
    : FForm(form), FCore(core), FToolServices(services), FModified(std::move(modified)) {
  form.SetDesigner(this);
}

TFormDesigner::~TFormDesigner() {
  if (FForm.Designer() == this) FForm.SetDesigner(nullptr);
}

void TFormDesigner::NameStep(const std::string& name, const std::string& mergeKey) {
  FStepName = name;
  FStepKey = mergeKey;
}

void TFormDesigner::TakeStepName(std::string& name, std::string& mergeKey) {
  if (!FStepName.empty()) name = std::move(FStepName);
  mergeKey = std::move(FStepKey);
  FStepName.clear();
  FStepKey.clear();
}

std::string TFormDesigner::SelectionName() const {
  if (FSelection.empty()) return FForm.Name();
  if (FSelection.size() == 1) return FSelection.front()->Name();
  return std::to_string(FSelection.size()) + " components";
}

void TFormDesigner::Step(const std::string& verb, const std::string& mergeKey) {
  std::string key;
  if (!mergeKey.empty()) {
    key = mergeKey;
    for (const TComponent* c : FSelection) key += " " + c->Name();
  }
  NameStep(verb + " " + SelectionName(), key);
}

void TFormDesigner::Modified() {
  // A change may have taken a selected component away (an editor deleting one).
  std::erase_if(FSelection, [this](TComponent* c) {
    auto& list = FForm.ComponentList();
    return std::find(list.begin(), list.end(), c) == list.end();
  });
  if (FModified) FModified();
}

// ---- selection

void TFormDesigner::SelectionChanged() {
  FForm.Invalidate();
  if (OnSelectionChanged) OnSelectionChanged();
}

bool TFormDesigner::IsSelected(const TComponent* component) const {
  return std::find(FSelection.begin(), FSelection.end(), component) != FSelection.end();
}

void TFormDesigner::Select(TComponent* component, bool toggle) {
  if (component == &FForm) component = nullptr;
  if (!toggle) {
    FSelection.clear();
    if (component) FSelection.push_back(component);
  } else if (component) {
    if (IsSelected(component))
      std::erase(FSelection, component);
    else
      FSelection.push_back(component);
  }
  SelectionChanged();
}

void TFormDesigner::ClearSelection() {
  FSelection.clear();
  SelectionChanged();
}

void TFormDesigner::FormReloaded() {
  FSelection.clear();
  FDrag = TDrag::None;
  SelectionChanged();
}

// ---- geometry

TRect TFormDesigner::FormBounds(const TControl& control) const {
  const TPoint origin = control.OriginIn(&FForm);
  return host::Bounds(origin.X, origin.Y, control.Width(), control.Height());
}

TRect TFormDesigner::HandleRect(const TRect& b, int handle) {
  int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
  const TPoint centres[] = {{b.Left, b.Top},     {cx, b.Top},    {b.Right, b.Top},   {b.Right, cy},
                            {b.Right, b.Bottom}, {cx, b.Bottom}, {b.Left, b.Bottom}, {b.Left, cy}};
  TPoint c = centres[handle];
  return {c.X - HandleSize / 2, c.Y - HandleSize / 2, c.X + HandleSize / 2, c.Y + HandleSize / 2};
}

bool TFormDesigner::HandleAt(TPoint point, TControl*& control, int& handle) const {
  if (FSelection.size() != 1) return false;
  control = dynamic_cast<TControl*>(FSelection.front());
  if (!control) return false;
  TRect bounds = FormBounds(*control);
  for (int h = 0; h < 8; ++h)
    if (HandleRect(bounds, h).Contains(point)) {
      handle = h;
      return true;
    }
  return false;
}

TComponent* TFormDesigner::ComponentAt(TPoint point) const {
  // Non-visual components sit as icons at their design position.
  for (TComponent* c : FForm.ComponentList())
    // (A menu item hangs inside its menu and has no icon of its own.)
    if (!dynamic_cast<TControl*>(c) && !c->HasParent() &&
        host::Bounds(c->DesignLeft(), c->DesignTop(), 28, 28).Contains(point))
      return c;
  TComponent* found = &FForm;
  TWinControl* window = &FForm;
  TPoint p = point;
  while (TControl* c = window->ControlAtPos(p, true)) {
    if (c->Owner() == &FForm) found = c;
    p = {p.X - c->Left(), p.Y - c->Top()};
    auto* inner = dynamic_cast<TWinControl*>(c);
    if (!inner) break;
    window = inner;
  }
  return found;
}

namespace {

// Positions and sizes the designer gives stay where a form file can hold them, however far a
// move or a size goes (and without overflowing on the way).
int Position(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, -host::MaxScreenExtent - 1, host::MaxScreenExtent));
}
int Extent(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, 1, host::MaxScreenExtent));
}

}  // namespace

int TFormDesigner::Snap(int value) const {
  if (FGridSize <= 1) return value;
  return (value + (value >= 0 ? FGridSize / 2 : -FGridSize / 2)) / FGridSize * FGridSize;
}

// ---- changes

TComponent* TFormDesigner::Drop(const host::TClassInfo& cls, TPoint at) {
  const host::TComponentFactory* factory = host::TClassRegistry::FindFactory(cls.Name());
  if (!factory || !*factory)
    throw host::EComponentError("Class " + cls.Name() + " cannot be created");
  // A point no screen shows is no place to drop on: refused as the inspector refuses it.
  if (Position(at.X) != at.X)
    host::RangeErrorFor("Left", at.X, -host::MaxScreenExtent - 1, host::MaxScreenExtent,
                        host::ScreenExtentLimit);
  if (Position(at.Y) != at.Y)
    host::RangeErrorFor("Top", at.Y, -host::MaxScreenExtent - 1, host::MaxScreenExtent,
                        host::ScreenExtentLimit);
  TWinControl* parent = &FForm;
  TPoint point = at;
  while (auto* inner = dynamic_cast<TWinControl*>(parent->ControlAtPos(point, true))) {
    if (!inner->ControlStyle().Contains(host::csAcceptsControls)) break;
    point = {point.X - inner->Left(), point.Y - inner->Top()};
    parent = inner;
  }
  TComponent* component = (*factory)(&FForm);
  try {
    component->DroppedFromPalette();
    component->SetName(NewComponentName(FForm, cls.Name()));
    if (auto* control = dynamic_cast<TControl*>(component)) {
      control->SetParent(parent);
      control->SetBounds(point.X, point.Y, control->Width(), control->Height());
    } else {
      component->SetDesignLeft(at.X);
      component->SetDesignTop(at.Y);
    }
  } catch (...) {
    delete component;
    throw;
  }
  Select(component);
  Step("Drop");
  Modified();
  return component;
}

void TFormDesigner::MoveSelection(int dx, int dy) {
  if (FSelection.empty() || (dx == 0 && dy == 0)) return;
  for (TComponent* c : FSelection) {
    if (auto* control = dynamic_cast<TControl*>(c))
      control->SetBounds(Position(int64_t{control->Left()} + dx),
                         Position(int64_t{control->Top()} + dy), control->Width(),
                         control->Height());
    else {
      c->SetDesignLeft(Position(int64_t{c->DesignLeft()} + dx));
      c->SetDesignTop(Position(int64_t{c->DesignTop()} + dy));
    }
  }
  FForm.Invalidate();
  // Key moves of one selection, one after another, are one step.
  Step("Move", "move");
  Modified();
}

void TFormDesigner::ResizeSelection(int dw, int dh) {
  bool changed = false;
  for (TComponent* c : FSelection)
    if (auto* control = dynamic_cast<TControl*>(c)) {
      control->SetBounds(control->Left(), control->Top(), Extent(int64_t{control->Width()} + dw),
                         Extent(int64_t{control->Height()} + dh));
      changed = true;
    }
  if (!changed) return;
  Step("Size", "size");
  Modified();
}

void TFormDesigner::SetSelectionBounds(const TRect& bounds) {
  if (FSelection.size() != 1) return;
  auto* control = dynamic_cast<TControl*>(FSelection.front());
  if (!control) return;
  control->SetBounds(Position(bounds.Left), Position(bounds.Top), Extent(bounds.Width()),
                     Extent(bounds.Height()));
  FForm.Invalidate();
  Step("Place");
  Modified();
}

void TFormDesigner::DeleteSelection() {
  if (FSelection.empty()) return;
  Step("Delete");
  std::vector<TComponent*> doomed = FSelection;
  FSelection.clear();
  // Children of a deleted container go with it: delete only what is still there.
  for (TComponent* c : doomed) {
    auto& list = FForm.ComponentList();
    if (std::find(list.begin(), list.end(), c) != list.end()) delete c;
  }
  SelectionChanged();
  Modified();
}

std::string TFormDesigner::CopySelection() {
  // A control whose container is selected too goes with its container.
  std::vector<TComponent*> top;
  for (TComponent* c : FSelection) {
    bool inside = false;
    if (auto* control = dynamic_cast<TControl*>(c))
      for (TControl* p = control->Parent(); p && p != &FForm; p = p->Parent())
        inside = inside || IsSelected(p);
    if (!inside) top.push_back(c);
  }
  return host::WriteComponentsText(FForm, top);
}

std::vector<TComponent*> TFormDesigner::Paste(const std::string& text) {
  TComponent* parent = &FForm;
  if (FSelection.size() == 1)
    if (auto* container = dynamic_cast<TWinControl*>(FSelection.front());
        container && container->ControlStyle().Contains(host::csAcceptsControls))
      parent = container;
  std::vector<TComponent*> pasted = host::ReadComponentsText(text, FForm, *parent, "clipboard");
  FSelection = pasted;
  SelectionChanged();
  Step("Paste");
  Modified();
  return pasted;
}

void TFormDesigner::BringToFront() {
  for (TComponent* c : FSelection)
    if (auto* control = dynamic_cast<TControl*>(c)) control->BringToFront();
  NameStep("Bring " + SelectionName() + " to Front", "");
  Modified();
}

void TFormDesigner::SendToBack() {
  for (auto it = FSelection.rbegin(); it != FSelection.rend(); ++it)
    if (auto* control = dynamic_cast<TControl*>(*it)) control->SendToBack();
  NameStep("Send " + SelectionName() + " to Back", "");
  Modified();
}

void TFormDesigner::ValidateRename(TComponent* component, const std::string&,
                                   const std::string& newName) {
  if (newName.empty())
    throw host::EComponentError((component ? "A component" : "A form") +
                                std::string(" on a frame must have a name"));
  if (!component && OnRenamingForm) OnRenamingForm(newName);
}

// ---- pointer and keys

bool TFormDesigner::HandleMouse(host::TForm&, const host::TMouseEventRecord& event) {
  TPoint p = event.Pos;
  switch (event.Kind) {
    case host::TMouseEventRecord::DblClick: {
      TComponent* target = ComponentAt(p);
      if (target != &FForm && OnDblClick) OnDblClick(*target);
      return true;
    }
    case host::TMouseEventRecord::Down: {
      if (event.Button == host::mbRight) {
        TComponent* target = ComponentAt(p);
        if (!IsSelected(target)) Select(target);
        if (OnContextMenu) OnContextMenu(*target, p);
        return true;
      }
      if (const host::TClassInfo* cls = PaletteClass ? PaletteClass() : nullptr;
          cls && event.Button == host::mbLeft) {
        TComponent* dropped = Drop(*cls, p);
        if (OnDropped) OnDropped(*dropped);
        return true;
      }
      FDragStart = FDragPoint = p;
      FDragMoved = false;
      TControl* sized = nullptr;
      if (HandleAt(p, sized, FDragHandle)) {
        FDrag = TDrag::Size;
        FDragBounds = {sized->BoundsRect()};
        return true;
      }
      TComponent* target = ComponentAt(p);
      if (target == &FForm) {
        if (!event.Shift.Contains(host::ssShift)) ClearSelection();
        FDrag = TDrag::Band;
        return true;
      }
      if (event.Shift.Contains(host::ssShift))
        Select(target, true);
      else if (!IsSelected(target))
        Select(target);
      // A press on one of several selected ones may begin moving them all; let go unmoved, it
      // was a click that selects that one alone.
      FClicked = event.Shift.Contains(host::ssShift) ? nullptr : target;
      FDrag = TDrag::Move;
      FDragBounds.clear();
      for (TComponent* c : FSelection) {
        auto* control = dynamic_cast<TControl*>(c);
        FDragBounds.push_back(control ? control->BoundsRect()
                                      : host::Bounds(c->DesignLeft(), c->DesignTop(), 0, 0));
      }
      return true;
    }
    case host::TMouseEventRecord::Move: {
      if (FDrag == TDrag::None) return true;
      FDragPoint = p;
      if (OnDragging) OnDragging();
      int dx = p.X - FDragStart.X, dy = p.Y - FDragStart.Y;
      if (FDrag == TDrag::Move && !FSelection.empty() && FDragBounds.size() == FSelection.size()) {
        TPoint move = GuidedMove(dx, dy);
        for (size_t i = 0; i < FSelection.size(); ++i) {
          const TRect& b = FDragBounds[i];
          int left = Position(int64_t{b.Left} + move.X), top = Position(int64_t{b.Top} + move.Y);
          if (auto* control = dynamic_cast<TControl*>(FSelection[i]))
            control->SetBounds(left, top, b.Width(), b.Height());
          else {
            FSelection[i]->SetDesignLeft(left);
            FSelection[i]->SetDesignTop(top);
          }
        }
        FDragMoved = FDragMoved || dx != 0 || dy != 0;
        FForm.Invalidate();
      } else if (FDrag == TDrag::Size && FSelection.size() == 1) {
        auto* control = dynamic_cast<TControl*>(FSelection.front());
        TRect b = FDragBounds.front();
        int h = FDragHandle;
        if (h == 0 || h == 6 || h == 7) b.Left = std::min(Snap(b.Left + dx), b.Right - 1);
        if (h == 2 || h == 3 || h == 4) b.Right = std::max(Snap(b.Right + dx), b.Left + 1);
        if (h == 0 || h == 1 || h == 2) b.Top = std::min(Snap(b.Top + dy), b.Bottom - 1);
        if (h == 4 || h == 5 || h == 6) b.Bottom = std::max(Snap(b.Bottom + dy), b.Top + 1);
        if (control) control->SetBounds(b.Left, b.Top, b.Width(), b.Height());
        FDragMoved = FDragMoved || dx != 0 || dy != 0;
        FForm.Invalidate();
      }
      return true;
    }
    case host::TMouseEventRecord::Up: {
      TDrag drag = FDrag;
      FDrag = TDrag::None;
      FGuides.clear();
      if (drag != TDrag::None && OnDragging) OnDragging();
      if (drag == TDrag::Band) {
        // Every control of the form wholly inside the band is selected.
        TRect band{std::min(FDragStart.X, p.X), std::min(FDragStart.Y, p.Y),
                   std::max(FDragStart.X, p.X), std::max(FDragStart.Y, p.Y)};
        if (band.Width() > 2 || band.Height() > 2) {
          for (TComponent* c : FForm.ComponentList())
            if (auto* control = dynamic_cast<TControl*>(c)) {
              TRect b = FormBounds(*control);
              if (b.Left >= band.Left && b.Right <= band.Right && b.Top >= band.Top &&
                  b.Bottom <= band.Bottom && !IsSelected(control))
                FSelection.push_back(control);
            }
          SelectionChanged();
        }
      } else if ((drag == TDrag::Move || drag == TDrag::Size) && FDragMoved) {
        Step(drag == TDrag::Move ? "Move" : "Size");
        Modified();
        if (OnSelectionChanged) OnSelectionChanged();
      } else if (drag == TDrag::Move && FClicked && FSelection.size() > 1 && IsSelected(FClicked)) {
        Select(FClicked);
      }
      return true;
    }
  }
  return true;
}

TPoint TFormDesigner::GuidedMove(int dx, int dy) {
  FGuides.clear();
  // The first selected control leads; the others keep their places beside it.
  const TRect& lead = FDragBounds.front();
  TPoint move{Snap(lead.Left + dx) - lead.Left, Snap(lead.Top + dy) - lead.Top};
  auto* control = dynamic_cast<TControl*>(FSelection.front());
  if (!control || !control->Parent()) return move;
  const TControl* parent = control->Parent();
  const TPoint origin = parent->OriginIn(&FForm);
  TRect raw = host::Bounds(lead.Left + dx, lead.Top + dy, lead.Width(), lead.Height());
  // Per axis, the sibling line nearest to an edge of the moved control (edges meet edges, centres
  // centres).
  struct TBest {
    int Offset = GuideDistance + 1;
    int Line = 0;
    TRect Sibling;
  } bestX, bestY;
  auto consider = [](TBest& best, int low, int high, int siblingLow, int siblingHigh,
                     const TRect& sibling) {
    const std::pair<int, int> pairs[] = {{low, siblingLow},
                                         {low, siblingHigh},
                                         {high, siblingLow},
                                         {high, siblingHigh},
                                         {(low + high) / 2, (siblingLow + siblingHigh) / 2}};
    for (const auto& [mine, theirs] : pairs)
      if (std::abs(theirs - mine) < std::abs(best.Offset)) best = {theirs - mine, theirs, sibling};
  };
  auto* window = dynamic_cast<const host::TWinControl*>(parent);
  if (!window) return move;
  for (int i = 0; i < window->ControlCount(); ++i) {
    const TControl* sibling = window->Controls(i);
    if (!sibling->Visible() || IsSelected(sibling) || sibling == control) continue;
    TRect s = sibling->BoundsRect();
    consider(bestX, raw.Left, raw.Right, s.Left, s.Right, s);
    consider(bestY, raw.Top, raw.Bottom, s.Top, s.Bottom, s);
  }
  bool lineX = std::abs(bestX.Offset) <= GuideDistance;
  bool lineY = std::abs(bestY.Offset) <= GuideDistance;
  if (lineX) move.X = dx + bestX.Offset;
  if (lineY) move.Y = dy + bestY.Offset;
  // Drawn over both controls where they end up.
  TRect placed = host::Bounds(lead.Left + move.X, lead.Top + move.Y, lead.Width(), lead.Height());
  if (lineX)
    FGuides.push_back({true, origin.X + bestX.Line,
                       origin.Y + std::min(placed.Top, bestX.Sibling.Top),
                       origin.Y + std::max(placed.Bottom, bestX.Sibling.Bottom)});
  if (lineY)
    FGuides.push_back({false, origin.Y + bestY.Line,
                       origin.X + std::min(placed.Left, bestY.Sibling.Left),
                       origin.X + std::max(placed.Right, bestY.Sibling.Right)});
  return move;
}

bool TFormDesigner::AlignByName(const std::string& name, TAlign& how) {
  static const std::pair<const char*, TAlign> names[] = {
      {"left", TAlign::Left},     {"right", TAlign::Right},     {"top", TAlign::Top},
      {"bottom", TAlign::Bottom}, {"hcenter", TAlign::HCenter}, {"vcenter", TAlign::VCenter},
      {"width", TAlign::Width},   {"height", TAlign::Height},   {"hspace", TAlign::HSpace},
      {"vspace", TAlign::VSpace}};
  for (const auto& [word, value] : names)
    if (host::SameText(name, word)) {
      how = value;
      return true;
    }
  return false;
}

void TFormDesigner::AlignSelection(TAlign how) {
  std::vector<TControl*> controls;
  for (TComponent* c : FSelection)
    if (auto* control = dynamic_cast<TControl*>(c)) controls.push_back(control);
  if (controls.size() < 2 ||
      ((how == TAlign::HSpace || how == TAlign::VSpace) && controls.size() < 3))
    return;
  // Lined up in the form's coordinates, so that controls in different containers line up too.
  auto bounds = [&](const TControl* c) { return FormBounds(*c); };
  auto place = [&](TControl* c, const TRect& inForm) {
    const TPoint origin = c->Parent() ? c->Parent()->OriginIn(&FForm) : TPoint{0, 0};
    c->SetBounds(Position(int64_t{inForm.Left} - origin.X),
                 Position(int64_t{inForm.Top} - origin.Y), Extent(inForm.Width()),
                 Extent(inForm.Height()));
  };
  const TRect first = bounds(controls.front());
  const char* what = "";
  if (how == TAlign::HSpace || how == TAlign::VSpace) {
    bool across = how == TAlign::HSpace;
    std::vector<TControl*> order = controls;
    std::sort(order.begin(), order.end(), [&](const TControl* a, const TControl* b) {
      return across ? bounds(a).Left < bounds(b).Left : bounds(a).Top < bounds(b).Top;
    });
    // The outermost two stay; the gaps between all of them become equal.
    int64_t span = across ? bounds(order.back()).Right - bounds(order.front()).Left
                          : bounds(order.back()).Bottom - bounds(order.front()).Top;
    int64_t sizes = 0;
    for (const TControl* c : order) sizes += across ? bounds(c).Width() : bounds(c).Height();
    int64_t gaps = static_cast<int64_t>(order.size()) - 1;
    int64_t at = across ? bounds(order.front()).Left : bounds(order.front()).Top;
    for (size_t i = 0; i < order.size(); ++i) {
      TRect r = bounds(order[i]);
      // The remainder of an uneven division goes to the first gaps, a pixel each.
      int64_t gap =
          (span - sizes) / gaps + (static_cast<int64_t>(i) < (span - sizes) % gaps ? 1 : 0);
      if (across)
        r = host::Bounds(static_cast<int>(at), r.Top, r.Width(), r.Height());
      else
        r = host::Bounds(r.Left, static_cast<int>(at), r.Width(), r.Height());
      place(order[i], r);
      at += (across ? r.Width() : r.Height()) + gap;
    }
    what = across ? "Space Across" : "Space Down";
  } else {
    for (TControl* c : controls) {
      TRect r = bounds(c);
      int w = r.Width(), h = r.Height();
      switch (how) {
        case TAlign::Left:
          r = host::Bounds(first.Left, r.Top, w, h);
          what = "Align Left Edges of";
          break;
        case TAlign::Right:
          r = host::Bounds(first.Right - w, r.Top, w, h);
          what = "Align Right Edges of";
          break;
        case TAlign::Top:
          r = host::Bounds(r.Left, first.Top, w, h);
          what = "Align Tops of";
          break;
        case TAlign::Bottom:
          r = host::Bounds(r.Left, first.Bottom - h, w, h);
          what = "Align Bottoms of";
          break;
        case TAlign::HCenter:
          r = host::Bounds((first.Left + first.Right) / 2 - w / 2, r.Top, w, h);
          what = "Centre Across";
          break;
        case TAlign::VCenter:
          r = host::Bounds(r.Left, (first.Top + first.Bottom) / 2 - h / 2, w, h);
          what = "Centre Down";
          break;
        case TAlign::Width:
          r = host::Bounds(r.Left, r.Top, first.Width(), h);
          what = "Same Width for";
          break;
        default:
          r = host::Bounds(r.Left, r.Top, w, first.Height());
          what = "Same Height for";
          break;
      }
      place(c, r);
    }
  }
  FForm.Invalidate();
  Step(what);
  Modified();
}

bool TFormDesigner::DraggedBand(TRect& band) const {
  if (FDrag != TDrag::Band) return false;
  band = {std::min(FDragStart.X, FDragPoint.X), std::min(FDragStart.Y, FDragPoint.Y),
          std::max(FDragStart.X, FDragPoint.X), std::max(FDragStart.Y, FDragPoint.Y)};
  return true;
}

bool TFormDesigner::HandleKey(host::TKey key, host::TShiftState shift) {
  bool ctrl = shift.Contains(host::ssCtrl), shiftKey = shift.Contains(host::ssShift);
  int dx = key == host::VK_LEFT ? -1 : key == host::VK_RIGHT ? 1 : 0;
  int dy = key == host::VK_UP ? -1 : key == host::VK_DOWN ? 1 : 0;
  if ((dx || dy) && ctrl && !shiftKey) {
    MoveSelection(dx, dy);
    return true;
  }
  if ((dx || dy) && shiftKey && !ctrl) {
    ResizeSelection(dx, dy);
    return true;
  }
  if (key == host::VK_DELETE && shift.Mask() == 0) {
    DeleteSelection();
    return true;
  }
  if (key == host::VK_ESCAPE && shift.Mask() == 0 && FSelection.size() == 1) {
    auto* control = dynamic_cast<TControl*>(FSelection.front());
    Select(control && control->Parent() ? control->Parent() : nullptr);
    return true;
  }
  return false;
}

}  // namespace ide
