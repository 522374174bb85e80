#pragma once

namespace host::qt {

// Makes the kit's windows and the controls it paints itself known to Qt's accessibility, and
// so to screen readers: each control as it describes itself (TControl::AccessibleInfo), its
// parts (hot words) as children, a press action for what can be clicked, and focus events as
// the keyboard moves between stops. Needs a QApplication.
void InstallQtAccessibility();

}  // namespace host::qt
