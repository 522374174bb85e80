#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Accessibility.h"
#include "host/Backend.h"
#include "host/Canvas.h"
#include "host/Classes.h"
#include "host/Graphics.h"

namespace host {

using TCursor = int;
// The framework's own pointers; positive numbers index Screen->Cursors.
enum : TCursor {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNoDrop = -13,
  crHSplit = -14,
  crVSplit = -15,
  crMultiDrag = -16,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
  crHandPoint = -21,
  crSizeAll = -22,
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
const std::vector<std::string>& AlignNames();

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// Key codes, with the old system's values (letters and digits are their upper-case characters).
using TKey = int;
enum : TKey {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112,
  VK_F12 = 123,
};

// A key as it enters a window.
struct TKeyEventRecord {
  enum TKind { Down, Up };
  TKind Kind = Down;
  TKey Key = 0;
  TShiftState Shift;
  std::string Text;  // what the key types (UTF-8); empty for keys that type nothing
};

using TKeyEvent = std::function<void(TObject* sender, TKey& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// csSetCaption: while designed, the caption follows the name as long as the two are the same
// (a label dropped as Label1 reads "Label1").
enum TControlStyleFlag { csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csSetCaption };
using TControlStyle = TSet<TControlStyleFlag>;

// A pointer event as it enters a window, in that window's client coordinates.
struct TMouseEventRecord {
  enum TKind { Down, Move, Up, DblClick };
  TKind Kind = Move;
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  TPoint Pos;
};

class TWinControl;
class TForm;
class TPopupMenu;

class TControl : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return FWidth; }
  int ClientHeight() const { return FHeight; }

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& value) { FFont.Assign(value); }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  // While designed, a control with csSetCaption whose caption is its name keeps them the same.
  void SetName(const std::string& name) override;
  // Shown when the pointer rests on the control.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  // The menu a right click on the control shows.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* value) { FPopupMenu = value; }
  // Shows the popup menu of the control (or of the nearest parent that has one) at a client
  // point; false when there is none.
  bool ContextPopup(TPoint point);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle style) { FControlStyle = style; }

  // Marks the control for painting; the toolkit paints it when it next asks.
  virtual void Invalidate();
  // Paints what is marked, now.
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  TPoint ClientToScreen(TPoint point) const;
  // Where this control's client area begins in its top-level control's client area.
  TPoint OriginInTopLevel() const { return OriginIn(nullptr); }
  // Where it begins in ancestor's client area: ancestor is one of its parents (or itself); null
  // for the top-level control.
  TPoint OriginIn(const TControl* ancestor) const;
  TPoint ScreenToClient(TPoint point) const;

  // Pointer hooks; each fires its event.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // A left release over the control that was pressed on it.
  virtual void Click();
  virtual void DblClick();
  // Files dropped onto the control from a file manager (the designer delivers them).
  virtual void DropFiles(const std::vector<std::string>& files) {}

  // Keys the form offers every control before the focused one's widget sees them: Enter and
  // Escape (default and cancel buttons). True when the control acted on it.
  virtual bool DialogKey(TKey key, TShiftState shift) { return false; }
  // An accelerator: c was typed with Alt (or where typing means nothing); true when this
  // control's caption underlines it and the control acted.
  virtual bool DialogChar(char c) { return false; }
  // Visible, with every parent up to the form visible.
  bool Showing() const;

  // Keyboard stops: places a control without keyboard focus of its own offers to Tab (the hot
  // words of a text, a clickable picture). The form walks them in reading order among its
  // windows and marks the one it is on; Enter or Space on it is a click on it.
  virtual int KeyStopCount() const { return 0; }
  // Where stop index lies, in client pixels: one rectangle, or one per line it is broken over.
  virtual std::vector<TRect> KeyStopRects(int index) const { return {ClientRect()}; }
  // What the stop shows, for traces; empty when the control's name says it all.
  virtual std::string KeyStopName(int index) const { return {}; }
  // Draws the focus mark of the stop on surface, whose origin is the control's top-left: a
  // dotted rectangle in each of its rectangles.
  virtual void PaintKeyStopMark(TCanvasSurface& surface, int index) const;
  // Acts on the stop as a click on it does.
  virtual void KeyStopClick(int index) { Click(); }

  // What a screen reader is told of the control: a pane named by its caption, else its hint,
  // unless the class says more.
  virtual TAccessibleInfo AccessibleInfo() const;
  // Parts of the control a reader reaches one by one (the hot words of a text), in reading
  // order; none unless the class has them.
  virtual int AccessibleChildCount() const { return 0; }
  virtual TAccessibleInfo AccessibleChild(int index) const { return {}; }
  // Where part index lies, in client pixels: one rectangle per line it is broken over.
  virtual std::vector<TRect> AccessibleChildRects(int index) const { return KeyStopRects(index); }
  // Does what a click does: on the control (child -1) or on that part of it.
  virtual void AccessiblePress(int child);
  // The keyboard is on the control (child -1) or on that part of it.
  bool AccessibleFocused(int child) const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void BoundsChanged() {}
  virtual void TextChanged() { Invalidate(); }
  // The window that paints this control: itself when windowed, else its parent's.
  virtual TWinControl* PaintingWindow() const;
  // Lays out the parent's aligned children again after this one moved, hid or changed Align.
  void RequestAlign();
  // The stops are not the ones they were (a text switched): the form's mark leaves them.
  void KeyStopsChanged();

 private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FClicked = false;
  TAlign FAlign = alNone;
  TCursor FCursor = crDefault;
  TColor FColor = clBtnFace;
  TFont FFont;
  std::string FCaption;
  std::string FHint;
  TPopupMenu* FPopupMenu = nullptr;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents};
};

// A control without a window of its own: its parent paints it and routes the pointer to it.
class TGraphicControl : public TControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TGraphicControl(TComponent* owner);
  TCanvas& Canvas() { return FCanvas; }
  // Painted decoration is left out of what a reader walks, unless it is a keyboard stop.
  TAccessibleInfo AccessibleInfo() const override;
  // Paints the control on surface, whose origin is the control's top-left.
  void PaintOn(TCanvasSurface& surface);

 protected:
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

// A control with a window of its own, which may hold other controls.
class TWinControl : public TControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Child controls in z-order, the bottom one first.
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The topmost visible child at a client point. Windowed children lie above graphic ones.
  TControl* ControlAtPos(TPoint point, bool allowDisabled = false,
                         bool allowWinControls = true) const;

  IWindowPeer* Peer() const { return FPeer.get(); }
  bool HandleAllocated() const { return FPeer != nullptr; }
  // Creates the window (and its windowed children's) when a toolkit is installed.
  void HandleNeeded();

  // Entry points of the toolkit. Paint: the window's client area, dirty in rect.
  void DispatchPaint(TCanvasSurface& surface, const TRect& rect);
  // A pointer event at a client point of this window. Windows of a form being designed send it
  // on to the form's designer.
  void DispatchMouse(const TMouseEventRecord& event);
  // A key for this (focused) window: the form's preview, the control's own handlers, then the
  // keys the form acts on (Tab, Enter, Escape, accelerators). True when taken; otherwise the
  // toolkit's widget acts on it. May change event.Text (a KeyPress handler can).
  bool DispatchKey(TKeyEventRecord& event);
  // A key as if typed: DispatchKey, then the widget's own action when nothing took it.
  void PerformKey(TKeyEventRecord event);
  // The window got (true) or lost the keyboard.
  void DispatchFocus(bool gained);
  // What the user did to the toolkit's widget of a standard control.
  virtual void WidgetChanged(const TWidgetChange& change) {}
  // The hint of what lies at a client point: a graphic child's, else the window's own.
  std::string HintAt(TPoint point) const;

  // Keys the control handles itself although forms act on them (a memo takes Enter).
  virtual bool WantsKey(TKey key, TShiftState shift) const { return false; }
  // The control types text, so plain letters are not accelerators while it has the keyboard.
  virtual bool WantsChars() const { return false; }

  // Keyboard focus. SetFocus fails with EInvalidOperation for a window that cannot take it.
  virtual bool CanFocus() const;
  bool Focused() const;
  void SetFocus();
  // The place among the parent's windows in Tab order, from 0; -1 without a parent.
  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  // The windows inside this one in Tab order, their own windows following each.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  // Paints the control and all its children, windows included, as they look on screen.
  void PaintTo(TCanvasSurface& surface);
  // Places the aligned children: top, bottom, left and right ones along the edges in that
  // order, each group in z-order, then the client-aligned ones over what is left.
  void AlignControls();
  void Loaded() override;

  void Invalidate() override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  void SetParent(TWinControl* parent) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 protected:
  // Paints the window's own face (children come after).
  virtual void PaintWindow(TCanvasSurface& surface);
  virtual void CreateWnd();
  // The toolkit's window for this control: a plain window the kit paints, unless overridden.
  virtual std::unique_ptr<IWindowPeer> CreatePeer(IWindowPeer* parent);
  // Pushes the control's own state into a new window.
  virtual void PeerCreated() {}
  virtual void KeyDown(TKey& key, TShiftState shift);
  virtual void KeyUp(TKey& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // A press on the control gives it the keyboard.
  virtual bool FocusOnClick() const { return false; }
  virtual void DoEnter();
  virtual void DoExit();
  void DestroyWnd();
  void BoundsChanged() override;
  // Whether the window is shown: visible itself (top-level windows show on their own).
  virtual bool ShowingWindow() const { return Visible(); }
  void UpdatePeerVisibility();
  TWinControl* PaintingWindow() const override { return const_cast<TWinControl*>(this); }

 private:
  friend class TControl;
  void PaintGraphicChildren(TCanvasSurface& surface, const TRect& rect);
  // The form's focus mark, when it is on a stop of control (this window or a graphic child).
  void PaintFocusMark(TCanvasSurface& surface, const TControl& control);
  void ReleaseCapture();
  void InvalidateRect(const TRect& rect);
  void UpdateHoverCursor(TControl* control);

  friend class TForm;
  bool RunKeyHandlers(TKeyEventRecord& event);

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FAligning = false;
  bool FTabStop = false;
  std::unique_ptr<IWindowPeer> FPeer;
  TControl* FCapture = nullptr;           // pressed graphic control (or this window)
  TWinControl* FCaptureWindow = nullptr;  // pressed windowed child, for routed events
  TControl* FHover = nullptr;
};

// A windowed control run by one of the toolkit's own widgets (edit fields, lists, buttons). The
// control keeps the state and pushes it to the widget; what the user does comes back through
// WidgetChanged.
class TWidgetControl : public TWinControl {
 public:
  TWidgetControl(TComponent* owner, TWidgetKind kind);

  bool FocusOnClick() const override { return true; }

 protected:
  std::unique_ptr<IWindowPeer> CreatePeer(IWindowPeer* parent) override;
  void PeerCreated() override;
  void FontChanged() override;
  void ColorChanged() override;
  void TextChanged() override;
  // Makes the widget again, as another kind (a combo box changing its style).
  void RecreateWidget(TWidgetKind kind);
  TWidgetKind Kind() const { return FKind; }
  // The widget as its family, or null while the control has no window.
  template <class P>
  P* WidgetPeer() const {
    return dynamic_cast<P*>(Peer());
  }

 private:
  TWidgetKind FKind;
};

// A windowed control that paints itself on its own canvas.
class TCustomControl : public TWinControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TCustomControl(TComponent* owner);
  TCanvas& Canvas() { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(TCanvasSurface& surface) override;

 private:
  TCanvas FCanvas;
};

// The form that holds a control, or null.
TForm* GetParentForm(const TControl* control);

// What a reader is told of control (child -1) or of one of its parts: what its class says,
// except that a component being designed is named by its Name and described by its class (and
// what it would read as), so that the designer's user finds each one, decoration included.
TAccessibleInfo AccessibleInfoOf(const TControl& control, int child);

// How far a control runs past its parent's client area, edge by edge, in pixels: Left and Top
// what lies before the parent's left and top edges, Right and Bottom what lies beyond its right
// and bottom ones; all 0 for a control that fits, or that has no parent. What runs past never
// shows.
TRect Overhang(const TControl& control);

// The character a caption underlines ("&Open" gives 'o', lower case); 0 when it has none.
char AcceleratorOf(const std::string& caption);
// The caption without its accelerator marks ("&&" stays one "&").
std::string StripAccelerator(const std::string& caption);

void RegisterControlClasses();

}  // namespace host
