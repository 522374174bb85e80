#include "host/StdCtrls.h"

#include <algorithm>

#include "host/Forms.h"

namespace host {

const std::vector<std::string>& AlignmentNames() {
  static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
  return names;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TLabel", &TGraphicControl::StaticClassInfo());
    TPublisher<TLabel>(i)
        .Enumeration("Align", AlignNames(), &TLabel::Align, &TLabel::SetAlign, alNone)
        .Enumeration("Alignment", AlignmentNames(), &TLabel::Alignment, &TLabel::SetAlignment,
                     taLeftJustify)
        .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
        .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
        .Color("Color", &TLabel::Color, &TLabel::SetColor, clBtnFace)
        .Component<TWinControl>("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
        .SubObject<TFont>(
            "Font", [](TLabel& l) -> TFont& { return l.Font(); }, &TLabel::SetFont)
        .Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true)
        .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
        .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    return i;
  }();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  // A new label keeps its first size until it has a caption or a form file to size it by.
  FAdjusting = true;
  SetBounds(0, 0, 65, 17);
  FAdjusting = false;
  SetControlStyle(TControlStyle{csClickEvents, csCaptureMouse, csSetCaption});
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  TGraphicControl::SetBounds(left, top, width, height);
  if (!FAdjusting && Align() == alNone) AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}

TAccessibleInfo TLabel::AccessibleInfo() const {
  TAccessibleInfo info;
  info.Role = TAccessibleRole::StaticText;
  info.Name = FShowAccelChar ? StripAccelerator(Caption()) : Caption();
  return info;
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

bool TLabel::DialogChar(char c) {
  if (!FShowAccelChar || !FFocusControl || c != AcceleratorOf(Caption()) ||
      !FFocusControl->CanFocus())
    return false;
  FFocusControl->SetFocus();
  return true;
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
  TGraphicControl::Notification(component, operation);
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

unsigned TLabel::AlignmentFlags() const {
  switch (FAlignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void TLabel::DoDrawText(TRect& rect, unsigned flags) {
  std::string text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one blank high.
  if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  Canvas().SetFont(Font());
  if (!Enabled()) Canvas().Font().SetColor(clGrayText);
  Canvas().DrawText(text, rect, flags);
}

void TLabel::Paint() {
  if (!FTransparent) {
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().FillRect(ClientRect());
  }
  Canvas().Brush().SetStyle(bsClear);
  TRect rect = ClientRect();
  DoDrawText(rect, DT_EXPANDTABS | (FWordWrap ? unsigned{DT_WORDBREAK} : 0u) | AlignmentFlags());
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading()) return;
  TRect rect = ClientRect();
  DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? unsigned{DT_WORDBREAK} : 0u));
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - rect.Right;
  FAdjusting = true;
  SetBounds(x, Top(), rect.Right, rect.Bottom);
  FAdjusting = false;
}

// ---- TGroupBox

const TClassInfo& TGroupBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TGroupBox", &TCustomControl::StaticClassInfo());
    TPublisher<TGroupBox>(i)
        .Enumeration("Align", AlignNames(), &TGroupBox::Align, &TGroupBox::SetAlign, alNone)
        .String("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption)
        .Color("Color", &TGroupBox::Color, &TGroupBox::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TGroupBox& g) -> TFont& { return g.Font(); }, &TGroupBox::SetFont)
        .Integer("TabOrder", &TGroupBox::TabOrder, &TGroupBox::SetTabOrder);
    return i;
  }();
  return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents});
}

void TGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  int textHeight = canvas.TextHeight("0");
  // An etched frame: a shadow line with a highlight line just inside it.
  TRect frame{0, textHeight / 2, Width(), Height()};
  TPen pen;
  pen.SetColor(clBtnShadow);
  canvas.Pen().Assign(pen);
  canvas.Brush().SetStyle(bsClear);
  canvas.Rectangle(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1);
  canvas.Pen().SetColor(clBtnHighlight);
  canvas.Rectangle(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom);
  if (Caption().empty()) return;
  TRect text{8, 0, 0, 0};
  canvas.DrawText(Caption(), text, DT_CALCRECT | DT_SINGLELINE);
  text.Right += 4;
  text.Left -= 2;
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(text);
  canvas.Brush().SetStyle(bsClear);
  text.Left += 2;
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  canvas.DrawText(Caption(), text, DT_SINGLELINE);
}

bool TGroupBox::DialogChar(char c) {
  if (c != AcceleratorOf(Caption())) return false;
  // The accelerator of a frame moves the keyboard to the first field inside it.
  std::vector<TWinControl*> inside;
  GetTabOrderList(inside);
  for (TWinControl* w : inside)
    if (w->CanFocus() && w->TabStop()) {
      w->SetFocus();
      return true;
    }
  return false;
}

// ---- TButtonControl

const TClassInfo& TButtonControl::StaticClassInfo() {
  static TClassInfo info("TButtonControl", &TWinControl::StaticClassInfo());
  return info;
}

TButtonControl::TButtonControl(TComponent* owner, TWidgetKind kind) : TWidgetControl(owner, kind) {
  SetColor(clBtnFace);
}

bool TButtonControl::DialogChar(char c) {
  if (c != AcceleratorOf(Caption()) || !CanFocus()) return false;
  Accelerate();
  return true;
}

// ---- TButton

const TClassInfo& TButton::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TButton", &TButtonControl::StaticClassInfo());
    TPublisher<TButton>(i)
        .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .String("Caption", &TButton::Caption, &TButton::SetCaption)
        .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
        .SubObject<TFont>(
            "Font", [](TButton& b) -> TFont& { return b.Font(); }, &TButton::SetFont)
        .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0)
        .Integer("TabOrder", &TButton::TabOrder, &TButton::SetTabOrder)
        .Boolean("TabStop", &TButton::TabStop, &TButton::SetTabStop, true);
    return i;
  }();
  return info;
}

TButton::TButton(TComponent* owner) : TButton(owner, TWidgetKind::Button) {}

TButton::TButton(TComponent* owner, TWidgetKind kind) : TButtonControl(owner, kind) {
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (auto* peer = WidgetPeer<IButtonPeer>()) peer->SetDefault(value);
}

void TButton::PeerCreated() {
  TButtonControl::PeerCreated();
  WidgetPeer<IButtonPeer>()->SetDefault(FDefault);
}

void TButton::Click() {
  if (FModalResult != 0)
    if (TForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

bool TButton::DialogKey(TKey key, TShiftState shift) {
  if (!CanFocus()) return false;
  bool press = (key == VK_RETURN && (FDefault || Focused())) || (key == VK_ESCAPE && FCancel);
  if (press) Click();
  return press;
}

void TButton::KeyDown(TKey& key, TShiftState shift) {
  TButtonControl::KeyDown(key, shift);
  // Space presses the focused button; the kit does it so that scripted and real keys agree.
  if (key == VK_SPACE && shift.Mask() == 0) {
    key = 0;
    Click();
  }
}

void TButton::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcClick) Click();
}

// ---- TCheckBox

const std::vector<std::string>& CheckBoxStateNames() {
  static const std::vector<std::string> names = {"cbUnchecked", "cbChecked", "cbGrayed"};
  return names;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TCheckBox", &TButtonControl::StaticClassInfo());
    TPublisher<TCheckBox>(i)
        .Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false)
        .String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption)
        .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false)
        .NotStored()
        .Color("Color", &TCheckBox::Color, &TCheckBox::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TCheckBox& b) -> TFont& { return b.Font(); }, &TCheckBox::SetFont)
        .Enumeration("State", CheckBoxStateNames(), &TCheckBox::State, &TCheckBox::SetState,
                     cbUnchecked)
        .Integer("TabOrder", &TCheckBox::TabOrder, &TCheckBox::SetTabOrder)
        .Boolean("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop, true);
    return i;
  }();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner, TWidgetKind::CheckBox) {
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == FState) return;
  FState = value;
  if (auto* peer = WidgetPeer<IButtonPeer>()) peer->SetState(FState);
  if (!IsLoading()) TButtonControl::Click();
}

void TCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked:
      SetState(FAllowGrayed ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCheckBox::PeerCreated() {
  TButtonControl::PeerCreated();
  WidgetPeer<IButtonPeer>()->SetState(FState);
}

void TCheckBox::Accelerate() {
  SetFocus();
  Toggle();
}

void TCheckBox::KeyDown(TKey& key, TShiftState shift) {
  TButtonControl::KeyDown(key, shift);
  if (key == VK_SPACE && shift.Mask() == 0) {
    key = 0;
    Toggle();
  }
}

void TCheckBox::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind != TWidgetChange::wcState) return;
  TCheckBoxState state = static_cast<TCheckBoxState>(std::clamp(change.Index, 0, 2));
  if (state == cbGrayed && !FAllowGrayed) state = cbChecked;
  SetState(state);
  // The widget may show a state the control refused.
  if (auto* peer = WidgetPeer<IButtonPeer>()) peer->SetState(FState);
}

// ---- TRadioButton

const TClassInfo& TRadioButton::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TRadioButton", &TButtonControl::StaticClassInfo());
    TPublisher<TRadioButton>(i)
        .String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption)
        .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false)
        .Color("Color", &TRadioButton::Color, &TRadioButton::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TRadioButton& b) -> TFont& { return b.Font(); }, &TRadioButton::SetFont)
        .Integer("TabOrder", &TRadioButton::TabOrder, &TRadioButton::SetTabOrder);
    return i;
  }();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner, TWidgetKind::RadioButton) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

void TRadioButton::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetTabStop(value);
  if (auto* peer = WidgetPeer<IButtonPeer>()) peer->SetState(value ? 1 : 0);
  if (!value) return;
  if (Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this)
        other->SetChecked(false);
  if (!IsLoading()) TButtonControl::Click();
}

void TRadioButton::PeerCreated() {
  TButtonControl::PeerCreated();
  WidgetPeer<IButtonPeer>()->SetState(FChecked ? 1 : 0);
}

void TRadioButton::Accelerate() {
  SetFocus();
  SetChecked(true);
}

void TRadioButton::KeyDown(TKey& key, TShiftState shift) {
  TButtonControl::KeyDown(key, shift);
  bool forward = key == VK_DOWN || key == VK_RIGHT;
  if ((!forward && key != VK_UP && key != VK_LEFT) || !Parent()) return;
  key = 0;
  // The arrows move through the group, checking as they go.
  std::vector<TRadioButton*> group;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r->CanFocus())
      group.push_back(r);
  auto it = std::find(group.begin(), group.end(), this);
  if (it == group.end() || group.size() < 2) return;
  size_t at = static_cast<size_t>(it - group.begin());
  TRadioButton* next = group[(at + (forward ? 1 : group.size() - 1)) % group.size()];
  next->SetFocus();
  next->SetChecked(true);
}

void TRadioButton::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcState) SetChecked(change.Index != 0);
}

void RegisterStdCtrlsClasses() {
  TClassRegistry::Register<TLabel>();
  TClassRegistry::Register<TGroupBox>();
  TClassRegistry::Register<TButton>();
  TClassRegistry::Register<TCheckBox>();
  TClassRegistry::Register<TRadioButton>();
}

}  // namespace host
