#pragma once

#include <cstdint>

#include "resources/Layout.h"

// The about window: the name and version in bold, a scrolling line across the middle and two
// underlined links, over the pale 500-euro note.
namespace resources::about_window {

inline constexpr FormLayout kForm{"A propos de...", 2700, 2700, ":/pictures/note500.ppm"};

inline constexpr std::uint32_t kWindowText = 0x80000008;

// The name and the version are filled in at every opening.
inline constexpr LabelLayout kLblTitle{840, 360, 1092, 252, "", true, kWindowText, true, kCentre};
inline constexpr LabelLayout kLblVersion{840, 600, 1092, 252, "", true, kWindowText, true, kCentre};

// Its width follows its text on one line; only its Left changes while it scrolls.
inline constexpr LabelLayout kLblMarquee{.left = 0,
                                         .top = 1200,
                                         .width = 480,
                                         .height = 192,
                                         .caption = "Label1",
                                         .bold = false,
                                         .foreColor = kBlack,
                                         .visible = true,
                                         .alignment = kLeft,
                                         .autoSize = true};

// A link: underlined, with its tooltip. The addresses are the maker's, chosen when the program
// is built: the window puts them in.
constexpr LabelLayout Link(LabelLayout box, const char* toolTip) {
  box.underline = true;
  box.toolTip = toolTip;
  return box;
}
inline constexpr LabelLayout kLblWeb =
    Link({360, 1800, 2172, 252, "", false, kBlack, true, kCentre}, "Site Web");
inline constexpr LabelLayout kLblMail =
    Link({720, 2040, 1452, 252, "", false, kBlack, true, kCentre}, "E-Mail");

inline constexpr ImageLayout kImaCommand{960, 120, ":/pictures/close.png", "Fermer Alt+F4"};

// Milliseconds between two steps of the scrolling line. Each step is 50 twips, over 3 pixels:
// at one step per 16 ms the line moves about 200 pixels a second, the pace it had on the timer
// it was designed for (64 ticks a second), slow enough to read, and close to one step per frame
// of a 60 Hz screen so that no frame jumps twice as far as the next.
inline constexpr int kTimer1Interval = 16;

}  // namespace resources::about_window
