#pragma once

#include <array>

#include "resources/Layout.h"

// The options window: two options over the 20-euro note, each a bare check box with its caption
// to the right, "OK" and "Annuler" at the foot, the close image at the top.
namespace resources::options_window {

// The title is never drawn, but window lists and screen readers announce it.
inline constexpr FormLayout kForm{"Options", 2700, 2700, ":/pictures/note20.ppm"};

// In the focus order: the start-up option first, then the change option.
inline constexpr CheckBoxLayout kChkDémarrage{960, 600, 145, 200};
inline constexpr CheckBoxLayout kChkAppoint{960, 1440, 145, 200};

// The captions of the two boxes, each 360 twips right of its box and 120 above it; the one of
// the focused box is framed.
inline constexpr std::array<LabelLayout, 2> kLblOption{{
    {1320, 480, 975, 615, "Lancer à l'ouverture de session", false, kBlack, true, kLeft, 0, true},
    {1320, 1320, 975, 615, "Activer l'appoint en Euros", false, kBlack, true, kLeft, 0, true},
}};

// 0 confirms, 1 cancels.
inline constexpr std::array<LabelLayout, 2> kLblAction{{
    {600, 2040, 732, 252, "OK", false, kBlack, true, kCentre, 1, true},
    {1440, 2040, 732, 252, "Annuler", false, kBlack, true, kCentre, 1, true},
}};

inline constexpr ImageLayout kImaCommand{960, 120, ":/pictures/close.png", "Fermer Alt+F4"};

}  // namespace resources::options_window
