#include "host/media/SndfileDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace host {

namespace {

// A sound held in memory, read by libsndfile through the virtual calls below.
struct TMemoryFile {
  std::string Bytes;
  sf_count_t Pos = 0;
};

sf_count_t MemLength(void* data) {
  return static_cast<sf_count_t>(static_cast<TMemoryFile*>(data)->Bytes.size());
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

// Decoded a block at a time: small enough to stay in the cache, large enough that libsndfile's
// per-call cost does not count.
constexpr sf_count_t BlockFrames = 4096;

// Beyond this a sound decoded whole would take gigabytes; longer ones are played as streams.
constexpr int64_t MaxWholeSamples = int64_t{1} << 28;

// Float sources may go beyond full scale, or hold garbage: clip, and silence what is no number.
int16_t ToSample(float value) {
  if (std::isnan(value)) return 0;
  return static_cast<int16_t>(std::lrint(std::clamp(value * 32768.0, -32768.0, 32767.0)));
}

}  // namespace

// Where libsndfile reads from: a file descriptor of ours, or bytes we hold.
struct TSoundFileStream::TSource {
  SNDFILE* File = nullptr;
  int Fd = -1;
  TMemoryFile Memory;

  ~TSource() {
    if (File) sf_close(File);
    if (Fd >= 0) ::close(Fd);
  }
};

TSoundFileStream::TSoundFileStream(const std::string& fileName)
    : FFileName(fileName), FSource(std::make_unique<TSource>()) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EInOutError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  FSource->Fd = fd;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
    throw EInOutError("Cannot open file \"" + fileName + "\": is a directory");
  Open(fd);
}

TSoundFileStream::TSoundFileStream(std::string bytes, const std::string& fileName)
    : FFileName(fileName), FSource(std::make_unique<TSource>()) {
  FSource->Memory.Bytes = std::move(bytes);
  Open(-1);
}

TSoundFileStream::~TSoundFileStream() = default;

void TSoundFileStream::Open(int fd) {
  SF_INFO info{};
  if (fd >= 0) {
    FSource->File = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
  } else {
    static SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
    FSource->File = sf_open_virtual(&io, SFM_READ, &info, &FSource->Memory);
  }
  if (!FSource->File)
    throw EInvalidSound(FFileName + ": not a sound that can be decoded (" + sf_strerror(nullptr) +
                        ")");
  if (info.channels <= 0 || info.samplerate <= 0)
    throw EInvalidSound(FFileName + ": the sound has no channels or no sample rate");
  FSampleRate = info.samplerate;
  FChannels = info.channels;
  FFrames = info.frames;
  FRaw.resize(static_cast<size_t>(BlockFrames * FChannels));
  // A header that does not tell the length: count the frames once, then start again.
  if (FFrames < 0 || FFrames == SF_COUNT_MAX) {
    FFrames = 0;
    while (sf_count_t got = sf_readf_float(FSource->File, FRaw.data(), BlockFrames)) {
      if (got < 0) break;
      FFrames += got;
    }
    if (sf_error(FSource->File) != SF_ERR_NO_ERROR || sf_seek(FSource->File, 0, SEEK_SET) != 0)
      throw EDamagedSound(FFileName + ": the sound data is damaged (" + sf_strerror(FSource->File) +
                          ")");
  }
  Fill();
}

// Read as float and converted here: libsndfile normalises integer data to [-1, 1) by the exact
// power of two, so 16-bit sources come back unchanged, while its own float-to-short path would
// either truncate float files to -1..1 or rescale them to their peak.
void TSoundFileStream::Fill() {
  FBlock.clear();
  FBlockAt = 0;
  const sf_count_t got = sf_readf_float(FSource->File, FRaw.data(), BlockFrames);
  if (sf_error(FSource->File) != SF_ERR_NO_ERROR)
    throw EDamagedSound(FFileName + ": the sound data is damaged (" + sf_strerror(FSource->File) +
                        ")");
  FBlock.reserve(static_cast<size_t>(std::max<sf_count_t>(got, 0) * FChannels));
  for (sf_count_t i = 0; i < got * FChannels; ++i)
    FBlock.push_back(ToSample(FRaw[static_cast<size_t>(i)]));
}

int64_t TSoundFileStream::Read(int16_t* buffer, int64_t frames) {
  int64_t done = 0;
  while (done < frames) {
    if (FBlockAt == FBlock.size()) {
      Fill();
      if (FBlock.empty()) break;
    }
    const auto channels = static_cast<size_t>(FChannels);
    const size_t n =
        std::min((FBlock.size() - FBlockAt) / channels, static_cast<size_t>(frames - done));
    std::copy_n(FBlock.begin() + static_cast<std::ptrdiff_t>(FBlockAt), n * channels,
                buffer + done * FChannels);
    FBlockAt += n * channels;
    done += static_cast<int64_t>(n);
  }
  FPosition += done;
  return done;
}

void TSoundFileStream::Seek(int64_t frame) {
  frame = std::clamp<int64_t>(frame, 0, FFrames);
  if (frame == FPosition) return;
  if (sf_seek(FSource->File, frame, SEEK_SET) != frame)
    throw EDamagedSound(FFileName + ": cannot go to frame " + std::to_string(frame) + " (" +
                        sf_strerror(FSource->File) + ")");
  FPosition = frame;
  Fill();
}

TPcmSound DecodeSound(std::string_view bytes, const std::string& fileName) {
  TSoundFileStream stream{std::string(bytes), fileName};
  TPcmSound sound;
  sound.SampleRate = stream.SampleRate();
  sound.Channels = stream.Channels();
  if (stream.Frames() * stream.Channels() > MaxWholeSamples)
    throw EInvalidSound(fileName + ": the sound is too long to be held whole");
  sound.Samples.resize(static_cast<size_t>(stream.Frames() * stream.Channels()));
  // The header's frame count may promise more than the data holds.
  const int64_t got = stream.Read(sound.Samples.data(), stream.Frames());
  sound.Samples.resize(static_cast<size_t>(got * stream.Channels()));
  return sound;
}

TPcmSound DecodeSoundFile(const std::string& fileName) {
  return DecodeSound(ReadFileBytes(fileName), fileName);
}

}  // namespace host
