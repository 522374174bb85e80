#include "design/SoundRecorder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host/DialogLayout.h"
#include "host/Dialogs.h"
#include "host/Resources.h"
#include "host/media/SdlAudioCapture.h"
#include "host/media/WaveWriter.h"

namespace mebrox {

namespace {

// Tenths of a second, cut rather than rounded: a take shows what it holds in full.
std::string Seconds(int64_t ms) {
  ms = std::max<int64_t>(ms, 0);
  return std::to_string(ms / 1000) + "." + std::to_string(ms / 100 % 10) + " s";
}

host::IClock& Clock() {
  // Asked each time: the service may be given another clock while no dialog is open.
  return host::Mci().Clock();
}

// The folder with a separator at its end, made absolute, so that the kept file's name is full.
std::string FolderPath(const std::string& folder) {
  std::filesystem::path path(folder.empty() ? std::string(".") : host::NativePath(folder));
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  std::string text = (ec ? path : absolute).lexically_normal().string();
  if (text.empty() || text.back() != host::PathDelim) text += host::PathDelim;
  return text;
}

// The loudest sample from frame begin to frame end, from 0 to 1.
double Peak(const host::TPcmSound& sound, int64_t begin, int64_t end) {
  int peak = 0;
  for (int64_t i = begin * sound.Channels; i < end * sound.Channels; ++i)
    peak = std::max(peak, std::abs(static_cast<int>(sound.Samples[static_cast<size_t>(i)])));
  return std::min(1.0, peak / 32768.0);
}

// How many numbered names Keep tries before it gives up on a folder.
constexpr int MaxSoundNumber = 9999;

}  // namespace

TSoundRecorderDlg::TSoundRecorderDlg(host::TComponent* owner, std::string folder,
                                     std::unique_ptr<host::IAudioCapture> capture)
    : host::TForm(owner),
      FFolder(std::move(folder)),
      FCapture(capture ? std::move(capture) : std::make_unique<host::TSdlAudioCapture>()) {
  host::TDialogLayout("SoundRecorderDlg")
      .Bind("Bevel1", Bevel1)
      .Bind("StatusLabel", StatusLabel)
      .Bind("LevelMeter", LevelMeter)
      .Bind("RecordBtn", RecordBtn)
      .Bind("StopBtn", StopBtn)
      .Bind("PlayBtn", PlayBtn)
      .Bind("KeepBtn", KeepBtn)
      .Bind("CancelBtn", CancelBtn)
      .Load(*this);
  // A glyph the kit lacks leaves its button with the caption alone.
  RecordBtn->Glyph().SetImage(host::LoadBitmapResource("RECORD"));
  StopBtn->Glyph().SetImage(host::LoadBitmapResource("STOP"));
  PlayBtn->Glyph().SetImage(host::LoadBitmapResource("PLAYBACK"));
  RecordBtn->OnClick = [this](host::TObject*) { Record(); };
  StopBtn->OnClick = [this](host::TObject*) { Stop(); };
  PlayBtn->OnClick = [this](host::TObject*) { Play(); };
  KeepBtn->OnClick = [this](host::TObject*) { Keep(); };
  LevelMeter->OnPaint = [this](host::TObject*) { PaintMeter(); };

  FTake.SampleRate = SampleRate;
  FTake.Channels = Channels;
  FDeviceReady = FCapture->Available();
  FDeviceError = FCapture->ErrorText();
  ShowState();
  FTicker = host::StartTicker(TickMs, [this] { Update(); });
}

TSoundRecorderDlg::~TSoundRecorderDlg() {
  FTicker.reset();
  if (FVoice) host::Mci().Output().Stop(FVoice);
  FCapture->Stop();
}

int64_t TSoundRecorderDlg::RecordedMs() const {
  if (FState != rsRecording) return FTake.LengthMs();
  return std::clamp<int64_t>(Clock().NowMs() - FStartMs, 0, MaxTakeMs);
}

int64_t TSoundRecorderDlg::PlayedMs() const {
  return std::clamp<int64_t>(Clock().NowMs() - FStartMs, 0, FTake.LengthMs());
}

void TSoundRecorderDlg::TakeIn() {
  // Only what the clock has come to: a device running ahead of it waits for its turn.
  const int64_t due = RecordedMs() * SampleRate / 1000;
  if (due > FTake.Frames()) FCapture->Read(FTake.Samples, due - FTake.Frames());
}

void TSoundRecorderDlg::Update() {
  if (FState == rsRecording) {
    TakeIn();
    if (RecordedMs() >= MaxTakeMs) FinishTake();
  } else if (FState == rsPlaying && PlayedMs() >= FTake.LengthMs()) {
    FState = rsRecorded;
  }
  // A playback that has ended keeps its voice until the output has played it out: the clock
  // may run slightly ahead of the hardware, and cutting there would clip the tail.
  if (FState != rsPlaying && FVoice && host::Mci().Output().PendingFrames(FVoice) == 0)
    ReleaseVoice();
  ShowState();
  if (FState == rsRecording || FState == rsPlaying) LevelMeter->Invalidate();
}

void TSoundRecorderDlg::Record() {
  Update();
  StopPlayback();
  if (FState == rsRecording) return;
  if (!FCapture->Start(SampleRate, Channels)) {
    // The device went away, or never could be opened: say so, and keep what was recorded.
    FDeviceReady = false;
    FDeviceError = FCapture->ErrorText();
    ShowState();
    return;
  }
  FTake.Samples.clear();
  FState = rsRecording;
  FStartMs = Clock().NowMs();
  ShowState();
  LevelMeter->Invalidate();
}

void TSoundRecorderDlg::FinishTake() {
  const int64_t due = RecordedMs() * SampleRate / 1000;
  const int64_t missing = due - FTake.Frames();
  if (missing > 0) {
    FCapture->WaitForFrames(missing);
    FCapture->Read(FTake.Samples, missing);
  }
  // A device that stalled leaves the rest silent: the take lasts as long as the clock ran.
  FTake.Samples.resize(static_cast<size_t>(due) * Channels, 0);
  FCapture->Stop();
  FState = FTake.Frames() > 0 ? rsRecorded : rsIdle;
  FTakePeak = Peak(FTake, 0, FTake.Frames());
  LevelMeter->Invalidate();
}

void TSoundRecorderDlg::Stop() {
  Update();
  if (FState == rsRecording)
    FinishTake();
  else
    StopPlayback();
  ShowState();
}

void TSoundRecorderDlg::StopPlayback() {
  if (FState != rsPlaying) return;
  ReleaseVoice();
  FState = rsRecorded;
  LevelMeter->Invalidate();
}

void TSoundRecorderDlg::ReleaseVoice() {
  if (FVoice) host::Mci().Output().Stop(FVoice);
  FVoice = 0;
}

void TSoundRecorderDlg::Play() {
  Update();
  if (FState != rsRecorded && FState != rsPlaying) return;
  // Play while playing starts over.
  ReleaseVoice();
  // The output may refuse (no sound system): the playback still lasts its length, as the
  // players' do, so the dialog behaves the same on a machine without sound.
  FVoice = host::Mci().Output().Start(FTake, 0);
  FState = rsPlaying;
  FStartMs = Clock().NowMs();
  ShowState();
}

void TSoundRecorderDlg::Keep() {
  Update();
  StopPlayback();
  if (FState != rsRecorded) return;
  const std::string folder = FolderPath(FFolder);
  try {
    for (int number = 1; number <= MaxSoundNumber; ++number) {
      const std::string fileName = folder + "Sound" + std::to_string(number) + ".wav";
      if (host::FileExists(fileName)) continue;
      try {
        host::WriteNewWaveFile(fileName, FTake);
      } catch (const host::EFileExists&) {
        continue;  // taken while we wrote: the next number
      }
      FKeptFile = fileName;
      SetModalResult(host::mrOk);
      return;
    }
    throw host::EInOutError("Every name from Sound1.wav to Sound" + std::to_string(MaxSoundNumber) +
                            ".wav is taken in " + folder);
  } catch (const host::EInOutError& e) {
    // The take stays: the user may free the folder and keep again, or cancel.
    host::MessageDlg("The recording cannot be kept. " + e.Message(), host::mtError, {host::mbOK},
                     0);
  }
  ShowState();
}

std::string TSoundRecorderDlg::StatusText() const {
  switch (FState) {
    case rsRecording:
      return "Recording... " + Seconds(RecordedMs());
    case rsPlaying:
      // Between ticks the clock may have passed the end already.
      if (PlayedMs() < FTake.LengthMs()) return "Playing... " + Seconds(PlayedMs());
      [[fallthrough]];
    case rsRecorded:
      return "Recorded " + Seconds(FTake.LengthMs());
    case rsIdle:
      break;
  }
  return FDeviceReady ? "Ready to record" : "No recording device";
}

void TSoundRecorderDlg::ShowState() {
  StatusLabel->SetCaption(StatusText());
  // Why there is no device, where the pointer rests on the label.
  StatusLabel->SetHint(FDeviceReady ? std::string() : FDeviceError);
  const bool running = FState == rsRecording || FState == rsPlaying;
  const bool haveTake = FState == rsRecorded || FState == rsPlaying;
  const std::pair<host::TBitBtn*, bool> buttons[] = {
      {RecordBtn, FDeviceReady && FState != rsRecording},
      {StopBtn, running},
      {PlayBtn, haveTake},
      {KeepBtn, haveTake}};
  // Buttons come on first and the keyboard moves before any goes off: a toolkit whose focused
  // button is disabled hands the focus on by itself, to whatever it finds enabled then.
  auto wanted = [&buttons](host::TWinControl* control) {
    for (const auto& [button, enabled] : buttons)
      if (button == control) return enabled;
    return true;  // Cancel
  };
  for (const auto& [button, enabled] : buttons)
    if (enabled) button->SetEnabled(true);
  if (!ActiveControl() || !wanted(ActiveControl())) {
    // Where the keyboard is wanted next: Stop while something runs, Play after a take.
    for (host::TBitBtn* next : {running ? StopBtn : PlayBtn, RecordBtn, CancelBtn}) {
      if (wanted(next)) {
        SetActiveControl(next);
        break;
      }
    }
  }
  for (const auto& [button, enabled] : buttons)
    if (!enabled) button->SetEnabled(false);
}

void TSoundRecorderDlg::Paint() {
  if (FState == rsRecording) TakeIn();
  StatusLabel->SetCaption(StatusText());
  host::TForm::Paint();
}

double TSoundRecorderDlg::Level() const {
  // While sound moves, the last twentieth of a second, about what an eye follows.
  const int64_t window = SampleRate / 20;
  switch (FState) {
    case rsRecording:
      return Peak(FTake, std::max<int64_t>(0, FTake.Frames() - window), FTake.Frames());
    case rsPlaying: {
      const int64_t at = std::min(FTake.Frames(), PlayedMs() * SampleRate / 1000);
      return Peak(FTake, std::max<int64_t>(0, at - window), at);
    }
    case rsRecorded:
      // The loudest point of the take: whether it holds sound at all, and whether it clipped.
      return FTakePeak;
    case rsIdle:
      break;
  }
  return 0;
}

void TSoundRecorderDlg::PaintMeter() {
  host::TCanvas& canvas = LevelMeter->Canvas();
  const host::TRect all = LevelMeter->ClientRect();
  canvas.Brush().SetColor(host::clBlack);
  canvas.FillRect(all);
  // Green for a level that is fine, yellow near the top, red where the sound clips.
  const host::TRect inside{all.Left + 2, all.Top + 2, all.Right - 2, all.Bottom - 2};
  const int lit = static_cast<int>(Level() * inside.Width() + 0.5);
  const struct {
    double From, To;
    host::TColor Color;
  } bands[] = {{0, 0.7, host::clLime}, {0.7, 0.9, host::clYellow}, {0.9, 1, host::clRed}};
  for (const auto& band : bands) {
    const int left = inside.Left + static_cast<int>(band.From * inside.Width());
    const int right =
        std::min(inside.Left + static_cast<int>(band.To * inside.Width()), inside.Left + lit);
    if (right <= left) continue;
    canvas.Brush().SetColor(band.Color);
    canvas.FillRect({left, inside.Top, right, inside.Bottom});
  }
  host::Frame3D(canvas, all, host::clBtnShadow, host::clBtnHighlight);
}

std::string RecordSound(const std::string& folder) {
  auto dialog = std::make_unique<TSoundRecorderDlg>(host::Application, folder);
  dialog->ShowModal();
  return dialog->KeptFile();
}

}  // namespace mebrox
