#include "apps/studio/ProjectManager.h"

#include <QHeaderView>
#include <QMenu>
#include <filesystem>

namespace mebrox::studio {

QtProjectManager::QtProjectManager(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(3);
  setHeaderLabels({tr("Unit"), tr("Frame"), tr("File")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    if (!FSession || !OnOpenForm) return;
    if (host::TForm* form = FormOf(item)) OnOpenForm(*form);
  });
  // A frame's row offers what the File menu does for it.
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    host::TForm* form = FormOf(itemAt(at));
    if (!form || !OnRemoveForm) return;
    QMenu menu(this);
    QAction* remove = menu.addAction(tr("&Remove Frame..."));
    remove->setObjectName("actRemoveFrameRow");
    remove->setEnabled(FSession->Modules().size() > 1);
    if (menu.exec(viewport()->mapToGlobal(at)) == remove) OnRemoveForm(*form);
  });
}

host::TForm* QtProjectManager::FormOf(QTreeWidgetItem* item) const {
  if (!item || !FSession) return nullptr;
  return FSession->FindForm(item->text(1).toStdString());
}

void QtProjectManager::Show(const ide::TDesignSession* session) {
  FSession = session;
  clear();
  if (!session) return;
  for (const ide::TDesignModule& module : session->Modules()) {
    std::string file = std::filesystem::path(module.SourcePath)
                           .lexically_relative(session->Folder())
                           .generic_string();
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(module.UnitName));
    item->setText(1, module.Form ? QString::fromStdString(module.Form->Name()) : QString());
    item->setText(2, QString::fromStdString(file) + (module.New ? tr(" (not saved)") : ""));
  }
  // The rows changed behind a dialog that just closed (Add Existing Frame's file dialog) are
  // otherwise left undrawn until something else repaints the list.
  viewport()->update();
}

}  // namespace mebrox::studio
