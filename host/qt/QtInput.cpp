#include "host/qt/QtInput.h"

#include <QPixmap>

#include "host/Forms.h"
#include "host/qt/QtPainterSurface.h"

namespace host::qt {

QCursor ToQCursor(int cursor) {
  if (cursor > 0) {
    if (auto image = Screen->Cursors(cursor))
      return QCursor(QPixmap::fromImage(ToQImage(image->Image)), image->HotSpot.X,
                     image->HotSpot.Y);
    return QCursor(Qt::ArrowCursor);
  }
  switch (cursor) {
    case crNone:
      return QCursor(Qt::BlankCursor);
    case crCross:
      return QCursor(Qt::CrossCursor);
    case crIBeam:
      return QCursor(Qt::IBeamCursor);
    case crSizeNESW:
      return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS:
      return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE:
      return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE:
      return QCursor(Qt::SizeHorCursor);
    case crUpArrow:
      return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
      return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag:
      return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo:
      return QCursor(Qt::ForbiddenCursor);
    case crHSplit:
      return QCursor(Qt::SplitHCursor);
    case crVSplit:
      return QCursor(Qt::SplitVCursor);
    case crAppStart:
      return QCursor(Qt::BusyCursor);
    case crHelp:
      return QCursor(Qt::WhatsThisCursor);
    case crHandPoint:
      return QCursor(Qt::PointingHandCursor);
    case crSizeAll:
      return QCursor(Qt::SizeAllCursor);
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

TShiftState ToShift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
  if (modifiers & Qt::AltModifier) s.Include(ssAlt);
  if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
  if (buttons & Qt::LeftButton) s.Include(ssLeft);
  if (buttons & Qt::RightButton) s.Include(ssRight);
  if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

TMouseButton ToButton(Qt::MouseButton button) {
  if (button == Qt::RightButton) return mbRight;
  if (button == Qt::MiddleButton) return mbMiddle;
  return mbLeft;
}

TMouseEventRecord ToMouseRecord(TMouseEventRecord::TKind kind, const QMouseEvent& event,
                                QPoint offset) {
  TMouseEventRecord rec;
  rec.Kind = kind;
  rec.Button = ToButton(event.button());
  rec.Shift = ToShift(event.modifiers(), event.buttons());
  QPoint p = event.position().toPoint() + offset;
  rec.Pos = {p.x(), p.y()};
  return rec;
}

bool IsMouseEvent(const QEvent& event, TMouseEventRecord::TKind& kind) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      kind = TMouseEventRecord::Down;
      return true;
    case QEvent::MouseButtonRelease:
      kind = TMouseEventRecord::Up;
      return true;
    case QEvent::MouseMove:
      kind = TMouseEventRecord::Move;
      return true;
    case QEvent::MouseButtonDblClick:
      kind = TMouseEventRecord::DblClick;
      return true;
    default:
      return false;
  }
}

namespace {

struct TKeyPair {
  int Qt;
  TKey Key;
};

// Keys whose codes differ between Qt and the kit; letters and digits share theirs.
constexpr TKeyPair KeyPairs[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE},
};

}  // namespace

TKeyEventRecord ToKeyRecord(const QKeyEvent& event) {
  TKeyEventRecord rec;
  rec.Kind = event.type() == QEvent::KeyRelease ? TKeyEventRecord::Up : TKeyEventRecord::Down;
  rec.Shift = ToShift(event.modifiers(), Qt::NoButton);
  int key = event.key();
  if (key == Qt::Key_Backtab) rec.Shift.Include(ssShift);
  for (const TKeyPair& p : KeyPairs)
    if (p.Qt == key) rec.Key = p.Key;
  if (!rec.Key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
      rec.Key = key;
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
      rec.Key = VK_F1 + (key - Qt::Key_F1);
  }
  // Control characters are keys, not text: Enter, Tab, Escape, Backspace.
  QString text = event.text();
  if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F)
    rec.Text = text.toStdString();
  return rec;
}

std::unique_ptr<QKeyEvent> ToQKeyEvent(const TKeyEventRecord& record) {
  int key = 0;
  for (const TKeyPair& p : KeyPairs)
    if (p.Key == record.Key) {
      key = p.Qt;
      break;
    }
  if (!key) {
    if (record.Key >= VK_F1 && record.Key <= VK_F12)
      key = Qt::Key_F1 + (record.Key - VK_F1);
    else if (record.Key)
      key = record.Key;
    else if (!record.Text.empty())
      key = QString::fromStdString(record.Text).toUpper().at(0).unicode();
  }
  if (key == Qt::Key_Tab && record.Shift.Contains(ssShift)) key = Qt::Key_Backtab;
  Qt::KeyboardModifiers modifiers;
  if (record.Shift.Contains(ssShift)) modifiers |= Qt::ShiftModifier;
  if (record.Shift.Contains(ssCtrl)) modifiers |= Qt::ControlModifier;
  if (record.Shift.Contains(ssAlt)) modifiers |= Qt::AltModifier;
  QString text = QString::fromStdString(record.Text);
  if (text.isEmpty()) {
    if (record.Key == VK_RETURN) text = "\r";
    if (record.Key == VK_TAB) text = "\t";
    if (record.Key == VK_BACK) text = "\b";
  }
  QEvent::Type type = record.Kind == TKeyEventRecord::Up ? QEvent::KeyRelease : QEvent::KeyPress;
  return std::make_unique<QKeyEvent>(type, key, modifiers, text);
}

}  // namespace host::qt
