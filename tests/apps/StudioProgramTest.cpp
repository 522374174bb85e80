// mebrox-studio itself, driven from scripts as a designer would drive it, and mebrox-run on what
// it saved.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "ide/Recovery.h"
#include "tests/ProcessSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::IsPng;
using testing_support::ReadFile;
using testing_support::RunProcess;
using testing_support::TProcessResult;
using testing_support::WriteFile;

class StudioProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy(MEBROX_TOUR_DIR, Tour(), fs::copy_options::recursive);
    fs::remove(Tour() + "/Tour.RUN");
  }
  std::string Tour() const { return FWork.Path() + "/tour"; }
  std::string TourFile(const std::string& name) const { return Tour() + "/" + name; }
  TProcessResult Studio(const std::string& script) {
    WriteFile(FWork.File("design.txt"), script);
    return RunProcess(MEBROX_STUDIO_PROGRAM,
                      {"--headless", "--script", "design.txt", TourFile("Tour.dpr")}, FWork.Path());
  }

  testing_support::TempDir FWork;
};

TEST_F(StudioProgramTest, DesignedComponentsAreSavedAndRunByTheApplication) {
  std::string unit2 = ReadFile(TourFile("Unit2.dfm"));
  TProcessResult r = Studio(
      "# a hot text and a hot image on the welcome frame\n"
      "drop THyperTxt Form1 24 390\n"
      "drop THyperImage Form1 400 390\n"
      "set Form1.HyperTxt2 Width 300\n"
      "set Form1.HyperTxt2 Font.Color clNavy\n"
      "set Form1.HyperImage1 Action.ActionType acFrame\n"
      "set Form1.HyperImage1 Action.Frame Form2\n"
      "edit Form1.HyperTxt2 About\n"
      "screenshot AboutBoxDlg about.png\n"
      "key AboutBoxDlg Enter\n"
      "save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "show TForm1\nshow TForm2\nshow TForm3\nshow TForm4\n"
            "dropped Form1.HyperTxt2 THyperTxt\n"
            "dropped Form1.HyperImage1 THyperImage\n"
            "modal TAboutBoxDlg \"About\"\n"
            "closed TAboutBoxDlg -> ok\n"
            "saved Unit1.pas\nsaved Unit1.dfm\n");
  EXPECT_TRUE(IsPng(FWork.File("about.png")));
  std::string unit1 = ReadFile(TourFile("Unit1.dfm"));
  EXPECT_NE(
      unit1.find("  object HyperTxt2: THyperTxt\n    Left = 24\n    Top = 390\n    Width = 300"),
      std::string::npos)
      << unit1;
  EXPECT_NE(unit1.find("    Action.Frame = 'Form2'"), std::string::npos) << unit1;
  EXPECT_EQ(ReadFile(TourFile("Unit2.dfm")), unit2);

  WriteFile(FWork.File("run.txt"), "click Form1.HyperImage1 20 20\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--headless", "--script", "run.txt", TourFile("Tour.dpr")},
                 FWork.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "show TForm1\nhide TForm1\nshow TForm2\n");
}

// A designer defines hot words and a new frame by pointing and choosing; the application then
// goes where they lead.
TEST_F(StudioProgramTest, HotWordsAndANewFrameDefinedInTheEditorsLeadWhereTheySay) {
  std::string shots = FWork.File("shots");
  WriteFile(FWork.File("design.txt"),
            "edit Form1.HyperTxt1 Words\n"
            "select WordSelectDlg.SrcTxt \"Welcome\"\n"
            "click WordSelectDlg.IncludeBtn 5 5\n"
            "select WordSelectDlg.SrcTxt \"Point\"\n"
            "click WordSelectDlg.IncludeBtn 5 5\n"
            "click WordSelectDlg.bbExtender 5 5\n"
            "select WordSelectDlg.DstList \"Welcome\"\n"
            "select WordSelectDlg.cbAction \"Goto Frame\"\n"
            "select WordSelectDlg.cbFrameList \"Form3\"\n"
            "select WordSelectDlg.DstList \"Point\"\n"
            "select WordSelectDlg.cbAction \"Play Wave\"\n"
            "select WordSelectDlg.cbWaveList \"WavePlay1\"\n"
            "click WordSelectDlg.bbExtender 5 5\n"
            "file \"new.wls\"\n"
            "menu WordSelectDlg.DstList \"Save\"\n"
            "click WordSelectDlg.OKBtn 5 5\n"
            "edit Form4.HyperImage1 Action\n"
            "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
            "click ActDefDlg.NextButton 5 5\n"
            "click ActDefDlg.bbNewFrame 5 5\n"
            "check ActDefDlg.cbPicture on\n"
            "check ActDefDlg.cbAudio on\n"
            "click ActDefDlg.NextButton 5 5\n"
            "save\n");
  TProcessResult r = RunProcess(
      MEBROX_STUDIO_PROGRAM,
      {"--headless", "--screenshots", shots, "--script", "design.txt", TourFile("Tour.dpr")},
      FWork.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  for (const char* line :
       {"modal TWordSelectDlg \"Word List Dialog\"\n", "file save \"Save the Words\" -> ",
        "closed TWordSelectDlg -> ok\n", "modal TActDefDlg \"Action Definition\"\n",
        "closed TActDefDlg -> ok\nshow TForm5\n", "saved Unit5.pas\n", "saved Tour.dpr\n"})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << "\n" << r.Out;
  // The word list on disk holds the new words with their actions.
  std::string list = ReadFile(FWork.File("new.wls"));
  EXPECT_NE(list.find("Welcome\r\n1\r\nForm3\r\n~\r\n"), std::string::npos) << list;
  EXPECT_NE(list.find("Point\r\n2\r\nWavePlay1\r\n~\r\n"), std::string::npos) << list;
  EXPECT_TRUE(IsPng(shots + "/005-TWordSelectDlg.png") || IsPng(shots + "/006-TWordSelectDlg.png"))
      << r.Out;

  // The new hot words lead to the third frame and play the chime; the gallery's hot image
  // leads to the new frame.
  WriteFile(FWork.File("run.txt"),
            "click Form1.HyperTxt1 10 32\n"
            "click Form1.HyperTxt1 10 11\n"
            "click Form3.HyperTxt1 10 95\n"
            "click Form4.HyperImage1 20 20\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--headless", "--script", "run.txt", TourFile("Tour.dpr")},
                 FWork.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("mci \"Play TForm1WavePlay1 from 0 \" -> 0\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("hide TForm1\nshow TForm3\n"), std::string::npos) << r.Out;
  EXPECT_TRUE(r.Out.ends_with("close TForm4\nhide TForm4\nshow TForm5\n")) << r.Out;
}

// The three project tools on the tour: a new default look for hot texts, frames filed in
// groups that survive closing the project, and the project control's counts and outline.
TEST_F(StudioProgramTest, TheExpertsAndTheProjectControlWorkOnTheTour) {
  testing_support::ScopedWindowsDir windir;
  // Kept in the build folder to be looked at.
  std::string shots = std::string(MEBROX_TEST_OUTPUT) + "/tour-";
  TProcessResult r = Studio(
      "expert \"Default Settings Expert\"\n"
      "select INISettingsDlg.TabSet \"HyperTxt\"\n"
      "select INISettingsDlg.cmbTxtAutoAdjust \"adWidth\"\n"
      "select INISettingsDlg.cmbTxtBrushColor \"clYellow\"\n"
      "font \"Courier New\" 16 bold clMaroon\n"
      "click INISettingsDlg.bbTextFont 5 5\n"
      "screenshot INISettingsDlg " +
      shots +
      "settings.png\n"
      "click INISettingsDlg.OKBtn 5 5\n"
      "drop THyperTxt Form2 16 300\n"
      "expert \"Project Thumbnail Expert\"\n"
      "type ProjViewDlg.Edit1 \"Intro\"\nclick ProjViewDlg.bbAdd 5 5\n"
      "type ProjViewDlg.Edit1 \"Gallery\"\nclick ProjViewDlg.bbAdd 5 5\n"
      "select ProjViewDlg.ListBox2 \"NotFiledFrames\"\n"
      "select ProjViewDlg.ListBox1 \"TForm1\"\nmenu ProjViewDlg.ListBox1 \"Move to Intro\"\n"
      "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Intro\"\n"
      "select ProjViewDlg.ListBox1 \"TForm4\"\nmenu ProjViewDlg.ListBox1 \"Move to Gallery\"\n"
      "select ProjViewDlg.ListBox2 \"Intro\"\n"
      "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Gallery\"\n"
      "click ProjViewDlg.BitBtn1 5 5\n"
      "drop TProjCtrl Form1 500 10\n"
      "verb Form1.ProjCtrl1 0\nverb Form1.ProjCtrl1 1\n"
      "verb Form1.ProjCtrl1 2\nverb Form1.ProjCtrl1 3\n"
      "dblclick Form1.ProjCtrl1\n"
      "click ProjMgtDlg.bbExpand 5 5\n"
      "select ProjMgtDlg.oProjStruct \"HyperImage1\"\n"
      "screenshot ProjMgtDlg " +
      shots +
      "projmgt.png\n"
      "save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  for (const char* line :
       {"modal TINISettingsDlg \"Default Settings Dialog\"\n", "closed TINISettingsDlg -> ok\n",
        "dropped Form2.HyperTxt2 THyperTxt\n", "show TProjViewDlg\n",
        "verb \"Frame Count      = 4\"\n", "verb \"  HyperTxt Count   = 5\"\n",
        "verb \"  HyperImage Count = 1\"\n", "verb \"  WavePlay Count   = 2\"\n",
        "show TProjMgtDlg\n", "saved Unit1.dfm\n", "saved Unit2.dfm\n"})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << "\n" << r.Out;
  EXPECT_TRUE(IsPng(shots + "settings.png"));
  EXPECT_TRUE(IsPng(shots + "projmgt.png"));

  // The new hot text took the new look.
  std::string unit2 = ReadFile(TourFile("Unit2.dfm"));
  std::size_t dropped = unit2.find("object HyperTxt2: THyperTxt");
  ASSERT_NE(dropped, std::string::npos) << unit2;
  for (const char* line : {"AutoAdjust = adWidth", "Brush.Color = clYellow",
                           "Font.Color = clMaroon", "Font.Name = 'Courier New'"})
    EXPECT_NE(unit2.find(line, dropped), std::string::npos) << line << " in\n" << unit2;

  // The groups are kept beside the project as a plain INI file.
  std::string sections = ReadFile(TourFile("Tour.INI"));
  for (const char* part : {"[Intro]\r\nNoOfFrames=1\r\nFrame1=TForm1\r\n",
                           "[Gallery]\r\nNoOfFrames=2\r\nFrame1=TForm4\r\nFrame2=TForm2\r\n",
                           "[NotFiledFrames]\r\nNoOfFrames=1\r\nFrame1=TForm3\r\n"})
    EXPECT_NE(sections.find(part), std::string::npos) << part << "in\n" << sections;

  // Reopened, the project finds its groups again, and each frame's thumbnail shows it.
  r = Studio(
      "expert \"Project Thumbnail Expert\"\n"
      "select ProjViewDlg.ListBox2 \"Gallery\"\n"
      "select ProjViewDlg.ListBox1 \"TForm4\"\n"
      "screenshot ProjViewDlg " +
      shots +
      "gallery.png\n"
      "select ProjViewDlg.ListBox2 \"Intro\"\n"
      "select ProjViewDlg.ListBox1 \"TForm1\"\n"
      "screenshot ProjViewDlg " +
      shots + "intro.png\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadFile(TourFile("Tour.INI")), sections);
  ASSERT_TRUE(IsPng(shots + "intro.png") && IsPng(shots + "gallery.png"));
  EXPECT_NE(ReadFile(shots + "intro.png"), ReadFile(shots + "gallery.png"));
}

// From nothing to a running application by pointing and choosing: a new project, a second
// frame, hot words leading there, a hot image going back, a wave player with its pause button.
TEST_F(StudioProgramTest, ATwoFrameApplicationBuiltFromAnEmptyProjectRuns) {
  std::string app = FWork.File("app");
  fs::create_directory(app);
  fs::copy_file(TourFile("chime.wav"), app + "/chime.wav");
  WriteFile(FWork.File("design.txt"),
            "newframe\n"
            "set Form1 Caption \"My first application\"\n"
            "drop THyperTxt Form1 16 16\n"
            "set Form1.HyperTxt1 Width 400\n"
            "edit Form1.HyperTxt1 Lines\n"
            "select StringsEditDlg.Memo \"HyperTxt\"\n"
            "type StringsEditDlg.Memo \"Welcome.\"\n"
            "key StringsEditDlg.Memo Enter\n"
            "type StringsEditDlg.Memo \"Go to the next page.\"\n"
            "click StringsEditDlg.OKBtn 5 5\n"
            "edit Form1.HyperTxt1 Words\n"
            "select WordSelectDlg.SrcTxt \"next page\"\n"
            "click WordSelectDlg.IncludeBtn 5 5\n"
            "click WordSelectDlg.bbExtender 5 5\n"
            "select WordSelectDlg.DstList \"next page\"\n"
            "select WordSelectDlg.cbAction \"Goto Frame\"\n"
            "select WordSelectDlg.cbFrameList \"Form2\"\n"
            "click WordSelectDlg.OKBtn 5 5\n"
            "drop TWavePlay Form1 500 16\n"
            "set Form1.WavePlay1 WaveName chime.wav\n"
            "drop TWavePause Form1 500 80\n"
            "drop THyperImage Form2 16 16\n"
            "set Form2.HyperImage1 Action.ActionType acClose\n"
            "save\n");
  TProcessResult r = RunProcess(
      MEBROX_STUDIO_PROGRAM, {"--headless", "--new", "--script", "design.txt", app + "/First.dpr"},
      FWork.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  for (const char* line : {"show TForm1\n", "show TForm2\n", "modal TStringsEditDlg",
                           "closed TStringsEditDlg -> ok\n", "closed TWordSelectDlg -> ok\n",
                           "saved Unit1.dfm\n", "saved Unit2.pas\n", "saved First.dpr\n"})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << "\n" << r.Out;
  std::string project = ReadFile(app + "/First.dpr");
  EXPECT_NE(project.find("Application.CreateForm(TForm2, Form2);"), std::string::npos) << project;
  std::string unit1 = ReadFile(app + "/Unit1.dfm");
  for (const char* part : {"'Welcome.'\n      'Go to the next page.')", "WaveName = 'chime.wav'",
                           "object WavePause1: TWavePause"})
    EXPECT_NE(unit1.find(part), std::string::npos) << part << " in\n" << unit1;

  WriteFile(FWork.File("run.txt"),
            "click Form1.HyperTxt1 60 20\n"
            "click Form2.HyperImage1 20 20\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--headless", "--script", "run.txt", app + "/First.dpr"},
                 FWork.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("hide TForm1\nshow TForm2\n"), std::string::npos) << r.Out;
  EXPECT_TRUE(r.Out.ends_with("show TForm1\nclose TForm2\nhide TForm2\n")) << r.Out;

  // A project is never made over files that exist.
  r = RunProcess(MEBROX_STUDIO_PROGRAM, {"--headless", "--new", app + "/First.dpr"}, FWork.Path(),
                 "save\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("exists already"), std::string::npos) << r.Err;
}

// A folder name over 255 bytes is one more finding of the check; the map is still drawn.
TEST_F(StudioProgramTest, APathTooLongToLookUpIsAFindingOfTheCheck) {
  std::string dir(300, 'y');
  ASSERT_EQ(Studio("set Form1.WavePlay1 WorkDir " + dir + "\nsave\n").ExitCode, 0);
  TProcessResult r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", "tour/Tour.dpr"}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 1) << r.Err;
  EXPECT_EQ(r.Out, "tour/Unit1.dfm(17): WavePlay1.WorkDir: the working directory tour/" + dir +
                       " cannot be looked up (File name too long): playing fails\n"
                       "tour/Tour.dpr: 4 frames checked, 1 error, 0 warnings\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--map", "tour/Tour.dpr"}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("digraph \"Tour\" {")) << r.Out;
}

TEST_F(StudioProgramTest, MistakesNameTheLineAndWriteNothing) {
  std::string unit1 = ReadFile(TourFile("Unit1.dfm"));
  TProcessResult r = Studio(
      "drop THyperTxt Form1 24 390\n"
      "set Form1.HyperTxt9 Width 300\n"
      "save\n");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("design.txt(2): Form Form1 has no component named HyperTxt9"),
            std::string::npos)
      << r.Err;
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")), unit1);

  // A value the inspector would refuse, a class on no palette page, a dialog line without a
  // dialog.
  for (const char* line : {"set Form1.HyperTxt1 Width wide", "drop TFrobnicator Form1 1 1",
                           "click AboutBoxDlg.OKButton 1 1", "verb Form1.HyperTxt1 3",
                           "dblclick Form4.HyperImage1\nclick ActDefDlg.PrevButton 5 5"}) {
    SCOPED_TRACE(line);
    r = Studio(std::string("wait 1\n") + line + "\nsave\n");
    EXPECT_EQ(r.ExitCode, 2);
    // The faulty line is the last of the case's lines, after the first "wait".
    int faulty = 2 + static_cast<int>(std::string(line).find('\n') != std::string::npos);
    EXPECT_NE(r.Err.find("design.txt(" + std::to_string(faulty) + "): "), std::string::npos)
        << r.Err;
    EXPECT_EQ(r.Out.find("saved"), std::string::npos) << r.Out;
  }

  // The studio's verbs are not mebrox-run's.
  WriteFile(FWork.File("run.txt"), "drop THyperTxt Form1 1 1\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--headless", "--script", "run.txt", TourFile("Tour.dpr")},
                 FWork.Path());
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("run.txt(1): Unknown command 'drop'"), std::string::npos) << r.Err;

  // A project whose form file does not fit its unit.
  WriteFile(TourFile("Unit3.dfm"), "object Form9: TForm3\nend\n");
  r = Studio("save\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Unit3.dfm(1): The form file holds Form9"), std::string::npos) << r.Err;
  EXPECT_EQ(r.Out, "");
}

// A frame's unit declares the frame's components as they are when it is saved, in the form's
// order; nothing else in the unit changes, and a unit declaring them otherwise is left alone.
TEST_F(StudioProgramTest, AFramesUnitDeclaresItsComponentsAsTheyAreSaved) {
  const std::string unit1 = ReadFile(TourFile("Unit1.pas"));
  TProcessResult r = Studio(
      "drop THyperTxt Form1 24 390\ndrop THyperImage Form1 400 390\nset Form1.Title1 Name Heading\n"
      "select Form1.Bookmark1\ndelete Form1\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("saved Unit1.pas\nsaved Unit1.dfm\n"), std::string::npos) << r.Out;
  const std::string fields =
      "    WavePlay1: TWavePlay;\r\n    Heading: TfxLabel;\r\n    HyperTxt1: THyperTxt;\r\n"
      "    HyperTxt2: THyperTxt;\r\n    HyperImage1: THyperImage;\r\n";
  // The order of the form file, where the wave player stands first.
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("  object WavePlay1"),
            ReadFile(TourFile("Unit1.dfm")).find("  object "));
  size_t from = unit1.find("    Title1"), to = unit1.find("  end;");
  ASSERT_LT(from, to);
  EXPECT_EQ(ReadFile(TourFile("Unit1.pas")), unit1.substr(0, from) + fields + unit1.substr(to));

  // Two names in one line are the designer's own way: the unit stays, and they are told.
  std::string unit2 = ReadFile(TourFile("Unit2.pas"));
  size_t title = unit2.find("    Title2: TfxLabel;");
  ASSERT_NE(title, std::string::npos);
  unit2.replace(title, 21, "    Title2, Title3: TfxLabel;");
  WriteFile(TourFile("Unit2.pas"), unit2);
  r = Studio("set Form2 Caption \"Changed\"\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("Unit2.pas: its form's components are declared in a way the studio does "
                       "not read"),
            std::string::npos)
      << r.Out;
  EXPECT_EQ(ReadFile(TourFile("Unit2.pas")), unit2);
}

// A frame renamed in the inspector is renamed wherever the project names it, so that the saved
// project opens, checks clean and runs; names that would break the project are refused.
TEST_F(StudioProgramTest, ARenamedFrameIsRenamedWhereverTheProjectNamesIt) {
  TProcessResult r = Studio("set Form2 Name Lesson\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("saved Unit1.dfm\nsaved Unit2.pas\nsaved Unit2.dfm\nsaved Tour.dpr\n"),
            std::string::npos)
      << r.Out;
  std::string dpr = ReadFile(TourFile("Tour.dpr"));
  EXPECT_NE(dpr.find("Unit2 in 'Unit2.pas' {Lesson},"), std::string::npos) << dpr;
  EXPECT_NE(dpr.find("Application.CreateForm(TLesson, Lesson);"), std::string::npos) << dpr;
  std::string unit = ReadFile(TourFile("Unit2.pas"));
  EXPECT_NE(unit.find("TLesson = class(TForm)"), std::string::npos) << unit;
  EXPECT_NE(unit.find("Lesson: TLesson;"), std::string::npos) << unit;
  EXPECT_EQ(ReadFile(TourFile("Unit2.dfm")).find("object Lesson: TLesson\n"), 0u);
  // The hot word that went to the frame goes to it still.
  EXPECT_NE(ReadFile(TourFile("Unit1.dfm")).find("1 Lesson   "), std::string::npos);
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", TourFile("Tour.dpr")}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  WriteFile(FWork.File("run.txt"), "click Form1.HyperTxt1 \"second frame\"\n");
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--headless", "--script", "run.txt", TourFile("Tour.dpr")},
                 FWork.Path());
  EXPECT_NE(r.Out.find("show TLesson\n"), std::string::npos) << r.Out << r.Err;

  // Taken back, every file is as it was before.
  std::string tour = ReadFile(TourFile("Tour.dpr"));
  r = Studio("set Lesson Name Form7\nundo Form7\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadFile(TourFile("Tour.dpr")), tour);

  const std::pair<const char*, const char*> refused[] = {
      {"set Form1 Name Lesson", "The project has a frame named Lesson already"},
      {"set Form1 Name Unit3", "The project has a unit named Unit3 already"},
      {"set Form1 Name Tour", "The project itself is named Tour"},
      {"set Form1 Name \"\"", "must have a name"},
      {"set Form1 Name 9lives", "'9lives' is not a valid component name"},
      {"set Form1.HyperTxt1 Name \"\"", "must have a name"},
      {"set Form1.HyperTxt1 Name Title1", "A component named Title1 already exists"},
  };
  const std::string tooLong = "set Lesson Name Form" + std::string(90, 'x');
  for (const auto& [line, message] : refused) {
    SCOPED_TRACE(line);
    r = Studio(std::string(line) + "\nsave\n");
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
    EXPECT_EQ(ReadFile(TourFile("Tour.dpr")), tour);
  }
  // The word list Second.wls sends a hot word to Form3: renaming it is left to the designer.
  r = Studio("set Form3 Name Ribbon\nsave\n");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("The frame Form3 cannot be renamed Ribbon: the word list Second.wls of "
                       "HyperTxt1 sends \"third frame\" there"),
            std::string::npos)
      << r.Err;
  // A hot word goes to the frame, and its entry cannot hold so long a name.
  r = Studio(tooLong + "\nsave\n");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("The frame Lesson cannot be renamed Form"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadFile(TourFile("Tour.dpr")), tour);
}

// Save Project As takes the project into another folder whole, with each file's permissions,
// never writes over a file there, and never takes the kit's own passing files along.
// Frames removed and added are steps a script takes back and again like any other; the project
// file written holds what the last of them left, and mebrox-run's check names the hot words still
// going to a frame that left.
TEST_F(StudioProgramTest, FramesRemovedAndAddedAreUndoneAndSavedAsLeft) {
  const std::string unit3 = ReadFile(TourFile("Unit3.dfm"));
  TProcessResult r = Studio(
      "removeframe Form3\n"
      "set Form1 Name Welcome\n"
      "undo\n");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("design.txt(3): The project has no step to undo, or a frame renamed since "
                       "has to be renamed back first"),
            std::string::npos)
      << r.Err;

  r = Studio(
      "removeframe Form3\n"
      "set Form1 Name Welcome\n"
      "undo Welcome\n"
      "undo\n"
      "redo\n"
      "newframe\n"
      "undo\n"
      "redo\n"
      "undo\n"
      "save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("removed Form3\nstill going to Form3: Form2.HyperTxt1\nshow TForm3\n"
                       "show TForm5\nshow TForm5\nsaved Tour.dpr\n"),
            std::string::npos)
      << r.Out;
  const std::string dpr = ReadFile(TourFile("Tour.dpr"));
  for (const char* gone : {"Unit3", "TForm3", "Unit5"})
    EXPECT_EQ(dpr.find(gone), std::string::npos) << gone << "\n" << dpr;
  EXPECT_EQ(ReadFile(TourFile("Unit3.dfm")), unit3);
  EXPECT_FALSE(fs::exists(TourFile("Unit5.dfm")));
  // Reopened, it is what was saved: a second save writes nothing.
  r = Studio("save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.find("saved"), std::string::npos) << r.Out;

  r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", TourFile("Tour.dpr")}, FWork.Path());
  EXPECT_NE(r.Out.find("Form2.HyperTxt1.Words: there is no frame Form3"), std::string::npos)
      << r.Out;

  // Its files stayed: the frame comes back, and the hot words find it again.
  r = Studio("addframe tour/Unit3.pas\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("show TForm3\nadded Form3\nsaved Tour.dpr\n"), std::string::npos) << r.Out;
  EXPECT_EQ(ReadFile(TourFile("Unit3.dfm")), unit3);
  // Reopened, the frame brought back is what was saved: a second save writes nothing.
  r = Studio("save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.find("saved"), std::string::npos) << r.Out;
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", TourFile("Tour.dpr")}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out.find("there is no frame"), std::string::npos) << r.Out;
}

TEST_F(StudioProgramTest, SaveAsTakesTheWholeProjectAndNeverMixesItWithAnother) {
  fs::create_directory(FWork.File("copy"));
  WriteFile(FWork.File("copy/Intro.txt"), "another project's page");
  WriteFile(FWork.File("copy/First.wls"), "another project's words");
  WriteFile(TourFile(".Unit1.dfm.mebrox-bak-2147483647-Ab12Cd"), "an old save's leftover");
  fs::permissions(TourFile("hello.sh"), fs::perms(0755));
  TProcessResult r = Studio("set Form1 Caption \"Copied\"\nsaveas copy/Lesson.dpr\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Out.find("First.wls, Intro.txt. Choose an empty folder"), std::string::npos) << r.Out;
  EXPECT_NE(r.Err.find("design.txt(2): the project could not be saved as copy/Lesson.dpr"),
            std::string::npos)
      << r.Err;
  EXPECT_EQ(ReadFile(FWork.File("copy/Intro.txt")), "another project's page");
  EXPECT_EQ(std::distance(fs::directory_iterator(FWork.File("copy")), fs::directory_iterator()), 2);

  fs::remove(FWork.File("copy/Intro.txt"));
  fs::remove(FWork.File("copy/First.wls"));
  r = Studio(
      "set Form1 Caption \"Copied\"\nsaveas copy/Lesson.dpr\nset Form1 Caption \"Later\"\n"
      "save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(fs::status(FWork.File("copy/hello.sh")).permissions() & fs::perms::mask,
            fs::perms(0755));
  for (const auto& entry : fs::directory_iterator(FWork.File("copy")))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
  EXPECT_NE(ReadFile(FWork.File("copy/Unit1.dfm")).find("Caption = 'Later'"), std::string::npos);
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("Caption = 'Later'"), std::string::npos);
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", FWork.File("copy/Lesson.dpr")}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
}

// The Action wizard's new frame and the action that goes to it are one step: one undo takes
// both back and leaves nothing to save; one redo gives both again.
TEST_F(StudioProgramTest, TheWizardsNewFrameAndItsActionAreUndoneInOne) {
  const std::string dpr = ReadFile(TourFile("Tour.dpr")), unit4 = ReadFile(TourFile("Unit4.dfm"));
  const std::string wizard =
      "edit Form4.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "click ActDefDlg.bbNewFrame 5 5\n"
      "click ActDefDlg.NextButton 5 5\n";
  TProcessResult r = Studio(wizard + "undo\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("show TForm5\n"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("saved"), std::string::npos) << r.Out;
  EXPECT_EQ(ReadFile(TourFile("Tour.dpr")), dpr);
  EXPECT_EQ(ReadFile(TourFile("Unit4.dfm")), unit4);

  r = Studio(wizard + "undo\nredo\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(ReadFile(TourFile("Tour.dpr")).find("Unit5 in 'Unit5.pas' {Form5}"), std::string::npos);
  EXPECT_NE(ReadFile(TourFile("Unit4.dfm")).find("Action.Frame = 'Form5'"), std::string::npos);
  r = Studio("save\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.find("saved"), std::string::npos) << r.Out;
}

// A copy of the project takes every file its frames name inside its folder, subfolders too, and
// runs with the original gone; what they name outside stays named there, and the check says so.
TEST_F(StudioProgramTest, SaveAsCarriesFilesInSubfoldersAndTheCheckWarnsOfPathsOutside) {
  fs::create_directory(TourFile("media"));
  fs::rename(TourFile("chime.wav"), TourFile("media/chime.wav"));
  fs::create_directory(FWork.File("outside"));
  fs::rename(TourFile("melody.wav"), FWork.File("outside/melody.wav"));
  fs::create_directory(FWork.File("copy"));
  TProcessResult r = Studio(
      "set Form1.WavePlay1 WaveName media/chime.wav\n"
      "set Form4.WavePlay1 WorkDir " +
      FWork.File("outside/") +
      "\n"
      "saveas copy/Lesson.dpr\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadFile(FWork.File("copy/media/chime.wav")), ReadFile(TourFile("media/chime.wav")));
  EXPECT_FALSE(fs::exists(FWork.File("copy/melody.wav")));

  fs::remove_all(Tour());
  r = RunProcess(MEBROX_RUN_PROGRAM, {"--check", "copy/Lesson.dpr"}, FWork.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out.find("chime.wav"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("WavePlay1.WaveName: warning: " + FWork.File("outside/melody.wav") +
                       " lies outside the project folder"),
            std::string::npos)
      << r.Out;
}

// A save the disk refuses is an error the run ends on, not a success.
TEST_F(StudioProgramTest, ASaveThatFailsEndsTheRunWithAnError) {
  std::string unit1 = ReadFile(TourFile("Unit1.dfm"));
  fs::permissions(TourFile("Unit1.dfm"), fs::perms(0444));
  TProcessResult r = Studio("set Form1 Caption \"Changed\"\nsave\nset Form1 Caption \"Again\"\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Out.find("read-only"), std::string::npos) << r.Out;
  EXPECT_NE(r.Err.find("design.txt(2): the project could not be saved"), std::string::npos)
      << r.Err;
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")), unit1);
}

// However a save is cut short (here at each of its steps in turn, as by a power cut), the
// project opens afterwards as it was before that save or as the save meant to leave it, and no
// file of the save's own remains.
TEST_F(StudioProgramTest, ASaveKilledAtAnyStepOpensWholeOldOrWholeNew) {
  const std::string original = Tour() + "-original";
  fs::copy(Tour(), original, fs::copy_options::recursive);
  bool completed = false;
  for (int step = 0; !completed; ++step) {
    SCOPED_TRACE("killed at step " + std::to_string(step));
    ASSERT_LT(step, 40);
    fs::remove_all(Tour());
    fs::copy(original, Tour(), fs::copy_options::recursive);
    ::setenv("MEBROX_KILL_AT_WRITE_STEP", std::to_string(step).c_str(), 1);
    TProcessResult r =
        Studio("set Form1 Caption \"One\"\nset Form2 Caption \"Two\"\nnewframe\nsave\n");
    ::unsetenv("MEBROX_KILL_AT_WRITE_STEP");
    completed = r.ExitCode == 0;
    ASSERT_TRUE(completed || r.ExitCode == -1) << r.Err;

    r = Studio("");
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    bool isNew = fs::exists(TourFile("Unit5.pas"));
    EXPECT_EQ(ReadFile(TourFile("Tour.dpr")).find("Unit5") != std::string::npos, isNew);
    EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("Caption = 'One'") != std::string::npos, isNew);
    EXPECT_EQ(ReadFile(TourFile("Unit2.dfm")).find("Caption = 'Two'") != std::string::npos, isNew);
    EXPECT_EQ(fs::exists(TourFile("Unit5.dfm")), isNew);
    if (isNew && !completed) EXPECT_NE(r.Out.find("was cut short"), std::string::npos) << r.Out;
    for (const auto& entry : fs::directory_iterator(Tour()))
      EXPECT_EQ(entry.path().filename().string().find(".mebrox-"), std::string::npos)
          << entry.path();
  }
}

}  // namespace

namespace {

// Every file of a project folder, by name, for comparing two folders whole.
std::map<std::string, std::string> FolderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path());
  return files;
}

// The names of the files two folders do not have alike; empty when they are the same.
std::string Differing(const std::map<std::string, std::string>& a,
                      const std::map<std::string, std::string>& b) {
  std::string names;
  for (const auto& [name, bytes] : a)
    if (!b.contains(name) || b.at(name) != bytes) names += name + " ";
  for (const auto& [name, bytes] : b)
    if (!a.contains(name)) names += name + " ";
  return names;
}

}  // namespace

// What the designer did and never saved survives the studio being killed: reopened, it comes
// back exactly as a save would have written it, or goes when the designer says so.
TEST_F(StudioProgramTest, ChangesCutOffByAKillAreRecoveredAsASaveWouldHaveWrittenThem) {
  const std::string changes =
      "drop THyperTxt Form1 24 390\nset Form2 Caption \"Recovered\"\nnewframe\n"
      "set Form4 Name Gallery\nselect Form1.Title1\nnudge Form1 3 4\n";
  const std::string saved = FWork.File("saved");
  fs::copy(Tour(), saved, fs::copy_options::recursive);
  WriteFile(FWork.File("save.txt"), changes + "save\n");
  ASSERT_EQ(RunProcess(MEBROX_STUDIO_PROGRAM,
                       {"--headless", "--script", "save.txt", saved + "/Tour.dpr"}, FWork.Path())
                .ExitCode,
            0);
  const auto original = FolderFiles(Tour());
  const std::string recovery = ide::RecoveryFileFor(TourFile("Tour.dpr"));

  TProcessResult r = Studio(changes + "kill\nsave\n");
  EXPECT_EQ(r.ExitCode, 137) << r.Err;
  EXPECT_EQ(Differing(FolderFiles(Tour()), original), "");
  ASSERT_TRUE(fs::exists(recovery));

  r = Studio("answer yes\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("message \"Changes to Tour.dpr that were not saved were kept at "),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("(Form1, Form2, Form3, Gallery and Form5 (new))"), std::string::npos)
      << r.Out;
  EXPECT_EQ(Differing(FolderFiles(Tour()), FolderFiles(saved)), "");
  EXPECT_FALSE(fs::exists(recovery));

  // Turned down, the changes go with their recovery file, and the project is as it was saved.
  const auto before = FolderFiles(Tour());
  EXPECT_EQ(Studio("set Form1 Caption \"Lost\"\nkill\n").ExitCode, 137);
  ASSERT_TRUE(fs::exists(recovery));
  r = Studio("answer cancel\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("was left closed, its unsaved changes kept for later"), std::string::npos);
  EXPECT_TRUE(fs::exists(recovery));
  r = Studio("answer no\nsave\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.find("\nsaved "), std::string::npos) << r.Out;
  EXPECT_FALSE(fs::exists(recovery));
  EXPECT_EQ(Differing(FolderFiles(Tour()), before), "");

  // Taken back to how it was saved, nothing is left to recover.
  EXPECT_EQ(Studio("set Form1 Caption \"Lost\"\nundo Form1\nkill\n").ExitCode, 137);
  EXPECT_FALSE(fs::exists(recovery));
}

// A recovery file is applied only to the project it was kept from, as that project still is:
// one the project's files no longer match, or a damaged one, is set aside and told.
TEST_F(StudioProgramTest, ARecoveryThatNoLongerFitsIsSetAsideNotApplied) {
  const std::string recovery = ide::RecoveryFileFor(TourFile("Tour.dpr"));
  ASSERT_EQ(Studio("set Form2 Caption \"Kept\"\nkill\n").ExitCode, 137);
  const std::string kept = ReadFile(recovery);
  // Saved since (by another studio, or after the crash): the recovery is older than the files.
  ASSERT_EQ(Studio("answer no\nset Form2 Caption \"Saved later\"\nsave\n").ExitCode, 0);
  const auto saved = FolderFiles(Tour());

  const std::pair<std::string, std::string> cases[] = {
      {kept, "Unit2.dfm has changed on disk since"},
      {kept.substr(0, kept.size() / 2), "is damaged"},
      {"mebrox recovery 1\nproject 3\n/x\nend 0000000000000000\n", "is damaged"},
  };
  for (const auto& [bytes, told] : cases) {
    SCOPED_TRACE(told);
    WriteFile(recovery, bytes);
    TProcessResult r = Studio("save\n");
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_NE(r.Out.find(told), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("It was not applied; it was set aside as"), std::string::npos) << r.Out;
    EXPECT_EQ(r.Out.find("\nsaved "), std::string::npos) << r.Out;
    EXPECT_EQ(Differing(FolderFiles(Tour()), saved), "");
    EXPECT_FALSE(fs::exists(recovery));
  }
  int asides = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(recovery).parent_path()))
    asides += entry.path().filename().string().starts_with(fs::path(recovery).filename().string() +
                                                           ".set-aside");
  EXPECT_EQ(asides, 3);
}
