#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace testing_support {

// Sets an environment variable (or, with no value, takes it away) for the lifetime of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::optional<std::string>& value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~TScopedEnv() {
    if (FOld)
      ::setenv(FName, FOld->c_str(), 1);
    else
      ::unsetenv(FName);
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// A half-loud 440 Hz tone (at 22050 frames a second) with a small saw on top, so that no two
// neighbouring samples are equal and a frame lost, doubled or moved shows.
inline std::vector<int16_t> TestSignal(size_t samples) {
  std::vector<int16_t> signal(samples);
  for (size_t i = 0; i < samples; ++i)
    signal[i] = static_cast<int16_t>(std::lrint(16000 * std::sin(2 * M_PI * 440 * i / 22050.0)) +
                                     static_cast<long>(i % 7));
  return signal;
}

// SDL's "disk" audio driver for the lifetime of the object: a capture device reads the given
// samples (raw, native 16-bit, in whatever rate and channels it is opened with) and silence once
// they run out; playback goes to a file. The driver moves a block a millisecond instead of in
// real time, so that a device owing a second of sound delivers it at once. Without input the
// input file is missing, so the device is listed but cannot be opened.
class TDiskAudio {
 public:
  explicit TDiskAudio(const std::optional<std::vector<int16_t>>& input)
      : FDriver("SDL_AUDIODRIVER", "disk"),
        FInput("SDL_DISKAUDIOFILEIN", FDir.File("in.raw")),
        FOutput("SDL_DISKAUDIOFILE", FDir.File("out.raw")),
        FDelay("SDL_DISKAUDIODELAY", "1") {
    if (input)
      WriteFile(FDir.File("in.raw"),
                std::string(reinterpret_cast<const char*>(input->data()), input->size() * 2));
  }
  std::string InputFile() const { return FDir.File("in.raw"); }

 private:
  TempDir FDir;
  TScopedEnv FDriver, FInput, FOutput, FDelay;
};

}  // namespace testing_support
