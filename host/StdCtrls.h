#pragma once

#include "host/Controls.h"

namespace host {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const std::vector<std::string>& AlignmentNames();

// A caption drawn on its parent, sized to its text unless AutoSize is off.
class TLabel : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // The field the label's accelerator gives the keyboard to.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value) { FFocusControl = value; }

  void Loaded() override;
  bool DialogChar(char c) override;
  // Read as its caption.
  TAccessibleInfo AccessibleInfo() const override;
  void Notification(TComponent* component, TOperation operation) override;
  // With AutoSize on (and no alignment), the label stays the size of its caption whatever size
  // it is given, as a form file read back would make it.
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void Paint() override;
  // Draws (or, with DT_CALCRECT, measures) the caption into rect on the canvas.
  virtual void DoDrawText(TRect& rect, unsigned flags);
  // Sizes the label to its caption when AutoSize is on.
  void AdjustBounds();
  unsigned AlignmentFlags() const;
  void FontChanged() override;
  void TextChanged() override;

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  bool FWordWrap = false;
  bool FAdjusting = false;
  TWinControl* FFocusControl = nullptr;
};

// A captioned frame that groups the controls inside it.
class TGroupBox : public TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TGroupBox(TComponent* owner);
  bool DialogChar(char c) override;

 protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
};

// What push buttons, check boxes and radio buttons share: a caption with an accelerator.
class TButtonControl : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  TButtonControl(TComponent* owner, TWidgetKind kind);
  bool DialogChar(char c) override;

 protected:
  // What the button's accelerator does: press it.
  virtual void Accelerate() { Click(); }
};

// A push button. A click sets its form's ModalResult to the button's own (when not mrNone),
// which ends a modal form.
class TButton : public TButtonControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TButton(TComponent* owner);

  // Enter presses the default button wherever the keyboard is; Escape the cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }

  void Click() override;
  bool DialogKey(TKey key, TShiftState shift) override;
  void WidgetChanged(const TWidgetChange& change) override;

 protected:
  TButton(TComponent* owner, TWidgetKind kind);
  void PeerCreated() override;
  void KeyDown(TKey& key, TShiftState shift) override;

 private:
  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
const std::vector<std::string>& CheckBoxStateNames();

// A box the user ticks. Changing its state, by the user or in code, fires OnClick, as the old
// framework did (but not while a form is being read).
class TCheckBox : public TButtonControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TCheckBox(TComponent* owner);

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool value) { FAllowGrayed = value; }
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState value);
  // Steps to the next state as a click does.
  void Toggle();
  // The user's click: toggles (and so fires OnClick).
  void Click() override { Toggle(); }

  void WidgetChanged(const TWidgetChange& change) override;

 protected:
  void PeerCreated() override;
  void Accelerate() override;
  void KeyDown(TKey& key, TShiftState shift) override;

 private:
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

// One of a group of choices: checking it unchecks the radio buttons beside it (same parent).
// Only the checked one is a Tab stop, so Tab visits a group once.
class TRadioButton : public TButtonControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  // The user's click: checks the button (and so fires OnClick).
  void Click() override { SetChecked(true); }

  void WidgetChanged(const TWidgetChange& change) override;

 protected:
  void PeerCreated() override;
  void Accelerate() override;
  void KeyDown(TKey& key, TShiftState shift) override;

 private:
  bool FChecked = false;
};

void RegisterStdCtrlsClasses();

}  // namespace host
