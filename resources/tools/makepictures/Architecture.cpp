#include "Architecture.h"

#include <QPolygonF>
#include <QRectF>
#include <cmath>

#include "Drawing.h"

namespace pictures {

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

}  // namespace pictures
