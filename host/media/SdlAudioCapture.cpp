#include "host/media/SdlAudioCapture.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace host {

// SDL hands each block the device took in to a callback on its own thread; the callback only
// appends it here, and the user-interface thread takes it out when it wants. SDL's own queue
// (SDL_DequeueAudio) would spare the lock, but it grows without bound and cannot be waited on.
struct TSdlAudioCapture::TShared {
  std::mutex Lock;
  std::condition_variable Arrived;
  std::vector<int16_t> Samples;  // ready samples start at Offset
  size_t Offset = 0;
  size_t MaxSamples = 0;
  int Channels = 1;
  int Rate = 0;
  bool Delivering = false;

  int64_t ReadyFrames() const {
    return static_cast<int64_t>((Samples.size() - Offset) / static_cast<size_t>(Channels));
  }

  // On SDL's thread.
  static void SDLCALL Receive(void* userdata, Uint8* stream, int len) {
    auto* shared = static_cast<TShared*>(userdata);
    {
      std::lock_guard<std::mutex> lock(shared->Lock);
      const size_t room = shared->MaxSamples - (shared->Samples.size() - shared->Offset);
      size_t count = std::min(static_cast<size_t>(len) / sizeof(int16_t), room);
      count -= count % static_cast<size_t>(shared->Channels);
      const size_t at = shared->Samples.size();
      shared->Samples.resize(at + count);
      std::memcpy(shared->Samples.data() + at, stream, count * sizeof(int16_t));
    }
    shared->Arrived.notify_all();
  }
};

namespace {

std::string SdlError() {
  const char* error = SDL_GetError();
  return error && *error ? error : "unknown error";
}

}  // namespace

TSdlAudioCapture::TSdlAudioCapture() : FShared(std::make_unique<TShared>()) {}

TSdlAudioCapture::~TSdlAudioCapture() {
  Stop();
  if (FSdlStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool TSdlAudioCapture::EnsureStarted() {
  if (!FSdlStarted) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      FErrorText =
          "There is no recording device: the sound system does not start (" + SdlError() + ").";
      return false;
    }
    FSdlStarted = true;
    const char* driver = SDL_GetCurrentAudioDriver();
    FDriverName = driver ? driver : "";
  }
  return true;
}

bool TSdlAudioCapture::Available() {
  if (!EnsureStarted()) return false;
  if (FDriverName == "dummy") {
    FErrorText = "There is no recording device: the sound system runs without one (dummy).";
    return false;
  }
  // -1 means the driver cannot list its devices; opening the default one may still work.
  if (SDL_GetNumAudioDevices(1) == 0) {
    FErrorText = "There is no recording device.";
    return false;
  }
  FErrorText.clear();
  return true;
}

bool TSdlAudioCapture::Start(int rate, int channels) {
  Stop();
  {
    std::lock_guard<std::mutex> lock(FShared->Lock);
    FShared->Samples.clear();
    FShared->Offset = 0;
    FShared->Channels = std::clamp(channels, 1, 255);
    FShared->Rate = std::max(rate, 1);
    FShared->MaxSamples =
        static_cast<size_t>(int64_t{FShared->Rate} * FShared->Channels * MaxPendingMs / 1000);
  }
  if (!Available()) return false;
  SDL_AudioSpec want{};
  want.freq = FShared->Rate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(FShared->Channels);
  want.samples = 512;
  want.callback = TShared::Receive;
  want.userdata = FShared.get();
  // No allowed changes: SDL converts whatever the hardware gives to what we asked for.
  FDevice = SDL_OpenAudioDevice(nullptr, 1, &want, nullptr, 0);
  if (FDevice == 0) {
    FErrorText = "The recording device cannot be opened (" + SdlError() + ").";
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(FShared->Lock);
    FShared->Delivering = true;
  }
  SDL_PauseAudioDevice(FDevice, 0);
  FErrorText.clear();
  return true;
}

void TSdlAudioCapture::Stop() {
  if (FDevice != 0) {
    // Closing waits for SDL's thread, so no block arrives after this.
    SDL_CloseAudioDevice(FDevice);
    FDevice = 0;
  }
  {
    std::lock_guard<std::mutex> lock(FShared->Lock);
    FShared->Delivering = false;
  }
  FShared->Arrived.notify_all();
}

int64_t TSdlAudioCapture::FramesReady() {
  std::lock_guard<std::mutex> lock(FShared->Lock);
  return FShared->ReadyFrames();
}

bool TSdlAudioCapture::WaitForFrames(int64_t frames) {
  std::unique_lock<std::mutex> lock(FShared->Lock);
  if (FShared->ReadyFrames() >= frames || !FShared->Delivering)
    return FShared->ReadyFrames() >= frames;
  // A working device delivers the missing frames in about their own length. One that takes
  // much longer has stalled (a microphone pulled out): then the take ends with what came.
  const int64_t missingMs = (frames - FShared->ReadyFrames()) * 1000 / FShared->Rate;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(missingMs) +
                        std::chrono::seconds(2);
  FShared->Arrived.wait_until(lock, deadline, [this, frames] {
    return FShared->ReadyFrames() >= frames || !FShared->Delivering;
  });
  return FShared->ReadyFrames() >= frames;
}

int64_t TSdlAudioCapture::Read(std::vector<int16_t>& samples, int64_t maxFrames) {
  std::lock_guard<std::mutex> lock(FShared->Lock);
  const int64_t frames = std::clamp<int64_t>(maxFrames, 0, FShared->ReadyFrames());
  const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(FShared->Channels);
  const auto first = FShared->Samples.begin() + static_cast<ptrdiff_t>(FShared->Offset);
  samples.insert(samples.end(), first, first + static_cast<ptrdiff_t>(count));
  FShared->Offset += count;
  // Drop what was read once it is most of the buffer, so that a long take does not keep it all.
  if (FShared->Offset > FShared->Samples.size() / 2) {
    FShared->Samples.erase(FShared->Samples.begin(),
                           FShared->Samples.begin() + static_cast<ptrdiff_t>(FShared->Offset));
    FShared->Offset = 0;
  }
  return frames;
}

}  // namespace host
