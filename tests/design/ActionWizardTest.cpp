#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "design/Actdef.h"
#include "host/FormFile.h"
#include "runtime/HyperImg.h"
#include "runtime/WavePly.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::TAction;
using testing_support::TStudioFixture;

const std::string Form1Text =
    "object Form1: TForm1\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object WavePlay1: TWavePlay\n"
    "    Options = []\n"
    "  end\n"
    "  object WavePlay2: TWavePlay\n"
    "    Options = []\n"
    "  end\n"
    "  object HyperImage1: THyperImage\n"
    "    Left = 10\n"
    "    Top = 10\n"
    "    Width = 80\n"
    "    Height = 60\n"
    "    Action.ActionType = acDesc\n"
    "    Action.Desc = 'A note'\n"
    "    Action.FileToRun = 'left.sh'\n"
    "  end\n"
    "end\n";
const std::string Form2Text = "object Form2: TForm2\nend\n";

TAction& ActionOf(TStudioFixture& studio) {
  return dynamic_cast<mebrox::THyperImage&>(studio.Component("Form1", "HyperImage1")).Action();
}

std::vector<std::string> Values(const TAction& a) {
  return {mebrox::ActionAttrsNames()[a.ActionType()],
          a.FileToRun(),
          a.WorkDir(),
          a.Param(),
          a.WaveComp(),
          a.Frame(),
          a.Desc()};
}

// The action of HyperImage1 as Form1Text stores it.
const std::vector<std::string> Original = {"acDesc", "left.sh", "", "", "", "", "A note"};

// The wizard's own New Frame, finished.
const std::string NewFrameByWizard =
    "edit Form1.HyperImage1 Action\n"
    "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
    "click ActDefDlg.NextButton 5 5\n"
    "click ActDefDlg.bbNewFrame 5 5\n"
    "click ActDefDlg.NextButton 5 5\n";

TEST(ActionWizardTest, EachActionKeepsItsTypeAndItsOneDatum) {
  TStudioFixture studio({Form1Text, Form2Text});
  // A frame of the project; the strings of the old action go.
  EXPECT_EQ(studio.Run("edit Form1.HyperImage1 Action\n"
                       "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
                       "click ActDefDlg.NextButton 5 5\n"
                       "select ActDefDlg.cbFrameList \"Form2\"\n"
                       "click ActDefDlg.NextButton 5 5\n"),
            "modal TActDefDlg \"Action Definition\"\nclosed TActDefDlg -> ok\n");
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acFrame", "", "", "", "", "Form2", ""}));
  EXPECT_TRUE(studio.Session().Modified());

  // A program picked inside the project: its name there, run in the project folder, no
  // parameters; then parameters typed.
  std::string program = studio.File("bin/hello.sh");
  std::filesystem::create_directories(studio.File("bin"));
  testing_support::WriteFile(program, "#!/bin/sh\n");
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "key ActDefDlg.cbActionsList Down\n"
      "key ActDefDlg Enter\n"
      "file \"" +
      program +
      "\"\n"
      "click ActDefDlg.SpeedButton1 5 5\n"
      "type ActDefDlg.txParam \"-v now\"\n"
      "key ActDefDlg Enter\n");
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acExecute", "bin/hello.sh", "", "-v now", "", "", ""}));

  // One from outside: the designer is asked; kept outside, it keeps its full name and folder.
  testing_support::TempDir outside;
  testing_support::WriteFile(outside.File("tool.sh"), "#!/bin/sh\n");
  std::string trace = studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "key ActDefDlg Enter\n"
      "file \"" +
      outside.File("tool.sh") +
      "\"\n"
      "answer no\n"
      "click ActDefDlg.SpeedButton1 5 5\n"
      "key ActDefDlg Enter\n");
  EXPECT_NE(trace.find("The program tool.sh lies outside the project folder"), std::string::npos)
      << trace;
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acExecute", outside.File("tool.sh"), outside.File(""), "",
                                      "", "", ""}))
      << trace;

  // A wave player of the frame, and a close that needs no second page.
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"Play an Audio\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "select ActDefDlg.cbWaveList \"WavePlay2\"\n"
      "click ActDefDlg.NextButton 5 5\n");
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acWavePlay", "", "", "", "WavePlay2", "", ""}));
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"Close\"\n"
      "click ActDefDlg.NextButton 5 5\n");
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acClose", "", "", "", "", "", ""}));

  // An existing-frame page left with no frame chosen stores no frame.
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "click ActDefDlg.NextButton 5 5\n");
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acFrame", "", "", "", "", "", ""}));
}

// Frames made in this session and not saved yet are offered too: one from File > New Frame, one
// from the wizard's own New Frame, to the wizard opened by a double-click.
TEST(ActionWizardTest, FramesNotSavedYetAreOffered) {
  TStudioFixture studio({Form1Text, Form2Text});
  studio.Run("newframe\n" + NewFrameByWizard);
  EXPECT_EQ(ActionOf(studio).Frame(), "Form4");
  std::vector<std::string> offered;
  studio.AfterEachLine([&](int) {
    for (int i = 0; i < host::Screen->FormCount(); ++i)
      if (auto* wizard = dynamic_cast<mebrox::TActDefDlg*>(host::Screen->Forms(i)))
        offered = wizard->cbFrameList->Items().Items();
  });
  studio.Run("dblclick Form1.HyperImage1\nkey ActDefDlg Escape\n");
  EXPECT_EQ(offered, (std::vector<std::string>{"Form1", "Form2", "Form3", "Form4"}));
}

// What the wizard made is one change of its frame, undone and made again as a whole.
TEST(ActionWizardTest, TheWizardsResultIsOneChangeToUndoAndRedo) {
  TStudioFixture studio({Form1Text, Form2Text});
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"Execute a program\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "click ActDefDlg.NextButton 5 5\n");
  const std::vector<std::string> made = {"acExecute", "left.sh", "", "", "", "", ""};
  EXPECT_EQ(Values(ActionOf(studio)), made);
  studio.Run("undo Form1\n");
  EXPECT_EQ(Values(ActionOf(studio)), Original);
  studio.Run("redo Form1\n");
  EXPECT_EQ(Values(ActionOf(studio)), made);
}

TEST(ActionWizardTest, ItsPagesAndButtonsFollowTheChosenAction) {
  TStudioFixture studio({Form1Text, Form2Text});
  std::string out = MEBROX_TEST_OUTPUT;
  // The buttons as each line leaves them: the page, the Next button's caption, whether Prev
  // works.
  std::vector<std::string> steps;
  studio.AfterEachLine([&](int) {
    for (int i = 0; i < host::Screen->FormCount(); ++i)
      if (auto* wizard = dynamic_cast<mebrox::TActDefDlg*>(host::Screen->Forms(i)))
        steps.push_back(std::to_string(wizard->PageIndex()) + " " + wizard->NextButton->Caption() +
                        (wizard->PrevButton->Enabled() ? " prev" : ""));
  });
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "screenshot ActDefDlg " +
      out +
      "/wizard-select.png\n"
      "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "screenshot ActDefDlg " +
      out +
      "/wizard-existing.png\n"
      "click ActDefDlg.bbNewFrame 5 5\n"
      "check ActDefDlg.cbPicture on\n"
      "check ActDefDlg.cbAudio on\n"
      "screenshot ActDefDlg " +
      out +
      "/wizard-newframe.png\n"
      "click ActDefDlg.PrevButton 5 5\n"
      "click ActDefDlg.PrevButton 5 5\n"
      "select ActDefDlg.cbActionsList \"Execute a program\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "screenshot ActDefDlg " +
      out +
      "/wizard-execute.png\n"
      "click ActDefDlg.bbCancel 5 5\n");
  EXPECT_EQ(steps,
            (std::vector<std::string>{"0 &Next", "0 &Next", "2 &Create prev", "2 &Create prev",
                                      "1 &Create prev", "1 &Create prev", "1 &Create prev",
                                      "1 &Create prev", "2 &Create prev", "0 &Next", "0 &Next",
                                      "3 &Create prev", "3 &Create prev", "3 &Create prev"}));
  // Cancel restored every value the action had, its type included.
  EXPECT_EQ(Values(ActionOf(studio)),
            (std::vector<std::string>{"acDesc", "left.sh", "", "", "", "", "A note"}));
  EXPECT_FALSE(studio.Session().Modified());

  // An action that needs no second page finishes from the first.
  steps.clear();
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"BookMark\"\n"
      "key ActDefDlg Escape\n");
  EXPECT_EQ(steps, (std::vector<std::string>{"0 &Create", "0 &Create"}));
}

TEST(ActionWizardTest, LeavingTheWizardOtherwiseThanByOkRestoresTheAction) {
  TStudioFixture studio({Form1Text, Form2Text});
  for (const char* leave : {"key ActDefDlg Escape\n", "click ActDefDlg.bbCancel 5 5\n", ""}) {
    SCOPED_TRACE(leave);
    studio.Run(std::string("edit Form1.HyperImage1 Action\n"
                           "select ActDefDlg.cbActionsList \"Execute a program\"\n"
                           "click ActDefDlg.NextButton 5 5\n"
                           "type ActDefDlg.txFileName \"other.sh\"\n") +
               leave);
    EXPECT_EQ(Values(ActionOf(studio)),
              (std::vector<std::string>{"acDesc", "left.sh", "", "", "", "", "A note"}));
  }
  EXPECT_FALSE(studio.Session().Modified());
}

TEST(ActionWizardTest, TheSampleShowsTheChosenActionAndWhatANewFrameHolds) {
  TStudioFixture studio({Form1Text, Form2Text});
  // Pictures of the wizard's sample after each step, compared with each other.
  std::string out = MEBROX_TEST_OUTPUT;
  studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "click ActDefDlg.bbNewFrame 5 5\n"
      "screenshot ActDefDlg " +
      out +
      "/sample-frame.png\n"
      "check ActDefDlg.cbPicture on\n"
      "screenshot ActDefDlg " +
      out +
      "/sample-picture.png\n"
      "check ActDefDlg.cbPicture off\n"
      "screenshot ActDefDlg " +
      out +
      "/sample-frame-again.png\n"
      "click ActDefDlg.bbCancel 5 5\n");
  auto sample = [&](const std::string& file) {
    host::TPicture picture;
    picture.LoadFromFile(out + "/" + file);
    const host::TRawImage& image = *picture.Image();
    std::vector<uint32_t> pixels;
    for (int y = 12; y < 12 + 73; ++y)
      for (int x = 8; x < 8 + 92; ++x) pixels.push_back(image.Pixel(x, y));
    return pixels;
  };
  EXPECT_NE(sample("sample-picture.png"), sample("sample-frame.png"));
  EXPECT_EQ(sample("sample-frame-again.png"), sample("sample-frame.png"));
}

// The unit of a new frame, byte for byte, for each choice of picture and audio.
TEST(FrameGenerationTest, TheUnitTextOfANewFrame) {
  mebrox::TActDefDlg wizard(nullptr);
  const std::string head =
      "unit Unit2;\r\n\r\ninterface\r\n\r\nuses\r\n"
      "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,\r\n"
      "  StdCtrls, ExtCtrls, Forms";
  const std::string tail =
      "  end;\r\n\r\nvar\r\n  Form2: TForm2;\r\n\r\nimplementation\r\n\r\n{$R *.DFM}\r\n\r\n"
      "end.\r\n";
  EXPECT_EQ(wizard.CreateSource("Unit2", "Form2"),
            head + ";\r\n\r\ntype\r\n  TForm2 = class(TForm)\r\n" + tail);
  wizard.cbAudio->SetChecked(true);
  EXPECT_EQ(wizard.CreateSource("Unit2", "Form2"),
            head +
                ", WavePly;\r\n\r\ntype\r\n  TForm2 = class(TForm)\r\n"
                "    WavePlay1: TWavePlay;\r\n" +
                tail);
  wizard.cbPicture->SetChecked(true);
  EXPECT_EQ(wizard.CreateSource("Unit2", "Form2"),
            head +
                ", WavePly;\r\n\r\ntype\r\n  TForm2 = class(TForm)\r\n"
                "    Image1: TImage;\r\n    WavePlay1: TWavePlay;\r\n" +
                tail);
  wizard.cbAudio->SetChecked(false);
  EXPECT_EQ(wizard.CreateSource("Unit2", "Form2"),
            head + ";\r\n\r\ntype\r\n  TForm2 = class(TForm)\r\n    Image1: TImage;\r\n" + tail);

  // The form: borderless, 640 by 480, centred, its picture filling it; it reads back.
  std::string text = wizard.CreateForm("Form2");
  host::TForm form(nullptr);
  host::ReadComponentText(text, form, "Unit2.dfm");
  EXPECT_EQ(form.ClassName(), "TForm2");
  EXPECT_EQ(form.Name(), "Form2");
  EXPECT_EQ(form.Caption(), "Form2");
  EXPECT_EQ(form.BorderStyle(), host::bsNone);
  EXPECT_EQ(form.BorderIcons(), host::TBorderIcons{});
  EXPECT_EQ(form.Position(), host::poScreenCenter);
  EXPECT_EQ(form.Width(), 640);
  EXPECT_EQ(form.Height(), 480);
  EXPECT_EQ(form.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(form.Font().Size(), 8);
  ASSERT_EQ(form.ComponentCount(), 1);
  auto* image = dynamic_cast<host::TImage*>(form.FindComponent("Image1"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BoundsRect(), (host::TRect{0, 0, 640, 480}));
}

// What the IDE proposes for a new frame; a test can make it propose any name.
class TProposingServices : public ide::TIToolServices {
 public:
  std::string Unit, File;
  int Created = 0;
  std::string GetProjectName() override { return "P.dpr"; }
  int GetUnitCount() override { return 0; }
  std::string GetUnitName(int) override { return ""; }
  int GetFormCount() override { return 0; }
  bool GetNewModuleName(std::string& unit, std::string& file) override {
    unit = Unit;
    file = File;
    return !Unit.empty();
  }
  bool CreateModule(const std::string&, ide::TIMemoryStream&, ide::TIMemoryStream&,
                    ide::TCreateModuleFlags flags) override {
    ++Created;
    EXPECT_EQ(flags.Mask(), 0x8Fu);
    return true;
  }
};

TEST(FrameGenerationTest, NamesComeFromTheProposalAndCollisionsMakeNothing) {
  testing_support::TempDir dir;
  TProposingServices services;
  mebrox::TActDefDlg wizard(nullptr);
  wizard.SetToolServices(&services);
  services.Unit = "UNIT4";
  services.File = dir.File("Unit4.pas");
  EXPECT_EQ(wizard.CreateFrame(), "Form4");
  EXPECT_EQ(services.Created, 1);
  // A proposal naming a file on disk: a message, and no frame.
  testing_support::WriteFile(dir.File("Unit4.dfm"), "object Form4: TForm4\nend\n");
  EXPECT_EQ(wizard.CreateFrame(), "");
  EXPECT_EQ(services.Created, 1);
  services.Unit = "";
  EXPECT_EQ(wizard.CreateFrame(), "");
  wizard.SetToolServices(nullptr);
  EXPECT_EQ(wizard.CreateFrame(), "");
}

// A unit renamed by hand keeps the frame its old name gave: the unit the project proposes then
// names a frame that exists, and the new frame takes the next free name.
TEST(FrameGenerationTest, ANewFrameTakesANameNoFrameHas) {
  TStudioFixture studio(
      {Form1Text, Form2Text},
      {{"Test.dpr",
        "program Test;\nuses\n  Forms,\n  Unit1 in 'Unit1.pas' {Form1},\n"
        "  Unit2 in 'Unit2.pas' {Form2},\n  Intro in 'Intro.pas' {Form3};\nbegin\n"
        "  Application.CreateForm(TForm1, Form1);\n  Application.CreateForm(TForm2, Form2);\n"
        "  Application.CreateForm(TForm3, Form3);\nend.\n"},
       {"Intro.pas", "unit Intro;\ninterface\ntype\n  TForm3 = class(TForm)\n  end;\nend.\n"},
       {"Intro.dfm", "object Form3: TForm3\nend\n"}});
  studio.Run(NewFrameByWizard + "save\n");
  EXPECT_EQ(ActionOf(studio).Frame(), "Form4");
  EXPECT_NE(testing_support::ReadFile(studio.File("Unit3.pas")).find("TForm4 = class(TForm)"),
            std::string::npos);
  studio.Run(NewFrameByWizard);
  EXPECT_EQ(ActionOf(studio).Frame(), "Form5");
}

// The project's session, refusing new frames in one of the ways a project can.
class TRefusingSession : public ide::TDesignSession {
 public:
  enum TRefusal { NoName, NotTaken, Unreadable };
  TRefusingSession(ide::TDesignCore& core, const std::string& project, TRefusal refusal)
      : TDesignSession(core, project), FRefusal(refusal) {}
  bool GetNewModuleName(std::string& unit, std::string& file) override {
    return FRefusal != NoName && TDesignSession::GetNewModuleName(unit, file);
  }
  bool CreateModule(const std::string&, ide::TIMemoryStream&, ide::TIMemoryStream&,
                    ide::TCreateModuleFlags) override {
    if (FRefusal == Unreadable) throw host::EParserError("Unit3.dfm", 1, "the form does not read");
    return false;
  }

 private:
  TRefusal FRefusal;
};

// A new frame that is not made leaves the action exactly as it was, and says why.
TEST(FrameGenerationTest, ANewFrameThatIsNotMadeLeavesTheActionAsItWas) {
  const std::pair<TRefusingSession::TRefusal, std::string> cases[] = {
      {TRefusingSession::NoName,
       "message \"The project has no free name for a new unit; no new frame was made.\""},
      {TRefusingSession::NotTaken, "message \"The project did not take the new frame Form3.\""},
      {TRefusingSession::Unreadable, "error \"Unit3.dfm(1): the form does not read.\""},
  };
  for (const auto& [refusal, said] : cases) {
    SCOPED_TRACE(said);
    TStudioFixture studio({Form1Text, Form2Text}, {},
                          [refusal](ide::TDesignCore& core, const std::string& project) {
                            return std::make_unique<TRefusingSession>(core, project, refusal);
                          });
    std::string trace = studio.Run(NewFrameByWizard);
    EXPECT_NE(trace.find(said), std::string::npos) << trace;
    EXPECT_EQ(Values(ActionOf(studio)), Original);
    EXPECT_FALSE(studio.Session().Modified());
  }
}

TEST(FrameGenerationTest, ANewFrameFromTheWizardJoinsTheProjectWithItsPictureAndSound) {
  TStudioFixture studio({Form1Text, Form2Text});
  std::string trace = studio.Run(
      "edit Form1.HyperImage1 Action\n"
      "select ActDefDlg.cbActionsList \"MultMedia Frame\"\n"
      "click ActDefDlg.NextButton 5 5\n"
      "click ActDefDlg.bbNewFrame 5 5\n"
      "check ActDefDlg.cbPicture on\n"
      "check ActDefDlg.cbAudio on\n"
      "click ActDefDlg.NextButton 5 5\n"
      "save\n");
  EXPECT_EQ(trace,
            "modal TActDefDlg \"Action Definition\"\n"
            "closed TActDefDlg -> ok\n"
            "show TForm3\n"
            "saved Unit1.pas\nsaved Unit1.dfm\nsaved Unit3.pas\nsaved Unit3.dfm\nsaved Test.dpr\n");
  EXPECT_EQ(ActionOf(studio).Frame(), "Form3");
  // The unit declares the new frame's parts in the order of its form file.
  std::string unit = testing_support::ReadFile(studio.File("Unit3.pas"));
  EXPECT_NE(unit.find("    WavePlay1: TWavePlay;\r\n    Image1: TImage;\r\n"), std::string::npos);
  host::TForm& frame = studio.Form("Form3");
  EXPECT_NE(dynamic_cast<mebrox::TWavePlay*>(frame.FindComponent("WavePlay1")), nullptr);
  EXPECT_NE(testing_support::ReadFile(studio.File("Test.dpr"))
                .find("Application.CreateForm(TForm3, Form3);"),
            std::string::npos);
}

}  // namespace
