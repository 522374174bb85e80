#include "apps/studio/PropertyPanel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "host/Graphics.h"
#include "host/StdCtrls.h"
#include "ide/Registry.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::studio::QtPropertyPanel;
using testing_support::TStudioFixture;

const std::string FormText =
    "object Form1: TForm1\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object Label1: TLabel\n"
    "    Left = 16\n"
    "    Top = 16\n"
    "    Caption = 'Hello'\n"
    "  end\n"
    "  object Button1: TButton\n"
    "    Left = 16\n"
    "    Top = 60\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = 'OK'\n"
    "  end\n"
    "  object HyperTxt1: THyperTxt\n"
    "    Left = 120\n"
    "    Top = 16\n"
    "    Width = 200\n"
    "    Height = 120\n"
    "  end\n"
    "end\n";

bool SortedIgnoringCase(const QStringList& names) {
  return std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
}

QStringList Published(const host::TClassInfo& cls) {
  QStringList names;
  for (const host::TPropInfo* p : cls.Properties()) names << QString::fromStdString(p->Name);
  return names;
}

class PropertyPanelTest : public testing::Test {
 protected:
  PropertyPanelTest() : Studio({FormText}) {
    Panel.OnError = [this](const std::string& message) { Errors.push_back(message); };
    Panel.resize(320, 460);
    Panel.show();
  }

  ide::TFormDesigner& Designer() { return Studio.Session().FormDesignerOf(Studio.Form("Form1")); }
  host::TComponent& Component(const std::string& name) { return Studio.Component("Form1", name); }
  host::TLabel& Label() { return static_cast<host::TLabel&>(Component("Label1")); }
  void Select(const std::string& name) {
    Designer().Select(&Component(name));
    Panel.Inspect(&Designer());
  }

  // The line a user types into: the row's own, or its drop-down's.
  QLineEdit* LineOf(const QString& path) {
    QWidget* editor = Panel.ValueEditor(path);
    if (auto* list = qobject_cast<QComboBox*>(editor)) return list->lineEdit();
    return qobject_cast<QLineEdit*>(editor);
  }
  QComboBox* ListOf(const QString& path) {
    return qobject_cast<QComboBox*>(Panel.ValueEditor(path));
  }
  void Type(const QString& path, const QString& text, bool enter = true) {
    QLineEdit* edit = LineOf(path);
    ASSERT_NE(edit, nullptr) << path.toStdString();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (enter) QTest::keyClick(edit, Qt::Key_Return);
  }
  std::string Value(const QString& path) { return Panel.ValueText(path).toStdString(); }

  TStudioFixture Studio;
  QtPropertyPanel Panel;
  std::vector<std::string> Errors;
};

TEST_F(PropertyPanelTest, RowsAreSortedWithTheComponentsValuesAndOpenIntoTheirParts) {
  Select("Label1");
  QStringList rows = Panel.RowNames();
  EXPECT_TRUE(SortedIgnoringCase(rows)) << rows.join(' ').toStdString();
  QStringList published = Published(Label().ClassInfo());
  std::sort(published.begin(), published.end());
  QStringList shown = rows;
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, published);

  EXPECT_EQ(Value("Name"), "Label1");
  EXPECT_EQ(Value("Caption"), "Hello");
  EXPECT_EQ(Value("Left"), "16");
  EXPECT_EQ(Value("Font"), "(TFont)");
  EXPECT_EQ(Value("Font.Color"), host::ColorToString(Label().Font().Color()));
  EXPECT_EQ(Value("Font.Style.fsBold"), "False");

  QStringList fontRows = Panel.RowNames("Font");
  EXPECT_TRUE(SortedIgnoringCase(fontRows));
  EXPECT_EQ(fontRows.size(), Published(host::TFont::StaticClassInfo()).size());
  // A set's members keep the order the set declares them in.
  EXPECT_EQ(Panel.RowNames("Font.Style"),
            (QStringList{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));

  // The chooser names the form first, then the components by name.
  QComboBox* chooser = Panel.Chooser();
  QStringList entries;
  for (int i = 0; i < chooser->count(); ++i) entries << chooser->itemText(i);
  EXPECT_EQ(entries, (QStringList{"Form1: TForm1", "Button1: TButton", "HyperTxt1: THyperTxt",
                                  "Label1: TLabel"}));
  EXPECT_EQ(chooser->currentText(), "Label1: TLabel");

  // Nothing selected is the form; no designer, nothing at all.
  Designer().ClearSelection();
  Panel.Refresh();
  EXPECT_EQ(Value("Name"), "Form1");
  EXPECT_EQ(chooser->currentIndex(), 0);
  Panel.Inspect(nullptr);
  EXPECT_TRUE(Panel.RowNames().isEmpty());
  EXPECT_EQ(chooser->count(), 0);
}

TEST_F(PropertyPanelTest, ChoosingAComponentSelectsItInTheDesigner) {
  Select("Label1");
  QComboBox* chooser = Panel.Chooser();
  QTest::keyClick(chooser, Qt::Key_Up);  // from Label1 up to HyperTxt1
  ASSERT_EQ(Designer().Selection().size(), 1u);
  EXPECT_EQ(Designer().Selection().front(), &Component("HyperTxt1"));
  EXPECT_EQ(Value("Name"), "HyperTxt1");
  QTest::keyClick(chooser, Qt::Key_Home);
  EXPECT_TRUE(Designer().Selection().empty());
  EXPECT_EQ(Value("Name"), "Form1");
}

TEST_F(PropertyPanelTest, TypedValuesGoToTheComponentAndOtherRowsFollow) {
  Select("Label1");
  EXPECT_FALSE(Studio.Session().Modified());
  Type("Left", "40");
  EXPECT_EQ(Label().Left(), 40);
  EXPECT_EQ(Value("Left"), "40");
  EXPECT_TRUE(Studio.Session().Modified());

  // Leaving the row sets it as Enter does.
  Type("Top", "33", false);
  EXPECT_EQ(Label().Top(), 16);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(LineOf("Top"), &out);
  EXPECT_EQ(Label().Top(), 33);

  // An auto-sized label grows with its caption; its Width row shows it.
  int width = Label().Width();
  Type("Caption", "A caption a good deal longer than Hello");
  EXPECT_EQ(Label().Caption(), "A caption a good deal longer than Hello");
  EXPECT_GT(Label().Width(), width);
  EXPECT_EQ(Value("Width"), std::to_string(Label().Width()));

  // Sub-properties are the sub-object's.
  Type("Font.Color", "clRed");
  EXPECT_EQ(Label().Font().Color(), host::clRed);
  EXPECT_EQ(Value("Font.Color"), "clRed");
  EXPECT_TRUE(Errors.empty());

  // Escape puts back what the component has.
  Type("Left", "99", false);
  QTest::keyClick(LineOf("Left"), Qt::Key_Escape);
  EXPECT_EQ(Value("Left"), "40");
  EXPECT_EQ(Label().Left(), 40);
}

TEST_F(PropertyPanelTest, RefusedValuesAreToldAndTheRowShowsTheComponentsValue) {
  Select("Label1");
  Type("Width", "wide");
  Type("Color", "clNothing");
  Type("Font.Color", "$12G");
  ASSERT_EQ(Errors.size(), 3u);
  EXPECT_EQ(Errors[0], "'wide' is not a valid value for Width");
  EXPECT_NE(Errors[1].find("clNothing"), std::string::npos);
  EXPECT_NE(Errors[2].find("$12G"), std::string::npos);
  EXPECT_EQ(Value("Width"), std::to_string(Label().Width()));
  EXPECT_EQ(Value("Color"), host::ColorToString(Label().Color()));
  EXPECT_EQ(Value("Font.Color"), host::ColorToString(Label().Font().Color()));
  EXPECT_FALSE(Studio.Session().Modified());

  // Read-only rows cannot be typed into at all.
  EXPECT_TRUE(LineOf("Font")->isReadOnly());
  EXPECT_FALSE(LineOf("Width")->isReadOnly());
}

TEST_F(PropertyPanelTest, DropDownsOfferTheValuesAndSetTheOneChosen) {
  Select("Label1");
  QComboBox* alignment = ListOf("Alignment");
  ASSERT_NE(alignment, nullptr);
  QStringList items;
  for (int i = 0; i < alignment->count(); ++i) items << alignment->itemText(i);
  EXPECT_EQ(items, (QStringList{"taCenter", "taLeftJustify", "taRightJustify"}));

  QTest::keyClick(alignment, Qt::Key_Down);  // from taLeftJustify to the next one
  EXPECT_EQ(Label().Alignment(), host::taRightJustify);
  EXPECT_EQ(Value("Alignment"), "taRightJustify");
  Type("Alignment", "tacenter");
  EXPECT_EQ(Label().Alignment(), host::taCenter);
  EXPECT_EQ(Value("Alignment"), "taCenter");

  // A double-click steps a value list; a boolean is one.
  ASSERT_NE(ListOf("AutoSize"), nullptr);
  EXPECT_EQ(Value("AutoSize"), "True");
  QTest::mouseDClick(LineOf("AutoSize"), Qt::LeftButton);
  EXPECT_FALSE(Label().AutoSize());
  EXPECT_EQ(Value("AutoSize"), "False");

  // Set members are True or False each; the set's own row follows.
  Type("Font.Style.fsItalic", "True");
  QTest::keyClick(ListOf("Font.Style.fsBold"), Qt::Key_Down);
  EXPECT_EQ(Label().Font().Style(), (host::TFontStyles{host::fsBold, host::fsItalic}));
  EXPECT_EQ(Value("Font.Style"), "[fsBold,fsItalic]");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(PropertyPanelTest, DialogButtonsRunTheColourAndFontDialogs) {
  Select("Label1");
  QToolButton* color = Panel.DialogButton("Color");
  QToolButton* font = Panel.DialogButton("Font");
  ASSERT_NE(color, nullptr);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Panel.DialogButton("Left"), nullptr);

  Studio.Run("color $00336699\n");
  QTest::mouseClick(color, Qt::LeftButton);
  EXPECT_EQ(Label().Color(), 0x00336699);
  EXPECT_EQ(Value("Color"), "$00336699");
  EXPECT_TRUE(Studio.Session().Modified());

  Studio.Run("font \"Courier New\" 13 bold clNavy\n");
  QTest::mouseClick(font, Qt::LeftButton);
  EXPECT_EQ(Label().Font().Name(), "Courier New");
  EXPECT_EQ(Value("Font.Name"), "Courier New");
  EXPECT_EQ(Value("Font.Size"), "13");
  EXPECT_EQ(Value("Font.Color"), "clNavy");
  EXPECT_EQ(Value("Font.Style.fsBold"), "True");

  // Cancelled (nothing queued): nothing changes. The double-click on a row runs its dialog too.
  QTest::mouseDClick(LineOf("Color"), Qt::LeftButton);
  EXPECT_EQ(Label().Color(), 0x00336699);
  Studio.Run("color clLime\n");
  QTest::mouseDClick(LineOf("Color"), Qt::LeftButton);
  EXPECT_EQ(Label().Color(), host::clLime);
  EXPECT_TRUE(Errors.empty());

  // The kit's About line: a dialog, nothing to type.
  Select("HyperTxt1");
  ASSERT_NE(Panel.DialogButton("About"), nullptr);
  EXPECT_TRUE(LineOf("About")->isReadOnly());
}

TEST_F(PropertyPanelTest, SeveralSelectedShowWhatTheyAllPublishAndChangeTogether) {
  Designer().Select(&Component("Label1"));
  Designer().Select(&Component("Button1"), true);
  Panel.Inspect(&Designer());
  QStringList rows = Panel.RowNames();
  for (const char* common : {"Caption", "Left", "Top", "Font", "Visible"})
    EXPECT_TRUE(rows.contains(common)) << common;
  EXPECT_FALSE(rows.contains("Name"));      // each has its own
  EXPECT_FALSE(rows.contains("AutoSize"));  // the label's alone
  EXPECT_TRUE(SortedIgnoringCase(rows));
  EXPECT_EQ(Panel.Chooser()->currentIndex(), -1);

  Type("Top", "100");
  EXPECT_EQ(Label().Top(), 100);
  EXPECT_EQ(static_cast<host::TControl&>(Component("Button1")).Top(), 100);
  Type("Font.Size", "14");
  EXPECT_EQ(Label().Font().Size(), 14);
  EXPECT_EQ(static_cast<host::TControl&>(Component("Button1")).Font().Size(), 14);
}

TEST_F(PropertyPanelTest, RefreshFollowsChangesElsewhereKeepingOpenRowsAndScroll) {
  Select("Label1");
  Panel.Row("Font")->setExpanded(true);
  QScrollBar* scroll = Panel.Tree()->verticalScrollBar();
  ASSERT_GT(scroll->maximum(), 0);
  scroll->setValue(scroll->maximum() / 2);
  int at = scroll->value();

  Designer().MoveSelection(5, 7);
  Panel.Refresh();
  EXPECT_EQ(Value("Left"), "21");
  EXPECT_EQ(Value("Top"), "23");
  EXPECT_TRUE(Panel.Row("Font")->isExpanded());
  EXPECT_EQ(scroll->value(), at);

  // Undo keeps the components it moves back: the inspector stays on the label.
  ASSERT_TRUE(Studio.Session().Undo(Studio.Form("Form1")));
  Panel.Refresh();
  EXPECT_EQ(Value("Name"), "Label1");
  EXPECT_EQ(Value("Left"), "16");
  EXPECT_TRUE(Panel.Row("Font")->isExpanded());
  // One that comes back from a deletion is a new component: the form is shown.
  Designer().DeleteSelection();
  ASSERT_TRUE(Studio.Session().Undo(Studio.Form("Form1")));
  Panel.Refresh();
  EXPECT_EQ(Value("Name"), "Form1");
}

// Every row shown, at every depth, by path.
QStringList AllRows(const QtPropertyPanel& panel, const QString& parent = QString()) {
  QStringList paths;
  for (const QString& name : panel.RowNames(parent)) {
    QString path = parent.isEmpty() ? name : parent + "." + name;
    paths << path << AllRows(panel, path);
  }
  return paths;
}

TEST_F(PropertyPanelTest, EveryRowOfEveryPaletteComponentSaysWhatItsPropertyDoes) {
  QStringList silent;
  int looked = 0;
  auto look = [&](const QString& what) {
    for (const QString& path : AllRows(Panel)) {
      ++looked;
      QString tip = Panel.Row(path)->toolTip(0);
      if (!tip.startsWith(path + ": ") || tip.size() < path.size() + 12)
        silent << what + " " + path;
    }
  };
  Designer().ClearSelection();
  Panel.Inspect(&Designer());
  look("TForm");
  for (const std::string& page : Studio.Core().Registry().PalettePages())
    for (const host::TClassInfo* cls : Studio.Core().Registry().PaletteClasses(page)) {
      host::TComponent* dropped = Designer().Drop(*cls, {8, 200});
      Designer().Select(dropped);
      Panel.Inspect(&Designer());
      look(QString::fromStdString(cls->Name()));
    }
  EXPECT_TRUE(silent.isEmpty()) << silent.join("\n").toStdString();
  // Fifteen objects, each with its fonts, sets and actions open.
  EXPECT_GT(looked, 300);
}

TEST_F(PropertyPanelTest, TheLineUnderTheRowsTellsWhatTheCurrentPropertyDoes) {
  Select("HyperTxt1");
  struct TCase {
    QString Path;
    QString Says;
  };
  // The same name says what it does for the object that has it.
  const std::vector<TCase> cases = {
      {"Caption", ""},         {"Words", "hot words"},        {"Font.Color", "letters"},
      {"Color", "background"}, {"Font.Style.fsBold", "Bold"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Path.toStdString());
    QTreeWidgetItem* row = Panel.Row(c.Path);
    if (c.Says.isEmpty()) {
      EXPECT_EQ(row, nullptr);
      continue;
    }
    ASSERT_NE(row, nullptr);
    for (QTreeWidgetItem* p = row->parent(); p; p = p->parent()) p->setExpanded(true);
    Panel.Tree()->setCurrentItem(row);
    const QString line = Panel.Description()->text();
    EXPECT_TRUE(line.startsWith(c.Path + ": ")) << line.toStdString();
    EXPECT_TRUE(line.contains(c.Says, Qt::CaseInsensitive)) << line.toStdString();
    EXPECT_EQ(row->toolTip(0), line);
  }
  EXPECT_TRUE(Panel.Description()->isVisible());
}

TEST_F(PropertyPanelTest, TheFilterShowsThePropertiesWhoseNamesHoldItWithTheirParents) {
  Select("Label1");
  const QStringList all = Panel.ShownRows();
  Panel.Filter()->setText("colo");
  EXPECT_EQ(Panel.ShownRows(), (QStringList{"Color", "Font", "Font.Color"}));
  EXPECT_EQ(Panel.Description()->text().section(':', 0, 0), "Color");
  // Ignoring case, in the middle of a name too.
  Panel.Filter()->setText("BOLD");
  EXPECT_EQ(Panel.ShownRows(), (QStringList{"Font", "Font.Style", "Font.Style.fsBold"}));
  // It stays while the selection changes.
  Select("Button1");
  EXPECT_EQ(Panel.ShownRows(), (QStringList{"Font", "Font.Style", "Font.Style.fsBold"}));
  Panel.Filter()->setText("nothing like it");
  EXPECT_TRUE(Panel.ShownRows().isEmpty());
  EXPECT_TRUE(Panel.Description()->text().isEmpty());
  // Emptied, every row is back, closed as they were.
  Select("Label1");
  Panel.Filter()->clear();
  EXPECT_EQ(Panel.ShownRows(), all);
  EXPECT_FALSE(Panel.Row("Font")->isExpanded());
}

TEST_F(PropertyPanelTest, ScreenshotShowsNamesWholeAndDialogButtons) {
  Select("HyperTxt1");
  Panel.Row("Font")->setExpanded(true);
  QTreeWidget* tree = Panel.Tree();
  // Every name fits its column, indented as it is.
  QFontMetrics metrics(tree->font());
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    EXPECT_LT(metrics.horizontalAdvance(tree->topLevelItem(i)->text(0)) + tree->indentation(),
              tree->columnWidth(0))
        << tree->topLevelItem(i)->text(0).toStdString();
  EXPECT_GT(tree->columnWidth(1), tree->columnWidth(0) / 2);
  for (const char* path : {"About", "Font", "Color"}) {
    QToolButton* button = Panel.DialogButton(path);
    ASSERT_NE(button, nullptr) << path;
    EXPECT_TRUE(button->isVisible()) << path;
    EXPECT_GT(button->width(), 8) << path;
  }
  QImage shot = Panel.grab().toImage();
  EXPECT_TRUE(shot.save(QString(MEBROX_TEST_OUTPUT) + "/property-panel.png"));
  // The same, found by a word and with a row's line under the rows.
  Panel.Filter()->setText("word");
  Panel.Tree()->setCurrentItem(Panel.Row("WordFont"));
  shot = Panel.grab().toImage();
  EXPECT_TRUE(shot.save(QString(MEBROX_TEST_OUTPUT) + "/property-panel-filtered.png"));
}

}  // namespace
