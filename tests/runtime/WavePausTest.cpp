#include "runtime/WavePaus.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "host/Mci.h"
#include "host/Resources.h"
#include "host/TypInfo.h"
#include "runtime/RuntimeClasses.h"
#include "runtime/WavePly.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using namespace mebrox;
using Lines = std::vector<std::string>;

using testing_support::WriteTone;

class WavePauseTest : public testing::Test, protected testing_support::QuietMci {
 protected:
  void SetUp() override {
    Form->SetClassName("TForm1");
    Form->SetBounds(0, 0, 200, 100);
    Button->SetName("WavePause1");
    Button->SetParent(Form.get());
    Button->OnClick = [this](host::TObject*) { ++OnClicks; };
    WriteTone(Dir.File("ding.wav"), 22050);  // one second
  }
  void TearDown() override { Form.reset(); }

  TWavePlay* NewPlayer(const std::string& name) {
    auto* player = new TWavePlay(Form.get());
    player->SetName(name);
    player->SetWaveName("ding.wav");
    player->SetWorkDir(Dir.Path());
    return player;
  }
  TWavePlay* Playing(const std::string& name) {
    TWavePlay* player = NewPlayer(name);
    player->Play();
    return player;
  }
  Lines TakeCommands() {
    Lines taken;
    taken.swap(Commands);
    return taken;
  }
  bool Shows(const char* glyph) const {
    return Button->Glyph().Image() == host::LoadBitmapResource(glyph);
  }
  void ClickWithMouse() {
    host::TMouseEventRecord e;
    e.Pos = {Button->Left() + 5, Button->Top() + 5};
    e.Kind = host::TMouseEventRecord::Down;
    Form->DispatchMouse(e);
    e.Kind = host::TMouseEventRecord::Up;
    Form->DispatchMouse(e);
  }

  testing_support::TempDir Dir;
  std::unique_ptr<host::TForm> Form = std::make_unique<host::TForm>(nullptr);
  TWavePause* Button = new TWavePause(Form.get());
  int OnClicks = 0;
};

TEST_F(WavePauseTest, StartsAsAnEmptyPauseButton) {
  EXPECT_EQ(Button->Width(), 25);
  EXPECT_EQ(Button->Height(), 25);
  EXPECT_EQ(Button->Caption(), "");
  EXPECT_TRUE(Shows("PAUSE"));
  EXPECT_EQ(Button->Glyph().Width(), 14);
  EXPECT_EQ(Button->PausedName(), "");

  RegisterRuntimeClasses();
  const host::TClassInfo* info = host::TClassRegistry::Find("TWavePause");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->InheritsFrom(host::TSpeedButton::StaticClassInfo()));
  const host::TPropInfo* about = info->FindProperty("About");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->IsReadOnly());
  EXPECT_NE(info->FindProperty("Glyph"), nullptr);
}

TEST_F(WavePauseTest, PausesThePlayingPlayerAndResumesIt) {
  TWavePlay* player = Playing("WavePlay1");
  Clock->Advance(200);
  TakeCommands();

  ClickWithMouse();
  EXPECT_EQ(TakeCommands(), (Lines{"status TForm1WavePlay1 mode", "Pause TForm1WavePlay1"}));
  EXPECT_EQ(player->Status("mode"), "paused");
  EXPECT_TRUE(Shows("PLAY"));
  EXPECT_EQ(Button->PausedName(), "WavePlay1");

  TakeCommands();
  Clock->Advance(5000);
  ClickWithMouse();
  EXPECT_EQ(player->Status("mode"), "playing");
  EXPECT_TRUE(Shows("PAUSE"));
  EXPECT_EQ(TakeCommands(), (Lines{"status TForm1WavePlay1 mode", "Resume TForm1WavePlay1",
                                   "status TForm1WavePlay1 mode"}));
  // The button's own click replaces OnClick.
  EXPECT_EQ(OnClicks, 0);
}

TEST_F(WavePauseTest, OneClickPausesEveryPlayingPlayer) {
  TWavePlay* first = Playing("WavePlay1");
  TWavePlay* second = Playing("WavePlay2");
  Button->Click();
  EXPECT_EQ(first->Status("mode"), "paused");
  EXPECT_EQ(second->Status("mode"), "paused");
  EXPECT_EQ(Button->PausedName(), "WavePlay2");
  EXPECT_TRUE(Shows("PLAY"));
}

TEST_F(WavePauseTest, TwoPlayersArePausedAndResumedTogether) {
  TWavePlay* first = Playing("A");
  TWavePlay* second = Playing("B");
  Button->Click();
  TakeCommands();
  Button->Click();
  EXPECT_EQ(TakeCommands(), (Lines{"status TForm1A mode", "status TForm1B mode", "Resume TForm1A",
                                   "Resume TForm1B"}));
  EXPECT_EQ(first->Status("mode"), "playing");
  EXPECT_EQ(second->Status("mode"), "playing");
  EXPECT_TRUE(Shows("PAUSE"));
  Button->Click();
  EXPECT_EQ(first->Status("mode"), "paused");
  EXPECT_EQ(second->Status("mode"), "paused");
  EXPECT_TRUE(Shows("PLAY"));
}

TEST_F(WavePauseTest, WhileOnePlaysAClickOnlyPausesThenResumesAll) {
  TWavePlay* mine = Playing("A");
  Button->Click();
  TWavePlay* other = Playing("B");
  TakeCommands();

  // B plays while A is held: the click pauses B and leaves A held.
  Button->Click();
  EXPECT_EQ(TakeCommands(), (Lines{"status TForm1A mode", "status TForm1B mode", "Pause TForm1B"}));
  EXPECT_EQ(Button->PausedName(), "B");
  EXPECT_TRUE(Shows("PLAY"));
  Button->Click();
  EXPECT_EQ(mine->Status("mode"), "playing");
  EXPECT_EQ(other->Status("mode"), "playing");
  EXPECT_TRUE(Shows("PAUSE"));
}

TEST_F(WavePauseTest, APausedPlayerItDidNotPauseIsResumedItself) {
  TWavePlay* player = Playing("WavePlay1");
  player->Pause();
  Button->Click();
  EXPECT_EQ(player->Status("mode"), "playing");
  EXPECT_TRUE(Shows("PAUSE"));

  // Likewise once the player it paused has been renamed.
  Button->Click();
  EXPECT_TRUE(Shows("PLAY"));
  player->SetName("Renamed");
  Button->Click();
  EXPECT_EQ(player->Status("mode"), "playing");
}

TEST_F(WavePauseTest, WithNothingPlayingAClickChangesNothing) {
  Button->Click();
  EXPECT_TRUE(TakeCommands().empty());
  EXPECT_TRUE(Shows("PAUSE"));

  // A player never opened is left alone, so that it can still play afterwards.
  TWavePlay* idle = NewPlayer("Idle");
  TWavePlay* ended = Playing("Ended");
  Clock->Advance(1000);
  TakeCommands();
  Button->Click();
  EXPECT_EQ(TakeCommands(), Lines{"status TForm1Ended mode"});
  EXPECT_TRUE(Shows("PAUSE"));
  EXPECT_EQ(Button->PausedName(), "");
  EXPECT_EQ(idle->LastError(), 0);
  idle->Play();
  EXPECT_EQ(idle->Status("mode"), "playing");
  EXPECT_EQ(ended->LastError(), 0);
}

}  // namespace
