#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "host/Mci.h"
#include "host/media/SdlAudioCapture.h"
#include "host/media/SndfileDecoder.h"
#include "host/media/WaveWriter.h"
#include "tests/TestSupport.h"
#include "tests/host/DiskAudio.h"

namespace {

using testing_support::TDiskAudio;
using testing_support::TempDir;
using testing_support::TestSignal;

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

host::TPcmSound Sound(int rate, int channels, std::vector<int16_t> samples) {
  host::TPcmSound sound;
  sound.SampleRate = rate;
  sound.Channels = channels;
  sound.Samples = std::move(samples);
  return sound;
}

TEST(WaveWriterTest, EncodesSixteenBitSamplesThatDecodeUnchanged) {
  std::vector<int16_t> samples = TestSignal(2 * 999);
  samples[0] = -32768;
  samples[1] = 32767;
  const host::TPcmSound stereo = Sound(11025, 2, samples);
  const std::string bytes = host::EncodeWave(stereo);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "WAVE");
  const host::TPcmSound back = host::DecodeSound(bytes, "stereo.wav");
  EXPECT_EQ(back.SampleRate, 11025);
  EXPECT_EQ(back.Channels, 2);
  EXPECT_EQ(back.Samples, samples);
  // 16-bit PCM: a 44-byte header and two bytes a sample, nothing more.
  EXPECT_EQ(bytes.size(), 44 + samples.size() * 2);

  EXPECT_EQ(host::DecodeSound(host::EncodeWave(Sound(8000, 1, {})), "empty.wav").Frames(), 0);
  EXPECT_THROW(host::EncodeWave(Sound(0, 1, {1, 2})), host::EInOutError);
  EXPECT_THROW(host::EncodeWave(Sound(8000, 0, {})), host::EInOutError);
}

TEST(WaveWriterTest, WritesOnlyNewFilesAndLeavesNothingBehindWhenItFails) {
  TempDir dir;
  const host::TPcmSound sound = Sound(22050, 1, TestSignal(500));
  host::WriteNewWaveFile(dir.File("Sound1.wav"), sound);
  EXPECT_EQ(host::DecodeSoundFile(dir.File("Sound1.wav")).Samples, sound.Samples);
  EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"Sound1.wav"}));
  // The usual permissions of a new file, not those of a private temporary one.
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("Sound1.wav").c_str(), &st), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

  // An existing file is never replaced.
  testing_support::WriteFile(dir.File("Ding.wav"), "not mine");
  EXPECT_THROW(host::WriteNewWaveFile(dir.File("Ding.wav"), sound), host::EFileExists);
  EXPECT_EQ(testing_support::ReadFile(dir.File("Ding.wav")), "not mine");

  // A folder that cannot take files: the message names the file, and no piece stays.
  testing_support::WriteFile(dir.File("notes"), "a file, not a folder");
  try {
    host::WriteNewWaveFile(dir.File("notes/Sound1.wav"), sound);
    FAIL() << "wrote into a file";
  } catch (const host::EFileExists&) {
    FAIL() << "a failure to write is not a name taken";
  } catch (const host::EInOutError& e) {
    EXPECT_NE(e.Message().find("notes/Sound1.wav"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"Sound1.wav", "Ding.wav", "notes"}));
}

// SDL audio is one per process: the wave-audio service's output must not hold it with another
// driver while a test starts it with its own.
class SdlAudioCaptureTest : public testing::Test {
 protected:
  void SetUp() override {
    host::Mci().SetOutput(nullptr);
    ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "SDL audio is held elsewhere";
  }
};

TEST_F(SdlAudioCaptureTest, TakesInTheDevicesSoundInOrderThenSilence) {
  const std::vector<int16_t> input = TestSignal(2 * 3000);  // 3000 stereo frames
  TDiskAudio disk(input);
  host::TSdlAudioCapture capture;
  EXPECT_EQ(capture.DriverName(), "") << "SDL starts with the first use";
  ASSERT_TRUE(capture.Available()) << capture.ErrorText();
  EXPECT_EQ(capture.DriverName(), "disk");
  EXPECT_EQ(capture.ErrorText(), "");
  ASSERT_TRUE(capture.Start(8000, 2)) << capture.ErrorText();
  EXPECT_TRUE(capture.Recording());

  // Read in uneven pieces: the frames come in order, whole, each once.
  std::vector<int16_t> got;
  for (int64_t piece : {1, 700, 1299, 1000}) {
    ASSERT_TRUE(capture.WaitForFrames(piece));
    EXPECT_EQ(capture.Read(got, piece), piece);
  }
  EXPECT_EQ(got, input);
  // Past the end of its file the device goes on with silence.
  ASSERT_TRUE(capture.WaitForFrames(600));
  std::vector<int16_t> after;
  EXPECT_EQ(capture.Read(after, 600), 600);
  EXPECT_EQ(after, std::vector<int16_t>(1200, 0));

  // What came in before Stop stays readable; nothing comes after it.
  capture.Stop();
  EXPECT_FALSE(capture.Recording());
  const int64_t left = capture.FramesReady();
  EXPECT_FALSE(capture.WaitForFrames(left + 1));
  EXPECT_EQ(capture.Read(after, left + 5), left);
  EXPECT_EQ(capture.FramesReady(), 0);

  // A new take starts the device afresh: its file from the beginning, in the new format.
  ASSERT_TRUE(capture.Start(22050, 1));
  ASSERT_TRUE(capture.WaitForFrames(6000));
  got.clear();
  capture.Read(got, 6000);
  EXPECT_EQ(got, input);
}

TEST_F(SdlAudioCaptureTest, SaysWhenThereIsNothingToRecordFrom) {
  {
    // The dummy driver "records" silence; that is no recording device.
    testing_support::TScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    host::TSdlAudioCapture capture;
    EXPECT_FALSE(capture.Available());
    EXPECT_NE(capture.ErrorText().find("no recording device"), std::string::npos)
        << capture.ErrorText();
    EXPECT_FALSE(capture.Start(22050, 1));
    EXPECT_FALSE(capture.Recording());
    std::vector<int16_t> none;
    EXPECT_EQ(capture.Read(none, 100), 0);
  }
  ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the capture lets SDL audio go";
  {
    // A device that is listed but cannot be opened.
    TDiskAudio disk(std::nullopt);
    host::TSdlAudioCapture capture;
    EXPECT_TRUE(capture.Available());
    EXPECT_FALSE(capture.Start(22050, 1));
    EXPECT_NE(capture.ErrorText().find(disk.InputFile()), std::string::npos) << capture.ErrorText();
    EXPECT_FALSE(capture.Recording());
  }
}

}  // namespace
