// The small command images on the windows' rims, the focus mark and the link cursor, at 16 x 16
// (the cursor 32 x 32) pixels.
#pragma once

#include <QImage>

namespace pictures {

QImage closeIcon();
QImage reduceIcon();
QImage optionsIcon();
QImage aboutIcon();
QImage helpIcon();
QImage zoneEuroIcon();
QImage focusIcon();
QImage handCursor();

// The hot spot is the tip of the index finger; keep it in step with the grid.
constexpr int kHandHotSpotX = 5;
constexpr int kHandHotSpotY = 0;

}  // namespace pictures
