#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "experts/Projview.h"
#include "host/Dialogs.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "ide/Registry.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::ProjViewDlg;
using testing_support::ReadFile;
using testing_support::TStudioFixture;
using testing_support::WriteFile;
using Names = std::vector<std::string>;

const char* const Expert = "expert \"Project Thumbnail Expert\"\n";

// Pixels as the picture holds them, 0xAARRGGBB.
constexpr uint32_t Red = 0xFFFF0000, Lime = 0xFF00FF00, Blue = 0xFF0000FF, Black = 0xFF000000,
                   White = 0xFFFFFFFF;

std::string FrameText(int n, const std::string& colour, const std::string& inside = "") {
  std::string name = std::to_string(n);
  return "object Form" + name + ": TForm" + name +
         "\n  Width = 320\n  Height = 240\n  Color = " + colour + "\n" + inside + "end\n";
}

std::vector<std::string> ThreeFrames() {
  return {FrameText(1, "clRed"), FrameText(2, "clLime"), FrameText(3, "clBlue")};
}

std::string Shot(const std::string& name) {
  return std::string(MEBROX_TEST_OUTPUT) + "/" + name + ".png";
}

class ProjviewTest : public testing::Test {
 protected:
  explicit ProjviewTest(const std::vector<std::string>& frames = ThreeFrames(),
                        const std::vector<std::pair<std::string, std::string>>& files = {})
      : Studio(frames, files) {}
  ~ProjviewTest() override {
    // The dialog outlives the project of each test, as it outlives projects in the IDE.
    if (ProjViewDlg && ProjViewDlg->Visible()) ProjViewDlg->Close();
  }

  mebrox::TProjViewDlg& Dlg() {
    EXPECT_NE(ProjViewDlg, nullptr);
    return *ProjViewDlg;
  }
  std::string IniPath() { return Studio.File("Test.INI"); }
  host::TIniFile Ini() { return host::TIniFile(IniPath()); }

  // A group's frames as the file lists them.
  Names FramesInFile(const std::string& group) {
    Names frames;
    host::TIniFile ini = Ini();
    int count = ini.ReadInteger(group, "NoOfFrames", 0);
    for (int k = 1; k <= count; ++k)
      frames.push_back(ini.ReadString(group, "Frame" + std::to_string(k), "?"));
    return frames;
  }
  // The user groups as the file lists them.
  Names GroupsInFile() {
    Names groups;
    host::TIniFile ini = Ini();
    int count = ini.ReadInteger("Status", "Sections", 0);
    for (int g = 1; g <= count; ++g)
      groups.push_back(ini.ReadString("Status", "Section" + std::to_string(g), "?"));
    return groups;
  }
  // Every frame the file files, in every group: each frame of the project exactly once.
  Names FiledFrames() {
    Names all = FramesInFile("NotFiledFrames");
    for (const std::string& group : GroupsInFile()) {
      Names frames = FramesInFile(group);
      all.insert(all.end(), frames.begin(), frames.end());
    }
    std::sort(all.begin(), all.end());
    return all;
  }
  // What the dialog shows: each group with its frames, chosen through the controls.
  std::map<std::string, Names> Shown() {
    std::map<std::string, Names> shown;
    for (const std::string& group : Dlg().ListBox2->Items().Items()) {
      Studio.Run("select ProjViewDlg.ListBox2 \"" + group + "\"\n");
      shown[group] = Dlg().ListBox1->Items().Items();
    }
    return shown;
  }
  Names GroupList() { return Dlg().ListBox2->Items().Items(); }
  Names FrameList() { return Dlg().ListBox1->Items().Items(); }
  host::TScriptedDialogs& Dialogs() {
    return dynamic_cast<host::TScriptedDialogs&>(host::DialogService());
  }

  TStudioFixture Studio;
};

// ---- the expert and its dialog

TEST_F(ProjviewTest, TheExpertIsAMenuEntryThatShowsOneNonModalDialog) {
  ide::TIExpert* expert = nullptr;
  for (ide::TIExpert* e : Studio.Core().Registry().Experts())
    if (e->GetIDString() == "Tarnwick.Project Thumbnail Expert") expert = e;
  ASSERT_NE(expert, nullptr);
  EXPECT_EQ(expert->GetName(), "Project Thumbnail Expert");
  EXPECT_EQ(expert->GetMenuText(), "Project Thumbnail Expert");
  EXPECT_EQ(expert->GetComment(), "");
  EXPECT_EQ(expert->GetGlyph(), nullptr);
  EXPECT_EQ(expert->GetStyle(), ide::esStandard);
  EXPECT_EQ(expert->GetState(), ide::TExpertState{ide::esEnabled});

  std::string trace = Studio.Run(Expert);
  EXPECT_NE(trace.find("show TProjViewDlg"), std::string::npos) << trace;
  mebrox::TProjViewDlg* first = ProjViewDlg;
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->Visible());
  EXPECT_FALSE(first->Modal());
  EXPECT_EQ(first->Owner(), host::Application);
  EXPECT_EQ(first->Caption(), "Project View");
  // Wider and taller than the old dialog's 451 x 280: the frame list holds 150-pixel pictures.
  EXPECT_EQ(first->ClientWidth(), 583);
  EXPECT_EQ(first->ClientHeight(), 340);
  EXPECT_EQ(first->BorderStyle(), host::bsSingle);
  EXPECT_EQ(first->Position(), host::poScreenCenter);

  // OK hides it without ending the IDE; the next choice of the entry shows the same dialog.
  Studio.Run("click ProjViewDlg.BitBtn1 5 5\n");
  EXPECT_FALSE(first->Visible());
  EXPECT_FALSE(host::Application->Terminated());
  EXPECT_NE(host::Application->MainForm(), first);
  Studio.Run(Expert);
  EXPECT_EQ(ProjViewDlg, first);
  EXPECT_TRUE(first->Visible());
}

TEST_F(ProjviewTest, TheKeyboardReachesEveryControlAndEscapeCloses) {
  Studio.Run(Expert + std::string("click ProjViewDlg.Edit1 5 5\n"));
  ASSERT_EQ(Dlg().ActiveControl(), Dlg().Edit1);
  Names order;
  for (int i = 0; i < 7; ++i) {
    Studio.Run("key ProjViewDlg Tab\n");
    order.push_back(Dlg().ActiveControl()->Name());
  }
  EXPECT_EQ(order,
            (Names{"bbAdd", "bbDel", "ListBox2", "ListBox1", "BitBtn1", "BitBtn2", "Edit1"}));
  // Enter in the name field adds the group: Add Group is the default button.
  Studio.Run("type ProjViewDlg.Edit1 \"Intro\"\nkey ProjViewDlg.Edit1 Enter\n");
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames", "Intro"}));
  Studio.Run("key ProjViewDlg Escape\n");
  EXPECT_FALSE(Dlg().Visible());
}

// ---- the project sections file

TEST_F(ProjviewTest, TheFirstShowingFilesEveryFrameAsNotFiled) {
  ASSERT_FALSE(std::filesystem::exists(IniPath()));
  Studio.Run(Expert + std::string("screenshot ProjViewDlg ") + Shot("projview-first") + "\n");
  EXPECT_EQ(Dlg().ProjININame(), IniPath());
  host::TIniFile ini = Ini();
  EXPECT_EQ(ini.ReadString("Status", "INIAvailable", ""), "1");
  EXPECT_EQ(ini.ReadString("Status", "Sections", ""), "0");
  EXPECT_EQ(ini.ReadString("Status", "Section0", ""), "NotFiledFrames");
  EXPECT_EQ(ini.ReadString("NotFiledFrames", "NoOfFrames", ""), "3");
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm2", "TForm3"}));
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames"}));
  EXPECT_EQ(Dlg().ListBox2->ItemIndex(), 0);
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm2", "TForm3"}));
}

TEST_F(ProjviewTest, GroupsAreMadeAndFramesMovedWithEachChangeSavedAtOnce) {
  Studio.Run(Expert + std::string("type ProjViewDlg.Edit1 \"Intro\"\n") +
             "click ProjViewDlg.bbAdd 5 5\n");
  EXPECT_EQ(GroupsInFile(), (Names{"Intro"}));
  // A group that never held a frame has no section of its own yet.
  EXPECT_FALSE(Ini().SectionExists("Intro"));
  EXPECT_EQ(Dlg().Edit1->Text(), "");
  Studio.Run("type ProjViewDlg.Edit1 \"Help\"\nclick ProjViewDlg.bbAdd 5 5\n");
  EXPECT_EQ(GroupsInFile(), (Names{"Intro", "Help"}));

  // Through the frame list's menu, as a right click chooses it.
  Studio.Run(
      "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Intro\"\n");
  EXPECT_EQ(FramesInFile("Intro"), (Names{"TForm2"}));
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm3"}));
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm3"}));

  // Through the keyboard: Shift+F10 opens the same menu.
  Studio.Run("select ProjViewDlg.ListBox1 \"TForm3\"\n");
  Dialogs().QueueMenuChoice("Move to Help");
  Studio.Run("key ProjViewDlg.ListBox1 Shift+F10\n");
  EXPECT_EQ(FramesInFile("Help"), (Names{"TForm3"}));
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1"}));

  // From one user group to another, and back to the not-filed group.
  Studio.Run(
      "select ProjViewDlg.ListBox2 \"Intro\"\nselect ProjViewDlg.ListBox1 \"TForm2\"\n"
      "menu ProjViewDlg.ListBox1 \"Move to Help\"\n");
  EXPECT_EQ(FramesInFile("Intro"), Names{});
  EXPECT_EQ(FramesInFile("Help"), (Names{"TForm3", "TForm2"}));
  Studio.Run(
      "select ProjViewDlg.ListBox2 \"Help\"\nselect ProjViewDlg.ListBox1 \"TForm3\"\n"
      "menu ProjViewDlg.ListBox1 \"Move to NotFiledFrames\"\n");
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm3"}));
  EXPECT_EQ(FiledFrames(), (Names{"TForm1", "TForm2", "TForm3"}));

  // Reordering within a group: Ctrl+Up and the menu's Move Down.
  Studio.Run(
      "select ProjViewDlg.ListBox2 \"NotFiledFrames\"\nselect ProjViewDlg.ListBox1 \"TForm3\"\n"
      "key ProjViewDlg.ListBox1 Ctrl+Up\n");
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm3", "TForm1"}));
  EXPECT_EQ(Dlg().ListBox1->Items().Get(Dlg().ListBox1->ItemIndex()), "TForm3");
  Studio.Run("menu ProjViewDlg.ListBox1 \"Move Down\"\n");
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm3"}));
  Studio.Run("screenshot ProjViewDlg " + Shot("projview-groups") + "\n");

  // Closing empties the lists; the next showing finds the groups again in the file.
  Studio.Run("click ProjViewDlg.BitBtn1 5 5\n");
  EXPECT_EQ(GroupList(), Names{});
  Studio.Run(Expert);
  EXPECT_EQ(Shown(),
            (std::map<std::string, Names>{
                {"NotFiledFrames", {"TForm1", "TForm3"}}, {"Intro", {}}, {"Help", {"TForm2"}}}));
}

TEST_F(ProjviewTest, DeletingAGroupRenumbersTheRestAndKeepsItsFrames) {
  Studio.Run(Expert + std::string("type ProjViewDlg.Edit1 \"One\"\nclick ProjViewDlg.bbAdd 5 5\n") +
             "type ProjViewDlg.Edit1 \"Two\"\nclick ProjViewDlg.bbAdd 5 5\n"
             "type ProjViewDlg.Edit1 \"Three\"\nclick ProjViewDlg.bbAdd 5 5\n");
  Studio.Run("select ProjViewDlg.ListBox2 \"One\"\nclick ProjViewDlg.bbDel 5 5\n");
  EXPECT_EQ(GroupsInFile(), (Names{"Two", "Three"}));
  EXPECT_FALSE(Ini().ValueExists("Status", "Section3"));
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames", "Two", "Three"}));

  // The built-in group stays, with a word why.
  std::string trace = Studio.Run(
      "select ProjViewDlg.ListBox2 \"NotFiledFrames\"\n"
      "click ProjViewDlg.bbDel 5 5\n");
  EXPECT_NE(trace.find("message \"NotFiledFrames holds the frames of no group"), std::string::npos)
      << trace;
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames", "Two", "Three"}));

  // A group holding frames goes only when the user agrees, and its frames go to NotFiledFrames.
  Studio.Run(
      "select ProjViewDlg.ListBox1 \"TForm1\"\nmenu ProjViewDlg.ListBox1 \"Move to Two\"\n"
      "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Two\"\n");
  std::string before = ReadFile(IniPath());
  trace =
      Studio.Run("select ProjViewDlg.ListBox2 \"Two\"\nanswer no\nclick ProjViewDlg.bbDel 5 5\n");
  EXPECT_NE(trace.find("message \"The group Two holds 2 frame(s)"), std::string::npos) << trace;
  EXPECT_EQ(ReadFile(IniPath()), before);
  Studio.Run("answer yes\nclick ProjViewDlg.bbDel 5 5\n");
  EXPECT_EQ(GroupsInFile(), (Names{"Three"}));
  EXPECT_FALSE(Ini().SectionExists("Two"));
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm3", "TForm1", "TForm2"}));
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames", "Three"}));
  EXPECT_EQ(FrameList(), (Names{"TForm3", "TForm1", "TForm2"}));
}

TEST_F(ProjviewTest, GroupNamesThatWouldBreakTheFileAreRefusedWithAMessage) {
  Studio.Run(Expert +
             std::string("type ProjViewDlg.Edit1 \"Intro\"\nclick ProjViewDlg.bbAdd 5 5\n"));
  std::string before = ReadFile(IniPath());
  for (const std::string& name :
       {std::string(), std::string("a]b"), std::string("a=b"), std::string("Status"),
        std::string("notfiledframes"), std::string("INTRO"), std::string("one\ntwo"),
        std::string("one\rtwo")}) {
    SCOPED_TRACE(name);
    Dlg().Edit1->SetText(name);
    std::string trace = Studio.Run("click ProjViewDlg.bbAdd 5 5\n");
    EXPECT_NE(trace.find("message "), std::string::npos) << trace;
    EXPECT_EQ(GroupList(), (Names{"NotFiledFrames", "Intro"}));
    EXPECT_EQ(ReadFile(IniPath()), before);
  }
  // Blanks around a name are not part of it.
  Dlg().Edit1->Clear();
  Studio.Run("type ProjViewDlg.Edit1 \"  Help \"\nclick ProjViewDlg.bbAdd 5 5\n");
  EXPECT_EQ(GroupsInFile(), (Names{"Intro", "Help"}));
}

TEST_F(ProjviewTest, FramesThatLeftTheProjectDropOutAndTheGroupingStays) {
  WriteFile(IniPath(),
            "[Status]\nINIAvailable=1\nSections=2\nSection0=NotFiledFrames\nSection1=Intro\n"
            "Section2=Help\n\n[NotFiledFrames]\nNoOfFrames=2\nFrame1=TForm1\nFrame2=TForm7\n\n"
            "[Intro]\nNoOfFrames=2\nFrame1=TForm9\nFrame2=TForm2\n\n[Help]\nNoOfFrames=1\n"
            "Frame1=TForm8\n");
  std::string trace = Studio.Run(Expert);
  EXPECT_EQ(trace.find("message"), std::string::npos) << trace;
  EXPECT_EQ(GroupsInFile(), (Names{"Intro", "Help"}));
  EXPECT_EQ(FramesInFile("Intro"), (Names{"TForm2"}));
  EXPECT_FALSE(Ini().ValueExists("Intro", "Frame2"));
  EXPECT_EQ(FramesInFile("Help"), Names{});
  // TForm3 was in no group: it joins the not-filed ones at the end.
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm3"}));
  EXPECT_EQ(Shown(),
            (std::map<std::string, Names>{
                {"NotFiledFrames", {"TForm1", "TForm3"}}, {"Intro", {"TForm2"}}, {"Help", {}}}));
}

TEST_F(ProjviewTest, ANewFrameIsFiledAtRefreshOnceItIsSaved) {
  Studio.Run(Expert);
  ide::TIMemoryStream source(
      "unit Unit4;\n\ninterface\n\ntype\n  TForm4 = class(TForm)\n  end;\n\nend.\n");
  ide::TIMemoryStream form(FrameText(4, "clYellow"));
  ASSERT_TRUE(Studio.Session().CreateModule(Studio.File("Unit4.pas"), source, form,
                                            {ide::cmAddToProject, ide::cmShowForm}));
  // Not on disk yet: the frame cannot be named, and no other frame is listed in its place.
  std::string trace = Studio.Run("click ProjViewDlg.BitBtn2 5 5\n");
  EXPECT_NE(trace.find("message \"There might be a new form that is not saved.\\rPlease save "
                       "that form in order for it to show in the dialog.\""),
            std::string::npos)
      << trace;
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm2", "TForm3"}));
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm2", "TForm3"}));

  trace = Studio.Run("save\nclick ProjViewDlg.BitBtn2 5 5\n");
  EXPECT_EQ(trace.find("message"), std::string::npos) << trace;
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm2", "TForm3", "TForm4"}));
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm2", "TForm3", "TForm4"}));
}

// ---- damaged files

struct TDamage {
  const char* Name;
  const char* Line;       // the line of the good file it replaces
  const char* Instead;    // what stands there instead
  int Number;             // the line the message names
  Names NotFiled, Intro;  // the groups that could be read
  bool IntroRead = true;  // the group Intro could be read
};

void PrintTo(const TDamage& damage, std::ostream* out) {
  *out << damage.Name;
}

const char* const GoodFile =
    "[Status]\n"        // 1
    "INIAvailable=1\n"  // 2
    "Sections=1\n"      // 3
    "Section0=NotFiledFrames\n"
    "Section1=Intro\n"  // 5
    "\n"
    "[NotFiledFrames]\n"  // 7
    "NoOfFrames=2\n"      // 8
    "Frame1=TForm1\n"     // 9
    "Frame2=TForm3\n"     // 10
    "\n"
    "[Intro]\n"         // 12
    "NoOfFrames=1\n"    // 13
    "Frame1=TForm2\n";  // 14

class ProjviewDamageTest : public ProjviewTest, public testing::WithParamInterface<TDamage> {
 protected:
  std::string Damaged() {
    std::string text = GoodFile;
    const TDamage& d = GetParam();
    size_t at = text.find(std::string(d.Line) + "\n");
    EXPECT_NE(at, std::string::npos);
    return text.replace(at, std::string(d.Line).size(), d.Instead);
  }
  std::map<std::string, Names> Readable() {
    const TDamage& d = GetParam();
    std::map<std::string, Names> groups{{"NotFiledFrames", d.NotFiled}};
    if (d.IntroRead) groups["Intro"] = d.Intro;
    return groups;
  }
};

TEST_P(ProjviewDamageTest, TheMessageNamesTheLineAndTheFileIsNeverRewrittenFromIt) {
  const TDamage& d = GetParam();
  std::string damaged = Damaged();
  WriteFile(IniPath(), damaged);
  std::string trace = Studio.Run("answer no\n" + std::string(Expert) + "screenshot ProjViewDlg " +
                                 Shot(std::string("projview-damaged-") + d.Name) + "\n");
  EXPECT_NE(trace.find("message \"The project sections file is damaged:\\n" + IniPath() + "(" +
                       std::to_string(d.Number) + "): "),
            std::string::npos)
      << trace;
  // Going on without saving: the dialog shows what could be read, works, and writes nothing.
  EXPECT_EQ(Shown(), Readable());
  EXPECT_NE(Dlg().Label2->Caption().find("not saved"), std::string::npos);
  Studio.Run(
      "select ProjViewDlg.ListBox2 \"NotFiledFrames\"\nselect ProjViewDlg.ListBox1 \"TForm1\"\n"
      "type ProjViewDlg.Edit1 \"Help\"\nclick ProjViewDlg.bbAdd 5 5\n"
      "menu ProjViewDlg.ListBox1 \"Move to Help\"\n");
  EXPECT_EQ(Dlg().ListBox2->Items().Count(), static_cast<int>(Readable().size()) + 1);
  EXPECT_EQ(ReadFile(IniPath()), damaged);
  EXPECT_FALSE(std::filesystem::exists(IniPath() + ".bak"));

  // Starting afresh keeps the damaged file aside and writes what could be read.
  Studio.Run("click ProjViewDlg.BitBtn1 5 5\nanswer yes\n" + std::string(Expert));
  EXPECT_EQ(ReadFile(IniPath() + ".bak"), damaged);
  EXPECT_EQ(Ini().ReadInteger("Status", "INIAvailable", 0), 1);
  EXPECT_EQ(FramesInFile("NotFiledFrames"), d.NotFiled);
  EXPECT_EQ(GroupsInFile(), d.IntroRead ? Names{"Intro"} : Names{});
  if (d.IntroRead) {
    EXPECT_EQ(FramesInFile("Intro"), d.Intro);
  }
  EXPECT_EQ(FiledFrames(), (Names{"TForm1", "TForm2", "TForm3"}));
  EXPECT_NE(Dlg().Label2->Caption().find("Right-click"), std::string::npos);
  // The next showing reads the new file without a word.
  trace = Studio.Run("click ProjViewDlg.BitBtn1 5 5\n" + std::string(Expert));
  EXPECT_EQ(trace.find("message"), std::string::npos) << trace;
}

INSTANTIATE_TEST_SUITE_P(
    Projview, ProjviewDamageTest,
    testing::Values(
        TDamage{"MalformedLine",
                "Frame2=TForm3",
                "Frame2 TForm3",
                10,
                {"TForm1", "TForm3"},
                {"TForm2"}},
        TDamage{"TooFewFrameKeys",
                "NoOfFrames=1",
                "NoOfFrames=2",
                13,
                {"TForm1", "TForm3"},
                {"TForm2"}},
        TDamage{"FrameKeyPastTheCount",
                "NoOfFrames=2",
                "NoOfFrames=1",
                10,
                {"TForm1", "TForm3"},
                {"TForm2"}},
        TDamage{"CountNotANumber",
                "NoOfFrames=1",
                "NoOfFrames=one",
                13,
                {"TForm1", "TForm3", "TForm2"},
                {}},
        TDamage{"FrameFiledTwice",
                "Frame1=TForm2",
                "Frame1=TForm1",
                14,
                {"TForm1", "TForm3", "TForm2"},
                {}},
        TDamage{
            "TooFewSectionKeys", "Sections=1", "Sections=2", 3, {"TForm1", "TForm3"}, {"TForm2"}},
        // The section of the group the list no longer names is taken for that group.
        TDamage{"GroupNamedLikeTheStatus",
                "Section1=Intro",
                "Section1=status",
                5,
                {"TForm1", "TForm3"},
                {"TForm2"}},
        TDamage{"SecondSectionOfAName",
                "[Intro]",
                "[NotFiledFrames]\n[Intro]",
                12,
                {"TForm1", "TForm3"},
                {"TForm2"}}),
    [](const testing::TestParamInfo<TDamage>& info) { return std::string(info.param.Name); });

// ---- files as they come back from editors, transfers and accidents

enum class TReading { Same, Damaged, Fresh };

struct TMutation {
  const char* Name;
  std::function<std::string(std::string)> Mutate;
  TReading Reading;
  Names Intro = {"TForm2"};  // Damaged: what a new file from what was read files there
};

void PrintTo(const TMutation& mutation, std::ostream* out) {
  *out << mutation.Name;
}

std::function<std::string(std::string)> Replace(std::string what, std::string with) {
  return [=](std::string text) {
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size()))
      text.replace(at, what.size(), with);
    return text;
  };
}

class ProjviewMutationTest : public ProjviewTest, public testing::WithParamInterface<TMutation> {};

// The groups read as they were, or the file is reported as damaged and kept; it is created
// afresh only when it files no frame.
TEST_P(ProjviewMutationTest, AFileIsReadAsItWasOrReportedNeverQuietlyRegrouped) {
  const TMutation& m = GetParam();
  std::string mutated = m.Mutate(GoodFile);
  WriteFile(IniPath(), mutated);
  std::string trace = Studio.Run("answer no\n" + std::string(Expert));
  bool damaged = m.Reading == TReading::Damaged;
  EXPECT_EQ(trace.find("message \"The project sections file is damaged:\\n" + IniPath() + "(") !=
                std::string::npos,
            damaged)
      << trace;
  if (damaged) {
    EXPECT_EQ(ReadFile(IniPath()), mutated);
    Studio.Run("click ProjViewDlg.BitBtn1 5 5\nanswer yes\n" + std::string(Expert));
    EXPECT_EQ(ReadFile(IniPath() + ".bak"), mutated);
  } else {
    // The next write keeps the grouping, and what it does not know.
    Studio.Run("type ProjViewDlg.Edit1 \"Extra\"\nclick ProjViewDlg.bbAdd 5 5\n");
    for (const char* kept : {"[Other]", "; kept"})
      EXPECT_EQ(ReadFile(IniPath()).find(kept) != std::string::npos,
                mutated.find(kept) != std::string::npos);
  }
  bool fresh = m.Reading == TReading::Fresh;
  EXPECT_EQ(GroupsInFile(), (fresh     ? Names{"Extra"}
                             : damaged ? Names{"Intro"}
                                       : Names{"Intro", "Extra"}));
  EXPECT_EQ(FramesInFile("Intro"), fresh ? Names{} : m.Intro);
  EXPECT_EQ(FiledFrames(), (Names{"TForm1", "TForm2", "TForm3"}));
}

INSTANTIATE_TEST_SUITE_P(
    Projview, ProjviewMutationTest,
    testing::Values(
        TMutation{"CrCrLfInAGroup", Replace("TForm2\n", "TForm2\r\r\n"), TReading::Same},
        TMutation{"CrCrLfThroughout", Replace("\n", "\r\r\n"), TReading::Same},
        TMutation{"CommentsAndBlankLines", Replace("[", "; kept\n\n["), TReading::Same},
        TMutation{"FlagMissing", Replace("INIAvailable=1\n", ""), TReading::Damaged},
        TMutation{"FlagMisspelt", Replace("INIAvailable", "INIAvaliable"), TReading::Damaged},
        TMutation{"FlagZero", Replace("INIAvailable=1", "INIAvailable=0"), TReading::Damaged},
        TMutation{"FlagJoinedByALoneCr", Replace("[Status]\n", "[Status]\r"), TReading::Damaged},
        TMutation{"StatusLost", [](std::string t) { return t.substr(t.find("[NotFiledFrames]")); },
                  TReading::Damaged},
        TMutation{"GroupListJoinedByLoneCrs", Replace("=1\nSection", "=1\rSection"),
                  TReading::Damaged},
        TMutation{
            "AFrameWithANote", Replace("=TForm2", "=TForm2 ; the way in"), TReading::Damaged, {}},
        TMutation{"NewFlagged", [](std::string) { return "[Status]\nINIAvailable=0\n"; },
                  TReading::Fresh},
        TMutation{"SomeoneElsesSettings", [](std::string) { return "[Other]\nKey=1\n"; },
                  TReading::Fresh}),
    [](const testing::TestParamInfo<TMutation>& info) { return std::string(info.param.Name); });

// ---- files that cannot be used

TEST_F(ProjviewTest, AChangeTheFileCannotTakeIsRefusedAndTheListsStayAsTheFileHasThem) {
  WriteFile(IniPath(), GoodFile);
  std::filesystem::permissions(IniPath(), std::filesystem::perms::owner_read);
  Studio.Run(Expert);
  const std::map<std::string, Names> good = {{"NotFiledFrames", {"TForm1", "TForm3"}},
                                             {"Intro", {"TForm2"}}};
  for (const std::string& change :
       {std::string("type ProjViewDlg.Edit1 \"Help\"\nclick ProjViewDlg.bbAdd 5 5\n"),
        std::string("menu ProjViewDlg.ListBox1 \"Move to Intro\"\n"),
        std::string("key ProjViewDlg.ListBox1 Ctrl+Down\n"),
        std::string("select ProjViewDlg.ListBox2 \"Intro\"\nanswer yes\n"
                    "click ProjViewDlg.bbDel 5 5\n")}) {
    std::string trace = Studio.Run(
        "select ProjViewDlg.ListBox2 \"NotFiledFrames\"\n"
        "select ProjViewDlg.ListBox1 \"TForm1\"\n" +
        change);
    EXPECT_NE(trace.find("message \"The project sections file cannot be written: "),
              std::string::npos)
        << trace;
    EXPECT_EQ(Shown(), good) << change;
    EXPECT_EQ(ReadFile(IniPath()), GoodFile);
  }
  // The refused group is not offered as a place to move to either.
  EXPECT_THROW(Studio.Run("menu ProjViewDlg.ListBox1 \"Move to Help\"\n"), host::EParserError);
}

TEST_F(ProjviewTest, AShowingThatCannotSaveOrReadGoesOnWithoutSaving) {
  // TForm3 is in no group: the showing files it, and cannot write that.
  std::string file = Replace("NoOfFrames=2\nFrame1=TForm1\nFrame2=TForm3",
                             "NoOfFrames=1\nFrame1=TForm1")(GoodFile);
  WriteFile(IniPath(), file);
  std::filesystem::permissions(IniPath(), std::filesystem::perms::owner_read);
  std::string trace = Studio.Run(Expert);
  EXPECT_NE(trace.find("message \"The project sections file cannot be written: "),
            std::string::npos)
      << trace;
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm3"}));
  EXPECT_NE(Dlg().Label2->Caption().find("not saved"), std::string::npos);
  EXPECT_EQ(ReadFile(IniPath()), file);

  // A folder in the file's place: told, and left as it is.
  std::filesystem::remove(IniPath());
  std::filesystem::create_directory(IniPath());
  trace = Studio.Run("click ProjViewDlg.BitBtn2 5 5\n");
  EXPECT_NE(trace.find(IniPath() + "\\\": is a directory"), std::string::npos) << trace;
  EXPECT_EQ(FrameList(), (Names{"TForm1", "TForm2", "TForm3"}));
  EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
}

TEST_F(ProjviewTest, AFrameWhoseUnitCannotBeReadKeepsItsGroup) {
  WriteFile(IniPath(), GoodFile);
  std::filesystem::rename(Studio.File("Unit2.pas"), Studio.File("Unit2.keep"));
  std::filesystem::create_directory(Studio.File("Unit2.pas"));
  std::string trace = Studio.Run(Expert + std::string("click ProjViewDlg.BitBtn2 5 5\n"));
  EXPECT_NE(trace.find("message \"There might be a new form"), std::string::npos) << trace;
  EXPECT_EQ(ReadFile(IniPath()), GoodFile);
  EXPECT_EQ(Shown()["Intro"], Names{"TForm2"});
  std::filesystem::remove(Studio.File("Unit2.pas"));
  std::filesystem::rename(Studio.File("Unit2.keep"), Studio.File("Unit2.pas"));
}

// ---- thumbnails

class ProjviewThumbnailTest : public ProjviewTest {
 protected:
  // Form1 is wider than high, red on the left and blue on the right: a picture squeezed into
  // the square without keeping its proportions still shows both halves side by side.
  ProjviewThumbnailTest()
      : ProjviewTest({"object Form1: TForm1\n  Width = 400\n  Height = 200\n  Color = clRed\n"
                      "  object Panel1: TPanel\n    Left = 200\n    Top = 0\n    Width = 200\n"
                      "    Height = 200\n    BevelOuter = bvNone\n    Color = clBlue\n  end\nend\n",
                      FrameText(2, "clLime"), FrameText(3, "clBlue")}) {}

  const host::TRawImage& Shown(const std::string& frame) {
    Studio.Run("select ProjViewDlg.ListBox1 \"" + frame + "\"\n");
    const auto& image = Dlg().Thumbnail->Picture().Image();
    EXPECT_NE(image, nullptr);
    static const host::TRawImage none;
    return image ? *image : none;
  }
};

TEST_F(ProjviewThumbnailTest, EachFrameShowsItsFormSqueezedIntoASquare) {
  Studio.Run(Expert);
  const host::TRawImage& first = Shown("TForm1");
  ASSERT_EQ(first.Width, 150);
  ASSERT_EQ(first.Height, 150);
  for (int y : {20, 75, 130}) {
    EXPECT_EQ(first.Pixel(30, y), Red) << y;
    EXPECT_EQ(first.Pixel(120, y), Blue) << y;
  }
  EXPECT_EQ(Shown("TForm2").Pixel(75, 75), Lime);
  EXPECT_EQ(Shown("TForm3").Pixel(75, 75), Blue);

  // The dialog shows the picture as it is: its own picture, taken as a person sees it.
  std::string shot = Shot("projview-thumbnail");
  Studio.Run("select ProjViewDlg.ListBox1 \"TForm1\"\nscreenshot ProjViewDlg " + shot + "\n");
  host::TRawImage dialog = host::CaptureForm(Dlg());
  const int left = Dlg().Panel1->Left() + Dlg().Thumbnail->Left();
  const int top = Dlg().Panel1->Top() + Dlg().Thumbnail->Top();
  EXPECT_EQ(dialog.Pixel(left + 30, top + 75), Red);
  EXPECT_EQ(dialog.Pixel(left + 120, top + 75), Blue);

  // A frame that moves to another group takes a fresh picture along.
  Studio.Form("Form2").SetColor(host::clYellow);
  Studio.Run(
      "type ProjViewDlg.Edit1 \"Intro\"\nclick ProjViewDlg.bbAdd 5 5\n"
      "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Intro\"\n"
      "select ProjViewDlg.ListBox2 \"Intro\"\n");
  EXPECT_EQ(Shown("TForm2").Pixel(75, 75), 0xFFFFFF00u);
}

TEST_F(ProjviewThumbnailTest, AFrameWhoseFormIsNotShowingIsACrossedSquare) {
  Studio.Form("Form3").Hide();
  Studio.Run(Expert +
             std::string("select ProjViewDlg.ListBox1 \"TForm3\"\nscreenshot ProjViewDlg ") +
             Shot("projview-no-picture") + "\n");
  const host::TRawImage& cross = Shown("TForm3");
  ASSERT_EQ(cross.Width, 150);
  for (int i : {0, 40, 149}) {
    EXPECT_EQ(cross.Pixel(i, i), Black) << i;
    EXPECT_EQ(cross.Pixel(149 - i, i), Black) << i;
    EXPECT_EQ(cross.Pixel(i, 0), Black) << i;
  }
  EXPECT_EQ(cross.Pixel(75, 20), White);
  EXPECT_EQ(Shown("TForm2").Pixel(75, 75), Lime);
}

TEST_F(ProjviewThumbnailTest, TheListDrawsEachFrameWithItsOwnThumbnailInA155PixelItem) {
  Studio.Form("Form3").Hide();
  Studio.Run(Expert + std::string("screenshot ProjViewDlg ") + Shot("projview-list") + "\n");
  host::TListBox& list = *Dlg().ListBox1;
  EXPECT_EQ(list.Style(), host::lbOwnerDrawFixed);
  EXPECT_EQ(list.ItemHeight(), mebrox::TProjViewDlg::ItemSize);
  EXPECT_EQ(list.ItemHeight(), 155);

  // What an item draws: the picture 2 pixels down, the name 8 pixels right of it and 77 down;
  // a frame not showing, a crossed 155-pixel square with the name right of it.
  struct TCase {
    int Index;
    std::string Name;
    bool Picture;
    int TextLeft;
  };
  for (const TCase& c : {TCase{0, "TForm1", true, 158}, TCase{1, "TForm2", true, 158},
                         TCase{2, "TForm3", false, 163}}) {
    SCOPED_TRACE(c.Name);
    host::TMetricSurface surface;
    const host::TRect item{10, 155 * c.Index, 270, 155 * (c.Index + 1)};
    list.DrawItem(surface, c.Index, item, {});
    std::vector<host::TCanvasOp> images = surface.OpsOf(host::ckImage);
    std::vector<host::TCanvasOp> lines = surface.OpsOf(host::ckLine);
    if (c.Picture) {
      ASSERT_EQ(images.size(), 1u);
      EXPECT_EQ(images[0].Rect, (host::TRect{10, item.Top + 2, 160, item.Top + 152}));
      EXPECT_TRUE(lines.empty());
    } else {
      EXPECT_TRUE(images.empty());
      ASSERT_EQ(lines.size(), 2u);
      EXPECT_EQ(lines[0].Rect, (host::TRect{10, item.Top, 164, item.Top + 154}));
      EXPECT_EQ(lines[1].Rect, (host::TRect{164, item.Top, 10, item.Top + 154}));
    }
    std::vector<host::TCanvasOp> texts = surface.OpsOf(host::ckText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, c.Name);
    EXPECT_EQ(texts[0].Rect.Left, 10 + c.TextLeft);
    EXPECT_EQ(texts[0].Rect.Top, item.Top + 77);
  }

  // And as the dialog shows them: the first frame's red and blue halves, the second's green
  // below it, each where its own item is.
  host::TRawImage dialog = host::CaptureForm(Dlg());
  const int x = list.Left() + 2, y = list.Top() + 2 + 2;
  EXPECT_EQ(dialog.Pixel(x + 30, y + 75), Red);
  EXPECT_EQ(dialog.Pixel(x + 120, y + 75), Blue);
  EXPECT_EQ(dialog.Pixel(x + 75, y + 155 + 75), Lime);
}

// ---- odd projects

// The design session opens no project without a form, so a project without frames comes from
// tool services of its own, beside the studio's.
class TNoFrames : public ide::TIToolServices {
 public:
  explicit TNoFrames(std::string project) : FProject(std::move(project)) {}
  std::string GetProjectName() override { return FProject; }
  int GetUnitCount() override { return 0; }
  std::string GetUnitName(int) override { return {}; }
  int GetFormCount() override { return 0; }
  bool GetNewModuleName(std::string&, std::string&) override { return false; }
  bool CreateModule(const std::string&, ide::TIMemoryStream&, ide::TIMemoryStream&,
                    ide::TCreateModuleFlags) override {
    return false;
  }

 private:
  std::string FProject;
};

TEST_F(ProjviewTest, AProjectWithoutFramesHasAnEmptyNotFiledGroup) {
  TNoFrames empty(Studio.File("Empty.dpr"));
  Studio.Core().SetToolServices(&empty);
  struct TRestore {
    TStudioFixture& Studio;
    ~TRestore() { Studio.Core().SetToolServices(&Studio.Session()); }
  } restore{Studio};
  std::string trace = Studio.Run(Expert + std::string("type ProjViewDlg.Edit1 \"Intro\"\n") +
                                 "click ProjViewDlg.bbAdd 5 5\n"
                                 "key ProjViewDlg.ListBox1 Ctrl+Down\n"
                                 "select ProjViewDlg.ListBox2 \"Intro\"\n"
                                 "click ProjViewDlg.bbDel 5 5\n"
                                 "click ProjViewDlg.BitBtn2 5 5\n");
  EXPECT_EQ(trace.find("error"), std::string::npos) << trace;
  host::TIniFile ini(Studio.File("Empty.INI"));
  EXPECT_EQ(ini.ReadInteger("NotFiledFrames", "NoOfFrames", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Status", "Sections", -1), 0);
  EXPECT_EQ(GroupList(), (Names{"NotFiledFrames"}));
  EXPECT_EQ(FrameList(), Names{});
  EXPECT_EQ(Dlg().Thumbnail->Picture().Image(), nullptr);
  // Without a frame the menu has nothing to move: a script that tries is told so.
  EXPECT_THROW(Studio.Run("menu ProjViewDlg.ListBox1 \"Move Up\"\n"), host::EParserError);
}

const char* const MixedProject =
    "program Test;\n\nuses\n  Forms,\n  Unit1 in 'Unit1.pas' {Form1},\n"
    "  Plain in 'Plain.pas',\n  Unit2 in 'Unit2.pas' {Form2};\n\nbegin\n"
    "  Application.CreateForm(TForm1, Form1);\n  Application.CreateForm(TForm2, Form2);\nend.\n";

class ProjviewUnitsTest : public ProjviewTest {
 protected:
  // A unit without a form between the two form units, and a form class indented with a tab.
  ProjviewUnitsTest()
      : ProjviewTest({FrameText(1, "clRed"), FrameText(2, "clLime")},
                     {{"Test.dpr", MixedProject},
                      {"Plain.pas", "unit Plain;\n\ninterface\n\nimplementation\n\nend.\n"},
                      {"Unit2.pas",
                       "unit Unit2;\n\ninterface\n\ntype\n\tTForm2 = class(TForm)\n  end;\n\n"
                       "end.\n"}}) {}
};

TEST_F(ProjviewUnitsTest, FramesAreCountedAmongTheUnitsThatDeclareForms) {
  ide::TIToolServices* project = &Studio.Session();
  ASSERT_EQ(project->GetUnitCount(), 3);
  std::string name = "before";
  mebrox::Projview::GetFormName(project, 0, name);
  EXPECT_EQ(name, "TForm1");
  mebrox::Projview::GetFormName(project, 1, name);
  EXPECT_EQ(name, "TForm2");
  // No such frame: the name stays as it was.
  mebrox::Projview::GetFormName(project, 2, name);
  EXPECT_EQ(name, "TForm2");
  std::unique_ptr<host::TStringList> names = mebrox::Projview::GetFormNames(project);
  EXPECT_EQ(names->Items(), (Names{"TForm1", "TForm2", "TForm2", "TForm2"}));

  Studio.Run(Expert);
  EXPECT_EQ(FramesInFile("NotFiledFrames"), (Names{"TForm1", "TForm2"}));

  host::TIniFile ini = Ini();
  ini.WriteString("Status", "Extra", "1");
  mebrox::Projview::RemoveINIEntry(ini, "Status", "Extra");
  EXPECT_FALSE(ini.ValueExists("Status", "Extra"));
  EXPECT_EQ(ini.ReadString("Status", "Section0", ""), "NotFiledFrames");
}

// ---- an ordinary INI file

TEST_F(ProjviewTest, PythonsConfigParserReadsTheFileAsTheKitDoes) {
  if (std::system("python3 -c 'import configparser' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3 is not installed";
  Studio.Run(Expert +
             std::string("type ProjViewDlg.Edit1 \"Intro\"\nclick ProjViewDlg.bbAdd 5 5\n") +
             "type ProjViewDlg.Edit1 \"Rock & Roll\"\nclick ProjViewDlg.bbAdd 5 5\n"
             "select ProjViewDlg.ListBox1 \"TForm2\"\nmenu ProjViewDlg.ListBox1 \"Move to Intro\"\n"
             "menu ProjViewDlg.ListBox1 \"Move to Rock & Roll\"\n");
  ASSERT_EQ(FramesInFile("Rock & Roll"), (Names{"TForm3"}));

  std::string script = Studio.File("read.py");
  WriteFile(script,
            "import configparser, sys\n"
            "parser = configparser.ConfigParser(strict=False, interpolation=None)\n"
            "parser.optionxform = str\n"
            "parser.read(sys.argv[1])\n"
            "for section in parser.sections():\n"
            "    for key, value in parser.items(section):\n"
            "        print(section + '/' + key + '=' + value)\n");
  std::string command = "python3 '" + script + "' '" + IniPath() + "'";
  std::string python;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) python += buffer;
    ASSERT_EQ(::pclose(pipe), 0) << python;
  }
  std::string kit;
  host::TIniFile ini = Ini();
  host::TStringList sections, keys;
  ini.ReadSections(sections);
  for (const std::string& section : sections.Items()) {
    ini.ReadSection(section, keys);
    for (const std::string& key : keys.Items())
      kit += section + "/" + key + "=" + ini.ReadString(section, key, "") + "\n";
  }
  EXPECT_EQ(python, kit);
  EXPECT_NE(kit.find("Rock & Roll/Frame1=TForm3\n"), std::string::npos) << kit;
}

}  // namespace
