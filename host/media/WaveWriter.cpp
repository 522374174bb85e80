#include "host/media/WaveWriter.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace host {

namespace {

// libsndfile writes into this instead of a file, so that encoding and writing fail apart and a
// file is only ever written whole.
struct TGrowingFile {
  std::string Bytes;
  sf_count_t Pos = 0;
};

sf_count_t GrowLength(void* data) {
  return static_cast<sf_count_t>(static_cast<TGrowingFile*>(data)->Bytes.size());
}

sf_count_t GrowSeek(sf_count_t offset, int whence, void* data) {
  auto* f = static_cast<TGrowingFile*>(data);
  const auto size = static_cast<sf_count_t>(f->Bytes.size());
  const sf_count_t pos = whence == SEEK_CUR   ? f->Pos + offset
                         : whence == SEEK_END ? size + offset
                                              : offset;
  if (pos < 0) return -1;
  f->Pos = pos;
  return pos;
}

sf_count_t GrowRead(void* ptr, sf_count_t count, void* data) {
  auto* f = static_cast<TGrowingFile*>(data);
  const auto size = static_cast<sf_count_t>(f->Bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(size - f->Pos, 0, std::max<sf_count_t>(count, 0));
  if (n > 0) std::memcpy(ptr, f->Bytes.data() + f->Pos, static_cast<size_t>(n));
  f->Pos += n;
  return n;
}

sf_count_t GrowWrite(const void* ptr, sf_count_t count, void* data) {
  auto* f = static_cast<TGrowingFile*>(data);
  if (count <= 0) return 0;
  const auto end = static_cast<size_t>(f->Pos + count);
  if (end > f->Bytes.size()) f->Bytes.resize(end);
  std::memcpy(f->Bytes.data() + f->Pos, ptr, static_cast<size_t>(count));
  f->Pos += count;
  return count;
}

sf_count_t GrowTell(void* data) {
  return static_cast<TGrowingFile*>(data)->Pos;
}

std::string ErrorText(int error) {
  return std::generic_category().message(error);
}

// Gives the finished temporary file the target's name unless that name is taken; a plain
// rename would replace a file that appeared meanwhile. Returns 0 or the error number.
int PublishWithoutReplacing(const std::string& temp, const std::string& path) {
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // Filesystems without that rename still refuse to link over a file.
  if (::link(temp.c_str(), path.c_str()) != 0) return errno;
  ::unlink(temp.c_str());
  return 0;
}

}  // namespace

std::string EncodeWave(const TPcmSound& sound) {
  if (sound.Channels <= 0 || sound.SampleRate <= 0)
    throw EInOutError("A sound without channels or sample rate cannot be written as a wave");
  TGrowingFile file;
  SF_VIRTUAL_IO io{GrowLength, GrowSeek, GrowRead, GrowWrite, GrowTell};
  SF_INFO info{};
  info.samplerate = sound.SampleRate;
  info.channels = sound.Channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sf = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (!sf)
    throw EInOutError(std::string("The sound cannot be encoded as a wave (") +
                      sf_strerror(nullptr) + ")");
  const sf_count_t frames = sound.Frames();
  const sf_count_t written = sf_writef_short(sf, sound.Samples.data(), frames);
  const std::string error = sf_strerror(sf);
  // Closing writes the final header, with the sizes.
  if (sf_close(sf) != 0 || written != frames)
    throw EInOutError("The sound cannot be encoded as a wave (" + error + ")");
  return std::move(file.Bytes);
}

void WriteNewWaveFile(const std::string& fileName, const TPcmSound& sound) {
  const std::string bytes = EncodeWave(sound);
  const std::string path = NativePath(fileName);
  auto fail = [&fileName](int error) {
    throw EInOutError("Cannot write file \"" + fileName + "\": " + ErrorText(error));
  };
  auto taken = [&fileName] { throw EFileExists("File \"" + fileName + "\" exists already"); };
  if (FileExists(path)) taken();

  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    // Mode 0666 less the umask: the file a user keeps gets the usual permissions.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) fail(errno);
  }
  struct TTempFile {
    std::string Path;
    int Fd;
    ~TTempFile() {
      if (Fd >= 0) ::close(Fd);
      if (!Path.empty()) ::unlink(Path.c_str());
    }
  } guard{temp, fd};

  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(errno);
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) fail(errno);
  guard.Fd = -1;
  if (::close(fd) != 0) fail(errno);
  const int error = PublishWithoutReplacing(temp, path);
  if (error == EEXIST) taken();
  if (error != 0) fail(error);
  guard.Path.clear();
}

}  // namespace host
