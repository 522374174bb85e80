#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Mci.h"
#include "host/SysUtils.h"

namespace host {

// Bytes that are not a sound libsndfile can decode; the message names the file.
class EInvalidSound : public Exception {
  using Exception::Exception;
};

// A sound whose format is known but whose data cannot be decoded; the message names the file.
class EDamagedSound : public EInvalidSound {
  using EInvalidSound::EInvalidSound;
};

// A sound file (WAV, and whatever else libsndfile reads) decoded to 16-bit PCM a block at a
// time as it is read, so that memory stays the same whatever its length.
class TSoundFileStream final : public ISoundStream {
 public:
  // Opens the file and decodes its first block, so that what cannot be played fails here:
  // EInOutError when the file cannot be read, EInvalidSound when it is no sound,
  // EDamagedSound when its data cannot be decoded.
  explicit TSoundFileStream(const std::string& fileName);
  // The same over a sound held in memory; fileName only names it in messages.
  TSoundFileStream(std::string bytes, const std::string& fileName);
  ~TSoundFileStream() override;
  TSoundFileStream(const TSoundFileStream&) = delete;
  TSoundFileStream& operator=(const TSoundFileStream&) = delete;

  int SampleRate() const override { return FSampleRate; }
  int Channels() const override { return FChannels; }
  int64_t Frames() const override { return FFrames; }
  int64_t Position() const override { return FPosition; }
  // Fails with EDamagedSound where the data cannot be decoded.
  int64_t Read(int16_t* buffer, int64_t frames) override;
  // Moves to frame (kept within the sound); EDamagedSound when the file cannot go there.
  void Seek(int64_t frame);

 private:
  struct TSource;
  void Open(int fd);
  void Fill();

  std::string FFileName;
  std::unique_ptr<TSource> FSource;
  int FSampleRate = 0;
  int FChannels = 0;
  int64_t FFrames = 0;
  int64_t FPosition = 0;
  std::vector<int16_t> FBlock;  // decoded, not read yet: from FBlockAt on
  size_t FBlockAt = 0;
  std::vector<float> FRaw;
};

// Decodes a whole sound held in memory into 16-bit PCM, for sounds short enough to be held
// whole (a recorder's take). fileName only names the sound in messages. Fails with
// EInvalidSound, also when the sound is too long to be held.
TPcmSound DecodeSound(std::string_view bytes, const std::string& fileName);
// Reads and decodes a whole file; EInOutError when it cannot be read, EInvalidSound as above.
TPcmSound DecodeSoundFile(const std::string& fileName);

}  // namespace host
