#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Controls.h"
#include "host/Resources.h"

namespace host {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TWindowStateKind { wsNormal, wsMinimized, wsMaximized };
const std::vector<std::string>& BorderIconNames();
const std::vector<std::string>& WindowStateNames();
const std::vector<std::string>& FormBorderStyleNames();
const std::vector<std::string>& PositionNames();

using TModalResult = int;
enum : TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8
};

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// Receives the pointer of a form being designed instead of its controls.
class IFormDesigner {
 public:
  virtual ~IFormDesigner() = default;
  // Handles a pointer event at a client point of the form; true when it took it.
  virtual bool HandleMouse(TForm& form, const TMouseEventRecord& event) = 0;
  // Fails when the designer cannot let component (null: the form) be renamed so.
  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName) {}
};

// A top-level window. Its class name is its own: a form named Form2 is a TForm2.
class TForm : public TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  std::string ClassName() const override;
  void SetClassName(const std::string& className) { FClassName = className; }
  // A second form read from the same form file, with the same owner, takes the name with "_1"
  // (then "_2" ...) added, as the old framework did for a dialog opened twice.
  void SetName(const std::string& name) override;
  // The form's designer has its say too.
  void ValidateRename(TComponent* component, const std::string& curName,
                      const std::string& newName) override;
  bool AcceptClassName(const std::string& className) override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  // The title bar's buttons (a dialog border has no minimise or maximise button whatever these
  // say, and no border has none at all).
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons value);
  TWindowStateKind WindowState() const { return FWindowState; }
  void SetWindowState(TWindowStateKind value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value);
  bool Modal() const { return FModal; }

  void Show();
  void Hide();
  // Runs the close protocol: OnCloseQuery, OnClose; hides the form, or ends the application
  // when it is the main form. A modal form only ends its modal loop.
  void Close();
  // Shows the form modally until ModalResult is set; returns it. Its window is modal before it
  // shows, stays above the form it belongs to (its owner's, or the active one) and has a title
  // (the application's when the form has no caption), also while Application's modal hook,
  // when installed, acts on the form instead of a nested event loop.
  TModalResult ShowModal();

  // The control that has the keyboard, or null.
  TWinControl* ActiveControl() const { return FActiveControl; }
  // Gives control the keyboard; it must lie on this form and be able to take it.
  void SetActiveControl(TWinControl* control);
  // The form sees keys before its controls do.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }
  // The next (or previous) window after current in Tab order that can take the keyboard; with
  // checkTabStop only windows that are Tab stops. Wraps around; null when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
  // Moves the keyboard to that window.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  // The keys a form acts on for the focused control: Tab and Shift+Tab, Enter or Space for the
  // stop the keyboard is on, Enter for the focused or the default button, Escape for the cancel
  // button, accelerators. True when acted on.
  bool FormKey(TWinControl* focused, TKey key, TShiftState shift, const std::string& text);
  // Tab (or Shift+Tab): the next window or keyboard stop. Windows keep their Tab order among
  // themselves and stops go in reading order; each stop comes before the first window that
  // begins after it in reading order (top to bottom, then left to right). A form without stops
  // walks its windows as SelectNext does.
  void TabToNext(bool goForward);

  // The keyboard stop the keyboard is on (TControl::KeyStopCount): its control and which of
  // its stops; null while the keyboard is on a window or nowhere.
  TControl* KeyStopControl() const { return FKeyStop; }
  int KeyStopIndex() const { return FKeyStopIndex; }
  // Puts the keyboard on stop index of control, taking it from any window; null takes it off
  // the stops.
  void FocusKeyStop(TControl* control, int index);
  // The stop the keyboard is on still exists and can be reached, and this is the active form:
  // its focus mark shows.
  bool ShowsFocusMark() const;
  // Told that control's stops are not what they were: the keyboard leaves them.
  void KeyStopsChanged(TControl* control);
  // Repaints the focus mark: the form became, or stopped being, the active one.
  void FocusMarkChanged();

  IFormDesigner* Designer() const { return FDesigner; }
  void SetDesigner(IFormDesigner* designer) { FDesigner = designer; }
  bool RouteToDesigner(const TMouseEventRecord& event);

  void SetVisible(bool value) override;
  // A window named by its title.
  TAccessibleInfo AccessibleInfo() const override;
  // Told that a control is leaving this form: it, or a control inside it, may have the keyboard.
  void ControlRemoved(TControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Runs OnCreate; the form creator calls it once the form's stored properties are read.
  virtual void DoCreate();
  // Asked by the window manager to close. Closing the last visible window that way ends the
  // application too, so a user is never left with a program and no window.
  void DispatchClose();

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 protected:
  void Paint() override;
  virtual void DoShow();
  virtual void DoHide();
  bool ShowingWindow() const override { return Visible(); }
  void CreateWnd() override;
  // A form's caption is its window's title: a new one shows there at once.
  void TextChanged() override;

 private:
  void PlaceOnScreen();
  // Stop index of control exists and the user could reach it: shown and enabled.
  static bool StopReachable(const TControl& control, int index);
  std::string WindowTitle() const;
  TForm* ModalOwner() const;

  std::string FClassName;
  void PushBorder();

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TWindowStateKind FWindowState = wsNormal;
  TPosition FPosition = poDesigned;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FPlaced = false;
  IFormDesigner* FDesigner = nullptr;
  TWinControl* FActiveControl = nullptr;
  TControl* FKeyStop = nullptr;
  int FKeyStopIndex = 0;
  bool FKeyPreview = false;
};

// Observers of what a run does, for traces.
struct TApplicationEvents {
  std::function<void(TForm&)> FormShown;
  std::function<void(TForm&)> FormHidden;
  std::function<void(TForm&)> FormClosed;
  std::function<void()> Terminated;
  // The keyboard went to stop index of control on form.
  std::function<void(TForm& form, TControl& control, int index)> KeyStopFocused;
};

class TApplication : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TApplication(TComponent* owner);

  // Takes a form the project creates (its Application.CreateForm calls); the first becomes the
  // main form. Other forms the application owns, dialogs among them, never do.
  void AddForm(TForm* form);
  TForm* MainForm() const { return FMainForm; }
  void SetMainForm(TForm* form) { FMainForm = form; }

  const std::string& ExeName() const { return FExeName; }
  void SetExeName(const std::string& name) { FExeName = name; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }

  // Asks the application to end once the current event has been handled.
  void Terminate();
  // Terminates when no form is visible any more, as closing the last window does: an
  // application never runs on with nothing on screen.
  void TerminateWhenNoFormVisible();
  bool Terminated() const { return FTerminated; }
  // Clears Terminated so that a new run can start (tests, repeated headless runs).
  void ResetTerminated() { FTerminated = false; }
  void ProcessMessages();
  // Shows the main form and handles events until the application terminates.
  void Run();

  // Shows the error's text; an exception leaving an event ends here, never in a crash.
  void HandleException(const std::exception& error);
  void ShowException(const std::exception& error);
  std::function<void(TObject* sender, const std::exception& error)> OnException;

  // Installed by tests and headless runs: ShowModal calls it instead of running a loop.
  std::function<void(TForm&)> ModalHook;
  TApplicationEvents Events;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TForm* FMainForm = nullptr;
  std::string FExeName;
  std::string FTitle;
  bool FTerminated = false;
};

// The forms in existence, the pointer table and the application-wide pointer.
class TScreen {
 public:
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }
  void AddForm(TForm* form) { FForms.push_back(form); }
  void RemoveForm(TForm* form);
  // The visible form shown or activated last; null when none is visible.
  TForm* ActiveForm() const;
  // Told when a form is shown or its window becomes the active one.
  void FormActivated(TForm* form);
  // The user works in this application, not in another one's window: only then does the
  // active form show its focus mark.
  bool ApplicationActive() const { return FApplicationActive; }
  void SetApplicationActive(bool value);

  // Pointer images by number; numbers without an image show the default pointer.
  std::shared_ptr<const TCursorImage> Cursors(int index) const;
  void SetCursors(int index, std::shared_ptr<const TCursorImage> image);

  // Non-zero overrides every control's pointer.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);

  int Width() const;
  int Height() const;

  std::function<void(TCursor)> OnCursorChanged;

 private:
  std::vector<TForm*> FForms;
  std::vector<TForm*> FRecent;  // the most recently shown or activated last
  std::map<int, std::shared_ptr<const TCursorImage>> FCursors;
  TCursor FCursor = crDefault;
  bool FApplicationActive = true;
};

extern TApplication* Application;
extern TScreen* Screen;

// The form's client area as it looks now, children included; saved as PNG by SaveFormImage.
TRawImage CaptureForm(TForm& form);
void SaveFormImage(TForm& form, const std::string& fileName);

// Runs fn, sending any exception to Application->HandleException: for event handlers.
void HandleEvents(const std::function<void()>& fn);

void RegisterFormClasses();

}  // namespace host
