#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>

#include "host/Mci.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// Writes a 440 Hz sine with libsndfile: frames / rate seconds long, 16-bit WAV unless format
// says otherwise.
inline void WriteTone(const std::string& path, int frames, int rate = 22050, int channels = 1,
                      int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!sf) {
    ADD_FAILURE() << "cannot write " << path << ": " << sf_strerror(nullptr);
    return;
  }
  std::vector<double> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(i) * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
          0.5 * std::sin(2 * M_PI * 440 * i / rate);
  sf_writef_double(sf, samples.data(), frames);
  sf_close(sf);
}

// The global wave-audio service on a manual clock and a silent output, every command and its
// result recorded, for the lifetime of the object; the defaults come back afterwards.
class QuietMci {
 public:
  QuietMci() {
    auto clock = std::make_unique<host::TManualClock>();
    Clock = clock.get();
    host::Mci().SetClock(std::move(clock));
    host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
    host::MciObserver() = [this](const std::string& command, int result) {
      Commands.push_back(command);
      Results.push_back(result);
    };
  }
  ~QuietMci() {
    host::MciObserver() = nullptr;
    host::Mci().SetClock(nullptr);
    host::Mci().SetOutput(nullptr);
  }
  QuietMci(const QuietMci&) = delete;
  QuietMci& operator=(const QuietMci&) = delete;

  host::TManualClock* Clock = nullptr;
  std::vector<std::string> Commands;
  std::vector<int> Results;
};

}  // namespace testing_support
