#pragma once

#include <cstdint>
#include <map>
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

  int Start(const TPcmSound& sound, int64_t fromFrame) override;
  void Pause(int voice) override;
  void Resume(int voice) override;
  void Stop(int voice) override;
  int64_t PendingFrames(int voice) const override;

  // The SDL driver in use; empty before the first sound and when SDL audio could not start.
  const std::string& DriverName() const { return FDriverName; }
  int VoiceCount() const { return static_cast<int>(FVoices.size()); }
  // Every frame handed to SDL so far, over all voices.
  int64_t FramesQueued() const { return FFramesQueued; }

 private:
  enum TAudioState { asNotStarted, asStarted, asUnavailable };
  struct TVoice {
    uint32_t Device = 0;
    int FrameBytes = 0;
  };

  bool EnsureStarted();
  void SetStarted(bool started);
  uint32_t OpenVoiceDevice(const TPcmSound& sound);
  const TVoice* Find(int voice) const;

  TAudioState FState = asNotStarted;
  std::string FDriverName;
  std::map<int, TVoice> FVoices;
  int FNextVoice = 1;
  int64_t FFramesQueued = 0;
};

}  // namespace host
