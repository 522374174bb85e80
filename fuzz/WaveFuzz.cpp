// Plays arbitrary bytes as a wave file: decoded block by block and whole, as the player's voices
// and the recorder read sounds, and driven through the MCI commands the wave player sends (a
// silent output and a manual clock, so that nothing waits). Damaged sounds must fail with the
// kit's sound errors, never past the end of what they hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "host/Mci.h"
#include "host/media/SndfileDecoder.h"

using namespace host;

namespace {

// Reads up to a few seconds of the stream in blocks; what it says of itself must add up.
void ReadStream(TSoundFileStream& stream, int64_t seekTo) {
  if (stream.Channels() <= 0 || stream.Frames() < 0) std::abort();
  std::vector<int16_t> buffer(static_cast<size_t>(1024 * stream.Channels()));
  int64_t total = 0;
  for (int i = 0; i < 200; ++i) {
    int64_t n = stream.Read(buffer.data(), 1024);
    if (n < 0 || n > 1024) std::abort();
    if (n == 0) break;
    total += n;
  }
  if (stream.Position() > stream.Frames()) std::abort();
  stream.Seek(seekTo);
  if (stream.Position() < 0 || stream.Position() > stream.Frames()) std::abort();
  stream.Read(buffer.data(), 1024);
  (void)total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return -1;
  fuzz_support::StartGui();
  static TManualClock* clock = [] {
    auto c = std::make_unique<TManualClock>();
    TManualClock* raw = c.get();
    Mci().SetClock(std::move(c));
    return raw;
  }();

  std::string bytes(reinterpret_cast<const char*>(data), size);
  int64_t seekTo = size > 0 ? data[0] * 97 : 0;
  try {
    TSoundFileStream stream(bytes, "fuzz.wav");
    ReadStream(stream, seekTo);
  } catch (const EInvalidSound&) {
  }
  try {
    TPcmSound sound = DecodeSound(bytes, "fuzz.wav");
    if (sound.Channels > 0 && sound.Samples.size() % static_cast<size_t>(sound.Channels) != 0)
      std::abort();
  } catch (const EInvalidSound&) {
  }

  std::string file = fuzz_support::Scratch().File("fuzz wave.wav");
  fuzz_support::WriteFile(file, bytes);
  try {
    TSoundFileStream stream(file);
    ReadStream(stream, seekTo);
  } catch (const EInvalidSound&) {
  }
  std::string reply;
  if (Mci().SendString("open " + file + " type WaveAudio alias fuzz", reply) == 0) {
    Mci().SendString("status fuzz length", reply);
    Mci().SendString("play fuzz from " + std::to_string(seekTo), reply);
    clock->Advance(seekTo);
    Mci().SendString("status fuzz position", reply);
    Mci().SendString("pause fuzz", reply);
    Mci().SendString("resume fuzz", reply);
    Mci().SendString("seek fuzz to end", reply);
    Mci().SendString("status fuzz mode", reply);
    Mci().SendString("close fuzz", reply);
  }
  if (Mci().DeviceCount() != 0) std::abort();
  return 0;
}
