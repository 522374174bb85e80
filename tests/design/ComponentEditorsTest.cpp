#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "design/WavePlyEd.h"
#include "host/Dialogs.h"
#include "host/SysUtils.h"
#include "ide/ClassProperty.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"
#include "runtime/HyperImg.h"
#include "runtime/Hyprarea.h"
#include "runtime/WavePly.h"
#include "tests/WaveSupport.h"
#include "tests/design/StudioFixture.h"
#include "tests/host/DiskAudio.h"

namespace {

using mebrox::TAction;
using testing_support::TStudioFixture;

const char* const FormText =
    "object Form1: TForm1\n  Width = 400\n  Height = 300\n"
    "  object HyperImage1: THyperImage\n    Left = 8\n    Top = 8\n  end\n"
    "  object HyperArea1: THyperArea\n    Left = 200\n    Top = 8\n  end\n"
    "  object WavePlay1: TWavePlay\n  end\n"
    "  object WavePlay2: TWavePlay\n    WaveName = 'other.wav'\n  end\n"
    "end\n";

class ComponentEditorsTest : public testing::Test {
 protected:
  TAction& ImageAction() {
    return dynamic_cast<mebrox::THyperImage&>(Studio.Component("Form1", "HyperImage1")).Action();
  }
  TAction& AreaAction() {
    return dynamic_cast<mebrox::THyperArea&>(Studio.Component("Form1", "HyperArea1")).Action();
  }
  mebrox::TWavePlay& Player(const std::string& name = "WavePlay1") {
    return dynamic_cast<mebrox::TWavePlay&>(Studio.Component("Form1", name));
  }
  // The player's stored wave, as "WorkDir|WaveName".
  std::string Stored(const std::string& name = "WavePlay1") {
    return Player(name).GetWorkDir() + "|" + Player(name).GetWaveName();
  }
  std::string Wave(const std::string& relative) {
    std::string path = Studio.File(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testing_support::WriteTone(path, 2205);
    return path;
  }

  TStudioFixture Studio{{FormText}};
  testing_support::TempDir Elsewhere;
  std::vector<host::TFileDialogRequest>& Requests = Studio.FileRequests();
};

// ---- Hot image and hot area

TEST_F(ComponentEditorsTest, TheOneVerbOfAHotComponentDescribesItsActionAndDoesNothing) {
  struct TCase {
    mebrox::TActionAttrs Type;
    std::string Verb;
  };
  const std::vector<TCase> cases = {{mebrox::acFrame, "Show  : Form2"},
                                    {mebrox::acExecute, "Run   : tool.sh"},
                                    {mebrox::acWavePlay, "Audio : WavePlay1"},
                                    {mebrox::acDesc, "Desc. : A note"},
                                    {mebrox::acBookMark, "Action: Book Mark"},
                                    {mebrox::acClose, "Action: Close"},
                                    {mebrox::acNone, "No Action"}};
  for (const std::string component : {"HyperImage1", "HyperArea1"}) {
    TAction& action = component == "HyperImage1" ? ImageAction() : AreaAction();
    // Every field holds a value, so that a verb showing the wrong one is seen.
    action.SetFrame("Form2");
    action.SetFileToRun("tool.sh");
    action.SetWaveComp("WavePlay1");
    action.SetDesc("A note");
    action.SetWorkDir("/bin");
    action.SetParam("-x");
    for (const TCase& c : cases) {
      SCOPED_TRACE(component + " " + c.Verb);
      action.SetActionType(c.Type);
      EXPECT_EQ(Studio.Run("verb Form1." + component + " 0\n"),
                "verb " + mebrox::QuoteTraceString(c.Verb) + "\n");
      EXPECT_THROW(Studio.Run("verb Form1." + component + " 1\n"), host::EParserError);
      EXPECT_EQ(action.ActionType(), c.Type);
    }
  }
  EXPECT_FALSE(Studio.Session().Modified());
}

// Stands in for the Action wizard: records which editors the double-click made and opened.
std::vector<std::string> Made, Opened;

class TRecordingEditor : public ide::TClassProperty {
 public:
  TRecordingEditor(ide::IDesigner& designer, std::vector<host::TPersistent*> instances,
                   const host::TPropInfo& propInfo)
      : ide::TClassProperty(designer, std::move(instances), propInfo) {
    Made.push_back(propInfo.Name);
  }
  ide::TPropertyAttributes GetAttributes() const override { return {ide::paDialog}; }
  void Edit() override { Opened.push_back(GetName()); }
};

TEST_F(ComponentEditorsTest, ADoubleClickOpensTheActionEditorAndStopsThere) {
  const host::TClassInfo* image = &mebrox::THyperImage::StaticClassInfo();
  Studio.Core().Registry().RegisterPropertyEditor<TRecordingEditor>(ide::ClassType<TAction>(),
                                                                    nullptr, "Action");
  // About comes before Action, AllowShadow after it.
  Studio.Core().Registry().RegisterPropertyEditor<TRecordingEditor>(
      ide::ClassType<mebrox::TAboutMebrox>(), nullptr, "About");
  Studio.Core().Registry().RegisterPropertyEditor<TRecordingEditor>(ide::BooleanType(), image,
                                                                    "AllowShadow");
  for (const std::string component : {"HyperImage1", "HyperArea1"}) {
    SCOPED_TRACE(component);
    Made.clear();
    Opened.clear();
    EXPECT_EQ(Studio.Run("dblclick Form1." + component + "\n"), "");
    EXPECT_EQ(Made, (std::vector<std::string>{"About", "Action"}));
    EXPECT_EQ(Opened, (std::vector<std::string>{"Action"}));
  }
}

// ---- Wave player

TEST_F(ComponentEditorsTest, TheWavePlayerHasFourVerbsAndANameEditorWithADialog) {
  std::string verbs;
  std::istringstream trace(
      Studio.Run("verb Form1.WavePlay1 0\n"
                 "verb Form1.WavePlay1 1\n"
                 "verb Form1.WavePlay1 3\n"));
  for (std::string line; std::getline(trace, line);)
    if (line.starts_with("verb ") || line.starts_with("file ")) verbs += line + "\n";
  EXPECT_EQ(verbs,
            "verb \"Wave &Name...\"\n"
            "file open \"\" -> cancel\n"
            "verb \"&Play\"\n"
            "verb \"C&lose\"\n");
  EXPECT_THROW(Studio.Run("verb Form1.WavePlay1 4\n"), host::EParserError);
  ide::IDesigner& designer = Studio.Session().DesignerOf(Studio.Form("Form1"));
  auto editor = ide::FindPropertyEditor(designer, Player(), "WaveName");
  ASSERT_NE(dynamic_cast<mebrox::TWaveNameProperty*>(editor.get()), nullptr);
  EXPECT_EQ(editor->GetAttributes(), ide::TPropertyAttributes{ide::paDialog});
  // The picker offers wave files only.
  ASSERT_EQ(Requests.size(), 1u);
  EXPECT_EQ(Requests[0].Filter, "Wave Files, *.WAV|*.WAV");
}

TEST_F(ComponentEditorsTest, AWaveInsideTheProjectIsStoredRelativeToItAndPlaysFromThere) {
  Wave("Sounds/Ding.WAV");
  std::string trace = Studio.Run(
      "file \"Sounds/Ding.WAV\"\n"
      "verb Form1.WavePlay1 0\n"
      "verb Form1.WavePlay1 1\n"
      "verb Form1.WavePlay1 3\n");
  EXPECT_EQ(Stored(), "|Sounds/Ding.WAV");
  EXPECT_TRUE(Studio.Session().Modified());
  EXPECT_NE(trace.find("mci \"Open Sounds/Ding.WAV type WaveAudio alias TForm1WavePlay1\" -> 0\n"
                       "mci \"Play TForm1WavePlay1 from 0 \" -> 0\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("mci \"Close TForm1WavePlay1\" -> 0"), std::string::npos) << trace;

  // The picker starts at the stored wave; a name without extension gets ".wav".
  Wave("Chime.wav");
  Studio.Run("file \"Chime\"\nverb Form1.WavePlay1 0\n");
  EXPECT_EQ(Requests.back().FileName, "Sounds/Ding.WAV");
  EXPECT_EQ(Stored(), "|Chime.wav");
}

// A wave picked from outside the project is copied into it, so that the project carries it: under
// its own name and case, under a free name when another file holds that one, and not again when
// the copy is there already. The designer is told where it went.
TEST_F(ComponentEditorsTest, AWaveOutsideTheProjectIsCopiedInUnderAFreeName) {
  std::filesystem::create_directories(Elsewhere.File("Waves"));
  std::filesystem::create_directories(Elsewhere.File("Other"));
  testing_support::WriteTone(Elsewhere.File("Waves/Ding.WAV"), 2205);
  testing_support::WriteTone(Elsewhere.File("Other/Ding.WAV"), 4410);
  std::string trace = Studio.Run("file \"" + Elsewhere.File("Waves/Ding.WAV") +
                                 "\"\n"
                                 "edit Form1.WavePlay1 WaveName\n");
  EXPECT_EQ(Stored(), "|Ding.WAV");
  EXPECT_EQ(testing_support::ReadFile(Studio.File("Ding.WAV")),
            testing_support::ReadFile(Elsewhere.File("Waves/Ding.WAV")));
  EXPECT_NE(trace.find("message \"The wave Ding.WAV lies outside the project folder; the project "
                       "now names a copy of it there: Ding.WAV.\""),
            std::string::npos)
      << trace;

  // Another file of that name takes the next free one; the same file again finds its copy, also
  // when named the way a network share is (two leading separators).
  trace = Studio.Run("file \"" + Elsewhere.File("Other/Ding.WAV") +
                     "\"\n"
                     "verb Form1.WavePlay2 0\n"
                     "file \"/" +
                     Elsewhere.File("Waves/Ding.WAV") +
                     "\"\n"
                     "edit Form1.WavePlay1 WaveName\n"
                     "verb Form1.WavePlay2 1\n");
  EXPECT_EQ(Stored("WavePlay2"), "|Ding-2.WAV");
  EXPECT_EQ(Stored(), "|Ding.WAV");
  EXPECT_FALSE(std::filesystem::exists(Studio.File("Ding-3.WAV")));
  EXPECT_NE(trace.find("mci \"Open Ding-2.WAV type WaveAudio alias TForm1WavePlay2\" -> 0"),
            std::string::npos)
      << trace;
}

TEST_F(ComponentEditorsTest, ACancelledPickerOrAFileThatIsNoWaveChangesNothing) {
  Player().SetWorkDir("/sounds/");
  Player().SetWaveName("old.wav");
  testing_support::WriteFile(Studio.File("notes.wav"), "These are notes, not a sound.");
  std::string trace = Studio.Run(
      "verb Form1.WavePlay1 0\n"
      "edit Form1.WavePlay1 WaveName\n"
      "file \"notes.wav\"\n"
      "answer ok\n"
      "verb Form1.WavePlay1 0\n"
      "file \"notes.wav\"\n"
      "answer ok\n"
      "edit Form1.WavePlay1 WaveName\n");
  EXPECT_EQ(Stored(), "/sounds/|old.wav");
  EXPECT_FALSE(Studio.Session().Modified());
  // The designer is told which file was refused, once per attempt.
  size_t told = 0;
  for (size_t at = trace.find("message "); at != std::string::npos;
       at = trace.find("message ", at + 1)) {
    size_t end = trace.find('\n', at);
    EXPECT_NE(trace.substr(at, end - at).find(Studio.File("notes.wav")), std::string::npos)
        << trace;
    ++told;
  }
  EXPECT_EQ(told, 2u) << trace;
}

TEST_F(ComponentEditorsTest, TheNameEditorReadsAndWritesTheFirstPlayerOnly) {
  Wave("a.wav");
  ide::IDesigner& designer = Studio.Session().DesignerOf(Studio.Form("Form1"));
  const host::TPropInfo& waveName = *Player().ClassInfo().FindProperty("WaveName");
  auto editor = ide::CreatePropertyEditor(designer, {&Player("WavePlay2"), &Player()}, waveName);
  EXPECT_EQ(editor->GetValue(), "other.wav");
  editor->SetValue("b.wav");
  EXPECT_EQ(Player("WavePlay2").GetWaveName(), "b.wav");
  EXPECT_EQ(Player().GetWaveName(), "");
  EXPECT_TRUE(Studio.Session().Modified());

  // Typing a new name closes the device that plays the old one.
  std::string trace = Studio.Run(
      "set Form1.WavePlay1 WaveName a.wav\n"
      "verb Form1.WavePlay1 1\n"
      "set Form1.WavePlay1 WaveName b.wav\n");
  EXPECT_EQ(ide::GetPropertyText(designer, Player(), "WaveName"), "b.wav");
  EXPECT_NE(trace.find("-> 0\nmci \"Close TForm1WavePlay1\" -> 0\n"), std::string::npos) << trace;
}

TEST_F(ComponentEditorsTest, ARecordingKeptIsStoredLikeAPickedWaveAndNoneChangesNothing) {
  EXPECT_EQ(Studio.Run("verb Form1.WavePlay1 2\n"
                       "click SoundRecorderDlg.CancelBtn 5 5\n"),
            "verb \"&Record...\"\n"
            "modal TSoundRecorderDlg \"Sound Recorder\"\n"
            "closed TSoundRecorderDlg -> cancel\n");
  EXPECT_EQ(Stored(), "|");
  EXPECT_FALSE(Studio.Session().Modified());

  // The recording device reads a tone through SDL's disk driver; the sound output lets SDL go
  // first, so that the driver is taken up.
  host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
  {
    testing_support::TDiskAudio disk(testing_support::TestSignal(22050));
    Studio.Run(
        "verb Form1.WavePlay1 2\n"
        "click SoundRecorderDlg.RecordBtn 5 5\n"
        "wait 500\n"
        "click SoundRecorderDlg.StopBtn 5 5\n"
        "click SoundRecorderDlg.KeepBtn 5 5\n");
  }
  host::Mci().SetOutput(nullptr);
  EXPECT_TRUE(host::FileExists(Studio.File("Sound1.wav")));
  EXPECT_EQ(Stored(), "|Sound1.wav");
  EXPECT_TRUE(Studio.Session().Modified());
}

}  // namespace
