#include "Drawing.h"

#include <QPolygonF>
#include <algorithm>

namespace pictures {

double radians(double degrees) { return degrees * kPi / 180.0; }

QColor withAlpha(QColor colour, double alpha) {
  colour.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
  return colour;
}

QPen hairline(const QColor& colour, double width, double alpha) {
  QPen pen(withAlpha(colour, alpha), width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QRectF circleBox(QPointF c, double r) { return QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r); }

void drawCurve(QPainter& p, const std::function<QPointF(double)>& f, double t0, double t1,
               int steps) {
  QPolygonF line;
  line.reserve(steps + 1);
  for (int i = 0; i <= steps; ++i) line << f(t0 + (t1 - t0) * i / steps);
  p.drawPolyline(line);
}

}  // namespace pictures
