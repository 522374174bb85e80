#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "host/ExtCtrls.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "runtime/Action.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperTxt.h"
#include "runtime/MsgDlgU.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;

namespace {

// A control on a frame to act from.
TPaintBox& ControlOn(TForm& frame) {
  auto* box = new TPaintBox(&frame);
  box->SetParent(&frame);
  return *box;
}

std::unique_ptr<TAction> Make(TActionAttrs type, const std::string& frame = "") {
  auto a = std::make_unique<TAction>();
  a->SetActionType(type);
  a->SetFrame(frame);
  return a;
}

}  // namespace

TEST(ActionTest, OpeningAFrameHidesTheMainFormOrClosesAnyOtherAndRecordsTheOpener) {
  Frames app(3);
  app[1].Show();
  app.Trace.clear();
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
  PerformAction(ControlOn(app[2]), *Make(acFrame, "Form3"));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2", "close TForm2",
                                                 "hide TForm2", "show TForm3"}));
  EXPECT_EQ(app.RunText(), "[TForm2]\r\nFrom=TForm1\r\n\r\n[TForm3]\r\nFrom=TForm2\r\n");
}

TEST(ActionTest, GoingBackShowsTheLastOpenerAndErasesItsRecord) {
  Frames app(3);
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  PerformAction(ControlOn(app[3]), *Make(acFrame, "Form2"));  // the last opener wins
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"show TForm3", "close TForm2", "hide TForm2"}));
  EXPECT_FALSE(TIniFile(app.RunFile()).SectionExists("TForm2"));
  // Without a record the frame still closes, and with nothing left on screen the application
  // ends.
  app.Trace.clear();
  PerformAction(ControlOn(app[3]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"close TForm3", "hide TForm3", "terminate"}));
}

TEST(ActionTest, ClosingTheMainFormEndsTheApplicationAfterShowingItsOpener) {
  Frames app(2);
  TIniFile(app.RunFile()).WriteString("TForm1", "From", "TForm2");
  PerformAction(ControlOn(app[1]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"show TForm2", "close TForm1", "terminate"}));
}

TEST(ActionTest, FrameNamesAreCaseSensitiveButTheRecordIsWrittenAnyway) {
  Frames app(2);
  PerformAction(ControlOn(app[1]), *Make(acFrame, "form2"));
  EXPECT_TRUE(app.Trace.empty());
  EXPECT_EQ(TIniFile(app.RunFile()).ReadString("Tform2", "From", ""), "TForm1");
}

TEST(ActionTest, BookmarkRecordsTheFrameAndEndsTheApplication) {
  Frames app(2);
  PerformAction(ControlOn(app[2]), *Make(acBookMark));
  EXPECT_EQ(TIniFile(app.RunFile()).ReadString("Marked", "At", ""), "TForm2");
  EXPECT_TRUE(Application->Terminated());
}

TEST(ActionTest, OnClickRunsBeforeTheActionEvenForNone) {
  Frames app(1);
  auto& box = ControlOn(app[1]);
  std::vector<std::string> order;
  box.OnClick = [&](TObject*) { order.push_back("click"); };
  box.Click();
  PerformAction(box, *Make(acNone));
  EXPECT_EQ(order, std::vector<std::string>{"click"});
}

TEST(ActionTest, AssignCopiesAllSevenProperties) {
  TAction a;
  a.SetActionType(acExecute);
  a.SetFileToRun("run.sh");
  a.SetWorkDir("/tmp");
  a.SetParam("-x");
  a.SetWaveComp("Wave1");
  a.SetFrame("Form2");
  a.SetDesc("Hello");
  TAction b;
  b.Assign(a);
  EXPECT_EQ(b.ActionType(), acExecute);
  EXPECT_EQ(b.FileToRun() + b.WorkDir() + b.Param() + b.WaveComp() + b.Frame() + b.Desc(),
            "run.sh/tmp-xWave1Form2Hello");
  TFont notAnAction;
  EXPECT_THROW(b.Assign(notAnAction), EConvertError);
}

TEST(DescriptionPopupTest, SizesItselfToItsTextAndClosesWhenTheTextIsClicked) {
  Frames app(1);
  std::string shownText;
  int width = 0, height = 0;
  TColor background = 0;
  Application->ModalHook = [&](TForm& form) {
    auto& popup = dynamic_cast<TMsgDlg&>(form);
    shownText = popup.MsgLbl().Caption();
    width = popup.Width();
    height = popup.Height();
    background = popup.Shape1().Brush().Color();
    EXPECT_EQ(popup.Shape1().Width(), popup.MsgLbl().Width() + 1);
    EXPECT_EQ(popup.Shape1().Height(), popup.MsgLbl().Height() + 1);
    EXPECT_EQ(popup.BorderStyle(), bsNone);
    // The outline is not the text: clicking it does nothing; the text closes the popup.
    TMouseEventRecord e;
    e.Kind = TMouseEventRecord::Down;
    e.Pos = {popup.Width() - 1, popup.Height() - 1};
    popup.DispatchMouse(e);
    e.Kind = TMouseEventRecord::Up;
    popup.DispatchMouse(e);
    EXPECT_EQ(popup.ModalResult(), mrNone);
    e.Pos = {2, 2};
    e.Kind = TMouseEventRecord::Down;
    popup.DispatchMouse(e);
    e.Kind = TMouseEventRecord::Up;
    popup.DispatchMouse(e);
    EXPECT_EQ(popup.ModalResult(), mrCancel);
  };
  auto desc = Make(acDesc);
  desc->SetDesc("A cat is a small animal.");
  PerformAction(ControlOn(app[1]), *desc);
  EXPECT_EQ(shownText, "A cat is a small animal.");
  EXPECT_GT(width, 100);
  EXPECT_GT(height, 10);
  EXPECT_EQ(background, clYellow);
}

TEST(DescriptionPopupTest, DescSettingsApplyEachTimeItIsShownAndOnlyAddStyles) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("Desc", "Use", true);
  ini.WriteString("Desc", "FontColor", "clNavy");
  ini.WriteInteger("Desc", "FontSize", 30);
  ini.WriteBool("Desc", "FontBold", false);
  ini.WriteString("Desc", "BackgroundColor", "$00C0FFC0");
  TMsgDlg popup(nullptr);
  Application->ModalHook = [](TForm& f) { f.SetModalResult(mrOk); };
  popup.ShowModal();
  Application->ModalHook = nullptr;
  EXPECT_EQ(popup.MsgLbl().Font().Color(), clNavy);
  EXPECT_EQ(popup.MsgLbl().Font().Size(), 30);
  EXPECT_TRUE(popup.MsgLbl().Font().Style().Contains(fsBold));  // false removes nothing
  EXPECT_EQ(popup.Shape1().Brush().Color(), 0xC0FFC0);
}

TEST(BookmarkTest, AMarkShowsTheBookmarkAndConfirmingResumesThere) {
  Frames app(3);
  TIniFile(app.RunFile()).WriteString("Marked", "At", "TForm3");
  auto* mark = new TBookMark(&app[1]);
  mark->SetParent(&app[1]);
  mark->SetVisible(false);  // stored hidden: the mark decides
  mark->BeginLoading();
  mark->Loaded();
  EXPECT_TRUE(mark->Visible());

  testing_support::Dialogs().QueueAnswer(mrNo);
  std::string before = app.RunText();
  mark->Click();
  EXPECT_EQ(app.RunText(), before);
  EXPECT_TRUE(mark->Visible());

  app[1].Show();
  app.Trace.clear();
  testing_support::Dialogs().QueueAnswer(mrYes);
  mark->Click();
  EXPECT_EQ(testing_support::Dialogs().Shown().back().Message,
            "You have previously Marked the program.\rWould you like to continue?");
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm3"}));
  EXPECT_FALSE(mark->Visible());
  EXPECT_EQ(app.RunText(), "[TForm3]\r\nFrom=TForm1\r\n");
}

TEST(BookmarkTest, WithoutAMarkTheBookmarkHidesAndClicksDoNothing) {
  Frames app(1);
  auto* mark = new TBookMark(&app[1]);
  mark->BeginLoading();
  mark->Loaded();
  EXPECT_FALSE(mark->Visible());
  size_t shown = testing_support::Dialogs().Shown().size();
  mark->Click();
  EXPECT_EQ(testing_support::Dialogs().Shown().size(), shown);
}

TEST(HyperTxtActionTest, HotWordsGoToFramesAndBack) {
  Frames app(2);
  auto* text = new THyperTxt(&app[1]);
  text->SetParent(&app[1]);
  text->SetBounds(0, 0, 300, 100);
  text->Font().SetSize(20);
  text->WordFont().SetSize(20);
  text->SetLines(TStringList{"go on"});
  text->Words().NewWord("on", "1", "Form2");
  auto* back = new THyperTxt(&app[2]);
  back->SetParent(&app[2]);
  back->SetBounds(0, 0, 300, 100);
  back->SetLines(TStringList{"back"});
  back->Words().NewWord("back", "4", "");
  TMetricSurface surface;
  text->PaintOn(surface);
  back->PaintOn(surface);
  app[1].Show();
  app.Trace.clear();
  TMouseEventRecord e;
  e.Kind = TMouseEventRecord::Down;
  e.Pos = {35, 10};
  app[1].DispatchMouse(e);
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
  e.Pos = {5, 5};
  app[2].DispatchMouse(e);
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2", "show TForm1",
                                                 "close TForm2", "hide TForm2"}));
}

// ---- damaged and unwritable run-state and settings files

TEST(DescriptionPopupTest, ADamagedSettingsFileStillShowsThePopup) {
  testing_support::ScopedWindowsDir windows;
  testing_support::WriteFile(windows.File("Mebrox.ini"),
                             "\xEF\xBB\xBF[Status]\r\nINIAvailable=1\r\n[Desc]\r\nUse=1\r\n"
                             "FontSize=30\r\nthis line is no setting\r\n");
  Frames app(1);
  int size = 0;
  Application->ModalHook = [&](TForm& form) {
    size = dynamic_cast<TMsgDlg&>(form).MsgLbl().Font().Size();
    form.SetModalResult(mrOk);
  };
  auto desc = Make(acDesc);
  desc->SetDesc("Still here.");
  PerformAction(ControlOn(app[1]), *desc);
  EXPECT_EQ(size, 30);
}

TEST(BookmarkTest, ADamagedRunStateFileIsSetAsideAndWhatItHeldGoesOn) {
  Frames app(3);
  std::string damaged = "\xEF\xBB\xBF[Marked]\r\nAt=TForm3\r\n" + std::string(4, '\0') +
                        "\r\n[TForm2]\r\nFrom=TForm1\r\n";
  testing_support::WriteFile(app.RunFile(), damaged);
  size_t told = testing_support::Dialogs().Errors().size();
  auto* mark = new TBookMark(&app[1]);
  mark->BeginLoading();
  mark->Loaded();
  EXPECT_TRUE(mark->Visible());

  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_NE(errors.back().find(app.RunFile() + "(3): the line holds NUL bytes"), std::string::npos)
      << errors.back();
  EXPECT_NE(errors.back().find("set aside as \"" + app.RunFile() + ".bad\""), std::string::npos);
  EXPECT_EQ(testing_support::ReadFile(app.RunFile() + ".bad"), damaged);
  EXPECT_EQ(app.RunText(), "\xEF\xBB\xBF[Marked]\r\nAt=TForm3\r\n[TForm2]\r\nFrom=TForm1\r\n");

  app[2].Show();
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"show TForm1", "close TForm2", "hide TForm2"}));
  EXPECT_EQ(errors.size(), told + 1);

  // A second damaged file does not take the place of the first one kept.
  testing_support::WriteFile(app.RunFile(), "[Marked\r\n");
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  EXPECT_EQ(testing_support::ReadFile(app.RunFile() + ".bad"), damaged);
  EXPECT_EQ(testing_support::ReadFile(app.RunFile() + ".bad2"), "[Marked\r\n");
  EXPECT_EQ(app.RunText(), "[TForm2]\r\nFrom=TForm1\r\n");
}

TEST(ActionTest, NavigationGoesOnWhereTheRunStateFileCannotBeWritten) {
  Frames app(3);
  // A file where the folder should be: no write can ever succeed, whoever runs the test.
  testing_support::WriteFile(app.Dir().File("blocked"), "");
  Application->SetExeName(app.Dir().File("blocked/Test.exe"));
  size_t told = testing_support::Dialogs().Errors().size();

  app[1].Show();
  app.Trace.clear();
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  PerformAction(ControlOn(app[2]), *Make(acFrame, "Form3"));
  PerformAction(ControlOn(app[3]), *Make(acClose));
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace,
            (std::vector<std::string>{"hide TForm1", "show TForm2", "close TForm2", "hide TForm2",
                                      "show TForm3", "show TForm2", "close TForm3", "hide TForm3",
                                      "show TForm1", "close TForm2", "hide TForm2"}));
  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_NE(errors.back().find("kept in memory only"), std::string::npos) << errors.back();

  // A bookmark made in this run is seen by this run.
  PerformAction(ControlOn(app[2]), *Make(acBookMark));
  auto* mark = new TBookMark(&app[1]);
  mark->BeginLoading();
  mark->Loaded();
  EXPECT_TRUE(mark->Visible());
  EXPECT_EQ(errors.size(), told + 1);
}

TEST(ActionTest, NavigationGoesOnWhereTheRunStateFileCannotBeRead) {
  Frames app(2);
  ::mkdir(app.RunFile().c_str(), 0700);
  size_t told = testing_support::Dialogs().Errors().size();
  app[1].Show();
  app.Trace.clear();
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2", "show TForm1",
                                                 "close TForm2", "hide TForm2"}));
  EXPECT_EQ(testing_support::Dialogs().Errors().size(), told + 1);
}

TEST(NavigationTest, ALinkFromAFrameToItselfKeepsItsRealOpener) {
  Frames app(2);
  app[1].Show();
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acFrame, "Form2"));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"close TForm2", "hide TForm2", "show TForm2"}));
  EXPECT_EQ(app.RunText(), "[TForm2]\r\nFrom=TForm1\r\n");
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"show TForm1", "close TForm2", "hide TForm2"}));
  EXPECT_FALSE(Application->Terminated());
}

TEST(NavigationTest, GoingBackWithoutAnOpenerFromTheLastFrameOnScreenEndsTheApplication) {
  Frames app(3);
  app[1].Show();
  PerformAction(ControlOn(app[1]), *Make(acFrame, "Form2"));
  ASSERT_TRUE(std::filesystem::remove(app.RunFile()));  // the run-state file is lost
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"close TForm2", "hide TForm2", "terminate"}));
  EXPECT_TRUE(Application->Terminated());
}

TEST(NavigationTest, AFrameRecordedAsItsOwnOpenerIsNotShownAgain) {
  Frames app(2);
  app[2].Show();
  TIniFile(app.RunFile()).WriteString("TForm2", "From", "TForm2");  // an older run's self-link
  app.Trace.clear();
  PerformAction(ControlOn(app[2]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"close TForm2", "hide TForm2", "terminate"}));
}

TEST(NavigationTest, GoingBackWithoutAnOpenerLeavesTheApplicationWhileAnotherFrameShows) {
  Frames app(3);
  app[1].Show();
  app[3].Show();
  app.Trace.clear();
  PerformAction(ControlOn(app[3]), *Make(acClose));
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"close TForm3", "hide TForm3"}));
  EXPECT_FALSE(Application->Terminated());
}
