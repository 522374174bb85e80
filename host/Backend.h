#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Canvas.h"
#include "host/Types.h"

namespace host {

class TWinControl;
class TForm;
struct TKeyEventRecord;

// How a top-level window is framed.
struct TWindowBorder {
  bool Frame = true;       // a title bar and edges
  bool Resizable = true;   // the user may size it
  bool Dialog = false;     // a dialog's frame: no minimise or maximise
  bool SystemMenu = true;  // the close box and window menu
  bool MinimizeButton = true;
  bool MaximizeButton = true;
  friend bool operator==(const TWindowBorder&, const TWindowBorder&) = default;
};

enum class TWindowState { Normal, Minimized, Maximized };

// The toolkit side of one windowed control. The control calls it; the toolkit calls back through
// TWinControl's Dispatch* functions.
class IWindowPeer {
 public:
  virtual ~IWindowPeer() = default;
  // Places the window: in its parent's client area, or on the screen for a top-level one.
  virtual void SetBounds(const TRect& bounds) = 0;
  // Shows or hides the window.
  virtual void SetVisible(bool visible) = 0;
  // Lets the window take input or not.
  virtual void SetEnabled(bool enabled) = 0;
  // Sets the title of a top-level window.
  virtual void SetCaption(const std::string& caption) = 0;
  // The frame of a top-level window and the buttons on its title bar.
  virtual void SetBorder(const TWindowBorder& border) = 0;
  // Shows a top-level window at its size, minimised or maximised.
  virtual void SetWindowState(TWindowState state) = 0;
  // The text shown when the pointer rests on the window (for a window the kit paints, the
  // window asks the control under the pointer instead).
  virtual void SetHint(const std::string& hint) = 0;
  // Sets the pointer shown over the window (a TCursor number).
  virtual void SetCursor(int cursor) = 0;
  // Raises the window above its siblings.
  virtual void BringToFront() = 0;
  // Marks an area of the client dirty; the toolkit paints it later.
  virtual void Invalidate(const TRect& rect) = 0;
  // Paints the dirty areas now.
  virtual void Update() = 0;
  // Set before a top-level window shows: modal, it keeps input away from every other window
  // while shown and stays above owner (null: no window in particular); not modal, it is a
  // window like any other again.
  virtual void SetModal(bool modal, IWindowPeer* owner) = 0;
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const = 0;
  // The window's client area as it looks now, children included.
  virtual TRawImage Grab() = 0;
  // Gives the window the keyboard (at once, or when its top-level window is next shown).
  virtual void SetFocus() = 0;
  // Lets the toolkit do what its widget does with a key the control did not take: type it,
  // move the caret, scroll a list. Windows the kit paints itself do nothing.
  virtual void DefaultKeyAction(const TKeyEventRecord& event) = 0;
};

// The toolkit's own widgets for the standard controls. The control keeps the state and pushes
// every change here; what the user changes comes back through TWinControl::WidgetChanged.
enum class TWidgetKind {
  Edit,
  Memo,
  SpinEdit,
  ListBox,
  ComboBox,      // an edit field with a drop-down list
  ComboBoxList,  // a drop-down list only
  Button,        // push buttons and bitmap buttons
  CheckBox,
  RadioButton,
  TabSet,
  Outline,
};

class IWidgetPeer : public IWindowPeer {
 public:
  // The font of the widget's text.
  virtual void SetFont(const TFont& font) = 0;
  // The widget's own ground: an edit field's or list's face, a button's.
  virtual void SetColor(TColor color) = 0;
  // The caption of a button, or the text of an edit field, memo or combo box.
  virtual void SetText(const std::string& text) = 0;
};

class IEditPeer : public IWidgetPeer {
 public:
  // Lets the user change the text or not.
  virtual void SetReadOnly(bool readOnly) = 0;
  // Shows every character as this one (0: as typed).
  virtual void SetPasswordChar(char c) = 0;
  // Selects length bytes of the (UTF-8) text from byte start on; length 0 only places the caret.
  virtual void SetSelection(int start, int length) = 0;
  // Breaks long lines at the right edge (memos).
  virtual void SetWordWrap(bool wrap) = 0;
  // Scroll bars of a memo: 0 none, 1 horizontal, 2 vertical, 3 both (shown always).
  virtual void SetScrollBars(int bars) = 0;
};

class IListPeer : public IWidgetPeer {
 public:
  // Replaces the items shown.
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  // Selects the item at index; -1 selects none.
  virtual void SetItemIndex(int index) = 0;
  // Items itemHeight pixels high, each painted by the list box (TListBox::DrawItem); 0 for
  // items the toolkit draws as text.
  virtual void SetOwnerDraw(int itemHeight) = 0;
};

class IButtonPeer : public IWidgetPeer {
 public:
  // 0 unchecked, 1 checked, 2 greyed (check boxes and radio buttons).
  virtual void SetState(int state) = 0;
  // The picture beside the caption; null for none.
  virtual void SetGlyph(const std::shared_ptr<const TRawImage>& glyph) = 0;
  // Drawn as the button that Enter presses.
  virtual void SetDefault(bool isDefault) = 0;
  // The glyph right of the caption (true) or left of it.
  virtual void SetGlyphRight(bool right) = 0;
};

class ISpinPeer : public IWidgetPeer {
 public:
  virtual void SetRange(int minValue, int maxValue, int increment) = 0;
  virtual void SetValue(int value) = 0;
};

// One line of an outline as the widget shows it.
struct TOutlineRow {
  std::string Text;
  int Level = 1;  // 1 for top-level items
  bool Expanded = false;
};

class ITreePeer : public IWidgetPeer {
 public:
  // Replaces the tree: rows in order, each a child of the nearest row above with a lower level.
  virtual void SetRows(const std::vector<TOutlineRow>& rows) = 0;
  // Opens or closes the row at index (0-based) to show its children.
  virtual void SetExpanded(int index, bool expanded) = 0;
  // Selects the row at index; -1 selects none.
  virtual void SetSelected(int index) = 0;
};

// What the user did to a toolkit widget. Scripts report their actions the same way, so a
// scripted click and a real one take one path.
struct TWidgetChange {
  enum TKind {
    wcText,       // the text is now Text
    wcItemIndex,  // item Index was chosen
    wcState,      // a check box's state is now Index (0, 1, 2)
    wcClick,      // a button was pressed
    wcDblClick,   // an item was double-clicked
    wcValue,      // a spin edit's value is now Index
    wcExpanded,   // row Index was opened
    wcCollapsed,  // row Index was closed
    wcSelection,  // Length bytes of the text from byte Index on are selected
  };
  TKind Kind = wcText;
  std::string Text;
  int Index = -1;
  int Length = 0;
};

// Runs the toolkit's event loop.
class IApplicationPump {
 public:
  virtual ~IApplicationPump() = default;
  // Handles the events waiting now and returns.
  virtual void ProcessMessages() = 0;
  // Waits for at least one event and handles what is waiting.
  virtual void HandleMessage() = 0;
  // Handles events until Quit is called.
  virtual void Run() = 0;
  // Makes Run return once the current event has been handled.
  virtual void Quit() = 0;
};

// The toolkit: a window per windowed control, the event loop, the application-wide pointer.
class IBackend {
 public:
  virtual ~IBackend() = default;
  // Creates the window of a control; parent is null for a top-level window.
  virtual std::unique_ptr<IWindowPeer> CreateWindowPeer(TWinControl& control,
                                                        IWindowPeer* parent) = 0;
  // Creates one of the toolkit's own widgets for a standard control.
  virtual std::unique_ptr<IWidgetPeer> CreateWidgetPeer(TWinControl& control, IWindowPeer* parent,
                                                        TWidgetKind kind) = 0;
  virtual IApplicationPump& Pump() = 0;
  // Shows cursor over every window (crDefault: each window's own again).
  virtual void SetOverrideCursor(int cursor) = 0;
  // Size of the screen in pixels.
  virtual TSize ScreenSize() const = 0;
};

void SetBackend(std::unique_ptr<IBackend> backend);
// Null until a toolkit is installed: controls then live without windows and never paint.
IBackend* Backend();

}  // namespace host
