#include "apps/studio/PaletteBar.h"

#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "apps/studio/StudioHelp.h"

#include "host/Resources.h"
#include "host/SysUtils.h"
#include "host/qt/QtPainterSurface.h"
#include "ide/Registry.h"

namespace mebrox::studio {

namespace {

QIcon PointerIcon() {
  QImage image(24, 24, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QPolygonF arrow({{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}});
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawPolygon(arrow);
  return QIcon(QPixmap::fromImage(image));
}

// "THyperTxt" shows as "HyperTxt", as designers name the components.
QString ShownName(const host::TClassInfo& cls) {
  std::string name = cls.Name();
  if (name.size() > 1 && name[0] == 'T') name.erase(0, 1);
  return QString::fromStdString(name);
}

}  // namespace

QtPaletteBar::QtPaletteBar(const ide::TDesignRegistry& registry, QWidget* parent)
    : QTabWidget(parent), FRegistry(registry) {
  setDocumentMode(true);
  FGroup.setExclusive(true);
  Reload();
}

QImage QtPaletteBar::PictureOf(const host::TClassInfo& cls) {
  if (auto bitmap = host::LoadBitmapResource(host::UpperCase(cls.Name())))
    return host::qt::ToQImage(*bitmap);
  QImage image(24, 24, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(Qt::darkGray);
  painter.setBrush(QColor(0xC0, 0xC0, 0xC0));
  painter.drawRect(2, 2, 19, 19);
  painter.setPen(Qt::black);
  painter.drawText(QRect(2, 2, 20, 20), Qt::AlignCenter, ShownName(cls).left(2));
  return image;
}

void QtPaletteBar::Reload() {
  for (auto& [button, cls] : FButtons) FGroup.removeButton(button);
  FButtons.clear();
  while (count() > 0) {
    QWidget* page = widget(0);
    removeTab(0);
    delete page;
  }
  for (const std::string& pageName : FRegistry.PalettePages()) {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    auto add = [&](const host::TClassInfo* cls) {
      auto* button = new QToolButton(page);
      button->setCheckable(true);
      button->setAutoRaise(true);
      button->setIconSize(QSize(24, 24));
      button->setFixedSize(30, 30);
      if (cls) {
        button->setIcon(QIcon(QPixmap::fromImage(PictureOf(*cls))));
        button->setToolTip(ComponentPurpose(*cls));
        // A screen reader says the class and what it is for; the button shows only an icon.
        button->setAccessibleName(QString::fromStdString(cls->Name()));
        button->setAccessibleDescription(ComponentPurpose(*cls));
        button->setObjectName(QString::fromStdString(cls->Name()));
        button->installEventFilter(this);
      } else {
        button->setIcon(PointerIcon());
        button->setToolTip(tr("Pointer"));
        button->setAccessibleName(tr("Pointer"));
        button->setObjectName("Pointer");
      }
      FGroup.addButton(button);
      FButtons.emplace_back(button, cls);
      row->addWidget(button);
    };
    add(nullptr);
    for (const host::TClassInfo* cls : FRegistry.PaletteClasses(pageName)) add(cls);
    row->addStretch();
    addTab(page, QString::fromStdString(pageName));
  }
  Choose(nullptr);
}

const host::TClassInfo* QtPaletteBar::Chosen() const {
  for (const auto& [button, cls] : FButtons)
    if (button->isChecked()) return cls;
  return nullptr;
}

void QtPaletteBar::Choose(const host::TClassInfo* cls) {
  QWidget* page = currentWidget();
  for (const auto& [button, c] : FButtons)
    if (c == cls && (cls || button->parentWidget() == page)) {
      button->setChecked(true);
      return;
    }
}

const char* const QtPaletteBar::MimeType = "application/x-mebrox-palette-class";

std::unique_ptr<QMimeData> QtPaletteBar::DragData(const host::TClassInfo& cls) {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(MimeType, QByteArray::fromStdString(cls.Name()));
  return mime;
}

const host::TClassInfo* QtPaletteBar::DraggedClass(const ide::TDesignRegistry& registry,
                                                   const QMimeData* mime) {
  if (!mime || !mime->hasFormat(MimeType)) return nullptr;
  const std::string name = mime->data(MimeType).toStdString();
  for (const std::string& page : registry.PalettePages())
    for (const host::TClassInfo* cls : registry.PaletteClasses(page))
      if (cls->Name() == name) return cls;
  return nullptr;
}

bool QtPaletteBar::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (!button) return QTabWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        FPressed = button;
        FPressedAt = mouse->position().toPoint();
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (FPressed != button || !(mouse->buttons() & Qt::LeftButton) ||
          (mouse->position().toPoint() - FPressedAt).manhattanLength() <
              QApplication::startDragDistance())
        break;
      FPressed = nullptr;
      for (const auto& [b, cls] : FButtons)
        if (b == button && cls) {
          StartDrag(*button, *cls);
          return true;
        }
      break;
    }
    case QEvent::MouseButtonRelease:
      FPressed = nullptr;
      break;
    default:
      break;
  }
  return QTabWidget::eventFilter(watched, event);
}

void QtPaletteBar::StartDrag(QToolButton& button, const host::TClassInfo& cls) {
  // The button was pressed, not clicked: it must not stay down, nor choose its class when the
  // drag ends over it.
  button.setDown(false);
  auto* drag = new QDrag(&button);
  drag->setMimeData(DragData(cls).release());
  drag->setPixmap(QPixmap::fromImage(PictureOf(cls)));
  drag->setHotSpot(QPoint(12, 12));
  drag->exec(Qt::CopyAction, Qt::CopyAction);
}

QToolButton* QtPaletteBar::ButtonOf(const std::string& className) const {
  for (const auto& [button, cls] : FButtons)
    if (cls && cls->Name() == className) return button;
  return nullptr;
}

}  // namespace mebrox::studio
