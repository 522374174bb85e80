#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "ide/FormDesigner.h"

class QPainter;

namespace mebrox::studio {

// The designer's marks over a designed form: sizing handles of the selection, the icons of the
// non-visual components, the rubber band, and a red band along an edge of the form where a
// control runs past it (what lies beyond never shows). It is a child window of the form that covers
// the client area above every control window and lets the pointer through to the form, so the
// designer keeps receiving it. It also takes files dropped from the desktop and hands them to
// the component under the pointer that takes files (a hot image its picture, a wave player its
// wave), and components dragged from the palette, dropped where they are let go.
//
// The overlay is the form window's child: when the form's window goes, the overlay goes with it
// (hold it by QPointer). Deleting the overlay first leaves the form's window as it found it.
class QtDesignOverlay : public QWidget {
 public:
  QtDesignOverlay(host::TForm& form, ide::TFormDesigner& designer);
  ~QtDesignOverlay() override;
  QtDesignOverlay(const QtDesignOverlay&) = delete;
  QtDesignOverlay& operator=(const QtDesignOverlay&) = delete;

  // Paints the marks again; the studio calls it when the selection, the form or a drag changes.
  void Changed();

  // Told the text of an error a drop caused (a file that is no picture); a warning box unless
  // replaced.
  std::function<void(const std::string&)> OnError;

  // The size of a non-visual component's icon, the box the designer's hit test takes for it.
  static constexpr int IconSize = 28;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PaintOverhangs(QPainter& painter) const;
  void Watch(QObject* object);
  void KeepOnTop();
  bool Designing() const;
  // The component that takes files dropped at a client point of the form, or null.
  host::TComponent* DropTarget(QPoint point) const;
  bool HandleDrag(QWidget* watched, QEvent* event);
  // False when the target refused the files (its error is reported).
  bool Drop(host::TComponent& target, const std::vector<std::string>& files);
  // A component of the class at a client point; false when it could not be made there.
  bool DropComponent(const host::TClassInfo& cls, QPoint point);

  host::TForm& FForm;
  ide::TFormDesigner& FDesigner;
  QPointer<QWidget> FFormWidget;
  // Lives in the form's window ahead of the overlay; Qt deletes a window's children in order,
  // so finding it gone in the destructor means the form's window is going and needs no repair.
  QPointer<QObject> FSentinel;
  std::vector<QPointer<QObject>> FWatched;
  bool FAcceptedDrops = false;  // what the form's window said about drops before
};

}  // namespace mebrox::studio
