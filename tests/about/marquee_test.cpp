#include "about/Marquee.h"

#include <gtest/gtest.h>

namespace {

using about::MarqueeCaption;
using about::MarqueeStep;

constexpr float kClientWidth = 2700.0f;

// The tick (counted from 1) at which a line `width` wide, starting at the right edge, is put
// back there, and its Left just before.
struct Wrap {
  int tick;
  float leftBefore;
};
Wrap FirstWrap(float width) {
  float left = kClientWidth;
  for (int tick = 1; tick < 1000; ++tick) {
    const float next = MarqueeStep(left, width, kClientWidth);
    if (next == kClientWidth) return {tick, left};
    left = next;
  }
  return {0, left};
}

TEST(Marquee, ALineStartsOverOnceItsRightEndHasPassedTheEndPoint) {
  struct Case {
    float width;
    int tick;  // the tick that puts it back at the right edge
    float leftBefore;
  } cases[] = {
      {1000.0f, 67, -600.0f},  // -650 < -640 at the 67th tick
      {960.0f, 67, -600.0f},   // Left -600 equals 360 - 960: not yet
      {940.0f, 66, -550.0f},   // -600 < -580
      {0.0f, 47, 400.0f},      // an empty line leaves at 350
  };
  for (const Case& c : cases) {
    const Wrap wrap = FirstWrap(c.width);
    EXPECT_EQ(wrap.tick, c.tick) << "width " << c.width;
    EXPECT_EQ(wrap.leftBefore, c.leftBefore) << "width " << c.width;
  }
}

TEST(Marquee, EachTickMovesLeftByFiftyAndTheRestartIsAtTheClientWidth) {
  EXPECT_EQ(MarqueeStep(2700.0f, 1000.0f, kClientWidth), 2650.0f);
  EXPECT_EQ(MarqueeStep(-600.0f, 1000.0f, kClientWidth), 2700.0f);
  EXPECT_EQ(MarqueeStep(-600.0f, 1000.0f, 3000.0f), 3000.0f);
  EXPECT_EQ(MarqueeStep(-100.25f, 1000.0f, kClientWidth), -150.25f);
}

TEST(Marquee, CaptionJoinsDescriptionNoticeAndName) {
  EXPECT_EQ(MarqueeCaption("Convertisseur Francs-Euros", "© Tavelmarque 2001-2026", "Jean Dupont"),
            "Convertisseur Francs-Euros   -   © Tavelmarque 2001-2026   -   Jean Dupont");
  EXPECT_EQ(MarqueeCaption("Convertisseur Francs-Euros", "© Tavelmarque 2001-2026", ""),
            "Convertisseur Francs-Euros   -   © Tavelmarque 2001-2026   -   ");
}

}  // namespace
