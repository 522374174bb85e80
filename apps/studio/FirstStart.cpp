#include "apps/studio/FirstStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "apps/studio/StudioSettings.h"
#include "apps/studio/StudioWindow.h"

namespace mebrox::studio {

namespace fs = std::filesystem;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("FirstStart", text);
}

fs::path PathOf(const QString& path) {
  return fs::path(path.toStdString());
}

QString Text(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// The project file of a project folder: its first .dpr by name; empty when it holds none.
fs::path ProjectIn(const fs::path& folder) {
  std::vector<fs::path> projects;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && it->path().extension() == ".dpr") projects.push_back(it->path());
  std::sort(projects.begin(), projects.end());
  return projects.empty() ? fs::path() : projects.front();
}

// The example projects of an examples folder: its subfolders that hold a project, by name.
std::vector<fs::path> ExampleProjects(const fs::path& examples) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (fs::directory_iterator it(examples, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_directory(ec) && !ProjectIn(it->path()).empty()) folders.push_back(it->path());
  std::sort(folders.begin(), folders.end());
  return folders;
}

// A copy of an example as it ships: without the run-state file a run beside it may have left.
void CopyExample(const fs::path& from, const fs::path& to, std::error_code& ec) {
  fs::create_directories(to, ec);
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& source = it->path();
    std::string extension = source.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::toupper);
    if (extension == ".RUN") continue;
    if (it->is_directory(ec))
      CopyExample(source, to / source.filename(), ec);
    else
      fs::copy_file(source, to / source.filename(), ec);
    if (ec) return;
  }
}

}  // namespace

QString ExamplesBeside(const QString& programDir) {
  const fs::path dir = PathOf(programDir);
  for (const fs::path& candidate :
       {dir / ".." / "share" / "mebrox" / "examples", dir / ".." / ".." / "examples"})
    if (!ExampleProjects(candidate).empty()) return Text(candidate.lexically_normal());
  return QString();
}

TFirstStartPlaces UserFirstStartPlaces() {
  TFirstStartPlaces places;
  places.Examples = ExamplesBeside(QCoreApplication::applicationDirPath());
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  places.WorkFolder = documents + "/Mebrox";
  return places;
}

bool ShouldOfferFirstStart(const QString& settingsFile) {
  return TStudioSettings(settingsFile).RecentProjects().isEmpty();
}

QString ExampleCopy(const TFirstStartPlaces& places, const QString& example, QString& error) {
  const fs::path source = PathOf(places.Examples) / PathOf(example);
  const fs::path target = PathOf(places.WorkFolder) / "Examples" / PathOf(example);
  fs::path project = ProjectIn(target);
  if (!project.empty()) return Text(project);
  if (ProjectIn(source).empty()) {
    error = Tr("There is no example %1 in %2.").arg(example, places.Examples);
    return QString();
  }
  // Copied under another name and then renamed, so that a copy cut short is never taken for
  // the designer's own.
  const fs::path partial = target.parent_path() / ("." + target.filename().string() + ".partial");
  std::error_code ec;
  fs::remove_all(partial, ec);
  CopyExample(source, partial, ec);
  // An empty folder of that name gives way; one with something else in it stops the copy.
  if (!ec) fs::rename(partial, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove_all(partial, ignored);
    error = Tr("The example could not be copied to %1: %2")
                .arg(Text(target), QString::fromStdString(ec.message()));
    return QString();
  }
  return Text(ProjectIn(target));
}

QString FreshProjectPath(const QString& workFolder) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    QString name = QString("Project%1").arg(n);
    fs::path folder = PathOf(workFolder) / PathOf(name);
    // A folder that cannot be looked at is offered too: making it says why it cannot be.
    if (!fs::exists(folder, ec)) return Text(folder / PathOf(name + ".dpr"));
  }
}

bool CarryOutFirstStart(QtStudioWindow& window, TFirstStartChoice choice,
                        const TFirstStartPlaces& places) {
  if (choice == TFirstStartChoice::NotNow) return false;
  if (choice == TFirstStartChoice::NewProject) {
    QString project = FreshProjectPath(places.WorkFolder);
    if (!QDir().mkpath(QFileInfo(project).path())) {
      window.OnMessage(Tr("New Project"),
                       Tr("The folder %1 could not be made.").arg(QFileInfo(project).path()));
      return false;
    }
    return window.NewProject(project);
  }
  std::vector<fs::path> examples = places.Examples.isEmpty()
                                       ? std::vector<fs::path>()
                                       : ExampleProjects(PathOf(places.Examples));
  if (examples.empty()) {
    window.OnMessage(Tr("Examples"), Tr("No examples were installed with the studio."));
    return false;
  }
  QString first;
  for (const fs::path& example : examples) {
    QString error;
    QString project = ExampleCopy(places, Text(example.filename()), error);
    if (project.isEmpty()) {
      window.OnMessage(Tr("Examples"), error);
      return false;
    }
    if (first.isEmpty()) first = project;
  }
  return window.OpenProject(first);
}

QMessageBox* OfferFirstStart(QtStudioWindow& window, const TFirstStartPlaces& places) {
  auto* box = new QMessageBox(&window);
  box->setObjectName("FirstStartOffer");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setIcon(QMessageBox::Question);
  box->setWindowTitle(Tr("Mebrox Studio"));
  box->setText(Tr("Welcome to Mebrox Studio."));
  box->setInformativeText(
      Tr("Open the examples to see what the kit does, or start a project of your own. Either "
         "goes into %1, where you can change it at will.")
          .arg(QDir::toNativeSeparators(places.WorkFolder)));
  QPushButton* examples = nullptr;
  if (!places.Examples.isEmpty()) {
    examples = box->addButton(Tr("Open the Examples"), QMessageBox::AcceptRole);
    examples->setObjectName("OpenExamples");
  }
  QPushButton* fresh = box->addButton(Tr("New Project"), QMessageBox::AcceptRole);
  fresh->setObjectName("NewProject");
  QPushButton* later = box->addButton(Tr("Not Now"), QMessageBox::RejectRole);
  later->setObjectName("NotNow");
  box->setDefaultButton(examples ? examples : fresh);
  QObject::connect(box, &QMessageBox::buttonClicked, &window,
                   [&window, places, examples, fresh](QAbstractButton* button) {
                     TFirstStartChoice choice = button == examples ? TFirstStartChoice::OpenExamples
                                                : button == fresh  ? TFirstStartChoice::NewProject
                                                                   : TFirstStartChoice::NotNow;
                     CarryOutFirstStart(window, choice, places);
                   });
  box->open();
  return box;
}

}  // namespace mebrox::studio
