#include "host/Mci.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <new>
#include <string_view>
#include <thread>

#include "host/SysUtils.h"
#include "host/media/SdlAudioOutput.h"
#include "host/media/SndfileDecoder.h"

namespace host {

int64_t TSteadyClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TSteadyClock::Sleep(int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TPcmStream::TPcmStream(const TPcmSound& sound, int64_t fromFrame)
    : FSound(sound), FPosition(std::clamp<int64_t>(fromFrame, 0, sound.Frames())) {}

int64_t TPcmStream::Read(int16_t* buffer, int64_t frames) {
  const int64_t n = std::clamp<int64_t>(Frames() - FPosition, 0, std::max<int64_t>(frames, 0));
  const auto first = FSound.Samples.begin() + FPosition * FSound.Channels;
  std::copy(first, first + n * FSound.Channels, buffer);
  FPosition += n;
  return n;
}

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimBlanks(std::string_view s) {
  s = SkipBlanks(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits at runs of blanks; a word in double quotes may hold blanks.
int SplitWords(std::string_view text, std::vector<std::string>& words) {
  for (size_t i = 0;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) return 0;
    if (text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
      words.emplace_back(text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) ++i;
      words.emplace_back(text.substr(start, i - start));
    }
  }
}

// Keywords after the device name: flags stand alone, the others take the next word as value.
// Found keywords are keyed in lower case; a flag's value is empty.
using TOptions = std::map<std::string, std::string>;

int ParseOptions(const std::vector<std::string>& words, size_t first,
                 std::initializer_list<std::string_view> flags,
                 std::initializer_list<std::string_view> valued, TOptions& options) {
  for (size_t i = first; i < words.size(); ++i) {
    const std::string key = LowerCase(words[i]);
    bool isFlag = false, isValued = false;
    for (std::string_view f : flags) isFlag = isFlag || key == f;
    for (std::string_view v : valued) isValued = isValued || key == v;
    if (!isFlag && !isValued) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (options.count(key)) return MCIERR_DUPLICATE_FLAGS;
    if (isValued && i + 1 >= words.size()) return MCIERR_MISSING_PARAMETER;
    options[key] = isValued ? words[++i] : std::string();
  }
  return 0;
}

// Milliseconds as MCI takes them: digits only.
int ParseMs(const std::string& word, int64_t& ms) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, ms);
  return word.empty() || word[0] == '-' || ec != std::errc() || ptr != end ? MCIERR_BAD_INTEGER : 0;
}

int ParseOpenOptions(std::string_view tail, TOptions& options) {
  std::vector<std::string> words;
  if (int error = SplitWords(tail, words)) return error;
  return ParseOptions(words, 0, {"wait"}, {"type", "alias"}, options);
}

// The path is not quoted and may hold blanks, so it ends where the rest reads as the open
// command's keywords: at the first " type " or " alias " whose tail parses. Trying each in turn
// lets a directory such as "my type sounds" through.
int SplitOpenArguments(std::string_view rest, std::string& path, TOptions& options) {
  if (!rest.empty() && rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
    path = rest.substr(1, close - 1);
    return ParseOpenOptions(rest.substr(close + 1), options);
  }
  int firstError = 0;
  for (size_t i = 1; i < rest.size(); ++i) {
    if (!IsBlank(rest[i - 1]) || IsBlank(rest[i])) continue;
    size_t end = i;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::string word = LowerCase(rest.substr(i, end - i));
    if (word != "type" && word != "alias") continue;
    TOptions candidate;
    if (int error = ParseOpenOptions(rest.substr(i), candidate)) {
      if (!firstError) firstError = error;
      continue;
    }
    path = TrimBlanks(rest.substr(0, i));
    options = std::move(candidate);
    return 0;
  }
  return firstError ? firstError : MCIERR_MISSING_PARAMETER;
}

bool IsDeviceCommand(const std::string& verb) {
  for (std::string_view v : {"play", "pause", "resume", "stop", "seek", "status", "close"})
    if (verb == v) return true;
  return false;
}

}  // namespace

TMciService::TMciService()
    : FClock(std::make_unique<TSteadyClock>()), FOutput(std::make_unique<TSdlAudioOutput>()) {}

TMciService::~TMciService() {
  CloseAll();
}

void TMciService::SetClock(std::unique_ptr<IClock> clock) {
  CloseAll();
  FClock = clock ? std::move(clock) : std::make_unique<TSteadyClock>();
}

void TMciService::SetOutput(std::unique_ptr<IAudioOutput> output) {
  CloseAll();
  FOutput = output ? std::move(output) : std::make_unique<TSdlAudioOutput>();
}

int TMciService::SendString(const std::string& command, std::string& reply) {
  reply.clear();
  const int result = Execute(command, reply);
  if (result != 0) reply.clear();
  if (OnCommand) OnCommand(command, result);
  return result;
}

int64_t TMciService::Position(const TDevice& device) const {
  if (device.Mode != dmPlaying) return device.PositionMs;
  return std::min(device.LengthMs, device.PositionMs + FClock->NowMs() - device.StartedAt);
}

void TMciService::Update(TDevice& device) {
  if (device.Mode == dmPlaying && Position(device) >= device.LengthMs) {
    device.PositionMs = device.LengthMs;
    device.Mode = dmStopped;
  }
}

void TMciService::ReleaseVoice(TDevice& device) {
  if (device.Voice) FOutput->Stop(device.Voice);
  device.Voice = 0;
}

void TMciService::StartVoice(TDevice& device) {
  ReleaseVoice(device);
  // A file that has gone or changed since it was opened plays nothing; the timing stays.
  try {
    auto stream = std::make_unique<TSoundFileStream>(device.FileName);
    stream->Seek(device.PositionMs * device.SampleRate / 1000);
    device.Voice = FOutput->Start(std::move(stream));
  } catch (const Exception&) {
  }
}

void TMciService::CloseAll() {
  for (auto& [alias, device] : FDevices) ReleaseVoice(device);
  FDevices.clear();
}

int TMciService::Execute(const std::string& command, std::string& reply) {
  // A sound that has ended keeps its voice until the output has played it out: the clock may
  // run slightly ahead of the hardware, and cutting there would clip the tail.
  for (auto& [alias, device] : FDevices) {
    Update(device);
    if (device.Mode == dmStopped && device.Voice && FOutput->PendingFrames(device.Voice) == 0)
      ReleaseVoice(device);
  }

  std::string_view text = SkipBlanks(command);
  size_t verbEnd = 0;
  while (verbEnd < text.size() && !IsBlank(text[verbEnd])) ++verbEnd;
  if (verbEnd == 0) return MCIERR_MISSING_COMMAND_STRING;
  const std::string verb = LowerCase(text.substr(0, verbEnd));
  const std::string_view rest = SkipBlanks(text.substr(verbEnd));
  if (verb == "open") return Open(rest);
  if (!IsDeviceCommand(verb)) return MCIERR_UNRECOGNIZED_COMMAND;

  std::vector<std::string> words;
  if (int error = SplitWords(rest, words)) return error;
  if (words.empty()) return MCIERR_INVALID_DEVICE_NAME;
  const std::string alias = LowerCase(words[0]);
  TOptions options;
  if (alias == "all") {
    if (verb != "close") return MCIERR_CANNOT_USE_ALL;
    if (int error = ParseOptions(words, 1, {"wait"}, {}, options)) return error;
    CloseAll();
    return 0;
  }
  auto it = FDevices.find(alias);
  if (it == FDevices.end()) return MCIERR_INVALID_DEVICE_NAME;
  TDevice& device = it->second;
  Update(device);

  if (verb == "play") return Play(device, words);
  if (verb == "status") return Status(device, words, reply);
  if (verb == "seek") return Seek(device, words);
  if (int error = ParseOptions(words, 1, {"wait"}, {}, options)) return error;
  if (verb == "close") {
    ReleaseVoice(device);
    FDevices.erase(it);
  } else if (verb == "pause") {
    if (device.Mode == dmPlaying) {
      device.PositionMs = Position(device);
      device.Mode = dmPaused;
      FOutput->Pause(device.Voice);
    }
  } else if (verb == "resume") {
    if (device.Mode == dmPaused) {
      device.StartedAt = FClock->NowMs();
      device.Mode = dmPlaying;
      FOutput->Resume(device.Voice);
    }
  } else if (device.Mode != dmStopped) {  // stop: the position stays where it was
    device.PositionMs = Position(device);
    device.Mode = dmStopped;
    ReleaseVoice(device);
  }
  return 0;
}

int TMciService::Open(std::string_view rest) {
  std::string path;
  TOptions options;
  if (rest.empty()) return MCIERR_MISSING_PARAMETER;
  if (int error = SplitOpenArguments(rest, path, options)) return error;
  if (path.empty() || !options.count("alias")) return MCIERR_MISSING_PARAMETER;
  if (options.count("type") && LowerCase(options["type"]) != "waveaudio")
    return MCIERR_DEVICE_NOT_INSTALLED;
  const std::string alias = LowerCase(options["alias"]);
  if (alias == "all") return MCIERR_CANNOT_USE_ALL;
  if (FDevices.count(alias)) return MCIERR_DUPLICATE_ALIAS;

  const std::string fileName = NativePath(path);
  if (!FileExists(fileName)) return MCIERR_FILE_NOT_FOUND;
  TDevice device;
  try {
    // Only the header and a first block are decoded here, so that opening is quick whatever
    // the length and a file that cannot be played is still refused at once.
    TSoundFileStream stream(fileName);
    device.FileName = fileName;
    device.SampleRate = stream.SampleRate();
    device.LengthMs = SoundLengthMs(stream.Frames(), stream.SampleRate());
  } catch (const EDamagedSound&) {
    return MCIERR_DAMAGED_FILE;
  } catch (const EInvalidSound&) {
    return MCIERR_INVALID_FILE;
  } catch (const EInOutError&) {
    return MCIERR_FILE_READ;
  } catch (const std::bad_alloc&) {
    return MCIERR_OUT_OF_MEMORY;
  }
  FDevices.emplace(alias, std::move(device));
  return 0;
}

int TMciService::Play(TDevice& device, const std::vector<std::string>& args) {
  TOptions options;
  if (int error = ParseOptions(args, 1, {"wait"}, {"from"}, options)) return error;
  const bool hasFrom = options.count("from") > 0;
  int64_t from = 0;
  if (hasFrom) {
    if (int error = ParseMs(options["from"], from)) return error;
    if (from > device.LengthMs) return MCIERR_OUTOFRANGE;
  }

  if (!hasFrom && device.Mode == dmPaused) {
    device.StartedAt = FClock->NowMs();
    device.Mode = dmPlaying;
    FOutput->Resume(device.Voice);
  } else if (hasFrom || device.Mode == dmStopped) {
    // Without "from" a stopped device goes on from where it stopped, as MCI does.
    device.PositionMs = hasFrom ? from : device.PositionMs;
    device.StartedAt = FClock->NowMs();
    device.Mode = dmPlaying;
    StartVoice(device);
  }
  Update(device);

  if (options.count("wait") && device.Mode == dmPlaying) {
    FClock->Sleep(device.LengthMs - Position(device));
    Update(device);
  }
  return 0;
}

int TMciService::Status(TDevice& device, const std::vector<std::string>& args, std::string& reply) {
  if (args.size() < 2) return MCIERR_MISSING_PARAMETER;
  TOptions options;
  if (int error = ParseOptions(args, 2, {"wait"}, {}, options)) return error;
  const std::string item = LowerCase(args[1]);
  if (item == "mode")
    reply = device.Mode == dmPlaying ? "playing" : device.Mode == dmPaused ? "paused" : "stopped";
  else if (item == "length")
    reply = std::to_string(device.LengthMs);
  else if (item == "position")
    reply = std::to_string(Position(device));
  else if (item == "ready")
    reply = "true";
  else
    return MCIERR_UNRECOGNIZED_KEYWORD;
  return 0;
}

// "to start", "to end" or "to <ms>": the device stops there, and a play without "from" goes on
// from there.
int TMciService::Seek(TDevice& device, const std::vector<std::string>& args) {
  TOptions options;
  if (int error = ParseOptions(args, 1, {"wait"}, {"to"}, options)) return error;
  if (!options.count("to")) return MCIERR_MISSING_PARAMETER;
  const std::string to = LowerCase(options["to"]);
  int64_t position = 0;
  if (to == "end") {
    position = device.LengthMs;
  } else if (to != "start") {
    if (int error = ParseMs(to, position)) return error;
    if (position > device.LengthMs) return MCIERR_OUTOFRANGE;
  }
  ReleaseVoice(device);
  device.Mode = dmStopped;
  device.PositionMs = position;
  return 0;
}

TMciService& Mci() {
  static TMciService service;
  return service;
}

int mciSendString(const std::string& command, std::string& reply) {
  return Mci().SendString(command, reply);
}

std::function<void(const std::string& command, int result)>& MciObserver() {
  return Mci().OnCommand;
}

bool mciGetErrorString(int code, std::string& text) {
  switch (code) {
    case 0:
      text = "The command succeeded.";
      break;
    case MCIERR_UNRECOGNIZED_KEYWORD:
      text = "The command contains a keyword it does not take.";
      break;
    case MCIERR_UNRECOGNIZED_COMMAND:
      text = "Unknown command.";
      break;
    case MCIERR_INVALID_DEVICE_NAME:
      text = "No device is open under this alias.";
      break;
    case MCIERR_OUT_OF_MEMORY:
      text = "Not enough memory to load the sound.";
      break;
    case MCIERR_MISSING_COMMAND_STRING:
      text = "The command is empty.";
      break;
    case MCIERR_BAD_INTEGER:
      text = "A whole number of milliseconds was expected.";
      break;
    case MCIERR_MISSING_PARAMETER:
      text = "The command lacks a required parameter.";
      break;
    case MCIERR_FILE_NOT_FOUND:
      text = "The sound file was not found.";
      break;
    case MCIERR_CANNOT_USE_ALL:
      text = "\"all\" cannot be used with this command.";
      break;
    case MCIERR_OUTOFRANGE:
      text = "The position lies beyond the end of the sound.";
      break;
    case MCIERR_DUPLICATE_ALIAS:
      text = "Another open device already uses this alias.";
      break;
    case MCIERR_NO_CLOSING_QUOTE:
      text = "A quoted parameter lacks its closing quote.";
      break;
    case MCIERR_DUPLICATE_FLAGS:
      text = "A keyword appears twice in the command.";
      break;
    case MCIERR_INVALID_FILE:
      text = "The file is not a sound that can be played.";
      break;
    case MCIERR_DEVICE_NOT_INSTALLED:
      text = "Only the WaveAudio device type is available.";
      break;
    case MCIERR_FILE_READ:
      text = "The sound file could not be read.";
      break;
    case MCIERR_DAMAGED_FILE:
      text = "The sound file is damaged: its sound data cannot be decoded.";
      break;
    default:
      text.clear();
      return false;
  }
  return true;
}

}  // namespace host
