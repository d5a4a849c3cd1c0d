#pragma once

#include <array>

#include "resources/Layout.h"

// The converter's main window: four rows over the 10-euro note, six commands down the left rim.
namespace resources::main_window {

inline constexpr FormLayout kForm{"Tavelmarque", 2700, 2700, ":/pictures/note10.ppm"};

inline constexpr std::array<LabelLayout, 4> kLblEti{{
    {960, 360, 1212, 228, "prix en francs", false, kHighlightColour, true},
    {1080, 840, 1332, 228, "payé (en francs)", false, kBlack, false},
    {1080, 1320, 1332, 228, "prix en euros", false, kBlack, true},
    {480, 1800, 1692, 228, "appoint (en euros)", false, kBlack, false},
}};

inline constexpr std::array<LabelLayout, 4> kLblP{{
    {840, 600, 1332, 228, "0", true, kHighlightColour, true},
    {1080, 1080, 1332, 228, "0", true, kBlack, false},
    {1080, 1560, 1332, 228, "0", true, kBlack, true},
    {840, 2040, 1332, 228, "0", true, kBlack, false},
}};

inline constexpr std::array<LineLayout, 3> kLine1{{
    {1200, 840, 2400, 840, true},
    {1200, 1320, 2400, 1320, false},
    {1200, 1800, 2400, 1800, true},
}};

inline constexpr std::array<ImageLayout, 6> kImaCommand{{
    {960, 120, ":/pictures/close.png", "Fermer Alt+F4"},
    {720, 120, ":/pictures/reduce.png", "Réduire Alt+R"},
    {480, 360, ":/pictures/options.png", "Options Alt+O"},
    {960, 2355, ":/pictures/about.png", "A propos de..."},
    {720, 2250, ":/pictures/help.png", "Aide sur Tavelmarque  F1"},
    {480, 2040, ":/pictures/zoneeuro.png", "Zone Euro Alt+Z"},
}};

inline constexpr ImageLayout kImaFocus{480, 840, ":/pictures/focus.png", ""};

}  // namespace resources::main_window
