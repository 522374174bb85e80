#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The MCI command-string service for wave audio, with the old result codes: 0 for success,
// MCIERR_BASE + n for an error. Our own codes keep the numbers MCI gave the same faults.
inline constexpr int MCIERR_BASE = 256;
inline constexpr int MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
inline constexpr int MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr int MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr int MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr int MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
inline constexpr int MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
inline constexpr int MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr int MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr int MCIERR_CANNOT_USE_ALL = MCIERR_BASE + 23;
inline constexpr int MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr int MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
inline constexpr int MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
inline constexpr int MCIERR_DUPLICATE_FLAGS = MCIERR_BASE + 39;
inline constexpr int MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr int MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;
inline constexpr int MCIERR_FILE_READ = MCIERR_BASE + 92;
// MCI had no code of its own for a sound file whose data cannot be decoded.
inline constexpr int MCIERR_DAMAGED_FILE = MCIERR_BASE + 95;

// A time source. Devices take their mode and position from it, so tests advance time instead
// of sleeping.
class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds from a fixed origin of this clock; never goes back.
  virtual int64_t NowMs() const = 0;
  // Returns once ms milliseconds have passed on this clock; at once for 0 or less.
  virtual void Sleep(int64_t ms) = 0;
};

// The machine's monotonic clock; Sleep blocks the calling thread.
class TSteadyClock final : public IClock {
 public:
  int64_t NowMs() const override;
  void Sleep(int64_t ms) override;
};

// Time that moves only when told to; Sleep moves it at once.
class TManualClock final : public IClock {
 public:
  int64_t NowMs() const override { return FNow; }
  void Sleep(int64_t ms) override { Advance(ms); }
  void Advance(int64_t ms) {
    if (ms > 0) FNow += ms;
  }

 private:
  int64_t FNow = 0;
};

// Milliseconds that frames last at rate, rounded up, so that a sound has ended once this many
// have passed.
inline int64_t SoundLengthMs(int64_t frames, int rate) {
  return rate > 0 ? (frames * 1000 + rate - 1) / rate : 0;
}

// A whole decoded sound: interleaved signed 16-bit samples, Channels per frame.
struct TPcmSound {
  int SampleRate = 0;
  int Channels = 0;
  std::vector<int16_t> Samples;

  int64_t Frames() const {
    return Channels > 0 ? static_cast<int64_t>(Samples.size()) / Channels : 0;
  }
  int64_t LengthMs() const { return SoundLengthMs(Frames(), SampleRate); }
};

// A sound read front to back a block at a time, so that a long one is never held whole.
class ISoundStream {
 public:
  virtual ~ISoundStream() = default;
  virtual int SampleRate() const = 0;
  virtual int Channels() const = 0;
  // Frames of the whole sound.
  virtual int64_t Frames() const = 0;
  // The frame the next Read starts at.
  virtual int64_t Position() const = 0;
  // Reads up to frames frames of interleaved 16-bit samples into buffer; fewer only at the end
  // of the sound, 0 there. Data that cannot be decoded fails with an Exception.
  virtual int64_t Read(int16_t* buffer, int64_t frames) = 0;
};

// A sound held in memory, read from a frame on. It keeps its own copy, so that it may outlive
// the sound it was made from.
class TPcmStream final : public ISoundStream {
 public:
  TPcmStream(const TPcmSound& sound, int64_t fromFrame);
  int SampleRate() const override { return FSound.SampleRate; }
  int Channels() const override { return FSound.Channels; }
  int64_t Frames() const override { return FSound.Frames(); }
  int64_t Position() const override { return FPosition; }
  int64_t Read(int16_t* buffer, int64_t frames) override;

 private:
  TPcmSound FSound;
  int64_t FPosition = 0;
};

// Where devices send their sound. Voices are numbered by the output; 0 is no voice. Sound is a
// courtesy: the device's mode and position never depend on what the output does.
class IAudioOutput {
 public:
  virtual ~IAudioOutput() = default;
  // Plays the stream on a new voice from where it stands, reading it only as fast as it plays
  // (on a thread of the output's own if it likes), and frees it with the voice. Returns the
  // voice's number, or 0 when it cannot be played (no audio system, nothing left to play).
  virtual int Start(std::unique_ptr<ISoundStream> stream) = 0;
  // Holds a voice where it is; unknown voices are ignored.
  virtual void Pause(int voice) = 0;
  // Continues a held voice from where it was held; unknown voices are ignored.
  virtual void Resume(int voice) = 0;
  // Ends a voice at once and frees what it holds; unknown voices are ignored.
  virtual void Stop(int voice) = 0;
  // Frames of the voice not played yet; 0 once it has drained, and for unknown voices.
  virtual int64_t PendingFrames(int voice) const = 0;

  // A sound in memory from frame fromFrame on.
  int Start(const TPcmSound& sound, int64_t fromFrame) {
    return Start(std::make_unique<TPcmStream>(sound, fromFrame));
  }
};

// An output without sound, for runs that must stay quiet.
class TSilentAudioOutput final : public IAudioOutput {
 public:
  using IAudioOutput::Start;
  int Start(std::unique_ptr<ISoundStream>) override { return 0; }
  void Pause(int) override {}
  void Resume(int) override {}
  void Stop(int) override {}
  int64_t PendingFrames(int) const override { return 0; }
};

// Open wave-audio devices by alias, and the commands that drive them:
//   open <path> [type WaveAudio] alias <alias> [wait]   (the path may hold blanks or be quoted)
//   play <alias> [from <ms>] [wait]     pause|resume|stop <alias> [wait]
//   seek <alias> to start|end|<ms> [wait]               (stops there)
//   status <alias> mode|length|position|ready          close <alias>|all [wait]
// Keywords and aliases ignore case. A device is "playing" from play until its sound's length has
// passed on the clock (time paused not counted), then "stopped". Call from one thread only.
class TMciService {
 public:
  // The steady clock, and SDL sound started by the first play.
  TMciService();
  ~TMciService();
  TMciService(const TMciService&) = delete;
  TMciService& operator=(const TMciService&) = delete;

  // Runs one command; reply receives the status text, empty for other commands and on errors.
  int SendString(const std::string& command, std::string& reply);

  // Both close every open device first: a device's timing and voice belong to the clock and
  // output it started with. Null restores the default.
  void SetClock(std::unique_ptr<IClock> clock);
  void SetOutput(std::unique_ptr<IAudioOutput> output);
  IClock& Clock() { return *FClock; }
  IAudioOutput& Output() { return *FOutput; }
  int DeviceCount() const { return static_cast<int>(FDevices.size()); }

  // Called after every command with its text and result, for traces of headless runs.
  std::function<void(const std::string& command, int result)> OnCommand;

 private:
  enum TDeviceMode { dmStopped, dmPlaying, dmPaused };
  // A device knows its file, not its samples: each voice decodes the file as it plays.
  struct TDevice {
    std::string FileName;
    int SampleRate = 0;
    int64_t LengthMs = 0;
    TDeviceMode Mode = dmStopped;
    int64_t PositionMs = 0;  // while playing: the position at StartedAt
    int64_t StartedAt = 0;
    int Voice = 0;
  };

  int Execute(const std::string& command, std::string& reply);
  int Open(std::string_view rest);
  int Play(TDevice& device, const std::vector<std::string>& args);
  int Status(TDevice& device, const std::vector<std::string>& args, std::string& reply);
  int Seek(TDevice& device, const std::vector<std::string>& args);
  void CloseAll();
  void Update(TDevice& device);
  int64_t Position(const TDevice& device) const;
  void ReleaseVoice(TDevice& device);
  void StartVoice(TDevice& device);

  std::unique_ptr<IClock> FClock;
  std::unique_ptr<IAudioOutput> FOutput;
  std::map<std::string, TDevice> FDevices;  // by lower-case alias
};

// The service the kit's commands go to.
TMciService& Mci();
// The old calls, over Mci().
int mciSendString(const std::string& command, std::string& reply);
// False, with text emptied, for a code that is not ours.
bool mciGetErrorString(int code, std::string& text);
// Mci().OnCommand.
std::function<void(const std::string& command, int result)>& MciObserver();

}  // namespace host
