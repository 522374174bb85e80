#pragma once

#include <string>
#include <string_view>

#include "host/Mci.h"
#include "host/SysUtils.h"

namespace host {

// Bytes that are not a sound libsndfile can decode; the message names the file.
class EInvalidSound : public Exception {
  using Exception::Exception;
};

// Decodes a whole sound held in memory (WAV, and whatever else libsndfile reads) into 16-bit
// PCM. fileName only names the sound in messages. Fails with EInvalidSound.
TPcmSound DecodeSound(std::string_view bytes, const std::string& fileName);
// Reads and decodes a file; EInOutError when it cannot be read, EInvalidSound as above.
TPcmSound DecodeSoundFile(const std::string& fileName);

}  // namespace host
