#include "host/media/SdlAudioOutput.h"

#include <SDL.h>

#include <algorithm>

namespace host {

// One SDL device per voice rather than one shared device with a mixer of our own: each sound
// keeps its own rate and channel layout and SDL converts it to whatever the hardware takes, so
// we need no resampler, and the sound server (or the dummy driver) mixes the voices. A page
// plays a handful of sounds at most, so a device each costs nothing that matters. SDL's audio
// thread pulls each voice's stream a device buffer at a time, so a sound of an hour takes no
// more memory than one of a second, and pausing a device holds exactly where it is.

TSdlAudioOutput::~TSdlAudioOutput() {
  for (auto& [number, voice] : FVoices) SDL_CloseAudioDevice(voice->Device);
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

SDL_AudioDeviceID OpenDevice(int rate, int channels, SDL_AudioCallback fill = nullptr,
                             void* voice = nullptr) {
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  want.callback = fill;
  want.userdata = voice;
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

// On SDL's audio thread. A stream whose data turns out damaged further in ends there.
void TSdlAudioOutput::Fill(void* data, uint8_t* out, int length) {
  auto& voice = *static_cast<TVoice*>(data);
  ISoundStream& stream = *voice.Stream;
  const int channels = stream.Channels();
  const int64_t wanted = length / (static_cast<int>(sizeof(int16_t)) * channels);
  auto* samples = reinterpret_cast<int16_t*>(out);
  int64_t got = 0;
  if (voice.Left > 0) {
    try {
      got = stream.Read(samples, wanted);
    } catch (...) {
      got = 0;
    }
  }
  std::fill(samples + got * channels, samples + length / sizeof(int16_t), int16_t{0});
  voice.Left = got < wanted ? 0 : std::max<int64_t>(stream.Frames() - stream.Position(), 0);
}

uint32_t TSdlAudioOutput::OpenVoiceDevice(const ISoundStream& stream, TVoice& voice) {
  const int rate = stream.SampleRate(), channels = stream.Channels();
  SDL_AudioDeviceID device = OpenDevice(rate, channels, &Fill, &voice);
  if (device != 0 || !FVoices.empty() || FDriverName == "dummy") return device;
  // ALSA, for one, starts without a sound card and fails only here. When not even a plain
  // format opens, the driver is of no use: go over to the dummy one while nothing plays.
  if (SDL_AudioDeviceID probe = OpenDevice(22050, 1)) {
    SDL_CloseAudioDevice(probe);
    return 0;
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SetStarted(StartDriver("dummy"));
  return FState == asStarted ? OpenDevice(rate, channels, &Fill, &voice) : 0;
}

int TSdlAudioOutput::Start(std::unique_ptr<ISoundStream> stream) {
  if (!stream) return 0;
  const int64_t frames = stream->Frames() - stream->Position();
  if (frames <= 0 || stream->SampleRate() <= 0 || stream->Channels() <= 0 ||
      stream->Channels() > 255)
    return 0;
  if (!EnsureStarted()) return 0;
  auto voice = std::make_unique<TVoice>();
  voice->Left = frames;
  voice->Stream = std::move(stream);
  // The device starts paused: SDL reads nothing until the voice is in place.
  voice->Device = OpenVoiceDevice(*voice->Stream, *voice);
  if (voice->Device == 0) return 0;
  SDL_PauseAudioDevice(voice->Device, 0);
  const int number = FNextVoice++;
  FVoices[number] = std::move(voice);
  return number;
}

const TSdlAudioOutput::TVoice* TSdlAudioOutput::Find(int voice) const {
  auto it = FVoices.find(voice);
  return it == FVoices.end() ? nullptr : it->second.get();
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
  // Closing waits for SDL's thread, so the stream is no longer read once it is freed.
  SDL_CloseAudioDevice(it->second->Device);
  FVoices.erase(it);
}

int64_t TSdlAudioOutput::PendingFrames(int voice) const {
  const TVoice* v = Find(voice);
  return v ? v->Left.load() : 0;
}

}  // namespace host
