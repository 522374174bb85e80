#pragma once

#include <QTreeWidget>
#include <functional>

#include "ide/DesignSession.h"

namespace mebrox::studio {

// The project manager: the project's units with their files and frames. Activating a frame's
// row brings its window forward.
class QtProjectManager : public QTreeWidget {
 public:
  explicit QtProjectManager(QWidget* parent = nullptr);

  // Shows the session's project (null: none) as it is now.
  void Show(const ide::TDesignSession* session);
  std::function<void(host::TForm&)> OnOpenForm;
  // Remove Frame chosen on the frame's row.
  std::function<void(host::TForm&)> OnRemoveForm;
  // The frame of a row; null for a unit without one, or no row.
  host::TForm* FormOf(QTreeWidgetItem* item) const;

 private:
  const ide::TDesignSession* FSession = nullptr;
};

}  // namespace mebrox::studio
