#include "shell/Skin.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include "resources/MainLayout.h"
#include "shell/Drag.h"

namespace {

using platform::Form;

TEST(Skin, TheDiscFollowsTheScreensTwipsPerPixel) {
  struct Case {
    double twipsPerPixel;
    int pixels;
  } cases[] = {{15, 180}, {12, 225}, {15, 180}, {14.4, 192}, {15.5, 168}};
  // 14.4 rounds to 14; 15.5 rounds to 16, the even neighbour: 2700 / 16 = 168. One set of shapes
  // for every window, as in the program: each gets the disc of its own size.
  skin::Shapes shapes;
  for (const Case& c : cases) {
    Form form;
    form.SetTwipsPerPixel(c.twipsPerPixel, c.twipsPerPixel);
    form.SetSizeTwips(2700, 2700);
    skin::ClipToEllipse(form, shapes);
    const QRegion region = form.WindowRegion();
    const QRect bounds = region.boundingRect();
    EXPECT_TRUE(QRect(0, 0, c.pixels, c.pixels).contains(bounds)) << c.twipsPerPixel;
    EXPECT_GE(bounds.width(), c.pixels - 2) << c.twipsPerPixel;
    EXPECT_GE(bounds.height(), c.pixels - 2) << c.twipsPerPixel;
    EXPECT_TRUE(region.contains(QPoint(c.pixels / 2, c.pixels / 2)));
    EXPECT_FALSE(region.contains(QPoint(2, 2))) << "corners lie outside the disc";
    EXPECT_FALSE(region.contains(QPoint(c.pixels - 3, c.pixels - 3)));
  }
}

TEST(Skin, TheShapesOfTheLastSizeAreKept) {
  skin::Shapes shapes;
  const QRegion disc = shapes.Disc(180, 180);
  const QRegion rim = shapes.Rim(disc);
  // The same pixels, not worked out again: a second window shares the first one's regions.
  EXPECT_EQ(shapes.Disc(180, 180).begin(), disc.begin());
  EXPECT_EQ(shapes.Rim(QRegion(disc)).begin(), rim.begin());
  // The rim is the band two pixels wide along the inside of the region it is asked for.
  const QRegion square(0, 0, 20, 20);
  EXPECT_EQ(shapes.Rim(square), square.subtracted(QRegion(2, 2, 16, 16)));
  EXPECT_EQ(shapes.Rim(disc), rim);
  EXPECT_TRUE(rim.contains(QPoint(90, 1)) && !rim.contains(QPoint(90, 2)));
}

TEST(Skin, RimIsLeftOutWhileMinimisedAndDrawnOnRestore) {
  skin::Shapes shapes;
  Form form;
  form.SetSizeTwips(2700, 2700);
  skin::DrawRim(form, shapes);
  EXPECT_FALSE(form.HasFrame()) << "a window without a region gets no rim";
  skin::ClipToEllipse(form, shapes);
  form.showMinimized();
  ASSERT_TRUE(form.isMinimized());
  skin::DrawRim(form, shapes);
  EXPECT_FALSE(form.HasFrame());
  form.showNormal();
  skin::DrawRim(form, shapes);
  EXPECT_TRUE(form.HasFrame());
  const QImage shot = form.grab().toImage();
  const QColor face = QGuiApplication::palette().color(QPalette::Button);
  EXPECT_EQ(shot.pixelColor(90, 0), face);
  EXPECT_EQ(shot.pixelColor(90, 1), face);
  EXPECT_NE(shot.pixelColor(90, 3), face);
  EXPECT_EQ(shot.pixelColor(0, 90), face);
}

TEST(Skin, EveryCaptionFitsItsBoxInTheWindowFont) {
  for (bool bold : {false, true}) {
    EXPECT_EQ(QFontInfo(skin::WindowFont(bold)).family(),
              QString::fromLatin1(resources::kFontFamily))
        << "the font package is missing";
  }
  Form form;  // 15 twips per pixel
  form.SetTwipsPerPixel(15, 15);
  namespace layout = resources::main_window;
  auto fits = [&](const resources::LabelLayout& label, const char* text) {
    const QFontMetrics metrics(skin::WindowFont(label.bold));
    const QString caption = QString::fromUtf8(text);
    EXPECT_LE(metrics.horizontalAdvance(caption), form.PixelsX(label.width)) << text;
    EXPECT_LE(metrics.height(), form.PixelsY(label.height)) << text;
  };
  for (const auto& label : layout::kLblEti) fits(label, label.caption);
  // The amounts a price of up to a million francs gives.
  for (const auto& label : layout::kLblP) fits(label, "999999,99");
}

class DragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.SetTwipsPerPixel(15, 15);
    form_.SetSizeTwips(2700, 2700);
    form_.move(100, 50);
    label_.SetBoundsTwips(960, 360, 1212, 228);
  }
  Form form_;
  platform::Label label_{form_};
  drag::DragState state_;
};

TEST_F(DragTest, OnlyTheLeftButtonDragsTheBackgroundWhileAnyButtonDragsALabel) {
  struct Case {
    bool onLabel;
    int button;
    bool starts;
  } cases[] = {{false, platform::kLeftButton, true},
               {false, platform::kRightButton, false},
               {false, platform::kMiddleButton, false},
               {false, platform::kLeftButton | platform::kRightButton, true},
               {true, platform::kRightButton, true}};  // a label: whichever button
  for (const Case& c : cases) {
    drag::DragState state;
    if (c.onLabel) {
      drag::BeginDrag(form_, state, label_, 30, 45);
    } else {
      drag::BeginDrag(form_, state, c.button, 30, 45);
    }
    EXPECT_EQ(state.DragActive, c.starts) << c.onLabel << " " << c.button;
    EXPECT_EQ(form_.HasCapture(), c.starts);
    drag::EndDrag(form_, state);
    EXPECT_FALSE(state.DragActive);
    EXPECT_FALSE(form_.HasCapture());
  }
}

TEST_F(DragTest, TheGrabbedPointStaysUnderTheCursor) {
  // Grabbed on the label 2 pixels right and 3 down of its corner: 64 + 2 = 66, 24 + 3 = 27.
  drag::BeginDrag(form_, state_, label_, 30, 45);
  EXPECT_FLOAT_EQ(state_.DragOffsetX, 990);
  EXPECT_FLOAT_EQ(state_.DragOffsetY, 405);
  QCursor::setPos(500, 400);
  drag::FollowDrag(form_, state_);
  EXPECT_EQ(form_.pos(), QPoint(500 - 66, 400 - 27));
  QCursor::setPos(-20, 3);  // off the screen is allowed
  drag::FollowDrag(form_, state_);
  EXPECT_EQ(form_.pos(), QPoint(-20 - 66, 3 - 27));
  EXPECT_EQ(form_.size(), QSize(180, 180));
  drag::EndDrag(form_, state_);
  QCursor::setPos(0, 0);
  drag::FollowDrag(form_, state_);
  EXPECT_EQ(form_.pos(), QPoint(-86, -24)) << "no move once released";
}

}  // namespace
