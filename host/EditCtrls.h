#pragma once

#include <algorithm>
#include <string>

#include "host/Controls.h"
#include "host/Strings.h"

namespace host {

// An edit field of one line. Its text is the control's Caption, as in the old framework;
// OnChange fires whenever the text changes, typed or set in code (not while a form is read).
class TCustomEdit : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& value) { SetCaption(value); }
  // The longest text the user may make, in bytes (a memo's line breaks as CR LF, two each);
  // 0 for no limit. A change that would go past it is refused whole: the text stays as it
  // was, and OnMaxText fires. Text set in code is not held to it.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value) { FMaxLength = std::max(0, value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // The character every typed one shows as ("*"); empty shows the text.
  std::string PasswordChar() const { return FPasswordChar ? std::string(1, FPasswordChar) : ""; }
  void SetPasswordChar(const std::string& value);
  // Set when the user changes the text; the caller clears it.
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }

  // The selection, in bytes of the (UTF-8) text: where it starts and how long it is.
  int SelStart() const { return FSelStart; }
  void SetSelStart(int value);
  int SelLength() const { return FSelLength; }
  void SetSelLength(int value);
  std::string SelText() const;
  // The text as the widget holds it (a memo's lines joined with line feeds), which selections
  // count in.
  virtual std::string EditText() const { return Text(); }
  void SelectAll();
  void Clear() { SetText(std::string()); }

  bool WantsChars() const override { return true; }
  void WidgetChanged(const TWidgetChange& change) override;

  TNotifyEvent OnChange;
  // The user's change was refused for MaxLength.
  TNotifyEvent OnMaxText;

 protected:
  TCustomEdit(TComponent* owner, TWidgetKind kind);
  void PeerCreated() override;
  void TextChanged() override;
  virtual void Change();
  // How long text as the widget holds it is, as MaxLength counts.
  virtual int CountedLength(const std::string& widgetText) const;
  // Whether the widget's new text may stand; if not, the widget is given the control's text
  // and selection back and OnMaxText fires.
  bool TakesWidgetText(const std::string& widgetText);
  // Keeps the selection inside the text after it changed.
  void ClampSelection();
  void PushSelection();

 private:
  int FSelStart = 0;
  int FSelLength = 0;
  int FMaxLength = 0;
  bool FReadOnly = false;
  char FPasswordChar = 0;
  bool FModified = false;
};

class TEdit : public TCustomEdit {
  HOST_PUBLISHED_CLASS
 public:
  explicit TEdit(TComponent* owner);
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
const std::vector<std::string>& ScrollStyleNames();

// An edit field of many lines, held in Lines.
class TMemo : public TCustomEdit {
  HOST_PUBLISHED_CLASS
 public:
  explicit TMemo(TComponent* owner);

  TStringList& Lines() { return FLines; }
  void SetLines(const TStrings& value) { FLines.Assign(value); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  // Enter types a line break (true) or presses the form's default button.
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

  bool WantsKey(TKey key, TShiftState shift) const override;
  void WidgetChanged(const TWidgetChange& change) override;
  std::string EditText() const override;

 protected:
  void PeerCreated() override;
  void TextChanged() override {}
  int CountedLength(const std::string& widgetText) const override;

 private:
  void LinesChanged();

  TStringList FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
  bool FFromWidget = false;
};

// A number with up and down arrows. While MinValue equals MaxValue the value has no limits.
class TSpinEdit : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TSpinEdit(TComponent* owner);

  int Value() const { return FValue; }
  void SetValue(int value);
  int MinValue() const { return FMinValue; }
  void SetMinValue(int value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int value);

  bool WantsChars() const override { return true; }
  void WidgetChanged(const TWidgetChange& change) override;

  TNotifyEvent OnChange;

 protected:
  void PeerCreated() override;

 private:
  int CheckValue(int value) const;
  void PushRange();

  int FValue = 0;
  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
};

void RegisterEditCtrlsClasses();

}  // namespace host
