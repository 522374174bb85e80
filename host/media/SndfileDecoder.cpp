#include "host/media/SndfileDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host {

namespace {

// libsndfile reads through these from a buffer we already hold, so a file is read once and
// reading faults and format faults stay apart.
struct TMemoryFile {
  std::string_view Bytes;
  sf_count_t Pos = 0;
};

sf_count_t MemLength(void* data) {
  return static_cast<TMemoryFile*>(data)->Bytes.size();
}

sf_count_t MemSeek(sf_count_t offset, int whence, void* data) {
  auto* f = static_cast<TMemoryFile*>(data);
  const auto size = static_cast<sf_count_t>(f->Bytes.size());
  sf_count_t pos = whence == SEEK_CUR   ? f->Pos + offset
                   : whence == SEEK_END ? size + offset
                                        : offset;
  if (pos < 0 || pos > size) return -1;
  f->Pos = pos;
  return pos;
}

sf_count_t MemRead(void* ptr, sf_count_t count, void* data) {
  auto* f = static_cast<TMemoryFile*>(data);
  const auto size = static_cast<sf_count_t>(f->Bytes.size());
  sf_count_t n = std::clamp<sf_count_t>(size - f->Pos, 0, std::max<sf_count_t>(count, 0));
  std::memcpy(ptr, f->Bytes.data() + f->Pos, static_cast<size_t>(n));
  f->Pos += n;
  return n;
}

sf_count_t MemWrite(const void*, sf_count_t, void*) {
  return 0;
}

sf_count_t MemTell(void* data) {
  return static_cast<TMemoryFile*>(data)->Pos;
}

// Beyond this a sound would take gigabytes once decoded; no hypertext page needs that.
constexpr int64_t MaxSamples = int64_t{1} << 28;

// Float sources may go beyond full scale, or hold garbage: clip, and silence what is no number.
int16_t ToSample(float value) {
  if (std::isnan(value)) return 0;
  return static_cast<int16_t>(std::lrint(std::clamp(value * 32768.0, -32768.0, 32767.0)));
}

}  // namespace

TPcmSound DecodeSound(std::string_view bytes, const std::string& fileName) {
  TMemoryFile file{bytes, 0};
  SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
  SF_INFO info{};
  SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
  if (!sf)
    throw EInvalidSound(fileName + ": not a sound that can be decoded (" + sf_strerror(nullptr) +
                        ")");
  struct TCloser {
    SNDFILE* F;
    ~TCloser() { sf_close(F); }
  } closer{sf};
  if (info.channels <= 0 || info.samplerate <= 0)
    throw EInvalidSound(fileName + ": the sound has no channels or no sample rate");

  TPcmSound sound;
  sound.SampleRate = info.samplerate;
  sound.Channels = info.channels;
  // Read as float and convert here: libsndfile normalises integer data to [-1, 1) by the
  // exact power of two, so 16-bit sources come back unchanged, while its own float-to-short
  // path would either truncate float files to -1..1 or rescale them to their peak.
  if (info.frames > 0 && info.frames * info.channels <= MaxSamples)
    sound.Samples.reserve(static_cast<size_t>(info.frames * info.channels));
  constexpr sf_count_t chunkFrames = 4096;
  std::vector<float> chunk(static_cast<size_t>(chunkFrames * info.channels));
  // The header's frame count is only a hint: some formats do not know it, so read to the end.
  for (;;) {
    const sf_count_t got = sf_readf_float(sf, chunk.data(), chunkFrames);
    if (got <= 0) break;
    if (static_cast<int64_t>(sound.Samples.size()) + got * info.channels > MaxSamples)
      throw EInvalidSound(fileName + ": the sound is too long to be played");
    for (sf_count_t i = 0; i < got * info.channels; ++i)
      sound.Samples.push_back(ToSample(chunk[static_cast<size_t>(i)]));
  }
  if (sf_error(sf) != SF_ERR_NO_ERROR)
    throw EInvalidSound(fileName + ": the sound data is damaged (" + sf_strerror(sf) + ")");
  return sound;
}

TPcmSound DecodeSoundFile(const std::string& fileName) {
  return DecodeSound(ReadFileBytes(fileName), fileName);
}

}  // namespace host
