// Tells where two screenshots of the same window differ: prints the bounding box of the pixels
// that changed as "X Y W H", or "none" when none did. A check takes two pictures some time apart
// and learns what moved meanwhile, and that nothing else did.
//
// usage: pixeldiff BEFORE.png AFTER.png
// Exit status 0 when the pictures could be compared, 2 when not (unreadable, different sizes).
#include <QImage>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pixeldiff BEFORE.png AFTER.png\n");
    return 2;
  }
  const QImage before =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  const QImage after =
      QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
  if (before.isNull() || after.isNull() || before.size() != after.size()) {
    std::fprintf(stderr, "pixeldiff: unreadable pictures, or pictures of different sizes\n");
    return 2;
  }
  int left = before.width(), top = before.height(), right = -1, bottom = -1;
  for (int y = 0; y < before.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
    for (int x = 0; x < before.width(); ++x) {
      if (a[x] == b[x]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    std::printf("none\n");
  } else {
    std::printf("%d %d %d %d\n", left, top, right - left + 1, bottom - top + 1);
  }
  return 0;
}
