#pragma once

namespace platform {

// Twips are 1/1440 inch; the original layouts are all expressed in them.
inline constexpr double kTwipsPerInch = 1440.0;

// Twips per pixel for a screen of the given logical dots per inch (15 at 96 dpi).
double TwipsPerPixelForDpi(double logicalDpi);

// Twips per pixel of the primary screen, horizontally and vertically.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

// The nearest integer, ties to the even neighbour, as the original's integer conversion did.
int RoundHalfEven(double value);

// A length or position in twips to whole pixels.
int TwipsToPixels(double twips, double twipsPerPixel);

}  // namespace platform
