// makepictures: draws every picture Tavelmarque embeds (banknote backgrounds, the
// application icon, the small command icons and the link cursor) and writes them into one
// folder, the backgrounds and command icons also at twice the density ("name@2x.png") for
// high-density screens. The icons are PNG files; of each banknote only the window's square is
// kept, as raw pixels (binary PPM) that the program uses where they lie, without decoding.
//
//   makepictures OUTPUT_FOLDER [--preview PREVIEW_FOLDER]
//
// The pictures are drawn rather than kept as opaque binaries so that anyone can change
// them and regenerate the same bytes: nothing here reads a font, the clock or a random
// source, so a given Qt build always produces identical files. The optional preview puts
// sample captions and the icons over each background, cut to the window's disc, to judge
// readability; it uses the system fonts and is not meant to be committed.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTau = 2.0 * std::numbers::pi;

// The windows show only this much of each background, as the disc inscribed in it.
constexpr int kWindowSide = 180;

double radians(double degrees) { return degrees * kPi / 180.0; }

QColor withAlpha(QColor colour, double alpha) {
  colour.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
  return colour;
}

QPen hairline(const QColor& colour, double width, double alpha = 1.0) {
  QPen pen(withAlpha(colour, alpha), width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// ---------------------------------------------------------------------------------------
// Pixel art

struct Ink {
  char key;
  QRgb rgb;
};

// Small icons are drawn pixel by pixel: at 16 x 16 any antialiased vector drawing turns
// into a blur, and a character grid is easy to read and edit here.
QImage pixelArt(std::initializer_list<const char*> rows, std::initializer_list<Ink> inks) {
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(std::strlen(*rows.begin()));
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  int y = 0;
  for (const char* row : rows) {
    if (static_cast<int>(std::strlen(row)) != width)
      qFatal("pixel art row %d has the wrong width", y);
    for (int x = 0; x < width; ++x) {
      if (row[x] == '.') continue;
      const auto ink =
          std::find_if(inks.begin(), inks.end(), [&](const Ink& i) { return i.key == row[x]; });
      if (ink == inks.end()) qFatal("pixel art uses the unknown ink '%c'", row[x]);
      image.setPixel(x, y, ink->rgb);
    }
    ++y;
  }
  return image;
}

// A palette image keeps the few colours of the pixel art exact and the files tiny.
QImage toIndexed(const QImage& image) {
  QList<QRgb> table;
  table.append(qRgba(0, 0, 0, 0));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 0) continue;
      if (!table.contains(pixel)) table.append(pixel);
    }
  QImage indexed(image.size(), QImage::Format_Indexed8);
  indexed.setColorTable(table);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb pixel = image.pixel(x, y);
      const auto index = qAlpha(pixel) == 0 ? 0 : table.indexOf(pixel);
      indexed.setPixel(x, y, static_cast<uint>(index));
    }
  return indexed;
}

// The pixel art at twice its size for high-density screens, by Scale2x: each pixel becomes
// four that follow the diagonals of its neighbours, so edges stay hard (no new colours, no
// blur) while staircases are halved instead of merely doubled.
QImage scale2x(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const int w = image.width();
  const int h = image.height();
  const auto at = [&](int x, int y) {
    return image.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
  };
  QImage doubled(2 * w, 2 * h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb e = at(x, y);
      const QRgb b = at(x, y - 1);
      const QRgb d = at(x - 1, y);
      const QRgb f = at(x + 1, y);
      const QRgb hh = at(x, y + 1);
      const bool flat = b == hh || d == f;
      doubled.setPixel(2 * x, 2 * y, !flat && d == b ? d : e);
      doubled.setPixel(2 * x + 1, 2 * y, !flat && b == f ? f : e);
      doubled.setPixel(2 * x, 2 * y + 1, !flat && d == hh ? d : e);
      doubled.setPixel(2 * x + 1, 2 * y + 1, !flat && hh == f ? f : e);
    }
  return doubled;
}

// The classic sixteen-colour palette, so that the small icons keep that look.
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kSilver = 0xffc0c0c0;
constexpr QRgb kYellow = 0xffffff00;
constexpr QRgb kOlive = 0xff808000;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

QImage closeIcon() {
  return pixelArt({"................", "................", "................", "...##......##...",
                   "...###....###...", "....###..###....", ".....######.....", "......####......",
                   "......####......", ".....######.....", "....###..###....", "...###....###...",
                   "...##......##...", "................", "................", "................"},
                  {{'#', kBlack}});
}

QImage reduceIcon() {
  return pixelArt({"................", "................", "................", "................",
                   "................", "................", "................", "................",
                   "................", "................", "....########....", "....########....",
                   "....########....", "................", "................", "................"},
                  {{'#', kBlack}});
}

QImage optionsIcon() {
  return pixelArt(
      {".............##.", "............#rr#", "...........#rrr#", "..........#sss#.",
       ".#########YYy#..", ".#......#YYy#...", ".#.....#YYy#....", ".#....#ww#.#....",
       ".#....#w#..#....", ".#....#....#....", ".#.........#....", ".#.........#....",
       ".#.........#....", ".#.........#....", ".###########....", "................"},
      {{'#', kBlack}, {'Y', kYellow}, {'y', kOlive}, {'w', kWhite}, {'s', kSilver}, {'r', kRed}});
}

QImage aboutIcon() {
  return pixelArt({"................", "................", "................", "......######....",
                   ".....##....##...", "....##..........", "..########......", "....##..........",
                   "..########......", "....##..........", "....##..........", ".....##....##...",
                   "......######....", "................", "................", "................"},
                  {{'#', kBlack}});
}

QImage helpIcon() {
  return pixelArt({"................", "................", ".....######.....", "....########....",
                   "....##....##....", "..........##....", ".........###....", "........###.....",
                   ".......###......", ".......##.......", ".......##.......", "................",
                   ".......##.......", ".......##.......", "................", "................"},
                  {{'#', kBlack}});
}

QImage zoneEuroIcon() {
  return pixelArt({"................", ".......##.......", ".......##.......", "...##......##...",
                   "...##......##...", "................", "................", ".##..........##.",
                   ".##..........##.", "................", "................", "...##......##...",
                   "...##......##...", ".......##.......", ".......##.......", "................"},
                  {{'#', kBlue}});
}

QImage focusIcon() {
  return pixelArt({"................", "................", "................", "................",
                   "...........#....", ".........###....", ".......#####....", ".....#######....",
                   ".....#######....", ".......#####....", ".........###....", "...........#....",
                   "................", "................", "................", "................"},
                  {{'#', kBlack}});
}

// The hot spot is the tip of the index finger; keep it in step with the grid.
constexpr int kHandHotSpotX = 5;
constexpr int kHandHotSpotY = 0;

QImage handCursor() {
  return pixelArt({".....##.........................", "....#WW#........................",
                   "....#WW#........................", "....#WW#........................",
                   "....#WW#........................", "....#WW###......................",
                   "....#WW#WW###...................", "....#WW#WW#WW###................",
                   "....#WW#WW#WW#WW#...............", ".##.#WW#WW#WW#WW#...............",
                   ".#W##WWWWWWWWWWW#...............", ".#WW#WWWWWWWWWWW#...............",
                   ".#WWWWWWWWWWWWWW#...............", "..#WWWWWWWWWWWWW#...............",
                   "..#WWWWWWWWWWWWW#...............", "...#WWWWWWWWWWWW#...............",
                   "...#WWWWWWWWWWW#................", "....#WWWWWWWWWW#................",
                   "....#WWWWWWWWW#.................", ".....#WWWWWWWW#.................",
                   ".....##########.................", ".....#WWWWWWWW#.................",
                   ".....#WWWWWWWW#.................", ".....##########.................",
                   "................................", "................................",
                   "................................", "................................",
                   "................................", "................................",
                   "................................", "................................"},
                  {{'#', kBlack}, {'W', kWhite}});
}

// ---------------------------------------------------------------------------------------
// The gold coin

constexpr QRgb kCoinOutline = 0xff5c3a00;
constexpr QRgb kCoinRimLight = 0xfffff2a8;
constexpr QRgb kCoinRim = 0xfff2c94a;
constexpr QRgb kCoinRimDark = 0xffb07a10;
constexpr QRgb kCoinFaceLight = 0xffffde60;
constexpr QRgb kCoinFace = 0xfff0b828;
constexpr QRgb kCoinFaceDark = 0xffd89a18;
constexpr QRgb kCoinSign = 0xff6a4000;

// At 16 pixels the coin must stay a clean circle with a sign that reads, so it is placed
// by hand rather than scaled down from the large drawing.
QImage coinIcon16() {
  return pixelArt({".....KKKKKK.....", "...KKLLLLLYKK...", "..KLLyyyGGGYYK..", ".KLyyyyEEEEGGYK.",
                   ".KLyyEEEGGEEGYK.", "KLyyEEGGGGGGGGYK", "KLyEEEEEEGGGGGDK", "KLyGEEGGGGGGGGDK",
                   "KLGGEEGGGGGGGgDK", "KLGEEEEEEGGGggDK", "KYGGEEGGGGGgggDK", ".KYGGEEEGGEEgDK.",
                   ".KYGGGGEEEEggDK.", "..KYYGGGgggDDK..", "...KKYDDDDDKK...", ".....KKKKKK....."},
                  {{'K', kCoinOutline},
                   {'L', kCoinRimLight},
                   {'Y', kCoinRim},
                   {'D', kCoinRimDark},
                   {'y', kCoinFaceLight},
                   {'G', kCoinFace},
                   {'g', kCoinFaceDark},
                   {'E', kCoinSign}});
}

// The euro sign, `height` pixels high, centred on `centre`. The bars' edges are put on
// whole pixels: at icon sizes a bar that straddles two pixel rows turns to mush.
QPainterPath euroSign(QPointF centre, double height) {
  const double stroke = height * 0.16;
  const QRectF outer(centre.x() - height * 0.42, centre.y() - height / 2, height * 0.84, height);
  const QRectF inner = outer.adjusted(stroke, stroke, -stroke, -stroke);
  const double start = 42.0;
  const double sweep = 276.0;
  QPainterPath c;
  c.arcMoveTo(outer, start);
  c.arcTo(outer, start, sweep);
  QPainterPath innerArc;
  innerArc.arcMoveTo(inner, start + sweep);
  c.lineTo(innerArc.currentPosition());
  c.arcTo(inner, start + sweep, -sweep);
  c.closeSubpath();

  QPainterPath bars;
  const double barHeight = std::max(1.0, std::round(height * 0.12));
  const double left = std::round(centre.x() - height * 0.58);
  const double right = std::round(centre.x() + height * 0.16);
  const double slant = height * 0.05;
  for (double at : {-0.1, 0.12}) {
    const double top = std::round(centre.y() + height * at - barHeight / 2);
    QPolygonF bar;
    bar << QPointF(left, top + barHeight) << QPointF(left + slant, top)
        << QPointF(right + slant, top) << QPointF(right, top + barHeight);
    bars.addPolygon(bar);
    bars.closeSubpath();
  }
  return c.united(bars);
}

QImage coinIcon(int size) {
  if (size == 16) return coinIcon16();
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const QPointF centre(s / 2, s / 2);
  const double outline = std::max(1.0, s / 40.0);
  const double radius = s / 2 - outline / 2;

  QLinearGradient rim(QPointF(0, 0), QPointF(s, s));
  rim.setColorAt(0.0, QColor(kCoinRimLight));
  rim.setColorAt(0.45, QColor(kCoinRim));
  rim.setColorAt(1.0, QColor(kCoinRimDark));
  p.setPen(QPen(QColor(kCoinOutline), outline));
  p.setBrush(rim);
  p.drawEllipse(centre, radius, radius);

  // Milled edge: fine notches only where there are pixels enough to show them.
  const double faceRadius = radius * 0.80;
  if (size >= 64) {
    p.setPen(QPen(withAlpha(QColor(kCoinRimDark), 0.55), s / 160.0));
    const int notches = 72;
    for (int i = 0; i < notches; ++i) {
      const double a = kTau * i / notches;
      const QPointF dir(std::cos(a), std::sin(a));
      p.drawLine(centre + dir * (faceRadius + s / 40), centre + dir * (radius - outline));
    }
  }

  QRadialGradient face(centre - QPointF(s * 0.12, s * 0.14), faceRadius * 1.3);
  face.setColorAt(0.0, QColor(kCoinFaceLight));
  face.setColorAt(0.6, QColor(kCoinFace));
  face.setColorAt(1.0, QColor(kCoinFaceDark));
  p.setPen(QPen(QColor(kCoinRimDark), std::max(1.0, s / 64.0)));
  p.setBrush(face);
  p.drawEllipse(centre, faceRadius, faceRadius);

  // The sign is struck into the face: a light edge below-right, the dark sign above it.
  const QPainterPath sign = euroSign(centre, std::round(faceRadius * 1.2));
  // Below 64 pixels the light edge would read as extra stripes between the bars.
  p.setPen(Qt::NoPen);
  if (size >= 64) {
    const double relief = std::round(s / 128.0);
    p.setBrush(withAlpha(QColor(kCoinRimLight), 0.9));
    p.drawPath(sign.translated(relief, relief));
  }
  p.setBrush(QColor(kCoinSign));
  p.drawPath(sign);
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------
// Banknote drawing helpers

struct NoteStyle {
  QColor paperA;  // paper tints, before washing
  QColor paperB;
  QColor glow;    // a second ink blended into the paper, as on the printed notes
  QColor ink;     // the motif
  QColor ink2;    // background patterns
  QColor accent;  // strongest lines: numerals, outlines
  double keep;    // how much of each colour's distance from white survives the washing
};

// Closed Catmull-Rom spline through the points: gives hand-drawn looking blobs from a
// short list of points.
QPainterPath smoothClosed(const std::vector<QPointF>& pts) {
  QPainterPath path;
  const int n = static_cast<int>(pts.size());
  if (n < 3) return path;
  path.moveTo(pts[0]);
  for (int i = 0; i < n; ++i) {
    const QPointF& p0 = pts[(i - 1 + n) % n];
    const QPointF& p1 = pts[i];
    const QPointF& p2 = pts[(i + 1) % n];
    const QPointF& p3 = pts[(i + 2) % n];
    path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
  }
  path.closeSubpath();
  return path;
}

void drawCurve(QPainter& p, const std::function<QPointF(double)>& f, double t0, double t1,
               int steps) {
  QPolygonF line;
  line.reserve(steps + 1);
  for (int i = 0; i <= steps; ++i) line << f(t0 + (t1 - t0) * i / steps);
  p.drawPolyline(line);
}

// Parallel lines across a shape: the engraver's way of giving a surface a tone.
void hatch(QPainter& p, const QPainterPath& shape, double angleDeg, double spacing,
           const QPen& pen) {
  p.save();
  p.setClipPath(shape, Qt::IntersectClip);
  p.setPen(pen);
  const QRectF box = shape.boundingRect();
  const QPointF c = box.center();
  const double reach = std::hypot(box.width(), box.height()) / 2 + 2;
  const QPointF along(std::cos(radians(angleDeg)), std::sin(radians(angleDeg)));
  const QPointF across(-along.y(), along.x());
  for (double d = -reach; d <= reach; d += spacing)
    p.drawLine(c + across * d - along * reach, c + across * d + along * reach);
  p.restore();
}

void dotScreen(QPainter& p, const QPainterPath& shape, double spacing, double dot,
               const QColor& colour) {
  p.save();
  p.setClipPath(shape, Qt::IntersectClip);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const QRectF box = shape.boundingRect();
  int row = 0;
  for (double y = box.top(); y <= box.bottom(); y += spacing * 0.866, ++row)
    for (double x = box.left() + (row % 2) * spacing / 2; x <= box.right(); x += spacing)
      p.drawEllipse(QPointF(x, y), dot, dot);
  p.restore();
}

// Gently undulating lines over the whole note: the fine background print of banknotes.
void waveField(QPainter& p, const QRectF& area, double spacing, double amplitude, double period,
               const QPen& pen) {
  p.save();
  p.setPen(pen);
  for (double y0 = area.top() - amplitude; y0 <= area.bottom() + amplitude; y0 += spacing) {
    drawCurve(
        p,
        [&](double x) {
          return QPointF(x, y0 + amplitude * std::sin(kTau * x / period + y0 * 0.045) +
                                amplitude * 0.5 * std::sin(kTau * x / (period * 2.7) - y0 * 0.02));
        },
        area.left(), area.right(), static_cast<int>(area.width() / 2));
  }
  p.restore();
}

// Interlaced sine strands along a band, as on the borders of printed securities.
void guillocheBand(QPainter& p, const QRectF& band, int strands, double period, const QPen& pen) {
  p.save();
  p.setPen(pen);
  const double mid = band.center().y();
  const double half = band.height() / 2;
  for (int j = 0; j < strands; ++j) {
    const double phase = kTau * j / strands;
    drawCurve(
        p,
        [&](double x) {
          const double swell = 0.75 + 0.25 * std::sin(kTau * x / (period * 5.3));
          return QPointF(x, mid + half * swell * std::sin(kTau * x / period + phase));
        },
        band.left(), band.right(), static_cast<int>(band.width()));
  }
  p.restore();
}

// A guilloche rosette: closed waves around a circle, several phases interlaced.
void rosette(QPainter& p, QPointF c, double radius, double depth, int petals, int strands,
             const QPen& pen, double twist = 0.0) {
  p.save();
  p.setPen(pen);
  for (int j = 0; j < strands; ++j) {
    const double phase = kTau * j / (petals * strands);
    drawCurve(
        p,
        [&](double t) {
          const double r = radius + depth * std::sin(petals * t + phase * petals) +
                           depth * 0.35 * std::sin(2 * petals * t - phase * petals * 3);
          return c + QPointF(std::cos(t + twist * std::sin(petals * t)), std::sin(t)) * r;
        },
        0.0, kTau, 720);
  }
  p.restore();
}

void concentricRings(QPainter& p, QPointF c, double r0, double r1, double step, const QPen& pen) {
  p.save();
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  for (double r = r0; r <= r1; r += step) p.drawEllipse(c, r, r);
  p.restore();
}

QPainterPath star(QPointF c, double r, double turn = -90.0) {
  QPolygonF poly;
  for (int i = 0; i < 10; ++i) {
    const double a = radians(turn + 36.0 * i);
    const double rr = i % 2 == 0 ? r : r * 0.40;
    poly << c + QPointF(std::cos(a), std::sin(a)) * rr;
  }
  QPainterPath path;
  path.addPolygon(poly);
  path.closeSubpath();
  return path;
}

void starRing(QPainter& p, QPointF c, double radius, double starRadius, const QColor& colour,
              const QPen& outline = Qt::NoPen) {
  p.save();
  p.setPen(outline);
  p.setBrush(colour);
  for (int i = 0; i < 12; ++i) {
    const double a = kTau * i / 12;
    p.drawPath(star(c + QPointF(std::cos(a), std::sin(a)) * radius, starRadius));
  }
  p.restore();
}

// Europe as a handful of longitude/latitude points: a recognisable silhouette, not a map.
// The seas are drawn a little wider than they are so that they survive the smoothing.
QPainterPath europe(const QRectF& box) {
  const auto project = [&](const std::vector<std::pair<double, double>>& lonLat) {
    std::vector<QPointF> pts;
    for (auto [lon, lat] : lonLat)
      pts.emplace_back(box.left() + box.width() * (lon + 11.0) / 54.0,
                       box.top() + box.height() * (71.5 - lat) / 37.0);
    return smoothClosed(pts);
  };
  QPainterPath path;
  path.addPath(project({
      {-9.0, 37.0}, {-5.6, 36.0}, {-2.0, 36.8}, {-0.5, 38.6}, {0.2, 40.0},  {3.2, 41.9},
      {4.5, 43.3},  {7.5, 43.6},  {9.0, 44.3},  {11.2, 42.3}, {14.3, 40.6}, {15.7, 38.0},
      {16.7, 39.3}, {18.5, 40.0}, {16.2, 41.5}, {13.6, 43.4}, {12.3, 45.3}, {13.8, 45.5},
      {16.0, 43.3}, {19.4, 41.3}, {21.2, 38.2}, {22.5, 36.5}, {24.0, 37.8}, {22.8, 40.4},
      {26.0, 40.7}, {28.6, 41.3}, {28.0, 43.4}, {29.6, 45.2}, {31.5, 46.6}, {33.2, 45.6},
      {33.6, 44.5}, {35.5, 45.1}, {38.3, 46.9}, {41.5, 47.2}, {42.5, 52.0}, {41.5, 58.0},
      {42.5, 63.0}, {40.0, 65.5}, {36.5, 66.5}, {34.0, 69.2}, {29.0, 70.2}, {25.8, 71.2},
      {20.5, 70.2}, {15.5, 68.8}, {12.5, 66.0}, {10.0, 63.8}, {6.0, 62.4},  {4.8, 60.5},
      {5.5, 58.6},  {7.5, 57.9},  {9.8, 58.8},  {10.8, 59.6}, {11.6, 58.0}, {12.6, 56.2},
      {13.0, 55.4}, {14.6, 55.7}, {16.2, 56.6}, {16.8, 58.6}, {18.6, 59.6}, {17.4, 61.2},
      {19.0, 63.4}, {21.6, 64.8}, {22.8, 65.8}, {25.2, 65.4}, {24.6, 64.4}, {22.0, 63.2},
      {21.4, 61.6}, {21.9, 60.3}, {25.0, 60.0}, {29.5, 60.2}, {28.0, 59.2}, {24.5, 58.9},
      {24.2, 57.4}, {21.6, 57.4}, {21.0, 56.0}, {21.0, 55.0}, {19.2, 54.5}, {17.0, 54.7},
      {14.5, 53.9}, {12.2, 54.3}, {10.9, 54.5}, {10.4, 55.6}, {10.6, 57.6}, {9.8, 57.4},
      {8.2, 56.6},  {8.6, 55.1},  {8.4, 53.8},  {6.6, 53.4},  {4.8, 52.8},  {3.4, 51.4},
      {1.7, 50.9},  {0.2, 49.6},  {-1.4, 49.6}, {-1.8, 48.7}, {-4.7, 48.4}, {-2.3, 47.2},
      {-1.3, 45.2}, {-1.5, 43.5}, {-4.8, 43.4}, {-8.1, 43.6}, {-9.2, 42.8}, {-8.8, 41.2},
      {-9.4, 38.8}, {-8.8, 38.1},
  }));
  // Britain, Ireland, Sicily, Sardinia with Corsica, Crete.
  path.addPath(project({{-5.6, 50.1},
                        {-3.0, 50.6},
                        {1.3, 51.1},
                        {1.7, 52.7},
                        {0.2, 53.5},
                        {-1.3, 54.9},
                        {-2.0, 57.1},
                        {-3.0, 58.6},
                        {-5.0, 58.6},
                        {-5.8, 56.6},
                        {-5.0, 55.5},
                        {-3.4, 54.8},
                        {-3.0, 53.4},
                        {-4.6, 52.8},
                        {-4.8, 51.7},
                        {-3.0, 51.4}}));
  path.addPath(project({{-6.0, 52.2},
                        {-6.1, 53.4},
                        {-5.9, 55.1},
                        {-8.2, 55.1},
                        {-9.9, 53.6},
                        {-10.1, 51.9},
                        {-8.4, 51.6}}));
  path.addPath(project({{12.4, 38.1}, {15.6, 38.2}, {15.1, 36.7}, {13.5, 37.1}}));
  path.addPath(project({{8.5, 42.9}, {9.8, 42.8}, {9.8, 39.6}, {9.1, 39.0}, {8.4, 39.2}}));
  path.addPath(project({{23.5, 35.6}, {26.2, 35.3}, {24.8, 34.9}}));
  path.setFillRule(Qt::WindingFill);
  return path.simplified();
}

// The map fades out eastwards, as the printed maps do, instead of ending on a cut.
void drawEurope(QPainter& p, const QRectF& box, const NoteStyle& style, const QSize& noteSize) {
  // The layer has the note's pixel density, or the sharp 2x note would get a 1x map.
  const qreal scale = p.device()->devicePixelRatio();
  QImage layer((QSizeF(noteSize) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(scale);
  layer.fill(Qt::transparent);
  QPainter m(&layer);
  m.setRenderHint(QPainter::Antialiasing);
  const QPainterPath land = europe(box);
  for (int i = 4; i >= 1; --i) {
    QPainterPathStroker stroker;
    stroker.setWidth(i * 3.4);
    stroker.setJoinStyle(Qt::RoundJoin);
    m.setPen(hairline(style.ink2, 0.4, 0.55));
    m.setBrush(Qt::NoBrush);
    m.drawPath(stroker.createStroke(land).united(land).simplified());
  }
  m.setPen(Qt::NoPen);
  m.setBrush(withAlpha(style.ink, 0.2));
  m.drawPath(land);
  dotScreen(m, land, 2.4, 0.6, withAlpha(style.ink, 0.6));
  m.setPen(hairline(style.accent, 0.75, 0.85));
  m.setBrush(Qt::NoBrush);
  m.drawPath(land);
  m.setCompositionMode(QPainter::CompositionMode_DestinationIn);
  QLinearGradient fade(QPointF(box.left() + box.width() * 0.6, 0), QPointF(box.right(), 0));
  fade.setColorAt(0.0, QColor(0, 0, 0, 255));
  fade.setColorAt(1.0, QColor(0, 0, 0, 40));
  m.fillRect(layer.rect(), fade);
  m.end();
  p.drawImage(0, 0, layer);
}

// Numerals are built from strokes so that they need no font and look alike everywhere.
// Each digit lives in a box kDigitWidth wide and 1 high; the path is in those units.
constexpr double kDigitWidth = 0.56;
constexpr double kDigitGap = 0.1;

QPainterPath digit(char d) {
  const double w = kDigitWidth;
  const double s = 0.17;
  QPainterPath centre;
  QPainterPath solid;
  switch (d) {
    case '0': {
      solid.addEllipse(QRectF(0, 0, w, 1));
      solid.addEllipse(QRectF(s, s * 0.9, w - 2 * s, 1 - 1.8 * s));
      solid.setFillRule(Qt::OddEvenFill);
      return solid;
    }
    case '1': {
      QPolygonF stem;
      stem << QPointF(0.27, 0) << QPointF(0.45, 0) << QPointF(0.45, 1) << QPointF(0.27, 1);
      QPolygonF flag;
      flag << QPointF(0.30, 0) << QPointF(0.30, 0.19) << QPointF(0.05, 0.33) << QPointF(0.05, 0.15);
      solid.addPolygon(stem);
      solid.closeSubpath();
      QPainterPath f;
      f.addPolygon(flag);
      f.closeSubpath();
      return solid.united(f);
    }
    case '2': {
      const QRectF bowl(s / 2, s / 2, w - s, 0.58 - s);
      centre.arcMoveTo(bowl, 165);
      centre.arcTo(bowl, 165, -205);
      centre.lineTo(s / 2 + 0.005, 1 - s / 2);
      centre.lineTo(w, 1 - s / 2);
      break;
    }
    case '5': {
      const QRectF bowl(s / 2 - 0.01, 0.37, w - s + 0.01, 0.63 - s / 2);
      centre.moveTo(w - 0.02, s / 2);
      centre.lineTo(0.12, s / 2);
      QPainterPath arcStart;
      arcStart.arcMoveTo(bowl, 135);
      centre.lineTo(arcStart.currentPosition().x() - 0.005, arcStart.currentPosition().y());
      centre.arcTo(bowl, 135, -270);
      break;
    }
    default:
      qFatal("no numeral drawn for '%c'", d);
  }
  QPainterPathStroker stroker;
  stroker.setWidth(s);
  stroker.setCapStyle(Qt::FlatCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  stroker.setMiterLimit(2.0);
  return stroker.createStroke(centre).simplified();
}

double numeralWidth(const char* digits, double height) {
  const double n = static_cast<double>(std::strlen(digits));
  return height * (n * kDigitWidth + (n - 1) * kDigitGap);
}

QPainterPath numeral(const char* digits, QPointF centre, double height) {
  QPainterPath path;
  double x = 0;
  for (const char* d = digits; *d != '\0'; ++d) {
    path.addPath(QTransform::fromTranslate(x, 0).map(digit(*d)));
    x += kDigitWidth + kDigitGap;
  }
  path.setFillRule(Qt::WindingFill);
  const QPointF topLeft = centre - QPointF(numeralWidth(digits, height) / 2, height / 2);
  return QTransform::fromTranslate(topLeft.x(), topLeft.y()).scale(height, height).map(path);
}

// An engraved numeral: a shadow outline, a hatched body and a crisp contour.
void drawNumeral(QPainter& p, const QPainterPath& shape, const NoteStyle& style, double weight) {
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(hairline(style.ink2, 0.7 * weight, 0.8));
  p.drawPath(shape.translated(1.3 * weight, 1.3 * weight));
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(style.ink, 0.3));
  p.drawPath(shape);
  hatch(p, shape, -35, 1.7, hairline(style.accent, 0.5 * weight, 0.75));
  p.setBrush(Qt::NoBrush);
  p.setPen(hairline(style.accent, 0.85 * weight, 1.0));
  p.drawPath(shape);
  p.restore();
}

// The left part of the window's disc is free of captions: a medallion there carries the
// value, so the denomination shows in every window.
constexpr QPointF kMedallion(32, 80);

void medallion(QPainter& p, QPointF c, double radius, const char* digits, const NoteStyle& style) {
  rosette(p, c, radius - 6, 3.4, 9, 4, hairline(style.ink2, 0.45, 0.85));
  rosette(p, c, radius - 13, 2.0, 15, 3, hairline(style.ink, 0.35, 0.7), 0.05);
  concentricRings(p, c, radius - 1, radius + 1, 1.0, hairline(style.ink, 0.4, 0.75));
  // A calm field under the figures keeps them from drowning in the rosette.
  const double h = std::strlen(digits) > 2 ? 15.0 : 19.0;
  const double w = numeralWidth(digits, h);
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(style.paperA.lighter(106), 0.85));
  p.drawEllipse(c, w / 2 + 4, h / 2 + 4);
  drawNumeral(p, numeral(digits, c, h), style, 1.0);
}

// Interlaced waves in a ring that follows the window's round edge: the disc reads as a
// struck medal, and the band stays under the icons, away from the captions.
void windowRing(QPainter& p, const NoteStyle& style) {
  const QPointF c(kWindowSide / 2.0, kWindowSide / 2.0);
  rosette(p, c, 83, 3.0, 28, 4, hairline(style.ink2, 0.4, 0.6));
  rosette(p, c, 76, 1.6, 40, 2, hairline(style.ink, 0.3, 0.45));
  concentricRings(p, c, 71, 72, 1.0, hairline(style.ink2, 0.35, 0.5));
}

// The paper tint plus a soft second colour, as the notes are printed in blended inks.
void paper(QPainter& p, const QSize& size, const NoteStyle& style) {
  QLinearGradient g(QPointF(0, 0), QPointF(size.width(), size.height()));
  g.setColorAt(0.0, style.paperA);
  g.setColorAt(1.0, style.paperB);
  p.fillRect(QRect(QPoint(0, 0), size), g);
  for (auto [at, r] : {std::pair{QPointF(120, 70), 110.0},
                       std::pair{QPointF(size.width() - 60.0, size.height() - 40.0), 90.0}}) {
    QRadialGradient blob(at, r);
    blob.setColorAt(0.0, withAlpha(style.glow, 0.55));
    blob.setColorAt(1.0, withAlpha(style.glow, 0.0));
    p.fillRect(QRect(QPoint(0, 0), size), blob);
  }
}

void washTowardsWhite(QImage& image, double keep) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const auto wash = [&](int c) {
        return static_cast<int>(std::lround(255.0 - (255.0 - c) * keep));
      };
      line[x] = qRgb(wash(qRed(line[x])), wash(qGreen(line[x])), wash(qBlue(line[x])));
    }
  }
}

enum class BigNumeral { BottomRight, None };

// Common ground of every note: paper, background print, numerals, the bottom band.
void noteBase(QPainter& p, const QSize& size, const NoteStyle& style, const char* value,
              BigNumeral big = BigNumeral::BottomRight) {
  const double w = size.width();
  const double h = size.height();
  paper(p, size, style);
  waveField(p, QRectF(0, 0, w, h), 3.0, 1.6, 23.0, hairline(style.ink2, 0.35, 0.4));
  p.save();
  p.translate(w / 2, h / 2);
  p.rotate(-8);
  waveField(p, QRectF(-w * 0.6, -h * 0.7, w * 1.2, h * 1.4), 7.0, 2.4, 41.0,
            hairline(style.ink, 0.3, 0.25));
  p.restore();
  guillocheBand(p, QRectF(0, h - 24, w, 14), 6, 19.0, hairline(style.ink2, 0.45, 0.8));
  guillocheBand(p, QRectF(0, h - 22, w, 10), 4, 13.0, hairline(style.ink, 0.4, 0.6));
  windowRing(p, style);

  if (big == BigNumeral::BottomRight) {
    const double bh = h * 0.24;
    const double bw = numeralWidth(value, bh);
    drawNumeral(p, numeral(value, QPointF(w - bw / 2 - 12, h - bh / 2 - 30), bh), style, 1.3);
  }
  // The top-left corner lies outside the window's disc: the small figure there is only
  // for the note as a whole, and kept small enough not to show a fragment in the disc.
  const double sh = 13;
  drawNumeral(p, numeral(value, QPointF(numeralWidth(value, sh) / 2 + 4, sh / 2 + 4), sh), style,
              0.6);
}

// Ashlar courses: stone walls and bridge spandrels.
void masonry(QPainter& p, const QRectF& area, double course, double block, const QPen& pen) {
  p.save();
  p.setPen(pen);
  int row = 0;
  for (double y = area.top(); y < area.bottom(); y += course, ++row) {
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    for (double x = area.left() + (row % 2) * block / 2; x < area.right(); x += block)
      p.drawLine(QPointF(x, y), QPointF(x, std::min(y + course, area.bottom())));
  }
  p.restore();
}

// A note's canvas, `scale` device pixels per unit of the drawing: the painter scales itself
// to the image's pixel ratio, so the same drawing code gives the 1x and the 2x note.
QImage noteCanvas(int width, int height, int scale) {
  QImage image(width * scale, height * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  return image;
}

QSize logicalSize(const QImage& image) { return image.deviceIndependentSize().toSize(); }

QRectF circleBox(QPointF c, double r) { return QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r); }

// A round-headed arch band between two radii, with its voussoirs.
void roundArch(QPainter& p, QPointF spring, double rOuter, double rInner, int stones,
               const QPen& outline, const QPen& joints) {
  p.save();
  p.setPen(outline);
  p.setBrush(Qt::NoBrush);
  p.drawArc(circleBox(spring, rOuter), 0, 180 * 16);
  p.drawArc(circleBox(spring, rInner), 0, 180 * 16);
  p.setPen(joints);
  for (int i = 1; i < stones; ++i) {
    const double a = kPi * i / stones;
    const QPointF dir(-std::cos(a), -std::sin(a));
    p.drawLine(spring + dir * rInner, spring + dir * rOuter);
  }
  p.restore();
}

// Norman chevrons running round an arch band.
void chevronArch(QPainter& p, QPointF spring, double rOuter, double rInner, int teeth,
                 const QPen& pen) {
  p.save();
  p.setPen(pen);
  QPolygonF zig;
  for (int i = 0; i <= teeth * 2; ++i) {
    const double a = kPi * i / (teeth * 2);
    const double r = i % 2 == 0 ? rOuter : rInner;
    zig << spring + QPointF(-std::cos(a), -std::sin(a)) * r;
  }
  p.drawPolyline(zig);
  p.restore();
}

void column(QPainter& p, double x, double top, double bottom, double width, const QPen& pen,
            const QColor& shade) {
  p.save();
  const QRectF shaft(x - width / 2, top + 3, width, bottom - top - 6);
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawRect(shaft.adjusted(width * 0.55, 0, 0, 0));
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(shaft);
  QPolygonF capital;
  capital << QPointF(x - width / 2 - 2, top) << QPointF(x + width / 2 + 2, top)
          << QPointF(x + width / 2, top + 3) << QPointF(x - width / 2, top + 3);
  p.drawPolygon(capital);
  p.drawRect(QRectF(x - width / 2 - 1.5, bottom - 3, width + 3, 3));
  p.restore();
}

// Two-centred arch, the gothic shape: each side is an arc of radius `sharpness` x span
// centred on the spring line; 0.5 gives a round arch, 1.0 the equilateral one.
QPainterPath pointedArch(QPointF springLeft, double span, double sharpness) {
  const double r = span * sharpness;
  const QPointF leftSideCentre = springLeft + QPointF(r, 0);
  const QPointF rightSideCentre = springLeft + QPointF(span - r, 0);
  const double apexFromLeft = std::acos((span / 2 - r) / r) * 180.0 / kPi;
  const double apexFromRight = 180.0 - apexFromLeft;
  QPainterPath path;
  path.moveTo(springLeft);
  path.arcTo(circleBox(leftSideCentre, r), 180, apexFromLeft - 180);
  path.arcTo(circleBox(rightSideCentre, r), apexFromRight, -apexFromRight);
  return path;
}

void waterLines(QPainter& p, double top, double bottom, double left, double right,
                const QPen& pen) {
  p.save();
  p.setPen(pen);
  for (double y = top + 2; y < bottom; y += 2.4)
    drawCurve(
        p, [&](double x) { return QPointF(x, y + 0.7 * std::sin(x / 4.0 + y * 1.7)); }, left, right,
        static_cast<int>((right - left) / 2));
  p.restore();
}

// ---------------------------------------------------------------------------------------
// The four notes

QImage note10(int scale) {
  const NoteStyle style{QColor(0xf6, 0xc8, 0xb0),
                        QColor(0xf8, 0xe0, 0xa8),
                        QColor(0xf0, 0xa0, 0x50),
                        QColor(0xc8, 0x40, 0x1c),
                        QColor(0xe0, 0x78, 0x28),
                        QColor(0x90, 0x24, 0x14),
                        0.5};
  QImage image = noteCanvas(420, 228, scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  noteBase(p, logicalSize(image), style, "10");

  const QPen line = hairline(style.ink, 0.8, 0.9);
  const QPen joint = hairline(style.ink, 0.45, 0.75);

  // A romanesque church front: gabled nave with a recessed portal, an aisle with a
  // blind arcade to its right.
  const QPointF spring(114, 122);
  const double ground = 204;
  const double nave = 56;  // half width
  QPainterPath front;
  front.addRect(QRectF(spring.x() - nave, 50, 2 * nave, ground - 50));
  front.addRect(QRectF(spring.x() + nave, 84, 140, ground - 84));
  QPainterPath portal;
  portal.addEllipse(spring, 48, 48);
  portal.addRect(QRectF(spring.x() - 48, spring.y(), 96, ground - spring.y()));
  p.save();
  p.setClipPath(front.subtracted(portal));
  masonry(p, QRectF(0, 50, 420, ground - 50), 8.0, 17.0, hairline(style.ink2, 0.45, 0.6));
  p.restore();
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawPath(front.simplified());

  // Gable with an oculus, and a Lombard band of small arches under the eaves.
  QPolygonF gable;
  gable << QPointF(spring.x() - nave - 4, 52) << QPointF(spring.x(), 16)
        << QPointF(spring.x() + nave + 4, 52);
  p.drawPolyline(gable);
  p.drawPolyline(gable.translated(0, 5));
  const QPointF oculus(spring.x(), 36);
  concentricRings(p, oculus, 7, 9, 2, line);
  rosette(p, oculus, 4.5, 1.2, 6, 2, hairline(style.accent, 0.4, 0.85));
  for (int i = 0; i < 9; ++i) {
    const double x = spring.x() - nave + 2 + i * 12.0;
    p.drawArc(QRectF(x, 55, 12, 10), 0, 180 * 16);
  }
  p.drawLine(QPointF(spring.x() + nave, 80), QPointF(spring.x() + nave + 140, 80));
  p.drawLine(QPointF(spring.x() + nave, 84), QPointF(spring.x() + nave + 140, 84));
  for (double x = spring.x() + nave + 2; x < spring.x() + nave + 136; x += 10)
    p.drawArc(QRectF(x, 86, 10, 9), 0, 180 * 16);

  // The recessed portal: plain voussoirs, chevrons, a roll, each band on its columns.
  roundArch(p, spring, 48, 42, 17, line, joint);
  chevronArch(p, spring, 41, 36, 12, hairline(style.accent, 0.6, 0.85));
  roundArch(p, spring, 35, 30, 13, line, joint);
  roundArch(p, spring, 29, 25, 11, line, hairline(style.ink, 0.35, 0.6));
  for (double r : {45.0, 38.5, 32.5, 27.0}) {
    column(p, spring.x() - r, spring.y(), ground, 4.5, line, withAlpha(style.ink, 0.2));
    column(p, spring.x() + r, spring.y(), ground, 4.5, line, withAlpha(style.ink, 0.2));
  }
  QPainterPath tympanum;
  tympanum.moveTo(spring + QPointF(-24, 0));
  tympanum.arcTo(circleBox(spring, 24), 180, -180);
  tympanum.closeSubpath();
  hatch(p, tympanum, 90, 2.0, hairline(style.ink2, 0.45, 0.6));
  rosette(p, spring - QPointF(0, 11), 6, 1.2, 6, 3, hairline(style.accent, 0.4, 0.85));
  p.setPen(line);
  p.drawRect(QRectF(spring.x() - 25, spring.y(), 50, 5));
  QPainterPath door;
  door.addRect(QRectF(spring.x() - 23, spring.y() + 5, 46, ground - spring.y() - 5));
  hatch(p, door, 90, 2.2, hairline(style.ink, 0.4, 0.5));
  p.setPen(line);
  p.drawLine(QPointF(spring.x(), spring.y() + 5), QPointF(spring.x(), ground));

  for (int i = 0; i < 5; ++i) {
    const QPointF s(spring.x() + nave + 18 + i * 26.0, 150);
    roundArch(p, s, 12, 9, 7, line, joint);
    column(p, s.x() - 10.5, s.y(), ground, 3, line, withAlpha(style.ink, 0.15));
    column(p, s.x() + 10.5, s.y(), ground, 3, line, withAlpha(style.ink, 0.15));
    QPainterPath niche;
    niche.addEllipse(s, 9, 9);
    niche.addRect(QRectF(s.x() - 9, s.y(), 18, ground - s.y() - 3));
    hatch(p, niche.simplified(), 90, 2.0, hairline(style.ink, 0.4, 0.45));
  }
  p.setPen(line);
  p.drawLine(QPointF(40, ground), QPointF(330, ground));
  p.drawLine(QPointF(36, ground + 3), QPointF(334, ground + 3));

  drawEurope(p, QRectF(300, 16, 116, 128), style, logicalSize(image));
  medallion(p, kMedallion, 26, "10", style);
  p.end();
  washTowardsWhite(image, style.keep);
  return image;
}

QImage note20(int scale) {
  const NoteStyle style{QColor(0xc4, 0xd8, 0xf4),
                        QColor(0xd8, 0xcc, 0xf0),
                        QColor(0x90, 0xc8, 0xf0),
                        QColor(0x20, 0x58, 0xb8),
                        QColor(0x50, 0x90, 0xe0),
                        QColor(0x14, 0x2c, 0x78),
                        0.5};
  QImage image = noteCanvas(420, 233, scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  noteBase(p, logicalSize(image), style, "20");

  const QPen line = hairline(style.ink, 0.8, 0.9);
  const QPen joint = hairline(style.ink, 0.45, 0.75);

  // A lancet window with a rose, standing on the bridge like a gate tower.
  const double deck = 118;
  const QPointF towerSpring(80, deck - 10);
  const double towerSpan = 76;
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawPath(pointedArch(towerSpring, towerSpan, 1.1));
  p.drawPath(pointedArch(towerSpring + QPointF(5, 0), towerSpan - 10, 1.1));
  const QPointF rose(towerSpring.x() + towerSpan / 2, 71);
  concentricRings(p, rose, 19, 21, 2, line);
  for (int i = 0; i < 12; ++i) {
    const double a = kTau * i / 12;
    const QPointF dir(std::cos(a), std::sin(a));
    p.setPen(joint);
    p.drawLine(rose + dir * 6, rose + dir * 19);
    p.setPen(hairline(style.ink, 0.6, 0.85));
    const QPointF petal = rose + QPointF(std::cos(a + kPi / 12), std::sin(a + kPi / 12)) * 14;
    p.drawEllipse(petal, 3.4, 3.4);
  }
  concentricRings(p, rose, 4, 6, 2, line);
  // Twin lights under the rose.
  for (double dx : {-15.0, 3.0}) {
    const QPointF s(rose.x() + dx, 96);
    p.setPen(line);
    QPainterPath light = pointedArch(s, 12, 0.9);
    light.lineTo(s.x() + 12, towerSpring.y());
    light.moveTo(s);
    light.lineTo(s.x(), towerSpring.y());
    p.drawPath(light);
  }
  // Flanking pinnacles: a buttress shaft, a gablet, a crocketed spire and its finial.
  for (double x : {towerSpring.x() - 7, towerSpring.x() + towerSpan + 7}) {
    p.setPen(line);
    p.drawRect(QRectF(x - 3.5, 62, 7, deck - 10 - 62));
    p.drawLine(QPointF(x, 66), QPointF(x, deck - 14));
    p.drawPath(pointedArch(QPointF(x - 3.5, 62), 7, 0.9));
    QPolygonF spire;
    spire << QPointF(x - 3, 58) << QPointF(x, 36) << QPointF(x + 3, 58);
    p.drawPolyline(spire);
    for (double y = 42; y < 58; y += 5) {
      const double half = 3 * (y - 36) / 22;
      p.drawLine(QPointF(x - half, y), QPointF(x - half - 1.6, y - 1.6));
      p.drawLine(QPointF(x + half, y), QPointF(x + half + 1.6, y - 1.6));
    }
    p.drawEllipse(QPointF(x, 34.5), 1.5, 1.5);
  }

  // The bridge: pointed arches on piers with cutwaters.
  const double water = 186;
  const double span = 50;
  const double pier = 18;
  const double springY = water - 16;
  const int arches = 4;
  const double left = 12;
  QPainterPath body;
  body.addRect(QRectF(left - 4, deck, arches * (span + pier) + pier + 8, water - deck));
  QPainterPath openings;
  for (int i = 0; i < arches; ++i) {
    const QPointF s(left + pier + i * (span + pier), springY);
    QPainterPath a = pointedArch(s, span, 0.8);
    a.lineTo(s.x() + span, water + 1);
    a.lineTo(s.x(), water + 1);
    a.closeSubpath();
    openings.addPath(a);
  }
  const QPainterPath stone = body.subtracted(openings);
  p.save();
  p.setClipPath(stone);
  masonry(p, body.boundingRect(), 6.0, 13.0, hairline(style.ink2, 0.45, 0.6));
  p.restore();
  p.setPen(line);
  p.drawPath(stone);
  for (int i = 0; i < arches; ++i) {
    const QPointF s(left + pier + i * (span + pier), springY);
    p.setPen(line);
    p.drawPath(pointedArch(s - QPointF(5, 0), span + 10, 0.8));
    const QPainterPath ring = pointedArch(s - QPointF(2.5, 0), span + 5, 0.8);
    p.setPen(joint);
    for (int k = 1; k < 16; ++k) {
      const double t = k / 16.0;
      const QPointF at = ring.pointAtPercent(t);
      const double ang = radians(ring.angleAtPercent(t) + 90.0);
      const QPointF n(std::cos(ang), -std::sin(ang));
      p.drawLine(at - n * 2.5, at + n * 2.5);
    }
    QPainterPath under = pointedArch(s, span, 0.8);
    under.lineTo(s.x() + span, water);
    under.lineTo(s.x(), water);
    under.closeSubpath();
    hatch(p, under, 0, 2.6, hairline(style.ink2, 0.35, 0.4));
  }
  p.setPen(line);
  for (int i = 0; i <= arches; ++i) {
    const double x = left + i * (span + pier) + pier / 2;
    QPolygonF cut;
    cut << QPointF(x - pier / 2, water) << QPointF(x, water - 22) << QPointF(x + pier / 2, water);
    p.drawPolyline(cut);
  }
  // Parapet of small pointed openings.
  const double parapetRight = left + arches * (span + pier) + pier + 4;
  p.drawLine(QPointF(left - 6, deck - 10), QPointF(parapetRight + 2, deck - 10));
  p.drawLine(QPointF(left - 6, deck), QPointF(parapetRight + 2, deck));
  for (double x = left - 3; x < parapetRight - 4; x += 8) {
    QPainterPath a = pointedArch(QPointF(x + 1.5, deck - 1), 5, 0.9);
    a.lineTo(x + 6.5, deck);
    a.moveTo(x + 1.5, deck - 1);
    a.lineTo(x + 1.5, deck);
    p.drawPath(a);
  }
  waterLines(p, water, water + 14, 0, parapetRight + 10, hairline(style.ink2, 0.5, 0.7));

  drawEurope(p, QRectF(302, 18, 112, 126), style, logicalSize(image));
  medallion(p, kMedallion, 26, "20", style);
  p.end();
  washTowardsWhite(image, style.keep);
  return image;
}

// A baroque scroll: a spiral whose end curls inward.
void volute(QPainter& p, QPointF c, double r, bool mirrored, const QPen& pen) {
  p.save();
  p.setPen(pen);
  const double side = mirrored ? -1.0 : 1.0;
  drawCurve(
      p,
      [&](double t) {
        const double rr = r * std::exp(-0.22 * t);
        return c + QPointF(side * std::cos(t) * rr, std::sin(t) * rr);
      },
      0.0, 3.2 * kPi, 160);
  p.restore();
}

void baluster(QPainter& p, double x, double top, double bottom, const QPen& pen) {
  const double h = bottom - top;
  QPainterPath b;
  b.moveTo(x - 1.5, top);
  b.cubicTo(QPointF(x - 1.0, top + h * 0.3), QPointF(x - 3.2, top + h * 0.55),
            QPointF(x - 2.2, top + h * 0.85));
  b.lineTo(x - 2.2, bottom);
  b.lineTo(x + 2.2, bottom);
  b.lineTo(x + 2.2, top + h * 0.85);
  b.cubicTo(QPointF(x + 3.2, top + h * 0.55), QPointF(x + 1.0, top + h * 0.3),
            QPointF(x + 1.5, top));
  b.closeSubpath();
  p.setPen(pen);
  p.drawPath(b);
}

// A rocaille shell: ribs fanning from a hinge under a scalloped edge.
void shell(QPainter& p, QPointF hinge, double r, const QPen& pen) {
  p.save();
  p.setPen(pen);
  const int ribs = 9;
  QPolygonF edge;
  for (int i = 0; i <= ribs; ++i) {
    const double a = kPi * (0.08 + 0.84 * i / ribs);
    const QPointF tip = hinge + QPointF(-std::cos(a), -std::sin(a)) * r;
    p.drawLine(hinge, tip);
    edge << tip;
    if (i < ribs) {
      const double m = kPi * (0.08 + 0.84 * (i + 0.5) / ribs);
      edge << hinge + QPointF(-std::cos(m), -std::sin(m)) * (r + 2.5);
    }
  }
  p.drawPolyline(edge);
  p.restore();
}

QImage note100(int scale) {
  const NoteStyle style{QColor(0xc8, 0xe6, 0xc0),
                        QColor(0xe6, 0xec, 0xb4),
                        QColor(0xd8, 0xe8, 0x90),
                        QColor(0x24, 0x7a, 0x38),
                        QColor(0x78, 0xb0, 0x3c),
                        QColor(0x14, 0x4c, 0x2c),
                        0.5};
  QImage image = noteCanvas(385, 219, scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  noteBase(p, logicalSize(image), style, "100", BigNumeral::None);

  const QPen line = hairline(style.ink, 0.8, 0.9);
  const QPen joint = hairline(style.ink, 0.45, 0.75);

  // A triumphal arch with a coffered vault, paired pilasters and a scrolled pediment.
  const double cx = 116;
  const QPointF spring(cx, 82);
  const double archR = 30;
  const double deck = 124;
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(cx - 64, 34, 128, 9));
  p.drawRect(QRectF(cx - 60, 43, 120, 4));
  for (double x = cx - 60; x < cx + 60; x += 5) p.drawLine(QPointF(x, 43), QPointF(x, 47));
  for (double dx : {-54.0, -42.0, 42.0, 54.0}) {
    p.drawRect(QRectF(cx + dx - 4, 47, 8, deck - 63));
    p.drawLine(QPointF(cx + dx - 1.5, 52), QPointF(cx + dx - 1.5, deck - 20));
    p.drawLine(QPointF(cx + dx + 1.5, 52), QPointF(cx + dx + 1.5, deck - 20));
    volute(p, QPointF(cx + dx - 3, 50), 2.6, false, joint);
    volute(p, QPointF(cx + dx + 3, 50), 2.6, true, joint);
  }
  roundArch(p, spring, archR + 6, archR, 13, line, joint);
  QPainterPath vault;
  vault.addEllipse(spring, archR, archR);
  vault.addRect(QRectF(cx - archR, spring.y(), 2 * archR, deck - 16 - spring.y()));
  p.save();
  p.setClipPath(vault.simplified());
  p.setPen(joint);
  for (double r = 9; r < archR; r += 6.5) p.drawEllipse(spring, r, r);
  for (int i = 1; i < 10; ++i) {
    const double a = kPi * i / 10;
    p.drawLine(spring, spring + QPointF(-std::cos(a), -std::sin(a)) * archR);
  }
  hatch(p, vault, 90, 2.6, hairline(style.ink2, 0.35, 0.5));
  p.restore();
  p.setPen(line);
  p.drawLine(QPointF(cx - 36, spring.y()), QPointF(cx - 30, spring.y()));
  p.drawLine(QPointF(cx + 30, spring.y()), QPointF(cx + 36, spring.y()));
  // Keystone cartouche and the broken pediment with its scrolls and shell.
  p.drawRect(QRectF(cx - 4, spring.y() - archR - 8, 8, 10));
  shell(p, QPointF(cx, 31), 8, joint);
  p.drawLine(QPointF(cx - 66, 34), QPointF(cx - 30, 18));
  p.drawLine(QPointF(cx + 66, 34), QPointF(cx + 30, 18));
  p.drawLine(QPointF(cx - 60, 31), QPointF(cx - 31, 18.5 + 3));
  p.drawLine(QPointF(cx + 60, 31), QPointF(cx + 31, 18.5 + 3));
  volute(p, QPointF(cx - 25, 19), 6, false, line);
  volute(p, QPointF(cx + 25, 19), 6, true, line);
  for (double dx : {-60.0, 60.0}) {
    p.drawEllipse(QPointF(cx + dx, 28), 2.5, 4);
    p.drawLine(QPointF(cx + dx - 3, 33), QPointF(cx + dx + 3, 33));
  }

  // The bridge below: basket-handle arches, a balustrade, scrolled keystones.
  const double water = 188;
  const double left = 6;
  const double right = 282;
  QPainterPath body;
  body.addRect(QRectF(left, deck, right - left, water - deck));
  QPainterPath openings;
  std::vector<QRectF> arches;
  for (int i = 0; i < 3; ++i) arches.emplace_back(16 + i * 90.0, 146, 76, 62);
  for (const QRectF& arch : arches) {
    QPainterPath a;
    a.addEllipse(arch);
    a.addRect(QRectF(arch.left(), arch.center().y(), arch.width(), water - arch.center().y() + 1));
    openings.addPath(a.simplified());
  }
  const QPainterPath stone = body.subtracted(openings);
  p.save();
  p.setClipPath(stone);
  masonry(p, QRectF(left, deck, right - left, water - deck), 5.5, 12.0,
          hairline(style.ink2, 0.45, 0.55));
  p.restore();
  p.setPen(line);
  p.drawPath(stone);
  for (const QRectF& arch : arches) {
    p.drawArc(arch.adjusted(-5, -5, 5, 5), 0, 180 * 16);
    p.drawRect(QRectF(arch.center().x() - 3, arch.top() - 6, 6, 9));
    volute(p, QPointF(arch.center().x() - 7, arch.top() - 2), 3, false, joint);
    volute(p, QPointF(arch.center().x() + 7, arch.top() - 2), 3, true, joint);
    QPainterPath under;
    under.addEllipse(arch);
    under.addRect(QRectF(arch.left(), arch.center().y(), arch.width(), water - arch.center().y()));
    hatch(p, under.simplified(), 0, 2.6, hairline(style.ink2, 0.35, 0.4));
  }
  // Niches with round heads on the piers.
  for (int i = 1; i < 3; ++i) {
    const double x = 16 + i * 90.0 - 7;
    p.setPen(joint);
    p.drawArc(QRectF(x - 4, 150, 8, 8), 0, 180 * 16);
    p.drawLine(QPointF(x - 4, 154), QPointF(x - 4, 166));
    p.drawLine(QPointF(x + 4, 154), QPointF(x + 4, 166));
    p.drawLine(QPointF(x - 4, 166), QPointF(x + 4, 166));
  }
  p.setPen(line);
  p.drawRect(QRectF(left - 2, deck - 15, right - left + 4, 3));
  p.drawRect(QRectF(left - 2, deck - 2, right - left + 4, 2));
  for (double x = left; x < right - 2; x += 7) baluster(p, x + 3.5, deck - 12, deck - 2, joint);
  for (double x : {left + 2, right - 6}) volute(p, QPointF(x + 2, deck - 22), 6, x > cx, line);
  waterLines(p, water, water + 13, 0, right + 8, hairline(style.ink2, 0.5, 0.7));

  // A rococo cartouche on the right carries the value.
  const QPointF cart(332, 92);
  rosette(p, cart, 36, 4, 7, 5, hairline(style.ink2, 0.45, 0.8), 0.1);
  rosette(p, cart, 27, 3, 11, 3, hairline(style.ink, 0.4, 0.7));
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(cart, 44, 50);
  p.drawEllipse(cart, 41.5, 47.5);
  for (auto [dx, dy] :
       {std::pair{-1.0, -1.0}, std::pair{1.0, -1.0}, std::pair{-1.0, 1.0}, std::pair{1.0, 1.0}})
    volute(p, cart + QPointF(dx * 33, dy * 38), dy < 0 ? 6 : 7, dx < 0, line);
  shell(p, cart + QPointF(0, -44), 10, line);
  const double h = 30;
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(style.paperB.lighter(104), 0.85));
  p.drawEllipse(cart, numeralWidth("100", h) / 2 + 5, h / 2 + 5);
  drawNumeral(p, numeral("100", cart, h), style, 1.2);

  medallion(p, kMedallion, 26, "100", style);
  p.end();
  washTowardsWhite(image, style.keep);
  return image;
}

QImage note500(int scale) {
  const NoteStyle style{QColor(0xdc, 0xc8, 0xf0),
                        QColor(0xf0, 0xcc, 0xe0),
                        QColor(0xc0, 0xb0, 0xf0),
                        QColor(0x6c, 0x34, 0xa8),
                        QColor(0xa4, 0x70, 0xd8),
                        QColor(0x3c, 0x1c, 0x6c),
                        0.5};
  QImage image = noteCanvas(420, 221, scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  noteBase(p, logicalSize(image), style, "500");

  const QPen line = hairline(style.ink, 0.8, 0.9);
  const QPen thin = hairline(style.ink, 0.45, 0.75);

  // Glass and steel: a curtain wall behind the bridge, right of the window's disc.
  QPainterPath facade;
  facade.moveTo(176, 150);
  facade.lineTo(176, 58);
  facade.quadTo(QPointF(230, 28), QPointF(292, 44));
  facade.lineTo(292, 150);
  facade.closeSubpath();
  p.save();
  p.setClipPath(facade);
  p.setPen(hairline(style.ink2, 0.45, 0.6));
  for (double x = 176; x <= 292; x += 9) p.drawLine(QPointF(x, 20), QPointF(x, 150));
  for (double y = 30; y <= 150; y += 7) p.drawLine(QPointF(176, y), QPointF(292, y));
  hatch(p, facade, 62, 6.0, hairline(style.ink2, 0.3, 0.4));
  p.restore();
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawPath(facade);

  // Cable-stayed bridge: one tall pylon, a fan of stays each side, a slender deck.
  const double deck = 150;
  const double water = 190;
  const double px = 136;
  const double top = 14;
  QPolygonF pylon;
  pylon << QPointF(px - 8, water) << QPointF(px - 1.6, top) << QPointF(px + 1.6, top)
        << QPointF(px + 8, water);
  QPainterPath mast;
  mast.addPolygon(pylon);
  mast.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(style.ink, 0.2));
  p.drawPath(mast);
  hatch(p, mast, 90, 1.6, thin);
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawPath(mast);
  const int stays = 11;
  for (int i = 0; i < stays; ++i) {
    const double anchorY = top + 6 + i * 3.2;
    const double spread = 14 + (stays - i - 1) * 11.5;
    p.setPen(i % 2 == 0 ? line : thin);
    p.drawLine(QPointF(px - 1, anchorY), QPointF(px - spread, deck));
    p.drawLine(QPointF(px + 1, anchorY), QPointF(px + spread, deck));
  }
  p.setPen(line);
  p.setBrush(withAlpha(style.ink, 0.3));
  p.drawRect(QRectF(-2, deck, 300, 5));
  p.setBrush(Qt::NoBrush);
  for (double x = 0; x < 296; x += 6) p.drawLine(QPointF(x, deck + 5), QPointF(x + 3, deck + 9));
  p.drawLine(QPointF(-2, deck + 9), QPointF(298, deck + 9));
  p.drawRect(QRectF(292, deck - 2, 6, water - deck + 2));
  waterLines(p, water, water + 12, 0, 320, hairline(style.ink2, 0.5, 0.7));

  // Stars: a ring about the value in the window, and the ring of the flag round the map.
  // The ring needs room inside the disc's rim, so this medallion is smaller and set in.
  const QPointF value = kMedallion + QPointF(2, 0);
  starRing(p, value, 28, 2.6, withAlpha(style.accent, 0.7));
  drawEurope(p, QRectF(306, 24, 104, 118), style, logicalSize(image));
  starRing(p, QPointF(358, 84), 54, 3.4, withAlpha(style.accent, 0.55));
  medallion(p, value, 22, "500", style);
  p.end();
  washTowardsWhite(image, style.keep);
  return image;
}

// ---------------------------------------------------------------------------------------
// Checks and preview

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

struct DiscStats {
  double minimum = 255;
  double mean = 0;
  double shareLight = 0;  // of pixels at or above kLightEnough
};

constexpr double kLightEnough = 200.0;
// Black 8-point captions stay readable when the part of the note behind them is this light.
constexpr double kRequiredLightShare = 0.9;

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

bool save(const QImage& picture, const QDir& dir, const QString& name, int quality = -1,
          int scale = 1) {
  // The stored resolution otherwise follows the screen Qt finds, or the lack of one, and
  // the same pictures would come out as different bytes. 96 dots per inch is the 15
  // twips per pixel the window layouts are drawn at; a 2x picture has twice the dots.
  QImage image = picture;
  image.setDotsPerMeterX(3780 * scale);
  image.setDotsPerMeterY(3780 * scale);
  const QString path = dir.filePath(name);
  if (!image.save(path, name.endsWith(".ppm") ? "PPM" : "PNG", quality)) {
    std::fprintf(stderr, "makepictures: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.size() != 2 && !(args.size() == 4 && args[2] == "--preview")) {
    std::fprintf(stderr, "usage: makepictures OUTPUT_FOLDER [--preview PREVIEW_FOLDER]\n");
    return 2;
  }
  QDir out(args[1]);
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "makepictures: cannot create %s\n", qPrintable(args[1]));
    return 1;
  }

  bool ok = true;
  const std::vector<std::pair<QString, QImage>> notes = {
      {"note10.ppm", note10(1)},
      {"note100.ppm", note100(1)},
      {"note20.ppm", note20(1)},
      {"note500.ppm", note500(1)},
  };
  // The same drawings at twice the density, which the program loads instead on screens
  // with more than one device pixel per pixel (named as Qt's own @2x convention).
  const std::vector<std::pair<QString, QImage>> notes2x = {
      {"note10@2x.ppm", note10(2)},
      {"note100@2x.ppm", note100(2)},
      {"note20@2x.ppm", note20(2)},
      {"note500@2x.ppm", note500(2)},
  };
  // Only the window's square of a note is ever drawn.
  const auto windowSquare = [](const QImage& note, int scale) {
    return note.copy(0, 0, kWindowSide * scale, kWindowSide * scale);
  };
  for (const auto& [name, image] : notes2x)
    ok = save(windowSquare(image, 2), out, name, -1, 2) && ok;
  for (const auto& [name, image] : notes) {
    ok = save(windowSquare(image, 1), out, name) && ok;
    const DiscStats s = discStats(image);
    std::printf("%-12s %dx%d  disc luminance: min %.0f, mean %.0f, %.1f%% at or above %.0f\n",
                qPrintable(name), image.width(), image.height(), s.minimum, s.mean,
                100.0 * s.shareLight, kLightEnough);
    if (s.shareLight < kRequiredLightShare) {
      std::fprintf(stderr, "makepictures: %s is too dark behind the captions\n", qPrintable(name));
      ok = false;
    }
  }
  for (int size : {16, 32, 48, 64, 128, 256})
    ok = save(size == 16 ? toIndexed(coinIcon(size)) : coinIcon(size), out,
              QString("app%1.png").arg(size)) &&
         ok;
  const std::vector<std::pair<QString, QImage>> icons = {
      {"close.png", closeIcon()}, {"reduce.png", reduceIcon()}, {"options.png", optionsIcon()},
      {"about.png", aboutIcon()}, {"help.png", helpIcon()},     {"zoneeuro.png", zoneEuroIcon()},
      {"focus.png", focusIcon()}, {"hand.png", handCursor()},
  };
  for (const auto& [name, image] : icons) {
    ok = save(toIndexed(image), out, name) && ok;
    QString name2x = name;
    name2x.replace(".png", "@2x.png");
    ok = save(toIndexed(scale2x(image)), out, name2x, -1, 2) && ok;
  }
  std::printf("hand.png hot spot: %d,%d\n", kHandHotSpotX, kHandHotSpotY);

  if (args.size() == 4) {
    // Only the preview's captions need fonts, hence an application; the offscreen
    // platform spares it a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QDir previewDir(args[3]);
    previewDir.mkpath(".");
    const QColor black(Qt::black);
    const QColor hl;  // invalid: the highlight colour
    const auto right = Qt::AlignRight | Qt::AlignTop;
    const auto left = Qt::AlignLeft | Qt::AlignTop;
    const auto centre = Qt::AlignHCenter | Qt::AlignTop;
    std::vector<Window> windows;
    windows.push_back({"main",
                       notes[0].second,
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
                       notes[1].second,
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
                       notes[2].second,
                       {{{88, 32, 65, 41}, "Lancer au démarrage de Windows", false, black, left},
                        {{88, 88, 65, 41}, "Activer l'appoint en Euros", false, black, left},
                        {{40, 136, 49, 17}, "OK", false, black, Qt::AlignCenter, true},
                        {{96, 136, 49, 17}, "Annuler", false, black, Qt::AlignCenter, true}},
                       {{{64, 8}, closeIcon()}},
                       {},
                       {{64, 40, 10, 13}, {64, 96, 10, 13}}});
    windows.push_back(
        {"about",
         notes[3].second,
         {{{56, 24, 73, 17}, "Tavelmarque", true, black, centre},
          {{56, 40, 73, 17}, "1.0.0.1", true, black, centre},
          {{14, 80, 300, 13}, "Convertisseur francs / euros", false, black, left},
          {{24, 120, 145, 17}, "www.example.org", false, black, centre},
          {{48, 136, 97, 17}, "support@example.org", false, black, centre}},
         {{{64, 8}, closeIcon()}, {{96 - kHandHotSpotX, 128 - kHandHotSpotY}, handCursor()}},
         {},
         {}});
    for (const Window& w : windows)
      ok = save(preview(w), previewDir, "preview-" + w.name + ".png") && ok;
  }
  return ok ? 0 : 1;
}
