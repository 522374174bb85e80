#include "apps/studio/StudioWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "apps/studio/DesignOverlay.h"
#include "apps/studio/FramePlacement.h"
#include "apps/studio/PaletteBar.h"
#include "apps/studio/ProjectManager.h"
#include "apps/studio/PropertyPanel.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtInput.h"
#include "ide/NewProject.h"
#include "ide/Recovery.h"
#include "ide/Registry.h"

namespace mebrox::studio {

namespace fs = std::filesystem;

namespace {

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

// Word lists, texts and waves named bare in a project's frames are found beside the project,
// as when it runs, and the frames read them as they open.
bool EnterProjectFolder(const QString& projectPath) {
  std::error_code ec;
  fs::current_path(fs::absolute(projectPath.toStdString()).parent_path(), ec);
  return !ec;
}

QString ProjectFilter() {
  return QCoreApplication::translate("QtStudioWindow", "Mebrox projects (*.dpr)");
}

}  // namespace

namespace {

// A small drawing of what an alignment does: two boxes and the line or space they keep to.
QIcon AlignIcon(ide::TFormDesigner::TAlign how) {
  using TAlign = ide::TFormDesigner::TAlign;
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x1E, 0x5A, 0x72));
  p.setBrush(QColor(0x9C, 0xC4, 0xD8));
  QRect a(3, 3, 12, 5), b(3, 12, 7, 5);
  QLine line;
  switch (how) {
    case TAlign::Left:
      line = QLine(2, 1, 2, 18);
      break;
    case TAlign::Right:
      a.moveRight(16), b.moveRight(16), line = QLine(17, 1, 17, 18);
      break;
    case TAlign::Top:
      a = QRect(3, 3, 5, 12), b = QRect(11, 3, 5, 7), line = QLine(1, 2, 18, 2);
      break;
    case TAlign::Bottom:
      a = QRect(3, 4, 5, 12), b = QRect(11, 9, 5, 7), line = QLine(1, 17, 18, 17);
      break;
    case TAlign::HCenter:
      a.moveLeft(4), b.moveLeft(6), line = QLine(9, 1, 9, 18);
      break;
    case TAlign::VCenter:
      a = QRect(3, 3, 5, 13), b = QRect(11, 6, 5, 7), line = QLine(1, 9, 18, 9);
      break;
    case TAlign::Width:
      b = QRect(3, 12, 12, 5);
      break;
    case TAlign::Height:
      a = QRect(3, 3, 5, 13), b = QRect(11, 3, 5, 13);
      break;
    case TAlign::HSpace:
      a = QRect(1, 6, 4, 8), b = QRect(15, 6, 4, 8), p.drawRect(QRect(8, 6, 4, 8));
      break;
    default:
      a = QRect(6, 1, 8, 4), b = QRect(6, 15, 8, 4), p.drawRect(QRect(6, 8, 8, 4));
  }
  p.drawRect(a);
  p.drawRect(b);
  if (!line.isNull()) {
    p.setPen(QPen(QColor(0xE0, 0x30, 0x90), 1, Qt::DashLine));
    p.drawLine(line);
  }
  return QIcon(pixmap);
}

}  // namespace

QtStudioWindow::QtStudioWindow(ide::TDesignCore& core, TStudioOptions options)
    : FCore(core), FOptions(std::move(options)), FSettings(FOptions.SettingsFile) {
  setObjectName("StudioWindow");
  setWindowTitle(tr("Mebrox Studio"));
  FAutosaveTimer.setSingleShot(true);
  connect(&FAutosaveTimer, &QTimer::timeout, this, [this] { Autosave(); });
  OnMessage = [this](const QString& title, const QString& text) {
    QMessageBox::warning(this, title, text);
  };
  OnAskSave = [this](const QString& question) {
    return static_cast<int>(QMessageBox::question(
        this, tr("Mebrox Studio"), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save));
  };
  OnConfirm = [this](const QString& title, const QString& question) {
    return QMessageBox::question(this, title, question) == QMessageBox::Yes;
  };
  OnChooseFile = [this](bool save, const QString& title, const QString& filter) {
    return save ? QFileDialog::getSaveFileName(this, title, QString(), filter)
                : QFileDialog::getOpenFileName(this, title, QString(), filter);
  };
  OnChooseFolder = [this](const QString& title) {
    return QFileDialog::getExistingDirectory(this, title);
  };

  FPalette = new QtPaletteBar(FCore.Registry());
  auto* paletteBar = new QToolBar(tr("Palette"));
  paletteBar->setObjectName("PaletteToolBar");
  paletteBar->setMovable(false);
  paletteBar->addWidget(FPalette);
  addToolBar(Qt::TopToolBarArea, paletteBar);

  FPropertyPanel = new QtPropertyPanel;
  auto* inspectorDock = new QDockWidget(tr("Object Inspector"));
  inspectorDock->setObjectName("InspectorDock");
  inspectorDock->setWidget(FPropertyPanel);
  addDockWidget(Qt::LeftDockWidgetArea, inspectorDock);

  FProjectManager = new QtProjectManager;
  FProjectManager->OnOpenForm = [this](host::TForm& form) {
    host::HandleEvents([&] { form.Show(); });
    if (QWidget* window = host::qt::WidgetOf(form)) {
      window->raise();
      window->activateWindow();
    }
    SetCurrentForm(&form);
  };
  FProjectManager->OnRemoveForm = [this](host::TForm& form) { RemoveFrame(&form); };
  setCentralWidget(FProjectManager);

  BuildMenus();
  resize(900, 560);
  restoreGeometry(FSettings.Value("Window/Geometry"));
  restoreState(FSettings.Value("Window/State"));

  connect(&FRun, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    if (code == 0 && status == QProcess::NormalExit) return;
    QString err = QString::fromLocal8Bit(FRun.readAllStandardError()).trimmed();
    OnMessage(tr("Run"), status == QProcess::CrashExit
                             ? tr("The application stopped unexpectedly.\n%1").arg(err)
                             : tr("The application stopped with code %1.\n%2").arg(code).arg(err));
  });
  connect(&FRun, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      OnMessage(tr("Run"),
                tr("%1 could not be started: %2").arg(RunProgramPath(), FRun.errorString()));
  });
  connect(&FPublish, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    QString out = QString::fromLocal8Bit(FPublish.readAllStandardOutput()).trimmed();
    QString err = QString::fromLocal8Bit(FPublish.readAllStandardError()).trimmed();
    if (code == 0 && status == QProcess::NormalExit)
      OnMessage(tr("Publish to Web"), err.isEmpty() ? out : out + "\n\n" + err);
    else
      OnMessage(tr("Publish to Web"), tr("Nothing was published.\n%1").arg(err));
  });
  connect(&FPublish, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      OnMessage(tr("Publish to Web"),
                tr("%1 could not be started: %2").arg(RunProgramPath(), FPublish.errorString()));
  });
  UpdateCommands();
}

QtStudioWindow::~QtStudioWindow() {
  for (QProcess* process : {&FRun, &FPublish})
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(2000);
    }
  Detach();
}

// ---- menus

QAction* QtStudioWindow::AddCommand(QMenu* menu, const QString& name, const QString& text,
                                    const QKeySequence& key, std::function<void()> run) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  if (!key.isEmpty()) action->setShortcut(key);
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  return action;
}

QAction* QtStudioWindow::Command(const QString& name) const {
  return findChild<QAction*>(name);
}

void QtStudioWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  AddCommand(file, "actNewProject", tr("&New Project..."), QKeySequence("Ctrl+Shift+N"), [this] {
    QString path = OnChooseFile(true, tr("New Project"), ProjectFilter());
    if (!path.isEmpty()) NewProject(path);
  });
  AddCommand(file, "actNewFrame", tr("New &Frame"), QKeySequence("Ctrl+N"), [this] { NewFrame(); });
  AddCommand(file, "actAddFrame", tr("Add &Existing Frame..."), QKeySequence(), [this] {
    QString path = OnChooseFile(false, tr("Add Existing Frame"), tr("Frame units (*.pas)"));
    if (!path.isEmpty()) AddExistingFrame(path);
  });
  AddCommand(file, "actRemoveFrame", tr("Re&move Frame..."), QKeySequence(),
             [this] { RemoveFrame(FCurrent); });
  AddCommand(file, "actOpen", tr("&Open Project..."), QKeySequence::Open, [this] {
    QString path = OnChooseFile(false, tr("Open Project"), ProjectFilter());
    if (!path.isEmpty()) OpenProject(path);
  });
  FRecentMenu = file->addMenu(tr("&Reopen"));
  FRecentMenu->setObjectName("RecentMenu");
  file->addSeparator();
  AddCommand(file, "actSave", tr("&Save"), QKeySequence::Save, [this] { SaveProject(); });
  AddCommand(file, "actSaveAs", tr("Save Project &As..."), QKeySequence("Ctrl+Shift+S"), [this] {
    QString path = OnChooseFile(true, tr("Save Project As"), ProjectFilter());
    if (!path.isEmpty()) SaveProjectAs(path);
  });
  AddCommand(file, "actPublish", tr("&Publish to Web..."), QKeySequence(),
             [this] { PublishProject(); });
  AddCommand(file, "actClose", tr("&Close Project"), QKeySequence(), [this] { CloseProject(); });
  file->addSeparator();
  AddCommand(file, "actExit", tr("E&xit"), QKeySequence("Ctrl+Q"), [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  AddCommand(edit, "actUndo", tr("&Undo"), QKeySequence::Undo, [this] {
    if (FSession) host::HandleEvents([&] { FSession->UndoLatest(FCurrent); });
  });
  QAction* redo = AddCommand(edit, "actRedo", tr("&Redo"), QKeySequence("Ctrl+Shift+Z"), [this] {
    if (FSession) host::HandleEvents([&] { FSession->RedoLatest(FCurrent); });
  });
  redo->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
  edit->addSeparator();
  AddCommand(edit, "actCut", tr("Cu&t"), QKeySequence::Cut, [this] {
    EditCommand([](ide::TFormDesigner& d) {
      QApplication::clipboard()->setText(Text(d.CopySelection()));
      d.DeleteSelection();
    });
  });
  AddCommand(edit, "actCopy", tr("&Copy"), QKeySequence::Copy, [this] {
    EditCommand(
        [](ide::TFormDesigner& d) { QApplication::clipboard()->setText(Text(d.CopySelection())); });
  });
  AddCommand(edit, "actPaste", tr("&Paste"), QKeySequence::Paste, [this] { Paste(); });
  AddCommand(edit, "actDelete", tr("&Delete"), QKeySequence::Delete,
             [this] { EditCommand([](ide::TFormDesigner& d) { d.DeleteSelection(); }); });
  AddCommand(edit, "actSelectAll", tr("Select &All"), QKeySequence::SelectAll,
             [this] { SelectAll(); });
  edit->addSeparator();
  AddCommand(edit, "actFront", tr("Bring to &Front"), QKeySequence(),
             [this] { EditCommand([](ide::TFormDesigner& d) { d.BringToFront(); }); });
  AddCommand(edit, "actBack", tr("Send to &Back"), QKeySequence(),
             [this] { EditCommand([](ide::TFormDesigner& d) { d.SendToBack(); }); });
  // Alignment of the selection by its first control, in the Edit menu and on a toolbar of its own.
  QMenu* align = edit->addMenu(tr("A&lign"));
  auto* alignBar = new QToolBar(tr("Alignment"));
  alignBar->setObjectName("AlignmentBar");
  addToolBar(Qt::TopToolBarArea, alignBar);
  using TAlign = ide::TFormDesigner::TAlign;
  const std::tuple<const char*, QString, TAlign> aligns[] = {
      {"actAlignLeft", tr("Align &Left Edges"), TAlign::Left},
      {"actAlignRight", tr("Align &Right Edges"), TAlign::Right},
      {"actAlignTop", tr("Align &Tops"), TAlign::Top},
      {"actAlignBottom", tr("Align &Bottoms"), TAlign::Bottom},
      {"actAlignHCenter", tr("Centre &Across"), TAlign::HCenter},
      {"actAlignVCenter", tr("Centre &Down"), TAlign::VCenter},
      {"actSameWidth", tr("Same &Width"), TAlign::Width},
      {"actSameHeight", tr("Same &Height"), TAlign::Height},
      {"actSpaceAcross", tr("&Space Evenly Across"), TAlign::HSpace},
      {"actSpaceDown", tr("Space Evenly Do&wn"), TAlign::VSpace}};
  for (const auto& [name, text, how] : aligns) {
    QAction* action = AddCommand(align, name, text, QKeySequence(), [this, how = how] {
      EditCommand([how](ide::TFormDesigner& d) { d.AlignSelection(how); });
    });
    action->setIcon(AlignIcon(how));
    alignBar->addAction(action);
  }

  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddCommand(view, "actInspector", tr("Object &Inspector"), QKeySequence("F11"), [this] {
    if (auto* dock = findChild<QDockWidget*>("InspectorDock")) {
      dock->show();
      dock->raise();
      FPropertyPanel->setFocus();
    }
  });
  AddCommand(view, "actProjectManager", tr("&Project Manager"), QKeySequence("Ctrl+Alt+F11"),
             [this] {
               raise();
               activateWindow();
               FProjectManager->setFocus();
             });

  FExpertsMenu = menuBar()->addMenu(tr("E&xperts"));
  FExpertsMenu->setObjectName("ExpertsMenu");
  ReloadExperts();

  QMenu* run = menuBar()->addMenu(tr("&Run"));
  AddCommand(run, "actRun", tr("&Run"), QKeySequence("F9"), [this] { RunProject(); });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  AddCommand(help, "actAbout", tr("&About Mebrox Studio"), QKeySequence(), [this] {
    QMessageBox::about(this, tr("About Mebrox Studio"),
                       tr("Mebrox Studio\nBuild multimedia hypertext applications without "
                          "writing code."));
  });
  ReloadRecent();
}

void QtStudioWindow::ReloadExperts() {
  FExpertsMenu->clear();
  for (ide::TIExpert* expert : FCore.Registry().Experts()) {
    if (expert->GetStyle() != ide::esStandard) continue;
    QAction* action = FExpertsMenu->addAction(Text(expert->GetMenuText()));
    action->setEnabled(expert->GetState().Contains(ide::esEnabled));
    action->setProperty("expert", true);
    connect(action, &QAction::triggered, this,
            [expert] { host::HandleEvents([expert] { expert->Execute(); }); });
  }
}

void QtStudioWindow::ReloadRecent() {
  FRecentMenu->clear();
  const QStringList recent = FSettings.RecentProjects();
  for (int i = 0; i < recent.size(); ++i) {
    QString path = recent[i];
    QAction* action = FRecentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(path));
    connect(action, &QAction::triggered, this, [this, path] { OpenProject(path); });
  }
  FRecentMenu->setEnabled(!recent.isEmpty());
}

void QtStudioWindow::UpdateCommands() {
  const bool open = FSession != nullptr;
  const bool designing = open && FCurrent;
  for (const char* name :
       {"actNewFrame", "actAddFrame", "actSave", "actSaveAs", "actPublish", "actClose", "actRun"})
    Command(name)->setEnabled(open);
  for (const char* name :
       {"actCut", "actCopy", "actPaste", "actDelete", "actSelectAll", "actFront", "actBack"})
    Command(name)->setEnabled(designing);
  Command("actRemoveFrame")->setEnabled(designing && FSession->GetFormCount() > 1);
  // Lining up takes two controls, spacing three.
  size_t selected = designing ? CurrentDesigner()->Selection().size() : 0;
  for (const char* name : {"actAlignLeft", "actAlignRight", "actAlignTop", "actAlignBottom",
                           "actAlignHCenter", "actAlignVCenter", "actSameWidth", "actSameHeight"})
    Command(name)->setEnabled(selected >= 2);
  for (const char* name : {"actSpaceAcross", "actSpaceDown"})
    Command(name)->setEnabled(selected >= 3);
  // The Edit menu says what it would take back or again: "Undo Move HyperTxt1".
  // A frame added or removed is taken back from whichever frame is designed.
  const std::string undo = open ? FSession->UndoLatestName(FCurrent) : std::string();
  const std::string redo = open ? FSession->RedoLatestName(FCurrent) : std::string();
  Command("actUndo")->setEnabled(!undo.empty());
  Command("actUndo")->setText(undo.empty() ? tr("&Undo") : tr("&Undo %1").arg(Text(undo)));
  Command("actRedo")->setEnabled(!redo.empty());
  Command("actRedo")->setText(redo.empty() ? tr("&Redo") : tr("&Redo %1").arg(Text(redo)));
  // The experts work on the open project.
  for (QAction* action : FExpertsMenu->actions()) action->setEnabled(open);

  QString title = tr("Mebrox Studio");
  if (open) {
    title += " - " + QFileInfo(Text(FSession->ProjectPath())).fileName();
    if (FSession->Modified()) title += " *";
  }
  setWindowTitle(title);
}

// ---- the project

bool QtStudioWindow::OpenProject(const QString& path) {
  const QString oldDir = QDir::currentPath();
  std::unique_ptr<ide::TDesignSession> session;
  try {
    if (!EnterProjectFolder(path))
      throw host::EInOutError("Cannot enter the folder of " + path.toStdString());
    session = ide::OpenForDesign(FCore, fs::absolute(path.toStdString()).string());
  } catch (const std::exception& e) {
    QDir::setCurrent(oldDir);
    ShowError(tr("Open Project"), e);
    return false;
  }
  // The designer chose to leave it closed, its changes from before kept for later.
  if (!session) {
    QDir::setCurrent(oldDir);
    return false;
  }
  const QString newDir = QDir::currentPath();
  QDir::setCurrent(oldDir);
  if (!CloseProject()) return false;
  QDir::setCurrent(newDir);

  FSession = std::move(session);
  FCore.SetToolServices(FSession.get());
  FSession->OnModified.Add([this](host::TForm& form) { Changed(form); });
  // A frame made now (New Frame, the Action wizard) opens where it hides nothing.
  FSession->OnFormOpened.Add([this](host::TForm& form) {
    Attach(form);
    // A frame that comes back into the project (Undo Remove Frame) comes back where it was.
    const ide::TDesignModule* module = FSession->ModuleOf(form);
    if (QWidget* window = host::qt::WidgetOf(form); window && module && module->New)
      PlaceNewFrame(*window);
  });
  FSession->OnFormClosing.Add([this](host::TForm& form) { Forget(form); });
  FSession->OnProjectChanged.Add([this] {
    if (!FCurrent)
      for (const ide::TDesignModule& module : FSession->Modules())
        if (module.Form) {
          SetCurrentForm(module.Form);
          break;
        }
    ScheduleAutosave();
    FProjectManager->Show(FSession.get());
    UpdateCommands();
  });
  host::TForm* first = nullptr;
  for (const ide::TDesignModule& module : FSession->Modules())
    if (module.Form) {
      Attach(*module.Form);
      if (!first) first = module.Form;
    }
  FProjectManager->Show(FSession.get());
  FSettings.AddRecentProject(Text(FSession->ProjectPath()));
  ReloadRecent();
  SetCurrentForm(first);
  return true;
}

bool QtStudioWindow::NewProject(const QString& path) {
  try {
    ide::CreateNewProject(path.toStdString());
  } catch (const std::exception& e) {
    ShowError(tr("New Project"), e);
    return false;
  }
  return OpenProject(path);
}

bool QtStudioWindow::SaveProject() {
  if (!FSession) return false;
  try {
    FSession->Save();
  } catch (const std::exception& e) {
    ShowError(tr("Save"), e);
    return false;
  }
  FProjectManager->Show(FSession.get());
  UpdateCommands();
  return true;
}

bool QtStudioWindow::SaveProjectAs(const QString& path) {
  if (!FSession) return false;
  try {
    FSession->SaveAs(path.toStdString());
  } catch (const std::exception& e) {
    ShowError(tr("Save Project As"), e);
    return false;
  }
  EnterProjectFolder(Text(FSession->ProjectPath()));
  FSettings.AddRecentProject(Text(FSession->ProjectPath()));
  ReloadRecent();
  FProjectManager->Show(FSession.get());
  UpdateCommands();
  return true;
}

bool QtStudioWindow::CloseProject() {
  if (!FSession) return true;
  if (FSession->Modified()) {
    int answer = OnAskSave(
        tr("Save the changes to %1?").arg(QFileInfo(Text(FSession->ProjectPath())).fileName()));
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save && !SaveProject()) return false;
    if (answer == QMessageBox::Discard) FSession->DiscardRecovery();
  }
  FAutosaveTimer.stop();
  FFirstUnkept.invalidate();
  Detach();
  FSession.reset();
  FProjectManager->Show(nullptr);
  UpdateCommands();
  return true;
}

void QtStudioWindow::Forget(host::TForm& form) {
  if (FCurrent == &form) {
    FPropertyPanel->Inspect(nullptr);
    FCurrent = nullptr;
  }
  std::erase_if(FFormWindows, [&](const auto& entry) {
    if (entry.second != &form) return false;
    entry.first->removeEventFilter(this);
    return true;
  });
  FOverlays.erase(&form);
}

bool QtStudioWindow::RemoveFrame(host::TForm* form) {
  if (!FSession || !form) return false;
  const std::vector<std::string> links = FSession->LinksTo(*form);
  // A frame never saved has no files to keep it: said plainly, since its design goes with it.
  const ide::TDesignModule* module = FSession->ModuleOf(*form);
  // Its files keep it only as last saved: said plainly when they do not hold all of it.
  const QString kept =
      module && module->New
          ? tr("It has never been saved, so nothing keeps its design once the studio closes; "
               "until then Undo brings it back.")
      : FSession->Modified(*form)
          ? tr("Its files stay on disk as last saved: the changes made since are kept only until "
               "the studio closes, and Undo brings them back.")
          : tr("Its files stay on disk, and Undo brings it back.");
  QString question = tr("Remove %1 from the project? %2").arg(Text(form->Name()), kept);
  if (!links.empty()) {
    QStringList names;
    for (const std::string& link : links) names << Text(link);
    question += "\n\n" + tr("Still going to it: %1").arg(names.join(", "));
  }
  if (!OnConfirm(tr("Remove Frame"), question)) return false;
  try {
    FSession->RemoveFrame(*form);
  } catch (const std::exception& e) {
    ShowError(tr("Remove Frame"), e);
    return false;
  }
  return true;
}

host::TForm* QtStudioWindow::AddExistingFrame(const QString& unitFile) {
  if (!FSession) return nullptr;
  host::TForm* form = nullptr;
  std::vector<std::string> copied;
  try {
    form = &FSession->AddExistingFrame(unitFile.toStdString(), &copied);
  } catch (const std::exception& e) {
    ShowError(tr("Add Existing Frame"), e);
    return nullptr;
  }
  SetCurrentForm(form);
  // Files written into the project folder are said, as for a wave picked from elsewhere.
  if (!copied.empty()) {
    QStringList names;
    for (const std::string& file : copied) names << Text(file);
    OnMessage(tr("Add Existing Frame"),
              tr("%1 came from another folder: copied into the project folder are %2.")
                  .arg(Text(form->Name()), names.join(", ")));
  }
  return form;
}

void QtStudioWindow::Detach() {
  FPropertyPanel->Inspect(nullptr);
  FCurrent = nullptr;
  for (auto& [window, form] : FFormWindows) window->removeEventFilter(this);
  FFormWindows.clear();
  // The overlays belong to the frames' windows and go with them.
  FOverlays.clear();
}

host::TForm* QtStudioWindow::NewFrame() {
  if (!FSession) return nullptr;
  host::TForm* form = nullptr;
  host::HandleEvents([&] { form = ide::AddEmptyFrame(*FSession); });
  if (!form) {
    OnMessage(tr("New Frame"), tr("The project takes no new frame: its unit names are used up."));
    return nullptr;
  }
  FProjectManager->Show(FSession.get());
  SetCurrentForm(form);
  return form;
}

QString QtStudioWindow::RunProgramPath() const {
  if (!FOptions.RunProgram.isEmpty()) return FOptions.RunProgram;
  const QString dir = QCoreApplication::applicationDirPath();
  // Installed side by side, or in the build tree's sibling folder.
  for (const QString& candidate : {dir + "/mebrox-run", dir + "/../run/mebrox-run"})
    if (QFileInfo(candidate).isExecutable()) return QDir::cleanPath(candidate);
  return "mebrox-run";
}

bool QtStudioWindow::RunProject() {
  if (!FSession) return false;
  if (FRun.state() != QProcess::NotRunning) {
    OnMessage(tr("Run"), tr("The application is running already."));
    return false;
  }
  if (FSession->Modified() && !SaveProject()) return false;
  FRun.setWorkingDirectory(Text(FSession->Folder()));
  FRun.start(RunProgramPath(), {Text(FSession->ProjectPath())});
  return true;
}

bool QtStudioWindow::PublishProject() {
  if (!FSession) return false;
  const QString title = tr("Publish to Web");
  if (FPublish.state() != QProcess::NotRunning) {
    OnMessage(title, tr("The project is being published already."));
    return false;
  }
  if (FSession->Modified() && !SaveProject()) return false;
  QString folder = OnChooseFolder(title);
  if (folder.isEmpty()) return false;
  QStringList args = {"--export-html", folder};
  QDir dir(folder);
  if (dir.exists() && !dir.isEmpty()) {
    if (!OnConfirm(title, tr("%1 is not empty. Replace everything it holds with the published "
                             "application?")
                              .arg(folder)))
      return false;
    args << "--force";
  }
  args << Text(FSession->ProjectPath());
  FPublish.setWorkingDirectory(Text(FSession->Folder()));
  FPublish.start(RunProgramPath(), args);
  return true;
}

// ---- the frames

QtDesignOverlay* QtStudioWindow::OverlayOf(const host::TForm& form) const {
  auto it = FOverlays.find(&form);
  return it == FOverlays.end() ? nullptr : it->second.data();
}

ide::TFormDesigner* QtStudioWindow::CurrentDesigner() const {
  return FSession && FCurrent ? &FSession->FormDesignerOf(*FCurrent) : nullptr;
}

void QtStudioWindow::SetCurrentForm(host::TForm* form) {
  if (form != FCurrent) {
    FCurrent = form;
    FPropertyPanel->Inspect(CurrentDesigner());
  }
  UpdateCommands();
}

void QtStudioWindow::Attach(host::TForm& form) {
  ide::TFormDesigner& designer = FSession->FormDesignerOf(form);
  host::HandleEvents([&] { form.Show(); });
  QWidget* window = host::qt::WidgetOf(form);
  if (!window) return;
  KeepOnScreen(*window);
  window->installEventFilter(this);
  FFormWindows[window] = &form;
  // The menus' shortcuts work while a frame's window has the keyboard.
  for (QAction* action : findChildren<QAction*>())
    if (!action->shortcut().isEmpty()) window->addAction(action);
  auto* overlay = new QtDesignOverlay(form, designer);
  overlay->OnError = [this](const std::string& text) { OnMessage(tr("Drop"), Text(text)); };
  FOverlays[&form] = overlay;

  designer.PaletteClass = [this] { return FPalette->Chosen(); };
  designer.OnDropped = [this](host::TComponent&) { FPalette->Choose(nullptr); };
  designer.OnSelectionChanged.Add([this, &form, overlay = QPointer<QtDesignOverlay>(overlay)] {
    if (overlay) overlay->Changed();
    if (FCurrent != &form)
      SetCurrentForm(&form);
    else
      FPropertyPanel->Inspect(CurrentDesigner());
    UpdateCommands();
  });

  designer.OnDragging = [this, &form, overlay = QPointer<QtDesignOverlay>(overlay)] {
    if (overlay) overlay->Changed();
    if (FCurrent == &form) FPropertyPanel->Refresh();
  };
  designer.OnContextMenu = [this](host::TComponent& component, host::TPoint) {
    ShowContextMenu(component);
  };
}

QRect QtStudioWindow::ScreenArea() const {
  QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  return shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
}

void QtStudioWindow::KeepOnScreen(QWidget& window) {
  // A frame placed on a larger screen, or at another scale, would open out of reach. Moved, it
  // keeps its new place as a frame moved by hand does; one within reach stays where it is.
  const QRect frame = window.frameGeometry(), screen = ScreenArea();
  if (!WithinReach(screen, frame)) window.move(OnScreen(screen, frame).topLeft());
}

void QtStudioWindow::PlaceNewFrame(QWidget& window) {
  std::vector<QRect> taken;
  if (isVisible()) taken.push_back(frameGeometry());
  for (const auto& [other, form] : FFormWindows)
    if (other != &window && static_cast<QWidget*>(other)->isVisible())
      taken.push_back(static_cast<QWidget*>(other)->frameGeometry());
  window.move(FreePlace(ScreenArea(), window.frameGeometry().size(), taken));
}

void QtStudioWindow::ScheduleAutosave() {
  if (!FFirstUnkept.isValid()) FFirstUnkept.start();
  qint64 left = AutosaveLongest - FFirstUnkept.elapsed();
  FAutosaveTimer.start(static_cast<int>(std::clamp<qint64>(left, 0, AutosavePause)));
}

void QtStudioWindow::Autosave() {
  FFirstUnkept.invalidate();
  if (!FSession) return;
  // The forms' texts are taken here, the disk is written on a thread of its own.
  try {
    FSession->KeepRecovery(true);
  } catch (const std::exception& e) {
    statusBar()->showMessage(tr("Unsaved changes could not be kept for recovery: %1")
                                 .arg(QString::fromStdString(e.what())));
  }
}

void QtStudioWindow::Changed(host::TForm& form) {
  ScheduleAutosave();
  if (QtDesignOverlay* overlay = OverlayOf(form)) overlay->Changed();
  if (&form == FCurrent) FPropertyPanel->Inspect(CurrentDesigner());
  FProjectManager->Show(FSession.get());
  UpdateCommands();
}

void QtStudioWindow::ShowContextMenu(host::TComponent& component) {
  ide::TFormDesigner* designer = CurrentDesigner();
  if (!designer) return;
  QMenu menu(this);
  std::unique_ptr<ide::TComponentEditor> editor;
  host::HandleEvents([&] { editor = ide::CreateComponentEditor(component, *designer); });
  if (editor) {
    for (int i = 0; i < editor->GetVerbCount(); ++i) {
      QAction* action = menu.addAction(Text(editor->GetVerb(i)));
      connect(action, &QAction::triggered, this,
              [&editor, i] { host::HandleEvents([&] { editor->ExecuteVerb(i); }); });
    }
    if (editor->GetVerbCount() > 0) menu.addSeparator();
  }
  for (const char* name : {"actCut", "actCopy", "actPaste", "actDelete"})
    menu.addAction(Command(name));
  menu.addSeparator();
  menu.addAction(Command("actFront"));
  menu.addAction(Command("actBack"));
  menu.exec(QCursor::pos());
}

void QtStudioWindow::EditCommand(const std::function<void(ide::TFormDesigner&)>& command) {
  if (ide::TFormDesigner* designer = CurrentDesigner())
    host::HandleEvents([&] { command(*designer); });
}

void QtStudioWindow::Paste() {
  ide::TFormDesigner* designer = CurrentDesigner();
  if (!designer) return;
  std::string text = QApplication::clipboard()->text().toStdString();
  if (text.empty()) return;
  try {
    designer->Paste(text);
  } catch (const std::exception& e) {
    OnMessage(tr("Paste"),
              tr("The clipboard holds no components to paste here.\n%1").arg(Text(e.what())));
  }
}

void QtStudioWindow::SelectAll() {
  ide::TFormDesigner* designer = CurrentDesigner();
  if (!designer) return;
  designer->ClearSelection();
  for (host::TComponent* component : FCurrent->ComponentList())
    if (!designer->IsSelected(component)) designer->Select(component, true);
}

void QtStudioWindow::ShowError(const QString& title, const std::exception& e) {
  OnMessage(title, Text(e.what()));
}

// ---- window events

bool QtStudioWindow::eventFilter(QObject* watched, QEvent* event) {
  auto it = FFormWindows.find(watched);
  if (it == FFormWindows.end()) return QMainWindow::eventFilter(watched, event);
  host::TForm& form = *it->second;
  switch (event->type()) {
    case QEvent::WindowActivate:
      SetCurrentForm(&form);
      break;
    case QEvent::MouseButtonPress:
      // A frame worked on is the active window, also where no window manager makes it so.
      static_cast<QWidget*>(watched)->activateWindow();
      SetCurrentForm(&form);
      break;
    case QEvent::KeyPress: {
      // Keys design the frame; its controls never see them.
      host::TKeyEventRecord key = host::qt::ToKeyRecord(*static_cast<QKeyEvent*>(event));
      ide::TFormDesigner& designer = FSession->FormDesignerOf(form);
      host::HandleEvents([&] { designer.HandleKey(key.Key, key.Shift); });
      return true;
    }
    case QEvent::KeyRelease:
      return true;
    case QEvent::Close:
      // Closing a frame's window puts it away; the project manager brings it back.
      host::HandleEvents([&] { form.Hide(); });
      event->ignore();
      return true;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void QtStudioWindow::closeEvent(QCloseEvent* event) {
  if (!CloseProject()) {
    event->ignore();
    return;
  }
  FSettings.SetValue("Window/Geometry", saveGeometry());
  FSettings.SetValue("Window/State", saveState());
  event->accept();
}

}  // namespace mebrox::studio
