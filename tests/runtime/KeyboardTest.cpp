// The hot components of a frame from the keyboard: Tab reaches each, Enter or Space clicks it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/IniFiles.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/Hyprarea.h"
#include "runtime/MsgDlgU.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;
using testing_support::PressKey;

namespace {

std::string StopAt(const TForm& form) {
  return form.KeyStopControl() ? form.KeyStopControl()->Name() : "-";
}

template <class T>
T& Place(TForm& frame, const std::string& name, TRect bounds) {
  auto* c = new T(&frame);
  c->SetName(name);
  c->SetParent(&frame);
  c->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  return *c;
}

}  // namespace

TEST(HotComponentsKeyboardTest, TabReachesPicturesAreasAndTheBookmarkAndEnterOrSpaceClicks) {
  Frames app(3);
  TIniFile(app.RunFile()).WriteString("Marked", "At", "TForm3");
  TForm& frame = app[1];
  frame.SetBounds(0, 0, 400, 200);
  // In reading order: the area (a row higher), then the picture, then the bookmark.
  auto& image = Place<THyperImage>(frame, "Image", {10, 20, 70, 80});
  image.Action().SetActionType(acDesc);
  image.Action().SetDesc("A note");
  auto& area = Place<THyperArea>(frame, "Area", {200, 10, 260, 60});
  area.Action().SetActionType(acFrame);
  area.Action().SetFrame("Form2");
  auto& mark = Place<TBookMark>(frame, "Mark", {300, 20, 340, 70});
  mark.BeginLoading();
  mark.Loaded();
  frame.Show();

  std::vector<std::string> visited;
  for (int i = 0; i < 4; ++i) {
    PressKey(frame, VK_TAB);
    visited.push_back(StopAt(frame));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"Area", "Image", "Mark", "Area"}));
  PressKey(frame, VK_TAB, {ssShift});
  PressKey(frame, VK_TAB, {ssShift});
  EXPECT_EQ(StopAt(frame), "Image");

  std::string shown;
  Application->ModalHook = [&](TForm& popup) {
    if (auto* note = dynamic_cast<TMsgDlg*>(&popup)) shown = note->MsgLbl().Caption();
  };
  PressKey(frame, VK_RETURN);
  EXPECT_EQ(shown, "A note");
  EXPECT_EQ(StopAt(frame), "Image");  // the popup has come and gone; the keyboard stays

  PressKey(frame, VK_TAB, {ssShift});
  app.Trace.clear();
  PressKey(frame, VK_SPACE);
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));

  // Back on the frame, the keyboard is where it was; on to the bookmark, which resumes.
  app[2].Hide();
  frame.Show();
  EXPECT_EQ(StopAt(frame), "Area");
  PressKey(frame, VK_TAB);
  PressKey(frame, VK_TAB);
  EXPECT_EQ(StopAt(frame), "Mark");
  testing_support::Dialogs().QueueAnswer(mrYes);
  app.Trace.clear();
  PressKey(frame, VK_RETURN);
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm3"}));
  EXPECT_FALSE(mark.Visible());
}
