// mebrox-run itself, started as a separate process as a user would start it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/ProcessSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::IsPng;
using testing_support::ReadFile;
using testing_support::TProcessResult;
using testing_support::WriteFile;

const std::string BasicProject = MEBROX_TEST_DATA "/projects/Basic/Basic.dpr";

TProcessResult RunProgram(const std::vector<std::string>& args, const std::string& dir,
                          const std::string& input = "") {
  return testing_support::RunProcess(MEBROX_RUN_PROGRAM, args, dir, input);
}

// A fresh copy of the tour in work, without a run-state file; its folder.
std::string CopyTour(const testing_support::TempDir& work) {
  fs::copy(MEBROX_TOUR_DIR, work.Path() + "/tour", fs::copy_options::recursive);
  fs::remove(work.Path() + "/tour/Tour.RUN");
  return work.Path() + "/tour";
}

// Whether a trace holds these lines in this order (others may come between).
testing::AssertionResult InOrder(const std::string& out, const std::vector<std::string>& lines) {
  size_t at = 0;
  for (const std::string& line : lines) {
    size_t found = out.find(line + "\n", at);
    if (found == std::string::npos)
      return testing::AssertionFailure() << "missing in order: " << line << "\n" << out;
    at = found + line.size();
  }
  return testing::AssertionSuccess();
}

TEST(RunProgram, HeadlessRunTracesAndTakesPictures) {
  testing_support::TempDir start;
  WriteFile(start.File("walk.txt"),
            "# the main frame, clicked and photographed\n"
            "click Form1.PaintBox2 5 5\n"
            "screenshot Form1 now.png\n"
            "wait 10\n");
  TProcessResult r = RunProgram(
      {"--headless", "--script", "walk.txt", "--screenshots", "shots", BasicProject}, start.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "show TForm1\n");
  EXPECT_TRUE(IsPng(start.File("shots/001-TForm1.png")));
  EXPECT_FALSE(fs::exists(start.File("shots/002-TForm1.png")));
  EXPECT_TRUE(IsPng(start.File("now.png")));
}

TEST(RunProgram, ScriptMistakesEndWithExitCodeTwo) {
  testing_support::TempDir start;
  // Checked as a whole before any of it runs: not even the main form is shown.
  TProcessResult r = RunProgram({"--headless", BasicProject}, start.Path(),
                                "click Form1.PaintBox1 1 1\nclick Form1.PaintBox1 1\n");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("<stdin>(2)"), std::string::npos) << r.Err;

  // A control that is not there is found when its line runs.
  WriteFile(start.File("walk.txt"), "wait 5\nclick Form1.Nothing 1 1\nwait 5\n");
  r = RunProgram({"--headless", "--script", "walk.txt", BasicProject}, start.Path());
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_EQ(r.Out, "show TForm1\n");
  EXPECT_NE(r.Err.find("walk.txt(2)"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("Nothing"), std::string::npos) << r.Err;
}

TEST(RunProgram, ProjectFailuresNameFileAndLine) {
  testing_support::TempDir start;
  TProcessResult r = RunProgram(
      {"--headless", MEBROX_TEST_DATA "/projects/BrokenForm/BrokenForm.dpr"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("BrokenForm/Unit1.dfm(6)"), std::string::npos) << r.Err;

  r = RunProgram({"--headless", "Missing.dpr"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Missing.dpr"), std::string::npos) << r.Err;
}

// A folder stands for the one project in it; anything else is said plainly.
TEST(RunProgram, AFolderRunsTheOneProjectInIt) {
  testing_support::TempDir start;
  fs::copy(MEBROX_TEST_DATA "/projects/Basic", start.File("Basic"), fs::copy_options::recursive);
  TProcessResult r = RunProgram({"--headless", "Basic"}, start.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "show TForm1\n");

  fs::create_directory(start.File("Empty"));
  r = RunProgram({"--headless", "Empty"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Empty is a folder without a project file (.dpr) in it"), std::string::npos)
      << r.Err;

  fs::copy_file(start.File("Basic/Basic.dpr"), start.File("Basic/Other.DPR"));
  r = RunProgram({"--check", "Basic"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("several project files (Basic.dpr, Other.DPR)"), std::string::npos) << r.Err;
}

TEST(RunProgram, FilesOfAnotherKindAreNamedForWhatTheyAre) {
  testing_support::TempDir start;
  fs::copy(MEBROX_TEST_DATA "/projects/Basic", start.File("Basic"), fs::copy_options::recursive);
  WriteFile(start.File("Basic/Unit1.dfm"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  TProcessResult r = RunProgram({"--headless", "Basic/Basic.dpr"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Unit1.dfm(1): This is a PNG picture, but a form file"), std::string::npos)
      << r.Err;

  WriteFile(start.File("Basic/Basic.dpr"), std::string("\xFF\xFEp\0r\0o\0g\0", 10));
  r = RunProgram({"--headless", "Basic/Basic.dpr"}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Basic.dpr(1): This is UTF-16 text, but a project file"), std::string::npos)
      << r.Err;
}

// A picture that was asked for and not saved is a failure, whichever way it was asked for.
TEST(RunProgram, AScreenshotThatCannotBeSavedFailsTheRun) {
  testing_support::TempDir start;
  WriteFile(start.File("blocker"), "a file where a folder is wanted");
  TProcessResult r =
      RunProgram({"--headless", BasicProject}, start.Path(), "screenshot Form1 blocker/now.png\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("<stdin>(1): Cannot save"), std::string::npos) << r.Err;

  r = RunProgram({"--headless", "--screenshots", "blocker/shots", BasicProject}, start.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Cannot make the screenshot folder"), std::string::npos) << r.Err;
}

TEST(RunProgram, CommandLineMistakesEndWithExitCodeTwo) {
  testing_support::TempDir start;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--bogus", BasicProject},
           {},
           {"--script", "walk.txt", BasicProject},
           {"--headless", BasicProject, BasicProject},
           {"--headless", BasicProject, "--script"},
           {"--headless", "--script", "absent.txt", BasicProject}}) {
    TProcessResult r = RunProgram(args, start.Path());
    EXPECT_EQ(r.ExitCode, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.Out, "");
  }
  TProcessResult help = RunProgram({"--help"}, start.Path());
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_TRUE(help.Out.starts_with("Usage: mebrox-run")) << help.Out;
}

// --check and --map on the tour, and on a copy with a link broken.
TEST(RunProgram, CheckAndMapLookAtAProjectWithoutRunningIt) {
  testing_support::TempDir work;
  fs::copy(MEBROX_TOUR_DIR, work.File("tour"), fs::copy_options::recursive);
  fs::remove(work.File("tour/Tour.RUN"));
  TProcessResult r = RunProgram({"--check", "tour/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "tour/Tour.dpr: 4 frames checked, 0 errors, 0 warnings\n");

  r = RunProgram({"--map", "tour/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("digraph \"Tour\" {\n")) << r.Out;
  EXPECT_NE(r.Out.find("\"Form1\" -> \"Form2\" [label=\"second frame\"]"), std::string::npos);
  r = RunProgram({"--map", "--map-format", "svg", "--map-output", "map.svg", "tour/Tour.dpr"},
                 work.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(ReadFile(work.File("map.svg")).find("<svg"), std::string::npos);
  r = RunProgram({"--map", "--map-format", "png", "tour/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("\x89PNG\r\n\x1a\n"));
  // Nothing was run: no frame was shown, no bookmark written.
  EXPECT_FALSE(fs::exists(work.File("tour/Tour.RUN")));

  std::string form = ReadFile(work.File("tour/Unit4.dfm"));
  size_t at = form.find("Action.Frame = 'Form1'");
  ASSERT_NE(at, std::string::npos);
  int line =
      1 + static_cast<int>(std::count(form.begin(), form.begin() + static_cast<long>(at), '\n'));
  form.replace(at, 22, "Action.Frame = 'Gallery'");
  WriteFile(work.File("tour/Unit4.dfm"), form);
  r = RunProgram({"--check", "tour/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "tour/Unit4.dfm(" + std::to_string(line) +
                       "): HyperArea1.Action.Frame: there is no frame Gallery\n"
                       "tour/Tour.dpr: 4 frames checked, 1 error, 0 warnings\n");
}

TEST(RunProgram, ProjectToolMistakesEndWithExitCodeTwo) {
  testing_support::TempDir start;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--map-format", "svg", BasicProject},
                                             {"--map", "--map-format", "jpeg", BasicProject},
                                             {"--map", "--map-output", BasicProject},
                                             {"--check", "--headless", BasicProject},
                                             {"--check", "--map", BasicProject},
                                             {"--check"}}) {
    TProcessResult r = RunProgram(args, start.Path());
    EXPECT_EQ(r.ExitCode, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.Out, "");
  }
}

// The example tour end to end: every kind of hot element in the trace, then a second start
// that resumes at the bookmark.
TEST(RunProgram, TourWalkthroughAndResume) {
  testing_support::TempDir work;
  std::string tour = CopyTour(work);
  TProcessResult r = RunProgram({"--headless", "--screenshots", work.File("shots"), "--script",
                                 tour + "/walkthrough.txt", tour + "/Tour.dpr"},
                                work.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  std::vector<std::string> expected = {
      "show TForm1",
      "cursor 10",
      "modal TMsgDlg \"Hypertext: words that lead somewhere.\"",
      "mci \"Open " + tour + "/chime.wav type WaveAudio alias TForm1WavePlay1\" -> 0",
      "mci \"Play TForm1WavePlay1 from 0 \" -> 0",
      "exec \"hello.sh\" \"\" \"\" -> 42",
      "cursor 15",
      "hide TForm1",
      "show TForm2",
      "show TForm1",
      "close TForm2",
      "show TForm4",
      "mci \"Pause TForm4WavePlay1\" -> 0",
      "mci \"Resume TForm4WavePlay1\" -> 0",
      "modal TMsgDlg \"A sunset: the day ends, the tour goes on.\"",
      "close TForm4",
      "show TForm3",
      "terminate"};
  EXPECT_TRUE(InOrder(r.Out, expected));
  EXPECT_TRUE(r.Out.ends_with("terminate\n"));
  // The chime plays once: the blank place clicked on the switched text is not where it stood.
  size_t chimes = 0;
  for (size_t p = r.Out.find("\"Play TForm1WavePlay1"); p != std::string::npos;
       p = r.Out.find("\"Play TForm1WavePlay1", p + 1))
    ++chimes;
  EXPECT_EQ(chimes, 1u) << r.Out;
  EXPECT_TRUE(IsPng(work.File("tour-paused.png")));
  EXPECT_TRUE(IsPng(work.File("shots/002-TMsgDlg.png")));
  // hello.sh runs on its own; give it a bounded while to leave its line.
  for (int i = 0; i < 500 && ReadFile(tour + "/hello.log").empty(); ++i) ::usleep(10000);
  EXPECT_NE(ReadFile(tour + "/hello.log").find("Hello from the Mebrox tour"), std::string::npos);

  r = RunProgram({"--headless", "--script", tour + "/walkthrough-resume.txt", tour + "/Tour.dpr"},
                 work.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "show TForm1\n"
            "message \"You have previously Marked the program.\\rWould you like to continue?\" "
            "-> yes\n"
            "hide TForm1\n"
            "show TForm3\n");
  EXPECT_EQ(ReadFile(tour + "/Tour.RUN").find("[Marked]"), std::string::npos);
}

// Where a walk of the tour that should end on the ribbon of the bookmark frame ended: every
// frame reached in turn, the application ended by the ribbon, and the mark on that frame.
testing::AssertionResult EndsAtTheBookmark(const TProcessResult& r, const std::string& runFile) {
  testing::AssertionResult visited =
      InOrder(r.Out, {"show TForm2", "show TForm3", "show TForm4", "show TForm1", "show TForm3",
                      "focus TForm3 HyperArea1", "terminate"});
  if (!visited) return visited;
  if (!r.Out.ends_with("terminate\n")) return testing::AssertionFailure() << r.Out;
  if (ReadFile(runFile).find("[Marked]\r\nAt=TForm3\r\n") == std::string::npos)
    return testing::AssertionFailure() << "no mark in " << runFile << ":\n" << ReadFile(runFile);
  return testing::AssertionSuccess();
}

// The tour by keys alone, then a second start that resumes at the bookmark by keys too.
TEST(RunProgram, TourWalkthroughByKeysEndsAtTheBookmark) {
  testing_support::TempDir work;
  std::string tour = CopyTour(work);
  std::string script = ReadFile(tour + "/walkthrough-keys.txt");
  ASSERT_NE(script.find("key Form3 Enter"), std::string::npos);
  for (const char* pointer : {"\nclick ", "\nmove ", "\ndown ", "\nup "})
    EXPECT_EQ(script.find(pointer), std::string::npos) << pointer;

  TProcessResult r = RunProgram(
      {"--headless", "--script", tour + "/walkthrough-keys.txt", tour + "/Tour.dpr"}, work.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(EndsAtTheBookmark(r, tour + "/Tour.RUN"));
  // Each kind of stop had the keyboard, and Enter or Space acted on each.
  std::vector<std::string> expected = {
      "focus TForm1 HyperTxt1 \"description\"",
      "modal TMsgDlg \"Hypertext: words that lead somewhere.\"",
      "focus TForm1 HyperTxt1 \"chime\"",
      "mci \"Play TForm1WavePlay1 from 0 \" -> 0",
      "focus TForm1 HyperTxt1 \"first text\"",
      "focus TForm1 HyperTxt1 \"second frame\"",
      "show TForm2",
      "focus TForm2 HyperTxt1 \"go back\"",
      "close TForm2",
      "focus TForm4 HyperImage1",
      "modal TMsgDlg \"A sunset: the day ends, the tour goes on.\"",
      "focus TForm4 HyperArea1",
      "close TForm4"};
  EXPECT_TRUE(InOrder(r.Out, expected));
  for (const char* shot :
       {"keys-word.png", "keys-switched.png", "keys-image.png", "keys-ribbon.png"})
    EXPECT_TRUE(IsPng(work.File(shot))) << shot;

  // The bookmark on the welcome frame is its last stop: Shift+Tab, Enter, yes.
  r = RunProgram({"--headless", tour + "/Tour.dpr"}, work.Path(),
                 "answer yes\nkey Form1 Shift+Tab\nkey Form1 Enter\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "show TForm1\n"
            "focus TForm1 Bookmark1\n"
            "message \"You have previously Marked the program.\\rWould you like to continue?\" "
            "-> yes\n"
            "hide TForm1\n"
            "show TForm3\n");
}

// The check above tells a walk that got nowhere: with keys that act on nothing instead of
// Tab, Enter and Space the same script stops at the first frame.
TEST(RunProgram, AKeyboardWalkWhoseKeysDoNothingDoesNotReachTheBookmark) {
  testing_support::TempDir work;
  std::string tour = CopyTour(work);
  std::string script = ReadFile(tour + "/walkthrough-keys.txt");
  for (const std::string key : {" Shift+Tab\n", " Tab\n", " Enter\n", " Space\n"})
    for (size_t p = script.find(key); p != std::string::npos; p = script.find(key, p))
      script.replace(p, key.size(), " F9\n");
  WriteFile(work.File("inert.txt"), script);
  TProcessResult r =
      RunProgram({"--headless", "--script", "inert.txt", tour + "/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.Out.substr(0, r.Out.find('\n')), "show TForm1");
  EXPECT_FALSE(EndsAtTheBookmark(r, tour + "/Tour.RUN"));
}

}  // namespace
