// The windows on a high-density screen: built once per scale factor (TAVELMARQUE_TEST_SCALE,
// see CMakeLists.txt), which Qt reads only when the application starts. The suites are named
// after the factor, so that each program's tests keep names of their own.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "platform/forms/Form.h"
#include "resources/MainLayout.h"
#include "shell/Skin.h"

namespace {

#define HIDPI_SUITE HIDPI_NAME(HiDpi, TAVELMARQUE_TEST_SUFFIX)
#define HIDPI_FORM HIDPI_NAME(HiDpiForm, TAVELMARQUE_TEST_SUFFIX)
#define HIDPI_NAME(a, b) HIDPI_JOIN(a, b)
#define HIDPI_JOIN(a, b) a##_##b

// Set before main builds the application, so that Qt scales every window by it.
const bool kScaled = (setenv("QT_SCALE_FACTOR", TAVELMARQUE_TEST_SCALE, 1), true);

double Scale() { return std::atof(TAVELMARQUE_TEST_SCALE); }

TEST(HIDPI_SUITE, TheScreenHasTheScaleFactor) {
  ASSERT_TRUE(kScaled);
  EXPECT_DOUBLE_EQ(qGuiApp->devicePixelRatio(), Scale());
  EXPECT_DOUBLE_EQ(skin::PictureDensity(), Scale());
}

TEST(HIDPI_SUITE, PicturesComeAtTwiceTheDensityAndTheSameSize) {
  for (const char* path :
       {":/pictures/note10.ppm", ":/pictures/note20.ppm", ":/pictures/note100.ppm",
        ":/pictures/note500.ppm", ":/pictures/close.png", ":/pictures/focus.png"}) {
    const QPixmap plain = skin::LoadPicture(path, 1.0);
    const QPixmap dense = skin::LoadPicture(path);
    ASSERT_FALSE(plain.isNull()) << path;
    ASSERT_FALSE(dense.isNull()) << path;
    EXPECT_DOUBLE_EQ(plain.devicePixelRatio(), 1.0) << path;
    EXPECT_DOUBLE_EQ(dense.devicePixelRatio(), 2.0) << path;
    EXPECT_EQ(dense.size(), plain.size() * 2) << path;
    EXPECT_EQ(dense.deviceIndependentSize().toSize(), plain.size()) << path;
  }
  // A picture without a dense version still loads.
  const QPixmap icon = skin::LoadPicture(":/pictures/app16.png");
  EXPECT_EQ(icon.size(), QSize(16, 16));
  EXPECT_DOUBLE_EQ(icon.devicePixelRatio(), 1.0);
}

// Pictures are shared, kept (the icons) or read where they lie (the notes): drawing on one
// window's copy must leave the next window's whole, at either density.
TEST(HIDPI_SUITE, DrawingOnAPictureLeavesTheNextOneWhole) {
  for (const char* path : {":/pictures/close.png", ":/pictures/note10.ppm"}) {
    for (double ratio : {1.0, 2.0}) {
      QPixmap drawn = skin::LoadPicture(path, ratio);
      const QImage before = drawn.toImage();
      QPainter(&drawn).fillRect(QRect(0, 0, 4, 4), Qt::magenta);
      ASSERT_NE(drawn.toImage(), before) << path;
      EXPECT_EQ(skin::LoadPicture(path, ratio).toImage(), before) << path << " at " << ratio;
    }
  }
}

// The 2x note is the same drawing as the 1x one, with detail of its own: the 1x note enlarged
// would repeat each pixel over a 2 x 2 block (or blur it across the block's neighbours).
TEST(HIDPI_SUITE, TheDenseBanknoteIsDrawnNotEnlarged) {
  const QImage plain = skin::LoadPicture(":/pictures/note10.ppm", 1.0).toImage();
  const QImage dense = skin::LoadPicture(":/pictures/note10.ppm", 2.0).toImage();
  ASSERT_EQ(dense.size(), plain.size() * 2);
  double difference = 0;
  int detailed = 0;
  const int side = 180;  // the part the window shows
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const QRgb block[] = {dense.pixel(2 * x, 2 * y), dense.pixel(2 * x + 1, 2 * y),
                            dense.pixel(2 * x, 2 * y + 1), dense.pixel(2 * x + 1, 2 * y + 1)};
      int lo = 255;
      int hi = 0;
      double mean = 0;
      for (QRgb p : block) {
        lo = std::min(lo, qGray(p));
        hi = std::max(hi, qGray(p));
        mean += qGray(p) / 4.0;
      }
      detailed += hi - lo >= 8 ? 1 : 0;
      difference += std::abs(mean - qGray(plain.pixel(x, y)));
    }
  }
  // Against the 1x note enlarged smoothly, as Qt would draw it on such a screen.
  const QImage enlarged =
      plain.scaled(plain.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  int sharper = 0;
  for (int y = 0; y < 2 * side; ++y) {
    for (int x = 0; x < 2 * side; ++x) {
      sharper += std::abs(qGray(dense.pixel(x, y)) - qGray(enlarged.pixel(x, y))) >= 8 ? 1 : 0;
    }
  }
  EXPECT_LT(difference / (side * side), 6.0) << "not the same drawing";
  EXPECT_GT(detailed, side * side / 5) << "no more detail than the 1x picture";
  EXPECT_GT(sharper, side * side * 4 / 10) << "the 1x picture enlarged";
}

class HIDPI_FORM : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.SetSizeTwips(2700, 2700);
    skin::ClipToEllipse(form_, shapes_);
    skin::DrawRim(form_, shapes_);
    form_.SetPicture(skin::LoadPicture(":/pictures/note10.ppm"));
  }
  skin::Shapes shapes_;
  platform::Form form_;
};

// Layouts are in twips of a 96 dpi screen; Qt's scaling keeps the pixels device independent,
// and the window grows in device pixels instead.
TEST_F(HIDPI_FORM, KeepsItsSizeInPixelsAndGrowsInDevicePixels) {
  EXPECT_DOUBLE_EQ(form_.TwipsPerPixelX(), 15.0);
  EXPECT_DOUBLE_EQ(form_.TwipsPerPixelY(), 15.0);
  EXPECT_EQ(form_.size(), QSize(180, 180));
  EXPECT_EQ(form_.WindowRegion().boundingRect(), QRect(0, 0, 180, 180));
  const QPixmap shot = form_.grab();
  const int device = static_cast<int>(std::lround(180 * Scale()));
  EXPECT_EQ(shot.size(), QSize(device, device));
}

TEST_F(HIDPI_FORM, TheRimFollowsTheDiscAndTheNoteFillsIt) {
  const QImage shot = form_.grab().toImage();
  const double s = Scale();
  const QColor face = QGuiApplication::palette().color(QPalette::Button);
  const auto at = [&](double x, double y) {
    return shot.pixelColor(static_cast<int>(x * s), static_cast<int>(y * s));
  };
  // Top, left, bottom and right of the disc: rim; just inside it: the note.
  for (auto [x, y, ix, iy] :
       {std::tuple{90.0, 0.5, 90.0, 4.0}, std::tuple{0.5, 90.0, 4.0, 90.0},
        std::tuple{90.0, 179.5, 90.0, 176.0}, std::tuple{179.5, 90.0, 176.0, 90.0}}) {
    EXPECT_EQ(at(x, y), face) << x << "," << y;
    EXPECT_NE(at(ix, iy), face) << ix << "," << iy;
  }
}

TEST(HIDPI_SUITE, CaptionsFitTheirBoxes) {
  platform::Form form;
  namespace layout = resources::main_window;
  auto fits = [&](const resources::LabelLayout& label, const char* text) {
    const QFontMetricsF metrics(skin::WindowFont(label.bold), &form);
    const QString caption = QString::fromUtf8(text);
    EXPECT_LE(metrics.horizontalAdvance(caption), form.PixelsX(label.width)) << text;
    EXPECT_LE(metrics.height(), form.PixelsY(label.height)) << text;
  };
  for (const auto& label : layout::kLblEti) fits(label, label.caption);
  for (const auto& label : layout::kLblP) fits(label, "999999,99");
}

}  // namespace
