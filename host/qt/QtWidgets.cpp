#include "host/qt/QtWidgets.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTextBlock>
#include <QTreeWidget>

#include "host/Controls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/qt/QtInput.h"
#include "host/qt/QtPainterSurface.h"

namespace host::qt {

namespace {

// What every widget peer does the same way over its QWidget; I is the family interface.
template <class I>
class QtWidgetPeer : public QObject, public I {
 public:
  QtWidgetPeer(TWinControl& control, QWidget* widget, QPalette::ColorRole groundRole)
      : FControl(control), FWidget(widget), FGroundRole(groundRole) {
    Watch(widget);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) Watch(area->viewport());
  }
  ~QtWidgetPeer() override { delete FWidget.data(); }

  void SetBounds(const TRect& b) override {
    FWidget->setGeometry(b.Left, b.Top, std::max(1, b.Width()), std::max(1, b.Height()));
  }
  void SetVisible(bool visible) override { FWidget->setVisible(visible); }
  void SetEnabled(bool enabled) override { FWidget->setEnabled(enabled); }
  void SetCaption(const std::string& caption) override { this->SetText(caption); }
  void SetBorder(const TWindowBorder&) override {}
  void SetWindowState(TWindowState) override {}
  void SetHint(const std::string& hint) override {
    FWidget->setToolTip(QString::fromStdString(hint));
  }
  void SetCursor(int cursor) override { FWidget->setCursor(ToQCursor(cursor)); }
  void BringToFront() override { FWidget->raise(); }
  void Invalidate(const TRect&) override { FWidget->update(); }
  void Update() override { FWidget->repaint(); }
  void SetModal(bool, IWindowPeer*) override {}
  TPoint ClientOrigin() const override {
    QPoint p = FWidget->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
  }
  TRawImage Grab() override { return FromQImage(FWidget->grab().toImage()); }
  void SetFocus() override { FWidget->setFocus(Qt::OtherFocusReason); }
  void DefaultKeyAction(const TKeyEventRecord& record) override {
    std::unique_ptr<QKeyEvent> event = ToQKeyEvent(record);
    FPassKeys = true;
    QCoreApplication::sendEvent(KeyWidget(), event.get());
    FPassKeys = false;
  }

  void SetFont(const TFont& font) override {
    FWidget->setFont(ToQFont(font));
    QPalette palette = FWidget->palette();
    QColor color = ToQColor(font.Color());
    // Disabled text keeps the style's grey.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(group, role, color);
    FWidget->setPalette(palette);
  }
  void SetColor(TColor color) override {
    QPalette palette = FWidget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      palette.setColor(group, FGroundRole, ToQColor(color));
    FWidget->setPalette(palette);
  }

 protected:
  void Watch(QWidget* widget) { widget->installEventFilter(this); }
  void Report(const TWidgetChange& change) {
    HandleEvents([&] { FControl.WidgetChanged(change); });
  }
  // The widget that takes typed keys (an editable combo box types into its line edit).
  virtual QWidget* KeyWidget() { return FWidget.data(); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    TMouseEventRecord::TKind kind;
    if (IsMouseEvent(*event, kind)) {
      // In the designer the pointer moves and selects controls; their widgets never see it.
      if (!FControl.IsDesigning()) return false;
      auto* from = static_cast<QWidget*>(watched);
      QPoint offset = from == FWidget ? QPoint() : from->mapTo(FWidget.data(), QPoint());
      TMouseEventRecord rec = ToMouseRecord(kind, *static_cast<QMouseEvent*>(event), offset);
      HandleEvents([&] { FControl.DispatchMouse(rec); });
      return true;
    }
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        if (FPassKeys) return false;
        TKeyEventRecord rec = ToKeyRecord(*static_cast<QKeyEvent*>(event));
        std::string typed = rec.Text;
        bool taken = false;
        HandleEvents([&] { taken = FControl.DispatchKey(rec); });
        if (taken) return true;
        // A KeyPress handler changed the character: the widget types the new one.
        if (rec.Text != typed) {
          DefaultKeyAction(rec);
          return true;
        }
        return false;
      }
      case QEvent::FocusIn:
        HandleEvents([&] { FControl.DispatchFocus(true); });
        return false;
      case QEvent::ContextMenu: {
        // The control's own popup menu replaces the widget's built-in one.
        auto* menu = static_cast<QContextMenuEvent*>(event);
        QPoint p = static_cast<QWidget*>(watched)->mapTo(FWidget.data(), menu->pos());
        bool shown = false;
        HandleEvents([&] { shown = FControl.ContextPopup({p.x(), p.y()}); });
        return shown;
      }
      default:
        return false;
    }
  }

  TWinControl& FControl;
  QPointer<QWidget> FWidget;

 private:
  QPalette::ColorRole FGroundRole;
  bool FPassKeys = false;
};

QString ToQString(const std::string& s) {
  return QString::fromStdString(s);
}

// The kit counts text positions in bytes of UTF-8, Qt in UTF-16 units.
int BytesBefore(const QString& text, int position) {
  return static_cast<int>(text.left(position).toUtf8().size());
}
int UnitsBefore(const QString& text, int bytes) {
  return static_cast<int>(QString::fromUtf8(text.toUtf8().left(bytes)).size());
}

class QtEditPeer final : public QtWidgetPeer<IEditPeer> {
 public:
  QtEditPeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QLineEdit(parent), QPalette::Base) {
    QObject::connect(Edit(), &QLineEdit::textEdited, this, [this](const QString& text) {
      Report({TWidgetChange::wcText, text.toStdString()});
    });
    auto selection = [this] {
      if (FSetting) return;
      QString text = Edit()->text();
      int start = Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition();
      int length = static_cast<int>(Edit()->selectedText().toUtf8().size());
      Report({TWidgetChange::wcSelection, {}, BytesBefore(text, start), length});
    };
    QObject::connect(Edit(), &QLineEdit::selectionChanged, this, selection);
    QObject::connect(Edit(), &QLineEdit::cursorPositionChanged, this, selection);
  }
  void SetText(const std::string& text) override {
    if (Edit()->text() != ToQString(text)) Edit()->setText(ToQString(text));
  }
  void SetReadOnly(bool readOnly) override { Edit()->setReadOnly(readOnly); }
  void SetPasswordChar(char c) override {
    Edit()->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
  }
  void SetSelection(int start, int length) override {
    QString text = Edit()->text();
    int from = UnitsBefore(text, start), to = UnitsBefore(text, start + length);
    FSetting = true;
    if (to > from)
      Edit()->setSelection(from, to - from);
    else
      Edit()->setCursorPosition(from);
    FSetting = false;
  }
  void SetWordWrap(bool) override {}
  void SetScrollBars(int) override {}

 private:
  QLineEdit* Edit() { return static_cast<QLineEdit*>(FWidget.data()); }
  bool FSetting = false;
};

class QtMemoPeer final : public QtWidgetPeer<IEditPeer> {
 public:
  QtMemoPeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QPlainTextEdit(parent), QPalette::Base) {
    QObject::connect(Memo(), &QPlainTextEdit::textChanged, this, [this] {
      Report({TWidgetChange::wcText, Memo()->toPlainText().toStdString()});
    });
    auto selection = [this] {
      if (FSetting) return;
      QTextCursor cursor = Memo()->textCursor();
      QString text = Memo()->toPlainText();
      int start = BytesBefore(text, cursor.selectionStart());
      Report({TWidgetChange::wcSelection,
              {},
              start,
              BytesBefore(text, cursor.selectionEnd()) - start});
    };
    QObject::connect(Memo(), &QPlainTextEdit::selectionChanged, this, selection);
    QObject::connect(Memo(), &QPlainTextEdit::cursorPositionChanged, this, selection);
  }
  void SetText(const std::string& text) override {
    QString q = ToQString(text);
    if (Memo()->toPlainText() == q) return;
    QSignalBlocker block(Memo());
    FSetting = true;
    Memo()->setPlainText(q);
    FSetting = false;
  }
  void SetReadOnly(bool readOnly) override {
    Memo()->setReadOnly(readOnly);
    // As on the old system, a read-only memo still takes the cursor keys to select.
    if (readOnly)
      Memo()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  void SetPasswordChar(char) override {}
  void SetSelection(int start, int length) override {
    QString text = Memo()->toPlainText();
    QTextCursor cursor = Memo()->textCursor();
    cursor.setPosition(UnitsBefore(text, start));
    if (length > 0) cursor.setPosition(UnitsBefore(text, start + length), QTextCursor::KeepAnchor);
    FSetting = true;
    Memo()->setTextCursor(cursor);
    FSetting = false;
  }
  void SetWordWrap(bool wrap) override {
    Memo()->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  }
  void SetScrollBars(int bars) override {
    Memo()->setHorizontalScrollBarPolicy(bars & 1 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    Memo()->setVerticalScrollBarPolicy(bars & 2 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  }

 private:
  QPlainTextEdit* Memo() { return static_cast<QPlainTextEdit*>(FWidget.data()); }
  bool FSetting = false;
};

class QtSpinPeer final : public QtWidgetPeer<ISpinPeer> {
 public:
  QtSpinPeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QSpinBox(parent), QPalette::Base) {
    QObject::connect(Spin(), &QSpinBox::valueChanged, this, [this](int value) {
      Report({TWidgetChange::wcValue, {}, value});
    });
  }
  void SetText(const std::string&) override {}
  void SetRange(int minValue, int maxValue, int increment) override {
    QSignalBlocker block(Spin());
    Spin()->setRange(minValue, maxValue);
    Spin()->setSingleStep(increment);
  }
  void SetValue(int value) override {
    QSignalBlocker block(Spin());
    Spin()->setValue(value);
  }

 private:
  QSpinBox* Spin() { return static_cast<QSpinBox*>(FWidget.data()); }
};

// Hands the painting of each item of an owner-drawn list to its list box, at one height.
class QtOwnerDrawDelegate final : public QStyledItemDelegate {
 public:
  QtOwnerDrawDelegate(TListBox& list, int itemHeight, QObject* parent)
      : QStyledItemDelegate(parent), FList(list), FItemHeight(itemHeight) {}

  // As wide as the list shows them: an owner-drawn item fills its line.
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {1, FItemHeight};
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    TOwnerDrawState state;
    if (option.state & QStyle::State_Selected) state.Include(odSelected);
    if (option.state & QStyle::State_HasFocus) state.Include(odFocused);
    const QRect r = option.rect;
    painter->save();
    painter->setClipRect(r);
    {
      QtPainterSurface surface(*painter);
      HandleEvents([&] {
        FList.DrawItem(surface, index.row(), {r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                       state);
      });
    }
    painter->restore();
  }

 private:
  TListBox& FList;
  int FItemHeight;
};

class QtListPeer final : public QtWidgetPeer<IListPeer> {
 public:
  QtListPeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QListWidget(parent), QPalette::Base) {
    // The choice is the selected row, whichever of the two signals comes first and whatever
    // Qt does between them: a click makes the row current before it selects it, and a list
    // taking the keyboard makes its first row current without choosing it. Each choice is
    // told once, when the selection is whole.
    QObject::connect(List(), &QListWidget::currentRowChanged, this, [this] { ReportChoice(); });
    QObject::connect(List(), &QListWidget::itemSelectionChanged, this, [this] { ReportChoice(); });
    QObject::connect(List(), &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
      Report({TWidgetChange::wcDblClick, {}, List()->row(item)});
    });
  }
  void SetText(const std::string&) override {}
  void SetItems(const std::vector<std::string>& items) override {
    QSignalBlocker block(List());
    List()->clear();
    for (const std::string& item : items) List()->addItem(ToQString(item));
    FChoice = -1;
  }
  void SetItemIndex(int index) override {
    QSignalBlocker block(List());
    List()->setCurrentRow(index);
    if (index < 0) List()->clearSelection();
    FChoice = ChosenRow();
  }
  void SetOwnerDraw(int itemHeight) override {
    auto* list = dynamic_cast<TListBox*>(&FControl);
    QAbstractItemDelegate* old = List()->itemDelegate();
    if (itemHeight > 0 && list) {
      List()->setItemDelegate(new QtOwnerDrawDelegate(*list, itemHeight, List()));
      List()->setUniformItemSizes(true);
      List()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
      List()->setItemDelegate(new QStyledItemDelegate(List()));
      List()->setUniformItemSizes(false);
      List()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    if (old && old->parent() == List()) old->deleteLater();
    List()->doItemsLayout();
  }

 private:
  QListWidget* List() { return static_cast<QListWidget*>(FWidget.data()); }
  int ChosenRow() {
    const QList<QListWidgetItem*> selected = List()->selectedItems();
    return selected.isEmpty() ? -1 : List()->row(selected.front());
  }
  void ReportChoice() {
    const int row = ChosenRow();
    if (row == FChoice) return;
    FChoice = row;
    Report({TWidgetChange::wcItemIndex, {}, row});
  }

  // The row the control was last told of, or set.
  int FChoice = -1;
};

class QtComboPeer final : public QtWidgetPeer<IListPeer> {
 public:
  QtComboPeer(TWinControl& control, QWidget* parent, bool editable)
      : QtWidgetPeer(control, new QComboBox(parent), QPalette::Base) {
    Combo()->setEditable(editable);
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(Combo(), &QComboBox::activated, this, [this](int index) {
      Report({TWidgetChange::wcItemIndex, {}, index});
    });
    if (QLineEdit* edit = Combo()->lineEdit()) {
      Watch(edit);
      QObject::connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        Report({TWidgetChange::wcText, text.toStdString()});
      });
    }
  }
  void SetText(const std::string& text) override {
    if (!Combo()->isEditable() || Combo()->currentText() == ToQString(text)) return;
    QSignalBlocker block(Combo());
    Combo()->setEditText(ToQString(text));
  }
  void SetItems(const std::vector<std::string>& items) override {
    QSignalBlocker block(Combo());
    QString text = Combo()->currentText();
    Combo()->clear();
    for (const std::string& item : items) Combo()->addItem(ToQString(item));
    Combo()->setCurrentIndex(-1);
    if (Combo()->isEditable()) Combo()->setEditText(text);
  }
  void SetItemIndex(int index) override {
    QSignalBlocker block(Combo());
    Combo()->setCurrentIndex(index);
  }
  // Drawn by the toolkit always.
  void SetOwnerDraw(int) override {}

 protected:
  QWidget* KeyWidget() override {
    return Combo()->lineEdit() ? static_cast<QWidget*>(Combo()->lineEdit()) : FWidget.data();
  }

 private:
  QComboBox* Combo() { return static_cast<QComboBox*>(FWidget.data()); }
};

class QtButtonPeer final : public QtWidgetPeer<IButtonPeer> {
 public:
  QtButtonPeer(TWinControl& control, QAbstractButton* button, TWidgetKind kind)
      : QtWidgetPeer(control, button,
                     kind == TWidgetKind::Button ? QPalette::Button : QPalette::Window),
        FKind(kind) {
    if (auto* radio = qobject_cast<QRadioButton*>(button)) radio->setAutoExclusive(false);
    QObject::connect(button, &QAbstractButton::clicked, this, [this] {
      switch (FKind) {
        case TWidgetKind::CheckBox:
          Report({TWidgetChange::wcState,
                  {},
                  static_cast<QCheckBox*>(Button())->checkState() == Qt::Checked            ? 1
                  : static_cast<QCheckBox*>(Button())->checkState() == Qt::PartiallyChecked ? 2
                                                                                            : 0});
          break;
        case TWidgetKind::RadioButton:
          Report({TWidgetChange::wcState, {}, 1});
          break;
        default:
          Report({TWidgetChange::wcClick, {}, -1});
      }
    });
    if (FKind != TWidgetKind::Button) Button()->setAutoFillBackground(true);
  }
  void SetText(const std::string& text) override {
    Button()->setText(ToQString(text));
    // The form handles accelerators for every control alike; Qt's own would fire first.
    Button()->setShortcut(QKeySequence());
  }
  void SetState(int state) override {
    QSignalBlocker block(Button());
    if (auto* check = qobject_cast<QCheckBox*>(Button())) {
      check->setTristate(state == 2 || check->isTristate());
      check->setCheckState(state == 2 ? Qt::PartiallyChecked : state ? Qt::Checked : Qt::Unchecked);
    } else {
      Button()->setChecked(state != 0);
    }
  }
  void SetGlyph(const std::shared_ptr<const TRawImage>& glyph) override {
    if (!glyph) {
      Button()->setIcon(QIcon());
      return;
    }
    Button()->setIcon(QIcon(QPixmap::fromImage(ToQImage(*glyph))));
    Button()->setIconSize(QSize(glyph->Width, glyph->Height));
  }
  void SetDefault(bool isDefault) override {
    if (auto* push = qobject_cast<QPushButton*>(Button())) push->setDefault(isDefault);
  }
  void SetGlyphRight(bool right) override {
    Button()->setLayoutDirection(right ? Qt::RightToLeft : Qt::LeftToRight);
  }

 private:
  QAbstractButton* Button() { return static_cast<QAbstractButton*>(FWidget.data()); }
  TWidgetKind FKind;
};

class QtTabSetPeer final : public QtWidgetPeer<IListPeer> {
 public:
  QtTabSetPeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QTabBar(parent), QPalette::Window) {
    // The old tab set hangs its tabs below the page they choose.
    Tabs()->setShape(QTabBar::RoundedSouth);
    Tabs()->setDrawBase(false);
    Tabs()->setExpanding(false);
    // The old tab set's tabs hugged their captions; the style's wide margins push a small
    // dialog's tabs behind scroll buttons.
    Tabs()->setStyleSheet("QTabBar::tab { padding: 1px 4px; }");
    QObject::connect(Tabs(), &QTabBar::currentChanged, this, [this](int index) {
      Report({TWidgetChange::wcItemIndex, {}, index});
    });
  }
  void SetText(const std::string&) override {}
  void SetItems(const std::vector<std::string>& items) override {
    QSignalBlocker block(Tabs());
    while (Tabs()->count() > 0) Tabs()->removeTab(0);
    for (const std::string& item : items) Tabs()->addTab(ToQString(item));
  }
  void SetItemIndex(int index) override {
    QSignalBlocker block(Tabs());
    Tabs()->setCurrentIndex(index);
  }
  // Drawn by the toolkit always.
  void SetOwnerDraw(int) override {}

 private:
  QTabBar* Tabs() { return static_cast<QTabBar*>(FWidget.data()); }
};

class QtOutlinePeer final : public QtWidgetPeer<ITreePeer> {
 public:
  QtOutlinePeer(TWinControl& control, QWidget* parent)
      : QtWidgetPeer(control, new QTreeWidget(parent), QPalette::Base) {
    Tree()->setHeaderHidden(true);
    Tree()->setColumnCount(1);
    QObject::connect(Tree(), &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
      Report({TWidgetChange::wcItemIndex, {}, IndexOf(item)});
    });
    QObject::connect(Tree(), &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
      Report({TWidgetChange::wcExpanded, {}, IndexOf(item)});
    });
    QObject::connect(Tree(), &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
      Report({TWidgetChange::wcCollapsed, {}, IndexOf(item)});
    });
    QObject::connect(Tree(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
      Report({TWidgetChange::wcDblClick, {}, IndexOf(item)});
    });
  }
  void SetText(const std::string&) override {}
  void SetRows(const std::vector<TOutlineRow>& rows) override {
    QSignalBlocker block(Tree());
    Tree()->clear();
    FItems.clear();
    std::vector<QTreeWidgetItem*> parents;  // the last item of each level above
    for (const TOutlineRow& row : rows) {
      while (!parents.empty() && static_cast<int>(parents.size()) >= row.Level) parents.pop_back();
      QTreeWidgetItem* item =
          parents.empty() ? new QTreeWidgetItem(Tree()) : new QTreeWidgetItem(parents.back());
      item->setText(0, ToQString(row.Text));
      FItems.push_back(item);
      parents.push_back(item);
    }
    for (size_t i = 0; i < rows.size(); ++i) FItems[i]->setExpanded(rows[i].Expanded);
  }
  void SetExpanded(int index, bool expanded) override {
    if (index < 0 || index >= static_cast<int>(FItems.size())) return;
    QSignalBlocker block(Tree());
    FItems[static_cast<size_t>(index)]->setExpanded(expanded);
  }
  void SetSelected(int index) override {
    QSignalBlocker block(Tree());
    if (index < 0 || index >= static_cast<int>(FItems.size()))
      Tree()->setCurrentItem(nullptr);
    else
      Tree()->setCurrentItem(FItems[static_cast<size_t>(index)]);
  }

 private:
  QTreeWidget* Tree() { return static_cast<QTreeWidget*>(FWidget.data()); }
  int IndexOf(QTreeWidgetItem* item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i] == item) return static_cast<int>(i);
    return -1;
  }
  std::vector<QTreeWidgetItem*> FItems;
};

}  // namespace

std::unique_ptr<IWidgetPeer> CreateQtWidgetPeer(TWinControl& control, QWidget* parent,
                                                TWidgetKind kind) {
  switch (kind) {
    case TWidgetKind::Edit:
      return std::make_unique<QtEditPeer>(control, parent);
    case TWidgetKind::Memo:
      return std::make_unique<QtMemoPeer>(control, parent);
    case TWidgetKind::SpinEdit:
      return std::make_unique<QtSpinPeer>(control, parent);
    case TWidgetKind::ListBox:
      return std::make_unique<QtListPeer>(control, parent);
    case TWidgetKind::ComboBox:
    case TWidgetKind::ComboBoxList:
      return std::make_unique<QtComboPeer>(control, parent, kind == TWidgetKind::ComboBox);
    case TWidgetKind::Button:
      return std::make_unique<QtButtonPeer>(control, new QPushButton(parent), kind);
    case TWidgetKind::CheckBox:
      return std::make_unique<QtButtonPeer>(control, new QCheckBox(parent), kind);
    case TWidgetKind::RadioButton:
      return std::make_unique<QtButtonPeer>(control, new QRadioButton(parent), kind);
    case TWidgetKind::TabSet:
      return std::make_unique<QtTabSetPeer>(control, parent);
    case TWidgetKind::Outline:
      return std::make_unique<QtOutlinePeer>(control, parent);
  }
  return nullptr;
}

namespace {

// Set while only the kit's windows look classic.
QStyle* KitStyle = nullptr;
QPalette* KitPalette = nullptr;

}  // namespace

void UseClassicLook(bool wholeApplication) {
  QStyle* style = QStyleFactory::create("Windows");
  if (wholeApplication && style) QApplication::setStyle(style);
  auto c = [](TColor color) { return ToQColor(color); };
  QPalette palette;
  palette.setColor(QPalette::Window, c(clBtnFace));
  palette.setColor(QPalette::WindowText, c(clWindowText));
  palette.setColor(QPalette::Base, c(clWindow));
  palette.setColor(QPalette::AlternateBase, c(clBtnFace));
  palette.setColor(QPalette::Text, c(clWindowText));
  palette.setColor(QPalette::Button, c(clBtnFace));
  palette.setColor(QPalette::ButtonText, c(clBtnText));
  palette.setColor(QPalette::Light, c(clBtnHighlight));
  palette.setColor(QPalette::Midlight, c(clSilver));
  palette.setColor(QPalette::Mid, c(clBtnShadow));
  palette.setColor(QPalette::Dark, c(clBtnShadow));
  palette.setColor(QPalette::Shadow, c(clBlack));
  palette.setColor(QPalette::Highlight, c(clHighlight));
  palette.setColor(QPalette::HighlightedText, c(clHighlightText));
  palette.setColor(QPalette::ToolTipBase, c(0xE1FFFF));
  palette.setColor(QPalette::ToolTipText, c(clBlack));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, c(clGrayText));
  palette.setColor(QPalette::Disabled, QPalette::Base, c(clBtnFace));
  if (wholeApplication) {
    QApplication::setPalette(palette);
    return;
  }
  // Owned by the application, so that they live as long as any widget using them.
  if (style) style->setParent(qApp);
  KitStyle = style;
  static QPalette kitPalette;
  kitPalette = palette;
  KitPalette = &kitPalette;
}

void ApplyKitLook(QWidget* widget) {
  if (!widget || !KitStyle) return;
  // A widget's style reaches none of its children, so each gets it.
  widget->setStyle(KitStyle);
  for (QWidget* child : widget->findChildren<QWidget*>()) child->setStyle(KitStyle);
  if (widget->isWindow()) widget->setPalette(*KitPalette);
}

}  // namespace host::qt
