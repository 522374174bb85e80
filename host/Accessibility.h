#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/Types.h"

namespace host {

// What a control (or a part of one) is to a screen reader.
enum class TAccessibleRole {
  None,  // decoration: left out of what a reader walks
  Window,
  Dialog,
  Alert,  // a note that is read out as it opens
  Pane,
  StaticText,
  Text,  // a page of text, its hot words its children
  Link,
  Button,
  ToggleButton,
  Graphic,
};
const char* AccessibleRoleName(TAccessibleRole role);

// How a control describes itself, or one of its parts, to a screen reader. Focus, visibility,
// enabling and bounds come from the control itself and need not be stated here.
struct TAccessibleInfo {
  TAccessibleRole Role = TAccessibleRole::Pane;
  std::string Name;
  // What pressing it does ("goes to Form2").
  std::string Description;
  // It can be pressed; the press does what a click on it does.
  bool Pressable = false;
  // It takes the keyboard (a window, or a keyboard stop).
  bool Focusable = false;
  // A toggle button that is in.
  bool Checked = false;
};

class TControl;

// What a reader should be told.
enum class TAccessibleEvent {
  Focus,            // the keyboard is now on it
  NameChanged,      // its name or description
  StateChanged,     // checked, enabled, shown
  ChildrenChanged,  // its parts are not the ones they were
  Destroyed,        // the control is going; forget what was built for it
};

// Receives what readers should be told: child is the part (-1 the control itself). The
// toolkit installs one; without it nothing is told.
using TAccessibleNotifier =
    std::function<void(TControl& control, int child, TAccessibleEvent event)>;
void SetAccessibleNotifier(TAccessibleNotifier notifier);
void NotifyAccessible(TControl& control, int child, TAccessibleEvent event);

// The smallest rectangle holding all of rects (empty for none).
TRect UnionOfRects(const std::vector<TRect>& rects);

}  // namespace host
