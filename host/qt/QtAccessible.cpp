#include "host/qt/QtAccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "host/Controls.h"
#include "host/Forms.h"
#include "host/qt/QtBackend.h"

namespace host::qt {

namespace {

QAccessible::Role ToQtRole(TAccessibleRole role) {
  switch (role) {
    case TAccessibleRole::None:
      return QAccessible::NoRole;
    case TAccessibleRole::Window:
      return QAccessible::Window;
    case TAccessibleRole::Dialog:
      return QAccessible::Dialog;
    case TAccessibleRole::Alert:
      return QAccessible::AlertMessage;
    case TAccessibleRole::Pane:
      return QAccessible::Pane;
    case TAccessibleRole::StaticText:
      return QAccessible::StaticText;
    case TAccessibleRole::Text:
      return QAccessible::Paragraph;
    case TAccessibleRole::Link:
      return QAccessible::Link;
    case TAccessibleRole::Button:
    case TAccessibleRole::ToggleButton:
      return QAccessible::PushButton;
    case TAccessibleRole::Graphic:
      return QAccessible::Graphic;
  }
  return QAccessible::NoRole;
}

TAccessibleInfo InfoOf(const TControl& control, int child) {
  return AccessibleInfoOf(control, child);
}

void AddStates(QAccessible::State& state, const TControl& control, int child,
               const TAccessibleInfo& info) {
  if (!control.Showing()) state.invisible = true;
  if (!control.Enabled()) state.disabled = true;
  if (info.Focusable) state.focusable = true;
  if (control.AccessibleFocused(child)) state.focused = true;
  if (info.Role == TAccessibleRole::ToggleButton) {
    state.checkable = true;
    state.checked = info.Checked;
  }
  if (info.Role == TAccessibleRole::Link) state.linked = true;
}

// A press from a reader arrives inside its request; what it does (a modal note, another
// frame) runs once the request is answered, as a click's would.
void PressLater(const std::function<void()>& press) {
  QMetaObject::invokeMethod(
      qApp, [press] { HandleEvents(press); }, Qt::QueuedConnection);
}

QAccessibleInterface* InterfaceOf(TControl& control, int child);

// The interfaces that belong to no Qt object: controls the kit paints and their parts. Qt needs
// each to stay the same object as long as it is valid; they go with their control.
std::map<std::pair<const TControl*, int>, QAccessible::Id>& Registry() {
  static std::map<std::pair<const TControl*, int>, QAccessible::Id> registry;
  return registry;
}

bool Registered(const TControl* control, int child) {
  return Registry().count({control, child}) > 0;
}

// The readable children of a kit window, in reading order: its parts first, then the controls
// it holds, top to bottom and left to right.
std::vector<QAccessibleInterface*> ChildrenOf(TWinControl& control, QWidget* widget) {
  std::vector<QAccessibleInterface*> children;
  for (int i = 0; i < control.AccessibleChildCount(); ++i)
    children.push_back(InterfaceOf(control, i));
  std::vector<std::pair<QPoint, QAccessibleInterface*>> placed;
  for (int i = 0; i < control.ControlCount(); ++i) {
    TControl* c = control.Controls(i);
    if (dynamic_cast<TWinControl*>(c)) continue;
    if (InfoOf(*c, -1).Role == TAccessibleRole::None) continue;
    placed.emplace_back(QPoint(c->Left(), c->Top()), InterfaceOf(*c, -1));
  }
  // The windowed ones are the widget's children, whether the kit paints them or Qt does.
  for (QObject* object : widget->children()) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w || w->isWindow()) continue;
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w))
      placed.emplace_back(w->pos(), iface);
  }
  std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
    return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
  });
  for (const auto& p : placed) children.push_back(p.second);
  return children;
}

// Where the stop the keyboard is on lies inside the form that holds control, if it does.
QAccessibleInterface* KeyStopInterface(const TControl& control) {
  const TForm* form = GetParentForm(&control);
  if (!form || !form->KeyStopControl()) return nullptr;
  TControl* stop = form->KeyStopControl();
  return InterfaceOf(*stop, stop->AccessibleChildCount() > 0 ? form->KeyStopIndex() : -1);
}

// A window the kit paints: a QWidget, so Qt knows its place, focus and window; what it is comes
// from its control.
class QtKitWindowAccessible final : public QAccessibleWidget {
 public:
  explicit QtKitWindowAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

  TWinControl* Control() const { return KitWindowControl(object()); }

  bool isValid() const override { return QAccessibleWidget::isValid() && Control(); }
  QAccessible::Role role() const override { return ToQtRole(InfoOf(*Control(), -1).Role); }
  QString text(QAccessible::Text t) const override {
    TAccessibleInfo info = InfoOf(*Control(), -1);
    if (t == QAccessible::Name) return QString::fromStdString(info.Name);
    if (t == QAccessible::Description) return QString::fromStdString(info.Description);
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    TWinControl* control = Control();
    // The window has Qt's keyboard while the stops take it in turn; the stop is what has it.
    if (KeyStopInterface(*control)) s.focused = false;
    AddStates(s, *control, -1, InfoOf(*control, -1));
    return s;
  }
  int childCount() const override { return static_cast<int>(Children().size()); }
  QAccessibleInterface* child(int index) const override {
    std::vector<QAccessibleInterface*> children = Children();
    return index >= 0 && index < static_cast<int>(children.size())
               ? children[static_cast<size_t>(index)]
               : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    std::vector<QAccessibleInterface*> children = Children();
    auto it = std::find(children.begin(), children.end(), child);
    return it == children.end() ? -1 : static_cast<int>(it - children.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (QAccessibleInterface* c : Children())
      if (c->rect().contains(x, y)) return c;
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (object()->isWidgetType() && static_cast<QWidget*>(object())->isWindow())
      if (QAccessibleInterface* stop = KeyStopInterface(*Control())) return stop;
    return QAccessibleWidget::focusChild();
  }

  QStringList actionNames() const override {
    if (InfoOf(*Control(), -1).Pressable) return {pressAction()};
    return QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name != pressAction() || !InfoOf(*Control(), -1).Pressable) {
      QAccessibleWidget::doAction(name);
      return;
    }
    QPointer<QObject> alive = object();
    PressLater([alive] {
      if (TWinControl* control = alive ? KitWindowControl(alive) : nullptr)
        control->AccessiblePress(-1);
    });
  }

 private:
  std::vector<QAccessibleInterface*> Children() const {
    return ChildrenOf(*Control(), static_cast<QWidget*>(object()));
  }
};

// A control the kit paints on its parent's window (child -1), or a part of a control (a hot
// word). It has no Qt object: everything is asked of the control.
class QtKitPartAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  QtKitPartAccessible(TControl& control, int child) : FControl(control), FChild(child) {}

  bool isValid() const override {
    return Registered(&FControl, FChild) &&
           (FChild < 0 || FChild < FControl.AccessibleChildCount());
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    // The window the control is painted on: its own, or its parent's.
    auto* w = dynamic_cast<TWinControl*>(&FControl);
    if (!w) w = FControl.Parent();
    QWidget* widget = w ? WidgetOf(*w) : nullptr;
    return widget ? widget->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    if (FChild >= 0) return InterfaceOf(FControl, -1);
    TWinControl* p = FControl.Parent();
    QWidget* widget = p ? WidgetOf(*p) : nullptr;
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
  }
  int childCount() const override { return FChild < 0 ? FControl.AccessibleChildCount() : 0; }
  QAccessibleInterface* child(int index) const override {
    if (FChild >= 0 || index < 0 || index >= FControl.AccessibleChildCount()) return nullptr;
    return InterfaceOf(FControl, index);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (this->child(i) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (child(i)->rect().contains(x, y)) return child(i);
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    for (int i = 0; i < childCount(); ++i)
      if (FControl.AccessibleFocused(i)) return child(i);
    return nullptr;
  }
  QString text(QAccessible::Text t) const override {
    TAccessibleInfo info = InfoOf(FControl, FChild);
    if (t == QAccessible::Name) return QString::fromStdString(info.Name);
    if (t == QAccessible::Description) return QString::fromStdString(info.Description);
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    TRect r =
        FChild < 0 ? FControl.ClientRect() : UnionOfRects(FControl.AccessibleChildRects(FChild));
    TPoint origin = FControl.ClientToScreen({r.Left, r.Top});
    return {origin.X, origin.Y, r.Width(), r.Height()};
  }
  QAccessible::Role role() const override { return ToQtRole(InfoOf(FControl, FChild).Role); }
  QAccessible::State state() const override {
    QAccessible::State s;
    AddStates(s, FControl, FChild, InfoOf(FControl, FChild));
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override {
    if (InfoOf(FControl, FChild).Pressable) return {pressAction()};
    return {};
  }
  QString localizedActionDescription(const QString& name) const override {
    if (name == pressAction()) {
      std::string what = InfoOf(FControl, FChild).Description;
      if (!what.empty()) return QString::fromStdString(what);
    }
    return QAccessibleActionInterface::localizedActionDescription(name);
  }
  void doAction(const QString& name) override {
    if (name != pressAction() || !InfoOf(FControl, FChild).Pressable) return;
    TControl* control = &FControl;
    int child = FChild;
    PressLater([control, child] {
      if (Registered(control, child)) control->AccessiblePress(child);
    });
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  TControl& FControl;
  int FChild;
};

QAccessibleInterface* InterfaceOf(TControl& control, int child) {
  if (child < 0)
    if (auto* window = dynamic_cast<TWinControl*>(&control)) {
      QWidget* widget = WidgetOf(*window);
      return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    }
  auto key = std::make_pair(static_cast<const TControl*>(&control), child);
  auto it = Registry().find(key);
  if (it != Registry().end()) return QAccessible::accessibleInterface(it->second);
  auto* iface = new QtKitPartAccessible(control, child);
  Registry()[key] = QAccessible::registerAccessibleInterface(iface);
  return iface;
}

void Forget(const TControl& control) {
  auto& registry = Registry();
  std::vector<QAccessible::Id> ids;
  for (auto it = registry.lower_bound({&control, -1});
       it != registry.end() && it->first.first == &control;)
    ids.push_back(it->second), it = registry.erase(it);
  for (QAccessible::Id id : ids) QAccessible::deleteAccessibleInterface(id);
}

void Notify(TControl& control, int child, TAccessibleEvent event) {
  if (event == TAccessibleEvent::Destroyed) {
    Forget(control);
    return;
  }
  // Nobody listens: nothing is built for them.
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* iface = InterfaceOf(control, child);
  if (!iface) return;
  switch (event) {
    case TAccessibleEvent::Focus: {
      QAccessibleEvent e(iface, QAccessible::Focus);
      QAccessible::updateAccessibility(&e);
      break;
    }
    case TAccessibleEvent::NameChanged: {
      QAccessibleEvent e(iface, QAccessible::NameChanged);
      QAccessible::updateAccessibility(&e);
      break;
    }
    case TAccessibleEvent::StateChanged: {
      QAccessible::State changed;
      changed.invisible = changed.disabled = changed.checked = true;
      QAccessibleStateChangeEvent e(iface, changed);
      QAccessible::updateAccessibility(&e);
      break;
    }
    case TAccessibleEvent::ChildrenChanged: {
      QAccessibleEvent e(iface, QAccessible::ObjectReorder);
      QAccessible::updateAccessibility(&e);
      break;
    }
    case TAccessibleEvent::Destroyed:
      break;
  }
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (!KitWindowControl(object)) return nullptr;
  return new QtKitWindowAccessible(static_cast<QWidget*>(object));
}

}  // namespace

void InstallQtAccessibility() {
  static bool installed = false;
  if (!installed) QAccessible::installFactory(Factory);
  installed = true;
  SetAccessibleNotifier(Notify);
}

}  // namespace host::qt
