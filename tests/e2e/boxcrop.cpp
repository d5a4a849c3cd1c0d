// Finds a window on a screenshot of a plain-coloured desktop: prints the bounding box of the
// pixels unlike the top-left one as "X Y W H" and writes that part of the picture, for the
// checks that have no window system to ask where a window is (Wayland).
//
// usage: boxcrop SCREENSHOT.png OUTPUT.png
// Exit status 0 when written, 1 when the picture is all one colour, 2 on a usage or file error.
#include <QImage>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: boxcrop SCREENSHOT.png OUTPUT.png\n");
    return 2;
  }
  const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  if (shot.isNull()) {
    std::fprintf(stderr, "boxcrop: cannot read %s\n", argv[1]);
    return 2;
  }
  const QRgb desktop = shot.pixel(0, 0);
  int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
  for (int y = 0; y < shot.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
    for (int x = 0; x < shot.width(); ++x) {
      if (line[x] == desktop) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    std::printf("none\n");
    return 1;
  }
  const QRect box(QPoint(left, top), QPoint(right, bottom));
  if (!shot.copy(box).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "boxcrop: cannot write %s\n", argv[2]);
    return 2;
  }
  std::printf("%d %d %d %d\n", box.x(), box.y(), box.width(), box.height());
  return 0;
}
