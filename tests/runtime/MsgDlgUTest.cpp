#include "runtime/MsgDlgU.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "host/ExtCtrls.h"
#include "host/IniFiles.h"
#include "host/qt/QtBackend.h"
#include "runtime/Action.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;

namespace {

// A control on a frame that counts the clicks reaching it.
struct TClickCounter {
  TPaintBox* Box;
  int Clicks = 0;
  explicit TClickCounter(TForm& frame) : Box(new TPaintBox(&frame)) {
    Box->SetParent(&frame);
    Box->SetBounds(0, 0, frame.Width(), frame.Height());
    Box->OnClick = [this](TObject*) { ++Clicks; };
  }
};

// How a top-level window stood when it showed.
struct TShown {
  Qt::WindowModality Modality = Qt::NonModal;
  QWindow* TransientParent = nullptr;
  QString Title;
};

// Notes every top-level widget's modality, owner and title at the moment it shows.
class TShowWatcher : public QObject {
 public:
  TShowWatcher() { qApp->installEventFilter(this); }
  ~TShowWatcher() override { qApp->removeEventFilter(this); }
  std::map<QWidget*, TShown> Shown;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(object);
    if (event->type() == QEvent::Show && widget && widget->isWindow()) {
      QWindow* window = widget->windowHandle();
      Shown[widget] = {window ? window->modality() : Qt::NonModal,
                       window ? window->transientParent() : nullptr, widget->windowTitle()};
    }
    return false;
  }
};

// Two frames shown side by side, the application titled.
struct TTwoFrames : Frames {
  TTwoFrames() : Frames(2) {
    Application->SetTitle("Tour");
    (*this)[1].SetBounds(0, 0, 300, 200);
    (*this)[2].SetBounds(320, 0, 300, 200);
    (*this)[1].Show();
    (*this)[2].Show();
  }
  ~TTwoFrames() { Application->SetTitle(""); }
};

}  // namespace

TEST(DescriptionPopupTest, ABadColourInTheSettingsIsToldAndTheRestStillApplies) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("Desc", "Use", true);
  ini.WriteString("Desc", "FontColor", "clNoSuchColour");
  ini.WriteInteger("Desc", "FontSize", 30);
  ini.WriteString("Desc", "BackgroundColor", "clAqua");
  const size_t told = testing_support::Dialogs().Errors().size();
  TMsgDlg popup(nullptr);
  popup.MsgLbl().SetCaption("A description far wider than the popup's design size.");
  int width = 0, height = 0;
  Application->ModalHook = [&](TForm&) {
    width = popup.Width();
    height = popup.Height();
  };
  popup.ShowModal();
  Application->ModalHook = nullptr;
  EXPECT_GT(popup.MsgLbl().Width(), 132);
  EXPECT_EQ(width, popup.MsgLbl().Width() + 1);
  EXPECT_EQ(height, popup.MsgLbl().Height() + 1);
  EXPECT_EQ(popup.Shape1().Width(), width);
  // The keys after the bad one still apply; the bad one reads as black.
  EXPECT_EQ(popup.MsgLbl().Font().Color(), clBlack);
  EXPECT_EQ(popup.MsgLbl().Font().Size(), 30);
  EXPECT_EQ(popup.Shape1().Brush().Color(), clAqua);
  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_NE(errors.back().find("clNoSuchColour"), std::string::npos) << errors.back();
}

// What a headless run sees of the popup's window is what a window manager is told.
TEST(DescriptionPopupWindowTest, IsModalAboveItsFrameAndTitledBeforeItShows) {
  TTwoFrames app;
  TShowWatcher watcher;
  QWidget* frame = qt::WidgetOf(app[1]);
  // Only compared once the popup has gone: it is freed after showing.
  QWidget* popupWidget = nullptr;
  bool modalWhileUp = false;
  Application->ModalHook = [&](TForm& popup) {
    popupWidget = qt::WidgetOf(popup);
    modalWhileUp = QGuiApplication::modalWindow() == popupWidget->windowHandle();
  };
  ShowDescription("A cat is a small animal.", &app[1]);
  ASSERT_NE(popupWidget, nullptr);
  ASSERT_EQ(watcher.Shown.count(popupWidget), 1u);
  const TShown& shown = watcher.Shown[popupWidget];
  EXPECT_EQ(shown.Modality, Qt::ApplicationModal);
  EXPECT_EQ(shown.TransientParent, frame->windowHandle());
  EXPECT_EQ(shown.Title, "Tour");
  EXPECT_TRUE(modalWhileUp);
  EXPECT_EQ(QGuiApplication::modalWindow(), nullptr) << "modal after it closed";

  // A popup without a shown owner stays above the frame that was active.
  popupWidget = nullptr;
  app[2].Show();
  ShowDescription("A dog.", nullptr);
  ASSERT_NE(popupWidget, nullptr);
  EXPECT_EQ(watcher.Shown[popupWidget].TransientParent, qt::WidgetOf(app[2])->windowHandle());
}

// A real modal loop, driven by Qt's own input: a click on the other frame is refused by Qt
// itself, a click on the text closes the popup.
TEST(DescriptionPopupWindowTest, AClickOnAnotherFrameDoesNotReachItWhileThePopupIsUp) {
  TTwoFrames app;
  TClickCounter other(app[2]);
  QWindow* otherWindow = qt::WidgetOf(app[2])->windowHandle();
  QTest::mouseClick(otherWindow, Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_EQ(other.Clicks, 1) << "the frame takes clicks before the popup";

  bool popupWasUp = false;
  QTimer::singleShot(0, [&] {
    QWidget* popup = QApplication::activeModalWidget();
    popupWasUp = popup != nullptr;
    QTest::mouseClick(otherWindow, Qt::LeftButton, {}, QPoint(10, 10));
    if (popup) QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {}, QPoint(3, 3));
    // Never left waiting, whatever went wrong above.
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* open = dynamic_cast<TMsgDlg*>(Screen->Forms(i)); open && open->Visible())
        open->SetModalResult(mrAbort);
  });
  ShowDescription("A cat is a small animal.", &app[1]);
  EXPECT_TRUE(popupWasUp);
  EXPECT_EQ(other.Clicks, 1);
  QTest::mouseClick(otherWindow, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(other.Clicks, 2) << "the frame takes clicks again once the popup has gone";
}

TEST(DescriptionPopupTest, EscapeClosesItAndEnterOrSpaceIsAClickOnItsText) {
  auto key = [](TForm& form, TKey code, TShiftState shift = {}) {
    TKeyEventRecord event;
    event.Key = code;
    event.Shift = shift;
    form.PerformKey(event);
    return form.ModalResult();
  };
  for (TKey closing : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
    TMsgDlg popup(nullptr);
    popup.MsgLbl().SetCaption("A note");
    std::vector<TModalResult> results;
    int clicks = 0;
    popup.MsgLbl().OnClick = [&](TObject*) {
      ++clicks;
      popup.Close();
    };
    Application->ModalHook = [&](TForm& form) {
      // Other keys leave it up.
      results.push_back(key(form, 'A'));
      results.push_back(key(form, closing, {ssCtrl}));
      results.push_back(key(form, closing));
    };
    popup.ShowModal();
    Application->ModalHook = nullptr;
    EXPECT_EQ(results, (std::vector<TModalResult>{mrNone, mrNone, mrCancel})) << closing;
    EXPECT_EQ(clicks, closing == VK_ESCAPE ? 0 : 1) << closing;
  }
}
