#pragma once

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

#include "host/Controls.h"

namespace host::qt {

// Translations between Qt's input events and the kit's neutral records.
QCursor ToQCursor(int cursor);
TShiftState ToShift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
TMouseButton ToButton(Qt::MouseButton button);
TMouseEventRecord ToMouseRecord(TMouseEventRecord::TKind kind, const QMouseEvent& event,
                                QPoint offset = {});
// Null for events the kit has no record kind for.
bool IsMouseEvent(const QEvent& event, TMouseEventRecord::TKind& kind);

TKeyEventRecord ToKeyRecord(const QKeyEvent& event);
// The Qt event that types what the record describes.
std::unique_ptr<QKeyEvent> ToQKeyEvent(const TKeyEventRecord& record);

}  // namespace host::qt
