// Saves a picture of one X window (by id) or of the whole screen (id 0) as PNG: the headless
// run and the end-to-end checks look at the program through it.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xshot WINDOW_ID OUTPUT.png\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  bool ok = false;
  const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0);
  if (!ok) {
    std::fprintf(stderr, "xshot: not a window id: %s\n", argv[1]);
    return 2;
  }
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "xshot: could not save %s\n", argv[2]);
    return 1;
  }
  return 0;
}
