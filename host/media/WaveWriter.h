#pragma once

#include <string>

#include "host/Mci.h"
#include "host/SysUtils.h"

namespace host {

// The name a new file was to take is taken already.
class EFileExists : public EInOutError {
  using EInOutError::EInOutError;
};

// The sound as the bytes of a WAV file of 16-bit PCM samples, encoded by libsndfile. A sound
// without channels or sample rate fails with EInOutError.
std::string EncodeWave(const TPcmSound& sound);

// Writes the sound as a new WAV file. It never replaces a file: EFileExists when fileName exists,
// also when it appeared while this wrote. Any other failure is an EInOutError naming the file,
// and leaves nothing behind: the bytes go to a temporary file beside it that takes the name only
// once complete.
void WriteNewWaveFile(const std::string& fileName, const TPcmSound& sound);

}  // namespace host
