#include "runtime/Action.h"

#include <cctype>
#include <memory>

#include "runtime/MsgDlgU.h"
#include "runtime/RunState.h"
#include "runtime/Strtool.h"
#include "runtime/WavePly.h"

namespace mebrox {

using namespace host;

const std::vector<std::string>& ActionAttrsNames() {
  static const std::vector<std::string> names = {"acFrame",    "acExecute", "acWavePlay", "acDesc",
                                                 "acBookMark", "acClose",   "acNone"};
  return names;
}

const TClassInfo& TAction::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TAction", &TPersistent::StaticClassInfo());
    // No storage defaults: every property is written with its frame.
    TPublisher<TAction>(i)
        .Enumeration("ActionType", ActionAttrsNames(), &TAction::ActionType,
                     &TAction::SetActionType)
        .String("FileToRun", &TAction::FileToRun, &TAction::SetFileToRun)
        .String("WorkDir", &TAction::WorkDir, &TAction::SetWorkDir)
        .String("Param", &TAction::Param, &TAction::SetParam)
        .String("WaveComp", &TAction::WaveComp, &TAction::SetWaveComp)
        .String("Frame", &TAction::Frame, &TAction::SetFrame)
        .String("Desc", &TAction::Desc, &TAction::SetDesc);
    return i;
  }();
  return info;
}

void TAction::SetActionType(TActionAttrs value) {
  if (value != FActionType) FActionType = value;
}

void TAction::Assign(const TPersistent& source) {
  auto* a = dynamic_cast<const TAction*>(&source);
  if (!a) {
    TPersistent::Assign(source);
    return;
  }
  FActionType = a->FActionType;
  FFileToRun = a->FFileToRun;
  FWorkDir = a->FWorkDir;
  FParam = a->FParam;
  FFrame = a->FFrame;
  FDesc = a->FDesc;
  FWaveComp = a->FWaveComp;
}

std::string RunStateFileName() {
  return ChangeFileExt(Application->ExeName(), ".RUN");
}

TForm& CurrentFrame(const TComponent& control) {
  auto* form = dynamic_cast<TForm*>(control.Owner());
  if (!form) throw EInvalidCast();
  return *form;
}

// The application's forms of a class, in creation order. A match that is not a form is the
// old invalid typecast.
static std::vector<TForm*> FramesOfClass(const std::string& className) {
  std::vector<TForm*> frames;
  for (TComponent* c : Application->ComponentList()) {
    if (c->ClassName() != className) continue;
    auto* form = dynamic_cast<TForm*>(c);
    if (!form) throw EInvalidCast();
    frames.push_back(form);
  }
  return frames;
}

void GotoFrame(TForm& current, const std::string& frameName) {
  std::string target = "T" + frameName;
  // A link from a frame to itself must not take the place of the frame's real opener.
  if (target != current.ClassName()) WriteRunState(target, "From", current.ClassName());
  for (TForm* frame : FramesOfClass(target)) {
    if (Application->MainForm() == &current)
      current.Hide();
    else
      current.Close();
    frame->Show();
  }
}

void GoBack(TForm& current) {
  std::string opener = ReadRunState(current.ClassName(), "From");
  EraseRunStateSection(current.ClassName());
  // A frame recorded as its own opener (a self-link of an older run) opens nothing.
  if (opener != current.ClassName())
    for (TForm* frame : FramesOfClass(opener)) frame->Show();
  current.Close();
  // Without an opener to go back to, the last frame on screen has just gone.
  Application->TerminateWhenNoFormVisible();
}

void PlayWave(TForm& frame, const std::string& waveComp) {
  // Copy: playing may show messages that change nothing here, but stay safe against it.
  std::vector<TComponent*> components = frame.ComponentList();
  for (TComponent* c : components)
    if (c->ClassName() == "TWavePlay" && c->Name() == waveComp)
      if (auto* player = dynamic_cast<TWavePlay*>(c)) player->Play();
}

void ShowDescription(const std::string& text, TComponent* owner, const TPoint* position) {
  auto popup = std::make_unique<TMsgDlg>(owner);
  if (position) {
    popup->SetLeft(position->X);
    popup->SetTop(position->Y);
  }
  popup->MsgLbl().SetCaption(text);
  popup->ShowModal();
}

void BookmarkAndLeave(TForm& current) {
  WriteRunState("Marked", "At", current.ClassName());
  Application->Terminate();
}

static std::string FrameTitle(const std::string& frameName) {
  std::string name = RTrim(LTrim(frameName));
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TForm* form = Screen->Forms(i);
      if (form->ClassName() == "T" + name && !form->Caption().empty()) return form->Caption();
    }
  return name;
}

std::string DescribeWordAction(int code, const std::string& data) {
  std::string what = RTrim(LTrim(data));
  switch (code) {
    case 0:
      return "shows a description";
    case 1:
      return "goes to " + FrameTitle(what);
    case 2:
      return "plays " + what;
    case 3:
      return "runs " + ExtractFileName(what);
    case 4:
      return "goes back";
    case 5:
      return "switches the text";
    default:
      return {};
  }
}

std::string DescribeAction(const TAction& action) {
  switch (action.ActionType()) {
    case acFrame:
      return DescribeWordAction(1, action.Frame());
    case acExecute:
      return DescribeWordAction(3, action.FileToRun());
    case acWavePlay:
      return DescribeWordAction(2, action.WaveComp());
    case acDesc:
      return DescribeWordAction(0, {});
    case acBookMark:
      return "sets a bookmark and leaves";
    case acClose:
      return DescribeWordAction(4, {});
    case acNone:
      break;
  }
  return {};
}

TAccessibleInfo HotControlInfo(const TControl& control, const TAction& action) {
  TAccessibleInfo info;
  bool goes = action.ActionType() == acFrame || action.ActionType() == acClose;
  info.Role = goes ? TAccessibleRole::Link : TAccessibleRole::Button;
  info.Description = DescribeAction(action);
  info.Name = control.Hint();
  if (info.Name.empty() && !info.Description.empty())
    info.Name = static_cast<char>(std::toupper(static_cast<unsigned char>(info.Description[0]))) +
                info.Description.substr(1);
  if (info.Name.empty()) info.Name = control.Name();
  info.Pressable = info.Focusable = !control.IsDesigning();
  return info;
}

void PerformAction(TControl& control, const TAction& action) {
  switch (action.ActionType()) {
    case acFrame:
      GotoFrame(CurrentFrame(control), action.Frame());
      break;
    case acExecute:
      ExecuteFile(action.FileToRun(), action.Param(), action.WorkDir(), 5);
      break;
    case acWavePlay:
      PlayWave(CurrentFrame(control), action.WaveComp());
      break;
    case acDesc:
      ShowDescription(action.Desc(), nullptr);
      break;
    case acBookMark:
      BookmarkAndLeave(CurrentFrame(control));
      break;
    case acClose:
      GoBack(CurrentFrame(control));
      break;
    case acNone:
      break;
  }
}

}  // namespace mebrox
