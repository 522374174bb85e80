#include "host/qt/QtBackend.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/qt/QtPainterSurface.h"

namespace host::qt {

namespace {

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

// The window of one windowed control; it hands paint, pointer and close events to the control.
class QtWindow final : public QWidget, public IWindowPeer {
 public:
  QtWindow(TWinControl& control, QWidget* parent)
      : QWidget(parent, parent ? Qt::Widget : Qt::Window), FControl(control) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void SetBounds(const TRect& b) override {
    setGeometry(b.Left, b.Top, std::max(1, b.Width()), std::max(1, b.Height()));
  }
  void SetVisible(bool visible) override { setVisible(visible); }
  void SetEnabled(bool enabled) override { setEnabled(enabled); }
  void SetCaption(const std::string& caption) override {
    setWindowTitle(QString::fromStdString(caption));
  }
  void SetFrameless(bool frameless) override {
    if (isWindow() && bool(windowFlags() & Qt::FramelessWindowHint) != frameless) {
      bool wasVisible = isVisible();
      setWindowFlag(Qt::FramelessWindowHint, frameless);
      if (wasVisible) show();
    }
  }
  void SetCursor(int cursor) override { setCursor(ToQCursor(cursor)); }
  void BringToFront() override {
    // The offscreen platform has no stacking to change and says so on every call.
    if (QGuiApplication::platformName() != "offscreen") raise();
  }
  void SetModal(bool modal) override {
    bool wasVisible = isVisible();
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (wasVisible) show();
  }
  void Invalidate(const TRect& r) override { update(QRect(r.Left, r.Top, r.Width(), r.Height())); }
  // A control that resizes itself while painting asks for a paint inside a paint; Qt only
  // schedules that one.
  void Update() override {
    if (FPainting)
      update();
    else
      repaint();
  }
  TPoint ClientOrigin() const override {
    QPoint p = mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
  }
  TRawImage Grab() override { return FromQImage(grab().toImage()); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    QtPainterSurface surface(painter);
    QRect r = event->rect();
    FPainting = true;
    struct Done {
      bool& Flag;
      ~Done() { Flag = false; }
    } done{FPainting};
    HandleEvents([&] {
      FControl.DispatchPaint(surface, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    });
  }
  void mousePressEvent(QMouseEvent* e) override { Dispatch(TMouseEventRecord::Down, e); }
  void mouseMoveEvent(QMouseEvent* e) override { Dispatch(TMouseEventRecord::Move, e); }
  void mouseReleaseEvent(QMouseEvent* e) override { Dispatch(TMouseEventRecord::Up, e); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { Dispatch(TMouseEventRecord::DblClick, e); }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (auto* form = dynamic_cast<TForm*>(&FControl))
      HandleEvents([form] { form->DispatchClose(); });
  }
  void moveEvent(QMoveEvent*) override { SyncBounds(); }
  void resizeEvent(QResizeEvent*) override { SyncBounds(); }

 private:
  void Dispatch(TMouseEventRecord::TKind kind, QMouseEvent* e) {
    TMouseEventRecord rec;
    rec.Kind = kind;
    rec.Button = ToButton(e->button());
    rec.Shift = ToShift(e->modifiers(), e->buttons());
    QPoint p = e->position().toPoint();
    rec.Pos = {p.x(), p.y()};
    HandleEvents([&] { FControl.DispatchMouse(rec); });
  }
  // A window the user moved or resized tells its form.
  void SyncBounds() {
    if (!isWindow()) return;
    QRect g = geometry();
    if (g.x() != FControl.Left() || g.y() != FControl.Top() || g.width() != FControl.Width() ||
        g.height() != FControl.Height())
      FControl.SetBounds(g.x(), g.y(), g.width(), g.height());
  }

  TWinControl& FControl;
  bool FPainting = false;
};

class QtPump final : public IApplicationPump {
 public:
  void ProcessMessages() override { QCoreApplication::processEvents(); }
  void HandleMessage() override { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }
  void Run() override {
    QEventLoop loop;
    FLoop = &loop;
    loop.exec();
    FLoop = nullptr;
  }
  void Quit() override {
    if (FLoop) FLoop->quit();
  }

 private:
  QEventLoop* FLoop = nullptr;
};

class QtBackend final : public IBackend {
 public:
  std::unique_ptr<IWindowPeer> CreateWindowPeer(TWinControl& control,
                                                IWindowPeer* parent) override {
    return std::make_unique<QtWindow>(control, dynamic_cast<QtWindow*>(parent));
  }
  IApplicationPump& Pump() override { return FPump; }
  void SetOverrideCursor(int cursor) override {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (cursor != crDefault) QApplication::setOverrideCursor(ToQCursor(cursor));
  }
  TSize ScreenSize() const override {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {1024, 768};
    QSize s = screen->size();
    return {s.width(), s.height()};
  }

 private:
  QtPump FPump;
};

class QtImageCodec final : public IImageCodec {
 public:
  bool Decode(const std::string& bytes, TRawImage& image) override {
    QImage q;
    if (!q.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                        static_cast<int>(bytes.size())))
      return false;
    image = FromQImage(q);
    return true;
  }
  std::string EncodePng(const TRawImage& image) override {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    ToQImage(image).save(&buffer, "PNG");
    return std::string(data.constData(), static_cast<size_t>(data.size()));
  }
};

// The kit's messages break lines with a bare CR, as the old message boxes did; Qt wants LF.
QString DisplayText(const std::string& message) {
  QString text = QString::fromStdString(message);
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  return text;
}

class QtDialogs final : public IDialogService {
 public:
  TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int) override {
    QMessageBox box;
    box.setText(DisplayText(message));
    switch (type) {
      case mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
      case mtError:
        box.setIcon(QMessageBox::Critical);
        break;
      case mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
      case mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
      case mtCustom:
        break;
    }
    box.setWindowTitle(
        QString::fromStdString(Application->Title().empty() ? "Mebrox" : Application->Title()));
    struct Map {
      TMsgDlgBtn Btn;
      QMessageBox::StandardButton Qt;
    };
    static const Map map[] = {{mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},
                              {mbOK, QMessageBox::Ok},         {mbCancel, QMessageBox::Cancel},
                              {mbAbort, QMessageBox::Abort},   {mbRetry, QMessageBox::Retry},
                              {mbIgnore, QMessageBox::Ignore}, {mbAll, QMessageBox::YesToAll},
                              {mbHelp, QMessageBox::Help}};
    QMessageBox::StandardButtons qtButtons;
    for (const Map& m : map)
      if (buttons.Contains(m.Btn)) qtButtons |= m.Qt;
    box.setStandardButtons(qtButtons);
    for (const Map& m : map)
      if (m.Btn == DefaultButton(buttons)) box.setDefaultButton(m.Qt);
    int pressed = box.exec();
    for (const Map& m : map)
      if (m.Qt == pressed) return ButtonResult(m.Btn);
    return mrCancel;
  }
  void ShowError(const std::string& message) override {
    QMessageBox::critical(
        nullptr,
        QString::fromStdString(Application->Title().empty() ? "Mebrox" : Application->Title()),
        DisplayText(message));
  }
};

}  // namespace

void InstallQtBackend(bool scriptedDialogs) {
  // The kit's forms name the old system faces; these are their metric-compatible stand-ins.
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Times New Roman", "Liberation Serif");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  QApplication::setQuitOnLastWindowClosed(false);
  static QtMeasureSurface measure;
  SetMeasureSurface(&measure);
  SetImageCodec(std::make_unique<QtImageCodec>());
  SetBackend(std::make_unique<QtBackend>());
  if (scriptedDialogs)
    SetDialogService(std::make_unique<TScriptedDialogs>());
  else
    SetDialogService(std::make_unique<QtDialogs>());
}

}  // namespace host::qt
