#pragma once

#include <string>
#include <string_view>

namespace about {

// The about window's scrolling line. Positions are in twips, single precision as the window's
// own; the line moves left by kMarqueeStep at every tick.
inline constexpr float kMarqueeStep = 50.0f;
// The line starts over once its right edge has passed this point of the window.
inline constexpr float kMarqueeEndX = 360.0f;

// The Left of a line `width` wide after one tick from `left`, in a window `clientWidth` wide:
// back at the right edge once the right end has moved left of kMarqueeEndX.
float MarqueeStep(float left, float width, float clientWidth);

// The line itself: the program's description, its legal notice and the user's name, separated
// by dashes. Without a name it ends with the last separator.
std::string MarqueeCaption(std::string_view description, std::string_view legalNotice,
                           std::string_view licenceLine);

}  // namespace about
