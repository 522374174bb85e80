#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Forms.h"

namespace host {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Message boxes (and later file and font dialogs) go through one service, so that tests and
// headless runs answer them from a script.
class IDialogService {
 public:
  virtual ~IDialogService() = default;
  // Shows a message box; returns the modal result of the pressed button.
  virtual TModalResult MessageDlg(const std::string& message, TMsgDlgType type,
                                  TMsgDlgButtons buttons, int helpContext) = 0;
  // Shows an error that reached the application's handler.
  virtual void ShowError(const std::string& message) = 0;
};

void SetDialogService(std::unique_ptr<IDialogService> service);
// The installed service; without one, a scripted service that answers with default buttons.
IDialogService& DialogService();

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext);
void ShowMessage(const std::string& message);

// The modal result of a button, and its lower-case name ("yes", "ok" ...).
TModalResult ButtonResult(TMsgDlgBtn button);
std::string ModalResultName(TModalResult result);
// The button a box answers with when nobody chooses: the first of its buttons.
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);

// Answers message boxes from a queue and records every text shown.
class TScriptedDialogs : public IDialogService {
 public:
  struct TShown {
    std::string Message;
    TMsgDlgType Type;
    TModalResult Answer;
  };

  // Queues the answer for the next message box. An answer the box has no button for gives
  // the box's default button.
  void QueueAnswer(TModalResult answer) { FAnswers.push_back(answer); }
  size_t PendingAnswers() const { return FAnswers.size(); }
  const std::vector<TShown>& Shown() const { return FShown; }
  const std::vector<std::string>& Errors() const { return FErrors; }

  std::function<void(const TShown&)> OnMessage;
  std::function<void(const std::string&)> OnError;

  TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext) override;
  void ShowError(const std::string& message) override;

 private:
  std::deque<TModalResult> FAnswers;
  std::vector<TShown> FShown;
  std::vector<std::string> FErrors;
};

}  // namespace host
