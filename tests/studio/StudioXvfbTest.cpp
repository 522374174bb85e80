// The studio in real X windows (under Xvfb), moved by real pointer events from the X server:
// what a designer sees and does, taken as screenshots to be looked at.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "apps/studio/PaletteBar.h"
#include "apps/studio/ProjectManager.h"
#include "apps/studio/PropertyPanel.h"
#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioWindow.h"
#include "host/Dialogs.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/RuntimeClasses.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"
#include "tests/RealWindowSupport.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using testing_support::Xdotool;

namespace fs = std::filesystem;
using mebrox::studio::QtStudioWindow;

void SaveScreen(const std::string& name) {
  // What was painted last reaches the X server before its picture is taken.
  QGuiApplication::sync();
  QScreen* shown = QGuiApplication::primaryScreen();
  QPixmap screen;
  if (shown->devicePixelRatio() == 1) {
    screen = shown->grabWindow(0);
  } else {
    // Scaled, the X server's picture of the root comes back blank: the screen is put together
    // from its windows instead, each where it lies.
    screen = QPixmap(shown->geometry().size() * shown->devicePixelRatio());
    screen.setDevicePixelRatio(shown->devicePixelRatio());
    screen.fill(Qt::black);
    QPainter painter(&screen);
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible()) painter.drawPixmap(window->geometry().topLeft(), window->grab());
  }
  ASSERT_TRUE(screen.save(QString::fromStdString(std::string(MEBROX_TEST_OUTPUT) + "/" + name)));
}

void RequireX() {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb")
      << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
}

QString Num(int n) {
  return QString::number(n);
}

// Presses at from, moves to to in small steps as a hand does, and lets go there: one run of
// xdotool, so that a drag's own event loop, once it starts in this process, sees it through.
void DragWithPointer(QPoint from, QPoint to, int steps = 8) {
  QStringList args{"mousemove", Num(from.x()), Num(from.y()), "sleep", "0.1", "mousedown", "1"};
  for (int step = 1; step <= steps; ++step) {
    QPoint p = from + (to - from) * step / steps;
    args << "sleep"
         << "0.08"
         << "mousemove" << Num(p.x()) << Num(p.y());
  }
  args << "sleep"
       << "0.15"
       << "mouseup"
       << "1";
  Xdotool(args, 300);
}

// A project written from form texts (Unit1.dfm ...) and opened in a real studio window.
class TRealStudio {
 public:
  explicit TRealStudio(const std::vector<std::string>& formTexts) : FOldDir(fs::current_path()) {
    mebrox::RegisterRuntimeClasses();
    mebrox::RegisterStudioPalette(Core);
    testing_support::WriteFormsProject(FDir.Path(), formTexts);
    Studio = std::make_unique<QtStudioWindow>(
        Core, mebrox::studio::TStudioOptions{QString::fromStdString(File("studio.ini")), {}});
    Studio->OnMessage = [this](const QString&, const QString& text) {
      Messages.push_back(text.toStdString());
    };
    Studio->setGeometry(0, 0, 420, 700);
    Studio->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Studio.get()));
    Opened = Studio->OpenProject(QString::fromStdString(File("Test.dpr")));
  }
  ~TRealStudio() {
    Studio->OnAskSave = [](const QString&) { return int(QMessageBox::Discard); };
    Studio.reset();
    fs::current_path(FOldDir);
  }

  std::string File(const std::string& name) const { return FDir.File(name); }
  host::TForm& Form(const std::string& name) { return *Studio->Session()->FindForm(name); }
  template <class T = host::TComponent>
  T& Get(const std::string& form, const std::string& name) {
    return dynamic_cast<T&>(*Form(form).FindComponent(name));
  }
  // The frame's window, shown at a screen point and ready for the pointer.
  QWidget& Window(const std::string& form, QPoint at) {
    QWidget* window = host::qt::WidgetOf(Form(form));
    window->move(at);
    window->raise();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);
    return *window;
  }
  // The middle of a control on the screen.
  QPoint Middle(const std::string& form, const std::string& name) {
    auto& control = Get<host::TControl>(form, name);
    host::TRect b = Studio->Session()->FormDesignerOf(Form(form)).FormBounds(control);
    return host::qt::WidgetOf(Form(form))
        ->mapToGlobal(QPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
  }

  ide::TDesignCore Core;
  std::unique_ptr<QtStudioWindow> Studio;
  std::vector<std::string> Messages;
  bool Opened = false;

 private:
  testing_support::TempDir FDir;
  fs::path FOldDir;
};

// Files dragged by another process, as a file manager drags them, from its window at the
// screen point from to the screen point to; what the drag ended as ("copy", "move" ...).
std::string DragFilesFromFileManager(const std::vector<std::string>& files, QPoint from,
                                     QPoint to) {
  QProcess source;
  QStringList args{Num(from.x() - 40), Num(from.y() - 40)};
  for (const std::string& f : files) args << QString::fromStdString(f);
  source.start(MEBROX_FILE_DRAG_SOURCE, args);
  for (int i = 0; i < 100 && !source.canReadLine(); ++i) {
    QTest::qWait(50);
    source.waitForReadyRead(10);
  }
  EXPECT_EQ(source.readLine().trimmed().toStdString(), "ready");
  QTest::qWait(200);
  DragWithPointer(from, to, 10);
  std::string done;
  for (int i = 0; i < 100 && done.empty(); ++i) {
    QTest::qWait(50);
    source.waitForReadyRead(10);
    if (source.canReadLine()) done = source.readLine().trimmed().toStdString();
  }
  // The drop is read from the source after it has ended there; the source stays until then.
  QTest::qWait(500);
  source.terminate();
  if (!source.waitForFinished(3000)) source.kill();
  return done.starts_with("done ") ? done.substr(5) : done;
}

bool WritePng(const std::string& path, int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image.save(QString::fromStdString(path), "PNG");
}

const std::string DropForm =
    "object Form1: TForm1\n"
    "  Left = 440\n"
    "  Top = 60\n"
    "  Width = 520\n"
    "  Height = 360\n"
    "  object HyperImage1: THyperImage\n"
    "    Left = 24\n"
    "    Top = 24\n"
    "    Width = 120\n"
    "    Height = 88\n"
    "  end\n"
    "  object Bookmark1: TBookMark\n"
    "    Left = 200\n"
    "    Top = 24\n"
    "    Width = 40\n"
    "    Height = 56\n"
    "  end\n"
    "  object Image1: TImage\n"
    "    Left = 280\n"
    "    Top = 24\n"
    "    Width = 60\n"
    "    Height = 60\n"
    "  end\n"
    "  object WavePlay1: TWavePlay\n"
    "    Left = 400\n"
    "    Top = 24\n"
    "  end\n"
    "end\n";

TEST(StudioXvfbTest, FilesDraggedFromAFileManagerLandOnWhatTakesThem) {
  RequireX();
  TRealStudio real({DropForm});
  ASSERT_TRUE(real.Opened);
  std::string png = real.File("red.png");
  ASSERT_TRUE(WritePng(png, 60, 40, Qt::red));
  std::string wave = real.File("ding.wav");
  testing_support::WriteTone(wave, 2205);
  QWidget& window = real.Window("Form1", {440, 60});

  // From far below, across the studio and the empty frame, as a hand drags from a file manager.
  const QPoint fileManager(200, 900);
  struct TCase {
    const char* Target;
    QPoint At;
    std::string File;
  };
  const std::vector<TCase> cases = {
      {"HyperImage1", real.Middle("Form1", "HyperImage1"), png},
      {"Bookmark1", real.Middle("Form1", "Bookmark1"), png},
      {"Image1", real.Middle("Form1", "Image1"), png},
      {"WavePlay1", window.mapToGlobal(QPoint(414, 38)), wave},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Target);
    EXPECT_EQ(DragFilesFromFileManager({c.File}, fileManager, c.At), "copy");
    EXPECT_TRUE(fs::exists(c.File)) << "the file manager's file was moved away";
  }
  EXPECT_EQ(real.Get<mebrox::THyperImage>("Form1", "HyperImage1").Picture().Width(), 60);
  EXPECT_EQ(real.Get<mebrox::TBookMark>("Form1", "Bookmark1").Picture().Width(), 60);
  EXPECT_EQ(real.Get<host::TImage>("Form1", "Image1").Picture().Width(), 60);
  EXPECT_EQ(real.Get<mebrox::TWavePlay>("Form1", "WavePlay1").GetWaveName(), "ding.wav");
  EXPECT_TRUE(real.Studio->Session()->Modified());
  // Let go over the empty frame, the drag is refused and the file manager keeps its file.
  EXPECT_EQ(DragFilesFromFileManager({png}, fileManager, window.mapToGlobal(QPoint(200, 300))),
            "ignore");
  EXPECT_TRUE(real.Messages.empty());
  SaveScreen("studio-xvfb-files-dropped.png");
}

TEST(StudioXvfbTest, AComponentIsDraggedFromThePaletteOrPlacedByTwoClicks) {
  RequireX();
  TRealStudio real({DropForm});
  ASSERT_TRUE(real.Opened);
  QWidget& window = real.Window("Form1", {440, 60});
  mebrox::studio::QtPaletteBar& palette = real.Studio->Palette();
  QToolButton* button = palette.ButtonOf("TfxLabel");
  ASSERT_NE(button, nullptr);
  QPoint from = button->mapToGlobal(button->rect().center());

  DragWithPointer(from, window.mapToGlobal(QPoint(64, 200)), 12);
  host::TComponent* dragged = real.Form("Form1").FindComponent("fxLabel1");
  ASSERT_NE(dragged, nullptr);
  EXPECT_EQ(dynamic_cast<host::TControl&>(*dragged).Left(), 64);
  EXPECT_EQ(dynamic_cast<host::TControl&>(*dragged).Top(), 200);
  EXPECT_EQ(palette.Chosen(), nullptr);
  EXPECT_EQ(real.Studio->PropertyPanel().ValueText("Name"), "fxLabel1");
  SaveScreen("studio-xvfb-palette-dragged.png");

  // The old way stays: a click on the class, a click on the frame.
  QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
  Xdotool({"mousemove", Num(from.x()), Num(from.y()), "click", "1"});
  EXPECT_EQ(palette.Chosen(), &mebrox::TfxLabel::StaticClassInfo());
  QPoint at = window.mapToGlobal(QPoint(240, 260));
  Xdotool({"mousemove", Num(at.x()), Num(at.y()), "click", "1"});
  ASSERT_NE(real.Form("Form1").FindComponent("fxLabel2"), nullptr);
  EXPECT_EQ(palette.Chosen(), nullptr);
  EXPECT_TRUE(real.Messages.empty());
}

const std::string TwoPanelsForm =
    "object Form1: TForm1\n"
    "  Left = 440\n"
    "  Top = 60\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object Panel1: TPanel\n"
    "    Left = 16\n"
    "    Top = 16\n"
    "    Width = 120\n"
    "    Height = 80\n"
    "  end\n"
    "  object Panel2: TPanel\n"
    "    Left = 200\n"
    "    Top = 16\n"
    "    Width = 120\n"
    "    Height = 80\n"
    "  end\n"
    "end\n";

TEST(StudioXvfbTest, APlainClickOnOneOfSeveralSelectedSelectsItAlone) {
  RequireX();
  TRealStudio real({TwoPanelsForm});
  ASSERT_TRUE(real.Opened);
  real.Window("Form1", {440, 60});
  ide::TFormDesigner& designer = real.Studio->Session()->FormDesignerOf(real.Form("Form1"));
  const QPoint first = real.Middle("Form1", "Panel1"), second = real.Middle("Form1", "Panel2");
  const int pause = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100;
  Xdotool({"mousemove", Num(first.x()), Num(first.y()), "click", "1"});
  QTest::qWait(pause);
  Xdotool({"mousemove", Num(second.x()), Num(second.y()), "keydown", "shift", "click", "1", "keyup",
           "shift"});
  ASSERT_EQ(designer.Selection().size(), 2u);
  QTest::qWait(pause);

  // Pressed and let go without moving: that one alone.
  Xdotool({"mousemove", Num(first.x()), Num(first.y()), "click", "1"});
  ASSERT_EQ(designer.Selection().size(), 1u);
  EXPECT_EQ(designer.Selection().front()->Name(), "Panel1");
  Xdotool({"key", "Delete"});
  EXPECT_EQ(real.Form("Form1").FindComponent("Panel1"), nullptr);
  EXPECT_NE(real.Form("Form1").FindComponent("Panel2"), nullptr);
}

// The middle of a menu's title in the studio's menu bar.
QPoint MenuTitle(QtStudioWindow& studio, const QString& title) {
  for (QAction* menu : studio.menuBar()->actions())
    if (menu->text() == title)
      return studio.menuBar()->mapToGlobal(studio.menuBar()->actionGeometry(menu).center());
  ADD_FAILURE() << title.toStdString() << " is no menu";
  return {};
}

// Does act on the next modal window as soon as it shows, from within that window's own loop,
// and makes it the active one, as a window manager would.
void OnNextModal(std::function<void(QWidget&)> act) {
  auto* timer = new QTimer;
  QPointer<QWidget> before = QApplication::activeModalWidget();
  QObject::connect(timer, &QTimer::timeout, [timer, before, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == before || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    modal->activateWindow();
    QTest::qWait(400);
    act(*modal);
  });
  timer->start(100);
}

// Clicks, with the pointer, the button of a window that shows that text.
void ClickButton(QWidget& window, const QString& text) {
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
    if (button->isVisible() && button->text() == text) {
      const QPoint p = button->mapToGlobal(button->rect().center());
      Xdotool({"mousemove", Num(p.x()), Num(p.y()), "sleep", "0.1", "click", "1"}, 400);
      return;
    }
  ADD_FAILURE() << "no button " << text.toStdString() << " in "
                << window.windowTitle().toStdString();
}

// Types a path into a file dialog's name box, clicked first, and takes it with Enter.
void TypeIntoFileDialog(QWidget& dialog, const std::string& path) {
  auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr) << dialog.metaObject()->className();
  const QPoint p = name->mapToGlobal(name->rect().center());
  Xdotool({"mousemove", Num(p.x()), Num(p.y()), "sleep", "0.1", "click", "1", "key", "ctrl+a",
           "type", "--delay", "10", QString::fromStdString(path)},
          400);
  SaveScreen("studio-xvfb-lesson-file-dialog.png");
  Xdotool({"key", "Return"}, 400);
}

// A frame removed from its row in the project manager with the pointer and the keyboard, the
// studio's own question answered by Enter, then brought back by Ctrl+Z; removed again from the
// File menu and saved, it comes back from its files through File > Add Existing Frame.
TEST(StudioXvfbTest, AFrameIsRemovedAndComesBackByUndoOrFromItsFiles) {
  RequireX();
  std::string second = TwoPanelsForm;
  second.replace(second.find("Form1: TForm1"), 13, "Form2: TForm2");
  TRealStudio real({TwoPanelsForm, second});
  ASSERT_TRUE(real.Opened);
  QTest::qWait(300);
  real.Studio->raise();
  real.Studio->activateWindow();
  QTest::qWait(300);
  auto& manager = real.Studio->ProjectManager();
  const QList<QTreeWidgetItem*> rows = manager.findItems("Unit2", Qt::MatchExactly);
  ASSERT_EQ(rows.size(), 1);
  const QPoint row = manager.viewport()->mapToGlobal(manager.visualItemRect(rows[0]).center());
  OnNextModal([](QWidget&) { SaveScreen("studio-xvfb-remove-frame-question.png"); });
  // One run of xdotool: the menu and the question each hold the studio in a loop of their own.
  Xdotool({"mousemove", Num(row.x()), Num(row.y()), "click", "3", "sleep", "0.6", "key", "Down",
           "key", "Return", "sleep", "0.8", "key", "Return"},
          500);
  EXPECT_EQ(real.Studio->Session()->FindForm("Form2"), nullptr);
  EXPECT_TRUE(manager.findItems("Unit2", Qt::MatchExactly).empty());
  SaveScreen("studio-xvfb-frame-removed.png");

  real.Studio->raise();
  real.Studio->activateWindow();
  QTest::qWait(300);
  Xdotool({"key", "ctrl+z"}, 500);
  ASSERT_NE(real.Studio->Session()->FindForm("Form2"), nullptr);
  EXPECT_TRUE(host::qt::WidgetOf(real.Form("Form2"))->isVisible());
  EXPECT_EQ(manager.findItems("Unit2", Qt::MatchExactly).size(), 1);

  // And from the File menu by its letters, on the frame being designed.
  real.Studio->SetCurrentForm(&real.Form("Form2"));
  real.Studio->activateWindow();
  QTest::qWait(300);
  const QPoint file = MenuTitle(*real.Studio, "&File");
  Xdotool({"mousemove", Num(file.x()), Num(file.y()), "click", "1", "sleep", "0.6", "key", "m",
           "sleep", "0.8", "key", "Return"},
          500);
  EXPECT_EQ(real.Studio->Session()->FindForm("Form2"), nullptr);
  EXPECT_TRUE(real.Messages.empty()) << real.Messages.front();

  // Saved without it, it comes back from File > Add Existing Frame through the real file dialog.
  ASSERT_TRUE(real.Studio->SaveProject());
  EXPECT_EQ(testing_support::ReadFile(real.File("Test.dpr")).find("Unit2"), std::string::npos);
  real.Studio->activateWindow();
  QTest::qWait(300);
  OnNextModal([&](QWidget& files) { TypeIntoFileDialog(files, real.File("Unit2.pas")); });
  Xdotool({"mousemove", Num(file.x()), Num(file.y()), "click", "1", "sleep", "0.6", "key", "e"},
          1500);
  ASSERT_NE(real.Studio->Session()->FindForm("Form2"), nullptr);
  EXPECT_TRUE(host::qt::WidgetOf(real.Form("Form2"))->isVisible());
  EXPECT_EQ(manager.findItems("Unit2", Qt::MatchExactly).size(), 1);
  EXPECT_EQ(real.Studio->CurrentForm(), &real.Form("Form2"));
  EXPECT_TRUE(real.Messages.empty()) << real.Messages.front();
  // What the designer sees: the frame's row is drawn in the project manager, not only held.
  QTest::qWait(500);
  const QRect drawn = manager.visualItemRect(manager.findItems("Unit2", Qt::MatchExactly)[0]);
  const QPoint at = manager.viewport()->mapToGlobal(drawn.topLeft());
  const QImage seen =
      QGuiApplication::primaryScreen()
          ->grabWindow(0, at.x(), at.y(), manager.viewport()->width(), drawn.height())
          .toImage();
  int ink = 0;
  for (int y = 0; y < seen.height(); ++y)
    for (int x = 0; x < seen.width(); ++x) ink += qGray(seen.pixel(x, y)) < 100;
  EXPECT_GT(ink, 10) << "the row of Unit2 is not drawn";
  SaveScreen("studio-xvfb-frame-added-back.png");
  ASSERT_TRUE(real.Studio->SaveProject());
  EXPECT_NE(testing_support::ReadFile(real.File("Test.dpr")).find("Unit2 in 'Unit2.pas' {Form2}"),
            std::string::npos);
}

std::string LessonFrame(int n, const char* caption) {
  return "object Form" + std::to_string(n) + ": TForm" + std::to_string(n) +
         "\n  Left = 440\n  Top = 60\n  Width = 520\n  Height = 360\n  Caption = '" + caption +
         "'\nend\n";
}

// A teacher's lesson made with the pointer and the keyboard alone, every dialog the real one: a
// hot image dragged from the palette, a second placed by two clicks and the two lined up, a
// picture loaded through the picture editor, a wave from another folder picked (and so copied
// in), a frame removed, saved. The application then checks clean, runs, and a copy made by Save
// Project As runs with the original folder gone.
TEST(StudioXvfbTest, ALessonIsBuiltWithThePointerAndKeyboardAlone) {
  RequireX();
  // The real dialogs, as the studio shows them, for this test alone.
  host::SetDialogService(host::qt::MakeQtDialogs());
  struct TScriptedAgain {
    ~TScriptedAgain() { host::SetDialogService(std::make_unique<host::TScriptedDialogs>()); }
  } scriptedAgain;
  TRealStudio real(
      {LessonFrame(1, "The Water Cycle"), LessonFrame(2, "Clouds"), LessonFrame(3, "Draft")});
  ASSERT_TRUE(real.Opened);
  testing_support::TempDir outside;
  ASSERT_TRUE(WritePng(outside.File("sun.png"), 90, 70, QColor(250, 200, 40)));
  testing_support::WriteTone(outside.File("rain.wav"), 4410);
  QWidget& window = real.Window("Form1", {440, 60});
  const int pause = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100;
  auto& palette = real.Studio->Palette();
  auto at = [&](int x, int y) { return window.mapToGlobal(QPoint(x, y)); };
  auto button = [&](const char* cls) {
    QToolButton* b = palette.ButtonOf(cls);
    return b->mapToGlobal(b->rect().center());
  };
  auto click = [&](QPoint p, QStringList more = {}) {
    // The pointer settles before the press, so that the press lands where it points.
    Xdotool(QStringList{"mousemove", Num(p.x()), Num(p.y()), "sleep", "0.1", "click", "1"} + more);
    QTest::qWait(pause);
  };

  DragWithPointer(button("THyperImage"), at(24, 40), 12);
  QTest::qWait(pause);
  click(button("THyperImage"));
  click(at(220, 70));
  click(button("TWavePlay"));
  click(at(440, 30));
  ASSERT_NE(real.Form("Form1").FindComponent("HyperImage2"), nullptr);
  ASSERT_NE(real.Form("Form1").FindComponent("WavePlay1"), nullptr);

  // Lined up by their tops, from the Edit menu (the narrow studio hides the toolbar's buttons):
  // the menu and its submenu opened by their letters.
  click(real.Middle("Form1", "HyperImage1"));
  Xdotool({"mousemove", Num(real.Middle("Form1", "HyperImage2").x()),
           Num(real.Middle("Form1", "HyperImage2").y()), "sleep", "0.1", "keydown", "shift",
           "click", "1", "keyup", "shift"});
  QTest::qWait(pause);
  ASSERT_EQ(real.Studio->Session()->FormDesignerOf(real.Form("Form1")).Selection().size(), 2u);
  const QPoint edit = MenuTitle(*real.Studio, "&Edit");
  Xdotool({"mousemove", Num(edit.x()), Num(edit.y()), "click", "1", "sleep", "0.6", "key", "l",
           "sleep", "0.6", "key", "t"},
          400);
  EXPECT_EQ(real.Get<host::TControl>("Form1", "HyperImage2").Top(), 40);

  // The picture, through the inspector's "..." and the picture editor's Load and OK, the file
  // dialog taking the typed path.
  click(real.Middle("Form1", "HyperImage1"));
  QToolButton* dots = real.Studio->PropertyPanel().DialogButton("Picture");
  ASSERT_NE(dots, nullptr);
  OnNextModal([&](QWidget& editor) {
    SaveScreen("studio-xvfb-lesson-picture-editor.png");
    OnNextModal([&](QWidget& files) { TypeIntoFileDialog(files, outside.File("sun.png")); });
    ClickButton(editor, "&Load...");
    ClickButton(editor, "OK");
  });
  click(dots->mapToGlobal(dots->rect().center()));
  EXPECT_FALSE(real.Get<mebrox::THyperImage>("Form1", "HyperImage1").Picture().Empty());

  // The wave, by a double-click on its player: picked from another folder, it is copied in and
  // the designer told so.
  OnNextModal([&](QWidget& files) {
    OnNextModal([&](QWidget& told) {
      SaveScreen("studio-xvfb-lesson-wave-copied.png");
      ClickButton(told, "OK");
    });
    TypeIntoFileDialog(files, outside.File("rain.wav"));
  });
  // A component without a window shows as an icon at its design place.
  host::TComponent& player = *real.Form("Form1").FindComponent("WavePlay1");
  click(at(player.DesignLeft() + 12, player.DesignTop() + 12), {"click", "1"});
  EXPECT_EQ(real.Get<mebrox::TWavePlay>("Form1", "WavePlay1").GetWaveName(), "rain.wav");
  EXPECT_TRUE(fs::exists(real.File("rain.wav")));
  SaveScreen("studio-xvfb-lesson.png");

  // The draft frame goes, from its row in the project manager.
  real.Studio->raise();
  real.Studio->activateWindow();
  QTest::qWait(300);
  auto& manager = real.Studio->ProjectManager();
  const QPoint row = manager.viewport()->mapToGlobal(
      manager.visualItemRect(manager.findItems("Unit3", Qt::MatchExactly).value(0)).center());
  Xdotool({"mousemove", Num(row.x()), Num(row.y()), "click", "3", "sleep", "0.6", "key", "Down",
           "key", "Return", "sleep", "0.8", "key", "Return"},
          500);
  EXPECT_EQ(real.Studio->Session()->FindForm("Form3"), nullptr);
  real.Studio->activateWindow();
  QTest::qWait(300);
  Xdotool({"key", "ctrl+s"}, 500);
  EXPECT_FALSE(real.Studio->Session()->Modified());
  EXPECT_TRUE(real.Messages.empty()) << real.Messages.front();

  // What mebrox-run makes of it.
  auto run = [](const QStringList& args, const std::string& folder) {
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(folder));
    p.start(MEBROX_RUN_PROGRAM, args);
    p.waitForFinished(60000);
    return std::make_pair(
        p.exitCode(),
        QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError()).toStdString());
  };
  auto [code, out] = run({"--check", "Test.dpr"}, real.File(""));
  EXPECT_EQ(code, 0) << out;
  EXPECT_EQ(out.find("outside the project folder"), std::string::npos) << out;
  testing_support::WriteFile(real.File("walk.txt"),
                             "click Form1.HyperImage1 10 10\nscreenshot Form1 lesson.png\n");
  std::tie(code, out) = run({"--headless", "--script", "walk.txt", "Test.dpr"}, real.File(""));
  EXPECT_EQ(code, 0) << out;

  // A copy elsewhere, made from the File menu's Save Project As, runs with the original gone.
  testing_support::TempDir elsewhere;
  real.Studio->OnChooseFile = [&](bool, const QString&, const QString&) {
    return QString::fromStdString(elsewhere.File("Lesson.dpr"));
  };
  real.Studio->Command("actSaveAs")->trigger();
  EXPECT_TRUE(fs::exists(elsewhere.File("rain.wav")));
  fs::remove_all(real.File(""));
  std::tie(code, out) = run({"--check", "Lesson.dpr"}, elsewhere.Path());
  EXPECT_EQ(code, 0) << out;
  std::tie(code, out) =
      run({"--headless", "--script", "/dev/null", "Lesson.dpr"}, elsewhere.Path());
  EXPECT_EQ(code, 0) << out;
  EXPECT_NE(out.find("show TForm1"), std::string::npos) << out;
}

TEST(StudioXvfbTest, FramesOpenOnTheScreenAndNewOnesBesideTheOthers) {
  RequireX();
  // Designed on a larger screen: the frame lies beyond this one's edges.
  const std::string farForm =
      "object Form1: TForm1\n"
      "  Left = 1500\n"
      "  Top = 1100\n"
      "  Width = 200\n"
      "  Height = 150\n"
      "  Caption = 'Far away'\n"
      "end\n";
  TRealStudio real({farForm});
  ASSERT_TRUE(real.Opened);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QTest::qWait(300);
  QWidget* far = host::qt::WidgetOf(real.Form("Form1"));
  EXPECT_TRUE(screen.contains(far->frameGeometry()))
      << far->frameGeometry().x() << "," << far->frameGeometry().y();
  EXPECT_EQ(far->windowTitle(), "Far away");

  std::vector<QWidget*> windows{far};
  for (int i = 0; i < 2; ++i) {
    host::TForm* added = real.Studio->NewFrame();
    ASSERT_NE(added, nullptr);
    QTest::qWait(300);
    QWidget* window = host::qt::WidgetOf(*added);
    SCOPED_TRACE(added->Name());
    EXPECT_TRUE(screen.contains(window->frameGeometry()));
    // Where the screen has room for it, a new frame hides neither the studio nor a frame.
    if (screen.width() >= 1200) {
      EXPECT_FALSE(window->frameGeometry().intersects(real.Studio->frameGeometry()));
      for (QWidget* other : windows)
        EXPECT_FALSE(window->frameGeometry().intersects(other->frameGeometry()));
    }
    windows.push_back(window);
  }

  // The title follows the caption as it changes.
  host::TForm& second = real.Form("Form2");
  ide::SetPropertyText(real.Studio->Session()->DesignerOf(second), second, "Caption", "Chapter 2");
  QTest::qWait(100);
  EXPECT_EQ(host::qt::WidgetOf(second)->windowTitle(), "Chapter 2");
  SaveScreen(QGuiApplication::primaryScreen()->devicePixelRatio() > 1
                 ? "studio-xvfb-frames-scaled.png"
                 : "studio-xvfb-frames.png");
}

TEST(StudioXvfbTest, ADesignerDragsAComponentAndTheInspectorFollows) {
  RequireX();
  mebrox::RegisterRuntimeClasses();
  ide::TDesignCore core;
  mebrox::RegisterStudioPalette(core);
  testing_support::TempDir work;
  fs::path oldDir = fs::current_path();
  fs::copy(MEBROX_TOUR_DIR, work.File("tour"), fs::copy_options::recursive);
  {
    QtStudioWindow studio(core, {QString::fromStdString(work.File("studio.ini")), {}});
    std::vector<std::string> messages;
    studio.OnMessage = [&](const QString&, const QString& text) {
      messages.push_back(text.toStdString());
    };
    studio.setGeometry(0, 0, 420, 900);
    studio.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&studio));
    ASSERT_TRUE(studio.OpenProject(QString::fromStdString(work.File("tour/Tour.dpr"))));
    host::TForm& form = *studio.Session()->FindForm("Form1");
    QWidget* window = host::qt::WidgetOf(form);
    ASSERT_NE(window, nullptr);
    window->move(440, 60);
    window->raise();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);

    auto& title = dynamic_cast<host::TControl&>(*form.FindComponent("Title1"));
    const int left = title.Left(), top = title.Top();
    QPoint grip = window->mapToGlobal(QPoint(left + 20, top + 10));
    const QString x = QString::number(grip.x()), y = QString::number(grip.y());
    Xdotool({"mousemove", x, y, "click", "1"});
    ASSERT_EQ(studio.CurrentForm(), &form);
    ASSERT_EQ(studio.PropertyPanel().ValueText("Name"), "Title1");
    SaveScreen("studio-xvfb-selected.png");

    // Long enough after the click that the press is not a double-click.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    // A drag in small steps, as a hand makes it; the grid takes the designer's 8 pixels.
    Xdotool({"mousedown", "1"});
    for (int step = 1; step <= 4; ++step)
      Xdotool({"mousemove", QString::number(grip.x() + 10 * step),
               QString::number(grip.y() + 6 * step)});
    Xdotool({"mouseup", "1"});
    // On the grid, or on a line it met with a sibling on the way.
    EXPECT_NEAR(title.Left(), left + 40, ide::TFormDesigner::GuideDistance);
    EXPECT_NEAR(title.Top(), top + 24, ide::TFormDesigner::GuideDistance);
    EXPECT_EQ(studio.PropertyPanel().ValueText("Left").toInt(), title.Left());
    EXPECT_EQ(studio.PropertyPanel().ValueText("Top").toInt(), title.Top());
    EXPECT_TRUE(studio.Session()->Modified());
    SaveScreen("studio-xvfb-dragged.png");
    EXPECT_TRUE(messages.empty());
    studio.OnAskSave = [](const QString&) { return int(QMessageBox::Discard); };
  }
  fs::current_path(oldDir);
}

}  // namespace
