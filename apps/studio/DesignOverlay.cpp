#include "apps/studio/DesignOverlay.h"

#include <QChildEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QUrl>
#include <algorithm>
#include <cctype>

#include "apps/studio/PaletteBar.h"
#include "host/Resources.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtPainterSurface.h"
#include "ide/DesignCore.h"

namespace mebrox::studio {

namespace {

const QColor HandleColor(0, 0, 0);
const QColor GroupHandleColor(128, 128, 128);
const QColor FaceColor(192, 192, 192);
const QColor OverhangColor(220, 0, 0);
// How thick the mark is along a frame's edge where a control runs past it.
constexpr int OverhangMark = 4;

QRect ToQRect(const host::TRect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QWidget* WindowOfForm(host::TForm& form) {
  form.HandleNeeded();
  QWidget* widget = host::qt::WidgetOf(form);
  // Without it the overlay would become a window of its own, floating somewhere on the desktop.
  if (!widget) throw host::EInvalidOperation("Form " + form.Name() + " has no window to mark");
  return widget;
}

// Non-visual components sit on the form as icons; menu items hang in their menu instead.
bool IsIcon(const host::TComponent& component) {
  return !dynamic_cast<const host::TControl*>(&component) && !component.HasParent();
}

std::vector<std::string> LocalFiles(const QMimeData* mime) {
  std::vector<std::string> files;
  if (!mime || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  return files;
}

// A face the user knows from the old tool buttons: light above and left, dark below and right.
void PaintRaisedBox(QPainter& painter, const QRect& box) {
  painter.fillRect(box, FaceColor);
  const int l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
  painter.setPen(Qt::white);
  painter.drawLine(l, t, r - 1, t);
  painter.drawLine(l, t, l, b - 1);
  painter.setPen(Qt::black);
  painter.drawLine(l, b, r, b);
  painter.drawLine(r, t, r, b);
  painter.setPen(QColor(128, 128, 128));
  painter.drawLine(l + 1, b - 1, r - 1, b - 1);
  painter.drawLine(r - 1, t + 1, r - 1, b - 1);
}

// For a class that brings no palette image: a blank sheet with the class's initial.
void PaintNeutralGlyph(QPainter& painter, const QRect& glyph, const std::string& className) {
  QRect sheet = glyph.adjusted(3, 3, -3, -3);
  painter.fillRect(sheet, Qt::white);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(sheet.adjusted(0, 0, -1, -1));
  std::string name = className.size() > 1 && className[0] == 'T' ? className.substr(1) : className;
  if (name.empty()) return;
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(12);
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 128));
  painter.drawText(sheet, Qt::AlignCenter, QString(QChar(name[0])));
}

}  // namespace

QtDesignOverlay::QtDesignOverlay(host::TForm& form, ide::TFormDesigner& designer)
    : QWidget(WindowOfForm(form)), FForm(form), FDesigner(designer), FFormWidget(parentWidget()) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  FSentinel = new QObject(FFormWidget);
  // Above the sentinel from here on: later raises only ever move the overlay to the end.
  raise();
  OnError = [this](const std::string& message) {
    // A modal box inside a drop would keep the file manager's drag waiting on us.
    QMetaObject::invokeMethod(
        this,
        [this, text = QString::fromStdString(message)] {
          QMessageBox::warning(window(), tr("Drop files"), text);
        },
        Qt::QueuedConnection);
  };
  FAcceptedDrops = FFormWidget->acceptDrops();
  FFormWidget->setAcceptDrops(true);
  Watch(FFormWidget);
  setGeometry(FFormWidget->rect());
  show();
}

QtDesignOverlay::~QtDesignOverlay() {
  // Gone sentinel: the form's window is deleting its children, itself on its way out.
  if (!FSentinel || !FFormWidget) return;
  for (const QPointer<QObject>& watched : FWatched)
    if (watched) watched->removeEventFilter(this);
  FFormWidget->setAcceptDrops(FAcceptedDrops);
  delete FSentinel;
}

void QtDesignOverlay::Changed() {
  update();
}

void QtDesignOverlay::Watch(QObject* object) {
  if (object == this || object == FSentinel || !object->isWidgetType()) return;
  auto* widget = static_cast<QWidget*>(object);
  // A dialog parented to the form is a window of its own, with coordinates of its own.
  if (widget != FFormWidget && widget->isWindow()) return;
  widget->installEventFilter(this);
  FWatched.emplace_back(widget);
  for (QObject* child : widget->children()) Watch(child);
}

void QtDesignOverlay::KeepOnTop() {
  if (!FFormWidget) return;
  const QObjectList& children = FFormWidget->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (*it && (*it)->isWidgetType()) {
      if (*it != this) raise();
      return;
    }
}

bool QtDesignOverlay::Designing() const {
  return FForm.IsDesigning() && FForm.Designer() == static_cast<host::IFormDesigner*>(&FDesigner);
}

bool QtDesignOverlay::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ChildAdded: {
      QObject* child = static_cast<QChildEvent*>(event)->child();
      Watch(child);
      if (watched == FFormWidget && child->isWidgetType()) KeepOnTop();
      break;
    }
    case QEvent::ZOrderChange:
      if (watched->parent() == FFormWidget) KeepOnTop();
      break;
    case QEvent::Resize:
      if (watched == FFormWidget) setGeometry(FFormWidget->rect());
      break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return HandleDrag(static_cast<QWidget*>(watched), event);
    default:
      break;
  }
  return false;
}

host::TComponent* QtDesignOverlay::DropTarget(QPoint point) const {
  host::TComponent* component = FDesigner.ComponentAt({point.x(), point.y()});
  if (component == &FForm || !FDesigner.Core().Registry().FindFileDropper(component->ClassInfo()))
    return nullptr;
  return component;
}

bool QtDesignOverlay::HandleDrag(QWidget* watched, QEvent* event) {
  if (!Designing() || !FFormWidget) return false;
  // Every window on the form is the form's while designing, even an edit field that would
  // take the text of a file's name itself.
  auto* drop = static_cast<QDropEvent*>(event);
  QPoint point = drop->position().toPoint();
  if (watched != FFormWidget) point = watched->mapTo(FFormWidget, point);
  const host::TClassInfo* dragged =
      QtPaletteBar::DraggedClass(FDesigner.Core().Registry(), drop->mimeData());
  std::vector<std::string> files =
      dragged ? std::vector<std::string>() : LocalFiles(drop->mimeData());
  // What is dragged is read or copied, never taken away: a move offered by the file manager
  // becomes a copy.
  if ((!dragged && files.empty()) || !(drop->possibleActions() & Qt::CopyAction)) {
    drop->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  // The window takes part in the drag wherever the pointer enters it, often over nothing that
  // takes files: a window that refuses the entry is told none of the moves that follow. Where
  // the files may land is answered move by move.
  if (event->type() == QEvent::DragEnter) {
    drop->accept();
    return true;
  }
  host::TComponent* target = dragged ? nullptr : DropTarget(point);
  if (!dragged && !target) {
    drop->ignore();
    return true;
  }
  drop->accept();
  if (event->type() != QEvent::Drop) return true;
  bool done = dragged ? DropComponent(*dragged, point) : Drop(*target, files);
  if (!done) drop->ignore();
  return true;
}

bool QtDesignOverlay::Drop(host::TComponent& target, const std::vector<std::string>& files) {
  const ide::TFileDropper* dropper =
      FDesigner.Core().Registry().FindFileDropper(target.ClassInfo());
  if (!dropper) return false;
  try {
    (*dropper)(FDesigner, target, files);
  } catch (const std::exception& e) {
    if (OnError) OnError(e.what());
    return false;
  }
  FDesigner.Modified();
  Changed();
  return true;
}

bool QtDesignOverlay::DropComponent(const host::TClassInfo& cls, QPoint point) {
  host::TComponent* dropped = nullptr;
  try {
    dropped = FDesigner.Drop(cls, {point.x(), point.y()});
  } catch (const std::exception& e) {
    if (OnError) OnError(e.what());
    return false;
  }
  if (FDesigner.OnDropped) FDesigner.OnDropped(*dropped);
  Changed();
  return true;
}

void QtDesignOverlay::PaintOverhangs(QPainter& painter) const {
  const int width = FForm.ClientWidth(), height = FForm.ClientHeight();
  for (const host::TComponent* c : FForm.ComponentList()) {
    auto* control = dynamic_cast<const host::TControl*>(c);
    if (!control || control->Parent() != &FForm) continue;
    const host::TRect over = host::Overhang(*control);
    const host::TRect b = control->BoundsRect();
    // A red band along each edge the control crosses, as long as the control is there.
    const int top = std::max(b.Top, 0), bottom = std::min(b.Bottom, height);
    const int left = std::max(b.Left, 0), right = std::min(b.Right, width);
    if (over.Right > 0)
      painter.fillRect(width - OverhangMark, top, OverhangMark, bottom - top, OverhangColor);
    if (over.Left > 0) painter.fillRect(0, top, OverhangMark, bottom - top, OverhangColor);
    if (over.Bottom > 0)
      painter.fillRect(left, height - OverhangMark, right - left, OverhangMark, OverhangColor);
    if (over.Top > 0) painter.fillRect(left, 0, right - left, OverhangMark, OverhangColor);
  }
}

void QtDesignOverlay::paintEvent(QPaintEvent*) {
  if (!Designing()) return;
  QPainter painter(this);
  auto markBounds = [this](const host::TComponent& c) {
    if (auto* control = dynamic_cast<const host::TControl*>(&c))
      return FDesigner.FormBounds(*control);
    return host::Bounds(c.DesignLeft(), c.DesignTop(), IconSize, IconSize);
  };

  for (const host::TComponent* c : FForm.ComponentList()) {
    if (!IsIcon(*c)) continue;
    QRect box(c->DesignLeft(), c->DesignTop(), IconSize, IconSize);
    PaintRaisedBox(painter, box);
    std::string name = c->ClassName();
    for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    QRect glyph(box.left() + 2, box.top() + 2, 24, 24);
    if (auto image = host::LoadBitmapResource(name))
      painter.drawImage(glyph, host::qt::ToQImage(*image));
    else
      PaintNeutralGlyph(painter, glyph, c->ClassName());
  }

  PaintOverhangs(painter);

  const std::vector<host::TComponent*>& selection = FDesigner.Selection();
  if (selection.size() == 1) {
    host::TRect bounds = markBounds(*selection.front());
    for (int h = 0; h < 8; ++h)
      painter.fillRect(ToQRect(ide::TFormDesigner::HandleRect(bounds, h)), HandleColor);
  } else {
    // Several components are moved together but never sized together: corners only, in grey.
    for (const host::TComponent* c : selection) {
      host::TRect bounds = markBounds(*c);
      for (int h = 0; h < 8; h += 2)
        painter.fillRect(ToQRect(ide::TFormDesigner::HandleRect(bounds, h)), GroupHandleColor);
    }
  }

  host::TRect band;
  if (FDesigner.DraggedBand(band) && !band.IsEmpty()) {
    // White under black dots, so the band shows on dark controls as well as on light ones.
    QRect r = ToQRect(band).adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(r);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(r);
  }
  // The lines a dragged control keeps to, where it meets a sibling's edge or centre.
  painter.setPen(QPen(QColor(0xE0, 0x30, 0x90), 1, Qt::DashLine));
  for (const ide::TFormDesigner::TGuide& g : FDesigner.Guides()) {
    if (g.Vertical)
      painter.drawLine(g.Position, g.From - 8, g.Position, g.To + 8);
    else
      painter.drawLine(g.From - 8, g.Position, g.To + 8, g.Position);
  }
}

}  // namespace mebrox::studio
