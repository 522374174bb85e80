#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "host/Buttons.h"
#include "host/DialogLayout.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/Menus.h"
#include "host/Outline.h"
#include "host/StdCtrls.h"
#include "host/TabCtrls.h"
#include "host/qt/QtBackend.h"
#include "tests/TestSupport.h"

using namespace host;

namespace {

std::string LayoutText() {
  return testing_support::ReadFile(std::string(MEBROX_TEST_DATA) + "/forms/ControlsDlg.dfm");
}

// A small dialog holding one of each dialog control, its look read from a layout.
class TControlsDlg : public TForm {
 public:
  explicit TControlsDlg(const std::string& layout = LayoutText()) : TForm(nullptr) {
    TDialogLayout("ControlsDlg", layout)
        .Part("Label1")
        .Bind("EditName", EditName)
        .Bind("CheckBold", CheckBold)
        .Bind("GroupSize", GroupSize)
        .Bind("RadioSmall", RadioSmall)
        .Bind("RadioLarge", RadioLarge)
        .Bind("ListFruit", ListFruit)
        .Bind("ComboColour", ComboColour)
        .Bind("SpinCount", SpinCount)
        .Bind("MemoNotes", MemoNotes)
        .Bind("OutlineFrames", OutlineFrames)
        .Bind("Pages", Pages)
        .Part("PageLabel")
        .Bind("Tabs", Tabs)
        .Part("Bevel1")
        .Bind("OKBtn", OKBtn)
        .Bind("CancelBtn", CancelBtn)
        .Load(*this);
  }

  TEdit* EditName;
  TCheckBox* CheckBold;
  TGroupBox* GroupSize;
  TRadioButton* RadioSmall;
  TRadioButton* RadioLarge;
  TListBox* ListFruit;
  TComboBox* ComboColour;
  TSpinEdit* SpinCount;
  TMemo* MemoNotes;
  TOutline* OutlineFrames;
  TNotebook* Pages;
  TTabSet* Tabs;
  TBitBtn* OKBtn;
  TBitBtn* CancelBtn;
};

TKeyEventRecord Key(TKey key, TShiftState shift = {}, std::string text = {}) {
  TKeyEventRecord rec;
  rec.Key = key;
  rec.Shift = shift;
  rec.Text = std::move(text);
  return rec;
}

// Types text into the focused control as a user would, one key at a time.
void Type(TWinControl& control, const std::string& text) {
  for (char c : text) {
    TKey key = std::isalpha(static_cast<unsigned char>(c))
                   ? std::toupper(static_cast<unsigned char>(c))
                   : static_cast<unsigned char>(c);
    control.PerformKey(Key(key, {}, std::string(1, c)));
  }
  Application->ProcessMessages();
}

void Press(TForm& form, TKey key, TShiftState shift = {}, std::string text = {}) {
  TWinControl* target = form.ActiveControl() ? form.ActiveControl() : &form;
  target->PerformKey(Key(key, shift, std::move(text)));
  Application->ProcessMessages();
}

std::string ActiveName(const TForm& form) {
  return form.ActiveControl() ? form.ActiveControl()->Name() : "(none)";
}

}  // namespace

TEST(DialogLayoutTest, BindsEveryPartAndWritesBackWhatItRead) {
  TControlsDlg dlg;
  EXPECT_EQ(dlg.ClassName(), "TControlsDlg");
  EXPECT_EQ(dlg.EditName->Text(), "Ada");
  EXPECT_TRUE(dlg.RadioSmall->Checked());
  EXPECT_EQ(dlg.RadioSmall->Parent(), dlg.GroupSize);
  EXPECT_EQ(dlg.Pages->PageNames(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(dlg.OKBtn->Caption(), "OK");
  EXPECT_EQ(dlg.OKBtn->ModalResult(), mrOk);
  EXPECT_TRUE(dlg.OKBtn->Default());
  EXPECT_TRUE(dlg.CancelBtn->Cancel());
  EXPECT_EQ(dlg.SpinCount->Value(), 3);

  // What is written reads back into an equal dialog, and writes the same text again.
  std::string written = WriteComponentText(dlg);
  TControlsDlg again(written);
  EXPECT_EQ(WriteComponentText(again), written);
  EXPECT_EQ(again.Tabs->TabIndex(), 0);
  EXPECT_EQ(again.Pages->PageIndex(), 0);
  EXPECT_EQ(again.ListFruit->Items().Count(), 3);
}

TEST(DialogLayoutTest, ALayoutThatDoesNotFitTheDialogNamesTheFileAndLine) {
  std::string text = LayoutText();
  struct TCase {
    std::string From, To, Message;
  };
  const TCase cases[] = {
      {"object Bevel1: TBevel", "object Bevel2: TBevel",
       "resources/forms/ControlsDlg.dfm(142): Cannot read Bevel2: The dialog has no part named "
       "Bevel2"},
      {"object Tabs: TTabSet", "object Tabs: TListBox",
       "resources/forms/ControlsDlg.dfm(131): Cannot read Tabs: Tabs is a TListBox, but the dialog "
       "expects a TTabSet"},
      {"object CheckBold: TCheckBox", "object CheckBolder: TCheckBox",
       "resources/forms/ControlsDlg.dfm(23): Cannot read CheckBolder: The dialog has no part "
       "named CheckBolder"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.To);
    std::string broken = text;
    broken.replace(broken.find(c.From), c.From.size(), c.To);
    try {
      TControlsDlg dlg(broken);
      FAIL() << "read a layout that does not fit";
    } catch (const EParserError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }

  // A declared part the layout lacks.
  std::string missing = text;
  size_t from = missing.find("  object Bevel1: TBevel");
  missing.erase(from, missing.find("  object OKBtn") - from);
  TForm form(nullptr);
  TEdit* field = nullptr;
  TBevel* bevel = nullptr;
  TDialogLayout layout("ControlsDlg", missing);
  layout.Bind("EditName", field).Bind("Bevel1", bevel);
  try {
    layout.Load(form);
    FAIL() << "a declared part was missing";
  } catch (const EParserError& e) {
    // Label1 is the first part the layout has that this dialog does not declare.
    EXPECT_NE(std::string(e.what()).find("ControlsDlg.dfm(8)"), std::string::npos) << e.what();
  }
  EXPECT_EQ(field, nullptr);
}

TEST(DialogKeyboardTest, TabVisitsTheTabStopsInTabOrderAndShiftTabGoesBack) {
  TControlsDlg dlg;
  dlg.Show();
  // A dialog opens with the keyboard on its first field.
  EXPECT_EQ(ActiveName(dlg), "EditName");
  std::vector<std::string> visited;
  for (int i = 0; i < 11; ++i) {
    Press(dlg, VK_TAB);
    visited.push_back(ActiveName(dlg));
  }
  // The group's checked radio button is its one stop; the tab set and pages are no stops.
  EXPECT_EQ(visited,
            (std::vector<std::string>{"CheckBold", "RadioSmall", "ListFruit", "ComboColour",
                                      "SpinCount", "MemoNotes", "OutlineFrames", "OKBtn",
                                      "CancelBtn", "EditName", "CheckBold"}));
  Press(dlg, VK_TAB, {ssShift});
  Press(dlg, VK_TAB, {ssShift});
  EXPECT_EQ(ActiveName(dlg), "CancelBtn");

  // Disabled and hidden windows are passed over; TabOrder reorders.
  dlg.CheckBold->SetEnabled(false);
  dlg.GroupSize->SetVisible(false);
  dlg.SpinCount->SetTabOrder(0);
  dlg.EditName->SetFocus();
  Press(dlg, VK_TAB);
  EXPECT_EQ(ActiveName(dlg), "ListFruit");
  Press(dlg, VK_TAB, {ssShift});
  Press(dlg, VK_TAB, {ssShift});
  EXPECT_EQ(ActiveName(dlg), "SpinCount");
}

TEST(DialogKeyboardTest, EnterPressesTheDefaultOrFocusedButtonAndEscapeTheCancelButton) {
  TControlsDlg dlg;
  dlg.Show();
  std::vector<std::string> clicks;
  dlg.OKBtn->OnClick = [&](TObject*) { clicks.push_back("ok"); };
  dlg.CancelBtn->OnClick = [&](TObject*) { clicks.push_back("cancel"); };

  dlg.EditName->SetFocus();
  Press(dlg, VK_RETURN);
  EXPECT_EQ(dlg.ModalResult(), mrOk);
  dlg.SetModalResult(mrNone);
  Press(dlg, VK_ESCAPE);
  EXPECT_EQ(dlg.ModalResult(), mrCancel);
  dlg.SetModalResult(mrNone);
  // Enter on a focused button presses that button, not the default one.
  dlg.CancelBtn->SetFocus();
  Press(dlg, VK_RETURN);
  EXPECT_EQ(dlg.ModalResult(), mrCancel);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "cancel"}));

  // A memo that wants returns types the line break instead.
  dlg.SetModalResult(mrNone);
  dlg.MemoNotes->SetFocus();
  Press(dlg, VK_RETURN);
  EXPECT_EQ(dlg.ModalResult(), mrNone);
  EXPECT_EQ(dlg.MemoNotes->Lines().Count(), 2);
  // Without a default button Enter does nothing.
  dlg.OKBtn->SetDefault(false);
  dlg.EditName->SetFocus();
  Press(dlg, VK_RETURN);
  EXPECT_EQ(dlg.ModalResult(), mrNone);
}

TEST(DialogKeyboardTest, AltWithAnUnderlinedLetterActsOnItsControl) {
  TControlsDlg dlg;
  dlg.Show();
  int boldClicks = 0;
  dlg.CheckBold->OnClick = [&](TObject*) { ++boldClicks; };
  Press(dlg, 'B', {ssAlt});
  EXPECT_TRUE(dlg.CheckBold->Checked());
  EXPECT_EQ(ActiveName(dlg), "CheckBold");
  Press(dlg, 'L', {ssAlt});
  EXPECT_TRUE(dlg.RadioLarge->Checked());
  EXPECT_FALSE(dlg.RadioSmall->Checked());
  EXPECT_TRUE(dlg.RadioLarge->TabStop());
  EXPECT_FALSE(dlg.RadioSmall->TabStop());
  // While a button has the keyboard, the plain letter is enough; in an edit field it is text.
  Press(dlg, 'B', {}, "b");
  EXPECT_FALSE(dlg.CheckBold->Checked());
  dlg.EditName->SetFocus();
  Type(*dlg.EditName, "b");
  EXPECT_FALSE(dlg.CheckBold->Checked());
  EXPECT_EQ(dlg.EditName->Text(), "Adab");
  EXPECT_EQ(boldClicks, 2);
  // A disabled control has no accelerator.
  dlg.CheckBold->SetEnabled(false);
  Press(dlg, 'B', {ssAlt});
  EXPECT_FALSE(dlg.CheckBold->Checked());
}

TEST(DialogKeyboardTest, TypedKeysPassTheControlsHandlersBeforeTheWidgetTypesThem) {
  TControlsDlg dlg;
  dlg.Show();
  int changes = 0;
  dlg.EditName->OnChange = [&](TObject*) { ++changes; };
  dlg.EditName->OnKeyPress = [](TObject*, char& c) {
    if (c == '!') c = 0;                                      // refused
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);  // shouted
  };
  dlg.EditName->SetFocus();
  Type(*dlg.EditName, " lo!ve");
  EXPECT_EQ(dlg.EditName->Text(), "Ada LOVE");
  EXPECT_EQ(changes, 5);
  EXPECT_TRUE(dlg.EditName->Modified());
  dlg.EditName->PerformKey(Key(VK_BACK));
  EXPECT_EQ(dlg.EditName->Text(), "Ada LOV");

  // The form sees keys first when it asks to.
  std::vector<TKey> seen;
  dlg.SetKeyPreview(true);
  dlg.OnKeyDown = [&](TObject*, TKey& key, TShiftState) {
    seen.push_back(key);
    if (key == VK_F1) key = 0;
  };
  dlg.EditName->PerformKey(Key(VK_F1));
  dlg.EditName->PerformKey(Key(VK_TAB));
  EXPECT_EQ(seen, (std::vector<TKey>{VK_F1, VK_TAB}));
  EXPECT_EQ(ActiveName(dlg), "CheckBold");

  // A read-only field keeps its text whatever is typed.
  dlg.EditName->SetReadOnly(true);
  dlg.EditName->SetFocus();
  dlg.SetKeyPreview(false);
  dlg.EditName->OnKeyPress = nullptr;
  Type(*dlg.EditName, "zz");
  EXPECT_EQ(dlg.EditName->Text(), "Ada LOV");
}

TEST(DialogControlsTest, ChoicesFireTheirEventsAsTheOldControlsDid) {
  TControlsDlg dlg;
  dlg.Show();
  std::vector<std::string> log;
  dlg.ListFruit->OnClick = [&](TObject*) {
    log.push_back("list " + std::to_string(dlg.ListFruit->ItemIndex()));
  };
  dlg.ComboColour->OnClick = [&](TObject*) { log.push_back("combo click"); };
  dlg.ComboColour->OnChange = [&](TObject*) {
    log.push_back("combo change " + dlg.ComboColour->Text());
  };
  dlg.CheckBold->OnClick = [&](TObject*) { log.push_back("bold"); };
  dlg.SpinCount->OnChange = [&](TObject*) {
    log.push_back("spin " + std::to_string(dlg.SpinCount->Value()));
  };

  dlg.ListFruit->WidgetChanged({TWidgetChange::wcItemIndex, {}, 1});
  dlg.ListFruit->WidgetChanged({TWidgetChange::wcItemIndex, {}, 1});  // no change, no click
  dlg.ComboColour->WidgetChanged({TWidgetChange::wcItemIndex, {}, 2});
  dlg.CheckBold->SetChecked(true);  // in code too, as the old check box did
  dlg.CheckBold->SetChecked(true);
  dlg.SpinCount->WidgetChanged({TWidgetChange::wcValue, {}, 99});  // clamped to MaxValue
  EXPECT_EQ(log, (std::vector<std::string>{"list 1", "combo click", "combo change Blue", "bold",
                                           "spin 10"}));
  EXPECT_EQ(dlg.ListFruit->Items().Get(dlg.ListFruit->ItemIndex()), "Apple");

  // A sorted list keeps its order as items arrive, with their objects; the choice survives
  // while it exists.
  TObject marker;
  dlg.ListFruit->SetSorted(true);
  EXPECT_EQ(dlg.ListFruit->Items().Items(),
            (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  dlg.ListFruit->SetItemIndex(2);
  dlg.ListFruit->Items().AddObject("avocado", &marker);
  EXPECT_EQ(dlg.ListFruit->Items().Get(1), "avocado");
  EXPECT_EQ(dlg.ListFruit->Items().Objects(1), &marker);
  dlg.ListFruit->Items().Clear();
  EXPECT_EQ(dlg.ListFruit->ItemIndex(), -1);

  // A drop-down list takes only its items as text.
  dlg.ComboColour->SetText("Green");
  EXPECT_EQ(dlg.ComboColour->ItemIndex(), 1);
  dlg.ComboColour->SetText("Purple");
  EXPECT_EQ(dlg.ComboColour->ItemIndex(), -1);
  EXPECT_EQ(dlg.ComboColour->Text(), "");
  dlg.ComboColour->SetStyle(csDropDown);
  dlg.ComboColour->WidgetChanged({TWidgetChange::wcText, "red"});
  EXPECT_EQ(dlg.ComboColour->Text(), "red");
  EXPECT_EQ(dlg.ComboColour->ItemIndex(), 0);

  // A grey state needs AllowGrayed.
  dlg.CheckBold->WidgetChanged({TWidgetChange::wcState, {}, 2});
  EXPECT_EQ(dlg.CheckBold->State(), cbChecked);
  dlg.CheckBold->SetAllowGrayed(true);
  dlg.CheckBold->SetChecked(false);
  dlg.CheckBold->Click();
  EXPECT_EQ(dlg.CheckBold->State(), cbGrayed);
}

// A press of the pointer makes a row current before it selects it: the list tells of the
// choice once, with the row the user sees chosen. Ctrl+click takes the choice away.
TEST(DialogControlsTest, APointerClickOnARowChoosesItOnce) {
  TControlsDlg dlg;
  dlg.Show();
  std::vector<int> clicks;
  dlg.ListFruit->OnClick = [&](TObject*) { clicks.push_back(dlg.ListFruit->ItemIndex()); };
  QWidget* window = qt::WidgetOf(dlg);
  ASSERT_NE(window, nullptr);
  auto* list = window->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
    QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, modifiers,
                      list->viewport()->mapTo(window, at));
  };
  for (int row : {1, 2, 2}) click(row);
  EXPECT_EQ(list->currentRow(), 2);
  click(2, Qt::ControlModifier);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  click(0);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, -1, 0}));
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(list->item(0)->isSelected());
}

// A limit counts bytes as the text is kept, a memo's line breaks as CR LF; what would pass it is
// refused whole, typed or pasted, and said so. Text set in code may be longer and still shrinks.
TEST(DialogControlsTest, MaxLengthRefusesWhatWouldPassItAndSaysSo) {
  TControlsDlg dlg;
  dlg.Show();
  std::vector<std::string> refused;
  dlg.MemoNotes->OnMaxText = [&](TObject*) { refused.push_back("memo"); };
  dlg.EditName->OnMaxText = [&](TObject*) { refused.push_back("edit"); };

  dlg.MemoNotes->Lines().SetText("ab");
  dlg.MemoNotes->SetMaxLength(7);
  dlg.MemoNotes->SetFocus();
  dlg.MemoNotes->SetSelStart(2);
  Press(dlg, VK_RETURN);
  Type(*dlg.MemoNotes, "cdefg");
  EXPECT_EQ(dlg.MemoNotes->Lines().Text(), "ab\r\ncde\r\n");
  EXPECT_EQ(refused, (std::vector<std::string>{"memo", "memo"}));
  EXPECT_EQ(dlg.MemoNotes->SelStart(), 6) << "the caret stays where the refused key found it";
  Press(dlg, VK_BACK);
  Type(*dlg.MemoNotes, "X");
  EXPECT_EQ(dlg.MemoNotes->Lines().Text(), "ab\r\ncdX\r\n");

  // A paste too long for the room left is not cut to fit.
  dlg.EditName->SetMaxLength(6);
  dlg.EditName->WidgetChanged({TWidgetChange::wcText, "Ada Lovelace"});
  EXPECT_EQ(dlg.EditName->Text(), "Ada");
  dlg.EditName->WidgetChanged({TWidgetChange::wcText, "Ada \xC3\xA9"});
  EXPECT_EQ(dlg.EditName->Text(), "Ada \xC3\xA9");
  dlg.EditName->WidgetChanged({TWidgetChange::wcText, "Ada \xC3\xA9\xC3\xA9"});
  EXPECT_EQ(dlg.EditName->Text(), "Ada \xC3\xA9");
  dlg.EditName->SetText("Augusta Ada");
  dlg.EditName->WidgetChanged({TWidgetChange::wcText, "Augusta Ad"});
  EXPECT_EQ(dlg.EditName->Text(), "Augusta Ad");
  EXPECT_EQ(refused, (std::vector<std::string>{"memo", "memo", "edit", "edit"}));
}

TEST(DialogControlsTest, PagesTabsAndOutlines) {
  TControlsDlg dlg;
  dlg.Show();
  EXPECT_TRUE(dlg.Pages->Pages(0)->Visible());
  EXPECT_FALSE(dlg.Pages->Pages(1)->Visible());
  EXPECT_EQ(dlg.Pages->Pages(0)->BoundsRect(), dlg.Pages->ClientRect());
  dlg.Tabs->OnChange = [&](TObject*, int newTab, bool& allow) {
    allow = newTab != 0 || dlg.Pages->PageIndex() != 1;  // once on Two, stay there
    if (allow) dlg.Pages->SetPageIndex(newTab);
  };
  dlg.Tabs->WidgetChanged({TWidgetChange::wcItemIndex, {}, 1});
  EXPECT_EQ(dlg.Pages->ActivePage(), "Two");
  EXPECT_TRUE(dlg.Pages->Pages(1)->Visible());
  EXPECT_FALSE(dlg.Pages->Pages(0)->Visible());
  dlg.Tabs->SetTabIndex(0);
  EXPECT_EQ(dlg.Tabs->TabIndex(), 1);
  EXPECT_THROW(dlg.Tabs->SetTabIndex(5), EListError);
  EXPECT_THROW(dlg.Pages->SetActivePage("Three"), EListError);

  TOutline& outline = *dlg.OutlineFrames;
  ASSERT_EQ(outline.ItemCount(), 4);
  EXPECT_EQ(outline.Items(2).Text, "Form1");
  EXPECT_EQ(outline.Items(2).Level, 2);
  EXPECT_TRUE(outline.Items(1).HasItems);
  EXPECT_FALSE(outline.Items(4).HasItems);
  EXPECT_FALSE(outline.Items(1).Expanded);
  outline.FullExpand();
  EXPECT_TRUE(outline.Items(1).Expanded);
  int clicked = 0;
  outline.OnClick = [&](TObject*) { clicked = outline.SelectedItem(); };
  outline.WidgetChanged({TWidgetChange::wcItemIndex, {}, 2});
  EXPECT_EQ(clicked, 3);
  // A line indented far below its parent is its child all the same; objects ride along.
  TObject data;
  outline.Lines().AddObject("   deep", &data);
  EXPECT_EQ(outline.Items(5).Level, 2);
  EXPECT_EQ(outline.Items(5).Data, &data);
  EXPECT_EQ(outline.SelectedItem(), 0);
  EXPECT_THROW(outline.Items(6), EListError);
}

TEST(DialogControlsTest, BitmapButtonKindsAndClose) {
  TForm form(nullptr);
  form.Show();
  auto* close = new TBitBtn(&form);
  close->SetParent(&form);
  close->SetKind(bkClose);
  bool clicked = false;
  close->OnClick = [&](TObject*) { clicked = true; };
  bool closed = false;
  form.OnClose = [&](TObject*, TCloseAction&) { closed = true; };
  close->Click();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(clicked);
  EXPECT_EQ(close->Caption(), "&Close");

  auto* no = new TBitBtn(&form);
  no->SetParent(&form);
  no->SetKind(bkNo);
  EXPECT_TRUE(no->Cancel());
  EXPECT_FALSE(no->Default());
  EXPECT_EQ(no->ModalResult(), mrNo);
  // A caption of the designer's own survives reading a kind after it.
  TForm read(nullptr);
  ReadComponentText(
      "object F: TForm\n  object B: TBitBtn\n    Caption = 'Fine'\n    Kind = bkOK\n  end\nend\n",
      read, "kinds.dfm");
  auto* b = dynamic_cast<TBitBtn*>(read.FindComponent("B"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Caption(), "Fine");
  EXPECT_EQ(b->ModalResult(), mrOk);
}

// The pictures a person checks: every control enabled, one of them focused, then all disabled.
TEST(DialogControlsTest, ScreenshotsShowFocusAndDisabledStates) {
  TControlsDlg dlg;
  dlg.Show();
  Application->ProcessMessages();
  std::string out = MEBROX_TEST_OUTPUT;
  dlg.CancelBtn->SetFocus();
  Application->ProcessMessages();
  TRawImage unfocused = CaptureForm(dlg);
  dlg.EditName->SetFocus();
  dlg.EditName->SelectAll();
  Application->ProcessMessages();
  TRawImage focused = CaptureForm(dlg);
  SaveFormImage(dlg, out + "/dialog-controls-enabled.png");
  for (int i = 0; i < dlg.ControlCount(); ++i) dlg.Controls(i)->SetEnabled(false);
  Application->ProcessMessages();
  TRawImage disabled = CaptureForm(dlg);
  SaveFormImage(dlg, out + "/dialog-controls-disabled.png");
  EXPECT_NE(focused.Pixels, unfocused.Pixels);
  EXPECT_NE(disabled.Pixels, focused.Pixels);
  EXPECT_EQ(disabled.Width, dlg.Width());
}

// Keys from the toolkit itself, as a real keyboard sends them to the focused widget, take the
// same path as the scripted ones.
TEST(DialogKeyboardTest, KeysFromTheToolkitReachTheFormAndTheWidget) {
  TControlsDlg dlg;
  dlg.Show();
  dlg.EditName->SetFocus();
  Application->ProcessMessages();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  auto send = [](QWidget* to, int key, const QString& text, Qt::KeyboardModifiers mods = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(to, &release);
  };
  send(focus, Qt::Key_X, "x");
  EXPECT_EQ(dlg.EditName->Text(), "Adax");
  send(focus, Qt::Key_Tab, "\t");
  EXPECT_EQ(ActiveName(dlg), "CheckBold");
  Application->ProcessMessages();
  EXPECT_NE(QApplication::focusWidget(), focus);
  send(QApplication::focusWidget(), Qt::Key_B, "b", Qt::AltModifier);
  EXPECT_TRUE(dlg.CheckBold->Checked());
  send(QApplication::focusWidget(), Qt::Key_Escape, "\x1b");
  EXPECT_EQ(dlg.ModalResult(), mrCancel);
}

// Properties that name another component of the form: read after the whole form (a name may
// come before its component), written as the name, dropped when the component goes.
TEST(ComponentReferenceTest, NamesResolveAfterReadingAndReferencesDieWithTheirComponent) {
  const std::string text =
      "object Dlg: TForm\n"
      "  ActiveControl = Edit1\n"
      "  object NameLabel: TLabel\n"
      "    Caption = '&Name'\n"
      "    FocusControl = Edit1\n"
      "  end\n"
      "  object Edit1: TEdit\n"
      "    PopupMenu = Menu1\n"
      "    TabOrder = 0\n"
      "  end\n"
      "  object Menu1: TPopupMenu\n"
      "    object Item1: TMenuItem\n"
      "      Caption = 'Clear'\n"
      "    end\n"
      "  end\n"
      "end\n";
  auto form = std::make_unique<TForm>(nullptr);
  ReadComponentText(text, *form, "refs.dfm");
  auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Edit1"));
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("NameLabel"));
  auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("Menu1"));
  ASSERT_TRUE(edit && label && menu);
  EXPECT_EQ(form->ActiveControl(), edit);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(edit->PopupMenu(), menu);
  ASSERT_EQ(menu->Items().Count(), 1);
  EXPECT_EQ(menu->Items().Items(0)->Caption(), "Clear");
  std::string written = WriteComponentText(*form);
  TForm again(nullptr);
  ReadComponentText(written, again, "again.dfm");
  EXPECT_EQ(WriteComponentText(again), written);

  // The label's accelerator gives its field the keyboard.
  auto* other = new TCheckBox(form.get());
  other->SetParent(form.get());
  form->Show();
  other->SetFocus();
  other->PerformKey(Key('N', {ssAlt}));
  EXPECT_EQ(form->ActiveControl(), edit);

  delete menu;
  EXPECT_EQ(edit->PopupMenu(), nullptr);
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(WriteComponentText(*form).find("FocusControl"), std::string::npos);

  // A name nobody has, or a component of the wrong class, is an error at its line.
  struct TCase {
    std::string From, To, Message;
  };
  const TCase cases[] = {
      {"FocusControl = Edit1", "FocusControl = Edit9",
       "refs.dfm(5): FocusControl: there is no component named Edit9"},
      {"PopupMenu = Menu1", "PopupMenu = NameLabel",
       "refs.dfm(8): Cannot set Edit1.PopupMenu: NameLabel is a TLabel, not a TPopupMenu"},
  };
  for (const TCase& c : cases) {
    std::string broken = text;
    broken.replace(broken.find(c.From), c.From.size(), c.To);
    TForm target(nullptr);
    try {
      ReadComponentText(broken, target, "refs.dfm");
      ADD_FAILURE() << "read " << c.To;
    } catch (const EParserError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
    EXPECT_EQ(target.ComponentCount(), 0);
  }
}
