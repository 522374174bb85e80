#pragma once

#include <memory>
#include <string>

#include "host/Canvas.h"
#include "host/Types.h"

namespace host {

class TWinControl;
class TForm;

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
  // Shows a top-level window without a frame (true) or with one.
  virtual void SetFrameless(bool frameless) = 0;
  // Sets the pointer shown over the window (a TCursor number).
  virtual void SetCursor(int cursor) = 0;
  // Raises the window above its siblings.
  virtual void BringToFront() = 0;
  // Marks an area of the client dirty; the toolkit paints it later.
  virtual void Invalidate(const TRect& rect) = 0;
  // Paints the dirty areas now.
  virtual void Update() = 0;
  // Keeps input away from every other window while this one is shown (true) or not.
  virtual void SetModal(bool modal) = 0;
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const = 0;
  // The window's client area as it looks now, children included.
  virtual TRawImage Grab() = 0;
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
