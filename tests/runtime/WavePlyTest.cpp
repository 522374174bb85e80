#include "runtime/WavePly.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/Dialogs.h"
#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/Mci.h"
#include "runtime/RuntimeClasses.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using namespace mebrox;
using Lines = std::vector<std::string>;

using testing_support::WriteTone;

// Opens the simple-sound path to tests.
class TSimpleSoundPlayer : public TWavePlay {
 public:
  using TWavePlay::TWavePlay;
  using TWavePlay::UseSimpleSound;
};

class WavePlayTest : public testing::Test, protected testing_support::QuietMci {
 protected:
  void SetUp() override {
    ShownBefore = Dialogs().Shown().size();
    Form->SetName("Form1");
    Form->SetClassName("TForm1");
    WriteTone(Dir.File("ding.wav"), 22050);  // one second
  }
  void TearDown() override { Form.reset(); }

  static host::TScriptedDialogs& Dialogs() {
    return static_cast<host::TScriptedDialogs&>(host::DialogService());
  }
  Lines Messages() const {
    Lines texts;
    for (size_t i = ShownBefore; i < Dialogs().Shown().size(); ++i)
      texts.push_back(Dialogs().Shown()[i].Message);
    return texts;
  }
  template <class T = TWavePlay>
  T* NewPlayer(const std::string& name, const std::string& waveName, const std::string& workDir) {
    auto* player = new T(Form.get());
    player->SetName(name);
    player->SetWaveName(waveName);
    player->SetWorkDir(workDir);
    return player;
  }
  Lines TakeCommands() {
    Lines taken;
    taken.swap(Commands);
    Results.clear();
    return taken;
  }
  static std::string ErrorText(int code) {
    std::string text;
    host::mciGetErrorString(code, text);
    return "(" + std::to_string(code - host::MCIERR_BASE) + ") " + text;
  }

  testing_support::ScopedWindowsDir WindowsDir;
  testing_support::TempDir Dir;
  std::unique_ptr<host::TForm> Form = std::make_unique<host::TForm>(nullptr);
  size_t ShownBefore = 0;
};

TEST_F(WavePlayTest, DrivesTheDeviceWithItsCommandStrings) {
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", Dir.Path());
  const std::string open = "Open " + Dir.Path() + "/ding.wav type WaveAudio alias TForm1WavePlay1";

  player->Play();
  EXPECT_EQ(TakeCommands(), (Lines{open, "Play TForm1WavePlay1 from 0 "}));
  EXPECT_EQ(player->LastError(), 0);
  EXPECT_TRUE(player->Opened());
  EXPECT_EQ(player->GetWorkDir(), Dir.Path() + "/");
  EXPECT_EQ(player->Status("mode"), "playing");
  Clock->Advance(999);
  EXPECT_EQ(player->Status("mode"), "playing");
  Clock->Advance(1);
  EXPECT_EQ(player->Status("mode"), "stopped");
  EXPECT_EQ(TakeCommands(), Lines(3, "status TForm1WavePlay1 mode"));

  // The device stayed open: playing again starts from the beginning without reopening.
  player->Play();
  player->Pause();
  EXPECT_EQ(player->Status("mode"), "paused");
  player->Resume();
  EXPECT_EQ(player->Status("mode"), "playing");
  EXPECT_EQ(TakeCommands(), (Lines{"Play TForm1WavePlay1 from 0 ", "Pause TForm1WavePlay1",
                                   "status TForm1WavePlay1 mode", "Resume TForm1WavePlay1",
                                   "status TForm1WavePlay1 mode"}));
  EXPECT_EQ(player->LastError(), 0);

  player->Rewind();
  player->CloseWave();
  EXPECT_EQ(TakeCommands(), (Lines{"Seek TForm1WavePlay1 to start", "Close TForm1WavePlay1"}));
  EXPECT_FALSE(player->Opened());
  EXPECT_EQ(host::Mci().DeviceCount(), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(WavePlayTest, RewindStopsAtTheStartAndLeavesThePlayerWorking) {
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", Dir.Path());
  player->Rewind();  // nothing open, nothing to rewind
  EXPECT_TRUE(TakeCommands().empty());
  player->Play();
  Clock->Advance(600);
  player->Rewind();
  EXPECT_EQ(player->LastError(), 0);
  EXPECT_EQ(player->Status("mode"), "stopped");
  EXPECT_EQ(player->Status("position"), "0");
  player->Resume();
  player->Play();
  EXPECT_EQ(player->Status("mode"), "playing");
  EXPECT_EQ(player->LastError(), 0);
}

TEST_F(WavePlayTest, WorkDirGainsASeparatorOnceAndReachesMciUnchanged) {
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", "C:\\SOUNDS\\");
  player->Open();
  EXPECT_EQ(TakeCommands(),
            Lines{"Open C:\\SOUNDS\\ding.wav type WaveAudio alias TForm1WavePlay1"});
  EXPECT_EQ(player->GetWorkDir(), "C:\\SOUNDS\\");

  player->SetWorkDir(Dir.Path());
  player->Open();
  player->CloseWave();
  player->Open();
  EXPECT_EQ(player->GetWorkDir(), Dir.Path() + "/");
  const std::string open = "Open " + Dir.Path() + "/ding.wav type WaveAudio alias TForm1WavePlay1";
  EXPECT_EQ(TakeCommands(), (Lines{open, "Close TForm1WavePlay1", open}));
  EXPECT_TRUE(player->Opened());
}

TEST_F(WavePlayTest, EmptyWorkDirIsTheExecutablesDirectoryAtRunTimeOnly) {
  const std::string oldExe = host::Application->ExeName();
  host::Application->SetExeName(Dir.File("mebrox-run"));
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", "");
  player->Play();
  // Once taken, the directory stays, whatever becomes of the executable's name.
  host::Application->SetExeName("/elsewhere/mebrox-run");
  player->CloseWave();
  player->Play();
  host::Application->SetExeName(oldExe);
  EXPECT_EQ(player->GetWorkDir(), Dir.Path() + "/");
  EXPECT_EQ(player->LastError(), 0);
  EXPECT_EQ(TakeCommands()[3],
            "Open " + Dir.Path() + "/ding.wav type WaveAudio alias TForm1WavePlay1");

  // In the designer an empty WorkDir stays empty.
  Form->SetDesigning(true);
  TWavePlay* designed = NewPlayer("WavePlay2", "ding.wav", "");
  designed->Open();
  EXPECT_EQ(designed->GetWorkDir(), "");
  EXPECT_EQ(TakeCommands(), Lines{"Open ding.wav type WaveAudio alias TForm1WavePlay2"});
}

TEST_F(WavePlayTest, AFailureIsLatchedUntilCloseWave) {
  TWavePlay* player = NewPlayer("WavePlay1", "missing.wav", Dir.Path());
  player->Play();
  EXPECT_EQ(TakeCommands(),
            (Lines{"Open " + Dir.Path() + "/missing.wav type WaveAudio alias TForm1WavePlay1",
                   "Close TForm1WavePlay1"}));
  EXPECT_EQ(player->LastError(), host::MCIERR_FILE_NOT_FOUND);
  EXPECT_FALSE(player->Opened());

  player->Play();
  player->Pause();
  player->Resume();
  player->Rewind();
  EXPECT_EQ(player->Status("mode"), "");
  EXPECT_TRUE(TakeCommands().empty());
  EXPECT_TRUE(Messages().empty());  // ShowError is off

  // Closing a device that never opened still counts as closed: the player plays again.
  player->CloseWave();
  EXPECT_EQ(player->LastError(), 0);
  player->SetWaveName("ding.wav");
  player->Play();
  EXPECT_EQ(TakeCommands().back(), "Play TForm1WavePlay1 from 0 ");
  EXPECT_EQ(player->Status("mode"), "playing");

  // A failed status query latches like any other command; a good close clears it.
  TakeCommands();
  EXPECT_EQ(player->Status("volume"), "");
  EXPECT_EQ(player->LastError(), host::MCIERR_UNRECOGNIZED_KEYWORD);
  player->Play();
  EXPECT_EQ(TakeCommands(), Lines{"status TForm1WavePlay1 volume"});
  player->CloseWave();
  EXPECT_EQ(player->LastError(), 0);
}

TEST_F(WavePlayTest, ShowErrorReportsEachFailureOnce) {
  TWavePlay* player = NewPlayer("WavePlay1", "missing.wav", Dir.Path());
  player->SetShowError(true);
  player->Play();
  player->Play();
  EXPECT_EQ(Messages(), Lines{ErrorText(host::MCIERR_FILE_NOT_FOUND)});
  EXPECT_EQ(player->GetErrorMessage(), ErrorText(host::MCIERR_FILE_NOT_FOUND));

  // Without a WaveName nothing is opened, and the play command fails on its empty alias.
  TWavePlay* unnamed = NewPlayer("WavePlay2", "", Dir.Path());
  unnamed->SetShowError(true);
  unnamed->Play();
  EXPECT_EQ(TakeCommands().at(2), "Play  from 0 ");
  EXPECT_GT(unnamed->LastError(), 0);
  EXPECT_EQ(Messages().size(), 2u);

  // A device closed behind the player's back: the play fails, the close fails too, and the
  // report shows the close's result.
  TWavePlay* orphan = NewPlayer("WavePlay3", "ding.wav", Dir.Path());
  orphan->SetShowError(true);
  orphan->Open();
  std::string reply;
  host::mciSendString("close all", reply);
  orphan->Play();
  EXPECT_EQ(TakeCommands(),
            (Lines{"Open " + Dir.Path() + "/ding.wav type WaveAudio alias TForm1WavePlay3",
                   "close all", "Play TForm1WavePlay3 from 0 ", "Close TForm1WavePlay3"}));
  EXPECT_EQ(Messages().back(), ErrorText(host::MCIERR_INVALID_DEVICE_NAME));
  EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(WavePlayTest, WaitTillDoneReturnsWhenTheSoundHasEnded) {
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", Dir.Path());
  player->SetWavePlayOptions({wvWaitTillDone});
  player->Play();
  EXPECT_EQ(TakeCommands().back(), "Play TForm1WavePlay1 from 0 wait");
  EXPECT_EQ(Clock->NowMs(), 1000);
  EXPECT_EQ(player->Status("mode"), "stopped");
}

TEST_F(WavePlayTest, NewWaveNameClosesTheDeviceExceptWhileLoading) {
  TWavePlay* player = NewPlayer("WavePlay1", "ding.wav", Dir.Path());
  player->Open();
  player->SetWorkDir("/other/");
  EXPECT_TRUE(player->Opened());
  player->SetWorkDir(Dir.Path());

  player->BeginLoading();
  player->SetWaveName("ding.wav");
  EXPECT_TRUE(player->Opened());
  player->Loaded();

  TakeCommands();
  player->SetWaveName("other.wav");
  EXPECT_EQ(TakeCommands(), Lines{"Close TForm1WavePlay1"});
  EXPECT_FALSE(player->Opened());

  // A player going away closes its device.
  player->SetWaveName("ding.wav");
  player->Open();
  delete player;
  EXPECT_EQ(TakeCommands().back(), "Close TForm1WavePlay1");
  EXPECT_EQ(host::Mci().DeviceCount(), 0);
}

TEST_F(WavePlayTest, AutoPlayStartsOnceLoadedAtRunTimeOnly) {
  RegisterRuntimeClasses();
  const std::string text =
      "object Form1: TForm1\n"
      "  object WavePlay1: TWavePlay\n"
      "    Options = [wvAutoPlay]\n"
      "    WaveName = 'ding.wav'\n"
      "    WorkDir = '" +
      Dir.Path() +
      "'\n"
      "  end\n"
      "end\n";
  host::ReadComponentText(text, *Form, "frame.dfm");
  EXPECT_EQ(TakeCommands(),
            (Lines{"Open " + Dir.Path() + "/ding.wav type WaveAudio alias TForm1WavePlay1",
                   "Play TForm1WavePlay1 from 0 "}));

  host::TForm designed(nullptr);
  designed.SetDesigning(true);
  host::ReadComponentText(text, designed, "frame.dfm");
  EXPECT_TRUE(TakeCommands().empty());
  auto* player = dynamic_cast<TWavePlay*>(designed.FindComponent("WavePlay1"));
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->Options(), TWavePlayOptions{wvAutoPlay});
}

TEST_F(WavePlayTest, SettingsFileOnlyAddsOptionsInTheDesigner) {
  const std::string settings =
      "[Status]\nINIAvailable=1\n[WavePlay]\nUse=1\nAutoPlay=1\nDefault=0\nWaitTillDone=1\n";
  testing_support::WriteFile(WindowsDir.File("Mebrox.ini"), settings);

  EXPECT_EQ(NewPlayer("Running", "", "")->Options(), TWavePlayOptions{});
  Form->SetDesigning(true);
  EXPECT_EQ(NewPlayer("Read", "", "")->Options(), TWavePlayOptions{});
  auto dropped = [&](const std::string& name) {
    TWavePlay* player = NewPlayer(name, "", "");
    player->DroppedFromPalette();
    return player->Options();
  };
  EXPECT_EQ(dropped("Designed"), (TWavePlayOptions{wvAutoPlay, wvWaitTillDone}));

  testing_support::WriteFile(WindowsDir.File("Mebrox.ini"),
                             "[Status]\nINIAvailable=2\n[WavePlay]\nUse=1\nAutoPlay=1\n");
  EXPECT_EQ(dropped("Unavailable"), TWavePlayOptions{});
  testing_support::WriteFile(WindowsDir.File("Mebrox.ini"),
                             "[Status]\nINIAvailable=1\n[WavePlay]\nUse=0\nAutoPlay=1\n");
  EXPECT_EQ(dropped("Unused"), TWavePlayOptions{});
}

TEST_F(WavePlayTest, OptionsReadBackAsWrittenEvenOverTheSettingsFile) {
  RegisterRuntimeClasses();
  NewPlayer("Plain", "", "");
  NewPlayer("Default", "ding.wav", "sounds")->SetWavePlayOptions({wvDefault});
  const std::string text = host::WriteComponentText(*Form);
  EXPECT_NE(text.find("  object Plain: TWavePlay\n    Options = []\n  end\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("    Options = [wvDefault]\n    WaveName = 'ding.wav'\n"
                      "    WorkDir = 'sounds'\n"),
            std::string::npos)
      << text;

  // A designer whose settings would give every new player all options.
  testing_support::WriteFile(
      WindowsDir.File("Mebrox.ini"),
      "[Status]\nINIAvailable=1\n[WavePlay]\nUse=1\nAutoPlay=1\nDefault=1\nWaitTillDone=1\n");
  host::TForm copy(nullptr);
  copy.SetDesigning(true);
  host::ReadComponentText(text, copy, "frame.dfm");
  auto* plain = dynamic_cast<TWavePlay*>(copy.FindComponent("Plain"));
  auto* withDefault = dynamic_cast<TWavePlay*>(copy.FindComponent("Default"));
  ASSERT_TRUE(plain && withDefault);
  EXPECT_EQ(plain->Options(), TWavePlayOptions{});
  EXPECT_EQ(withDefault->Options(), TWavePlayOptions{wvDefault});
  EXPECT_EQ(host::WriteComponentText(copy), text);
}

TEST_F(WavePlayTest, SimpleSoundPathPlaysTheBareWaveName) {
  auto* player = NewPlayer<TSimpleSoundPlayer>("WavePlay1", Dir.File("ding.wav"), "/ignored/");
  player->UseSimpleSound();
  player->Play();
  Lines commands = TakeCommands();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1],
            "Open " + Dir.File("ding.wav") + " type WaveAudio alias MebroxSimpleSound");
  EXPECT_EQ(commands[2], "Play MebroxSimpleSound from 0");
  EXPECT_EQ(Clock->NowMs(), 0);

  // Waiting plays to the end, then lets the device go.
  player->SetWavePlayOptions({wvWaitTillDone});
  player->Play();
  commands = TakeCommands();
  EXPECT_EQ(commands.at(2), "Play MebroxSimpleSound from 0 wait");
  EXPECT_EQ(commands.back(), "Close MebroxSimpleSound");
  EXPECT_EQ(Clock->NowMs(), 1000);
  EXPECT_TRUE(Messages().empty());

  // A file that cannot be played is reported whatever ShowError says.
  player->SetWaveName("missing.wav");
  player->Play();
  EXPECT_EQ(Messages(), Lines{SoundNotPlayedText});
  EXPECT_EQ(player->LastError(), 0);

  player->CheckMCI();
  player->SetWavePlayOptions({});
  player->SetWaveName("ding.wav");
  player->SetWorkDir(Dir.Path());
  player->Play();
  EXPECT_EQ(TakeCommands().back(), "Play TForm1WavePlay1 from 0 ");
}

}  // namespace
