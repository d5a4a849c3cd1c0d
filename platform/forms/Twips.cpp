#include "platform/forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace platform {

namespace {
double ScreenDpi(bool horizontal) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96.0;
  const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0.0 ? dpi : 96.0;
}
}  // namespace

double TwipsPerPixelForDpi(double logicalDpi) { return kTwipsPerInch / logicalDpi; }

double ScreenTwipsPerPixelX() { return TwipsPerPixelForDpi(ScreenDpi(true)); }
double ScreenTwipsPerPixelY() { return TwipsPerPixelForDpi(ScreenDpi(false)); }

int RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
  return static_cast<int>(std::nearbyint(value));
}

int TwipsToPixels(double twips, double twipsPerPixel) {
  return RoundHalfEven(twips / twipsPerPixel);
}

}  // namespace platform
