#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

#include "design/Lnslst.h"
#include "design/Wrdlst.h"
#include "host/Dialogs.h"
#include "runtime/HyperTxt.h"
#include "tests/design/StudioFixture.h"

namespace {

using testing_support::TStudioFixture;
using Names = std::vector<std::string>;

const Names FiveWordLists = {"one.wls", "two.wls", "three.wls", "four.wls", "five.wls"};
const Names TwoTexts = {"intro.txt", "more.txt"};

std::string QuotedLines(const Names& names) {
  std::string text;
  for (const std::string& name : names) text += "\n      '" + name + "'";
  return text;
}

std::string FormText() {
  return "object Form1: TForm1\n  Width = 400\n  Height = 300\n"
         "  object HyperTxt1: THyperTxt\n    Left = 8\n    Top = 8\n"
         "    LinesLists.Strings = (" +
         QuotedLines(TwoTexts) + ")\n    WordsLists.Strings = (" + QuotedLines(FiveWordLists) +
         ")\n  end\nend\n";
}

class ListEditorsTest : public testing::Test {
 protected:
  ListEditorsTest() {
    // The dialogs take only files that are there, as a designer could only pick those.
    std::filesystem::create_directories(Studio.File("lists"));
    for (const char* name :
         {"lists/a.wls", "c.wls", "new.wls", "x.txt", "y.txt", "q.txt", "a.txt", "b.txt", "c.txt"})
      testing_support::WriteFile(Studio.File(name), "");
    testing_support::WriteFile(Elsewhere.File("p.txt"), "");
  }

  mebrox::THyperTxt& Text() {
    return dynamic_cast<mebrox::THyperTxt&>(Studio.Component("Form1", "HyperTxt1"));
  }
  Names WordsLists() { return Text().WordsLists().Items(); }
  Names LinesLists() { return Text().LinesLists().Items(); }

  TStudioFixture Studio{{FormText()}};
  testing_support::TempDir Elsewhere;
  std::vector<host::TFileDialogRequest>& Requests = Studio.FileRequests();
};

TEST_F(ListEditorsTest, TheTwinDialogsShareOneLayoutAndDifferInCaptionAndFilter) {
  struct TTwin {
    std::string Property, ClassName, Caption, Filter;
  };
  for (const TTwin& twin :
       {TTwin{"WordsLists", "TWordListSelectDlg", "Dialog", "Words List|*.WLS|All files|*.*"},
        TTwin{"LinesLists", "TLinesListSelectDlg", "List of Lines files",
              "Lines List|*.TXT|All files|*.*"}}) {
    SCOPED_TRACE(twin.Property);
    Requests.clear();
    std::string shot = std::string(MEBROX_TEST_OUTPUT) + "/" + twin.ClassName + ".png";
    std::string trace = Studio.Run("edit Form1.HyperTxt1 " + twin.Property +
                                   "\nscreenshot FileListSelectDlg " + shot +
                                   "\nclick FileListSelectDlg.BitBtn1 5 5\n"
                                   "click FileListSelectDlg.BitBtn3 5 5\n"
                                   "key FileListSelectDlg Escape\n");
    EXPECT_EQ(trace, "modal " + twin.ClassName + " \"" + twin.Caption +
                         "\"\n"
                         "file open \"Hot Words Lists File Selection\" -> cancel\n"
                         "file open \"Hot Words Lists File Selection\" -> cancel\n"
                         "closed " +
                         twin.ClassName + " -> cancel\n");
    // Select Files takes several files, Add File one.
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(Requests[0].Filter, twin.Filter);
    EXPECT_TRUE(Requests[0].MultiSelect);
    EXPECT_EQ(Requests[1].Filter, twin.Filter);
    EXPECT_FALSE(Requests[1].MultiSelect);
    EXPECT_FALSE(Studio.Session().Modified());
  }

  // The buttons stand from top to bottom in the order the Tab key takes them, after the list.
  mebrox::TWordListSelectDlg dialog(nullptr);
  std::vector<host::TWinControl*> order;
  dialog.GetTabOrderList(order);
  ASSERT_EQ(order.size(), 6u);
  EXPECT_EQ(order[0], dialog.ListBox1);
  const std::vector<host::TBitBtn*> buttons = {dialog.BitBtn1, dialog.BitBtn3, dialog.BitBtn2,
                                               dialog.CancelBtn, dialog.OKBtn};
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(order[i + 1], buttons[i]) << i;
    if (i > 0) {
      EXPECT_GE(buttons[i]->Top(), buttons[i - 1]->Top() + buttons[i - 1]->Height()) << i;
    }
  }
  EXPECT_EQ(dialog.BitBtn1->Caption(), "Select Files");
  EXPECT_EQ(dialog.BitBtn3->Caption(), "Add File");
  EXPECT_EQ(dialog.BitBtn2->Caption(), "Delete");
  EXPECT_EQ(dialog.CancelBtn->Hint(), "Cancel chanes");
  EXPECT_EQ(dialog.OKBtn->Hint(), "Accept changes");
  EXPECT_EQ(dialog.OpenDialog1->Options(),
            (host::TOpenOptions{host::ofHideReadOnly, host::ofPathMustExist, host::ofFileMustExist,
                                host::ofCreatePrompt}));
}

// Each file is named as the project finds it: by its path inside the project folder, a file from
// outside by the copy now beside the project.
TEST_F(ListEditorsTest, SelectFilesReplacesTheWholeListNamingEachInsideTheProject) {
  testing_support::WriteFile(Elsewhere.File("b.wls"), "");
  std::string trace = Studio.Run(
      "edit Form1.HyperTxt1 WordsLists\n"
      "file \"lists/a.wls\" \"" +
      Elsewhere.File("b.wls") +
      "\" \"c.wls\"\n"
      "click FileListSelectDlg.BitBtn1 5 5\n"
      "click FileListSelectDlg.OKBtn 5 5\n");
  EXPECT_NE(trace.find("closed TWordListSelectDlg -> ok"), std::string::npos) << trace;
  EXPECT_EQ(WordsLists(), (Names{"lists/a.wls", "b.wls", "c.wls"}));
  EXPECT_TRUE(std::filesystem::exists(Studio.File("b.wls")));
  EXPECT_NE(trace.find("the project now names a copy of it there: b.wls."), std::string::npos)
      << trace;
  EXPECT_EQ(LinesLists(), TwoTexts);
  EXPECT_TRUE(Studio.Session().Modified());
}

TEST_F(ListEditorsTest, AddFileAppendsOneBareNameAndTakesTheSameFileTwice) {
  Studio.Run(
      "edit Form1.HyperTxt1 LinesLists\n"
      "file \"x.txt\" \"y.txt\"\n"
      "click FileListSelectDlg.BitBtn1 5 5\n"
      // Add File takes the first of several files: multiple selection is off again.
      "file \"" +
      Elsewhere.File("p.txt") +
      "\" \"q.txt\"\n"
      "click FileListSelectDlg.BitBtn3 5 5\n"
      "file \"" +
      Elsewhere.File("p.txt") +
      "\"\n"
      "click FileListSelectDlg.BitBtn3 5 5\n"
      "click FileListSelectDlg.OKBtn 5 5\n");
  EXPECT_EQ(LinesLists(), (Names{"x.txt", "y.txt", "p.txt", "p.txt"}));
  EXPECT_EQ(WordsLists(), FiveWordLists);
}

TEST_F(ListEditorsTest, DeleteRemovesTheChosenEntryOnlyAndAsksForOneOtherwise) {
  std::string trace = Studio.Run(
      "edit Form1.HyperTxt1 WordsLists\n"
      "answer ok\n"
      "click FileListSelectDlg.BitBtn2 5 5\n"
      "select FileListSelectDlg.ListBox1 1\n"
      "click FileListSelectDlg.BitBtn2 5 5\n"
      // The selection went with the entry.
      "answer ok\n"
      "click FileListSelectDlg.BitBtn2 5 5\n"
      "select FileListSelectDlg.ListBox1 \"four.wls\"\n"
      "key FileListSelectDlg.ListBox1 Delete\n"
      "click FileListSelectDlg.OKBtn 5 5\n");
  EXPECT_EQ(trace,
            "modal TWordListSelectDlg \"Dialog\"\n"
            "message \"Select an item first.\" -> ok\n"
            "message \"Select an item first.\" -> ok\n"
            "closed TWordListSelectDlg -> ok\n");
  EXPECT_EQ(WordsLists(), (Names{"one.wls", "three.wls", "five.wls"}));
}

TEST_F(ListEditorsTest, CancelLeavesThePropertyAsItWas) {
  for (const std::string cancel :
       {"click FileListSelectDlg.CancelBtn 5 5", "key FileListSelectDlg Escape"}) {
    SCOPED_TRACE(cancel);
    std::string trace = Studio.Run(
        "edit Form1.HyperTxt1 WordsLists\n"
        "select FileListSelectDlg.ListBox1 0\n"
        "click FileListSelectDlg.BitBtn2 5 5\n"
        "file \"new.wls\"\n"
        "click FileListSelectDlg.BitBtn3 5 5\n" +
        cancel + "\n");
    EXPECT_NE(trace.find("closed TWordListSelectDlg -> cancel"), std::string::npos) << trace;
    EXPECT_EQ(WordsLists(), FiveWordLists);
    EXPECT_FALSE(Studio.Session().Modified());
  }
}

TEST_F(ListEditorsTest, TheDialogWorksFromTheKeyboardAlone) {
  // The list has the keyboard first, choosing nothing yet; Tab reaches Select Files, Space
  // presses it; back in the list, whose first entry has the focus mark, Down chooses the next,
  // Delete removes it, and Enter means OK.
  std::string trace = Studio.Run(
      "edit Form1.HyperTxt1 LinesLists\n"
      "answer ok\n"
      "key FileListSelectDlg Delete\n"
      "key FileListSelectDlg Tab\n"
      "file \"a.txt\" \"b.txt\" \"c.txt\"\n"
      "key FileListSelectDlg Space\n"
      "key FileListSelectDlg Shift+Tab\n"
      "key FileListSelectDlg Down\n"
      "key FileListSelectDlg Delete\n"
      "key FileListSelectDlg Enter\n");
  EXPECT_NE(trace.find("message \"Select an item first.\" -> ok\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("closed TLinesListSelectDlg -> ok"), std::string::npos) << trace;
  EXPECT_EQ(LinesLists(), (Names{"a.txt", "c.txt"}));
}

}  // namespace
