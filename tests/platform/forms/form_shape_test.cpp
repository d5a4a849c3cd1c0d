// A round form where the window system's shape limits input only (Wayland): the form paints its
// region itself and leaves the rest of its square transparent.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/desktop/Desktop.h"
#include "platform/forms/Form.h"

namespace {

using platform::Desktop;
using platform::Form;

// The desktop in place while a test's forms are made; the previous one comes back after.
class WithDesktop {
 public:
  explicit WithDesktop(std::unique_ptr<Desktop> desktop)
      : previous_(Desktop::Replace(std::move(desktop))) {}
  ~WithDesktop() { Desktop::Replace(std::move(previous_)); }
  WithDesktop(const WithDesktop&) = delete;
  WithDesktop& operator=(const WithDesktop&) = delete;

 private:
  std::unique_ptr<Desktop> previous_;
};

QImage PaintedDisc(Form& form) {
  form.SetTwipsPerPixel(15, 15);
  form.SetSizeTwips(2700, 2700);
  const QRegion disc(0, 0, 180, 180, QRegion::Ellipse);
  form.SetWindowRegion(disc);
  form.SetFrame(disc.subtracted(QRegion(2, 2, 176, 176, QRegion::Ellipse)), Qt::red);
  QPixmap note(180, 180);
  note.fill(Qt::green);
  form.SetPicture(note);
  return form.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(FormShape, WhereTheShapeLimitsInputOnlyTheCornersAreTransparent) {
  struct Case {
    const char* name;
    std::unique_ptr<Desktop> (*make)();
    bool ownShape;
  } cases[] = {{"wayland", &platform::MakeWaylandDesktop, true},
               {"offscreen", &platform::MakeOffscreenDesktop, false}};
  for (const Case& c : cases) {
    WithDesktop desktop(c.make());
    Form form;
    EXPECT_EQ(form.PaintsOwnShape(), c.ownShape) << c.name;
    EXPECT_EQ(form.testAttribute(Qt::WA_TranslucentBackground), c.ownShape) << c.name;
    const QImage shot = PaintedDisc(form);
    ASSERT_EQ(shot.size(), QSize(180, 180)) << c.name;
    // The disc is painted whole, rim included, whatever the desktop.
    EXPECT_EQ(shot.pixelColor(90, 90), QColor(Qt::green)) << c.name;
    EXPECT_EQ(shot.pixelColor(90, 0), QColor(Qt::red)) << c.name;
    EXPECT_EQ(shot.pixelColor(179, 90), QColor(Qt::red)) << c.name;
    for (QPoint corner :
         {QPoint(1, 1), QPoint(178, 1), QPoint(1, 178), QPoint(178, 178), QPoint(20, 20)}) {
      if (c.ownShape) {
        EXPECT_EQ(qAlpha(shot.pixel(corner)), 0)
            << c.name << " " << corner.x() << "," << corner.y();
      } else {
        // The X shape cuts the corners off; the window paints its whole square.
        EXPECT_EQ(qAlpha(shot.pixel(corner)), 255) << c.name;
      }
    }
  }
}

}  // namespace
