#include "host/qt/QtBackend.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/qt/QtInput.h"
#include "host/qt/QtPainterSurface.h"
#include "host/qt/QtWidgets.h"

namespace host::qt {

namespace {

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
  void SetFocus() override {
    if (isWindow()) activateWindow();
    setFocus(Qt::OtherFocusReason);
  }
  void DefaultKeyAction(const TKeyEventRecord&) override {}

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
  bool event(QEvent* e) override {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
      TKeyEventRecord rec = ToKeyRecord(*static_cast<QKeyEvent*>(e));
      bool taken = false;
      HandleEvents([&] { taken = FControl.DispatchKey(rec); });
      if (taken) return true;
    } else if (e->type() == QEvent::FocusIn) {
      HandleEvents([&] { FControl.DispatchFocus(true); });
    }
    return QWidget::event(e);
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
    TMouseEventRecord rec = ToMouseRecord(kind, *e);
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
  std::unique_ptr<IWidgetPeer> CreateWidgetPeer(TWinControl& control, IWindowPeer* parent,
                                                TWidgetKind kind) override {
    return CreateQtWidgetPeer(control, dynamic_cast<QWidget*>(parent), kind);
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

// "*.WAV" as Qt needs it to match ding.wav too: "*.[Ww][Aa][Vv]". "*.*" means every file.
QString CaseFreePattern(const std::string& pattern) {
  if (pattern == "*.*") return "*";
  QString out;
  for (QChar c : QString::fromStdString(pattern)) {
    if (c.isLetter() && c.toLower() != c.toUpper())
      out += QString("[%1%2]").arg(c.toUpper()).arg(c.toLower());
    else
      out += c;
  }
  return out;
}

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
  std::optional<std::string> FileDialog(const TFileDialogRequest& request) override {
    QStringList filters;
    for (const TFilterEntry& entry : ParseFilter(request.Filter)) {
      QStringList patterns;
      for (const std::string& p : entry.Patterns) patterns << CaseFreePattern(p);
      filters << QString::fromStdString(entry.Description) + " (" + patterns.join(' ') + ")";
    }
    QString selected = request.FilterIndex >= 1 && request.FilterIndex <= filters.size()
                           ? filters[request.FilterIndex - 1]
                           : QString();
    QString start = QString::fromStdString(request.FileName.empty() ? request.InitialDir
                                                                    : NativePath(request.FileName));
    if (!request.InitialDir.empty() && !request.FileName.empty() &&
        ExtractFilePath(request.FileName).empty())
      start = QString::fromStdString(NativePath(request.InitialDir) + "/" + request.FileName);
    QString title = QString::fromStdString(request.Title);
    QString chosen =
        request.Save
            ? QFileDialog::getSaveFileName(nullptr, title, start, filters.join(";;"), &selected)
            : QFileDialog::getOpenFileName(nullptr, title, start, filters.join(";;"), &selected);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
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
  UseClassicLook();
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
