// What every banknote has: its colours, the paper and its background print, the map of Europe,
// the engraved numerals and the medallion that carries the value in the window's disc.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSize>

namespace pictures {

struct NoteStyle {
  QColor paperA;  // paper tints, before washing
  QColor paperB;
  QColor glow;    // a second ink blended into the paper, as on the printed notes
  QColor ink;     // the motif
  QColor ink2;    // background patterns
  QColor accent;  // strongest lines: numerals, outlines
  double keep;    // how much of each colour's distance from white survives the washing
};

// The left part of the window's disc is free of captions: a medallion there carries the
// value, so the denomination shows in every window.
constexpr QPointF kMedallion(32, 80);

enum class BigNumeral { BottomRight, None };

// The map fades out eastwards, as the printed maps do, instead of ending on a cut.
void drawEurope(QPainter& p, const QRectF& box, const NoteStyle& style, const QSize& noteSize);

// The width of `digits` drawn `height` high by numeral().
double numeralWidth(const char* digits, double height);

// `digits` as one path, `height` high, centred on `centre`.
QPainterPath numeral(const char* digits, QPointF centre, double height);

// An engraved numeral: a shadow outline, a hatched body and a crisp contour.
void drawNumeral(QPainter& p, const QPainterPath& shape, const NoteStyle& style, double weight);

// The value in rosettes and a ring, on a calm field that keeps the figures readable.
void medallion(QPainter& p, QPointF c, double radius, const char* digits, const NoteStyle& style);

// Brings every colour towards white, keeping `keep` of its distance from it.
void washTowardsWhite(QImage& image, double keep);

// Common ground of every note: paper, background print, numerals, the bottom band.
void noteBase(QPainter& p, const QSize& size, const NoteStyle& style, const char* value,
              BigNumeral big = BigNumeral::BottomRight);

// A note's canvas, `scale` device pixels per unit of the drawing: the painter scales itself
// to the image's pixel ratio, so the same drawing code gives the 1x and the 2x note.
QImage noteCanvas(int width, int height, int scale);

// The image's size in units of the drawing: its pixels over its pixel ratio.
QSize logicalSize(const QImage& image);

}  // namespace pictures
