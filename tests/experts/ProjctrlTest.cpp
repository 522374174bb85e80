#include <gtest/gtest.h>

#include <memory>

#include "experts/Projctrl.h"
#include "host/FormFile.h"
#include "tests/design/StudioFixture.h"

namespace {

using testing_support::TStudioFixture;

// A hypertext control of a class of its own: counted and listed, but not shown in detail.
class TMyHyperTxt : public mebrox::THyperTxt {
  HOST_PUBLISHED_CLASS
 public:
  using THyperTxt::THyperTxt;
};

}  // namespace

const host::TClassInfo& TMyHyperTxt::StaticClassInfo() {
  static host::TClassInfo info("TMyHyperTxt", &mebrox::THyperTxt::StaticClassInfo());
  return info;
}

namespace {

std::string Entry(const std::string& word, const std::string& code, const std::string& data) {
  return word + std::string(128 - word.size(), ' ') + code + std::string(2 - code.size(), ' ') +
         data + std::string(90 - data.size(), ' ');
}

std::string FormText() {
  return "object Form1: TForm1\n"
         "  object HyperTxt1: THyperTxt\n"
         "    Lines.Strings = (\n"
         "      'A cat and a dog.'\n"
         "      'Second line')\n"
         "    Words.Strings = (\n"
         "      '" +
         Entry("cat", "1", "Form2") +
         "'\n"
         "      '" +
         Entry("dog", "0", "A loyal friend") +
         "')\n"
         "  end\n"
         "  object HyperTxt2: THyperTxt\n"
         "  end\n"
         "  object WavePlay1: TWavePlay\n"
         "    Options = []\n"
         "    WaveName = 'ding.wav'\n"
         "  end\n"
         "  object ProjCtrl1: TProjCtrl\n"
         "  end\n"
         "end\n";
}

// The open forms beside the project's: a main form with a hot image, an About box.
struct TOtherForms {
  host::TForm Main{nullptr};
  host::TForm About{nullptr};
  mebrox::THyperImage* Image;
  TMyHyperTxt* Mine;
  TOtherForms() {
    Main.SetClassName("TMainForm");
    Main.SetName("MainForm");
    Image = new mebrox::THyperImage(&Main);
    Image->SetName("HyperImage1");
    Image->SetParent(&Main);
    About.SetClassName("TAboutBox");
    About.SetName("AboutBox");
    Mine = new TMyHyperTxt(&About);
    Mine->SetName("Mine");
  }
};

TEST(ProjctrlTest, TheMenuCountsTheOpenFramesAndTheirHotComponents) {
  TStudioFixture studio({FormText()});
  TOtherForms others;
  EXPECT_EQ(studio.Run("verb Form1.ProjCtrl1 0\nverb Form1.ProjCtrl1 1\n"
                       "verb Form1.ProjCtrl1 2\nverb Form1.ProjCtrl1 3\n"),
            "verb \"Frame Count      = 2\"\n"
            "verb \"  HyperTxt Count   = 2\"\n"
            "verb \"  HyperImage Count = 1\"\n"
            "verb \"  WavePlay Count   = 1\"\n");
  // A frame of any TForm class counts, a control of a derived class too; the About box never.
  others.About.SetClassName("TFormIntro");
  EXPECT_EQ(studio.Run("verb Form1.ProjCtrl1 1\n"), "verb \"  HyperTxt Count   = 3\"\n");
  others.About.SetClassName("TMyForm");
  EXPECT_EQ(studio.Run("verb Form1.ProjCtrl1 0\n"), "verb \"Frame Count      = 2\"\n");
  EXPECT_THROW(studio.Run("verb Form1.ProjCtrl1 4\n"), host::EParserError);
}

TEST(ProjctrlTest, TheManagementDialogShowsTheFramesAndWhatTheirComponentsHold) {
  TStudioFixture studio({FormText()});
  TOtherForms others;
  others.Image->Action().SetActionType(mebrox::acExecute);
  others.Image->Action().SetFileToRun("run.sh");
  others.Image->Action().SetParam("/x");
  others.Image->Action().SetWorkDir("work");
  others.About.SetClassName("TFormIntro");

  std::string out = MEBROX_TEST_OUTPUT;
  std::vector<std::string> seen;
  studio.AfterEachLine([&](int) {
    auto* dlg = mebrox::ProjMgtDlg;
    if (!dlg) return;
    seen.push_back(dlg->nbCompType->ActivePage() + "|" + dlg->mHyperTxtLines->Lines().Text() + "|" +
                   dlg->eHyperTxtWordAct->Lines().Text() + "|" +
                   dlg->eHyperImageActionType->Text() + "|" + dlg->eHyperImageParam->Text() + "|" +
                   dlg->eHyperImageWorkDir->Text() + "|" + dlg->eWavePlayWaveName->Text());
  });
  EXPECT_EQ(studio.Run("dblclick Form1.ProjCtrl1\n"
                       "select ProjMgtDlg.oProjStruct \"HyperTxt1\"\n"
                       "select ProjMgtDlg.lbHyperTxtWordsWordsList \"dog\"\n"
                       "screenshot ProjMgtDlg " +
                       out +
                       "/projmgt-hypertxt.png\n"
                       "select ProjMgtDlg.oProjStruct \"HyperImage1\"\n"
                       "screenshot ProjMgtDlg " +
                       out +
                       "/projmgt-hyperimage.png\n"
                       "select ProjMgtDlg.oProjStruct \"WavePlay1\"\n"
                       "select ProjMgtDlg.oProjStruct \"Mine\"\n"
                       "select ProjMgtDlg.oProjStruct \"MainForm\"\n"),
            "show TProjMgtDlg\n");
  ASSERT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen[0], "Blank||||||");
  EXPECT_EQ(seen[1], "HyperTxt|A cat and a dog.\r\nSecond line\r\n|||||");
  EXPECT_EQ(seen[2], "HyperTxt|A cat and a dog.\r\nSecond line\r\n|A loyal friend\r\n||||");
  EXPECT_EQ(seen[4],
            "HyperImage|A cat and a dog.\r\nSecond line\r\n|A loyal friend\r\n|acExecute|/x|work|");
  EXPECT_EQ(seen[6], "WavePlay" + seen[4].substr(10) + "ding.wav");
  // A derived class and a frame node change nothing.
  EXPECT_EQ(seen[7], seen[6]);
  EXPECT_EQ(seen[8], seen[6]);

  // The tree: frames on top, their hot components one level down; expand and collapse all.
  host::TOutline& tree = *mebrox::ProjMgtDlg->oProjStruct;
  std::vector<std::string> rows;
  for (int i = 1; i <= tree.ItemCount(); ++i)
    rows.push_back(std::to_string(tree.Items(i).Level) + tree.Items(i).Text);
  EXPECT_EQ(rows, (std::vector<std::string>{"1Form1", "2HyperTxt1", "2HyperTxt2", "2WavePlay1",
                                            "1MainForm", "2HyperImage1", "1AboutBox", "2Mine"}));
  studio.Run("click ProjMgtDlg.bbExpand 5 5\n");
  EXPECT_TRUE(tree.Items(1).Expanded && tree.Items(5).Expanded && tree.Items(7).Expanded);
  studio.Run("click ProjMgtDlg.bbCollapse 5 5\n");
  EXPECT_FALSE(tree.Items(1).Expanded || tree.Items(5).Expanded);

  // A bookmark action shows its type and the empty page; a component deleted since the tree was
  // built changes nothing when its node is clicked.
  others.Image->Action().SetActionType(mebrox::acBookMark);
  studio.Run("select ProjMgtDlg.oProjStruct \"HyperImage1\"\n");
  EXPECT_EQ(mebrox::ProjMgtDlg->eHyperImageActionType->Text(), "acBookMark");
  EXPECT_EQ(mebrox::ProjMgtDlg->nbHyperImageAction->ActivePage(), "acExit");
  delete others.Mine;
  others.Mine = nullptr;
  studio.Run("select ProjMgtDlg.oProjStruct \"Mine\"\n");
  EXPECT_EQ(mebrox::ProjMgtDlg->nbCompType->ActivePage(), "HyperImage");

  // Closing hides the dialog; each double-click opens another.
  EXPECT_EQ(studio.Run("click ProjMgtDlg.BitBtn4 5 5\ndblclick Form1.ProjCtrl1\n"),
            "close TProjMgtDlg\nhide TProjMgtDlg\nshow TProjMgtDlg\n");
  EXPECT_EQ(mebrox::ProjMgtDlg->Name(), "ProjMgtDlg_1");
  studio.AfterEachLine(nullptr);
}

}  // namespace
