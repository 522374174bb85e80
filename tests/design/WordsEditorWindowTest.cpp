// The words editor in a real window, worked with the pointer and the keyboard as a designer
// works it. Under Xvfb (QT_QPA_PLATFORM=xcb) the input comes from the X server through xdotool;
// on the offscreen platform it enters Qt where a platform's input does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "design/Wrddef.h"
#include "host/qt/QtBackend.h"
#include "runtime/HyperTxt.h"
#include "tests/RealWindowSupport.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::TWordSelectDlg;
using testing::HasSubstr;
using testing::Not;
using testing_support::Xdotool;

bool XServer() {
  return QGuiApplication::platformName() == "xcb";
}

// A left click at a point of a widget, with Ctrl held down when control.
void ClickAt(QWidget& widget, QPoint point, bool control = false) {
  if (XServer()) {
    QPoint p = widget.mapToGlobal(point);
    Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())}, 100);
    if (control)
      Xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"}, 100);
    else
      Xdotool({"click", "1"}, 100);
    return;
  }
  QWidget* window = widget.window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton,
                    control ? Qt::ControlModifier : Qt::KeyboardModifiers(),
                    widget.mapTo(window, point));
  QTest::qWait(20);
}

// Types text into whatever has the keyboard, the old text selected first so that it goes.
void TypeOver(QWidget& window, const std::string& text) {
  if (XServer()) {
    Xdotool({"key", "ctrl+a"}, 100);
    Xdotool({"type", "--delay", "10", QString::fromStdString(text)}, 100);
    return;
  }
  QTest::keyClick(window.windowHandle(), Qt::Key_A, Qt::ControlModifier);
  for (char c : text) QTest::keyClick(window.windowHandle(), c);
  QTest::qWait(20);
}

const std::string Form1 =
    "object Form1: TForm1\n  Width = 320\n  Height = 240\n"
    "  object HyperTxt1: THyperTxt\n    Width = 300\n    Height = 200\n"
    "    Lines.Strings = (\n      'one two three four five')\n  end\nend\n";
const std::vector<std::string> Picked = {"one", "two", "three", "four", "five"};

TEST(WordsEditorWindowTest, AClickOnAnotherWordStoresTheTypedTextAndShowsThatWord) {
  testing_support::TStudioFixture studio({Form1});
  std::string script;
  for (const std::string& word : Picked)
    script += "select WordSelectDlg.SrcTxt \"" + word + "\"\nclick WordSelectDlg.IncludeBtn 5 5\n";
  script += "click WordSelectDlg.bbExtender 5 5\n";

  // The chosen word and what the panel showed after each click on a word.
  std::vector<std::string> shown;
  const int lastLine = static_cast<int>(Picked.size()) * 2 + 2;
  studio.AfterEachLine([&](int line) {
    if (line != lastLine) return;
    auto& dialog = dynamic_cast<TWordSelectDlg&>(*host::Screen->ActiveForm());
    QWidget* window = host::qt::WidgetOf(dialog);
    ASSERT_NE(window, nullptr);
    if (XServer()) {
      window->raise();
      window->activateWindow();
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(200);
    auto* list = window->findChild<QListWidget*>();
    QPlainTextEdit* desc = nullptr;
    for (auto* memo : window->findChildren<QPlainTextEdit*>())
      if (!memo->isReadOnly()) desc = memo;
    ASSERT_TRUE(list && desc);
    ASSERT_EQ(list->count(), static_cast<int>(Picked.size()));
    auto clickWord = [&](int row) {
      ClickAt(*list->viewport(), list->visualItemRect(list->item(row)).center());
      shown.push_back(std::to_string(dialog.DstList->ItemIndex()) + " " +
                      std::to_string(list->currentRow()) + " " + dialog.mDesc->Lines().Text());
    };
    for (int row = 0; row < list->count(); ++row) {
      clickWord(row);
      ClickAt(*desc, QPoint(20, 10));
      TypeOver(*window, "About " + Picked[static_cast<size_t>(row)]);
    }
    clickWord(0);
    clickWord(3);
    // Ctrl+click takes the choice away; the panel's word is chosen again.
    ClickAt(*list->viewport(), list->visualItemRect(list->item(3)).center(), true);
    shown.push_back(std::to_string(dialog.DstList->ItemIndex()) + " " +
                    std::to_string(list->currentRow()) + " " + dialog.mDesc->Lines().Text());
    for (QPushButton* button : window->findChildren<QPushButton*>())
      if (button->geometry().topLeft() == QPoint(dialog.OKBtn->Left(), dialog.OKBtn->Top()))
        ClickAt(*button, QPoint(10, 10));
  });
  std::string trace = studio.Run("edit Form1.HyperTxt1 Words\n" + script);
  studio.AfterEachLine(nullptr);

  EXPECT_THAT(trace, Not(HasSubstr("error ")));
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> ok\n"));
  EXPECT_EQ(shown, (std::vector<std::string>{"0 0 Not Defined\r\n", "1 1 Not Defined\r\n",
                                             "2 2 Not Defined\r\n", "3 3 Not Defined\r\n",
                                             "4 4 Not Defined\r\n", "0 0 About one\r\n",
                                             "3 3 About four\r\n", "3 3 About four\r\n"}));
  auto& words = static_cast<mebrox::THyperTxt&>(studio.Component("Form1", "HyperTxt1")).Words();
  ASSERT_EQ(words.Count(), static_cast<int>(Picked.size()));
  for (int i = 0; i < words.Count(); ++i) {
    EXPECT_EQ(words.GetWord(i), Picked[static_cast<size_t>(i)]);
    EXPECT_EQ(words.GetWordActType(i), "0");
    EXPECT_EQ(words.GetWordAct(i), "About " + Picked[static_cast<size_t>(i)]);
  }
}

}  // namespace
