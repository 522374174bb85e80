// Opening a long wave and playing its first second, as a wave player does: how long the caller
// waits, and how much memory the process takes at its peak.

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/Mci.h"

namespace {

namespace fs = std::filesystem;

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int Seconds = 3600;

// An hour of CD-quality tone, written a second at a time so that making it costs no memory.
class THourWave {
 public:
  THourWave() {
    char pattern[] = "/tmp/mebrox-wave-bench-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    FDir = pattern;
    FPath = FDir + "/hour.wav";
    SF_INFO info{};
    info.samplerate = Rate;
    info.channels = Channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* sf = sf_open(FPath.c_str(), SFM_WRITE, &info);
    if (!sf) std::abort();
    std::vector<short> second(static_cast<size_t>(Rate) * Channels);
    for (int i = 0; i < Rate; ++i)
      for (int c = 0; c < Channels; ++c)
        second[static_cast<size_t>(i * Channels + c)] =
            static_cast<short>(8000 * std::sin(2 * M_PI * 440 * i / Rate));
    for (int s = 0; s < Seconds; ++s) sf_writef_short(sf, second.data(), Rate);
    sf_close(sf);
  }
  ~THourWave() { fs::remove_all(FDir); }
  const std::string& Path() const { return FPath; }

 private:
  std::string FDir;
  std::string FPath;
};

long PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

void BM_OpenAnHourAndPlayItsFirstSecond(benchmark::State& state) {
  static THourWave wave;
  auto clock = std::make_unique<host::TManualClock>();
  host::TManualClock* time = clock.get();
  host::TMciService mci;
  mci.SetClock(std::move(clock));
  std::string reply;
  bool played = true;
  for (auto _ : state) {
    int result = mci.SendString("open " + wave.Path() + " type WaveAudio alias hour", reply);
    if (result == 0) result = mci.SendString("play hour from 0", reply);
    time->Advance(1000);
    if (result == 0) result = mci.SendString("status hour position", reply);
    played = played && result == 0 && reply == "1000";
    mci.SendString("close hour", reply);
  }
  // A refused wave still shows what refusing it cost.
  state.counters["played"] = played ? 1 : 0;
  state.counters["peak_rss_MB"] = static_cast<double>(PeakRssMb());
}
BENCHMARK(BM_OpenAnHourAndPlayItsFirstSecond)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
