#include "NoteFace.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "Drawing.h"
#include "Engraving.h"

namespace pictures {

namespace {

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

}  // namespace

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

void noteBase(QPainter& p, const QSize& size, const NoteStyle& style, const char* value,
              BigNumeral big) {
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

QImage noteCanvas(int width, int height, int scale) {
  QImage image(width * scale, height * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  return image;
}

QSize logicalSize(const QImage& image) { return image.deviceIndependentSize().toSize(); }

}  // namespace pictures
