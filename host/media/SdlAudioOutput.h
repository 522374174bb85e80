#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "host/Mci.h"

namespace host {

// Sound through SDL2's audio, started by the first sound. When SDL cannot start with the
// configured driver it falls back to its "dummy" driver, and when that fails too every voice is
// silently refused: timing is the service's business, so nothing blocks or fails for want of a
// sound card.
class TSdlAudioOutput final : public IAudioOutput {
 public:
  TSdlAudioOutput() = default;
  ~TSdlAudioOutput() override;
  TSdlAudioOutput(const TSdlAudioOutput&) = delete;
  TSdlAudioOutput& operator=(const TSdlAudioOutput&) = delete;

  using IAudioOutput::Start;
  int Start(std::unique_ptr<ISoundStream> stream) override;
  void Pause(int voice) override;
  void Resume(int voice) override;
  void Stop(int voice) override;
  int64_t PendingFrames(int voice) const override;

  // The SDL driver in use; empty before the first sound and when SDL audio could not start.
  const std::string& DriverName() const { return FDriverName; }
  int VoiceCount() const { return static_cast<int>(FVoices.size()); }

 private:
  enum TAudioState { asNotStarted, asStarted, asUnavailable };
  // SDL's audio thread reads the stream while the voice plays; the voice's owner only reads
  // Left, and touches the stream again once SDL has closed the device.
  struct TVoice {
    uint32_t Device = 0;
    std::unique_ptr<ISoundStream> Stream;
    std::atomic<int64_t> Left{0};  // frames not handed to SDL yet
  };

  static void Fill(void* voice, uint8_t* out, int length);
  bool EnsureStarted();
  void SetStarted(bool started);
  uint32_t OpenVoiceDevice(const ISoundStream& stream, TVoice& voice);
  const TVoice* Find(int voice) const;

  TAudioState FState = asNotStarted;
  std::string FDriverName;
  std::map<int, std::unique_ptr<TVoice>> FVoices;
  int FNextVoice = 1;
};

}  // namespace host
