#include "apps/studio/PaletteBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

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

QtPaletteBar::QtPaletteBar(QWidget* parent) : QTabWidget(parent) {
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
  for (const std::string& pageName : ide::DesignRegistry().PalettePages()) {
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
        button->setToolTip(ShownName(*cls));
        button->setObjectName(QString::fromStdString(cls->Name()));
      } else {
        button->setIcon(PointerIcon());
        button->setToolTip(tr("Pointer"));
        button->setObjectName("Pointer");
      }
      FGroup.addButton(button);
      FButtons.emplace_back(button, cls);
      row->addWidget(button);
    };
    add(nullptr);
    for (const host::TClassInfo* cls : ide::DesignRegistry().PaletteClasses(pageName)) add(cls);
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

QToolButton* QtPaletteBar::ButtonOf(const std::string& className) const {
  for (const auto& [button, cls] : FButtons)
    if (cls && cls->Name() == className) return button;
  return nullptr;
}

}  // namespace mebrox::studio
