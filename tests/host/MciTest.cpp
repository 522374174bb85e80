#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "host/Mci.h"
#include "host/media/SdlAudioOutput.h"
#include "host/media/SndfileDecoder.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using host::TMciService;

using testing_support::WriteTone;

// A 16-bit WAV file of the given length whose samples are a hole in the file: an hour of
// silence that takes no disk space and is written at once.
void WriteSilentWave(const std::string& path, int64_t frames, int rate, int channels) {
  const int64_t dataBytes = frames * channels * 2;
  std::string header;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) header += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  header += "RIFF";
  put(static_cast<uint32_t>(36 + dataBytes), 4);
  header += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(static_cast<uint32_t>(channels), 2);
  put(static_cast<uint32_t>(rate), 4);
  put(static_cast<uint32_t>(rate * channels * 2), 4);
  put(static_cast<uint32_t>(channels * 2), 2);
  put(16, 2);
  header += "data";
  put(static_cast<uint32_t>(dataBytes), 4);
  testing_support::WriteFile(path, header);
  std::filesystem::resize_file(path, header.size() + static_cast<uint64_t>(dataBytes));
}

// A FLAC file whose frames are overwritten with noise: its header reads, its data does not.
void WriteDamagedFlac(const std::string& path) {
  WriteTone(path, 22050, 22050, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  std::string bytes = testing_support::ReadFile(path);
  for (size_t i = bytes.size() / 8; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919);
  testing_support::WriteFile(path, bytes);
}

// Records what the service asks of its output, one line per call.
class TRecordingOutput final : public host::IAudioOutput {
 public:
  using host::IAudioOutput::Start;
  int Start(std::unique_ptr<host::ISoundStream> stream) override {
    const int voice = ++FLast;
    Log.push_back("start " + std::to_string(voice) + " at " + std::to_string(stream->Position()) +
                  " of " + std::to_string(stream->Frames()));
    Live.insert(voice);
    return voice;
  }
  void Pause(int voice) override { Log.push_back("pause " + std::to_string(voice)); }
  void Resume(int voice) override { Log.push_back("resume " + std::to_string(voice)); }
  void Stop(int voice) override {
    Log.push_back("stop " + std::to_string(voice));
    Live.erase(voice);
  }
  int64_t PendingFrames(int voice) const override { return Live.count(voice) ? Pending : 0; }

  std::vector<std::string> Log;
  std::set<int> Live;
  int64_t Pending = 0;

 private:
  int FLast = 0;
};

class MciTest : public testing::Test {
 protected:
  void SetUp() override {
    auto clock = std::make_unique<host::TManualClock>();
    Clock = clock.get();
    Service.SetClock(std::move(clock));
    auto output = std::make_unique<TRecordingOutput>();
    Output = output.get();
    Service.SetOutput(std::move(output));
    TonePath = Dir.File("tone.wav");
    WriteTone(TonePath, 22050);
  }

  int Send(const std::string& command) {
    std::string reply;
    return Service.SendString(command, reply);
  }
  std::string Ask(const std::string& command) {
    std::string reply;
    EXPECT_EQ(Service.SendString(command, reply), 0) << command;
    return reply;
  }
  void OpenTone(const std::string& alias = "TForm1WavePlay1") {
    ASSERT_EQ(Send("Open " + TonePath + " type WaveAudio alias " + alias), 0);
  }

  testing_support::TempDir Dir;
  std::string TonePath;
  TMciService Service;
  host::TManualClock* Clock = nullptr;
  TRecordingOutput* Output = nullptr;
};

TEST_F(MciTest, PlayLastsTheSoundsLengthOnTheClock) {
  OpenTone();
  EXPECT_EQ(Ask("status TForm1WavePlay1 mode"), "stopped");
  EXPECT_EQ(Ask("status TForm1WavePlay1 length"), "1000");
  ASSERT_EQ(Send("Play TForm1WavePlay1 from 0 "), 0);
  EXPECT_EQ(Ask("status TForm1WavePlay1 mode"), "playing");
  Clock->Advance(999);
  EXPECT_EQ(Ask("status TForm1WavePlay1 mode"), "playing");
  EXPECT_EQ(Ask("status TForm1WavePlay1 position"), "999");
  Clock->Advance(1);
  EXPECT_EQ(Ask("status TForm1WavePlay1 mode"), "stopped");
  EXPECT_EQ(Ask("status TForm1WavePlay1 position"), "1000");
  // The device stays open: playing again starts over without reopening.
  ASSERT_EQ(Send("Play TForm1WavePlay1 from 0 "), 0);
  EXPECT_EQ(Ask("status TForm1WavePlay1 mode"), "playing");
  EXPECT_EQ(Output->Log,
            (std::vector<std::string>{"start 1 at 0 of 22050", "stop 1", "start 2 at 0 of 22050"}));
}

TEST_F(MciTest, PauseHoldsThePositionUntilResume) {
  OpenTone("a");
  ASSERT_EQ(Send("play a from 0"), 0);
  Clock->Advance(300);
  ASSERT_EQ(Send("Pause a"), 0);
  Clock->Advance(5000);
  EXPECT_EQ(Ask("status a mode"), "paused");
  EXPECT_EQ(Ask("status a position"), "300");
  ASSERT_EQ(Send("Resume a"), 0);
  EXPECT_EQ(Ask("status a mode"), "playing");
  Clock->Advance(699);
  EXPECT_EQ(Ask("status a mode"), "playing");
  Clock->Advance(1);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Output->Log,
            (std::vector<std::string>{"start 1 at 0 of 22050", "pause 1", "resume 1", "stop 1"}));
  // Pausing or resuming a device that is not playing or paused changes nothing.
  ASSERT_EQ(Send("resume a"), 0);
  ASSERT_EQ(Send("pause a"), 0);
  EXPECT_EQ(Ask("status a mode"), "stopped");
}

TEST_F(MciTest, StopKeepsThePositionAndPlayWithoutFromGoesOn) {
  OpenTone("a");
  ASSERT_EQ(Send("play a from 0"), 0);
  Clock->Advance(400);
  ASSERT_EQ(Send("stop a"), 0);
  Clock->Advance(1000);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Ask("status a position"), "400");
  ASSERT_EQ(Send("play a"), 0);
  Clock->Advance(599);
  EXPECT_EQ(Ask("status a mode"), "playing");
  // "from" while playing starts over.
  ASSERT_EQ(Send("play a from 100"), 0);
  Clock->Advance(899);
  EXPECT_EQ(Ask("status a mode"), "playing");
  Clock->Advance(1);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Output->Log,
            (std::vector<std::string>{"start 1 at 0 of 22050", "stop 1", "start 2 at 8820 of 22050",
                                      "stop 2", "start 3 at 2205 of 22050", "stop 3"}));
}

TEST_F(MciTest, PlayWaitAdvancesTheClockToTheEnd) {
  OpenTone("a");
  const int64_t start = Clock->NowMs();
  ASSERT_EQ(Send("Play a from 0 wait"), 0);
  EXPECT_EQ(Clock->NowMs() - start, 1000);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  ASSERT_EQ(Send("play a from 600 WAIT"), 0);
  EXPECT_EQ(Clock->NowMs() - start, 1400);
  // A paused device resumed by a waiting play only waits for what is left.
  ASSERT_EQ(Send("play a from 0"), 0);
  Clock->Advance(250);
  ASSERT_EQ(Send("pause a"), 0);
  ASSERT_EQ(Send("play a wait"), 0);
  EXPECT_EQ(Clock->NowMs() - start, 2400);
  EXPECT_EQ(Ask("status a mode"), "stopped");
}

TEST_F(MciTest, AnHourLongWaveOpensAtOnceAndPlaysAsAStream) {
  const int64_t hour = int64_t{44100} * 3600;
  WriteSilentWave(Dir.File("hour.wav"), hour, 44100, 2);
  ASSERT_EQ(Send("open " + Dir.File("hour.wav") + " type waveaudio alias hour"), 0);
  EXPECT_EQ(Ask("status hour length"), "3600000");
  ASSERT_EQ(Send("play hour from 1800000"), 0);
  Clock->Advance(1000);
  EXPECT_EQ(Ask("status hour position"), "1801000");
  ASSERT_EQ(Send("pause hour"), 0);
  ASSERT_EQ(Send("play hour from 0"), 0);
  EXPECT_EQ(Output->Log,
            (std::vector<std::string>{
                "start 1 at " + std::to_string(hour / 2) + " of " + std::to_string(hour), "pause 1",
                "stop 1", "start 2 at 0 of " + std::to_string(hour)}));
}

TEST_F(MciTest, SeekStopsWhereItIsToldAndPlayGoesOnFromThere) {
  OpenTone("a");
  ASSERT_EQ(Send("play a from 0"), 0);
  Clock->Advance(300);
  ASSERT_EQ(Send("Seek a to start"), 0);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Ask("status a position"), "0");
  ASSERT_EQ(Send("seek a to 250 wait"), 0);
  EXPECT_EQ(Ask("status a position"), "250");
  ASSERT_EQ(Send("play a"), 0);
  Clock->Advance(100);
  EXPECT_EQ(Ask("status a position"), "350");
  ASSERT_EQ(Send("pause a"), 0);
  ASSERT_EQ(Send("seek a to end"), 0);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Ask("status a position"), "1000");
  EXPECT_EQ(Send("seek a"), host::MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(Send("seek a to"), host::MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(Send("seek a to middle"), host::MCIERR_BAD_INTEGER);
  EXPECT_EQ(Send("seek a to 1001"), host::MCIERR_OUTOFRANGE);
  EXPECT_EQ(Send("seek b to start"), host::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Output->Log,
            (std::vector<std::string>{"start 1 at 0 of 22050", "stop 1", "start 2 at 5512 of 22050",
                                      "pause 2", "stop 2"}));
}

TEST_F(MciTest, DamagedSoundDataIsToldApartFromWhatIsNoSound) {
  WriteDamagedFlac(Dir.File("damaged.flac"));
  testing_support::WriteFile(Dir.File("notes.wav"), "this is text, not a sound");
  EXPECT_EQ(Send("open " + Dir.File("damaged.flac") + " alias d"), host::MCIERR_DAMAGED_FILE);
  EXPECT_EQ(Send("open " + Dir.File("notes.wav") + " alias n"), host::MCIERR_INVALID_FILE);
  std::string damaged, invalid;
  ASSERT_TRUE(host::mciGetErrorString(host::MCIERR_DAMAGED_FILE, damaged));
  ASSERT_TRUE(host::mciGetErrorString(host::MCIERR_INVALID_FILE, invalid));
  EXPECT_NE(damaged.find("damaged"), std::string::npos) << damaged;
  EXPECT_NE(damaged, invalid);
  EXPECT_EQ(Service.DeviceCount(), 0);
}

TEST_F(MciTest, ErrorsHaveDistinctCodesAndTexts) {
  OpenTone("a");
  testing_support::WriteFile(Dir.File("notes.wav"), "this is text, not a sound");
  const std::string open = "open " + TonePath + " type waveaudio alias ";
  const std::vector<std::pair<std::string, int>> cases = {
      {"Rewind WaveAudio", host::MCIERR_UNRECOGNIZED_COMMAND},
      {"   ", host::MCIERR_MISSING_COMMAND_STRING},
      {"Play  from 0 ", host::MCIERR_INVALID_DEVICE_NAME},
      {"Play", host::MCIERR_INVALID_DEVICE_NAME},
      {"status TForm2WavePlay1 mode", host::MCIERR_INVALID_DEVICE_NAME},
      {open + "A", host::MCIERR_DUPLICATE_ALIAS},
      {"open " + Dir.File("missing.wav") + " type waveaudio alias b", host::MCIERR_FILE_NOT_FOUND},
      {"open " + Dir.Path() + " type waveaudio alias b", host::MCIERR_FILE_NOT_FOUND},
      {"open " + Dir.File("notes.wav") + " type waveaudio alias b", host::MCIERR_INVALID_FILE},
      {open, host::MCIERR_MISSING_PARAMETER},
      {"open " + TonePath, host::MCIERR_MISSING_PARAMETER},
      {"open", host::MCIERR_MISSING_PARAMETER},
      {"status a", host::MCIERR_MISSING_PARAMETER},
      {"play a from", host::MCIERR_MISSING_PARAMETER},
      {"play a from ten", host::MCIERR_BAD_INTEGER},
      {"play a from -5", host::MCIERR_BAD_INTEGER},
      {"play a from 99999999999999999999", host::MCIERR_BAD_INTEGER},
      {"play a to 500", host::MCIERR_UNRECOGNIZED_KEYWORD},
      {"status a volume", host::MCIERR_UNRECOGNIZED_KEYWORD},
      {"pause a now", host::MCIERR_UNRECOGNIZED_KEYWORD},
      {"play a from 1001", host::MCIERR_OUTOFRANGE},
      {"play a wait wait", host::MCIERR_DUPLICATE_FLAGS},
      {"play all", host::MCIERR_CANNOT_USE_ALL},
      {"open " + TonePath + " type cdaudio alias b", host::MCIERR_DEVICE_NOT_INSTALLED},
      {"open \"" + TonePath + " type waveaudio alias b", host::MCIERR_NO_CLOSING_QUOTE},
  };
  std::set<std::string> texts;
  for (const auto& [command, code] : cases) {
    std::string reply = "left over";
    EXPECT_EQ(Service.SendString(command, reply), code) << command;
    EXPECT_EQ(reply, "") << command;
    std::string text;
    EXPECT_TRUE(host::mciGetErrorString(code, text)) << code;
    EXPECT_FALSE(text.empty()) << code;
    texts.insert(text);
  }
  std::set<int> codes;
  for (const auto& c : cases) codes.insert(c.second);
  EXPECT_EQ(texts.size(), codes.size());
  // None of that disturbed the open device, and nothing else got opened.
  EXPECT_EQ(Service.DeviceCount(), 1);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_TRUE(Output->Log.empty());

  std::string text = "left over";
  EXPECT_FALSE(host::mciGetErrorString(256 + 1000, text));
  EXPECT_EQ(text, "");
}

TEST_F(MciTest, PathsMayHoldBlanksBackslashesAndQuotes) {
  const std::string dir = Dir.File("my type sounds");
  std::filesystem::create_directory(dir);
  WriteTone(dir + "/ding dong.wav", 11025);
  std::string stored = dir + "/ding dong.wav";
  for (char& c : stored)
    if (c == '/') c = '\\';
  ASSERT_EQ(Send("Open " + stored + " type WaveAudio alias TForm1WavePlay1"), 0);
  EXPECT_EQ(Ask("status TForm1WavePlay1 length"), "500");
  ASSERT_EQ(Send("open \"" + dir + "/ding dong.wav\" alias quoted"), 0);
  EXPECT_EQ(Ask("status quoted length"), "500");
}

TEST_F(MciTest, KeywordsAndAliasesIgnoreCase) {
  ASSERT_EQ(Send("OPEN " + TonePath + " TYPE WAVEAUDIO ALIAS TForm1WavePlay1"), 0);
  ASSERT_EQ(Send("PLAY tform1waveplay1 FROM 0 WAIT"), 0);
  EXPECT_EQ(Ask("Status TFORM1WAVEPLAY1 Mode"), "stopped");
  EXPECT_EQ(Send("open " + TonePath + " type waveaudio alias TFORM1WAVEPLAY1"),
            host::MCIERR_DUPLICATE_ALIAS);
  EXPECT_EQ(Send("CLOSE TForm1WavePlay1"), 0);
}

TEST_F(MciTest, AliasesAreIndependentAndCloseEndsThem) {
  WriteTone(Dir.File("short.wav"), 11025);
  OpenTone("long");
  ASSERT_EQ(Send("open " + Dir.File("short.wav") + " type waveaudio alias short"), 0);
  ASSERT_EQ(Send("play long from 0"), 0);
  ASSERT_EQ(Send("play short from 0"), 0);
  Clock->Advance(500);
  EXPECT_EQ(Ask("status long mode"), "playing");
  EXPECT_EQ(Ask("status short mode"), "stopped");
  ASSERT_EQ(Send("pause long"), 0);
  ASSERT_EQ(Send("Close short"), 0);
  EXPECT_EQ(Send("status short mode"), host::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("Close short"), host::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Ask("status long mode"), "paused");
  // The alias is free again once closed.
  ASSERT_EQ(Send("open " + Dir.File("short.wav") + " type waveaudio alias short"), 0);
  ASSERT_EQ(Send("close all"), 0);
  EXPECT_EQ(Service.DeviceCount(), 0);
  EXPECT_EQ(Send("status long mode"), host::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_TRUE(Output->Live.empty());
}

TEST_F(MciTest, AFinishedVoiceIsReleasedOnlyOnceTheOutputHasDrained) {
  OpenTone("a");
  Output->Pending = 100;
  ASSERT_EQ(Send("play a from 0"), 0);
  Clock->Advance(1000);
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_EQ(Output->Live, std::set<int>{1});
  Output->Pending = 0;
  EXPECT_EQ(Ask("status a mode"), "stopped");
  EXPECT_TRUE(Output->Live.empty());
}

TEST_F(MciTest, ChangingTheClockClosesEveryDevice) {
  OpenTone("a");
  ASSERT_EQ(Send("play a from 0"), 0);
  Service.SetClock(std::make_unique<host::TManualClock>());
  EXPECT_EQ(Service.DeviceCount(), 0);
  EXPECT_TRUE(Output->Live.empty());
}

TEST_F(MciTest, TheGlobalServiceAnswersTheOldCalls) {
  host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
  auto clock = std::make_unique<host::TManualClock>();
  host::TManualClock* manual = clock.get();
  host::Mci().SetClock(std::move(clock));
  std::vector<std::pair<std::string, int>> seen;
  host::MciObserver() = [&](const std::string& command, int result) {
    seen.emplace_back(command, result);
  };

  std::string reply;
  ASSERT_EQ(host::mciSendString("open " + TonePath + " type WaveAudio alias g", reply), 0);
  ASSERT_EQ(host::mciSendString("play g from 0 ", reply), 0);
  ASSERT_EQ(host::mciSendString("status g mode", reply), 0);
  EXPECT_EQ(reply, "playing");
  manual->Advance(1000);
  ASSERT_EQ(host::mciSendString("status g mode", reply), 0);
  EXPECT_EQ(reply, "stopped");
  EXPECT_EQ(host::mciSendString("Rewind WaveAudio", reply), host::MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(host::mciSendString("close g", reply), 0);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[1], (std::pair<std::string, int>{"play g from 0 ", 0}));
  EXPECT_EQ(seen[4], (std::pair<std::string, int>{"Rewind WaveAudio", 261}));

  host::MciObserver() = nullptr;
  host::Mci().SetClock(nullptr);
  host::Mci().SetOutput(nullptr);
}

TEST(SndfileDecoderTest, DecodesToInterleaved16BitPcm) {
  testing_support::TempDir dir;
  const std::string path = dir.File("stereo.wav");
  WriteTone(path, 4410, 44100, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const host::TPcmSound sound = host::DecodeSoundFile(path);
  EXPECT_EQ(sound.SampleRate, 44100);
  EXPECT_EQ(sound.Channels, 2);
  EXPECT_EQ(sound.Frames(), 4410);
  EXPECT_EQ(sound.LengthMs(), 100);
  // Float data keeps its level: a quarter period in, the sine is near its peak of 0.5.
  const int peakFrame = 44100 / 440 / 4;
  const double expected = 0.5 * std::sin(2 * M_PI * 440 * peakFrame / 44100) * 32768;
  EXPECT_NEAR(sound.Samples[peakFrame * 2], expected, 2);
  EXPECT_EQ(sound.Samples[peakFrame * 2], sound.Samples[peakFrame * 2 + 1]);
  EXPECT_EQ(sound.Samples[0], 0);
}

TEST(SndfileDecoderTest, KeepsPcm16ExactAndClipsFloatBeyondFullScale) {
  testing_support::TempDir dir;
  const std::vector<int16_t> pcm = {0, 1, -1, 12345, 32767, -32768};
  SF_INFO info{0, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
  SNDFILE* sf = sf_open(dir.File("pcm.wav").c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr);
  sf_write_short(sf, pcm.data(), static_cast<sf_count_t>(pcm.size()));
  sf_close(sf);
  EXPECT_EQ(host::DecodeSoundFile(dir.File("pcm.wav")).Samples, pcm);

  const std::vector<float> loud = {1.5f, -1.5f, 0.25f, NAN};
  info = SF_INFO{0, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
  sf = sf_open(dir.File("loud.wav").c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr);
  sf_command(sf, SFC_SET_CLIPPING, nullptr, SF_FALSE);
  sf_write_float(sf, loud.data(), static_cast<sf_count_t>(loud.size()));
  sf_close(sf);
  EXPECT_EQ(host::DecodeSoundFile(dir.File("loud.wav")).Samples,
            (std::vector<int16_t>{32767, -32768, 8192, 0}));
}

TEST(SndfileDecoderTest, StreamsBlockByBlockAsTheWholeDecodesAndSeeks) {
  testing_support::TempDir dir;
  const std::string path = dir.File("tone.wav");
  WriteTone(path, 10000, 8000, 2);
  const host::TPcmSound whole = host::DecodeSoundFile(path);
  host::TSoundFileStream stream(path);
  EXPECT_EQ(stream.SampleRate(), 8000);
  EXPECT_EQ(stream.Channels(), 2);
  EXPECT_EQ(stream.Frames(), 10000);
  // Odd reads across the decoder's blocks give the same samples as decoding whole.
  std::vector<int16_t> streamed(20000 + 10);
  int64_t at = 0;
  while (int64_t got = stream.Read(streamed.data() + at * 2, 777)) at += got;
  EXPECT_EQ(at, 10000);
  EXPECT_EQ(stream.Position(), 10000);
  streamed.resize(20000);
  EXPECT_EQ(streamed, whole.Samples);

  stream.Seek(9000);
  std::vector<int16_t> tail(2000);
  ASSERT_EQ(stream.Read(tail.data(), 1000), 1000);
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), whole.Samples.begin() + 18000));
  stream.Seek(20000);
  EXPECT_EQ(stream.Position(), 10000);
  EXPECT_EQ(stream.Read(tail.data(), 1000), 0);
}

TEST(SndfileDecoderTest, TellsDamagedDataFromWhatIsNoSoundOrCannotBeRead) {
  testing_support::TempDir dir;
  WriteDamagedFlac(dir.File("damaged.flac"));
  EXPECT_THROW(host::TSoundFileStream{dir.File("damaged.flac")}, host::EDamagedSound);
  EXPECT_THROW(host::DecodeSoundFile(dir.File("damaged.flac")), host::EDamagedSound);
  testing_support::WriteFile(dir.File("notes.wav"), "this is text, not a sound");
  try {
    host::TSoundFileStream stream(dir.File("notes.wav"));
    ADD_FAILURE() << "opened text";
  } catch (const host::EDamagedSound&) {
    ADD_FAILURE() << "text taken for a damaged sound";
  } catch (const host::EInvalidSound& e) {
    EXPECT_NE(e.Message().find("notes.wav"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(host::TSoundFileStream{dir.Path()}, host::EInOutError);
  EXPECT_THROW(host::TSoundFileStream{dir.File("missing.wav")}, host::EInOutError);
}

TEST(SndfileDecoderTest, RejectsWhatIsNotASound) {
  try {
    host::DecodeSound("RIFF\x10\0\0\0WAVEjunk", "broken.wav");
    FAIL() << "decoded garbage";
  } catch (const host::EInvalidSound& e) {
    EXPECT_NE(e.Message().find("broken.wav"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(host::DecodeSoundFile("/nonexistent/ding.wav"), host::EInOutError);
}

// Through SDL's dummy driver: real devices, real queues, no sound card.
TEST(SdlAudioOutputTest, QueuesTheSoundOnARealDevice) {
  testing_support::TempDir dir;
  WriteTone(dir.File("tone.wav"), 22050);
  TMciService service;
  service.SetClock(std::make_unique<host::TManualClock>());
  auto output = std::make_unique<host::TSdlAudioOutput>();
  host::TSdlAudioOutput* sdl = output.get();
  service.SetOutput(std::move(output));
  std::string reply;
  ASSERT_EQ(service.SendString("open " + dir.File("tone.wav") + " type waveaudio alias t", reply),
            0);
  EXPECT_EQ(sdl->DriverName(), "") << "SDL starts with the first sound, not before";
  ASSERT_EQ(service.SendString("play t from 500", reply), 0);
  EXPECT_NE(sdl->DriverName(), "");
  EXPECT_EQ(sdl->VoiceCount(), 1);
  ASSERT_EQ(service.SendString("pause t", reply), 0);
  EXPECT_EQ(sdl->VoiceCount(), 1);
  ASSERT_EQ(service.SendString("close t", reply), 0);
  EXPECT_EQ(sdl->VoiceCount(), 0);

  // A minute of sound, so that however slowly this runs, SDL cannot have played it all.
  host::TPcmSound minute;
  minute.SampleRate = 8000;
  minute.Channels = 1;
  minute.Samples.assign(8000 * 60, 1000);
  const int voice = sdl->Start(minute, 0);
  ASSERT_NE(voice, 0);
  sdl->Pause(voice);
  const int64_t pending = sdl->PendingFrames(voice);
  EXPECT_GT(pending, 0);
  EXPECT_LE(pending, 8000 * 60);
  sdl->Resume(voice);
  sdl->Stop(voice);
  EXPECT_EQ(sdl->PendingFrames(voice), 0);
  EXPECT_EQ(sdl->VoiceCount(), 0);
  EXPECT_EQ(sdl->Start(minute, 8000 * 60), 0) << "nothing left to play";
}

// An hour of sound made up as it is read, counting what was read.
class THourStream final : public host::ISoundStream {
 public:
  explicit THourStream(int64_t& read) : FRead(read) {}
  int SampleRate() const override { return 44100; }
  int Channels() const override { return 2; }
  int64_t Frames() const override { return int64_t{44100} * 3600; }
  int64_t Position() const override { return FRead; }
  int64_t Read(int16_t* buffer, int64_t frames) override {
    const int64_t n = std::min(frames, Frames() - FRead);
    std::fill(buffer, buffer + n * 2, int16_t{100});
    FRead += n;
    return n;
  }

 private:
  int64_t& FRead;
};

TEST(SdlAudioOutputTest, ReadsAStreamOnlyAsItPlays) {
  host::TSdlAudioOutput sdl;
  int64_t read = 0;
  const int voice = sdl.Start(std::make_unique<THourStream>(read));
  ASSERT_NE(voice, 0);
  sdl.Pause(voice);
  // SDL's thread has played at most the moments this test has taken, far from the whole hour.
  const int64_t pending = sdl.PendingFrames(voice);
  EXPECT_GT(pending, int64_t{44100} * 3000);
  EXPECT_EQ(pending, int64_t{44100} * 3600 - read);
  sdl.Stop(voice);
  EXPECT_EQ(sdl.PendingFrames(voice), 0);
  EXPECT_EQ(sdl.Start(std::unique_ptr<host::ISoundStream>()), 0);
}

// Sets an environment variable for the lifetime of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::string& value) : FName(name) {
    const char* old = std::getenv(name);
    FHad = old != nullptr;
    FOld = old ? old : "";
    ::setenv(name, value.c_str(), 1);
  }
  ~TScopedEnv() {
    if (FHad)
      ::setenv(FName, FOld.c_str(), 1);
    else
      ::unsetenv(FName);
  }

 private:
  const char* FName;
  bool FHad = false;
  std::string FOld;
};

int StartSomething(host::TSdlAudioOutput& sdl) {
  host::TPcmSound sound;
  sound.SampleRate = 8000;
  sound.Channels = 1;
  sound.Samples.assign(800, 1000);
  return sdl.Start(sound, 0);
}

TEST(SdlAudioOutputTest, FallsBackToTheDummyDriver) {
  {
    // A driver SDL does not have fails to start.
    TScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    host::TSdlAudioOutput sdl;
    EXPECT_NE(StartSomething(sdl), 0);
    EXPECT_EQ(sdl.DriverName(), "dummy");
  }
  {
    // ALSA starts even without a sound card and fails only when a device is opened, which an
    // empty ALSA configuration brings about on any machine. Where SDL lacks ALSA altogether,
    // starting fails instead, with the same outcome.
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("empty.conf"), "");
    TScopedEnv driver("SDL_AUDIODRIVER", "alsa");
    TScopedEnv config("ALSA_CONFIG_PATH", dir.File("empty.conf"));
    host::TSdlAudioOutput sdl;
    EXPECT_NE(StartSomething(sdl), 0);
    EXPECT_EQ(sdl.DriverName(), "dummy");
  }
}

}  // namespace
