#pragma once

#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/SysUtils.h"
#include "host/Types.h"
#include "runtime/About.h"

namespace mebrox {

enum TWavePlayOption { wvWaitTillDone, wvDefault, wvAutoPlay };
using TWavePlayOptions = host::TSet<TWavePlayOption>;
// "wvWaitTillDone", "wvDefault", "wvAutoPlay", in ordinal order.
const std::vector<std::string>& WavePlayOptionNames();

// For MCI device errors. The player reports its errors through ShowError instead of raising
// this; it is here for code that wants to turn a player's failure into an exception.
class EMCIDeviceError : public host::Exception {
  using Exception::Exception;
};

// Sends one MCI command string. Returns the MCI result code (0 for success) and the reply text
// in reply. Commands of any length are passed on whole.
int SendmciString(const std::string& command, std::string& reply);

// The message shown when the simple-sound path cannot play a file.
inline constexpr const char* SoundNotPlayedText = "Sound not played. May be file not found.";

// A non-visual component that plays one wave file through MCI command strings, under the alias
// "class name of the owner form" + Name (TForm1WavePlay1). It keeps the result of its last
// command: while that is an error, Play, Pause, Resume, Status and Rewind do nothing, until
// CloseWave or Open replaces it.
class TWavePlay : public host::TComponent {
  HOST_PUBLISHED_CLASS
 public:
  // Starts closed, without options; in the designer the settings file may add options.
  explicit TWavePlay(host::TComponent* owner);
  ~TWavePlay() override;

  TAboutMebrox& About() { return FAbout; }
  bool ShowError() const { return FShowError; }
  void SetShowError(bool value) { FShowError = value; }
  TWavePlayOptions Options() const { return FOptions; }
  void SetWavePlayOptions(TWavePlayOptions value);
  const std::string& GetWaveName() const { return FWaveName; }
  // Closes an open device (unless the form is being read), so that the next Play opens the
  // new file.
  void SetWaveName(const std::string& value);
  const std::string& GetWorkDir() const { return FWorkDir; }
  void SetWorkDir(const std::string& value) { FWorkDir = value; }

  // Plays at once when loaded at run time with wvAutoPlay.
  void Loaded() override;

  // "Open <WorkDir><WaveName> type WaveAudio alias <alias>"; nothing without a WaveName. At run
  // time an empty WorkDir becomes the executable's directory for good.
  void Open();
  // Opens when needed and plays from the start: "Play <alias> from 0 " plus "wait" with
  // wvWaitTillDone, which returns once the sound has ended.
  void Play();
  void Pause();
  void Resume();
  // "status <alias> <item>": MCI's reply, or "" when nothing was sent or the command failed.
  std::string Status(const std::string& item);
  // "Seek <alias> to start": stops an open device at the beginning; a closed one is left alone.
  void Rewind();
  // Always sends "Close <alias>" and takes its result, so that a good close clears an error.
  void CloseWave();
  // "(n) text" for the last result, n counted from the base of MCI error codes.
  std::string GetErrorMessage() const;
  void CheckMCI() { FUseMCI = true; }
  // Adds the options that the settings file's "WavePlay" section switches on.
  void GetINISettings();
  // A component dropped from the palette takes its first look from the settings file.
  void DroppedFromPalette() override { GetINISettings(); }

  int LastError() const { return FLastError; }
  bool Opened() const { return FOpened; }
  const std::string& Alias() const { return FAlias; }

 protected:
  // Plays through the simple-sound path from now on; CheckMCI returns to MCI.
  void UseSimpleSound() { FUseMCI = false; }

 private:
  void AutoInitialize();
  void AutoDestroy();
  void PlaySimpleSound();

  TAboutMebrox FAbout;
  bool FShowError = false;
  TWavePlayOptions FOptions;
  std::string FWaveName;
  std::string FWorkDir;
  int FLastError = 0;
  std::string FAlias;
  bool FOpened = false;
  bool FUseMCI = false;
};

}  // namespace mebrox
