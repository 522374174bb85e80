#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/Wrddef.h"
#include "runtime/HyperTxt.h"
#include "runtime/Strtool.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::TWords;
using mebrox::TWordSelectDlg;
using testing::HasSubstr;
using testing::Not;
using TEntry = std::array<std::string, 3>;  // word, action code, action data

const std::vector<std::string> Text = {"The cat sat on the mat", "A CAT, a dog\tbone and a bird",
                                       "Go home"};
// A frame, a description as a word-list file gives it back, and a frame that is not open.
const std::vector<TEntry> Hot = {
    {"home", "1", "Form2"}, {"bird", "0", "Tweet\r\nTweet\r\n"}, {"mat", "1", "Form9"}};
constexpr int TabWidth = 3;

// A string in form-file syntax: quoted runs, control characters as #n.
std::string FormString(const std::string& s) {
  std::string out;
  bool quoted = false;
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 32) {
      out += (quoted ? "'#" : "#") + std::to_string(c);
      quoted = false;
      continue;
    }
    if (!quoted) out += '\'';
    quoted = true;
    out += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return out.empty() ? "''" : quoted ? out + "'" : out;
}

std::string StringsProperty(const std::string& name, const std::vector<std::string>& strings) {
  if (strings.empty()) return std::string();
  std::string out = "    " + name + ".Strings = (";
  for (const std::string& s : strings) out += "\n      " + FormString(s);
  return out + ")\n";
}

std::string Form1(const std::vector<std::string>& lines, const std::vector<TEntry>& words) {
  std::vector<std::string> entries;
  for (const TEntry& e : words)
    entries.push_back(mebrox::PadStr(e[0], TWords::WordWidth) +
                      mebrox::PadStr(e[1], TWords::ActTypeWidth) +
                      mebrox::PadStr(e[2], TWords::ActWidth));
  return "object Form1: TForm1\n  Width = 320\n  Height = 240\n"
         "  object HyperTxt1: THyperTxt\n    Width = 300\n    Height = 200\n"
         "    TabWidth = " +
         std::to_string(TabWidth) + "\n" +
         StringsProperty("LinesLists", {"Intro.txt", "Other.txt"}) +
         StringsProperty("Lines", lines) + StringsProperty("Words", entries) +
         "  end\n  object WavePlay1: TWavePlay\n  end\nend\n";
}

std::vector<TEntry> Entries(const TWords& words) {
  std::vector<TEntry> out;
  for (int i = 0; i < words.Count(); ++i)
    out.push_back({words.GetWord(i), words.GetWordActType(i), words.GetWordAct(i)});
  return out;
}

// A word-list file as the kit writes it.
std::string ListFile(const std::vector<TEntry>& entries) {
  std::string text;
  for (const TEntry& e : entries) text += e[0] + "\r\n" + e[1] + "\r\n" + e[2] + "\r\n~\r\n";
  return text;
}

const std::vector<TEntry> Listed = {{"x", "1", "Form2"}, {"y", "3", "run.exe"}};

class WordsEditorTest : public testing::Test {
 protected:
  WordsEditorTest()
      : FStudio({Form1(Text, Hot), "object Form2: TForm2\nend\n"},
                {{"Intro.txt", "one\r\n"},
                 {"Other.txt", "two\r\n"},
                 {"list.WLS", ListFile(Listed)},
                 {"bad.wls", "x\r\nzz\r\nsome data\r\n~\r\n"}}) {}

  // Opens the words editor and runs the script's lines on it. atOpen sees the dialog as it
  // opens, atClose as the lines left it.
  std::string Edit(const std::string& script,
                   const std::function<void(TWordSelectDlg&)>& atClose = {},
                   const std::function<void(TWordSelectDlg&)>& atOpen = {}) {
    auto run = host::Application->ModalHook;
    host::Application->ModalHook = [&](host::TForm& form) {
      auto& dialog = dynamic_cast<TWordSelectDlg&>(form);
      if (atOpen) atOpen(dialog);
      run(form);
      if (atClose) atClose(dialog);
    };
    std::string trace = FStudio.Run("edit Form1.HyperTxt1 Words\n" + script);
    host::Application->ModalHook = run;
    return trace;
  }

  TWords& Words() {
    return static_cast<mebrox::THyperTxt&>(FStudio.Component("Form1", "HyperTxt1")).Words();
  }
  bool Modified() { return FStudio.Session().Modified(); }
  std::string File(const std::string& name) { return FStudio.File(name); }

  testing_support::TStudioFixture FStudio;
};

TEST_F(WordsEditorTest, OpensOnTheControlsTextAndWordsWithTheFramesWavesAndTextFiles) {
  std::string trace = Edit("", {}, [&](TWordSelectDlg& d) {
    EXPECT_EQ(d.Caption(), "Word List Dialog");
    EXPECT_EQ(d.ClientWidth(), 364);
    EXPECT_EQ(d.CompactHeight(), 254);
    EXPECT_EQ(d.ExpandedHeight(), 461);
    EXPECT_EQ(d.Height(), d.CompactHeight());
    EXPECT_EQ(d.Top(), (host::Screen->Height() - d.ExpandedHeight()) / 2);
    EXPECT_EQ(d.Left(), (host::Screen->Width() - d.Width()) / 2);
    EXPECT_EQ(d.SrcTxt->Lines().Items(), Text);
    EXPECT_EQ(d.DstList->Items().Items(), (std::vector<std::string>{"home", "bird", "mat"}));
    EXPECT_EQ(d.cbFrameList->Items().Items(), (std::vector<std::string>{"Form1", "Form2"}));
    EXPECT_EQ(d.cbWaveList->Items().Items(), std::vector<std::string>{"WavePlay1"});
    EXPECT_EQ(d.cbLinesList->Items().Items(), (std::vector<std::string>{"Intro.txt", "Other.txt"}));
    EXPECT_TRUE(d.IncludeBtn->Enabled() && d.ExcludeBtn->Enabled() && d.bbExtender->Enabled());
    EXPECT_FALSE(d.GroupBox1->Enabled());
    EXPECT_EQ(d.bbExtender->Caption(), "Open Actions");
    EXPECT_EQ(d.bbExtender->Layout(), host::blGlyphRight);
    // Enter folds the panel out wherever it is typed but on a button; Escape cancels.
    EXPECT_TRUE(d.bbExtender->Default());
    EXPECT_FALSE(d.OKBtn->Default());
    EXPECT_TRUE(d.CancelBtn->Cancel());
    std::vector<host::TWinControl*> order;
    d.GetTabOrderList(order);
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(
        (std::vector<host::TWinControl*>(order.begin(), order.begin() + 5)),
        (std::vector<host::TWinControl*>{d.SrcTxt, d.DstList, d.OKBtn, d.CancelBtn, d.bbExtender}));
    EXPECT_EQ(d.ActiveControl(), d.SrcTxt);
  });
  EXPECT_THAT(trace, HasSubstr("modal TWordSelectDlg \"Word List Dialog\"\n"));
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> cancel\n"));
  EXPECT_EQ(Entries(Words()), Hot);
  EXPECT_FALSE(Modified());
}

TEST_F(WordsEditorTest, IncludesEachSelectedWordOnceAsANewDescription) {
  std::string trace = Edit(
      "select WordSelectDlg.SrcTxt \"cat\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      // The same word in other letters, and the selection the include cleared.
      "select WordSelectDlg.SrcTxt \"CAT\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      "click WordSelectDlg.IncludeBtn 5 5\n"
      "select WordSelectDlg.SrcTxt \"dog\tbone\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      "select WordSelectDlg.SrcTxt \"dog\tbone\"\nkey WordSelectDlg.SrcTxt Insert\n"
      // A selection run past the end of its line takes the word within it.
      "select WordSelectDlg.SrcTxt \"sat on the mat\"\nkey WordSelectDlg.SrcTxt Shift+Right\n"
      "click WordSelectDlg.IncludeBtn 5 5\n"
      "click WordSelectDlg.OKBtn 5 5\n");
  std::vector<TEntry> expected = Hot;
  expected.push_back({"cat", "0", "Not Defined"});
  expected.push_back({mebrox::ExpandTabs("dog\tbone", TabWidth), "0", "Not Defined"});
  expected.push_back({"sat on the mat", "0", "Not Defined"});
  EXPECT_EQ(Entries(Words()), expected);
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> ok\n"));
  EXPECT_TRUE(Modified());
}

// A selection that makes no word is refused with the reason, and the selection stays to mend.
TEST_F(WordsEditorTest, ASelectionThatMakesNoWordIsRefusedWithTheReason) {
  static_cast<mebrox::THyperTxt&>(FStudio.Component("Form1", "HyperTxt1"))
      .Lines()
      .Add(std::string(130, 'z'));
  struct TCase {
    std::string Select;  // script lines that make the selection
    std::string Message;
  };
  const std::vector<TCase> cases = {
      {"", "Select the word to include in the text first."},
      {"select WordSelectDlg.SrcTxt \" \"\n",
       "The selection holds only blanks: select a word of the text to include."},
      {"select WordSelectDlg.SrcTxt \"\t\"\n",
       "The selection holds only blanks: select a word of the text to include."},
      {"select WordSelectDlg.SrcTxt \"mat\"\nkey WordSelectDlg.SrcTxt Shift+Down\n",
       "The selection runs over 2 lines: a hot word lies within one line of the text."},
      {"select WordSelectDlg.SrcTxt \"mat\"\nkey WordSelectDlg.SrcTxt Shift+Down\n"
       "key WordSelectDlg.SrcTxt Shift+Down\n",
       "The selection runs over 3 lines: a hot word lies within one line of the text."},
      {"select WordSelectDlg.SrcTxt \"" + std::string(130, 'z') + "\"\n",
       "The selection is 130 characters long: a hot word holds 128 at most."},
  };
  for (const TCase& c : cases) {
    const std::string selected = c.Select;
    std::string trace = Edit(c.Select + "click WordSelectDlg.IncludeBtn 5 5\n" + c.Select +
                                 "key WordSelectDlg.SrcTxt Insert\nclick WordSelectDlg.OKBtn 5 5\n",
                             [&](TWordSelectDlg& d) {
                               EXPECT_EQ(d.DstList->Items().Count(), 3) << selected;
                               EXPECT_EQ(d.SrcTxt->SelLength() > 0, !selected.empty()) << selected;
                             });
    const std::string message = "message \"" + c.Message + "\" -> ok\n";
    EXPECT_THAT(trace, HasSubstr(message + message)) << selected;
    EXPECT_EQ(Entries(Words()), Hot) << selected;
  }
}

TEST_F(WordsEditorTest, RemovesWordsByButtonOrKeyAndCancelPutsEverythingBack) {
  Edit(
      "select WordSelectDlg.DstList 0\nclick WordSelectDlg.ExcludeBtn 5 5\n"
      "select WordSelectDlg.DstList 1\nkey WordSelectDlg.DstList Delete\n"
      "click WordSelectDlg.OKBtn 5 5\n");
  EXPECT_EQ(Entries(Words()), std::vector<TEntry>{Hot[1]});

  FStudio.Session().Save();
  ASSERT_FALSE(Modified());
  const std::vector<std::string> before = Words().Items();
  std::string trace = Edit(
      "select WordSelectDlg.SrcTxt \"cat\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.cbAction \"Close Window\"\n"
      "click WordSelectDlg.bbExtender 5 5\nclick WordSelectDlg.ExcludeAllBtn 5 5\n"
      "file \"list.WLS\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "key WordSelectDlg Escape\n",
      [](TWordSelectDlg& d) { EXPECT_EQ(d.DstList->Items().Count(), 2); });
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> cancel\n"));
  EXPECT_EQ(Words().Items(), before);
  EXPECT_FALSE(Modified());
}

TEST_F(WordsEditorTest, FoldingOutShowsTheFirstWordsActionAndHoldsTheList) {
  Edit("select WordSelectDlg.DstList 2\nkey WordSelectDlg.DstList Enter\n", [](TWordSelectDlg& d) {
    EXPECT_EQ(d.Height(), d.ExpandedHeight());
    EXPECT_EQ(d.bbExtender->Caption(), "Close Actions");
    EXPECT_TRUE(d.GroupBox1->Enabled() && d.GroupBox1->Visible());
    EXPECT_FALSE(d.IncludeBtn->Enabled() || d.ExcludeBtn->Enabled() || d.ExcludeAllBtn->Enabled());
    EXPECT_EQ(d.DstList->ItemIndex(), 0);
    EXPECT_EQ(d.cbAction->ItemIndex(), 1);
    EXPECT_EQ(d.Notebook1->PageIndex(), 1);
    EXPECT_EQ(d.cbFrameList->ItemIndex(), 1);
  });
  Edit("click WordSelectDlg.bbExtender 5 5\nkey WordSelectDlg.bbExtender Enter\n",
       [](TWordSelectDlg& d) {
         EXPECT_EQ(d.Height(), d.CompactHeight());
         EXPECT_EQ(d.bbExtender->Caption(), "Open Actions");
         EXPECT_FALSE(d.GroupBox1->Enabled());
         EXPECT_TRUE(d.IncludeBtn->Enabled() && d.ExcludeBtn->Enabled());
       });
}

TEST_F(WordsEditorTest, EachActionStoresItsCodeAndData) {
  std::string script;
  for (const char* word : {"cat", "sat", "on", "Go"})
    script += "select WordSelectDlg.SrcTxt \"" + std::string(word) +
              "\"\nclick WordSelectDlg.IncludeBtn 5 5\n";
  Edit(script +
       "click WordSelectDlg.bbExtender 5 5\n"
       "select WordSelectDlg.cbAction \"Switch Lines\"\n"
       "select WordSelectDlg.cbLinesList \"Other.txt\"\n"
       "select WordSelectDlg.DstList 1\nselect WordSelectDlg.cbAction \"Goto Frame\"\n"
       "select WordSelectDlg.cbFrameList \"Form2\"\n"
       "select WordSelectDlg.DstList 2\nselect WordSelectDlg.cbAction \"Show Description\"\n"
       "type WordSelectDlg.mDesc \"Woof\"\n"
       "select WordSelectDlg.DstList 3\nselect WordSelectDlg.cbAction \"Play Wave\"\n"
       "select WordSelectDlg.cbWaveList \"WavePlay1\"\n"
       "select WordSelectDlg.DstList 4\nselect WordSelectDlg.cbAction \"Switch Lines\"\n"
       "select WordSelectDlg.DstList 5\nselect WordSelectDlg.cbAction \"Execute Program\"\n"
       "type WordSelectDlg.txFileName \"calc\"\n"
       "select WordSelectDlg.DstList 6\nselect WordSelectDlg.cbAction \"Close Window\"\n"
       "click WordSelectDlg.bbExtender 5 5\n"
       // A word included after the panel closed keeps its own action.
       "select WordSelectDlg.SrcTxt \"the\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
       "click WordSelectDlg.OKBtn 5 5\n");
  EXPECT_EQ(Entries(Words()), (std::vector<TEntry>{{"home", "5", "1"},
                                                   {"bird", "1", "Form2"},
                                                   {"mat", "0", "Woof"},
                                                   {"cat", "2", "WavePlay1"},
                                                   {"sat", "5", "-1"},
                                                   {"on", "3", "calc"},
                                                   {"Go", "4", "Close"},
                                                   {"the", "0", "Not Defined"}}));
}

TEST_F(WordsEditorTest, WordsLookedAtKeepTheirData) {
  Edit(
      "select WordSelectDlg.SrcTxt \"cat\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      "click WordSelectDlg.bbExtender 5 5\n"
      "select WordSelectDlg.DstList 1\nselect WordSelectDlg.DstList 2\n"
      "click WordSelectDlg.bbExtender 5 5\nclick WordSelectDlg.bbExtender 5 5\n"
      "select WordSelectDlg.DstList 3\nclick WordSelectDlg.OKBtn 5 5\n",
      [](TWordSelectDlg& d) {
        EXPECT_EQ(d.cbAction->ItemIndex(), 0);
        EXPECT_EQ(d.Notebook1->PageIndex(), 0);
        EXPECT_EQ(d.mDesc->Lines().Items(), std::vector<std::string>{"Not Defined"});
      });
  std::vector<TEntry> expected = Hot;
  expected.push_back({"cat", "0", "Not Defined"});
  EXPECT_EQ(Entries(Words()), expected);
}

TEST_F(WordsEditorTest, AnActionCodeThatIsNoNumberIsReportedAndTheWordKept) {
  Words().NewWord("odd", "x", "data");
  const std::vector<std::string> before = Words().Items();
  std::string trace = Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.DstList 3\n"
      "click WordSelectDlg.bbExtender 5 5\nclick WordSelectDlg.OKBtn 5 5\n");
  EXPECT_THAT(trace, HasSubstr("error \""));
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> ok\n"));
  EXPECT_EQ(Words().Items(), before);
}

TEST_F(WordsEditorTest, SavesAndLoadsWordLists) {
  std::string trace = Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.cbAction \"Close Window\"\n"
      "file \"saved.wls\"\nmenu WordSelectDlg.DstList \"Save\"\n"
      "click WordSelectDlg.bbExtender 5 5\n"
      // A name without extension is a word list's.
      "file \"list\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "click WordSelectDlg.OKBtn 5 5\n",
      [](TWordSelectDlg& d) {
        EXPECT_EQ(d.DstList->Items().Items(), (std::vector<std::string>{"x", "y"}));
      });
  EXPECT_THAT(trace, HasSubstr("file save \"Save the Words\" -> \"" + File("saved.wls") + "\""));
  TWords saved;
  saved.LoadListFromFile(File("saved.wls"));
  std::vector<TEntry> expected = Hot;
  expected[0] = {"home", "4", "Close"};
  EXPECT_EQ(Entries(saved), expected);
  EXPECT_EQ(Entries(Words()), Listed);
}

TEST_F(WordsEditorTest, SaveLoadSaveKeepsTheWordsAndTheFile) {
  Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.DstList 2\n"
      "select WordSelectDlg.cbAction \"Show Description\"\ntype WordSelectDlg.mDesc \"Woof\"\n"
      "file \"first.wls\"\nmenu WordSelectDlg.DstList \"Save\"\n"
      "file \"first.wls\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "file \"second.wls\"\nmenu WordSelectDlg.DstList \"Save\"\n"
      "click WordSelectDlg.OKBtn 5 5\n");
  EXPECT_EQ(testing_support::ReadFile(File("second.wls")),
            testing_support::ReadFile(File("first.wls")));
  std::vector<TEntry> expected = Hot;
  expected[2] = {"mat", "0", "Woof"};
  EXPECT_EQ(Entries(Words()), expected);
  FStudio.Session().Save();
  const std::string form = testing_support::ReadFile(File("Unit1.dfm"));
  EXPECT_THAT(form, HasSubstr("'0 Woof   "));
  EXPECT_THAT(form, Not(HasSubstr("Woof'#13#10")));
}

TEST_F(WordsEditorTest, LoadingWhileFoldedOutShowsTheLoadedWordAtTheSamePlace) {
  Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.DstList 1\n"
      "file \"list.WLS\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "click WordSelectDlg.bbExtender 5 5\nclick WordSelectDlg.OKBtn 5 5\n",
      [](TWordSelectDlg& d) {
        EXPECT_EQ(d.CurrentWord(), 1);
        EXPECT_EQ(d.DstList->ItemIndex(), 1);
        EXPECT_EQ(d.cbAction->ItemIndex(), 3);
        EXPECT_EQ(d.txFileName->Text(), "run.exe");
      });
  EXPECT_EQ(Entries(Words()), Listed);
}

TEST_F(WordsEditorTest, AListThatCannotBeReadLeavesTheWordsAndTheDialogUsable) {
  std::string trace = Edit(
      "file \"missing.wls\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "file \"bad.wls\"\nmenu WordSelectDlg.DstList \"Load\"\n"
      "select WordSelectDlg.SrcTxt \"cat\"\nclick WordSelectDlg.IncludeBtn 5 5\n"
      "click WordSelectDlg.OKBtn 5 5\n",
      [](TWordSelectDlg& d) { EXPECT_EQ(d.DstList->Items().Count(), 4); });
  EXPECT_THAT(trace, HasSubstr("error \"Cannot open"));
  EXPECT_THAT(trace, HasSubstr("bad.wls"));
  std::vector<TEntry> expected = Hot;
  expected.push_back({"cat", "0", "Not Defined"});
  EXPECT_EQ(Entries(Words()), expected);
}

TEST_F(WordsEditorTest, BrowsesForAProgramWithTheKeyOrTheButton) {
  std::string trace = Edit(
      "key WordSelectDlg.DstList Enter\nselect WordSelectDlg.cbAction \"Execute Program\"\n"
      "file \"/opt/app.exe\"\nkey WordSelectDlg.txFileName F4\n"
      "key WordSelectDlg.OKBtn Enter\n",
      [](TWordSelectDlg& d) {
        EXPECT_EQ(d.OpenDialog1->Filter(), "*.exe;*.bat|*.EXE;*.BAT|*.exe|*.EXE|*.bat|*.BAT");
      });
  EXPECT_THAT(trace, HasSubstr("file open \"\" -> \"/opt/app.exe\""));
  EXPECT_EQ(Entries(Words())[0], (TEntry{"home", "3", "/opt/app.exe"}));
}

// A description or program path holds what the entry's 90 characters of data can: typing past
// them is refused and the dialog says so, and what the fields hold is stored whole.
TEST_F(WordsEditorTest, DescriptionsAndProgramsAreHeldToTheRoomOfTheEntry) {
  const std::string ninety = std::string(40, 'a') + "\r\n" + std::string(48, 'b');
  const std::string longPath = "/opt/" + std::string(90, 'p') + "/app.exe";
  std::vector<std::string> notes;
  FStudio.AfterEachLine([&](int) {
    for (int i = 0; i < host::Screen->FormCount(); ++i)
      if (auto* d = dynamic_cast<TWordSelectDlg*>(host::Screen->Forms(i)))
        if (d->Visible() && (notes.empty() || notes.back() != d->Label8->Caption()))
          notes.push_back(d->Label8->Caption());
  });
  std::string trace = Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.DstList 2\n"
      "select WordSelectDlg.cbAction \"Show Description\"\n"
      "type WordSelectDlg.mDesc \"" +
      std::string(40, 'a') + "\"\nkey WordSelectDlg.mDesc Enter\n" + "type WordSelectDlg.mDesc \"" +
      std::string(50, 'b') + "\"\n" +
      "select WordSelectDlg.DstList 0\nselect WordSelectDlg.cbAction \"Execute Program\"\n"
      "type WordSelectDlg.txFileName \"" +
      std::string(95, 'r') + "\"\n" + "file \"" + longPath +
      "\"\nclick WordSelectDlg.SpeedButton1 5 5\n"
      "click WordSelectDlg.OKBtn 5 5\n");
  FStudio.AfterEachLine(nullptr);
  EXPECT_THAT(trace, Not(HasSubstr("error ")));
  EXPECT_THAT(trace, HasSubstr("message \"The path of " + longPath + " is 103 characters long"));
  std::vector<TEntry> expected = Hot;
  expected[2] = {"mat", "0", ninety};
  expected[0] = {"home", "3", std::string(90, 'r')};
  EXPECT_EQ(Entries(Words()), expected);
  EXPECT_EQ(notes,
            (std::vector<std::string>{"", "0 of 90 characters", "40 of 90 characters",
                                      "Not taken: 90 characters at most", "", "0 of 90 characters",
                                      "Not taken: 90 characters at most"}));
}

// A frame whose name is too long for the entry cannot be stored: the panel and the list keep
// the word to put right, and OK keeps everything else.
TEST_F(WordsEditorTest, APanelTheEntryCannotHoldIsReportedAndTheRestKept) {
  const std::string longName = "Form" + std::string(90, 'x');
  // No hot word may go to a frame of that name, or the frame could not be given it.
  Words().ChangeWord(0, "", "4", "");
  FStudio.Form("Form2").SetName(longName);
  std::string trace = Edit(
      "click WordSelectDlg.bbExtender 5 5\nselect WordSelectDlg.DstList 2\n"
      "select WordSelectDlg.cbAction \"Close Window\"\n"
      "select WordSelectDlg.DstList 0\nselect WordSelectDlg.cbAction \"Goto Frame\"\n"
      "select WordSelectDlg.cbFrameList \"" +
          longName +
          "\"\n"
          "select WordSelectDlg.DstList 1\nclick WordSelectDlg.OKBtn 5 5\n",
      [](TWordSelectDlg& d) {
        EXPECT_EQ(d.DstList->ItemIndex(), 0);
        EXPECT_EQ(d.CurrentWord(), 0);
        EXPECT_EQ(d.cbFrameList->Text(), "Form" + std::string(90, 'x'));
      });
  EXPECT_THAT(trace, HasSubstr("error \"The action data is 94 characters long"));
  EXPECT_THAT(trace, HasSubstr("closed TWordSelectDlg -> ok\nerror \"The action data is 94"));
  std::vector<TEntry> expected = Hot;
  expected[0] = {"home", "4", ""};
  expected[2] = {"mat", "4", "Close"};
  EXPECT_EQ(Entries(Words()), expected);
  EXPECT_TRUE(Modified());
}

TEST_F(WordsEditorTest, AControlWithoutTextShowsNoWordsAndKeepsThem) {
  static_cast<mebrox::THyperTxt&>(FStudio.Component("Form1", "HyperTxt1")).Lines().Clear();
  Edit("click WordSelectDlg.OKBtn 5 5\n", {}, [](TWordSelectDlg& d) {
    EXPECT_EQ(d.DstList->Items().Count(), 0);
    EXPECT_FALSE(d.IncludeBtn->Enabled() || d.bbExtender->Enabled());
  });
  EXPECT_EQ(Entries(Words()), Hot);
}

TEST_F(WordsEditorTest, PicturesOfTheDialogFoldedInAndOnEachActionPage) {
  const std::string dir = std::string(MEBROX_TEST_OUTPUT) + "/words-editor";
  std::filesystem::create_directories(dir);
  std::string script = "screenshot WordSelectDlg " + dir + "/folded-in.png\n" +
                       "click WordSelectDlg.bbExtender 5 5\n";
  const std::vector<std::string> actions = {"Show Description", "Goto Frame",   "Play Wave",
                                            "Execute Program",  "Close Window", "Switch Lines"};
  for (size_t i = 0; i < actions.size(); ++i)
    script += "select WordSelectDlg.cbAction \"" + actions[i] + "\"\nscreenshot WordSelectDlg " +
              dir + "/page" + std::to_string(i) + ".png\n";
  Edit(script);
  for (size_t i = 0; i < actions.size(); ++i)
    EXPECT_GT(std::filesystem::file_size(dir + "/page" + std::to_string(i) + ".png"), 0u);
}

}  // namespace
