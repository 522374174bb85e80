// Writes the tour's wave files, so that the repository carries no recorded sound:
//   make_tour_sounds DIR   ->  DIR/chime.wav (a short bell) and DIR/melody.wav (a little tune)
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
constexpr double Pi = 3.14159265358979323846;

// A struck note: a few harmonics under an exponential decay.
void AddNote(std::vector<double>& out, double start, double length, double frequency,
             double volume) {
  auto first = static_cast<size_t>(start * SampleRate);
  auto count = static_cast<size_t>(length * SampleRate);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  for (size_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / SampleRate;
    double envelope = std::exp(-4.0 * t / length) * std::min(1.0, t * 200.0);
    double wave = std::sin(2 * Pi * frequency * t) + 0.4 * std::sin(4 * Pi * frequency * t) +
                  0.15 * std::sin(6 * Pi * frequency * t);
    out[first + i] += volume * envelope * wave;
  }
}

bool Write(const std::string& path, const std::vector<double>& samples) {
  SF_INFO info{};
  info.samplerate = SampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "make_tour_sounds: cannot write %s: %s\n", path.c_str(),
                 sf_strerror(nullptr));
    return false;
  }
  std::vector<short> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    pcm[i] = static_cast<short>(std::lround(std::max(-1.0, std::min(1.0, samples[i])) * 32000));
  sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
  sf_close(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_tour_sounds DIR\n");
    return 2;
  }
  std::string dir = argv[1];

  std::vector<double> chime;
  AddNote(chime, 0.0, 0.9, 880.0, 0.35);
  AddNote(chime, 0.12, 0.9, 1318.5, 0.25);

  // "Twinkle, twinkle", first line, at a gentle pace.
  const double notes[] = {261.6, 261.6, 392.0, 392.0, 440.0, 440.0, 392.0,
                          349.2, 349.2, 329.6, 329.6, 293.7, 293.7, 261.6};
  std::vector<double> melody;
  double at = 0.0;
  for (size_t i = 0; i < std::size(notes); ++i) {
    double length = (i == 6 || i == 13) ? 0.8 : 0.4;
    AddNote(melody, at, length + 0.3, notes[i], 0.3);
    at += length;
  }

  return Write(dir + "/chime.wav", chime) && Write(dir + "/melody.wav", melody) ? 0 : 1;
}
