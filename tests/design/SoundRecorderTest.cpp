#include "design/SoundRecorder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "host/Dialogs.h"
#include "host/media/SndfileDecoder.h"
#include "ide/Registry.h"
#include "tests/design/StudioFixture.h"
#include "tests/host/DiskAudio.h"

namespace {

using mebrox::TSoundRecorderDlg;
using testing_support::TDiskAudio;
using testing_support::TempDir;

// What the recorder asks of the sound output.
class TTakenOutput final : public host::IAudioOutput {
 public:
  using host::IAudioOutput::Start;
  int Start(std::unique_ptr<host::ISoundStream> stream) override {
    host::TPcmSound sound;
    sound.SampleRate = stream->SampleRate();
    sound.Channels = stream->Channels();
    From.push_back(stream->Position());
    sound.Samples.resize(
        static_cast<size_t>((stream->Frames() - stream->Position()) * stream->Channels()));
    stream->Read(sound.Samples.data(), stream->Frames() - stream->Position());
    Started.push_back(sound);
    Live.insert(++FLast);
    return FLast;
  }
  void Pause(int) override {}
  void Resume(int) override {}
  void Stop(int voice) override {
    Stopped.push_back(voice);
    Live.erase(voice);
  }
  int64_t PendingFrames(int voice) const override { return Live.count(voice) ? Pending : 0; }

  std::vector<host::TPcmSound> Started;
  std::vector<int64_t> From;
  std::vector<int> Stopped;
  std::set<int> Live;
  int64_t Pending = 0;

 private:
  int FLast = 0;
};

// Tickers that tick when the test says so.
class TManualTickers {
 public:
  TManualTickers() {
    FOld = host::SetTickerFactory([this](int, std::function<void()> onTick) {
      auto fn = std::make_shared<std::function<void()>>(std::move(onTick));
      FTicks.push_back(fn);
      return std::unique_ptr<host::ITicker>(std::make_unique<TTicker>(fn));
    });
  }
  ~TManualTickers() { host::SetTickerFactory(std::move(FOld)); }
  void Tick() {
    for (const auto& weak : FTicks)
      if (auto fn = weak.lock()) (*fn)();
  }

 private:
  struct TTicker : host::ITicker {
    explicit TTicker(std::shared_ptr<std::function<void()>> fn) : Fn(std::move(fn)) {}
    std::shared_ptr<std::function<void()>> Fn;
  };
  host::TTickerFactory FOld;
  std::vector<std::weak_ptr<std::function<void()>>> FTicks;
};

// The studio's expert menu holds the recorder for these tests; the wave player's editor opens
// it the same way, through RecordSound.
class TRecordExpert : public ide::TIExpert {
 public:
  TRecordExpert(std::string folder, std::string& kept) : FFolder(std::move(folder)), FKept(kept) {}
  std::string GetName() override { return "Record a Sound"; }
  std::string GetIDString() override { return "Test.RecordSound"; }
  std::string GetComment() override { return std::string(); }
  std::shared_ptr<const host::TRawImage> GetGlyph() override { return nullptr; }
  ide::TExpertStyle GetStyle() override { return ide::esStandard; }
  ide::TExpertState GetState() override { return {ide::esEnabled}; }
  std::string GetMenuText() override { return "Record a Sound"; }
  void Execute() override { FKept = mebrox::RecordSound(FFolder); }

 private:
  std::string FFolder;
  std::string& FKept;
};

// Two seconds of sound for the device to deliver.
const std::vector<int16_t> Input = testing_support::TestSignal(2 * TSoundRecorderDlg::SampleRate);

std::vector<int16_t> InputFrames(int64_t frames) {
  return {Input.begin(), Input.begin() + frames};
}

// Frames a take holds after ms milliseconds on the clock.
int64_t FramesOf(int64_t ms) {
  return ms * TSoundRecorderDlg::SampleRate / 1000;
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

std::string Shot(const std::string& name) {
  return std::string(MEBROX_TEST_OUTPUT) + "/SoundRecorder-" + name + ".png";
}

std::string ScreenshotLine(const std::string& name) {
  return "screenshot SoundRecorderDlg " + Shot(name) + "\n";
}

// A click on the button as the toolkit reports one; a person cannot click a disabled button.
void Click(host::TBitBtn* button) {
  ASSERT_TRUE(button->Enabled()) << button->Name() << " is disabled";
  host::TWidgetChange click;
  click.Kind = host::TWidgetChange::wcClick;
  button->WidgetChanged(click);
}

// The machine's recording device is SDL's disk driver reading Input; time is a manual clock,
// ticks come when told, and sound goes to an output that keeps what it is given.
class SoundRecorderTest : public testing::Test {
 protected:
  void SetUp() override {
    auto clock = std::make_unique<host::TManualClock>();
    Clock = clock.get();
    host::Mci().SetClock(std::move(clock));
    auto output = std::make_unique<TTakenOutput>();
    Output = output.get();
    host::Mci().SetOutput(std::move(output));
    ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "SDL audio is held elsewhere";
  }
  void TearDown() override {
    host::Application->ModalHook = nullptr;
    host::Mci().SetClock(nullptr);
    host::Mci().SetOutput(nullptr);
  }

  // Opens the recorder as the wave player's editor does, and works it with work.
  std::string Record(const std::string& folder,
                     const std::function<void(TSoundRecorderDlg&)>& work) {
    host::Application->ModalHook = [&](host::TForm& form) {
      auto* dialog = dynamic_cast<TSoundRecorderDlg*>(&form);
      ASSERT_NE(dialog, nullptr);
      work(*dialog);
    };
    return mebrox::RecordSound(folder);
  }

  // A key as the user types it, to whatever has the keyboard.
  static void Key(TSoundRecorderDlg& dialog, host::TKey key, const std::string& text = "",
                  host::TShiftState shift = {}) {
    host::TKeyEventRecord event;
    event.Key = key;
    event.Text = text;
    event.Shift = shift;
    host::TWinControl* target = dialog.ActiveControl() ? dialog.ActiveControl() : &dialog;
    target->PerformKey(event);
  }

  static void RecordFor(TSoundRecorderDlg& dialog, host::TManualClock& clock, int64_t ms) {
    Click(dialog.RecordBtn);
    clock.Advance(ms);
    Click(dialog.StopBtn);
  }

  static std::vector<bool> Enabled(const TSoundRecorderDlg& d) {
    return {d.RecordBtn->Enabled(), d.StopBtn->Enabled(), d.PlayBtn->Enabled(),
            d.KeepBtn->Enabled(), d.CancelBtn->Enabled()};
  }

  const std::vector<host::TScriptedDialogs::TShown>& Messages() {
    return dynamic_cast<host::TScriptedDialogs&>(host::DialogService()).Shown();
  }

  TDiskAudio Disk{Input};
  TManualTickers Tickers;
  TempDir Folder;
  host::TManualClock* Clock = nullptr;
  TTakenOutput* Output = nullptr;
};

TEST_F(SoundRecorderTest, AScriptRecordsForItsWaitAndKeepsTheTakeBesideTheProject) {
  testing_support::TStudioFixture studio({"object Form1: TForm1\nend\n"});
  std::string kept = "not yet";
  studio.Core().Registry().RegisterLibraryExpert(
      std::make_unique<TRecordExpert>(studio.Folder(), kept));
  EXPECT_EQ(studio.Run("expert \"Record a Sound\"\n" + ScreenshotLine("idle") +
                       "click SoundRecorderDlg.RecordBtn 5 5\n"
                       "wait 1500\n" +
                       ScreenshotLine("recording") + "click SoundRecorderDlg.StopBtn 5 5\n" +
                       ScreenshotLine("recorded") + "click SoundRecorderDlg.KeepBtn 5 5\n"),
            "expert \"Record a Sound\"\n"
            "modal TSoundRecorderDlg \"Sound Recorder\"\n"
            "closed TSoundRecorderDlg -> ok\n");
  EXPECT_EQ(kept, studio.File("Sound1.wav"));
  const host::TPcmSound sound = host::DecodeSoundFile(kept);
  EXPECT_EQ(sound.SampleRate, TSoundRecorderDlg::SampleRate);
  EXPECT_EQ(sound.Channels, 1);
  // A second and a half of the clock: that much of the device's sound from its start, no more.
  EXPECT_EQ(sound.Samples, InputFrames(FramesOf(1500)));
}

TEST_F(SoundRecorderTest, TheButtonsFollowTheTakeAndTheKeyboardWorksThem) {
  std::string kept = Record(Folder.Path(), [&](TSoundRecorderDlg& d) {
    EXPECT_EQ(d.Caption(), "Sound Recorder");
    EXPECT_EQ(d.StatusLabel->Caption(), "Ready to record");
    EXPECT_EQ(Enabled(d), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_EQ(d.ActiveControl(), d.RecordBtn);

    // R for Record: the keyboard goes to Stop, the only way on, also once the toolkit has
    // had its say on the focus.
    Key(d, 'R', "r");
    host::Application->ProcessMessages();
    EXPECT_EQ(d.State(), TSoundRecorderDlg::rsRecording);
    EXPECT_EQ(Enabled(d), (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(d.ActiveControl(), d.StopBtn);
    EXPECT_EQ(d.StatusLabel->Caption(), "Recording... 0.0 s");
    // A picture shows the clock's time even before the next tick.
    Clock->Advance(1540);
    host::SaveFormImage(d, Shot("keys"));
    EXPECT_EQ(d.StatusLabel->Caption(), "Recording... 1.5 s");
    Tickers.Tick();
    EXPECT_LE(d.Take().Frames(), FramesOf(1540)) << "never ahead of the clock";

    // Space on the focused Stop ends the take at the clock's time.
    Key(d, host::VK_SPACE, " ");
    host::Application->ProcessMessages();
    EXPECT_EQ(d.State(), TSoundRecorderDlg::rsRecorded);
    EXPECT_EQ(d.Take().Samples, InputFrames(FramesOf(1540)));
    EXPECT_EQ(d.StatusLabel->Caption(), "Recorded 1.5 s");
    EXPECT_EQ(Enabled(d), (std::vector<bool>{true, false, true, true, true}));
    // The meter shows how loud the take got: lit up to its loudest point, dark beyond.
    int peak = 0;
    for (int16_t sample : d.Take().Samples) peak = std::max(peak, std::abs(int{sample}));
    const host::TRawImage shot = host::CaptureForm(d);
    const int y = d.LevelMeter->Top() + d.LevelMeter->Height() / 2;
    const int lit = d.LevelMeter->Left() + 2 + (d.LevelMeter->Width() - 4) * peak / 32768;
    EXPECT_EQ(shot.Pixel(lit - 3, y) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(shot.Pixel(lit + 3, y) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.ActiveControl(), d.PlayBtn);
    Key(d, host::VK_TAB);
    EXPECT_EQ(d.ActiveControl(), d.KeepBtn);
    Key(d, host::VK_TAB, "", {host::ssShift});
    EXPECT_EQ(d.ActiveControl(), d.PlayBtn);

    // Enter on Play: the take goes to the output, and plays its length on the clock.
    Key(d, host::VK_RETURN);
    ASSERT_EQ(Output->Started.size(), 1u);
    EXPECT_EQ(Output->Started[0].Samples, d.Take().Samples);
    EXPECT_EQ(Output->From[0], 0);
    EXPECT_EQ(Enabled(d), (std::vector<bool>{true, true, true, true, true}));
    Clock->Advance(700);
    Tickers.Tick();
    EXPECT_EQ(d.StatusLabel->Caption(), "Playing... 0.7 s");
    Output->Pending = 100;  // the hardware is still playing the tail
    Clock->Advance(840);
    Tickers.Tick();
    EXPECT_EQ(d.StatusLabel->Caption(), "Recorded 1.5 s");
    EXPECT_FALSE(d.StopBtn->Enabled());
    EXPECT_TRUE(Output->Stopped.empty()) << "the tail is not cut";
    Output->Pending = 0;
    Tickers.Tick();
    EXPECT_EQ(Output->Stopped, (std::vector<int>{1}));

    // P plays again, S stops it at once; Escape closes and keeps nothing.
    Key(d, 'P', "p");
    Key(d, 'S', "s");
    EXPECT_EQ(Output->Stopped, (std::vector<int>{1, 2}));
    EXPECT_EQ(d.State(), TSoundRecorderDlg::rsRecorded);
    Key(d, host::VK_ESCAPE);
    EXPECT_EQ(d.ModalResult(), host::mrCancel);
  });
  EXPECT_EQ(kept, "");
  EXPECT_TRUE(FilesIn(Folder.Path()).empty());
}

TEST_F(SoundRecorderTest, KeepWritesANewNumberedFileAndNeverReplacesOne) {
  testing_support::WriteFile(Folder.File("Sound2.wav"), "someone else's");
  for (const std::string expected : {"Sound1.wav", "Sound3.wav"}) {
    std::string kept = Record(Folder.Path(), [&](TSoundRecorderDlg& d) {
      RecordFor(d, *Clock, 500);
      Key(d, 'K', "k");
      EXPECT_EQ(d.ModalResult(), host::mrOk) << "Keep asks nothing and closes";
    });
    EXPECT_EQ(kept, Folder.File(expected));
    EXPECT_EQ(host::DecodeSoundFile(kept).Samples, InputFrames(FramesOf(500)));
  }
  EXPECT_EQ(testing_support::ReadFile(Folder.File("Sound2.wav")), "someone else's");
  EXPECT_EQ(FilesIn(Folder.Path()),
            (std::set<std::string>{"Sound1.wav", "Sound2.wav", "Sound3.wav"}));
}

TEST_F(SoundRecorderTest, AFolderThatTakesNoFilesKeepsTheTakeAndTheDialog) {
  // A file where the folder should be: nothing can be written there, not even by root.
  const std::string folder = Folder.File("sounds");
  testing_support::WriteFile(folder, "a file");
  const size_t before = Messages().size();
  std::string kept = Record(folder, [&](TSoundRecorderDlg& d) {
    RecordFor(d, *Clock, 500);
    Click(d.KeepBtn);
    ASSERT_EQ(Messages().size(), before + 1);
    EXPECT_EQ(Messages().back().Type, host::mtError);
    EXPECT_NE(Messages().back().Message.find("cannot be kept"), std::string::npos);
    EXPECT_NE(Messages().back().Message.find(folder + "/Sound1.wav"), std::string::npos)
        << Messages().back().Message;
    EXPECT_EQ(d.ModalResult(), host::mrNone);
    EXPECT_EQ(d.StatusLabel->Caption(), "Recorded 0.5 s");
    EXPECT_EQ(FilesIn(Folder.Path()), (std::set<std::string>{"sounds"})) << "no piece left";

    // The user makes room: the same take is kept.
    std::filesystem::remove(folder);
    std::filesystem::create_directory(folder);
    Click(d.KeepBtn);
    EXPECT_EQ(d.ModalResult(), host::mrOk);
  });
  EXPECT_EQ(kept, folder + "/Sound1.wav");
  EXPECT_EQ(host::DecodeSoundFile(kept).Samples, InputFrames(FramesOf(500)));
}

TEST_F(SoundRecorderTest, WithoutARecordingDeviceItSaysSoAndOnlyCancelWorks) {
  auto noDevice = [&](TSoundRecorderDlg& d) {
    EXPECT_EQ(d.StatusLabel->Caption(), "No recording device");
    EXPECT_FALSE(d.StatusLabel->Hint().empty()) << "the label tells why";
    EXPECT_EQ(Enabled(d), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(d.ActiveControl(), d.CancelBtn);
    Key(d, 'R', "r");
    EXPECT_EQ(d.State(), TSoundRecorderDlg::rsIdle);
    Key(d, host::VK_ESCAPE);
    EXPECT_EQ(d.ModalResult(), host::mrCancel);
  };
  {
    // SDL's dummy driver records nothing.
    testing_support::TScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
    EXPECT_EQ(Record(Folder.Path(), noDevice), "");
  }
  {
    // A device that is listed but will not open: found out by Record.
    TDiskAudio missing(std::nullopt);
    EXPECT_EQ(Record(Folder.Path(),
                     [&](TSoundRecorderDlg& d) {
                       EXPECT_EQ(d.StatusLabel->Caption(), "Ready to record");
                       Key(d, 'R', "r");
                       EXPECT_NE(d.DeviceError().find(missing.InputFile()), std::string::npos);
                       noDevice(d);
                     }),
              "");
  }
  EXPECT_TRUE(FilesIn(Folder.Path()).empty());
}

// A device that delivers some frames and then nothing more.
class TShortCapture final : public host::IAudioCapture {
 public:
  bool Available() override { return true; }
  bool Start(int, int) override { return Recording = true; }
  void Stop() override { Recording = false; }
  int64_t FramesReady() override { return static_cast<int64_t>(Frames.size()) - FRead; }
  bool WaitForFrames(int64_t frames) override { return FramesReady() >= frames; }
  int64_t Read(std::vector<int16_t>& samples, int64_t maxFrames) override {
    const int64_t n = std::min(maxFrames, FramesReady());
    samples.insert(samples.end(), Frames.begin() + FRead, Frames.begin() + FRead + n);
    FRead += n;
    return n;
  }
  const std::string& ErrorText() const override { return FError; }

  std::vector<int16_t> Frames = InputFrames(1000);
  bool Recording = false;

 private:
  int64_t FRead = 0;
  std::string FError;
};

TEST_F(SoundRecorderTest, ATakeLastsTheClocksTimeAndEndsByItselfAfterTenMinutes) {
  auto owned = std::make_unique<TShortCapture>();
  TShortCapture* capture = owned.get();
  TSoundRecorderDlg dialog(nullptr, Folder.Path(), std::move(owned));
  Click(dialog.RecordBtn);
  Clock->Advance(TSoundRecorderDlg::MaxTakeMs - 1);
  Tickers.Tick();
  EXPECT_EQ(dialog.State(), TSoundRecorderDlg::rsRecording);
  EXPECT_EQ(dialog.Take().Frames(), 1000) << "what the device gave so far";
  host::SaveFormImage(dialog, Shot("long-take"));
  EXPECT_EQ(dialog.StatusLabel->Caption(), "Recording... 599.9 s");
  Clock->Advance(1);
  Tickers.Tick();
  EXPECT_EQ(dialog.State(), TSoundRecorderDlg::rsRecorded);
  EXPECT_FALSE(capture->Recording);
  EXPECT_EQ(dialog.StatusLabel->Caption(), "Recorded 600.0 s");
  // The device fell silent after 1000 frames: the rest of the take is silence.
  const std::vector<int16_t>& take = dialog.Take().Samples;
  ASSERT_EQ(static_cast<int64_t>(take.size()), FramesOf(TSoundRecorderDlg::MaxTakeMs));
  EXPECT_EQ(std::vector<int16_t>(take.begin(), take.begin() + 1000), InputFrames(1000));
  EXPECT_EQ(std::count(take.begin() + 1000, take.end(), 0), static_cast<long>(take.size() - 1000));
}

}  // namespace
