#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <string>

#include "PictureCheck.h"

namespace {

constexpr int kSize = 180;

// A screenshot drawn pixel by pixel: `inside(x, y)` decides whether the pixel belongs to the
// window, `paint(x, y)` gives the window's colour there; elsewhere the root shows.
QImage Picture(int size, QRgb root, const std::function<bool(int, int)>& inside,
               const std::function<QRgb(int, int)>& paint) {
  QImage picture(size, size, QImage::Format_RGB32);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) picture.setPixel(x, y, inside(x, y) ? paint(x, y) : root);
  }
  return picture;
}

std::function<bool(int, int)> Disc(int size, double radius) {
  return [size, radius](int x, int y) {
    return std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) <= radius;
  };
}

bool Everywhere(int, int) { return true; }

// The banknote: a gradient, crossed by text-like black rows every `textEvery` rows.
std::function<QRgb(int, int)> Banknote(int textEvery) {
  return [textEvery](int x, int y) {
    if (textEvery > 0 && y % textEvery == 0) return qRgb(0, 0, 0);
    return qRgb(200 + x % 50, 180 + y % 40, 160);
  };
}

QRgb Flat(int, int) { return qRgb(250, 221, 196); }

constexpr QRgb kBlack = qRgb(0, 0, 0);

struct Case {
  const char* name;
  QImage picture;
  bool painted;
  bool disc;
};

TEST(PictureCheckTest, TellsAPaintedDiscFromWhatAnEarlyOrBrokenWindowShows) {
  const Case cases[] = {
      {"the window as drawn", Picture(kSize, kBlack, Disc(kSize, 90), Banknote(12)), true, true},
      {"over a grey root", Picture(kSize, qRgb(80, 80, 80), Disc(kSize, 90), Banknote(12)), true,
       true},
      {"not painted yet: the root shows through",
       Picture(kSize, kBlack, Disc(kSize, 90), [](int, int) { return kBlack; }), false, false},
      {"one flat colour", Picture(kSize, kBlack, Disc(kSize, 90), Flat), false, false},
      {"no shape: a painted square", Picture(kSize, kBlack, Everywhere, Banknote(12)), true, false},
      {"a disc too small for its square", Picture(kSize, kBlack, Disc(kSize, 84), Banknote(12)),
       true, false},
      {"mostly drawn in the root's colour", Picture(kSize, kBlack, Disc(kSize, 90), Banknote(2)),
       true, false},
      {"twice the size", Picture(2 * kSize, kBlack, Disc(2 * kSize, kSize), Banknote(12)), true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const xshot::Verdict painted = xshot::CheckPainted(c.picture);
    EXPECT_EQ(painted.ok, c.painted) << painted.reason;
    const xshot::Verdict disc = xshot::CheckDisc(c.picture, kSize);
    EXPECT_EQ(disc.ok, c.disc) << disc.reason;
    EXPECT_EQ(disc.reason.empty(), disc.ok);
  }
}

TEST(PictureCheckTest, NoPictureIsNoWindow) {
  EXPECT_FALSE(xshot::CheckPainted(QImage()).ok);
  EXPECT_FALSE(xshot::CheckDisc(QImage(), kSize).ok);
}

}  // namespace
