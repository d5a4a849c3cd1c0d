// The architecture on the banknotes: arches round, pointed and chevroned, columns, and the
// baroque scrolls, balusters and shells.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>

namespace pictures {

// A round-headed arch band between two radii, with its voussoirs.
void roundArch(QPainter& p, QPointF spring, double rOuter, double rInner, int stones,
               const QPen& outline, const QPen& joints);

// Norman chevrons running round an arch band.
void chevronArch(QPainter& p, QPointF spring, double rOuter, double rInner, int teeth,
                 const QPen& pen);

// A column from `top` to `bottom` with its capital and base, its right side shaded.
void column(QPainter& p, double x, double top, double bottom, double width, const QPen& pen,
            const QColor& shade);

// Two-centred arch, the gothic shape: each side is an arc of radius `sharpness` x span
// centred on the spring line; 0.5 gives a round arch, 1.0 the equilateral one.
QPainterPath pointedArch(QPointF springLeft, double span, double sharpness);

// A baroque scroll: a spiral whose end curls inward.
void volute(QPainter& p, QPointF c, double r, bool mirrored, const QPen& pen);

// One baluster of a balustrade, its belly low.
void baluster(QPainter& p, double x, double top, double bottom, const QPen& pen);

// A rocaille shell: ribs fanning from a hinge under a scalloped edge.
void shell(QPainter& p, QPointF hinge, double r, const QPen& pen);

}  // namespace pictures
