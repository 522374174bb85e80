#include "host/media/SdlAudioOutput.h"

#include <SDL.h>

#include <algorithm>

namespace host {

// One SDL device per voice rather than one shared device with a mixer of our own: each sound
// keeps its own rate and channel layout and SDL converts it to whatever the hardware takes, so
// we need no resampler, and the sound server (or the dummy driver) mixes the voices. A page
// plays a handful of sounds at most, so a device each costs nothing that matters. The whole
// sound is queued at once (SDL_QueueAudio), so no callback of ours runs on SDL's thread and
// pausing a device holds exactly what is left.

TSdlAudioOutput::~TSdlAudioOutput() {
  for (auto& [number, voice] : FVoices) SDL_CloseAudioDevice(voice.Device);
  FVoices.clear();
  if (FState == asStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

namespace {

bool StartDriver(const char* forced) {
  if (forced) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, forced, SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (forced) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return started;
}

SDL_AudioDeviceID OpenDevice(int rate, int channels) {
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  // No allowed changes: SDL converts our format to the hardware's itself.
  return SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
}

}  // namespace

bool TSdlAudioOutput::EnsureStarted() {
  if (FState == asNotStarted) {
    // The configured driver (SDL_AUDIODRIVER, or SDL's own choice) may have no device here.
    SetStarted(StartDriver(nullptr) || StartDriver("dummy"));
  }
  return FState == asStarted;
}

void TSdlAudioOutput::SetStarted(bool started) {
  const char* driver = started ? SDL_GetCurrentAudioDriver() : nullptr;
  FDriverName = driver ? driver : "";
  FState = started ? asStarted : asUnavailable;
}

uint32_t TSdlAudioOutput::OpenVoiceDevice(const TPcmSound& sound) {
  SDL_AudioDeviceID device = OpenDevice(sound.SampleRate, sound.Channels);
  if (device != 0 || !FVoices.empty() || FDriverName == "dummy") return device;
  // ALSA, for one, starts without a sound card and fails only here. When not even a plain
  // format opens, the driver is of no use: go over to the dummy one while nothing plays.
  if (SDL_AudioDeviceID probe = OpenDevice(22050, 1)) {
    SDL_CloseAudioDevice(probe);
    return 0;
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SetStarted(StartDriver("dummy"));
  return FState == asStarted ? OpenDevice(sound.SampleRate, sound.Channels) : 0;
}

int TSdlAudioOutput::Start(const TPcmSound& sound, int64_t fromFrame) {
  const int64_t frames = sound.Frames() - std::max<int64_t>(fromFrame, 0);
  if (frames <= 0 || sound.SampleRate <= 0 || sound.Channels <= 0 || sound.Channels > 255) return 0;
  if (!EnsureStarted()) return 0;
  const SDL_AudioDeviceID device = OpenVoiceDevice(sound);
  if (device == 0) return 0;

  TVoice voice{device, static_cast<int>(sizeof(int16_t)) * sound.Channels};
  const auto* data = reinterpret_cast<const Uint8*>(sound.Samples.data()) +
                     (sound.Frames() - frames) * voice.FrameBytes;
  int64_t bytes = frames * voice.FrameBytes;
  // SDL takes at most 4 GB per call; whole frames per piece keep the channels in step.
  const int64_t piece = int64_t{1 << 20} * voice.FrameBytes;
  for (int64_t done = 0; done < bytes; done += piece) {
    const auto len = static_cast<Uint32>(std::min(piece, bytes - done));
    if (SDL_QueueAudio(device, data + done, len) != 0) {
      SDL_CloseAudioDevice(device);
      return 0;
    }
  }
  FFramesQueued += frames;
  SDL_PauseAudioDevice(device, 0);
  const int number = FNextVoice++;
  FVoices[number] = voice;
  return number;
}

const TSdlAudioOutput::TVoice* TSdlAudioOutput::Find(int voice) const {
  auto it = FVoices.find(voice);
  return it == FVoices.end() ? nullptr : &it->second;
}

void TSdlAudioOutput::Pause(int voice) {
  if (const TVoice* v = Find(voice)) SDL_PauseAudioDevice(v->Device, 1);
}

void TSdlAudioOutput::Resume(int voice) {
  if (const TVoice* v = Find(voice)) SDL_PauseAudioDevice(v->Device, 0);
}

void TSdlAudioOutput::Stop(int voice) {
  auto it = FVoices.find(voice);
  if (it == FVoices.end()) return;
  SDL_ClearQueuedAudio(it->second.Device);
  SDL_CloseAudioDevice(it->second.Device);
  FVoices.erase(it);
}

int64_t TSdlAudioOutput::PendingFrames(int voice) const {
  const TVoice* v = Find(voice);
  return v ? SDL_GetQueuedAudioSize(v->Device) / v->FrameBytes : 0;
}

}  // namespace host
