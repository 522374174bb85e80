// The project check on small projects broken in one place each, and on the tour.

#include "apps/run/ProjectCheck.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "apps/run/Project.h"
#include "runtime/Strtool.h"
#include "tests/ProcessSupport.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using namespace mebrox;
namespace fs = std::filesystem;
using testing_support::WriteFile;

// A hot text's word entry as a form file holds it: the word, code and data in their columns.
std::string Entry(const std::string& word, const std::string& code, const std::string& data = "") {
  return "'" + PadStr(word, 128) + PadStr(code, 2) + PadStr(data, 90) + "'";
}

const std::string Png =
    "{89504E470D0A1A0A0000000D4948445200000002000000020802000000FDD49A7300000011494441547"
    "89C63F8CFC000440C60F23F001BF203FDF3E74BB10000000049454E44AE426082}";

// Two frames that use every kind of link: the first has a page of hot words that go to the
// second frame, play a sound, switch pages and run a program, and a bookmark picture; the second
// goes back, marks and leaves, and goes to the first. Line numbers are on the left of each line.
std::map<std::string, std::string> CleanProject() {
  return {
      {"Check.dpr",
       "program Check;\n"
       "uses\n"
       "  Forms,\n"
       "  Unit1 in 'Unit1.pas' {Form1},\n"
       "  Unit2 in 'Unit2.pas' {Form2};\n"
       "begin\n"
       "  Application.CreateForm(TForm1, Form1);\n"
       "  Application.CreateForm(TForm2, Form2);\n"
       "end.\n"},
      {"Unit1.pas", "unit Unit1;\ninterface\ntype\n  TForm1 = class(TForm)\n  end;\nend.\n"},
      {"Unit2.pas", "unit Unit2;\ninterface\ntype\n  TForm2 = class(TForm)\n  end;\nend.\n"},
      {"Unit1.dfm",
       /*  1 */ "object Form1: TForm1\n"
                /*  2 */ "  Caption = 'Start'\n"
                /*  3 */ "  Color = clWhite\n"
                /*  4 */ "  object Title1: TfxLabel\n"
                /*  5 */ "    Caption = 'Welcome'\n"
                /*  6 */ "    EffectType = etRaise\n"
                /*  7 */ "  end\n"
                /*  8 */ "  object HyperTxt1: THyperTxt\n"
                /*  9 */ "    Width = 300\n"
                /* 10 */ "    Height = 200\n"
                /* 11 */ "    LinesLists.Strings = (\n"
                /* 12 */ "      'Page1.txt'\n"
                /* 13 */ "      'Page2.txt')\n"
                /* 14 */ "    Lines.Strings = (\n"
                /* 15 */ "      'next - on to the second frame'\n"
                /* 16 */ "      'chime - a sound'\n"
                /* 17 */ "      'more - another page'\n"
                /* 18 */ "      'run - a program')\n"
                /* 19 */ "    Words.Strings = (\n"
                /* 20 */ "      " +
           Entry("next", "1", "Form2") + "\n" +
           /* 21 */ "      " + Entry("chime", "2", "WavePlay1") + "\n" +
           /* 22 */ "      " + Entry("more", "5", "1") + "\n" +
           /* 23 */ "      " + Entry("run", "3", "hello.sh") + "\n" +
           /* 24 */ "      " + Entry("back", "5", "0") + ")\n" +
           /* 25 */
           "    WordFont.Color = clBlue\n"
           /* 26 */ "  end\n"
           /* 27 */ "  object WavePlay1: TWavePlay\n"
           /* 28 */ "    Options = [wvAutoPlay]\n"
           /* 29 */ "    WaveName = 'ding.wav'\n"
           /* 30 */ "  end\n"
           /* 31 */ "  object Bookmark1: TBookMark\n"
           /* 32 */ "    Left = 300\n"
           /* 33 */ "    Top = 220\n"
           /* 34 */ "    Width = 2\n"
           /* 35 */ "    Height = 2\n"
           /* 36 */ "    Picture.Data = " +
           Png + "\n" +
           /* 37 */
           "  end\n"
           /* 38 */ "end\n"},
      {"Unit2.dfm",
       /*  1 */ "object Form2: TForm2\n"
                /*  2 */ "  Caption = 'Second'\n"
                /*  3 */ "  object HyperTxt1: THyperTxt\n"
                /*  4 */ "    Width = 300\n"
                /*  5 */ "    Height = 100\n"
                /*  6 */ "    Lines.Strings = (\n"
                /*  7 */ "      'go back - where you came from')\n"
                /*  8 */ "    Words.Strings = (\n"
                /*  9 */ "      " +
           Entry("go back", "4") + ")\n" +
           /* 10 */
           "    WordFont.Style = [fsUnderline]\n"
           /* 11 */ "  end\n"
           /* 12 */ "  object HyperImage1: THyperImage\n"
           /* 13 */ "    Width = 20\n"
           /* 14 */ "    Height = 20\n"
           /* 15 */ "    Action.ActionType = acBookMark\n"
           /* 16 */ "    Picture.Data = " +
           Png + "\n" +
           /* 17 */
           "  end\n"
           /* 18 */ "  object HyperArea1: THyperArea\n"
           /* 19 */ "    Left = 40\n"
           /* 20 */ "    Width = 20\n"
           /* 21 */ "    Height = 20\n"
           /* 22 */ "    Action.ActionType = acFrame\n"
           /* 23 */ "    Action.Frame = 'Form1'\n"
           /* 24 */ "  end\n"
           /* 25 */ "end\n"},
      {"Page1.txt",
       "next - on to the second frame\r\nchime - a sound\r\nmore - another page\r\nrun - a "
       "program\r\n"},
      {"Page2.txt", "back - the first page\r\n"},
      {"hello.sh", "#!/bin/sh\necho hello\n"},
  };
}

struct TExpected {
  TSeverity Severity;
  std::string File;
  int Line;
  std::string Subject;
  std::string Fragment;  // a part of the problem: what is wrong, and the hint
};

using TFiles = std::map<std::string, std::string>;

// Replaces the one occurrence of from in a file of the project.
void Replace(TFiles& files, const std::string& file, const std::string& from,
             const std::string& to) {
  std::string& text = files.at(file);
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << file << " has no " << from;
  text.replace(at, from.size(), to);
}

// Adds properties after the hot text's Words, where the form designer writes word lists.
void AfterWords(TFiles& files, const std::string& properties) {
  Replace(files, "Unit1.dfm", "  end\n  object WavePlay1",
          properties + "  end\n  object WavePlay1");
}

const std::string ThirdFrame =
    "object Form3: TForm3\n"
    "  Caption = 'Third'\n"
    "end\n";

struct TCase {
  const char* Name;
  std::function<void(TFiles&)> Break;
  std::vector<TExpected> Expected;
  // What cannot be said by a file's text (permissions), done once the files are written.
  std::function<void(const std::string& dir)> OnDisk = {};
};

// A file or folder name longer than the system allows.
std::string Long(char c) {
  return std::string(300, c);
}

const TSeverity E = TSeverity::Error;
const TSeverity W = TSeverity::Warning;

std::vector<TCase> Cases() {
  return {
      {"a hot word's frame misspelt",
       [](TFiles& f) { Replace(f, "Unit1.dfm", PadStr("Form2", 90), PadStr("From2", 90)); },
       {{E, "Unit1.dfm", 20, "HyperTxt1.Words", "there is no frame From2; did you mean Form2?"}}},
      {"a hot area's frame in the wrong case",
       [](TFiles& f) { Replace(f, "Unit2.dfm", "'Form1'", "'form1'"); },
       {{E, "Unit2.dfm", 23, "HyperArea1.Action.Frame",
         "there is no frame form1; did you mean Form1?"}}},
      {"a frame the project declares but does not create",
       [](TFiles& f) {
         Replace(f, "Check.dpr", "{Form2};", "{Form2},\n  Unit3 in 'Unit3.pas' {Form3};");
         Replace(f, "Unit1.dfm", PadStr("Form2", 90), PadStr("Form3", 90));
       },
       {{E, "Unit1.dfm", 20, "HyperTxt1.Words",
         "there is no frame Form3: unit Unit3 declares it, but Check.dpr does not create it"}}},
      {"a wave player that is not on the frame",
       [](TFiles& f) { Replace(f, "Unit1.dfm", PadStr("WavePlay1", 90), PadStr("WavePlay2", 90)); },
       {{E, "Unit1.dfm", 21, "HyperTxt1.Words",
         "there is no wave player WavePlay2 on Form1; did you mean WavePlay1?"}}},
      {"a wave player of another frame",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", PadStr("WavePlay1", 90), PadStr("Sound2", 90));
         Replace(f, "Unit2.dfm", "  object HyperArea1",
                 "  object Sound2: TWavePlay\n"
                 "    Options = [wvAutoPlay]\n"
                 "    WaveName = 'ding.wav'\n"
                 "  end\n"
                 "  object HyperArea1");
       },
       {{E, "Unit1.dfm", 21, "HyperTxt1.Words",
         "there is no wave player Sound2 on Form1 (Sound2 is on Form2, and a click plays only "
         "the wave players of its own frame)"}}},
      {"a wave file that is missing",
       [](TFiles& f) { Replace(f, "Unit1.dfm", "'ding.wav'", "'dong.wav'"); },
       {{E, "Unit1.dfm", 29, "WavePlay1.WaveName", "dong.wav not found"}}},
      {"a wave file that is no sound",
       [](TFiles& f) { f["ding.wav"] = "this is text, not a sound\n"; },
       {{E, "Unit1.dfm", 29, "WavePlay1.WaveName",
         "ding.wav is not a sound the wave player can decode"}}},
      {"a program that is missing",
       [](TFiles& f) { Replace(f, "Unit1.dfm", PadStr("hello.sh", 90), PadStr("hallo.sh", 90)); },
       {{E, "Unit1.dfm", 23, "HyperTxt1.Words", "\"hallo.sh\" not found"}}},
      {"a program that cannot run",
       [](TFiles&) {},
       {{W, "Unit1.dfm", 23, "HyperTxt1.Words",
         "hello.sh is a program but not executable: it is opened, not run (chmod +x hello.sh)"}},
       [](const std::string& dir) { ::chmod((dir + "/hello.sh").c_str(), 0644); }},
      {"a text file that is missing",
       [](TFiles& f) { f.erase("Page2.txt"); },
       {{E, "Unit1.dfm", 13, "HyperTxt1.LinesLists", "Page2.txt not found: switching to it fails"},
        {W, "Unit1.dfm", 24, "HyperTxt1.Words", "hot word \"back\" occurs nowhere in the text"}}},
      {"a hot word in the wrong case",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "'chime - a sound'", "'Chime - a sound'");
         Replace(f, "Page1.txt", "chime - a sound", "Chime - a sound");
       },
       {{W, "Unit1.dfm", 21, "HyperTxt1.Words",
         "hot word \"chime\" occurs nowhere in the text; hot words are case-sensitive, and the "
         "text has \"Chime\""}}},
      {"an entry not laid out in columns",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", Entry("chime", "2", "WavePlay1"), "'chime 2 WavePlay1'");
       },
       {{E, "Unit1.dfm", 21, "HyperTxt1.Words",
         "entry 1 (\"chime 2 WavePlay1\") has no action code in columns 129-130: pad the word"},
        {W, "Unit1.dfm", 21, "HyperTxt1.Words",
         "hot word \"chime 2 WavePlay1\" occurs nowhere in the text"}}},
      {"an action code that is no number",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", Entry("chime", "2", "WavePlay1"),
                 Entry("chime", "x", "WavePlay1"));
       },
       {{E, "Unit1.dfm", 21, "HyperTxt1.Words",
         "entry 1 (\"chime\"): the action code \"x\" is not a number"}}},
      {"an action code beyond the six",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", Entry("chime", "2", "WavePlay1"),
                 Entry("chime", "7", "WavePlay1"));
       },
       {{W, "Unit1.dfm", 21, "HyperTxt1.Words",
         "entry 1 (\"chime\"): action code 7 is none of 0 to 5: the word does nothing"}}},
      {"a duplicate hot word",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", Entry("back", "5", "0") + ")",
                 Entry("back", "5", "0") + "\n      " + Entry("next", "1", "Form1") + ")");
       },
       {{W, "Unit1.dfm", 25, "HyperTxt1.Words",
         "hot word \"next\" is also entry 0, and only the first one acts"}}},
      {"a word-list index of 0",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "    Lines.Strings",
                 "    WordsLists.Strings = ('Words.wls')\n    Lines.Strings");
       },
       {{W, "Unit1.dfm", 14, "HyperTxt1.WordsListsIndex", "index 0 never loads Words.wls"}}},
      {"a word-list index out of range",
       [](TFiles& f) {
         AfterWords(f, "    WordsLists.Strings = ('A.wls' 'B.wls')\n    WordsListsIndex = 2\n");
       },
       {{E, "Unit1.dfm", 27, "HyperTxt1.WordsListsIndex",
         "index 2 never loads: WordsLists has 2 entries (0 to 1)"}}},
      {"a lines-list index out of range",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "    Lines.Strings", "    LinesListsIndex = 2\n    Lines.Strings");
       },
       {{E, "Unit1.dfm", 14, "HyperTxt1.LinesListsIndex",
         "index 2 never loads: LinesLists has 2 entries"}}},
      {"a switch to a page that is not there",
       [](TFiles& f) { Replace(f, "Unit1.dfm", Entry("more", "5", "1"), Entry("more", "5", "4")); },
       {{E, "Unit1.dfm", 22, "HyperTxt1.Words",
         "switches to LinesLists entry 4, but LinesLists has 2 entries"},
        {W, "Unit1.dfm", 13, "HyperTxt1.LinesLists", "entry 1 (Page2.txt) never loads"},
        {W, "Unit1.dfm", 24, "HyperTxt1.Words", "hot word \"back\" occurs nowhere in the text"}}},
      // The record the end of the file leaves open keeps its data: the program it names is
      // checked like any other.
      {"a word list whose last record is left open",
       [](TFiles& f) {
         AfterWords(
             f, "    WordsLists.Strings = ('First.wls' 'Words.wls')\n    WordsListsIndex = 1\n");
         f["Words.wls"] =
             "next\r\n1\r\nForm2\r\n~\r\nchime\r\n2\r\nWavePlay1\r\n~\r\nmore\r\n5\r\n1\r\n~\r\n"
             "back\r\n5\r\n0\r\n~\r\nrun\r\n3\r\nmissing.sh\r\n";
       },
       {{E, "Words.wls", 17, "Form1.HyperTxt1.Words", "\"missing.sh\" not found"}}},
      {"a frame that does not load",
       [](TFiles& f) {
         AfterWords(
             f, "    WordsLists.Strings = ('First.wls' 'Missing.wls')\n    WordsListsIndex = 1\n");
       },
       {{E, "Unit1.dfm", 27, "", "Missing.wls"}}},
      {"words written after the word-list index",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "    Lines.Strings",
                 "    WordsLists.Strings = ('First.wls' 'Words.wls')\n    WordsListsIndex = 1\n"
                 "    Lines.Strings");
         f["Words.wls"] = "next\r\n1\r\nForm2\r\n~\r\n";
       },
       {{W, "Unit1.dfm", 21, "HyperTxt1.Words",
         "the Words written after WordsListsIndex replace the words it loaded from Words.wls"}}},
      {"a frame nothing leads to",
       [](TFiles& f) {
         Replace(f, "Check.dpr", "{Form2};", "{Form2},\n  Unit3 in 'Unit3.pas' {Form3};");
         Replace(f, "Check.dpr", "end.", "  Application.CreateForm(TForm3, Form3);\nend.");
         f["Unit3.dfm"] = ThirdFrame;
       },
       {{W, "Unit3.dfm", 1, "Form3", "nothing leads to this frame from the main frame Form1"}}},
      {"hot words in the text's own font",
       [](TFiles& f) { Replace(f, "Unit1.dfm", "    WordFont.Color = clBlue\n", ""); },
       {{W, "Unit1.dfm", 8, "HyperTxt1.WordFont",
         "WordFont draws like Font (MS Sans Serif 8, clWindowText): the hot words look exactly "
         "like the text around them"}}},
      {"a WordFont written out as the Font, in other words",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "    Height = 200\n",
                 "    Height = 200\n    Font.Color = clBlack\n    Font.Name = 'Arial'\n"
                 "    Font.Style = [fsItalic]\n");
         Replace(f, "Unit1.dfm", "    WordFont.Color = clBlue\n",
                 "    WordFont.Color = clWindowText\n    WordFont.Name = 'arial'\n"
                 "    WordFont.Style = [fsItalic]\n");
       },
       {{W, "Unit1.dfm", 28, "HyperTxt1.WordFont",
         "WordFont draws like Font (Arial 8 italic, clBlack)"}}},
      {"an effect without a distance",
       [](TFiles& f) { Replace(f, "Unit1.dfm", "etRaise", "etCustom"); },
       {{W, "Unit1.dfm", 6, "Title1.ShadowDistance",
         "ShadowDistance 0 draws the effect right under the caption: no effect shows"}}},
      {"an effect in the background's colour",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "etRaise\n", "etRaise\n    ShadowColor = clWhite\n");
       },
       {{W, "Unit1.dfm", 7, "Title1.ShadowColor",
         "the effect is drawn in clWhite and clWhite, the colours of the caption"}}},
      {"a bookmark without a picture",
       [](TFiles& f) { Replace(f, "Unit1.dfm", "    Picture.Data = " + Png + "\n", ""); },
       {{W, "Unit1.dfm", 31, "Bookmark1.Picture",
         "the bookmark has no picture: it shows nothing when a mark exists"}}},
      {"a bookmark action without a bookmark picture",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm",
                 "  object Bookmark1: TBookMark\n    Left = 300\n    Top = 220\n    Width = 2\n"
                 "    Height = 2\n    Picture.Data = " +
                     Png + "\n  end\n",
                 "");
       },
       {{W, "Unit2.dfm", 15, "HyperImage1.Action.ActionType",
         "no frame holds a TBookMark: the next start cannot offer to resume here"}}},
      {"a bookmark past the frame's corner",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "    Left = 300\n    Top = 220\n    Width = 2\n",
                 "    Left = 310\n    Top = 239\n    Width = 20\n");
       },
       {{W, "Unit1.dfm", 31, "Bookmark1",
         "runs past the frame's right edge by 10 pixels and its bottom edge by 1 pixel (the frame "
         "is 320 x 240): that part never shows"}}},
      {"a hot image grown to its picture past the frame's edge",
       [](TFiles& f) {
         Replace(f, "Unit2.dfm",
                 "    Width = 20\n    Height = 20\n    Action.ActionType = acBookMark",
                 "    Left = 315\n    Height = 20\n    Action.ActionType = acBookMark");
       },
       {{W, "Unit2.dfm", 12, "HyperImage1",
         "right edge by 5 pixels (the frame is 320 x 240): that part never shows; the hot image "
         "takes the size of its picture and shadow"}}},
      {"a working directory that is not there",
       [](TFiles& f) {
         Replace(f, "Unit2.dfm", "    Action.ActionType = acFrame\n    Action.Frame = 'Form1'\n",
                 "    Action.ActionType = acExecute\n    Action.FileToRun = 'hello.sh'\n"
                 "    Action.WorkDir = 'nowhere'\n");
       },
       {{E, "Unit2.dfm", 24, "HyperArea1.Action.WorkDir",
         "the working directory nowhere does not exist"}}},
      // Names the system will not look up: over 255 bytes, or a path over 4096. What the run
      // does with them fails, and the check says so instead of aborting.
      {"names too long to look up",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "'ding.wav'\n", "'ding.wav'\n    WorkDir = '" + Long('y') + "'\n");
         Replace(f, "Unit1.dfm", "'Page2.txt'", "'" + Long('p') + "'");
         Replace(f, "Unit2.dfm", "acFrame\n    Action.Frame = 'Form1'\n",
                 "acExecute\n    Action.FileToRun = 'hello.sh'\n    Action.WorkDir = '" +
                     Long('y') + "'\n");
       },
       {{E, "Unit1.dfm", 13, "HyperTxt1.LinesLists",
         Long('p') + " cannot be looked up (File name too long): switching to it fails"},
        {E, "Unit1.dfm", 30, "WavePlay1.WorkDir",
         "the working directory " + Long('y') + "/ cannot be looked up (File name too long)"},
        {E, "Unit2.dfm", 24, "HyperArea1.Action.WorkDir",
         "the working directory " + Long('y') + " cannot be looked up (File name too long)"},
        {W, "Unit1.dfm", 24, "HyperTxt1.Words", "hot word \"back\" occurs nowhere in the text"}}},
      {"files too long to look up",
       [](TFiles& f) {
         std::string deep;
         while (deep.size() <= 4096) deep += "a/";
         Replace(f, "Unit1.dfm", "'ding.wav'", "'" + deep + "ding.wav'");
         Replace(f, "Unit2.dfm", "acFrame\n    Action.Frame = 'Form1'\n",
                 "acExecute\n    Action.FileToRun = '" + Long('z') + "'\n");
       },
       {{E, "Unit1.dfm", 29, "WavePlay1.WaveName",
         "ding.wav cannot be looked up (File name too long): playing fails"},
        {E, "Unit2.dfm", 23, "HyperArea1.Action.FileToRun",
         Long('z') + " cannot be looked up (File name too long): nothing starts"}}},
      {"a form file too long to look up",
       [](TFiles& f) { Replace(f, "Check.dpr", "'Unit2.pas'", "'" + Long('u') + ".pas'"); },
       {{E, "Check.dpr", 5, "",
         "Form file " + Long('u') +
             ".dfm of unit Unit2 cannot be looked up (File name too long)"}}},
  };
}

class ProjectCheckTest : public testing::Test {
 protected:
  void SetUp() override { RegisterProjectClasses(); }
  void TearDown() override { fs::current_path(FOldDir); }

  // Writes the project into a fresh folder, checks it from there, and gives the findings.
  std::vector<TFinding> Check(const TFiles& files,
                              const std::function<void(const std::string&)>& after = {}) {
    FDir = std::make_unique<testing_support::TempDir>();
    for (const auto& [name, text] : files) WriteFile(FDir->File(name), text);
    ::chmod(FDir->File("hello.sh").c_str(), 0755);
    if (!files.count("ding.wav")) testing_support::WriteTone(FDir->File("ding.wav"), 2205);
    if (after) after(FDir->Path());
    fs::current_path(FDir->Path());
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load("Check.dpr");
    std::vector<TFinding> findings = CheckProject(*project).Findings;
    project.reset();
    fs::current_path(FOldDir);
    return findings;
  }

  fs::path FOldDir = fs::current_path();
  std::unique_ptr<testing_support::TempDir> FDir;
  testing_support::QuietMci FMci;
};

std::string Describe(const std::vector<TFinding>& findings) {
  std::string text;
  for (const TFinding& f : findings) text += f.Text() + "\n";
  return text;
}

TEST_F(ProjectCheckTest, TheSampleProjectIsClean) {
  std::vector<TFinding> findings = Check(CleanProject());
  EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST_F(ProjectCheckTest, EachFaultIsReportedWithFileLineComponentAndHint) {
  for (const TCase& c : Cases()) {
    SCOPED_TRACE(c.Name);
    TFiles files = CleanProject();
    c.Break(files);
    std::vector<TFinding> findings = Check(files, c.OnDisk);
    ASSERT_EQ(findings.size(), c.Expected.size()) << Describe(findings);
    for (size_t i = 0; i < findings.size(); ++i) {
      const TFinding& f = findings[i];
      const TExpected& e = c.Expected[i];
      EXPECT_EQ(f.Severity, e.Severity) << f.Text();
      EXPECT_EQ(f.File, e.File) << f.Text();
      EXPECT_EQ(f.Line, e.Line) << f.Text();
      EXPECT_EQ(f.Subject, e.Subject) << f.Text();
      EXPECT_NE(f.Problem.find(e.Fragment), std::string::npos) << f.Text();
    }
  }
}

// Hot words hold what the text holds, marks included; and a word font that differs from the text
// font in any one way makes the hot words stand out.
TEST_F(ProjectCheckTest, WhatOnlyLooksAmissIsNotReported) {
  const std::vector<std::pair<const char*, std::function<void(TFiles&)>>> cases = {
      {"a hot word holding < and >",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "'chime - a sound'", "'<chime> - a sound'");
         Replace(f, "Page1.txt", "chime - a sound", "<chime> - a sound");
         Replace(f, "Unit1.dfm", Entry("chime", "2", "WavePlay1"),
                 Entry("<chime>", "2", "WavePlay1"));
       }},
      {"a hot word spelt with the marks of a hot word",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "'more - another page'", "'<B>more</B> - another page'");
         Replace(f, "Page1.txt", "more - another page", "<B>more</B> - another page");
         Replace(f, "Unit1.dfm", Entry("more", "5", "1"), Entry("<B>more</B>", "5", "1"));
       }},
      {"a WordFont of another size",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "WordFont.Color = clBlue", "WordFont.Height = -13");
       }},
      {"a WordFont of another face",
       [](TFiles& f) {
         Replace(f, "Unit1.dfm", "WordFont.Color = clBlue", "WordFont.Name = 'Arial'");
       }},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    TFiles files = CleanProject();
    change(files);
    std::vector<TFinding> findings = Check(files);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
  }
}

TEST_F(ProjectCheckTest, FindingsReadAsFileLineSubjectProblem) {
  TFinding error{TSeverity::Error, "Unit1.dfm", 20, "HyperTxt1.Words", "there is no frame From2"};
  EXPECT_EQ(error.Text(), "Unit1.dfm(20): HyperTxt1.Words: there is no frame From2");
  TFinding warning{TSeverity::Warning, "Unit3.dfm", 1, "Form3", "nothing leads here"};
  EXPECT_EQ(warning.Text(), "Unit3.dfm(1): Form3: warning: nothing leads here");
  TFinding bare{TSeverity::Error, "Unit1.dfm", 15, "", "Cannot set HyperTxt1.WordsListsIndex"};
  EXPECT_EQ(bare.Text(), "Unit1.dfm(15): Cannot set HyperTxt1.WordsListsIndex");
}

TEST_F(ProjectCheckTest, ErrorsComeBeforeWarnings) {
  TFiles files = CleanProject();
  Replace(files, "Unit1.dfm", "etRaise", "etCustom");                     // warning, line 6
  Replace(files, "Unit2.dfm", "'Form1'", "'Form7'");                      // error, Unit2
  Replace(files, "Unit1.dfm", PadStr("Form2", 90), PadStr("Form9", 90));  // error, line 20
  std::vector<TFinding> findings = Check(files);
  ASSERT_EQ(findings.size(), 3u) << Describe(findings);
  EXPECT_EQ(findings[0].File + "(" + std::to_string(findings[0].Line) + ")", "Unit1.dfm(20)");
  EXPECT_EQ(findings[1].File + "(" + std::to_string(findings[1].Line) + ")", "Unit2.dfm(23)");
  EXPECT_EQ(findings[2].Severity, TSeverity::Warning);
}

TEST(NearestName, PrefersTheSameNameInAnotherCaseThenTheNearest) {
  std::vector<std::string> frames = {"Form1", "Form2", "Gallery"};
  EXPECT_EQ(NearestName("form2", frames), "Form2");
  EXPECT_EQ(NearestName("Fomr2", frames), "Form2");  // two letters swapped
  EXPECT_EQ(NearestName("Galery", frames), "Gallery");
  EXPECT_EQ(NearestName("Form9", frames), "Form1 or Form2");
  EXPECT_EQ(NearestName("Welcome", frames), "");
}

// The first block of the README between fences whose first line starts with head.
std::string ReadmeBlock(const std::string& readme, const std::string& head) {
  std::istringstream in(readme);
  std::string line, block;
  bool inBlock = false;
  while (std::getline(in, line)) {
    if (line.starts_with("```")) {
      if (inBlock && block.starts_with(head)) return block;
      inBlock = !inBlock;
      block.clear();
    } else if (inBlock) {
      block += line + "\n";
    }
  }
  return "";
}

// The word after head on the first line of a block: "program Hello;" gives Hello.
std::string Named(const std::string& block, const std::string& head) {
  size_t start = head.size();
  size_t end = block.find_first_of(";: \n", start);
  return block.substr(start, end - start);
}

// What the README offers as a first project, copied as a newcomer would copy it: it loads, the
// check finds nothing, and its hot text and hot image each show their description.
TEST_F(ProjectCheckTest, TheReadmeExampleLoadsChecksCleanAndRuns) {
  std::string readme = testing_support::ReadFile(MEBROX_README);
  std::string program = ReadmeBlock(readme, "program ");
  std::string unit = ReadmeBlock(readme, "unit ");
  std::string form = ReadmeBlock(readme, "object ");
  ASSERT_FALSE(program.empty() || unit.empty() || form.empty()) << "no example project";
  std::string projectFile = Named(program, "program ") + ".dpr";
  std::string formName = Named(form, "object ");

  testing_support::TempDir dir;
  WriteFile(dir.File(projectFile), program);
  WriteFile(dir.File(Named(unit, "unit ") + ".pas"), unit);
  WriteFile(dir.File(Named(unit, "unit ") + ".dfm"), form);
  fs::current_path(dir.Path());
  {
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load(projectFile);
    ASSERT_EQ(project->Frames().size(), 1u);
    ASSERT_NE(project->Frames()[0].Form, nullptr) << Describe(project->LoadFailures());
    std::set<std::string> kinds;
    for (host::TComponent* c : project->Frames()[0].Form->ComponentList())
      kinds.insert(c->ClassName());
    EXPECT_TRUE(kinds.count("THyperTxt") && kinds.count("THyperImage"));
    std::vector<TFinding> findings = CheckProject(*project).Findings;
    EXPECT_TRUE(findings.empty()) << Describe(findings);
  }
  fs::current_path(FOldDir);

  // The first stop is a hot word; Shift+Tab from there goes round to the last, the hot image.
  testing_support::TProcessResult run =
      testing_support::RunProcess(MEBROX_RUN_PROGRAM, {"--headless", projectFile}, dir.Path(),
                                  "key " + formName + " Tab\nkey " + formName + " Enter\nkey " +
                                      formName + " Shift+Tab\nkey " + formName + " Enter\n");
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  std::vector<std::string> modals;
  std::istringstream trace(run.Out);
  for (std::string line; std::getline(trace, line);)
    if (line.starts_with("modal TMsgDlg \"")) modals.push_back(line);
  ASSERT_EQ(modals.size(), 2u) << run.Out;
  EXPECT_NE(modals[0], modals[1]) << run.Out;
}

TEST_F(ProjectCheckTest, TheTourIsClean) {
  fs::current_path(MEBROX_TOUR_DIR);
  std::unique_ptr<TLoadedProject> tour = TLoadedProject::Load("Tour.dpr");
  ASSERT_EQ(tour->Frames().size(), 4u);
  TProjectReport report = CheckProject(*tour);
  EXPECT_TRUE(report.Findings.empty()) << Describe(report.Findings);
}

}  // namespace
