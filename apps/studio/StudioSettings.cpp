#include "apps/studio/StudioSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mebrox::studio {

namespace {

QString UserSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/mebrox/mebrox-studio.ini";
}

QString Absolute(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

TStudioSettings::TStudioSettings(const QString& fileName)
    : FSettings(fileName.isEmpty() ? UserSettingsFile() : fileName, QSettings::IniFormat) {}

QStringList TStudioSettings::RecentProjects() const {
  QStringList paths;
  // Read leniently: a hand-edited list may hold blanks and repeats.
  for (const QString& path : FSettings.value("Recent/Projects").toStringList())
    if (!path.trimmed().isEmpty() && !paths.contains(Absolute(path))) paths << Absolute(path);
  while (paths.size() > MaxRecentProjects) paths.removeLast();
  return paths;
}

void TStudioSettings::AddRecentProject(const QString& path) {
  QStringList paths = RecentProjects();
  paths.removeAll(Absolute(path));
  paths.prepend(Absolute(path));
  SetRecentProjects(paths);
}

void TStudioSettings::RemoveRecentProject(const QString& path) {
  QStringList paths = RecentProjects();
  paths.removeAll(Absolute(path));
  SetRecentProjects(paths);
}

void TStudioSettings::SetRecentProjects(const QStringList& paths) {
  FSettings.setValue("Recent/Projects", paths.mid(0, MaxRecentProjects));
  FSettings.sync();
}

QByteArray TStudioSettings::Value(const QString& key) const {
  return FSettings.value(key).toByteArray();
}

void TStudioSettings::SetValue(const QString& key, const QByteArray& value) {
  FSettings.setValue(key, value);
  FSettings.sync();
}

}  // namespace mebrox::studio
