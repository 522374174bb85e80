#include "host/Forms.h"

#include <algorithm>
#include <cctype>

#include "host/Dialogs.h"

namespace host {

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen;

const std::vector<std::string>& FormBorderStyleNames() {
  static const std::vector<std::string> names = {"bsNone",   "bsSingle",     "bsSizeable",
                                                 "bsDialog", "bsToolWindow", "bsSizeToolWin"};
  return names;
}

const std::vector<std::string>& BorderIconNames() {
  static const std::vector<std::string> names = {"biSystemMenu", "biMinimize", "biMaximize",
                                                 "biHelp"};
  return names;
}

const std::vector<std::string>& WindowStateNames() {
  static const std::vector<std::string> names = {"wsNormal", "wsMinimized", "wsMaximized"};
  return names;
}

const std::vector<std::string>& PositionNames() {
  static const std::vector<std::string> names = {"poDesigned", "poDefault", "poDefaultPosOnly",
                                                 "poDefaultSizeOnly", "poScreenCenter"};
  return names;
}

// ---- TForm

const TClassInfo& TForm::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TForm", &TCustomControl::StaticClassInfo());
    TPublisher<TForm>(i)
        .Boolean("Visible", &TForm::Visible, &TForm::SetVisible)
        .NotStored()
        .Component<TWinControl>("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
        .Set("BorderIcons", BorderIconNames(), &TForm::BorderIcons, &TForm::SetBorderIcons,
             TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Mask())
        .Enumeration("BorderStyle", FormBorderStyleNames(), &TForm::BorderStyle,
                     &TForm::SetBorderStyle, bsSizeable)
        .String("Caption", &TForm::Caption, &TForm::SetCaption)
        .Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TForm& f) -> TFont& { return f.Font(); }, &TForm::SetFont)
        .Boolean("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false)
        .Enumeration("Position", PositionNames(), &TForm::Position, &TForm::SetPosition, poDesigned)
        .Enumeration("WindowState", WindowStateNames(), &TForm::WindowState, &TForm::SetWindowState,
                     wsNormal);
    return i;
  }();
  return info;
}

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TForm::~TForm() {
  if (OnDestroy) HandleEvents([this] { OnDestroy(this); });
  Screen->RemoveForm(this);
  if (Application->MainForm() == this) Application->SetMainForm(nullptr);
}

std::string TForm::ClassName() const {
  return FClassName.empty() ? TCustomControl::ClassName() : FClassName;
}

void TForm::SetName(const std::string& name) {
  if (IsLoading() && Owner() && !name.empty()) {
    TComponent* other = Owner()->FindComponent(name);
    if (other && other != this) {
      std::string unique;
      for (int n = 1; unique.empty() || Owner()->FindComponent(unique); ++n)
        unique = name + "_" + std::to_string(n);
      TCustomControl::SetName(unique);
      return;
    }
  }
  TCustomControl::SetName(name);
}

void TForm::ValidateRename(TComponent* component, const std::string& curName,
                           const std::string& newName) {
  TCustomControl::ValidateRename(component, curName, newName);
  if (FDesigner && IsDesigning()) FDesigner->ValidateRename(component, curName, newName);
}

bool TForm::AcceptClassName(const std::string& className) {
  if (!IsValidIdent(className)) return false;
  FClassName = className;
  return true;
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  FBorderStyle = value;
  PushBorder();
}

void TForm::SetBorderIcons(TBorderIcons value) {
  FBorderIcons = value;
  PushBorder();
}

void TForm::SetWindowState(TWindowStateKind value) {
  FWindowState = value;
  // A designed form stays a window of its own size.
  if (Peer() && !IsDesigning()) Peer()->SetWindowState(static_cast<TWindowState>(value));
}

void TForm::PushBorder() {
  if (!Peer()) return;
  TWindowBorder border;
  // A designed form keeps a frame to be moved and sized by, whatever it will have at run time.
  if (IsDesigning()) {
    Peer()->SetBorder(border);
    return;
  }
  border.Frame = FBorderStyle != bsNone;
  border.Resizable = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
  border.Dialog = FBorderStyle == bsDialog;
  border.SystemMenu = FBorderIcons.Contains(biSystemMenu);
  border.MinimizeButton = !border.Dialog && FBorderIcons.Contains(biMinimize);
  // A frame of fixed size has nothing to maximize to: its design fills exactly its window.
  border.MaximizeButton = border.Resizable && !border.Dialog && FBorderIcons.Contains(biMaximize);
  Peer()->SetBorder(border);
}

void TForm::SetModalResult(TModalResult value) {
  FModalResult = value;
}

void TForm::CreateWnd() {
  TCustomControl::CreateWnd();
  PushBorder();
  Peer()->SetCaption(WindowTitle());
  if (FWindowState != wsNormal && !IsDesigning())
    Peer()->SetWindowState(static_cast<TWindowState>(FWindowState));
}

void TForm::TextChanged() {
  TCustomControl::TextChanged();
  if (Peer()) Peer()->SetCaption(WindowTitle());
}

void TForm::PlaceOnScreen() {
  // A designed form stays where the designer put it.
  if (FPosition != poScreenCenter || IsDesigning()) return;
  SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
}

void TForm::SetVisible(bool value) {
  if (value == Visible()) return;
  if (value) {
    HandleEvents([this] { DoShow(); });
    PlaceOnScreen();
    HandleNeeded();
    if (Peer()) Peer()->SetCaption(WindowTitle());
    TCustomControl::SetVisible(true);
    Screen->FormActivated(this);
    // A dialog opens with the keyboard on its first field, as users expect (a designed form
    // keeps what it has: the choice would be saved with it).
    if (!FActiveControl && !IsDesigning())
      if (TWinControl* first = FindNextControl(nullptr, true, true)) SetActiveControl(first);
    // Without a field to type into, the window itself takes the keys: Tab for its stops,
    // Escape for a popup.
    if (!FActiveControl && !IsDesigning() && Peer()) Peer()->SetFocus();
    if (Application->Events.FormShown) Application->Events.FormShown(*this);
  } else {
    HandleEvents([this] { DoHide(); });
    TCustomControl::SetVisible(false);
    if (TForm* now = Screen->ActiveForm()) now->FocusMarkChanged();
    if (Application->Events.FormHidden) Application->Events.FormHidden(*this);
  }
}

void TForm::Show() {
  SetVisible(true);
  if (Peer()) Peer()->BringToFront();
}

void TForm::Hide() {
  SetVisible(false);
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application->Events.FormClosed) Application->Events.FormClosed(*this);
  if (Application->MainForm() == this)
    Application->Terminate();
  else
    Hide();
}

void TForm::DispatchClose() {
  Close();
  Application->TerminateWhenNoFormVisible();
}

TAccessibleInfo TForm::AccessibleInfo() const {
  TAccessibleInfo info;
  info.Role = FModal ? TAccessibleRole::Dialog : TAccessibleRole::Window;
  info.Name = WindowTitle();
  info.Focusable = true;
  return info;
}

// A window without a title is a blank in the window list; a dialog is the application's.
std::string TForm::WindowTitle() const {
  if (!Caption().empty() || !FModal) return Caption();
  return Application->Title().empty() ? "Mebrox" : Application->Title();
}

// The form a modal form belongs to: the one its owner lies on while that shows, else the
// active one.
TForm* TForm::ModalOwner() const {
  TForm* owner = dynamic_cast<TForm*>(Owner());
  if (!owner) owner = GetParentForm(dynamic_cast<const TControl*>(Owner()));
  if (!owner || !owner->Visible()) owner = Screen->ActiveForm();
  return owner == this ? nullptr : owner;
}

TModalResult TForm::ShowModal() {
  if (Visible()) throw EInvalidOperation("Cannot make a visible window modal");
  if (!Application->ModalHook && !Backend())
    throw EInvalidOperation("Cannot show " + ClassName() + " modally without an event loop");
  FModal = true;
  FModalResult = mrNone;
  auto finish = [this] {
    Hide();
    if (Peer()) Peer()->SetModal(false, nullptr);
    FModal = false;
  };
  try {
    HandleNeeded();
    if (Peer()) {
      TForm* owner = ModalOwner();
      Peer()->SetModal(true, owner ? owner->Peer() : nullptr);
    }
    Show();
    if (Application->ModalHook) {
      Application->ModalHook(*this);
      if (FModalResult == mrNone) FModalResult = mrCancel;
    } else {
      while (FModalResult == mrNone) {
        Backend()->Pump().HandleMessage();
        if (Application->Terminated()) FModalResult = mrCancel;
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return FModalResult;
}

// ---- keyboard

void TForm::SetActiveControl(TWinControl* control) {
  if (control) {
    if (GetParentForm(control) != this || control == this)
      throw EInvalidOperation("Cannot focus a window of another form");
    if (!IsLoading() && !control->CanFocus() && Visible())
      throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  if (control == FActiveControl) {
    if (control && control->Peer()) control->Peer()->SetFocus();
    return;
  }
  if (control) FocusKeyStop(nullptr, 0);
  TWinControl* old = FActiveControl;
  FActiveControl = control;
  if (old) old->DoExit();
  if (control) {
    control->DoEnter();
    if (control->Peer()) control->Peer()->SetFocus();
  }
}

void TForm::ControlRemoved(TControl* control) {
  for (const TControl* c = FActiveControl; c; c = c->Parent())
    if (c == control) {
      FActiveControl = nullptr;
      break;
    }
  for (const TControl* c = FKeyStop; c; c = c->Parent())
    if (c == control) {
      FKeyStop = nullptr;
      break;
    }
}

TWinControl* TForm::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == count) start = goForward ? count - 1 : 0;
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* w = list[static_cast<size_t>(i)];
    if (w != current && w->CanFocus() && (!checkTabStop || w->TabStop())) return w;
  }
  return nullptr;
}

void TForm::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop)) SetActiveControl(next);
}

namespace {

// Offers a key to every control of a window, depth first, until one takes it.
bool OfferToControls(TWinControl& parent, const std::function<bool(TControl&)>& offer) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (offer(*c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && OfferToControls(*w, offer)) return true;
  }
  return false;
}

}  // namespace

bool TForm::FormKey(TWinControl* focused, TKey key, TShiftState shift, const std::string& text) {
  bool alt = shift.Contains(ssAlt), ctrl = shift.Contains(ssCtrl);
  if (key == VK_TAB && !alt && !ctrl) {
    TabToNext(!shift.Contains(ssShift));
    return true;
  }
  // Enter or Space on a stop is a click on it; the stop may be gone by now (a text switched
  // under it), and then the key does nothing.
  if ((key == VK_RETURN || key == VK_SPACE) && !alt && !ctrl && !shift.Contains(ssShift) &&
      FKeyStop && !FActiveControl) {
    if (StopReachable(*FKeyStop, FKeyStopIndex)) FKeyStop->KeyStopClick(FKeyStopIndex);
    return true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && !alt && !ctrl) {
    // The focused button answers Enter itself; otherwise the default (or cancel) button does.
    if (focused && focused->DialogKey(key, shift)) return true;
    return OfferToControls(*this, [&](TControl& c) { return c.DialogKey(key, shift); });
  }
  char c = 0;
  if (alt && !ctrl && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
    c = static_cast<char>(std::tolower(key));
  else if (!alt && !ctrl && text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0])) &&
           !(focused && focused->WantsChars()))
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  if (!c) return false;
  return OfferToControls(*this, [c](TControl& control) { return control.DialogChar(c); });
}

namespace {

// A place Tab can go to: a window, or a stop of a control.
struct TTabEntry {
  TWinControl* Window = nullptr;
  TControl* Control = nullptr;
  int Index = 0;
  TPoint At;  // where it begins on the form
  bool Eligible = true;
};

bool ReadsBefore(TPoint a, TPoint b) {
  return a.Y != b.Y ? a.Y < b.Y : a.X < b.X;
}

// The stops of the visible, enabled controls inside parent, with what of them lies inside
// their control (a hot word drawn past the bottom of its text is out of reach).
void GatherStops(const TWinControl& parent, TPoint origin, std::vector<TTabEntry>& stops) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    TPoint at{origin.X + c->Left(), origin.Y + c->Top()};
    for (int k = 0, n = c->KeyStopCount(); k < n; ++k) {
      for (const TRect& part : c->KeyStopRects(k)) {
        if (part.Intersect(c->ClientRect()).IsEmpty()) continue;
        stops.push_back({nullptr, c, k, {at.X + part.Left, at.Y + part.Top}, true});
        break;
      }
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) GatherStops(*w, at, stops);
  }
}

}  // namespace

bool TForm::StopReachable(const TControl& control, int index) {
  if (index < 0 || index >= control.KeyStopCount() || !control.Showing()) return false;
  for (const TControl* c = &control; c; c = c->Parent())
    if (!c->Enabled()) return false;
  return true;
}

void TForm::TabToNext(bool goForward) {
  std::vector<TTabEntry> stops;
  if (!IsDesigning()) {
    // The stops are those of the last paint: bring every control's paint up to date first.
    Update();
    GatherStops(*this, {0, 0}, stops);
  }
  if (stops.empty()) {
    FocusKeyStop(nullptr, 0);
    SelectNext(FActiveControl, goForward, true);
    return;
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const TTabEntry& a, const TTabEntry& b) { return ReadsBefore(a.At, b.At); });
  std::vector<TWinControl*> windows;
  GetTabOrderList(windows);
  std::vector<TTabEntry> entries;
  size_t s = 0;
  for (TWinControl* w : windows) {
    TPoint at = w->OriginInTopLevel();
    while (s < stops.size() && ReadsBefore(stops[s].At, at)) entries.push_back(stops[s++]);
    entries.push_back({w, nullptr, 0, at, w->CanFocus() && w->TabStop()});
  }
  entries.insert(entries.end(), stops.begin() + static_cast<ptrdiff_t>(s), stops.end());

  int count = static_cast<int>(entries.size());
  auto current = std::find_if(entries.begin(), entries.end(), [this](const TTabEntry& e) {
    return FKeyStop ? e.Control == FKeyStop && e.Index == FKeyStopIndex
                    : e.Window && e.Window == FActiveControl;
  });
  int start = static_cast<int>(current - entries.begin());
  if (start == count) start = goForward ? count - 1 : 0;
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    const TTabEntry& e = entries[static_cast<size_t>(i)];
    if (!e.Eligible || i == static_cast<int>(current - entries.begin())) continue;
    if (e.Window)
      SetActiveControl(e.Window);
    else
      FocusKeyStop(e.Control, e.Index);
    return;
  }
}

void TForm::FocusKeyStop(TControl* control, int index) {
  if (control && (GetParentForm(control) != this || control == this))
    throw EInvalidOperation("Cannot focus a stop of another form");
  if (control == FKeyStop && index == FKeyStopIndex) return;
  if (FKeyStop) FKeyStop->Invalidate();
  FKeyStop = control;
  FKeyStopIndex = control ? index : 0;
  if (!control) return;
  control->Invalidate();
  // The stops have no windows of their own: the form's window takes the keys for them.
  SetActiveControl(nullptr);
  if (Peer()) Peer()->SetFocus();
  // A reader speaks the stop: the hot word itself when the control has parts.
  NotifyAccessible(*control, control->AccessibleChildCount() > 0 ? index : -1,
                   TAccessibleEvent::Focus);
  if (Application->Events.KeyStopFocused)
    Application->Events.KeyStopFocused(*this, *control, index);
}

bool TForm::ShowsFocusMark() const {
  return FKeyStop && !FActiveControl && Visible() && Screen->ApplicationActive() &&
         Screen->ActiveForm() == this && StopReachable(*FKeyStop, FKeyStopIndex);
}

void TForm::KeyStopsChanged(TControl* control) {
  if (control == FKeyStop) FocusKeyStop(nullptr, 0);
}

void TForm::FocusMarkChanged() {
  if (FKeyStop) FKeyStop->Invalidate();
}

bool TForm::RouteToDesigner(const TMouseEventRecord& event) {
  return FDesigner && IsDesigning() && FDesigner->HandleMouse(*this, event);
}

void TForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  if (root == this)
    for (TComponent* c : ComponentList())
      if (!c->HasParent()) proc(c);
  TCustomControl::GetChildren(proc, root);
}

// ---- TApplication

const TClassInfo& TApplication::StaticClassInfo() {
  static TClassInfo info("TApplication", &TComponent::StaticClassInfo());
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  // What the kit worked around in a file is shown as errors are, but stops nothing; a shown
  // error takes no answer from a headless run's script.
  SetFileNoticeHandler([](const std::string& message) { DialogService().ShowError(message); });
}

void TApplication::AddForm(TForm* form) {
  if (!FMainForm) FMainForm = form;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
  TComponent::Notification(component, operation);
}

void TApplication::Terminate() {
  if (FTerminated) return;
  FTerminated = true;
  if (Events.Terminated) Events.Terminated();
  if (Backend()) Backend()->Pump().Quit();
}

void TApplication::TerminateWhenNoFormVisible() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i)->Visible()) return;
  Terminate();
}

void TApplication::ProcessMessages() {
  if (Backend()) Backend()->Pump().ProcessMessages();
}

void TApplication::Run() {
  if (FMainForm && !FMainForm->Visible()) HandleEvents([this] { FMainForm->Show(); });
  if (!Backend()) return;
  while (!FTerminated) Backend()->Pump().Run();
}

void TApplication::HandleException(const std::exception& error) {
  if (OnException)
    OnException(this, error);
  else
    ShowException(error);
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (!text.empty() && text.back() != '.') text += '.';
  DialogService().ShowError(text);
}

TRawImage CaptureForm(TForm& form) {
  form.HandleNeeded();
  if (!form.Peer())
    throw EInvalidOperation("Cannot take a picture of " + form.ClassName() + " without a window");
  return form.Peer()->Grab();
}

void SaveFormImage(TForm& form, const std::string& fileName) {
  TRawImage image = CaptureForm(form);
  if (!ImageCodec()) throw EInvalidOperation("No image codec to save \"" + fileName + "\"");
  WriteFileAtomically(fileName, ImageCodec()->EncodePng(image));
}

void HandleEvents(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    Application->HandleException(e);
  }
}

// ---- TScreen

void TScreen::RemoveForm(TForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  FRecent.erase(std::remove(FRecent.begin(), FRecent.end(), form), FRecent.end());
}

TForm* TScreen::ActiveForm() const {
  for (auto it = FRecent.rbegin(); it != FRecent.rend(); ++it)
    if ((*it)->Visible()) return *it;
  return nullptr;
}

void TScreen::FormActivated(TForm* form) {
  TForm* before = ActiveForm();
  FRecent.erase(std::remove(FRecent.begin(), FRecent.end(), form), FRecent.end());
  FRecent.push_back(form);
  if (before && before != form) before->FocusMarkChanged();
  form->FocusMarkChanged();
}

void TScreen::SetApplicationActive(bool value) {
  if (value == FApplicationActive) return;
  FApplicationActive = value;
  if (TForm* form = ActiveForm()) form->FocusMarkChanged();
}

std::shared_ptr<const TCursorImage> TScreen::Cursors(int index) const {
  auto it = FCursors.find(index);
  return it == FCursors.end() ? nullptr : it->second;
}

void TScreen::SetCursors(int index, std::shared_ptr<const TCursorImage> image) {
  if (image)
    FCursors[index] = std::move(image);
  else
    FCursors.erase(index);
}

void TScreen::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  if (Backend()) Backend()->SetOverrideCursor(value);
  if (OnCursorChanged) OnCursorChanged(value);
}

int TScreen::Width() const {
  return Backend() ? Backend()->ScreenSize().cx : 1024;
}
int TScreen::Height() const {
  return Backend() ? Backend()->ScreenSize().cy : 768;
}

void RegisterFormClasses() {
  TClassRegistry::Register<TForm>();
}

}  // namespace host
