#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/AudioCapture.h"

namespace host {

// Recording from the default capture device of SDL2's configured driver (SDL_AUDIODRIVER, or
// SDL's own choice). SDL's "dummy" driver would record silence and call it sound: it counts as
// no device, so nobody keeps a take of nothing. SDL audio starts with the first use and stops
// with the object; the sound output shares it, and with it SDL's one driver.
class TSdlAudioCapture final : public IAudioCapture {
 public:
  TSdlAudioCapture();
  ~TSdlAudioCapture() override;
  TSdlAudioCapture(const TSdlAudioCapture&) = delete;
  TSdlAudioCapture& operator=(const TSdlAudioCapture&) = delete;

  bool Available() override;
  bool Start(int rate, int channels) override;
  void Stop() override;
  int64_t FramesReady() override;
  bool WaitForFrames(int64_t frames) override;
  int64_t Read(std::vector<int16_t>& samples, int64_t maxFrames) override;
  const std::string& ErrorText() const override { return FErrorText; }

  // The SDL driver in use; empty before the first use and when SDL audio could not start.
  const std::string& DriverName() const { return FDriverName; }
  bool Recording() const { return FDevice != 0; }

  // How much a take holds unread at most. A reader that falls this far behind loses what the
  // device takes in meanwhile, rather than the machine its memory.
  static constexpr int64_t MaxPendingMs = 10 * 60 * 1000;

 private:
  struct TShared;  // what SDL's thread fills, behind a lock

  bool EnsureStarted();

  std::unique_ptr<TShared> FShared;
  uint32_t FDevice = 0;
  bool FSdlStarted = false;
  std::string FDriverName;
  std::string FErrorText;
};

}  // namespace host
