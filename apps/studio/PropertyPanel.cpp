#include "apps/studio/PropertyPanel.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "apps/studio/StudioHelp.h"
#include "host/Forms.h"
#include "host/SysUtils.h"
#include "ide/Registry.h"

namespace mebrox::studio {

using ide::paAutoUpdate;
using ide::paDialog;
using ide::paMultiSelect;
using ide::paReadOnly;
using ide::paSortList;
using ide::paSubProperties;
using ide::paValueList;

namespace {

// Sub-objects hold sub-objects; a few levels are all a form needs, and a cycle stops here.
constexpr int MaxDepth = 4;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

bool LessIgnoringCase(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// A drop-down of a row's values. It lists them afresh when opened, since the choices can follow
// the form (the components a reference may name), and the wheel scrolls the inspector rather
// than stepping the value of whatever row is under the pointer.
class QtValueList final : public QComboBox {
 public:
  explicit QtValueList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setFrame(false);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion would choose a value while it is being typed; Enter is what sets it.
    setCompleter(nullptr);
    setFocusPolicy(Qt::StrongFocus);
    setMaxVisibleItems(16);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
  }

  std::function<QStringList()> Values;

  void SetItems(const QStringList& values) {
    QSignalBlocker block(this);
    QString text = currentText();
    clear();
    addItems(values);
    SetText(text);
  }
  void SetText(const QString& text) {
    QSignalBlocker block(this);
    setCurrentIndex(findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    setEditText(text);
    lineEdit()->setCursorPosition(0);
  }

  void showPopup() override {
    if (Values) SetItems(Values());
    QComboBox::showPopup();
  }

 protected:
  void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

}  // namespace

struct QtPropertyPanel::TRow {
  std::unique_ptr<ide::TPropertyEditor> Editor;
  ide::TPropertyAttributes Attributes;
  QString Path;
  bool Typeable = false;
  QTreeWidgetItem* Item = nullptr;
  QLineEdit* Edit = nullptr;      // a row without a value list
  QtValueList* List = nullptr;    // a row with one
  QToolButton* Button = nullptr;  // "...", for an editor with a dialog
  QString Purpose;                // what the property does, in a line

  QLineEdit* LineEdit() const { return Edit ? Edit : List->lineEdit(); }
  bool Owns(const QObject* widget) const {
    return widget && (widget == Edit || widget == List || widget == Button ||
                      (List && widget == List->lineEdit()));
  }
  QString Value() const {
    try {
      return Text(Editor->GetValue());
    } catch (const std::exception&) {
      // A value that cannot be read shows as nothing rather than ending the inspector.
      return QString();
    }
  }
  QStringList Values() const {
    QStringList values;
    try {
      Editor->GetValues([&](const std::string& v) { values << Text(v); });
    } catch (const std::exception&) {
    }
    if (Attributes.Contains(paSortList))
      std::stable_sort(values.begin(), values.end(), LessIgnoringCase);
    return values;
  }
};

QtPropertyPanel::QtPropertyPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("Inspector");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);

  FChooser = new QComboBox(this);
  FChooser->setObjectName("Chooser");
  FChooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  FChooser->setMinimumContentsLength(12);
  layout->addWidget(FChooser);
  connect(FChooser, &QComboBox::activated, this, [this](int index) { ChooserActivated(index); });

  FFilter = new QLineEdit(this);
  FFilter->setObjectName("Filter");
  FFilter->setPlaceholderText(tr("Find a property"));
  FFilter->setClearButtonEnabled(true);
  layout->addWidget(FFilter);
  connect(FFilter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });

  FTree = new QTreeWidget(this);
  FTree->setObjectName("Properties");
  FTree->setColumnCount(2);
  FTree->setHeaderLabels({tr("Property"), tr("Value")});
  FTree->setUniformRowHeights(true);
  FTree->setExpandsOnDoubleClick(false);
  FTree->setSelectionMode(QAbstractItemView::SingleSelection);
  FTree->setIndentation(12);
  FTree->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  FTree->header()->setStretchLastSection(true);
  FTree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
  FTree->header()->setSectionsMovable(false);
  layout->addWidget(FTree, 1);

  FDescription = new QLabel(this);
  FDescription->setObjectName("Description");
  FDescription->setWordWrap(true);
  FDescription->setTextFormat(Qt::PlainText);
  FDescription->setFrameShape(QFrame::StyledPanel);
  FDescription->setMargin(3);
  // Two lines' room always, so that the rows above do not jump as the text changes.
  FDescription->setMinimumHeight(FDescription->fontMetrics().lineSpacing() * 2 + 10);
  FDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(FDescription);
  connect(FTree, &QTreeWidget::currentItemChanged, this, [this] { ShowDescription(); });
  {
    QtValueList list(FTree);
    QLineEdit edit(FTree);
    edit.setFrame(false);
    FRowHeight = std::max(list.sizeHint().height(), edit.sizeHint().height());
  }

  connect(FTree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    if (!FRebuilding) FExpanded.insert(item->data(0, Qt::UserRole).toString().toLower());
  });
  connect(FTree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    if (!FRebuilding) FExpanded.remove(item->data(0, Qt::UserRole).toString().toLower());
  });
  connect(FTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    TRow* row = FindRow(item->data(0, Qt::UserRole).toString());
    if (!row) return;
    if (row->Attributes.Contains(paDialog) || row->Attributes.Contains(paValueList))
      RunEdit(*row);
    else if (item->childCount() > 0)
      item->setExpanded(!item->isExpanded());
  });
  connect(FTree->header(), &QHeaderView::sectionResized, this, [this](int section, int, int) {
    if (section == 0 && !FRebuilding) FAutoNameWidth = false;
  });

  OnError = [this](const std::string& message) {
    QString text = Text(message);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QMessageBox::warning(this, tr("Object Inspector"), text);
  };
}

QtPropertyPanel::~QtPropertyPanel() {
  // The rows' widgets go after the editors; nothing they report may reach an editor now.
  FRebuilding = true;
  FTree->clear();
  FRows.clear();
}

// ---- what is inspected

void QtPropertyPanel::Inspect(ide::TFormDesigner* designer) {
  if (designer != FDesigner) {
    FDesigner = designer;
    FTargets.clear();
    FTargetClasses.clear();
  }
  Refresh();
}

std::vector<host::TPersistent*> QtPropertyPanel::Targets() const {
  std::vector<host::TPersistent*> targets;
  if (!FDesigner) return targets;
  for (host::TComponent* c : FDesigner->Selection()) targets.push_back(c);
  if (targets.empty()) targets.push_back(FDesigner->GetRoot());
  return targets;
}

bool QtPropertyPanel::SameTargets(const std::vector<host::TPersistent*>& targets) const {
  if (targets != FTargets) return false;
  for (size_t i = 0; i < targets.size(); ++i)
    if (&targets[i]->ClassInfo() != FTargetClasses[i]) return false;
  return true;
}

void QtPropertyPanel::Refresh() {
  // An editor at work keeps its rows until it is done; the refresh follows then.
  if (FBusy > 0 || FRebuilding) return;
  if (!FDesigner) {
    FRebuilding = true;
    FTree->clear();
    FRows.clear();
    FChooser->clear();
    FChoices.clear();
    FTargets.clear();
    FTargetClasses.clear();
    FRebuilding = false;
    return;
  }
  FillChooser();
  std::vector<host::TPersistent*> targets = Targets();
  if (SameTargets(targets))
    UpdateValues();
  else
    Rebuild(targets);
}

// ---- the chooser

void QtPropertyPanel::FillChooser() {
  host::TForm* root = FDesigner->GetRoot();
  std::vector<host::TComponent*> choices;
  for (host::TComponent* c : root->ComponentList()) choices.push_back(c);
  std::stable_sort(choices.begin(), choices.end(), [](host::TComponent* a, host::TComponent* b) {
    return LessIgnoringCase(Text(a->Name()), Text(b->Name()));
  });
  choices.insert(choices.begin(), root);
  QStringList labels;
  for (host::TComponent* c : choices) labels << Text(c->Name() + ": " + c->ClassName());

  QSignalBlocker block(FChooser);
  bool same = choices == FChoices && FChooser->count() == labels.size();
  for (int i = 0; same && i < labels.size(); ++i) same = FChooser->itemText(i) == labels[i];
  if (!same) {
    FChooser->clear();
    FChooser->addItems(labels);
    FChoices = choices;
  }
  const std::vector<host::TComponent*>& selection = FDesigner->Selection();
  if (selection.size() > 1) {
    FChooser->setPlaceholderText(tr("%1 components").arg(selection.size()));
    FChooser->setCurrentIndex(-1);
    return;
  }
  host::TComponent* shown = selection.empty() ? root : selection.front();
  auto at = std::find(FChoices.begin(), FChoices.end(), shown);
  FChooser->setCurrentIndex(at == FChoices.end() ? -1 : static_cast<int>(at - FChoices.begin()));
}

void QtPropertyPanel::ChooserActivated(int index) {
  if (!FDesigner || index < 0 || index >= static_cast<int>(FChoices.size())) return;
  host::TComponent* chosen = FChoices[static_cast<size_t>(index)];
  host::TForm* root = FDesigner->GetRoot();
  // The entry may name a component freed since the list was made; only live ones are chosen.
  const auto& live = root->ComponentList();
  if (chosen != root && std::find(live.begin(), live.end(), chosen) == live.end()) {
    Refresh();
    return;
  }
  FDesigner->Select(chosen == root ? nullptr : chosen);
  Refresh();
}

// ---- rows

void QtPropertyPanel::Rebuild(const std::vector<host::TPersistent*>& targets) {
  FRebuilding = true;
  int scroll = FTree->verticalScrollBar()->value();
  QString current =
      FTree->currentItem() ? FTree->currentItem()->data(0, Qt::UserRole).toString() : QString();
  FTree->clear();
  FRows.clear();
  FTargets = targets;
  FTargetClasses.clear();
  for (host::TPersistent* t : targets) FTargetClasses.push_back(&t->ClassInfo());

  std::vector<std::unique_ptr<ide::TPropertyEditor>> editors;
  for (const host::TPropInfo* prop : targets.front()->ClassInfo().Properties()) {
    if (!ide::PublishedByAll(targets, *prop)) continue;
    // Names are each component's own: typing one name for several cannot succeed.
    if (targets.size() > 1 && host::SameText(prop->Name, "Name")) continue;
    try {
      editors.push_back(ide::CreatePropertyEditor(*FDesigner, targets, *prop));
    } catch (const std::exception&) {
      // An editor that cannot serve these objects leaves its row out.
    }
  }
  AddRows(nullptr, QString(), std::move(editors), true, 0);

  for (const auto& row : FRows)
    if (FExpanded.contains(row->Path.toLower())) row->Item->setExpanded(true);
  if (TRow* row = FindRow(current)) FTree->setCurrentItem(row->Item, 0);
  if (FAutoNameWidth) {
    // Every name, open or not, so that opening a row never cuts one off; the view measures only
    // the rows it has laid out.
    QFontMetrics metrics(FTree->font());
    int width = metrics.horizontalAdvance(FTree->headerItem()->text(0));
    for (const auto& row : FRows) {
      int depth = 1;
      for (QTreeWidgetItem* p = row->Item->parent(); p; p = p->parent()) ++depth;
      width = std::max(
          width, metrics.horizontalAdvance(row->Item->text(0)) + depth * FTree->indentation());
    }
    width += 16;
    if (FTree->viewport()->width() > 160)
      width = std::min(width, FTree->viewport()->width() * 3 / 5);
    FTree->setColumnWidth(0, std::max(width, 80));
  }
  ApplyFilter();
  FTree->doItemsLayout();
  FTree->verticalScrollBar()->setValue(scroll);
  FRebuilding = false;
  ShowDescription();
}

void QtPropertyPanel::AddRows(QTreeWidgetItem* parent, const QString& parentPath,
                              std::vector<std::unique_ptr<ide::TPropertyEditor>> editors,
                              bool sorted, int depth) {
  if (sorted)
    std::stable_sort(editors.begin(), editors.end(), [](const auto& a, const auto& b) {
      return LessIgnoringCase(Text(a->GetName()), Text(b->GetName()));
    });
  for (auto& editor : editors) {
    auto row = std::make_unique<TRow>();
    row->Attributes = editor->GetAttributes();
    if (editor->PropCount() > 1 && !row->Attributes.Contains(paMultiSelect)) continue;
    QString name = Text(editor->GetName());
    row->Path = parentPath.isEmpty() ? name : parentPath + "." + name;
    // A sub-object's value is its class name: there is nothing to type for it.
    host::TPropKind kind = editor->GetPropInfo().Kind;
    bool objectKind = kind == host::TPropKind::Class || kind == host::TPropKind::Strings ||
                      kind == host::TPropKind::Binary;
    row->Typeable = !row->Attributes.Contains(paReadOnly) && !objectKind;
    row->Editor = std::move(editor);
    row->Item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(FTree);
    row->Item->setText(0, name);
    row->Item->setData(0, Qt::UserRole, row->Path);
    if (host::TPersistent* owner = row->Editor->GetComponent(0))
      row->Purpose = PropertyPurpose(owner->ClassInfo(), row->Editor->GetName());
    row->Item->setToolTip(0, row->Purpose.isEmpty() ? row->Path : row->Path + ": " + row->Purpose);
    TRow& added = *row;
    FRows.push_back(std::move(row));
    FTree->setItemWidget(added.Item, 1, MakeCell(added));
    added.Item->setSizeHint(0, QSize(0, FRowHeight));
    ShowValue(added);

    if (added.Attributes.Contains(paSubProperties) && depth < MaxDepth) {
      std::vector<std::unique_ptr<ide::TPropertyEditor>> subs;
      try {
        added.Editor->GetProperties(
            [&](std::unique_ptr<ide::TPropertyEditor> sub) { subs.push_back(std::move(sub)); });
      } catch (const std::exception&) {
        subs.clear();
      }
      // A set's members keep their declared order, as the set itself lists them.
      bool sortSubs = added.Editor->GetPropInfo().Kind != host::TPropKind::Set;
      AddRows(added.Item, added.Path, std::move(subs), sortSubs, depth + 1);
    }
  }
}

QWidget* QtPropertyPanel::MakeCell(TRow& row) {
  auto* cell = new QWidget;
  cell->setToolTip(row.Item->toolTip(0));
  cell->setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(cell);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  QWidget* editor;
  if (row.Attributes.Contains(paValueList)) {
    auto* list = new QtValueList(cell);
    list->lineEdit()->setReadOnly(!row.Typeable);
    list->Values = [this, list] {
      TRow* r = RowOfWidget(list);
      return r ? r->Values() : QStringList();
    };
    list->SetItems(row.Values());
    list->lineEdit()->installEventFilter(this);
    connect(list, &QComboBox::activated, this, [this, list](int index) {
      if (TRow* r = RowOfWidget(list)) Commit(*r, list->itemText(index));
    });
    row.List = list;
    editor = list;
  } else {
    auto* edit = new QLineEdit(cell);
    edit->setFrame(false);
    edit->setReadOnly(!row.Typeable);
    edit->installEventFilter(this);
    if (row.Attributes.Contains(paAutoUpdate) && row.Typeable)
      connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
        TRow* r = RowOfWidget(edit);
        if (!r) return;
        FTyping = edit;
        Commit(*r, text, true);
        FTyping = nullptr;
      });
    row.Edit = edit;
    editor = edit;
  }
  editor->setObjectName("value:" + row.Path);
  layout->addWidget(editor, 1);
  if (row.Attributes.Contains(paDialog)) {
    auto* button = new QToolButton(cell);
    button->setObjectName("dialog:" + row.Path);
    button->setText("...");
    button->setToolTip(tr("Edit %1").arg(row.Path));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(FRowHeight, FRowHeight);
    connect(button, &QToolButton::clicked, this, [this, button] {
      if (TRow* r = RowOfWidget(button)) RunEdit(*r);
    });
    layout->addWidget(button);
    row.Button = button;
  }
  return cell;
}

void QtPropertyPanel::ShowValue(TRow& row) {
  QString value = row.Value();
  if (row.LineEdit() == FTyping) return;
  if (row.Edit) {
    if (row.Edit->text() != value || row.Edit->isModified()) {
      row.Edit->setText(value);
      row.Edit->setCursorPosition(0);
    }
  } else if (row.List->currentText() != value || row.List->lineEdit()->isModified()) {
    row.List->SetText(value);
  }
}

void QtPropertyPanel::UpdateValues() {
  for (const auto& row : FRows) ShowValue(*row);
}

QtPropertyPanel::TRow* QtPropertyPanel::FindRow(const QString& path) const {
  if (path.isEmpty()) return nullptr;
  for (const auto& row : FRows)
    if (QString::compare(row->Path, path, Qt::CaseInsensitive) == 0) return row.get();
  return nullptr;
}

QtPropertyPanel::TRow* QtPropertyPanel::RowOfWidget(const QObject* widget) const {
  for (const auto& row : FRows)
    if (row->Owns(widget)) return row.get();
  return nullptr;
}

// ---- finding and telling

void QtPropertyPanel::ApplyFilter() {
  const QString wanted = FFilter->text().trimmed();
  const bool wasRebuilding = FRebuilding;
  FRebuilding = true;  // opening rows for the filter is not the designer's opening them
  // Rows come parents first: a match shows its parents (and opens them); children are looked
  // at from the last, so that a parent knows whether one of its own matched.
  for (const auto& row : FRows) row->Item->setHidden(!wanted.isEmpty());
  if (!wanted.isEmpty()) {
    for (auto it = FRows.rbegin(); it != FRows.rend(); ++it) {
      QTreeWidgetItem* item = (*it)->Item;
      if (!item->text(0).contains(wanted, Qt::CaseInsensitive)) continue;
      item->setHidden(false);
      for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) {
        p->setHidden(false);
        p->setExpanded(true);
      }
    }
  } else {
    for (const auto& row : FRows) row->Item->setExpanded(FExpanded.contains(row->Path.toLower()));
  }
  FRebuilding = wasRebuilding;
  QTreeWidgetItem* current = FTree->currentItem();
  if (!current || current->isHidden())
    for (const auto& row : FRows)
      if (!row->Item->isHidden()) {
        FTree->setCurrentItem(row->Item, 0);
        break;
      }
  ShowDescription();
}

void QtPropertyPanel::ShowDescription() {
  QTreeWidgetItem* item = FTree->currentItem();
  TRow* row = item && !item->isHidden() ? FindRow(item->data(0, Qt::UserRole).toString()) : nullptr;
  if (!row) {
    FDescription->clear();
    return;
  }
  FDescription->setText(row->Purpose.isEmpty() ? row->Path : row->Path + ": " + row->Purpose);
}

QStringList QtPropertyPanel::ShownRows() const {
  QStringList paths;
  for (const auto& row : FRows) {
    bool shown = !row->Item->isHidden();
    for (QTreeWidgetItem* p = row->Item->parent(); shown && p; p = p->parent())
      shown = !p->isHidden() && p->isExpanded();
    if (shown) paths << row->Path;
  }
  return paths;
}

// ---- changes

void QtPropertyPanel::Commit(TRow& row, const QString& text, bool quietly) {
  // Enter on an unchanged value of one component changes nothing; for several it gives them
  // all the value shown, which is the first one's.
  if (row.Editor->PropCount() == 1 && text == row.Value()) {
    ShowValue(row);
    return;
  }
  std::string value = text.toStdString();
  ide::TPropertyEditor* editor = row.Editor.get();
  Change([editor, &value] { editor->SetValue(value); }, quietly);
}

void QtPropertyPanel::RunEdit(TRow& row) {
  ide::TPropertyEditor* editor = row.Editor.get();
  Change([editor] { editor->Edit(); });
}

void QtPropertyPanel::Change(const std::function<void()>& change, bool quietly) {
  std::string error;
  ++FBusy;
  try {
    change();
  } catch (const std::exception& e) {
    error = e.what();
  }
  --FBusy;
  // Values of other rows may follow the change (AutoSize); a refused value shows the
  // component's own again before the refusal is told.
  if (FBusy == 0) Refresh();
  if (!error.empty() && !quietly) ReportError(error);
}

void QtPropertyPanel::ReportError(const std::string& message) {
  if (OnError) OnError(message);
}

bool QtPropertyPanel::eventFilter(QObject* watched, QEvent* event) {
  if (FRebuilding) return QWidget::eventFilter(watched, event);
  TRow* row = RowOfWidget(watched);
  if (!row) return QWidget::eventFilter(watched, event);
  QLineEdit* edit = row->LineEdit();
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (row->Typeable) Commit(*row, edit->text());
        return true;
      }
      if (key->key() == Qt::Key_Escape) {
        edit->setModified(true);  // shown again even when it reads the same
        ShowValue(*row);
        return true;
      }
      break;
    }
    case QEvent::FocusIn:
      FTree->setCurrentItem(row->Item, 0);
      break;
    case QEvent::FocusOut:
      // Leaving the row sets what was typed; its own drop-down opening does not leave it.
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && row->Typeable &&
          edit->isModified())
        Commit(*row, edit->text());
      break;
    case QEvent::MouseButtonDblClick:
      if (row->Attributes.Contains(paDialog) || row->Attributes.Contains(paValueList)) {
        RunEdit(*row);
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- what tests and the studio read

QStringList QtPropertyPanel::RowNames(const QString& parentPath) const {
  QStringList names;
  if (parentPath.isEmpty()) {
    for (int i = 0; i < FTree->topLevelItemCount(); ++i) names << FTree->topLevelItem(i)->text(0);
  } else if (TRow* row = FindRow(parentPath)) {
    for (int i = 0; i < row->Item->childCount(); ++i) names << row->Item->child(i)->text(0);
  }
  return names;
}

QTreeWidgetItem* QtPropertyPanel::Row(const QString& path) const {
  TRow* row = FindRow(path);
  return row ? row->Item : nullptr;
}

QString QtPropertyPanel::ValueText(const QString& path) const {
  TRow* row = FindRow(path);
  if (!row) return QString();
  return row->Edit ? row->Edit->text() : row->List->currentText();
}

QWidget* QtPropertyPanel::ValueEditor(const QString& path) const {
  TRow* row = FindRow(path);
  if (!row) return nullptr;
  return row->Edit ? static_cast<QWidget*>(row->Edit) : row->List;
}

QToolButton* QtPropertyPanel::DialogButton(const QString& path) const {
  TRow* row = FindRow(path);
  return row ? row->Button : nullptr;
}

}  // namespace mebrox::studio
