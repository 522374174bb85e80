#include "runtime/WavePly.h"

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/Mci.h"
#include "runtime/DefaultSettings.h"

namespace mebrox {

namespace {

// Flags of the one-call sound player.
constexpr unsigned SND_SYNC = 0;
constexpr unsigned SND_ASYNC = 1;
constexpr unsigned SND_NODEFAULT = 2;

constexpr const char* SimpleSoundAlias = "MebroxSimpleSound";

// What the framework says for an MCI code that has no text of its own.
constexpr const char* UnknownMciErrorText = "Unknown error code";

// The one-call sound player over the MCI service: one sound at a time under a fixed alias, a
// new sound ending the one before, as the old call did. False when the file cannot be played.
// There is no default sound to fall back on, so SND_NODEFAULT changes nothing.
bool sndPlaySound(const std::string& fileName, unsigned flags) {
  const std::string alias = SimpleSoundAlias;
  std::string reply;
  SendmciString("Close " + alias, reply);
  if (SendmciString("Open " + fileName + " type WaveAudio alias " + alias, reply) != 0)
    return false;
  const bool sync = (flags & SND_ASYNC) == 0;
  const int result = SendmciString("Play " + alias + " from 0" + (sync ? " wait" : ""), reply);
  // An asynchronous sound keeps its device until the next sound or the end of the program.
  if (sync || result != 0) SendmciString("Close " + alias, reply);
  return result == 0;
}

}  // namespace

const std::vector<std::string>& WavePlayOptionNames() {
  static const std::vector<std::string> names = {"wvWaitTillDone", "wvDefault", "wvAutoPlay"};
  return names;
}

int SendmciString(const std::string& command, std::string& reply) {
  return host::mciSendString(command, reply);
}

const host::TClassInfo& TWavePlay::StaticClassInfo() {
  static host::TClassInfo info = [] {
    host::TClassInfo i("TWavePlay", &host::TComponent::StaticClassInfo());
    // Options has no storage default. Its nominal default, {wvDefault}, is not what a new
    // player starts with: it starts empty, and in the designer the settings file may add to
    // that. Leaving out a value equal to any default would make some players read back with
    // other options than they were written with, so every player writes its options, "[]"
    // included, and reads back exactly those.
    host::TPublisher<TWavePlay>(i)
        .SubObject<TAboutMebrox>(
            "About", [](TWavePlay& w) -> TAboutMebrox& { return w.About(); }, nullptr)
        .Boolean("ShowError", &TWavePlay::ShowError, &TWavePlay::SetShowError, false)
        .Set("Options", WavePlayOptionNames(), &TWavePlay::Options, &TWavePlay::SetWavePlayOptions)
        .String("WaveName", &TWavePlay::GetWaveName, &TWavePlay::SetWaveName)
        .String("WorkDir", &TWavePlay::GetWorkDir, &TWavePlay::SetWorkDir);
    return i;
  }();
  return info;
}

TWavePlay::TWavePlay(host::TComponent* owner) : host::TComponent(owner) {
  AutoInitialize();
}

TWavePlay::~TWavePlay() {
  // A destructor must not throw; a failed close leaves nothing behind worth reporting.
  try {
    AutoDestroy();
  } catch (...) {
  }
}

void TWavePlay::AutoInitialize() {
  FOpened = false;
  FOptions = {};
  CheckMCI();
  FShowError = false;
}

void TWavePlay::AutoDestroy() {
  if (FOpened) CloseWave();
}

void TWavePlay::GetINISettings() {
  TSettingsSection ini("WavePlay");
  if (!ini.Used()) return;
  if (ini.ReadBool("AutoPlay", false)) FOptions.Include(wvAutoPlay);
  if (ini.ReadBool("Default", false)) FOptions.Include(wvDefault);
  if (ini.ReadBool("WaitTillDone", false)) FOptions.Include(wvWaitTillDone);
}

void TWavePlay::SetWavePlayOptions(TWavePlayOptions value) {
  if (value == FOptions) return;
  FOptions = value;
}

void TWavePlay::SetWaveName(const std::string& value) {
  FWaveName = value;
  if (!IsLoading() && FOpened) CloseWave();
}

void TWavePlay::Loaded() {
  host::TComponent::Loaded();
  if (!IsDesigning() && FOptions.Contains(wvAutoPlay)) Play();
}

void TWavePlay::Open() {
  if (FWaveName.empty()) return;
  FAlias = (Owner() ? Owner()->ClassName() : std::string()) + Name();
  if (!IsDesigning() && FWorkDir.empty() && host::Application)
    FWorkDir = host::ExtractFilePath(host::Application->ExeName());
  if (!FWorkDir.empty() && !host::IsPathDelimiter(FWorkDir.back())) FWorkDir += host::PathDelim;
  std::string reply;
  FLastError =
      SendmciString("Open " + FWorkDir + FWaveName + " type WaveAudio alias " + FAlias, reply);
  if (FLastError > 0 && FShowError) host::ShowMessage(GetErrorMessage());
  FOpened = FLastError == 0;
}

void TWavePlay::Play() {
  if (!FUseMCI) {
    PlaySimpleSound();
    return;
  }
  if (FLastError > 0) return;
  bool reported = false;
  if (!FOpened) {
    Open();
    reported = FLastError > 0 && FShowError;  // Open has shown its own failure
  }
  if (FLastError == 0) {
    std::string command = "Play " + FAlias + " from 0 ";
    if (FOptions.Contains(wvWaitTillDone)) command += "wait";
    std::string reply;
    FLastError = SendmciString(command, reply);
  }
  if (FLastError <= 0) return;

  // Close first, then report what is still failing: the close's own result when a device was
  // open. When none was, closing clears nothing real, so the failure stays latched and later
  // calls stay silent until CloseWave or Open.
  const int failure = FLastError;
  const bool wasOpen = FOpened;
  CloseWave();
  if (!wasOpen) FLastError = failure;
  if (FLastError > 0 && FShowError && !reported) host::ShowMessage(GetErrorMessage());
}

void TWavePlay::PlaySimpleSound() {
  unsigned flags = FOptions.Contains(wvWaitTillDone) ? SND_SYNC : SND_ASYNC;
  if (!FOptions.Contains(wvDefault)) flags |= SND_NODEFAULT;
  if (!sndPlaySound(FWaveName, flags)) host::ShowMessage(SoundNotPlayedText);
}

void TWavePlay::Pause() {
  if (FLastError != 0) return;
  std::string reply;
  FLastError = SendmciString("Pause " + FAlias, reply);
}

void TWavePlay::Resume() {
  if (FLastError != 0) return;
  std::string reply;
  FLastError = SendmciString("Resume " + FAlias, reply);
}

std::string TWavePlay::Status(const std::string& item) {
  if (FLastError != 0) return {};
  std::string reply;
  FLastError = SendmciString("status " + FAlias + " " + item, reply);
  return reply;
}

void TWavePlay::Rewind() {
  // A closed player has nothing to rewind, and a command to no device would latch an error.
  if (FLastError != 0 || !FOpened) return;
  std::string reply;
  FLastError = SendmciString("Seek " + FAlias + " to start", reply);
}

void TWavePlay::CloseWave() {
  std::string reply;
  FLastError = SendmciString("Close " + FAlias, reply);
  // MCI knows no device under the alias when none was opened. The player is closed all the
  // same; keeping that as an error would leave it refusing to play for good.
  if (!FOpened && FLastError == host::MCIERR_INVALID_DEVICE_NAME) FLastError = 0;
  FOpened = false;
}

std::string TWavePlay::GetErrorMessage() const {
  std::string text;
  if (!host::mciGetErrorString(FLastError, text)) return UnknownMciErrorText;
  return "(" + host::IntToStr(FLastError - host::MCIERR_BASE) + ") " + text;
}

}  // namespace mebrox
