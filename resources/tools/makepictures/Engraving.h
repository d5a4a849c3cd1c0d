// The engraver's patterns the banknotes are printed with: hatching, dot screens, waves,
// guilloches, rosettes, rings of stars, ashlar and water.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>

namespace pictures {

// Parallel lines across a shape: the engraver's way of giving a surface a tone.
void hatch(QPainter& p, const QPainterPath& shape, double angleDeg, double spacing,
           const QPen& pen);

// Rows of dots across a shape, each row offset by half a step: a flat tint.
void dotScreen(QPainter& p, const QPainterPath& shape, double spacing, double dot,
               const QColor& colour);

// Gently undulating lines over the whole note: the fine background print of banknotes.
void waveField(QPainter& p, const QRectF& area, double spacing, double amplitude, double period,
               const QPen& pen);

// Interlaced sine strands along a band, as on the borders of printed securities.
void guillocheBand(QPainter& p, const QRectF& band, int strands, double period, const QPen& pen);

// A guilloche rosette: closed waves around a circle, several phases interlaced.
void rosette(QPainter& p, QPointF c, double radius, double depth, int petals, int strands,
             const QPen& pen, double twist = 0.0);

// Rings about `c` from radius r0 to r1, `step` apart.
void concentricRings(QPainter& p, QPointF c, double r0, double r1, double step, const QPen& pen);

// Twelve five-pointed stars in a ring, as on the European flag.
void starRing(QPainter& p, QPointF c, double radius, double starRadius, const QColor& colour,
              const QPen& outline = Qt::NoPen);

// Ashlar courses: stone walls and bridge spandrels.
void masonry(QPainter& p, const QRectF& area, double course, double block, const QPen& pen);

// Rippling lines from `top` to `bottom`: the water under a bridge.
void waterLines(QPainter& p, double top, double bottom, double left, double right, const QPen& pen);

}  // namespace pictures
