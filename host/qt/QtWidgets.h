#pragma once

#include <QWidget>
#include <memory>

#include "host/Backend.h"

namespace host::qt {

// A Qt widget for one of the standard controls, as a child of parent.
std::unique_ptr<IWidgetPeer> CreateQtWidgetPeer(TWinControl& control, QWidget* parent,
                                                TWidgetKind kind);

// Gives Qt's widgets the look of the old framework: its 3D style and its fixed system colours,
// so that they sit well beside the controls the kit paints itself. Unless wholeApplication, only
// the kit's windows take it (through ApplyKitLook).
void UseClassicLook(bool wholeApplication);
// Gives a window of the kit the classic look when the application keeps the desktop's (a shell
// around the kit's windows, such as the studio); nothing otherwise.
void ApplyKitLook(QWidget* widget);

}  // namespace host::qt
