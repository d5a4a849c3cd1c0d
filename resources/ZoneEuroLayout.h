#pragma once

#include <array>
#include <cstddef>

#include "resources/Layout.h"

// The Zone Euro window: a currency, its amount and the amount in euros over the 100-euro note,
// close at the top of the left rim, help and about at its foot.
namespace resources::zone_euro_window {

inline constexpr FormLayout kForm{"Dorvanta", 2700, 2700, ":/pictures/note100.ppm"};

// A member of a control array that has gaps, with its index.
struct IndexedLabel {
  std::size_t index;
  LabelLayout layout;
};

// The captions over the rows: there is no caption 1, "prix en" heads rows 0 and 1.
inline constexpr std::array<IndexedLabel, 2> kLblEti{{
    {0, {1320, 240, 612, 228, "prix en", false, kHighlightColour, true, kLeft}},
    {2, {1200, 1560, 1092, 228, "prix en euros", false, kBlack, true, kLeft}},
}};

// 0 the currency's name, 1 the amount in that currency, 2 the amount in euros.
inline constexpr std::array<LabelLayout, 3> kLblP{{
    {600, 600, 1452, 228, "Franc français", false, kHighlightColour, true},
    {480, 840, 1812, 228, "0", true, kBlack, true},
    {360, 1800, 1932, 228, "0", true, kBlack, true},
}};

// 0 close, 1 about, 2 help: at the places of the main window's close, about and help.
inline constexpr std::array<ImageLayout, 3> kImaCommand{{
    {960, 120, ":/pictures/close.png", "Fermer Alt+F4"},
    {960, 2355, ":/pictures/about.png", "A propos de..."},
    {720, 2250, ":/pictures/help.png", "Aide sur Tavelmarque  F1"},
}};

// Moved beside the currency's name before the window first shows.
inline constexpr ImageLayout kImaFocus{600, 960, ":/pictures/focus.png", ""};

}  // namespace resources::zone_euro_window
