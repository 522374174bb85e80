#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "host/Forms.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "runtime/HyperTxt.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
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
  // Tags typed into the text are honoured even without hot words.
  page.Text->Words().Clear();
  page.Lines({"free <B>hand</B> <i>x</i>"});
  page.Paint();
  EXPECT_EQ(page.Text->WordCount(), 1);
  EXPECT_EQ(page.Text->WordPos(0).Word, "hand");
  std::string drawn;
  for (const TCanvasOp& op : page.Texts()) drawn += op.Text;
  EXPECT_EQ(drawn, "free hand x");
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

TEST(HyperTxtLayoutTest, TableHoldsTheFirst200HotWordsAndTheLastOneDrawn) {
  Page page(400, 10000);
  TStringList lines;
  for (int i = 0; i < 250; ++i) lines.Add("w");
  page.Text->SetLines(lines);
  page.Word("w");
  page.Paint();
  EXPECT_EQ(page.Text->WordCount(), 200);
  EXPECT_EQ(page.Slot(199).Top, 1 + 199 * 25);
  EXPECT_EQ(page.Slot(200).Top, 1 + 249 * 25);
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
  page.Lines({"<B>abcd</B>"});
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
  page.Lines({"<B>free</B> text and a cat"});
  page.Word("cat", "1", "Nowhere");
  page.Paint();
  Screen->SetCursor(5);
  Move(*page.Text, 5, 10);  // hand-marked, not in Words: the cursor stays
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

TEST(HyperTxtPropertiesTest, SettingsApplyInTheDesignerAndABadOneGivesBackTheCursors) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("HyperTxt", "Use", true);
  ini.WriteInteger("HyperTxt", "AutoAdjust", 3);
  ini.WriteInteger("HyperTxt", "BrushStyle", 6);
  ini.WriteBool("HyperTxt", "WordFontUnderline", true);
  TComponent designer(nullptr);
  designer.SetDesigning(true);
  auto* dropped = new THyperTxt(&designer);
  EXPECT_EQ(dropped->AutoAdjust(), adWidth);
  EXPECT_EQ(dropped->Brush().Style(), bsSolid);
  EXPECT_EQ(dropped->Brush().Color(), clBlack);
  EXPECT_EQ(dropped->Font().Name(), "Times New Roman");
  EXPECT_TRUE(dropped->WordFont().Style().Contains(fsUnderline));
  THyperTxt running(nullptr);  // a finished application never reads the file
  EXPECT_EQ(running.AutoAdjust(), adNone);

  int users = THyperTxt::WordCursors().Users();
  ini.WriteString("HyperTxt", "BrushColor", "clNoSuchColour");
  EXPECT_THROW(new THyperTxt(&designer), EConvertError);
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
