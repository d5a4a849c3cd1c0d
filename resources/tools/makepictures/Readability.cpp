#include "Readability.h"

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "CommandIcons.h"
#include "Drawing.h"

namespace pictures {

namespace {

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

struct Caption {
  QRect box;  // pixels, from the window's layout at 15 twips per pixel
  QString text;
  bool bold;
  QColor colour;
  Qt::Alignment align;
  bool framed = false;
};

struct Placed {
  QPoint at;
  QImage icon;
};

struct Window {
  QString name;
  QImage background;
  std::vector<Caption> captions;
  std::vector<Placed> icons;
  std::vector<QLine> lines;
  std::vector<QRect> checkBoxes;
};

QImage preview(const Window& window) {
  const QColor highlight(80, 100, 120);
  QImage image(kWindowSide, kWindowSide, QImage::Format_ARGB32);
  image.fill(QColor(0x60, 0x60, 0x60));
  QPainter p(&image);
  const QRegion disc(0, 0, kWindowSide, kWindowSide, QRegion::Ellipse);
  p.setClipRegion(disc);
  p.drawImage(0, 0, window.background);
  for (const QRect& box : window.checkBoxes) {
    p.fillRect(box, Qt::white);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawRect(box.adjusted(0, 0, -1, -1));
  }
  for (const QLine& l : window.lines) {
    p.setPen(Qt::black);
    p.drawLine(l);
  }
  for (const Caption& c : window.captions) {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    font.setPixelSize(11);
    font.setBold(c.bold);
    p.setFont(font);
    p.setPen(c.colour.isValid() ? c.colour : highlight);
    p.drawText(c.box, static_cast<int>(c.align) | Qt::TextWordWrap, c.text);
    if (c.framed) {
      p.setPen(Qt::black);
      p.drawRect(c.box.adjusted(0, 0, -1, -1));
    }
  }
  for (const Placed& icon : window.icons) p.drawImage(icon.at, icon.icon);
  // The rim, as the windows draw it along the inside of their region.
  p.setClipping(false);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xd4, 0xd0, 0xc8), 2));
  p.drawEllipse(QRectF(1, 1, kWindowSide - 2, kWindowSide - 2));
  p.end();
  return image;
}

}  // namespace

DiscStats discStats(const QImage& image) {
  DiscStats stats;
  int count = 0;
  int light = 0;
  const double r = kWindowSide / 2.0;
  for (int y = 0; y < kWindowSide; ++y)
    for (int x = 0; x < kWindowSide; ++x) {
      if (std::hypot(x + 0.5 - r, y + 0.5 - r) > r) continue;
      const double l = luminance(image.pixel(x, y));
      stats.minimum = std::min(stats.minimum, l);
      stats.mean += l;
      light += l >= kLightEnough ? 1 : 0;
      ++count;
    }
  stats.mean /= count;
  stats.shareLight = static_cast<double>(light) / count;
  return stats;
}

std::vector<std::pair<QString, QImage>> previews(const QImage& main, const QImage& zoneEuro,
                                                 const QImage& options, const QImage& about) {
  const QColor black(Qt::black);
  const QColor hl;  // invalid: the highlight colour
  const auto right = Qt::AlignRight | Qt::AlignTop;
  const auto left = Qt::AlignLeft | Qt::AlignTop;
  const auto centre = Qt::AlignHCenter | Qt::AlignTop;
  std::vector<Window> windows;
  windows.push_back({"main",
                     main,
                     {{{64, 24, 81, 15}, "prix en francs", false, hl, right},
                      {{56, 40, 89, 15}, "1 234,56", true, hl, right},
                      {{72, 56, 89, 15}, "payé (en francs)", false, black, right},
                      {{72, 72, 89, 15}, "2 000", true, black, right},
                      {{72, 88, 89, 15}, "prix en euros", false, black, right},
                      {{72, 104, 89, 15}, "188,21", true, black, right},
                      {{32, 120, 113, 15}, "appoint (en euros)", false, black, right},
                      {{56, 136, 89, 15}, "116,69", true, black, right}},
                     {{{64, 8}, closeIcon()},
                      {{48, 8}, reduceIcon()},
                      {{32, 24}, optionsIcon()},
                      {{64, 157}, aboutIcon()},
                      {{48, 150}, helpIcon()},
                      {{32, 136}, zoneEuroIcon()},
                      {{149, 40}, focusIcon()}},
                     {{80, 56, 160, 56}, {80, 88, 160, 88}, {80, 120, 160, 120}},
                     {}});
  windows.push_back({"zoneeuro",
                     zoneEuro,
                     {{{88, 16, 41, 15}, "prix en", false, hl, left},
                      {{40, 40, 97, 15}, "Franc français", false, hl, right},
                      {{32, 56, 121, 15}, "1 234,56", true, black, right},
                      {{80, 104, 73, 15}, "prix en euros", false, black, left},
                      {{24, 120, 129, 15}, "188,21", true, black, right}},
                     {{{64, 8}, closeIcon()},
                      {{64, 157}, aboutIcon()},
                      {{48, 150}, helpIcon()},
                      {{141, 40}, focusIcon()}},
                     {},
                     {}});
  windows.push_back({"options",
                     options,
                     {{{88, 32, 65, 41}, "Lancer au démarrage de Windows", false, black, left},
                      {{88, 88, 65, 41}, "Activer l'appoint en Euros", false, black, left},
                      {{40, 136, 49, 17}, "OK", false, black, Qt::AlignCenter, true},
                      {{96, 136, 49, 17}, "Annuler", false, black, Qt::AlignCenter, true}},
                     {{{64, 8}, closeIcon()}},
                     {},
                     {{64, 40, 10, 13}, {64, 96, 10, 13}}});
  windows.push_back(
      {"about",
       about,
       {{{56, 24, 73, 17}, "Tavelmarque", true, black, centre},
        {{56, 40, 73, 17}, "1.0.0.1", true, black, centre},
        {{14, 80, 300, 13}, "Convertisseur francs / euros", false, black, left},
        {{24, 120, 145, 17}, "www.example.org", false, black, centre},
        {{48, 136, 97, 17}, "support@example.org", false, black, centre}},
       {{{64, 8}, closeIcon()}, {{96 - kHandHotSpotX, 128 - kHandHotSpotY}, handCursor()}},
       {},
       {}});
  std::vector<std::pair<QString, QImage>> pictures;
  for (const Window& w : windows) pictures.emplace_back("preview-" + w.name + ".png", preview(w));
  return pictures;
}

}  // namespace pictures
