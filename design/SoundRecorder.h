#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/AudioCapture.h"
#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/Mci.h"
#include "host/StdCtrls.h"
#include "host/Ticker.h"

namespace mebrox {

// The kit's own sound recorder, which the wave player's editor opens: record from the machine's
// recording device, listen, and keep the take as a new wave file in a given folder.
//
// Time is the wave-audio service's clock (host::Mci().Clock()), as for the players: a take holds
// exactly as many frames as that clock ran between Record and Stop, filled with what the device
// took in, in order. So a headless run's "wait 500" records half a second, whatever the machine
// does meanwhile. Playback goes to that service's sound output and lasts the take's length on
// the same clock.
class TSoundRecorderDlg : public host::TForm {
 public:
  enum TRecorderState { rsIdle, rsRecording, rsRecorded, rsPlaying };

  // Keeps into folder (empty: the current directory); records through capture, by default the
  // machine's recording device.
  TSoundRecorderDlg(host::TComponent* owner, std::string folder,
                    std::unique_ptr<host::IAudioCapture> capture = nullptr);
  ~TSoundRecorderDlg() override;

  TRecorderState State() const { return FState; }
  // False when there is nothing to record from; Record then stays disabled.
  bool DeviceReady() const { return FDeviceReady; }
  // Why the device is not ready, for people.
  const std::string& DeviceError() const { return FDeviceError; }
  // The take: everything recorded so far while recording, the whole of it afterwards.
  const host::TPcmSound& Take() const { return FTake; }
  // The full name of the file Keep wrote; empty until a Keep succeeded.
  const std::string& KeptFile() const { return FKeptFile; }

  // Brings the take and the display up to the clock: the take grows, a playback ends. The
  // dialog's ticker calls it; so does every button before it acts.
  void Update();

  // A take's format: enough for speech and effects on a hypertext page, and small files.
  static constexpr int SampleRate = 22050;
  static constexpr int Channels = 1;
  // A take ends by itself after ten minutes.
  static constexpr int64_t MaxTakeMs = 10 * 60 * 1000;
  static constexpr int TickMs = 100;

  host::TBevel* Bevel1;
  host::TLabel* StatusLabel;
  host::TPaintBox* LevelMeter;
  host::TBitBtn* RecordBtn;
  host::TBitBtn* StopBtn;
  host::TBitBtn* PlayBtn;
  host::TBitBtn* KeepBtn;
  host::TBitBtn* CancelBtn;

 protected:
  // The label and the meter show the clock's time whenever the dialog is drawn, also between
  // ticks: headless runs move their clock by script and then take a picture.
  void Paint() override;

 private:
  void Record();
  void Stop();
  void Play();
  void Keep();
  // Adds to the take what the device has ready, up to the clock's time.
  void TakeIn();
  // Takes what the device owes for the clock's time, then lets the device go.
  void FinishTake();
  void StopPlayback();
  void ReleaseVoice();
  void ShowState();
  std::string StatusText() const;
  // What the meter shows, from 0 to 1.
  double Level() const;
  void PaintMeter();
  int64_t RecordedMs() const;
  int64_t PlayedMs() const;

  std::string FFolder;
  std::unique_ptr<host::IAudioCapture> FCapture;
  bool FDeviceReady = false;
  std::string FDeviceError;
  TRecorderState FState = rsIdle;
  host::TPcmSound FTake;
  double FTakePeak = 0;
  int64_t FStartMs = 0;  // on the clock, when the take or the playback started
  int FVoice = 0;        // the output's voice of the playback, until it has played out
  std::string FKeptFile;
  std::unique_ptr<host::ITicker> FTicker;
};

// Shows the recorder modally; returns the full name of the wave file kept in folder, or an empty
// string when nothing was kept. The file is new, named Sound1.wav, Sound2.wav ... after the
// first name not taken in the folder.
std::string RecordSound(const std::string& folder);

}  // namespace mebrox
