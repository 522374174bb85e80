#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace mebrox::studio {

// What the studio remembers between runs, in the user's configuration folder: the projects
// opened last and where its windows were.
class TStudioSettings {
 public:
  static constexpr int MaxRecentProjects = 8;

  // fileName: an INI file; empty for the user's own (mebrox/mebrox-studio.ini in the
  // configuration folder).
  explicit TStudioSettings(const QString& fileName = QString());

  // Most recent first, as absolute paths.
  QStringList RecentProjects() const;
  void AddRecentProject(const QString& path);
  void RemoveRecentProject(const QString& path);

  QByteArray Value(const QString& key) const;
  void SetValue(const QString& key, const QByteArray& value);

  QString FileName() const { return FSettings.fileName(); }

 private:
  void SetRecentProjects(const QStringList& paths);
  QSettings FSettings;
};

}  // namespace mebrox::studio
