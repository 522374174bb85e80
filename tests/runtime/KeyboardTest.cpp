// The hot components of a frame from the keyboard: Tab reaches each, Enter or Space clicks it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/Graphics.h"
#include "host/IniFiles.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
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

TEST(HotComponentsKeyboardTest, TheMarkShowsInBlackAndWhiteInsideAPictureAndAroundAHotWord) {
  Frames app(1);
  TForm& frame = app[1];
  frame.SetBounds(0, 0, 320, 120);
  const uint32_t blue = 0x2040E0;
  auto& image = Place<THyperImage>(frame, "Image", {10, 10, 110, 110});
  image.Picture().SetData(
      ImageCodec()->EncodePng({64, 48, std::vector<uint32_t>(64 * 48, 0xFF000000 | blue)}));
  auto& text = Place<THyperTxt>(frame, "Text", {100, 10, 300, 60});
  text.SetLines(TStringList{"a cat"});
  text.Words().NewWord("cat", "1", "Nowhere");
  frame.Show();
  Application->ProcessMessages();
  // Along a row of pixels of the frame: which colours it holds.
  auto colours = [&](int y, int from, int to) {
    TRawImage shot = CaptureForm(frame);
    std::vector<uint32_t> seen;
    for (int x = from; x < to; ++x) {
      uint32_t c = shot.Pixel(x, y) & 0xFFFFFF;
      if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
    }
    std::sort(seen.begin(), seen.end());
    return seen;
  };
  // Three pixels inside the picture's top edge, the mark's top line: black dots on white.
  EXPECT_EQ(colours(13, 14, 70), std::vector<uint32_t>{blue});
  frame.FocusKeyStop(&image, 0);
  EXPECT_EQ(colours(13, 14, 70), (std::vector<uint32_t>{0x000000, 0xFFFFFF}));

  PressKey(frame, VK_TAB);
  ASSERT_EQ(frame.KeyStopControl(), &text);
  EXPECT_EQ(colours(13, 14, 70), std::vector<uint32_t>{blue});
  // One pixel above the hot word, on the frame's own ground.
  std::vector<TRect> parts = text.KeyStopRects(0);
  ASSERT_EQ(parts.size(), 1u);
  int y = 10 + parts[0].Top;
  std::vector<uint32_t> row = colours(y, 100 + parts[0].Left + 1, 100 + parts[0].Right - 1);
  EXPECT_NE(std::find(row.begin(), row.end(), 0x000000u), row.end());
  frame.FocusKeyStop(nullptr, 0);
  row = colours(y, 100 + parts[0].Left + 1, 100 + parts[0].Right - 1);
  EXPECT_EQ(std::find(row.begin(), row.end(), 0x000000u), row.end());
}
