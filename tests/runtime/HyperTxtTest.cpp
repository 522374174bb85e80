#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>

#include "host/Forms.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "host/qt/QtPainterSurface.h"
#include "runtime/HyperTxt.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::PressKey;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// A hypertext control on a form, painted on the metric surface: with 20-point fonts each
// character is 10 pixels wide and a line of text 30 pixels high; lines step by 25.
struct Page {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  THyperTxt* Text = new THyperTxt(Form.get());
  TMetricSurface Surface;

  explicit Page(int width = 400, int height = 300) {
    Form->SetClassName("TForm1");
    Text->SetParent(Form.get());
    Text->SetBounds(0, 0, width, height);
    Text->Font().SetSize(20);
    Text->WordFont().SetSize(20);
  }
  void Lines(std::initializer_list<std::string> lines) { Text->SetLines(TStringList(lines)); }
  void Word(const std::string& word, const std::string& code = "1", const std::string& data = "") {
    Text->Words().NewWord(word, code, data);
  }
  void Paint() {
    Surface.ClearOps();
    Text->PaintOn(Surface);
  }
  TRect Slot(int i) const {
    const TWordPos& p = Text->WordPos(i);
    return {p.Left, p.Top, p.Right, p.Bottom};
  }
  std::vector<TCanvasOp> Texts() const {
    std::vector<TCanvasOp> out;
    for (const TCanvasOp& op : Surface.OpsOf(ckText))
      if (!op.Text.empty()) out.push_back(op);
    return out;
  }
  std::string Drawn() const {
    std::string drawn;
    for (const TCanvasOp& op : Texts()) drawn += op.Text;
    return drawn;
  }
};

}  // namespace

TEST(HyperTxtLayoutTest, NewControlShowsItsNameWithoutHotWordsOnAClearBackground) {
  Page page;
  THyperTxt fresh(nullptr);
  EXPECT_EQ(fresh.Lines().Text(), "HyperTxt\r\n");
  EXPECT_EQ(fresh.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(fresh.WordFont().Name(), "MS Sans Serif");
  EXPECT_EQ(fresh.Brush().Style(), bsClear);
  EXPECT_EQ(fresh.AutoAdjust(), adNone);
  EXPECT_EQ(fresh.TabWidth(), 4);
  page.Paint();
  EXPECT_TRUE(page.Surface.OpsOf(ckFill).empty());
  ASSERT_EQ(page.Texts().size(), 1u);
  EXPECT_EQ(page.Texts()[0].Text, "HyperTxt");
  EXPECT_EQ(page.Text->WordCount(), 0);
}

TEST(HyperTxtLayoutTest, HotWordsAreMarkedUpAndRecordedInOrder) {
  Page page;
  page.Lines({"a cat and a dog."});
  page.Word("cat");
  page.Word("dog");
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0), "a <B>cat</B> and a <B>dog</B>.");
  ASSERT_EQ(page.Text->WordCount(), 2);
  EXPECT_EQ(page.Slot(0), Rect(21, 1, 51, 31));
  EXPECT_EQ(page.Text->WordPos(0).Word, "cat");
  EXPECT_EQ(page.Slot(1), Rect(121, 1, 151, 31));
  EXPECT_EQ(page.Text->WordPos(1).Word, "dog");
  // The hot words are drawn in the hot-word font.
  page.Text->WordFont().SetStyle({fsUnderline});
  page.Paint();
  for (const TCanvasOp& op : page.Texts())
    EXPECT_EQ(op.FontStyle.Contains(fsUnderline), op.Text == "cat" || op.Text == "dog") << op.Text;
}

TEST(HyperTxtLayoutTest, WordsMatchInsideLongerWordsButALeadingSpaceOnlyAfterASpace) {
  Page page;
  page.Lines({"concatenate the cat"});
  page.Word("cat");
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0), "con<B>cat</B>enate the <B>cat</B>");
  page.Text->Words().Clear();
  page.Word(" cat");
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0), "concatenate the <B>cat</B>");
  EXPECT_EQ(page.Text->WordPos(0).Word, "cat");
}

TEST(HyperTxtLayoutTest, HotWordFontSizeShiftsTheWordByTheDifference) {
  Page page;
  page.Lines({"a cat"});
  page.Word("cat");
  page.Text->WordFont().SetSize(26);
  page.Paint();
  EXPECT_EQ(page.Slot(0).Top, -5);  // 6 pixels above the line at y = 1
  EXPECT_EQ(page.Texts()[1].Rect.Top, -5);
  EXPECT_EQ(page.Slot(0).Bottom, 31);  // back on the line: y + height of the text font
  page.Text->WordFont().SetSize(14);
  page.Paint();
  EXPECT_EQ(page.Slot(0).Top, 7);
  EXPECT_EQ(page.Texts()[1].Rect.Top, 7);
}

TEST(HyperTxtLayoutTest, AWrappedHotWordTakesASlotPerLine) {
  Page page(100);
  page.Lines({"xx big word"});
  page.Word("big word");
  page.Paint();
  ASSERT_EQ(page.Text->WordCount(), 2);
  EXPECT_EQ(page.Slot(0), Rect(31, 1, 71, 31));
  EXPECT_EQ(page.Slot(1), Rect(1, 26, 41, 56));
  EXPECT_EQ(page.Text->WordPos(1).Word, "big word");
}

// Font sizes come from settings and form files as they are written there.
TEST(HyperTxtLayoutTest, AHugeFontStillLaysItsLinesDownwards) {
  Page page(400, 300);
  page.Lines({"a cat", "a cat", "a cat"});
  page.Word("cat");
  page.Text->Font().SetSize(1073741826);
  page.Text->WordFont().SetSize(1073741826);
  page.Paint();
  // Wider than the control, each word wraps, taking a slot per line.
  ASSERT_GE(page.Text->WordCount(), 3);
  for (int i = 0; i < page.Text->WordCount(); ++i) {
    EXPECT_LT(page.Slot(i).Top, page.Slot(i).Bottom);
    if (i > 0) {
      EXPECT_LT(page.Slot(i - 1).Top, page.Slot(i).Top);
    }
  }
}

namespace {
struct DeepText : THyperTxt {
  using THyperTxt::THyperTxt;
  int LineAfter(int y) {
    Canvas().MoveTo(1, y);
    NewLine();
    return Canvas().PenPos().Y;
  }
};
}  // namespace

TEST(HyperTxtLayoutTest, LinesFarDownThePageAllStandAtOneDepth) {
  DeepText text(nullptr);
  int deep = text.LineAfter(std::numeric_limits<int>::max() - 10);
  EXPECT_GT(deep, 0);
  EXPECT_EQ(text.LineAfter(deep), deep);
  EXPECT_EQ(text.LineAfter(100), 100 + text.Font().Size() + 5);
}

TEST(HyperTxtLayoutTest, TableHoldsTheFirst200HotWordsAndTheLastOneDrawn) {
  Page page(400, 10000);
  TStringList lines;
  for (int i = 0; i < 250; ++i) lines.Add("w");
  page.Text->SetLines(lines);
  page.Word("w");
  page.Paint();
  EXPECT_EQ(page.Text->WordCount(), 200);
  EXPECT_EQ(page.Text->SlotCount(), 201);
  EXPECT_EQ(page.Slot(199).Top, 1 + 199 * 25);
  EXPECT_EQ(page.Slot(200).Top, 1 + 249 * 25);
  // With exactly 200 the last slot is none of them, whatever an earlier paint left there.
  while (lines.Count() > 200) lines.Delete(lines.Count() - 1);
  page.Text->SetLines(lines);
  page.Paint();
  EXPECT_EQ(page.Text->SlotCount(), 200);
  EXPECT_EQ(page.Text->HitTest(5, 1 + 249 * 25 + 10), -1);
}

TEST(HyperTxtLayoutTest, NarrowControlPutsEveryPieceOnALineOfItsOwn) {
  Page page(10);
  page.Lines({"ab cd"});
  page.Paint();
  auto texts = page.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Rect.Top, 26);  // the text line begins with an empty line
  EXPECT_EQ(texts[1].Rect.Top, 51);
}

TEST(HyperTxtLayoutTest, AnEmptySegmentBeyondTheEdgeStillWraps) {
  Page page(30);
  page.Text->SetAutoAdjust(adHeight);
  page.Lines({"abcd"});
  page.Word("abcd");
  page.Paint();
  // The word wraps once and runs past the edge; the empty rest of the line wraps again.
  EXPECT_EQ(page.Slot(1), Rect(1, 26, 41, 56));
  EXPECT_EQ(page.Text->Height(), 76 + 5);
}

TEST(HyperTxtLayoutTest, AutoAdjustSizesTheControlToItsText) {
  Page page(400, 300);
  page.Text->Font().SetSize(4);  // 2 pixels a character
  page.Text->WordFont().SetSize(4);
  page.Lines({std::string(50, 'a')});
  page.Text->SetAutoAdjust(adWidth);
  page.Paint();
  EXPECT_EQ(page.Text->Width(), 103);
  page.Lines({std::string(50, 'a'), std::string(51, 'b')});  // 102 is not more than 103
  page.Paint();
  EXPECT_EQ(page.Text->Width(), 103);

  page.Lines({std::string(50, 'a')});
  page.Text->SetAutoAdjust(adHeight);
  page.Paint();
  EXPECT_EQ(page.Text->Height(), 1 + 9 + 5);  // the next line's start, plus 5
  page.Text->SetAutoAdjust(adBoth);
  page.Paint();
  EXPECT_EQ(page.Text->BoundsRect(), Rect(0, 0, 103, 10));  // height without the 5
}

// Sized to its text, a control narrower than its lines lays them out at the width it takes: one
// paint gives the size that every later paint keeps, so a design saved after one paint opens
// the same.
TEST(HyperTxtLayoutTest, AutoAdjustLaysTheTextOutAtTheWidthItTakes) {
  for (TAdjustAttrs adjust : {adWidth, adBoth}) {
    SCOPED_TRACE(adjust == adWidth ? "adWidth" : "adBoth");
    Page page(40, 300);
    page.Lines({"a cat and a dog"});
    page.Text->SetAutoAdjust(adjust);
    page.Paint();
    TRect first = page.Text->BoundsRect();
    EXPECT_EQ(first.Width(), 1 + 150 + 2);
    ASSERT_FALSE(page.Texts().empty());
    for (const TCanvasOp& op : page.Texts()) EXPECT_EQ(op.Rect.Top, 1) << op.Text;
    EXPECT_EQ(first.Height(), adjust == adBoth ? 1 + 25 : 300);
    page.Paint();
    EXPECT_EQ(page.Text->BoundsRect(), first);
  }
}

// ---- marks: they live beside the text, so the text never reads as marks nor marks as text

TEST(HyperTxtMarkupTest, ALongerHotWordWinsOverAWordInsideIt) {
  for (bool longerFirst : {false, true}) {
    SCOPED_TRACE(longerFirst ? "network listed first" : "net listed first");
    Page page;
    page.Text->WordFont().SetStyle({fsUnderline});
    page.Lines({"a network and the net", "after"});
    page.Word(longerFirst ? "network" : "net", "1");
    page.Word(longerFirst ? "net" : "network", "2");
    page.Paint();
    EXPECT_EQ(page.Text->CodedLines().Get(0), "a <B>network</B> and the <B>net</B>");
    ASSERT_EQ(page.Text->WordCount(), 2);
    EXPECT_EQ(page.Text->WordPos(0).Word, "network");
    EXPECT_EQ(page.Slot(0), Rect(21, 1, 91, 31));
    EXPECT_EQ(page.Text->WordPos(1).Word, "net");
    // Only the hot words take the hot-word font; the page's own font comes back after each.
    for (const TCanvasOp& op : page.Texts())
      EXPECT_EQ(op.FontStyle.Contains(fsUnderline), op.Text == "network" || op.Text == "net")
          << op.Text;
    EXPECT_EQ(page.Texts().back().Rect.Top, 26);
  }
}

TEST(HyperTxtMarkupTest, AWordListedTwiceIsMarkedOnce) {
  Page page;
  page.Text->WordFont().SetSize(26);
  page.Lines({"a cat here", "next"});
  page.Word("cat", "1");
  page.Word("cat", "2");
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0), "a <B>cat</B> here");
  ASSERT_EQ(page.Text->WordCount(), 1);
  EXPECT_EQ(page.Slot(0), Rect(21, -5, 60, 31));
  for (const TCanvasOp& op : page.Texts()) {
    EXPECT_EQ(op.FontSize, op.Text == "cat" ? 26 : 20) << op.Text;
    if (op.Text != "cat") {
      EXPECT_EQ(op.Rect.Top, op.Text == "next" ? 32 : 1) << op.Text;
    }
  }
}

TEST(HyperTxtMarkupTest, TheTextIsDrawnAsTypedWhateverItHolds) {
  Page page;
  page.Text->WordFont().SetSize(26);
  std::vector<std::string> lines = {"if a < b then cat > d", "x <B>y and </B", "<i>z</i> <B>",
                                    "last"};
  page.Text->SetLines(TStringList{lines[0], lines[1], lines[2], lines[3]});
  page.Word("cat");
  page.Paint();
  EXPECT_EQ(page.Drawn(), lines[0] + lines[1] + lines[2] + lines[3]);
  ASSERT_EQ(page.Text->WordCount(), 1);
  EXPECT_EQ(page.Text->WordPos(0).Word, "cat");
  std::vector<TCanvasOp> first = page.Texts();
  for (const TCanvasOp& op : first) EXPECT_EQ(op.FontSize, op.Text == "cat" ? 26 : 20) << op.Text;
  EXPECT_EQ(first.back().Rect.Top, 1 + 3 * 31);
  // Nothing carries over into the next paint either.
  page.Paint();
  std::vector<TCanvasOp> second = page.Texts();
  ASSERT_EQ(second.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(second[i].Rect, first[i].Rect) << i;
}

TEST(HyperTxtMarkupTest, HotWordsNeverMatchInsideTheMarks) {
  Page page;
  page.Lines({"cat B <x> /B"});
  page.Word("cat");
  page.Word("B");
  page.Word("<");
  page.Word(">");
  page.Word("/");
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0),
            "<B>cat</B> <B>B</B> <B><</B>x<B>></B> <B>/</B><B>B</B>");
  EXPECT_EQ(page.Drawn(), "cat B <x> /B");
  std::vector<std::string> words;
  for (int i = 0; i < page.Text->WordCount(); ++i) words.push_back(page.Text->WordPos(i).Word);
  EXPECT_EQ(words, (std::vector<std::string>{"cat", "B", "<", ">", "/", "B"}));

  // Listing a word again adds no marks around the marks already placed.
  page.Text->Words().Clear();
  for (int i = 0; i < 4; ++i) page.Word("B");
  page.Lines({"B B B"});
  page.Paint();
  EXPECT_EQ(page.Text->CodedLines().Get(0), "<B>B</B> <B>B</B> <B>B</B>");
  EXPECT_EQ(page.Text->WordCount(), 3);
}

TEST(HyperTxtPropertiesTest, SettersKeepTheirRules) {
  THyperTxt text(nullptr);
  text.SetTabWidth(51);
  text.SetTabWidth(-1);
  EXPECT_EQ(text.TabWidth(), 4);
  text.SetAutoAdjust(adBoth);
  text.SetAutoAdjust(adBoth);
  EXPECT_EQ(text.AutoAdjust(), adNone);
  text.SetAlign(alTop);
  text.SetAutoAdjust(adWidth);
  EXPECT_EQ(text.AutoAdjust(), adNone);
  TBrush brush;
  brush.SetColor(clRed);
  text.SetBrush(brush);
  brush.SetColor(clBlue);
  EXPECT_EQ(text.Brush().Color(), clRed);  // copied, never adopted
}

TEST(HyperTxtPropertiesTest, ListIndexesLoadTheirFilesAndIgnoreTheCurrentOrOutOfRange) {
  TempDir dir;
  for (int i = 0; i < 3; ++i)
    WriteFile(dir.File("t" + std::to_string(i) + ".txt"), "text " + std::to_string(i) + "\r\n");
  WriteFile(dir.File("w.wls"), "cat\r\n1\r\nMenu\r\n~\r\n");
  THyperTxt text(nullptr);
  text.SetLinesLists(TStringList{dir.File("t0.txt"), dir.File("t1.txt"), dir.File("t2.txt")});
  text.SetLinesListsIndex(2);
  EXPECT_EQ(text.Lines().Text(), "text 2\r\n");
  text.SetLinesListsIndex(3);
  text.SetLinesListsIndex(-1);
  EXPECT_EQ(text.LinesListsIndex(), 2);
  text.SetLinesListsIndex(0);
  EXPECT_EQ(text.Lines().Text(), "text 0\r\n");

  text.SetWordsLists(TStringList{dir.File("missing.wls"), dir.File("w.wls")});
  text.SetWordsListsIndex(0);  // the current index: the missing file is not even read
  EXPECT_EQ(text.Words().Count(), 0);
  text.SetWordsListsIndex(1);
  ASSERT_EQ(text.Words().Count(), 1);
  EXPECT_EQ(text.Words().GetWordAct(0), "Menu");
  EXPECT_THROW(text.SetWordsListsIndex(0), EInOutError);
  EXPECT_EQ(text.WordsListsIndex(), 1);
  EXPECT_EQ(text.Words().Count(), 1);
}

namespace {

void Move(THyperTxt& text, int x, int y) {
  TMouseEventRecord e;
  e.Kind = TMouseEventRecord::Move;
  e.Pos = {x + text.Left(), y + text.Top()};
  text.Parent()->DispatchMouse(e);
}

void Press(THyperTxt& text, int x, int y, TMouseButton button = mbLeft) {
  TMouseEventRecord e;
  e.Kind = TMouseEventRecord::Down;
  e.Button = button;
  e.Pos = {x + text.Left(), y + text.Top()};
  text.Parent()->DispatchMouse(e);
  e.Kind = TMouseEventRecord::Up;
  text.Parent()->DispatchMouse(e);
}

}  // namespace

// ---- the word-position table: only what the last paint finished answers the pointer

TEST(HyperTxtTableTest, ANewTextKeepsNoHotWordsOfTheOldOne) {
  Page page;
  page.Lines({"cat", "", "dog"});
  page.Word("cat", "1");
  page.Word("dog", "2");
  page.Paint();
  ASSERT_EQ(page.Text->HitTest(10, 60), 1);
  std::vector<std::string> clicked;
  page.Text->OnWordClick = [&](TObject*, const std::string& w) { clicked.push_back(w); };
  page.Lines({"cat"});
  page.Paint();
  EXPECT_EQ(page.Text->HitTest(10, 60), -1);
  Press(*page.Text, 10, 60);  // where dog stood
  Press(*page.Text, 10, 10);
  EXPECT_EQ(clicked, (std::vector<std::string>{"cat"}));
}

TEST(HyperTxtTableTest, AWrapOutsideAHotWordOpensNoSlot) {
  Page page(100);
  page.Lines({"cat", "", "dog"});
  page.Word("cat");
  page.Word("dog");
  page.Paint();
  page.Lines({"cat aaaa bbbb"});  // bbbb wraps to the start of the second line
  page.Paint();
  ASSERT_EQ(page.Text->WordCount(), 1);
  EXPECT_EQ(page.Texts().back().Rect, Rect(1, 26, 41, 56));
  EXPECT_EQ(page.Text->HitTest(10, 40), -1);
}

TEST(HyperTxtTableTest, PastTheCapAWrappedHotWordKeepsItsOwnWord) {
  Page page(100, 20000);
  TStringList lines;
  for (int i = 0; i < 200; ++i) lines.Add("q");
  lines.Add("xx big word");  // the word breaks after "big "
  page.Text->SetLines(lines);
  page.Word("q", "1");
  page.Word("big word", "2");
  page.Paint();
  ASSERT_EQ(page.Text->WordCount(), 200);
  EXPECT_EQ(page.Text->WordPos(200).Word, "big word");
  int y = 1 + 201 * 25;  // the line "word" broke onto
  EXPECT_EQ(page.Slot(200), Rect(1, y, 41, y + 30));
  Move(*page.Text, 10, y + 10);
  EXPECT_EQ(Screen->Cursor(), 12);
  Screen->SetCursor(0);
}

TEST(HyperTxtTableTest, TextWrappingPastTheLastHotWordLeavesItsSlotAlone) {
  Page page(100, 20000);
  TStringList lines;
  for (int i = 0; i < 200; ++i) lines.Add("q");
  lines.Add("q aaaa bbbb");  // bbbb wraps after the last hot word
  page.Text->SetLines(lines);
  page.Word("q");
  page.Paint();
  ASSERT_EQ(page.Text->WordCount(), 200);
  int y = 1 + 200 * 25;
  EXPECT_EQ(page.Slot(200), Rect(1, y, 11, y + 30));
  EXPECT_EQ(page.Text->HitTest(5, y + 10), 200);
}

TEST(HyperTxtPointerTest, CursorFollowsTheWordUnderThePointerWithStrictEdges) {
  Page page;
  page.Lines({"a cat and a dog."});
  page.Word("cat", "1");
  page.Word("dog", "3");
  page.Paint();  // cat at (21,1)-(51,31), dog at (121,1)-(151,31)
  Move(*page.Text, 22, 10);
  EXPECT_EQ(Screen->Cursor(), 11);
  Move(*page.Text, 21, 10);  // on the left edge: not over the word
  EXPECT_EQ(Screen->Cursor(), 0);
  Move(*page.Text, 150, 30);
  EXPECT_EQ(Screen->Cursor(), 13);
  Move(*page.Text, 150, 31);  // bottom edge
  EXPECT_EQ(Screen->Cursor(), 0);
  // Every action code has its pointer image installed.
  for (int code = 0; code <= 5; ++code) EXPECT_NE(Screen->Cursors(10 + code), nullptr) << code;
}

TEST(HyperTxtPointerTest, OverlappingSlotsFavourTheLowerIndexAndWrappedWordsAnswerOnBothParts) {
  Page page;
  page.Lines({"cat", "dog"});  // lines step 25 but are 30 high: the slots overlap by 5
  page.Word("cat", "1");
  page.Word("dog", "2");
  page.Paint();
  Move(*page.Text, 10, 28);
  EXPECT_EQ(Screen->Cursor(), 11);
  Move(*page.Text, 10, 40);
  EXPECT_EQ(Screen->Cursor(), 12);

  Page wrapped(100);
  wrapped.Lines({"xx big word"});
  wrapped.Word("big word", "5", "0");
  wrapped.Paint();
  Move(*wrapped.Text, 40, 10);
  EXPECT_EQ(Screen->Cursor(), 15);
  Move(*wrapped.Text, 0, 0);
  EXPECT_EQ(Screen->Cursor(), 0);
  Move(*wrapped.Text, 10, 40);
  EXPECT_EQ(Screen->Cursor(), 15);
  Screen->SetCursor(0);
}

TEST(HyperTxtPointerTest, EntryLookupIgnoresLeadingSpacesAndTakesTheFirstEntry) {
  Page page;
  page.Lines({"the cat"});
  page.Word(" cat", "4");
  page.Word("cat", "2");
  page.Paint();
  Move(*page.Text, 45, 10);
  EXPECT_EQ(Screen->Cursor(), 14);
  Screen->SetCursor(0);
}

TEST(HyperTxtPointerTest, EventsTakeOverFromTheBuiltInBehaviour) {
  Page page;
  page.Lines({"free text and a cat"});
  page.Word("free", "9", "Nowhere");
  page.Word("cat", "1", "Nowhere");
  page.Paint();
  Screen->SetCursor(5);
  Move(*page.Text, 5, 10);  // a code without a cursor: the cursor stays
  EXPECT_EQ(Screen->Cursor(), 5);
  std::vector<std::string> clicked, over;
  page.Text->OnWordClick = [&](TObject*, const std::string& w) { clicked.push_back(w); };
  page.Text->OnOverWord = [&](TObject*, const std::string& w) { over.push_back(w); };
  Press(*page.Text, 5, 10);
  Press(*page.Text, 5, 10, mbRight);
  Move(*page.Text, 5, 10);
  Move(*page.Text, 175, 10);  // the cat: the event, not the cursor
  EXPECT_EQ(clicked, (std::vector<std::string>{"free", "free"}));
  EXPECT_EQ(over, (std::vector<std::string>{"free", "cat"}));
  EXPECT_EQ(Screen->Cursor(), 0);  // the press reset it; moving over words left it alone
  Screen->SetCursor(7);
  Move(*page.Text, 390, 200);  // off every word: back to the default
  EXPECT_EQ(Screen->Cursor(), 0);
}

TEST(HyperTxtPointerTest, RightButtonSwitchesLinesWithASpacedIndex) {
  TempDir dir;
  for (int i = 0; i < 3; ++i)
    WriteFile(dir.File("p" + std::to_string(i) + ".txt"), "page " + std::to_string(i) + "\r\n");
  Page page;
  page.Text->SetLinesLists(TStringList{dir.File("p0.txt"), dir.File("p1.txt"), dir.File("p2.txt")});
  page.Lines({"next page"});
  page.Word("next", "5", " 2 ");
  page.Paint();
  Press(*page.Text, 10, 10, mbRight);
  EXPECT_EQ(page.Text->LinesListsIndex(), 2);
  EXPECT_EQ(page.Text->Lines().Text(), "page 2\r\n");
}

TEST(HyperTxtPointerTest, BadCodesAndUnreadableFilesReachTheApplicationHandler) {
  Page page;
  page.Lines({"a cat and a dog"});
  page.Word("cat", "x");
  page.Word("dog", "5", "1");
  page.Text->SetLinesLists(TStringList{"nothing.txt", "/nonexistent/really.txt"});
  page.Paint();
  auto& dialogs = testing_support::Dialogs();
  size_t before = dialogs.Errors().size();
  HandleEvents([&] { Move(*page.Text, 30, 10); });
  HandleEvents([&] { Press(*page.Text, 125, 10); });
  ASSERT_EQ(dialogs.Errors().size(), before + 2);
  EXPECT_NE(dialogs.Errors()[before].find("'x' is not a valid integer value"), std::string::npos);
  EXPECT_NE(dialogs.Errors()[before + 1].find("really.txt"), std::string::npos);
  EXPECT_EQ(page.Text->LinesListsIndex(), 0);
}

TEST(HyperTxtPropertiesTest, SettingsApplyInTheDesignerAndAnUnreadableFileCountsAsAbsent) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("HyperTxt", "Use", true);
  ini.WriteInteger("HyperTxt", "AutoAdjust", 3);
  ini.WriteInteger("HyperTxt", "BrushStyle", 6);
  ini.WriteBool("HyperTxt", "WordFontUnderline", true);
  TComponent designer(nullptr);
  designer.SetDesigning(true);
  auto* dropped = testing_support::DropNew<THyperTxt>(designer);
  EXPECT_EQ(dropped->AutoAdjust(), adWidth);
  EXPECT_EQ(dropped->Brush().Style(), bsSolid);
  EXPECT_EQ(dropped->Brush().Color(), clBlack);
  EXPECT_EQ(dropped->Font().Name(), "Times New Roman");
  EXPECT_TRUE(dropped->WordFont().Style().Contains(fsUnderline));
  THyperTxt running(nullptr);  // a finished application never reads the file
  EXPECT_EQ((new THyperTxt(&designer))->AutoAdjust(), adNone);  // nor does a form file's
  EXPECT_EQ(running.AutoAdjust(), adNone);

  // A colour it cannot read is told, and reads as its key's default.
  ini.WriteString("HyperTxt", "BrushColor", "clNoSuchColour");
  size_t told = testing_support::Dialogs().Errors().size();
  auto* unread = testing_support::DropNew<THyperTxt>(designer);
  EXPECT_EQ(unread->Brush().Color(), clBlack);
  EXPECT_EQ(unread->Brush().Style(), bsSolid);
  EXPECT_EQ(testing_support::Dialogs().Errors().size(), told + 1);

  int users = THyperTxt::WordCursors().Users();
  std::filesystem::remove(windows.File("Mebrox.ini"));
  std::filesystem::create_directory(windows.File("Mebrox.ini"));
  // A file that cannot be read counts as absent: a dropped text keeps its own look.
  auto* absent = testing_support::DropNew<THyperTxt>(designer);
  EXPECT_EQ(absent->AutoAdjust(), running.AutoAdjust());
  EXPECT_EQ(absent->Brush().Style(), running.Brush().Style());
  EXPECT_EQ(absent->WordFont().Style(), running.WordFont().Style());
  EXPECT_EQ(THyperTxt::WordCursors().Users(), users + 1);
  delete absent;
  EXPECT_EQ(THyperTxt::WordCursors().Users(), users);
}

namespace {
class CountingText : public THyperTxt {
 public:
  using THyperTxt::THyperTxt;
  int Repaints = 0;
  void Invalidate() override {
    ++Repaints;
    THyperTxt::Invalidate();
  }
};
}  // namespace

TEST(HyperTxtPropertiesTest, WordsFontsAndBrushAreWatchedButTheListsAreNot) {
  CountingText text(nullptr);
  text.Lines().Add("added directly");
  text.LinesLists().Add("a.txt");
  text.WordsLists().Add("a.wls");
  EXPECT_EQ(text.Repaints, 0);
  text.SetLines(TStringList{"assigned"});
  EXPECT_GT(text.Repaints, 0);
  for (auto change : std::vector<std::function<void()>>{
           [&] { text.Words().NewWord("cat", "1", "Form2"); }, [&] { text.WordFont().SetSize(30); },
           [&] { text.Brush().SetColor(clRed); }}) {
    int before = text.Repaints;
    change();
    EXPECT_GT(text.Repaints, before);
  }
}

TEST(HyperTxtPaintTest, AutoAdjustInARealWindowSettlesAfterOneResize) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* text = new THyperTxt(&form);
  text->SetParent(&form);
  text->SetBounds(10, 10, 300, 200);
  text->SetLines(TStringList{"one line of text", "and another"});
  text->SetAutoAdjust(adBoth);
  form.Show();
  CaptureForm(form);  // paints: the control takes the size of its text
  TRect first = text->BoundsRect();
  EXPECT_LT(first.Width(), 300);
  EXPECT_LT(first.Height(), 200);
  Application->ProcessMessages();
  CaptureForm(form);
  EXPECT_EQ(text->BoundsRect(), first);
  form.Hide();
}

namespace {

// Counts how often each text is measured, per font size (drawing's own measuring aside).
class CountingSurface : public TMetricSurface {
 public:
  std::map<std::string, int> Measured;
  int Count = 0;
  TSize TextExtent(const std::string& text, const TFont& font) override {
    if (!FDrawing) {
      ++Measured[std::to_string(font.Size()) + ":" + text];
      ++Count;
    }
    return TMetricSurface::TextExtent(text, font);
  }
  void TextOut(int x, int y, const std::string& text, const TFont& font) override {
    FDrawing = true;
    TMetricSurface::TextOut(x, y, text, font);
    FDrawing = false;
  }

 private:
  bool FDrawing = false;
};

}  // namespace

TEST(HyperTxtPaintTest, EachPieceIsMeasuredOnceUntilTheFontsOrTheTextChange) {
  Page page;
  page.Text->WordFont().SetSize(24);
  page.Lines({"the cat and the dog", "the end"});
  page.Word("cat");
  page.Word("dog");
  CountingSurface surface;
  page.Text->PaintOn(surface);
  EXPECT_EQ(surface.Measured.count("20:the cat and the dog"), 0u);  // nothing adjusts the width
  EXPECT_EQ(surface.Measured.count("20:the "), 1u);
  for (const auto& [text, times] : surface.Measured) EXPECT_EQ(times, 1) << text;

  surface.Count = 0;
  page.Text->PaintOn(surface);
  EXPECT_EQ(surface.Count, 0);

  // A new font is measured anew, and the page laid out with its widths; so is a new text.
  page.Text->WordFont().SetSize(30);
  page.Text->PaintOn(surface);
  EXPECT_GT(surface.Count, 0);
  EXPECT_EQ(page.Slot(0), Rect(41, -9, 86, 31));
  page.Lines({"a dog"});
  surface.ClearOps();
  page.Text->PaintOn(surface);
  EXPECT_EQ(page.Slot(0), Rect(21, -9, 66, 31));
  std::string drawn;
  for (const TCanvasOp& op : surface.OpsOf(ckText)) drawn += op.Text;
  EXPECT_EQ(drawn, "a dog");
}

TEST(HyperTxtPaintTest, AHugeLineIsLaidOutInFull) {
  Page page(640, 300);
  std::string line;
  for (int i = 0; i < 20000; ++i) line += "w" + std::to_string(i) + (i % 50 == 0 ? " cat " : " ");
  page.Lines({line});
  page.Word("cat", "1");
  page.Paint();
  EXPECT_EQ(page.Drawn(), line);
  EXPECT_EQ(page.Text->CodedLines().Get(0).size(), line.size() + 400 * 7);
  EXPECT_EQ(page.Text->WordCount(), 200);
  EXPECT_EQ(page.Text->WordPos(200).Word, "cat");
  EXPECT_EQ(page.Texts().back().Text, "w19999 ");
}

namespace {

// Draws every piece with drawText, as painting did before pieces were kept shaped.
class DrawTextSurface : public qt::QtPainterSurface {
 public:
  using QtPainterSurface::QtPainterSurface;
  const void* ShapeKey() const override { return this; }
  std::unique_ptr<TShapedText> ShapeText(const std::string& text, const TFont& font) override {
    return TCanvasSurface::ShapeText(text, font);
  }
  void DrawShaped(int x, int y, const TShapedText& text, const TFont& font) override {
    TextOut(x, y, text.Text(), font);
  }
};

int TextOutCount = 0;

// Counts the pieces drawn as text rather than from their kept glyphs.
class CountingQtSurface : public qt::QtPainterSurface {
 public:
  using QtPainterSurface::QtPainterSurface;
  void TextOut(int x, int y, const std::string& text, const TFont& font) override {
    if (!text.empty()) ++TextOutCount;
    QtPainterSurface::TextOut(x, y, text, font);
  }
};

template <class TSurface>
QImage PaintPage(THyperTxt& text) {
  QImage image(text.Width(), text.Height(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TSurface surface(painter);
    text.PaintOn(surface);
  }
  return image;
}

}  // namespace

TEST(HyperTxtPaintTest, KeptShapesPaintTheSamePixelsAsDrawingEachPiece) {
  struct Look {
    const char* Name;
    TFontStyles TextStyle;
    TFontStyles WordStyle;
    int WordHeight;
    TBrushStyle Brush;
  };
  const Look looks[] = {{"underlined", {}, {fsBold, fsUnderline}, -16, bsClear},
                        {"struck out", {fsItalic}, {fsStrikeOut, fsUnderline}, -23, bsClear},
                        {"solid", {fsBold}, {fsItalic}, -11, bsSolid}};
  for (const Look& look : looks) {
    SCOPED_TRACE(look.Name);
    Page page(300, 400);
    page.Text->Font().SetName("Times New Roman");
    page.Text->Font().SetHeight(-16);
    page.Text->Font().SetStyle(look.TextStyle);
    page.Text->WordFont().SetName("Arial");
    page.Text->WordFont().SetHeight(look.WordHeight);
    page.Text->WordFont().SetStyle(look.WordStyle);
    page.Text->WordFont().SetColor(clNavy);
    page.Text->Brush().SetStyle(look.Brush);
    page.Text->Brush().SetColor(clYellow);
    page.Lines({"Hot words: a cat, concatenate, and a long hot phrase that wraps here.",
                "Tabs\tand ligatures: office, ffi; accents: café, naïve.",
                "Other scripts: \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D cat \xE6\xBC\xA2\xE5\xAD\x97 and "
                "\xF0\x9F\x98\x80 too",
                "", "Last line, cat at the end: cat"});
    page.Word("cat", "1");
    page.Word("long hot phrase that wraps", "2");
    page.Word("office", "0");
    QImage expected = PaintPage<DrawTextSurface>(*page.Text);
    PaintPage<qt::QtPainterSurface>(*page.Text);  // shapes the pieces
    TextOutCount = 0;
    QImage kept = PaintPage<CountingQtSurface>(*page.Text);
    // Only the pieces in other scripts (the Hebrew one at least) went back to drawing text.
    EXPECT_GT(TextOutCount, 0);
    EXPECT_LE(TextOutCount, 3);
    ASSERT_EQ(kept.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < kept.height(); ++y)
      for (int x = 0; x < kept.width(); ++x) differing += kept.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(differing, 0);
    QImage blank(expected.size(), expected.format());
    blank.fill(Qt::white);
    EXPECT_NE(expected, blank);
  }
}

// ---- the keyboard

namespace {

TRect Around(const TRect& r) {
  return {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
}

std::string StopAt(const TForm& form) {
  const TControl* c = form.KeyStopControl();
  return c ? c->KeyStopName(form.KeyStopIndex()) : "-";
}

}  // namespace

TEST(HyperTxtKeyboardTest, EachHotWordShownIsOneStopMarkedOnEveryLineItIsBrokenOver) {
  Page page(100);
  // "big word" wraps inside; "pig" wraps before its first letter, leaving an empty part.
  page.Lines({"xx big word", "xxxxxxx pig", "a cat"});
  page.Word("big word");
  page.Word("pig");
  page.Word("cat");
  page.Paint();
  ASSERT_EQ(page.Text->SlotCount(), 5);
  EXPECT_EQ(page.Slot(2).Width(), 0);
  ASSERT_EQ(page.Text->KeyStopCount(), 3);
  EXPECT_EQ(page.Text->KeyStopRects(0),
            (std::vector<TRect>{Around(page.Slot(0)), Around(page.Slot(1))}));
  EXPECT_EQ(page.Text->KeyStopRects(1), (std::vector<TRect>{Around(page.Slot(3))}));
  EXPECT_EQ(page.Text->KeyStopRects(2), (std::vector<TRect>{Around(page.Slot(4))}));
  EXPECT_EQ(page.Text->KeyStopName(0), "big word");
  EXPECT_EQ(page.Text->KeyStopName(2), "cat");

  // Two places of the same word are two stops; the designer's control has none.
  Page twice;
  twice.Lines({"cat and cat"});
  twice.Word("cat");
  twice.Paint();
  EXPECT_EQ(twice.Text->KeyStopCount(), 2);
  THyperTxt designed(nullptr);
  designed.SetDesigning(true);
  designed.SetBounds(0, 0, 200, 50);
  designed.SetLines(TStringList{"cat"});
  designed.Words().NewWord("cat", "1", "");
  TMetricSurface surface;
  designed.PaintOn(surface);
  EXPECT_EQ(designed.SlotCount(), 1);
  EXPECT_EQ(designed.KeyStopCount(), 0);
}

TEST(HyperTxtKeyboardTest, EnterOrSpaceDoesWhatAPressDoesAndASwitchedTextDropsTheStop) {
  TempDir dir;
  WriteFile(dir.File("p0.txt"), "first page\r\n");
  WriteFile(dir.File("p1.txt"), "second page with a dog and a cat\r\n");
  Page page;
  page.Text->SetLinesLists(TStringList{dir.File("p0.txt"), dir.File("p1.txt")});
  page.Lines({"next page", "a cat"});
  page.Word("next", "5", "1");
  page.Word("cat", "1", "Nowhere");
  page.Word("dog", "1", "Nowhere");
  page.Form->Show();
  Application->ProcessMessages();  // laid out by its first paint
  PressKey(*page.Form, VK_TAB);
  EXPECT_EQ(StopAt(*page.Form), "next");
  PressKey(*page.Form, VK_TAB);
  EXPECT_EQ(StopAt(*page.Form), "cat");

  std::vector<std::string> clicked;
  page.Text->OnWordClick = [&](TObject*, const std::string& w) { clicked.push_back(w); };
  PressKey(*page.Form, VK_SPACE);
  PressKey(*page.Form, VK_TAB, {ssShift});
  PressKey(*page.Form, VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<std::string>{"cat", "next"}));
  EXPECT_EQ(page.Text->LinesListsIndex(), 0);

  // The built-in action: the text switches, and the stop it was on goes with it.
  page.Text->OnWordClick = nullptr;
  PressKey(*page.Form, VK_RETURN);
  EXPECT_EQ(page.Text->LinesListsIndex(), 1);
  EXPECT_EQ(page.Form->KeyStopControl(), nullptr);
  // Tab goes on from nowhere, over the new text's words.
  PressKey(*page.Form, VK_TAB);
  EXPECT_EQ(StopAt(*page.Form), "dog");
  EXPECT_EQ(page.Form->KeyStopIndex(), 0);
}
