#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "ide/FormDesigner.h"
#include "ide/PropertyEditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mebrox::studio {

// The object inspector: the published properties of what a form designer has selected (the
// form itself when nothing is), edited through the IDE's property editors. A chooser on top
// names the form and its components; below, a row per property, sorted by name, class
// properties and sets opening into their parts. With several components selected it shows the
// properties they all publish and that their editors may change together.
//
// Each row keeps its editor; the row's value is typed into a line edit (Enter or leaving it
// sets it), chosen from a drop-down when the editor lists values, or set by the editor's own
// dialog behind a "..." button. A double-click runs the editor's Edit, which steps a value list
// to its next value. Each row tells what its property does, as its tooltip and on a line under
// the rows for the current one; a filter box above them shows only the properties whose names
// hold what is typed there.
class QtPropertyPanel : public QWidget {
 public:
  explicit QtPropertyPanel(QWidget* parent = nullptr);
  ~QtPropertyPanel() override;
  QtPropertyPanel(const QtPropertyPanel&) = delete;
  QtPropertyPanel& operator=(const QtPropertyPanel&) = delete;

  // Shows the designer's selection; null shows nothing. The inspector does not own it.
  void Inspect(ide::TFormDesigner* designer);
  ide::TFormDesigner* Designer() const { return FDesigner; }
  // Reads every value again after a change made elsewhere, and follows a changed selection,
  // keeping the rows that are open and the scroll position.
  void Refresh();

  // Told the text of a value an editor refused (or any error an editor raised); a warning box
  // unless replaced.
  std::function<void(const std::string&)> OnError;

  // The parts a user works, for the studio's shortcuts and for tests.
  QComboBox* Chooser() const { return FChooser; }
  QTreeWidget* Tree() const { return FTree; }
  QLineEdit* Filter() const { return FFilter; }
  QLabel* Description() const { return FDescription; }
  // The names of the rows the filter lets show, at the top and open below them, as paths.
  QStringList ShownRows() const;
  // The names of the rows under a row ("" for the top rows), in the order shown.
  QStringList RowNames(const QString& parentPath = QString()) const;
  // A row by its path, "Font.Color", ignoring case; null when there is none.
  QTreeWidgetItem* Row(const QString& path) const;
  // The value as the row shows it.
  QString ValueText(const QString& path) const;
  // The row's line edit, or its drop-down (a QComboBox); null when there is no such row.
  QWidget* ValueEditor(const QString& path) const;
  // The row's "..." button; null when its editor has no dialog.
  QToolButton* DialogButton(const QString& path) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TRow;

  std::vector<host::TPersistent*> Targets() const;
  bool SameTargets(const std::vector<host::TPersistent*>& targets) const;
  void FillChooser();
  void ChooserActivated(int index);
  void Rebuild(const std::vector<host::TPersistent*>& targets);
  void AddRows(QTreeWidgetItem* parent, const QString& parentPath,
               std::vector<std::unique_ptr<ide::TPropertyEditor>> editors, bool sorted, int depth);
  QWidget* MakeCell(TRow& row);
  void UpdateValues();
  void ShowValue(TRow& row);
  TRow* FindRow(const QString& path) const;
  TRow* RowOfWidget(const QObject* widget) const;
  // A row's typed or chosen text goes to its editor; quietly, a refusal is not reported (text
  // still being typed into an auto-updating row).
  void Commit(TRow& row, const QString& text, bool quietly = false);
  void RunEdit(TRow& row);
  // Shows the rows whose names hold the filter's text, with the rows above them.
  void ApplyFilter();
  void ShowDescription();
  // Runs a change through an editor: refreshes afterwards and reports what failed.
  void Change(const std::function<void()>& change, bool quietly = false);
  void ReportError(const std::string& message);

  QComboBox* FChooser;
  QLineEdit* FFilter;
  QTreeWidget* FTree;
  QLabel* FDescription;
  ide::TFormDesigner* FDesigner = nullptr;
  // What the rows edit, with their classes: a component freed and another made at the same
  // address is only the same target when it is of the same class.
  std::vector<host::TPersistent*> FTargets;
  std::vector<const host::TClassInfo*> FTargetClasses;
  std::vector<host::TComponent*> FChoices;   // the chooser's entries, the form first
  std::vector<std::unique_ptr<TRow>> FRows;  // parents before their children
  QSet<QString> FExpanded;                   // paths of open rows, in lower case
  int FBusy = 0;                             // changes running through an editor
  bool FRebuilding = false;
  bool FAutoNameWidth = true;  // until the user sizes the name column
  int FRowHeight = 0;          // one height for every row: a drop-down's
  QWidget* FTyping = nullptr;  // the auto-updating editor being typed into
};

}  // namespace mebrox::studio
