#include "Engraving.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "Drawing.h"

namespace pictures {

namespace {

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

}  // namespace

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

void rosette(QPainter& p, QPointF c, double radius, double depth, int petals, int strands,
             const QPen& pen, double twist) {
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

void starRing(QPainter& p, QPointF c, double radius, double starRadius, const QColor& colour,
              const QPen& outline) {
  p.save();
  p.setPen(outline);
  p.setBrush(colour);
  for (int i = 0; i < 12; ++i) {
    const double a = kTau * i / 12;
    p.drawPath(star(c + QPointF(std::cos(a), std::sin(a)) * radius, starRadius));
  }
  p.restore();
}

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

}  // namespace pictures
