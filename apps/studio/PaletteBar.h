#pragma once

#include <QButtonGroup>
#include <QTabWidget>
#include <functional>
#include <string>

#include "host/Classes.h"

class QToolButton;

namespace mebrox::studio {

// The component palette: a tab per registered page, a button per class with its 24 x 24
// picture, and the pointer first on every page. Clicking a class chooses it; the next click on
// a frame drops one there, and the palette goes back to the pointer.
class QtPaletteBar : public QTabWidget {
 public:
  explicit QtPaletteBar(QWidget* parent = nullptr);

  // Fills the pages from the IDE's registry.
  void Reload();
  // The class chosen, or null while the pointer is.
  const host::TClassInfo* Chosen() const;
  // Chooses a class (null: the pointer), as a click on its button does.
  void Choose(const host::TClassInfo* cls);
  // The button of a class on the page shown; null when it has none.
  QToolButton* ButtonOf(const std::string& className) const;

  // The picture the palette shows for a class: its drawing, or a neutral one naming it.
  static QImage PictureOf(const host::TClassInfo& cls);

 private:
  QButtonGroup FGroup;
  std::vector<std::pair<QToolButton*, const host::TClassInfo*>> FButtons;
};

}  // namespace mebrox::studio
