#include "apps/studio/ProjectManager.h"

#include <QHeaderView>
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
    if (host::TForm* form = FSession->FindForm(item->text(1).toStdString())) OnOpenForm(*form);
  });
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
}

}  // namespace mebrox::studio
