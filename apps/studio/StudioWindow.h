#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "apps/studio/StudioSettings.h"
#include "ide/DesignSession.h"

class QMenu;

namespace mebrox::studio {

class QtDesignOverlay;
class QtPropertyPanel;
class QtPaletteBar;
class QtProjectManager;

struct TStudioOptions {
  QString SettingsFile;  // empty: the user's own
  QString RunProgram;    // mebrox-run; empty: the one installed beside this program
};

// The windowed studio: menus, the palette, the object inspector and the project manager over
// one design session, with each frame of the project in a window of its own, designed in place.
class QtStudioWindow : public QMainWindow {
 public:
  // The studio fronts core, which must outlive it: its palette, editors and experts are what was
  // registered there, and the project it opens is installed there for the experts.
  explicit QtStudioWindow(ide::TDesignCore& core, TStudioOptions options = {});
  ~QtStudioWindow() override;

  // Each of these reports a failure through OnMessage and leaves the studio as it was; false
  // then, or when the designer cancels.
  bool OpenProject(const QString& path);
  bool NewProject(const QString& path);
  bool SaveProject();
  bool SaveProjectAs(const QString& path);
  // Asks first when something is not saved.
  bool CloseProject();
  host::TForm* NewFrame();
  // Asks, naming what still goes to the frame, then takes it out of the project.
  bool RemoveFrame(host::TForm* form);
  // Brings a frame whose unit is on disk (one removed earlier, or another project's) into the
  // project and designs it; null when it cannot join, after saying why.
  host::TForm* AddExistingFrame(const QString& unitFile);
  // Saves, then runs the project in mebrox-run; its errors are shown when it fails.
  bool RunProject();

  ide::TDesignSession* Session() const { return FSession.get(); }
  // The frame the edit commands work on: the one designed last.
  host::TForm* CurrentForm() const { return FCurrent; }
  void SetCurrentForm(host::TForm* form);
  ide::TFormDesigner* CurrentDesigner() const;

  QtPaletteBar& Palette() const { return *FPalette; }
  QtPropertyPanel& PropertyPanel() const { return *FPropertyPanel; }
  QtProjectManager& ProjectManager() const { return *FProjectManager; }
  QtDesignOverlay* OverlayOf(const host::TForm& form) const;
  // A command of the menus by its object name ("actSave"), for the keyboard and for tests.
  QAction* Command(const QString& name) const;
  QMenu* ExpertsMenu() const { return FExpertsMenu; }
  QMenu* RecentMenu() const { return FRecentMenu; }
  const QProcess& RunProcess() const { return FRun; }
  // Saves what is not saved, asks for a folder, and publishes the project there as a web folder
  // through mebrox-run --export-html; what it says comes back as a message. A folder that is not
  // empty is replaced only when the designer says so. False when nothing was started.
  bool PublishProject();
  const QProcess& PublishProcess() const { return FPublish; }
  // What is not saved goes to the recovery file this long after the designer's last change, and
  // no later than the longest wait after the first change not kept yet, however busy they are.
  static constexpr int AutosavePause = 1500;
  static constexpr int AutosaveLongest = 5000;
  const QTimer& AutosaveTimer() const { return FAutosaveTimer; }
  // What the timer does when it runs out: keeps what is not saved in the recovery file.
  void Autosave();

  // How the studio talks to the designer; tests answer in their place.
  std::function<void(const QString& title, const QString& text)> OnMessage;
  // Save, Discard or Cancel (QMessageBox::StandardButton).
  std::function<int(const QString& question)> OnAskSave;
  // Yes (true) or No to a question.
  std::function<bool(const QString& title, const QString& question)> OnConfirm;
  // A file to open (save false) or to write (save true); empty when cancelled.
  std::function<QString(bool save, const QString& title, const QString& filter)> OnChooseFile;
  // A folder to write into; empty when cancelled.
  std::function<QString(const QString& title)> OnChooseFolder;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, const QString& name, const QString& text,
                      const QKeySequence& key, std::function<void()> run);
  void ReloadExperts();
  void ReloadRecent();
  void Attach(host::TForm& form);
  // The part of the studio's screen windows may take.
  QRect ScreenArea() const;
  // Moves a frame's window onto the screen when it lies out of reach there.
  void KeepOnScreen(QWidget& window);
  // Moves a new frame's window where it covers neither the studio nor another frame.
  void PlaceNewFrame(QWidget& window);
  void Detach();
  // Lets go of a frame whose form is about to close.
  void Forget(host::TForm& form);
  void ShowContextMenu(host::TComponent& component);
  void EditCommand(const std::function<void(ide::TFormDesigner&)>& command);
  void Paste();
  void SelectAll();
  void Changed(host::TForm& form);
  void ScheduleAutosave();
  void UpdateCommands();
  void ShowError(const QString& title, const std::exception& e);
  QString RunProgramPath() const;

  ide::TDesignCore& FCore;
  TStudioOptions FOptions;
  TStudioSettings FSettings;
  std::unique_ptr<ide::TDesignSession> FSession;
  host::TForm* FCurrent = nullptr;
  QtPaletteBar* FPalette = nullptr;
  QtPropertyPanel* FPropertyPanel = nullptr;
  QtProjectManager* FProjectManager = nullptr;
  QMenu* FExpertsMenu = nullptr;
  QMenu* FRecentMenu = nullptr;
  std::map<const host::TForm*, QPointer<QtDesignOverlay>> FOverlays;
  std::map<QObject*, host::TForm*> FFormWindows;
  QProcess FRun;
  QProcess FPublish;
  QTimer FAutosaveTimer;
  QElapsedTimer FFirstUnkept;  // since the first change not yet kept; invalid when none
};

}  // namespace mebrox::studio
