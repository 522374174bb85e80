#pragma once

#include <QWidget>
#include <memory>

#include "host/Backend.h"

namespace host::qt {

// A Qt widget for one of the standard controls, as a child of parent.
std::unique_ptr<IWidgetPeer> CreateQtWidgetPeer(TWinControl& control, QWidget* parent,
                                                TWidgetKind kind);

// Gives Qt's widgets the look of the old framework: its 3D style and its fixed system colours,
// so that they sit well beside the controls the kit paints itself.
void UseClassicLook();

}  // namespace host::qt
