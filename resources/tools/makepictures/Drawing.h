// Drawing helpers every kind of picture shares: the window's size, colours and pens, curves.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <numbers>

namespace pictures {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTau = 2.0 * std::numbers::pi;

// The windows show only this much of each background, as the disc inscribed in it.
inline constexpr int kWindowSide = 180;

double radians(double degrees);
QColor withAlpha(QColor colour, double alpha);
// A pen with round ends and joins, as an engraver's line.
QPen hairline(const QColor& colour, double width, double alpha = 1.0);
// The square that holds the circle of radius `r` about `c`.
QRectF circleBox(QPointF c, double r);
// The polyline through f(t) for `steps` even steps of t from t0 to t1.
void drawCurve(QPainter& p, const std::function<QPointF(double)>& f, double t0, double t1,
               int steps);

}  // namespace pictures
