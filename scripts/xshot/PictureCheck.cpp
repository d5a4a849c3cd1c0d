#include "PictureCheck.h"

#include <QColor>
#include <QSet>
#include <cmath>
#include <string>

namespace xshot {

namespace {

// A painted window shows a picture, text and lines: far more colours than this.
constexpr int kMinColours = 8;

// The window's shape is a bitmap that follows the circle to within a pixel; points this close to
// the circle belong to neither side.
constexpr double kEdgeMargin = 2.0;

// Text and lines may share the root's colour (black); a disc left unpainted, or smaller than the
// square, has far more of it: at most one pixel in this many may have it.
constexpr long kRootOneIn = 4;

// The band just inside the circle where a disc too small for its square would show the root.
constexpr double kRimWidth = 4.0;

int ColourCount(const QImage& picture, int limit) {
  QSet<QRgb> colours;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      colours.insert(picture.pixel(x, y));
      if (colours.size() >= limit) return limit;
    }
  }
  return static_cast<int>(colours.size());
}

std::string Share(long part, long whole) {
  return std::to_string(whole == 0 ? 0 : part * 100 / whole) + "%";
}

}  // namespace

Verdict CheckPainted(const QImage& picture) {
  if (picture.isNull()) return {false, "no picture"};
  const int colours = ColourCount(picture, kMinColours);
  if (colours < kMinColours) {
    return {false, "blank: " + std::to_string(colours) + " colour(s), the window is not painted"};
  }
  return {true, {}};
}

Verdict CheckDisc(const QImage& picture, int size) {
  if (picture.isNull()) return {false, "no picture"};
  if (picture.width() != size || picture.height() != size) {
    return {false, "the picture is " + std::to_string(picture.width()) + " x " +
                       std::to_string(picture.height()) + ", not " + std::to_string(size) + " x " +
                       std::to_string(size)};
  }
  const Verdict painted = CheckPainted(picture);
  if (!painted.ok) return painted;

  const QRgb root = picture.pixel(0, 0);
  const double radius = size / 2.0;
  long outside = 0, outsideOther = 0, inside = 0, insideRoot = 0, rim = 0, rimRoot = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x + 0.5 - radius, y + 0.5 - radius);
      const bool isRoot = picture.pixel(x, y) == root;
      if (d > radius + kEdgeMargin) {
        ++outside;
        if (!isRoot) ++outsideOther;
      } else if (d < radius - kEdgeMargin) {
        ++inside;
        if (isRoot) ++insideRoot;
        if (d > radius - kEdgeMargin - kRimWidth) {
          ++rim;
          if (isRoot) ++rimRoot;
        }
      }
    }
  }
  const std::string rootName = QColor(root).name().toStdString();
  if (outsideOther > 0) {
    return {false, std::to_string(outsideOther) + " of the " + std::to_string(outside) +
                       " pixels outside the disc differ from the corner's " + rootName +
                       ": the window is not cut to a disc"};
  }
  if (insideRoot * kRootOneIn > inside) {
    return {false, Share(insideRoot, inside) + " of the disc has the root's colour " + rootName +
                       " seen in the corners: the disc is not drawn"};
  }
  if (rimRoot * kRootOneIn > rim) {
    return {false, Share(rimRoot, rim) + " of the disc's rim has the root's colour " + rootName +
                       ": the disc is smaller than the square"};
  }
  return {true, {}};
}

}  // namespace xshot
