// How readable the captions are over a banknote: the light of the window's disc, and a
// preview of each window with sample captions and its icons.
#pragma once

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

namespace pictures {

struct DiscStats {
  double minimum = 255;
  double mean = 0;
  double shareLight = 0;  // of pixels at or above kLightEnough
};

constexpr double kLightEnough = 200.0;
// Black 8-point captions stay readable when the part of the note behind them is this light.
constexpr double kRequiredLightShare = 0.9;

DiscStats discStats(const QImage& image);

// Each window over its banknote, cut to its disc, with sample captions (in the system's fonts,
// hence an application object must exist) and its icons, named "preview-WINDOW.png".
std::vector<std::pair<QString, QImage>> previews(const QImage& main, const QImage& zoneEuro,
                                                 const QImage& options, const QImage& about);

}  // namespace pictures
