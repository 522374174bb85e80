#include "host/Dialogs.h"

namespace host {

static std::unique_ptr<IDialogService>& ServiceSlot() {
  static std::unique_ptr<IDialogService> service;
  return service;
}

void SetDialogService(std::unique_ptr<IDialogService> service) {
  ServiceSlot() = std::move(service);
}

IDialogService& DialogService() {
  if (!ServiceSlot()) ServiceSlot() = std::make_unique<TScriptedDialogs>();
  return *ServiceSlot();
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext) {
  return DialogService().MessageDlg(message, type, buttons, helpContext);
}

void ShowMessage(const std::string& message) {
  MessageDlg(message, mtCustom, {mbOK}, 0);
}

TModalResult ButtonResult(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbHelp:
      return mrNone;
  }
  return mrNone;
}

std::string ModalResultName(TModalResult result) {
  switch (result) {
    case mrOk:
      return "ok";
    case mrCancel:
      return "cancel";
    case mrAbort:
      return "abort";
    case mrRetry:
      return "retry";
    case mrIgnore:
      return "ignore";
    case mrYes:
      return "yes";
    case mrNo:
      return "no";
    case mrAll:
      return "all";
    default:
      return "none";
  }
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp})
    if (buttons.Contains(b)) return b;
  return mbOK;
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& message, TMsgDlgType type,
                                          TMsgDlgButtons buttons, int) {
  TModalResult answer = ButtonResult(DefaultButton(buttons));
  if (!FAnswers.empty()) {
    TModalResult wanted = FAnswers.front();
    FAnswers.pop_front();
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll})
      if (buttons.Contains(b) && ButtonResult(b) == wanted) answer = wanted;
  }
  FShown.push_back({message, type, answer});
  if (OnMessage) OnMessage(FShown.back());
  return answer;
}

void TScriptedDialogs::ShowError(const std::string& message) {
  FErrors.push_back(message);
  if (OnError) OnError(message);
}

}  // namespace host
