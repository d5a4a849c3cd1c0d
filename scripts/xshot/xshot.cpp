// Saves a picture of one X window (by id) or of the whole screen (id 0) as PNG, and checks such
// a picture: the headless run and the end-to-end checks look at the program through it.
//
// usage: xshot WINDOW_ID OUTPUT.png
//        xshot --painted PICTURE.png      the window in the picture has been painted
//        xshot --disc SIZE PICTURE.png    a SIZE x SIZE painted disc, the corners plain root
// Exit status 0 when saved or when the check holds, 1 when not, 2 on a usage or file error.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstring>

#include "PictureCheck.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: xshot WINDOW_ID OUTPUT.png\n"
               "       xshot --painted PICTURE.png\n"
               "       xshot --disc SIZE PICTURE.png\n");
  return 2;
}

int Report(const char* path, const xshot::Verdict& verdict) {
  if (verdict.ok) return 0;
  std::printf("%s: %s\n", path, verdict.reason.c_str());
  return 1;
}

int Check(int argc, char* argv[]) {
  const bool disc = std::strcmp(argv[1], "--disc") == 0;
  if (argc != (disc ? 4 : 3)) return Usage();
  int size = 0;
  if (disc) {
    bool ok = false;
    size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    if (!ok || size <= 0) return Usage();
  }
  const char* path = argv[argc - 1];
  const QImage picture(QString::fromLocal8Bit(path));
  if (picture.isNull()) {
    std::fprintf(stderr, "xshot: cannot read the picture %s\n", path);
    return 2;
  }
  return Report(path, disc ? xshot::CheckDisc(picture, size) : xshot::CheckPainted(picture));
}

int Shoot(int argc, char* argv[]) {
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

}  // namespace

int main(int argc, char* argv[]) {
  if (argc >= 2 &&
      (std::strcmp(argv[1], "--painted") == 0 || std::strcmp(argv[1], "--disc") == 0)) {
    return Check(argc, argv);
  }
  if (argc != 3) return Usage();
  return Shoot(argc, argv);
}
