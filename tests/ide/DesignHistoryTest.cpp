#include "ide/DesignHistory.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using ide::TDesignHistory;
using ide::TTextPatch;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// A patch turns one text into the other and back, whatever changed where, and holds only the
// lines that changed.
TEST(DesignHistoryTest, APatchTurnsATextIntoAnotherAndBack) {
  std::string picture;
  for (int i = 0; i < 3000; ++i) picture += "      89504E470D0A1A0A" + std::to_string(i) + "\n";
  const std::string base = "object Form1: TForm1\n  Left = 10\n" + picture + "  Top = 20\nend\n";
  struct TCase {
    const char* Name;
    std::string From, To;
  };
  const TCase cases[] = {
      {"the same", base, base},
      {"one line", base, "object Form1: TForm1\n  Left = 11\n" + picture + "  Top = 20\nend\n"},
      {"two far apart", base,
       "object Form1: TForm1\n  Left = 11\n" + picture + "  Top = 21\nend\n"},
      {"lines added and taken out", "a\nb\nc\nd\n", "a\nx\nc\ny\nz\n"},
      {"from nothing", "", "object A: TA\nend\n"},
      {"to nothing", "object A: TA\nend\n", ""},
      {"no last line end", "a\nb", "a\nc"},
      {"CR LF kept", "a\r\nb\r\n", "a\r\nB\r\nc\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextPatch patch = TTextPatch::Between(c.From, c.To);
    EXPECT_EQ(patch.Apply(c.From), c.To);
    EXPECT_EQ(patch.Revert(c.To), c.From);
    EXPECT_EQ(patch.Empty(), c.From == c.To);
    EXPECT_LT(patch.Size(), 400u);
  }
  // Random texts: small edits anywhere, and a change too wide to find exactly.
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> a;
    for (int i = 0; i < 60; ++i) a.push_back(std::to_string(random() % 8));
    std::vector<std::string> b = a;
    for (int edit = 0; edit < 6; ++edit) {
      size_t at = random() % (b.size() + 1);
      if (random() % 2 && at < b.size())
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(at));
      else
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), "new" + std::to_string(edit));
    }
    TTextPatch patch = TTextPatch::Between(Lines(a), Lines(b));
    ASSERT_EQ(patch.Apply(Lines(a)), Lines(b));
    ASSERT_EQ(patch.Revert(Lines(b)), Lines(a));
  }
  std::string wide, other;
  for (int i = 0; i < 5000; ++i)
    wide += std::to_string(i) + "\n", other += "x" + std::to_string(i) + "\n";
  TTextPatch replaced = TTextPatch::Between(wide, other);
  EXPECT_EQ(replaced.Apply(wide), other);
  EXPECT_EQ(replaced.Revert(other), wide);
}

// Steps with one merge key run together, but never across the saved point or a step taken back.
TEST(DesignHistoryTest, StepsMergeOnlyWhileNothingComesBetween) {
  TDesignHistory history;
  std::string text = "Left = 0\n";
  auto step = [&](const std::string& name, const std::string& key, const std::string& next) {
    history.Record(name, key, text, next);
    text = next;
  };
  for (int i = 1; i <= 1000; ++i)
    step("Move Label1", "move Label1", "Left = " + std::to_string(i) + "\n");
  EXPECT_EQ(history.UndoName(), "Move Label1");
  text = history.Undo(text);
  EXPECT_EQ(text, "Left = 0\n");
  EXPECT_FALSE(history.CanUndo());
  text = history.Redo(text);
  EXPECT_EQ(text, "Left = 1000\n");

  history.MarkClean();
  step("Move Label1", "move Label1", "Left = 1001\n");
  step("Move Label1", "move Label1", "Left = 1002\n");
  EXPECT_FALSE(history.AtCleanPoint());
  text = history.Undo(text);
  EXPECT_EQ(text, "Left = 1000\n");
  EXPECT_TRUE(history.AtCleanPoint());
  step("Change Caption of Label1", "", "Caption = 'x'\n");
  step("Change Caption of Label1", "", "Caption = 'xy'\n");
  EXPECT_EQ(history.RedoName(), "");
  text = history.Undo(text);
  EXPECT_EQ(text, "Caption = 'x'\n");
  // A step that changes nothing is none.
  history.Record("Nothing", "", text, text);
  EXPECT_EQ(history.UndoName(), "Change Caption of Label1");
}

}  // namespace
