#include "host/EditCtrls.h"

#include <algorithm>
#include <limits>

namespace host {

// ---- TCustomEdit

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TCustomEdit", &TWinControl::StaticClassInfo());
    TPublisher<TCustomEdit>(i)
        .Color("Color", &TCustomEdit::Color, &TCustomEdit::SetColor, clWindow)
        .SubObject<TFont>(
            "Font", [](TCustomEdit& e) -> TFont& { return e.Font(); }, &TCustomEdit::SetFont)
        .Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Integer("TabOrder", &TCustomEdit::TabOrder, &TCustomEdit::SetTabOrder)
        .Boolean("TabStop", &TCustomEdit::TabStop, &TCustomEdit::SetTabStop, true);
    return i;
  }();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner, TWidgetKind kind) : TWidgetControl(owner, kind) {
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetReadOnly(value);
}

void TCustomEdit::SetPasswordChar(const std::string& value) {
  FPasswordChar = value.empty() ? 0 : value[0];
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetPasswordChar(FPasswordChar);
}

void TCustomEdit::SetSelStart(int value) {
  FSelStart = value;
  FSelLength = 0;
  ClampSelection();
  PushSelection();
}

void TCustomEdit::SetSelLength(int value) {
  FSelLength = value;
  ClampSelection();
  PushSelection();
}

std::string TCustomEdit::SelText() const {
  std::string text = EditText();
  if (FSelStart >= static_cast<int>(text.size())) return std::string();
  return text.substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength));
}

void TCustomEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = static_cast<int>(EditText().size());
  PushSelection();
}

void TCustomEdit::ClampSelection() {
  int size = static_cast<int>(EditText().size());
  FSelStart = std::clamp(FSelStart, 0, size);
  FSelLength = std::clamp(FSelLength, 0, size - FSelStart);
}

void TCustomEdit::PushSelection() {
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetSelection(FSelStart, FSelLength);
}

void TCustomEdit::PeerCreated() {
  TWidgetControl::PeerCreated();
  auto* peer = WidgetPeer<IEditPeer>();
  peer->SetReadOnly(FReadOnly);
  peer->SetPasswordChar(FPasswordChar);
}

void TCustomEdit::TextChanged() {
  TWidgetControl::TextChanged();
  ClampSelection();
  if (!IsLoading()) Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

int TCustomEdit::CountedLength(const std::string& widgetText) const {
  return static_cast<int>(widgetText.size());
}

bool TCustomEdit::TakesWidgetText(const std::string& widgetText) {
  const int length = CountedLength(widgetText);
  // A text made shorter is taken even while it is still too long (set so in code).
  if (FMaxLength == 0 || length <= FMaxLength || length <= CountedLength(EditText())) return true;
  // Refused whole rather than cut: what the user typed or pasted stays where it came from.
  const int start = FSelStart, selLength = FSelLength;
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetText(EditText());
  FSelStart = start;
  FSelLength = selLength;
  ClampSelection();
  PushSelection();
  if (OnMaxText) OnMaxText(this);
  return false;
}

void TCustomEdit::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcSelection) {
    FSelStart = change.Index;
    FSelLength = change.Length;
    ClampSelection();
    return;
  }
  if (change.Kind != TWidgetChange::wcText || FReadOnly) return;
  if (!TakesWidgetText(change.Text)) return;
  FModified = true;
  SetText(change.Text);
}

const TClassInfo& TEdit::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TEdit", &TCustomEdit::StaticClassInfo());
    TPublisher<TEdit>(i)
        .String("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar)
        .String("Text", &TEdit::Text, &TEdit::SetText);
    return i;
  }();
  return info;
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner, TWidgetKind::Edit) {}

// ---- TMemo

const std::vector<std::string>& ScrollStyleNames() {
  static const std::vector<std::string> names = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
  return names;
}

const TClassInfo& TMemo::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TMemo", &TCustomEdit::StaticClassInfo());
    TPublisher<TMemo>(i)
        .Enumeration("Align", AlignNames(), &TMemo::Align, &TMemo::SetAlign, alNone)
        .Strings<TStrings>(
            "Lines", [](TMemo& m) -> TStringList& { return m.Lines(); }, &TMemo::SetLines)
        .Enumeration("ScrollBars", ScrollStyleNames(), &TMemo::ScrollBars, &TMemo::SetScrollBars,
                     ssNone)
        .Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns, true)
        .Boolean("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs, false)
        .Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap, true);
    return i;
  }();
  return info;
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner, TWidgetKind::Memo) {
  SetBounds(0, 0, 185, 89);
  FLines.OnChange = [this](TObject*) { LinesChanged(); };
}

// The memo's text as its widget holds it: lines joined with line feeds.
static std::string WidgetText(const TStrings& lines) {
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i) text += '\n';
    text += lines.Get(i);
  }
  return text;
}

std::string TMemo::EditText() const {
  return WidgetText(FLines);
}

int TMemo::CountedLength(const std::string& widgetText) const {
  return static_cast<int>(widgetText.size() +
                          std::count(widgetText.begin(), widgetText.end(), '\n'));
}

void TMemo::SetScrollBars(TScrollStyle value) {
  FScrollBars = value;
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetScrollBars(value);
}

void TMemo::LinesChanged() {
  // Text coming from the widget stays as the widget has it (a trailing line break included).
  if (!FFromWidget)
    if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetText(WidgetText(FLines));
  ClampSelection();
  if (!IsLoading()) Change();
}

void TMemo::SetWordWrap(bool value) {
  FWordWrap = value;
  if (auto* peer = WidgetPeer<IEditPeer>()) peer->SetWordWrap(value);
}

void TMemo::PeerCreated() {
  TCustomEdit::PeerCreated();
  auto* peer = WidgetPeer<IEditPeer>();
  peer->SetWordWrap(FWordWrap);
  peer->SetScrollBars(FScrollBars);
  peer->SetText(WidgetText(FLines));
}

bool TMemo::WantsKey(TKey key, TShiftState shift) const {
  if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
  return (key == VK_RETURN && FWantReturns) || (key == VK_TAB && FWantTabs);
}

void TMemo::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcSelection) {
    TCustomEdit::WidgetChanged(change);
    return;
  }
  if (change.Kind != TWidgetChange::wcText || ReadOnly()) return;
  if (!TakesWidgetText(change.Text)) return;
  SetModified(true);
  FFromWidget = true;
  try {
    FLines.SetText(change.Text);
  } catch (...) {
    FFromWidget = false;
    throw;
  }
  FFromWidget = false;
}

// ---- TSpinEdit

const TClassInfo& TSpinEdit::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSpinEdit", &TWinControl::StaticClassInfo());
    TPublisher<TSpinEdit>(i)
        .Color("Color", &TSpinEdit::Color, &TSpinEdit::SetColor, clWindow)
        .SubObject<TFont>(
            "Font", [](TSpinEdit& e) -> TFont& { return e.Font(); }, &TSpinEdit::SetFont)
        .Integer("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement, 1)
        .Integer("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue, 0)
        .Integer("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue, 0)
        .Integer("TabOrder", &TSpinEdit::TabOrder, &TSpinEdit::SetTabOrder)
        .Boolean("TabStop", &TSpinEdit::TabStop, &TSpinEdit::SetTabStop, true)
        .Integer("Value", &TSpinEdit::Value, &TSpinEdit::SetValue, 0);
    return i;
  }();
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TWidgetControl(owner, TWidgetKind::SpinEdit) {
  SetBounds(0, 0, 121, 22);
  SetCaption("0");
}

int TSpinEdit::CheckValue(int value) const {
  if (FMinValue == FMaxValue || IsLoading()) return value;
  return std::clamp(value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
}

void TSpinEdit::SetValue(int value) {
  value = CheckValue(value);
  if (auto* peer = WidgetPeer<ISpinPeer>()) peer->SetValue(value);
  if (value == FValue) return;
  FValue = value;
  SetCaption(std::to_string(value));
  if (!IsLoading() && OnChange) OnChange(this);
}

void TSpinEdit::PushRange() {
  auto* peer = WidgetPeer<ISpinPeer>();
  if (!peer) return;
  if (FMinValue == FMaxValue)
    peer->SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), FIncrement);
  else
    peer->SetRange(std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue), FIncrement);
  peer->SetValue(FValue);
}

void TSpinEdit::SetMinValue(int value) {
  FMinValue = value;
  PushRange();
  SetValue(FValue);
}

void TSpinEdit::SetMaxValue(int value) {
  FMaxValue = value;
  PushRange();
  SetValue(FValue);
}

void TSpinEdit::SetIncrement(int value) {
  FIncrement = std::max(1, value);
  PushRange();
}

void TSpinEdit::PeerCreated() {
  TWidgetControl::PeerCreated();
  PushRange();
}

void TSpinEdit::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcValue) SetValue(change.Index);
}

void RegisterEditCtrlsClasses() {
  TClassRegistry::Register<TEdit>();
  TClassRegistry::Register<TMemo>();
  TClassRegistry::Register<TSpinEdit>();
}

}  // namespace host
