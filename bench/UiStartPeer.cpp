// The Qt side of the whole-process start-up comparison: a Qt Widgets program that loads every
// .ui file of a folder with QUiLoader, shows the first form as mebrox-run shows its main frame,
// lets it paint, frees the forms and ends.
//   ui_start_peer FOLDER
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <QtUiTools/QUiLoader>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Usage: ui_start_peer FOLDER\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  QUiLoader loader;
  loader.setWorkingDirectory(folder);
  std::vector<std::unique_ptr<QWidget>> forms;
  for (const QString& name : folder.entryList({"*.ui"}, QDir::Files, QDir::Name)) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return 1;
    forms.emplace_back(loader.load(&file));
    if (!forms.back()) return 1;
  }
  if (forms.empty()) return 1;
  forms.front()->show();
  QApplication::processEvents();
  forms.clear();
  return 0;
}
