// Pictures drawn pixel by pixel from a grid of characters, kept in a palette, and doubled for
// high-density screens.
#pragma once

#include <QImage>
#include <initializer_list>

namespace pictures {

struct Ink {
  char key;
  QRgb rgb;
};

// Small icons are drawn pixel by pixel: at 16 x 16 any antialiased vector drawing turns
// into a blur, and a character grid is easy to read and edit here.
QImage pixelArt(std::initializer_list<const char*> rows, std::initializer_list<Ink> inks);

// A palette image keeps the few colours of the pixel art exact and the files tiny.
QImage toIndexed(const QImage& image);

// The pixel art at twice its size for high-density screens, by Scale2x: each pixel becomes
// four that follow the diagonals of its neighbours, so edges stay hard (no new colours, no
// blur) while staircases are halved instead of merely doubled.
QImage scale2x(const QImage& source);

}  // namespace pictures
