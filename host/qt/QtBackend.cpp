#include "host/qt/QtBackend.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/PngFile.h"
#include "host/qt/QtAccessible.h"
#include "host/qt/QtInput.h"
#include "host/qt/QtPainterSurface.h"
#include "host/qt/QtTicker.h"
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
    const QSize size(std::max(1, b.Width()), std::max(1, b.Height()));
    // A window the user may not size still takes the size its form gives it. The offscreen
    // platform has no limits to lift (KeepSize sets none there) and warns at every fixed size.
    if (isWindow() && !FResizable && QGuiApplication::platformName() != "offscreen")
      setFixedSize(size);
    setGeometry(b.Left, b.Top, size.width(), size.height());
    KeepSize();
  }
  void SetVisible(bool visible) override { setVisible(visible); }
  void SetEnabled(bool enabled) override { setEnabled(enabled); }
  void SetCaption(const std::string& caption) override {
    setWindowTitle(QString::fromStdString(caption));
  }
  void SetBorder(const TWindowBorder& border) override {
    if (!isWindow()) return;
    Qt::WindowFlags flags = border.Dialog ? Qt::Dialog : Qt::Window;
    if (!border.Frame) {
      flags |= Qt::FramelessWindowHint;
    } else {
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
      if (border.SystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (border.MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
      if (border.MaximizeButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    FResizable = border.Resizable;
    if (flags != windowFlags()) {
      bool wasVisible = isVisible();
      setWindowFlags(flags);
      if (wasVisible) show();
    }
    KeepSize();
  }
  void SetWindowState(TWindowState state) override {
    setWindowState(state == TWindowState::Minimized   ? Qt::WindowMinimized
                   : state == TWindowState::Maximized ? Qt::WindowMaximized
                                                      : Qt::WindowNoState);
  }
  void SetHint(const std::string& hint) override { setToolTip(QString::fromStdString(hint)); }
  void SetCursor(int cursor) override { setCursor(ToQCursor(cursor)); }
  void BringToFront() override {
    // The offscreen platform has no stacking to change and says so on every call.
    if (QGuiApplication::platformName() != "offscreen") raise();
  }
  // Qt takes a window's modality when it shows, so this comes first; the transient parent
  // keeps the window manager from putting the modal window behind the one it belongs to.
  void SetModal(bool modal, IWindowPeer* owner) override {
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (!isWindow()) return;
    auto* ownerWidget = modal ? dynamic_cast<QWidget*>(owner) : nullptr;
    winId();  // the native window, which carries the transient parent
    if (ownerWidget) ownerWidget->winId();
    windowHandle()->setTransientParent(ownerWidget ? ownerWidget->window()->windowHandle()
                                                   : nullptr);
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
  TWinControl& Control() const { return FControl; }

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
    } else if (e->type() == QEvent::WindowActivate) {
      if (auto* form = dynamic_cast<TForm*>(&FControl)) Screen->FormActivated(form);
    } else if (e->type() == QEvent::FocusIn) {
      HandleEvents([&] { FControl.DispatchFocus(true); });
    } else if (e->type() == QEvent::ToolTip) {
      // The controls the kit paints on this window have no widgets of their own to hint.
      auto* help = static_cast<QHelpEvent*>(e);
      std::string hint;
      HandleEvents([&] { hint = FControl.HintAt({help->pos().x(), help->pos().y()}); });
      if (hint.empty())
        QToolTip::hideText();
      else
        QToolTip::showText(help->globalPos(), QString::fromStdString(hint), this);
      return true;
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

  // A window the user may not size keeps the size the form gives it.
  void KeepSize() {
    // Nobody sizes a window on the offscreen platform, and it warns at every fixed size.
    if (!isWindow() || QGuiApplication::platformName() == "offscreen") return;
    if (FResizable)
      setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), setMinimumSize(0, 0);
    else
      setFixedSize(size());
  }

  TWinControl& FControl;
  bool FPainting = false;
  bool FResizable = true;
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
    auto window = std::make_unique<QtWindow>(control, dynamic_cast<QtWindow*>(parent));
    ApplyKitLook(window.get());
    return window;
  }
  std::unique_ptr<IWidgetPeer> CreateWidgetPeer(TWinControl& control, IWindowPeer* parent,
                                                TWidgetKind kind) override {
    std::unique_ptr<IWidgetPeer> peer =
        CreateQtWidgetPeer(control, dynamic_cast<QWidget*>(parent), kind);
    ApplyKitLook(dynamic_cast<QWidget*>(peer.get()));
    return peer;
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
  // PNG only: its structure vouches for the whole file. A size beyond what the decoder would
  // allocate is left to Decode to refuse.
  bool ReadSize(const std::string& bytes, int& width, int& height) override {
    int w = 0, h = 0;
    if (!ReadPngSize(bytes, w, h)) return false;
    if (static_cast<double>(w) * h * 4 > QImageReader::allocationLimit() * 1024.0 * 1024.0)
      return false;
    width = w;
    height = h;
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
  std::vector<std::string> FileDialog(const TFileDialogRequest& request) override {
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
    QString filter = filters.join(";;");
    QStringList chosen;
    if (request.Save)
      chosen << QFileDialog::getSaveFileName(nullptr, title, start, filter, &selected);
    else if (request.MultiSelect)
      chosen = QFileDialog::getOpenFileNames(nullptr, title, start, filter, &selected);
    else
      chosen << QFileDialog::getOpenFileName(nullptr, title, start, filter, &selected);
    std::vector<std::string> files;
    for (const QString& file : chosen)
      if (!file.isEmpty()) files.push_back(file.toStdString());
    return files;
  }

  bool FontDialog(TFont& font) override {
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, ToQFont(font));
    if (!ok) return false;
    // Qt's dialog knows no colour: the font keeps its own.
    font.SetName(chosen.family().toStdString());
    font.SetSize(chosen.pointSize() > 0 ? chosen.pointSize() : font.Size());
    TFontStyles style;
    if (chosen.bold()) style.Include(fsBold);
    if (chosen.italic()) style.Include(fsItalic);
    if (chosen.underline()) style.Include(fsUnderline);
    if (chosen.strikeOut()) style.Include(fsStrikeOut);
    font.SetStyle(style);
    return true;
  }
  bool ColorDialog(TColor& color) override {
    QColor chosen = QColorDialog::getColor(ToQColor(color));
    if (!chosen.isValid()) return false;
    // A system colour chosen again comes back as the fixed colour it shows.
    color = static_cast<TColor>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
    return true;
  }
  int PopupMenu(const TPopupRequest& request) override {
    QMenu menu;
    std::vector<QAction*> actions;
    for (const TPopupEntry& entry : request.Entries) {
      if (entry.Separator) {
        actions.push_back(menu.addSeparator());
        continue;
      }
      QAction* action = menu.addAction(QString::fromStdString(entry.Caption));
      action->setEnabled(entry.Enabled);
      action->setCheckable(entry.Checked);
      action->setChecked(entry.Checked);
      actions.push_back(action);
    }
    QAction* chosen = menu.exec(QPoint(request.At.X, request.At.Y));
    for (size_t i = 0; i < actions.size(); ++i)
      if (actions[i] == chosen) return static_cast<int>(i);
    return -1;
  }
  void ShowError(const std::string& message) override {
    QMessageBox::critical(
        nullptr,
        QString::fromStdString(Application->Title().empty() ? "Mebrox" : Application->Title()),
        DisplayText(message));
  }
};

}  // namespace

void InstallQtBackend(bool scriptedDialogs, bool classicEverywhere) {
  // The kit's forms name the old system faces; these are their metric-compatible stand-ins.
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Times New Roman", "Liberation Serif");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  QApplication::setQuitOnLastWindowClosed(false);
  UseClassicLook(classicEverywhere);
  static QtMeasureSurface measure;
  SetMeasureSurface(&measure);
  SetImageCodec(std::make_unique<QtImageCodec>());
  SetBackend(std::make_unique<QtBackend>());
  SetTickerFactory(QtTickerFactory());
  InstallQtAccessibility();
  // Another program's window taking the keyboard takes the focus mark away, as in any desktop
  // program. Offscreen there is no other program, and no window is ever told it is active.
  if (QGuiApplication::platformName() != "offscreen")
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged,
                     [](Qt::ApplicationState state) {
                       Screen->SetApplicationActive(state == Qt::ApplicationActive);
                     });
  if (scriptedDialogs)
    SetDialogService(std::make_unique<TScriptedDialogs>());
  else
    SetDialogService(MakeQtDialogs());
}

std::unique_ptr<IDialogService> MakeQtDialogs() {
  return std::make_unique<QtDialogs>();
}

TWinControl* KitWindowControl(const QObject* object) {
  auto* window = dynamic_cast<const QtWindow*>(object);
  return window ? &window->Control() : nullptr;
}

QWidget* WidgetOf(const TWinControl& control) {
  return dynamic_cast<QWidget*>(control.Peer());
}

}  // namespace host::qt
