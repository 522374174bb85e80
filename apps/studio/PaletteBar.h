#pragma once

#include <QButtonGroup>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <string>

#include "host/Classes.h"

namespace ide {
class TDesignRegistry;
}

class QMimeData;
class QToolButton;

namespace mebrox::studio {

// The component palette: a tab per registered page, a button per class with its 24 x 24
// picture, and the pointer first on every page. Clicking a class chooses it; the next click on
// a frame drops one there, and the palette goes back to the pointer. A class may also be dragged
// from its button and let go on a frame; its tooltip says what the component is for.
class QtPaletteBar : public QTabWidget {
 public:
  // The pages are those registered with registry, which must outlive the palette.
  explicit QtPaletteBar(const ide::TDesignRegistry& registry, QWidget* parent = nullptr);

  // Fills the pages from the registry.
  void Reload();
  // The class chosen, or null while the pointer is.
  const host::TClassInfo* Chosen() const;
  // Chooses a class (null: the pointer), as a click on its button does.
  void Choose(const host::TClassInfo* cls);
  // The button of a class on the page shown; null when it has none.
  QToolButton* ButtonOf(const std::string& className) const;

  // The picture the palette shows for a class: its drawing, or a neutral one naming it.
  static QImage PictureOf(const host::TClassInfo& cls);

  // What a drag from the palette carries: the class's name under a type of its own.
  static const char* const MimeType;
  static std::unique_ptr<QMimeData> DragData(const host::TClassInfo& cls);
  // The palette class a drag carries; null for any other drag, or a class no page of registry
  // has.
  static const host::TClassInfo* DraggedClass(const ide::TDesignRegistry& registry,
                                              const QMimeData* mime);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartDrag(QToolButton& button, const host::TClassInfo& cls);

  const ide::TDesignRegistry& FRegistry;
  QPoint FPressedAt;
  QToolButton* FPressed = nullptr;
  QButtonGroup FGroup;
  std::vector<std::pair<QToolButton*, const host::TClassInfo*>> FButtons;
};

}  // namespace mebrox::studio
