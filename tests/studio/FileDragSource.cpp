// A file manager's drag, for the real-window tests: a small window of another process that,
// pressed and moved, drags the files named on its command line as file:// URLs, offering copy,
// move and link with move proposed, as file managers do.
//
//   mebrox_file_drag_source X Y FILE...
//
// It prints "ready" once its window shows at (X, Y), and "done ACTION" (copy, move, link or
// ignore) when the drag has ended. It goes on running until it is ended, as a file manager
// does: the target reads the files' names from it after the drop.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class QtFileDragSource final : public QWidget {
 public:
  explicit QtFileDragSource(QStringList files) : FFiles(std::move(files)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(80, 80);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(40, 90, 200));
  }
  void mousePressEvent(QMouseEvent*) override { FPressed = true; }
  void mouseMoveEvent(QMouseEvent*) override {
    if (!FPressed) return;
    FPressed = false;
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& file : FFiles) urls << QUrl::fromLocalFile(file);
    mime->setUrls(urls);
    mime->setText(FFiles.join('\n'));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    Qt::DropAction action =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    const char* name = action == Qt::CopyAction   ? "copy"
                       : action == Qt::MoveAction ? "move"
                       : action == Qt::LinkAction ? "link"
                                                  : "ignore";
    std::printf("done %s\n", name);
    std::fflush(stdout);
  }

 private:
  QStringList FFiles;
  bool FPressed = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.size() < 3) {
    std::fprintf(stderr, "Use: %s X Y FILE...\n", argv[0]);
    return 2;
  }
  QtFileDragSource source(args.mid(2));
  source.move(args[0].toInt(), args[1].toInt());
  source.show();
  QTimer::singleShot(200, [] {
    std::printf("ready\n");
    std::fflush(stdout);
  });
  return app.exec();
}
