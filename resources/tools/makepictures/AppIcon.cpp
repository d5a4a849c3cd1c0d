#include "AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "Drawing.h"
#include "PixelArt.h"

namespace pictures {

namespace {

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

// The picture in straight alpha, as PNG keeps it. Qt's own conversion divides by the alpha
// with the processor's approximate reciprocal (RCPPS), whose last bits differ from one processor
// to another: a level exactly halfway between two came out one unit apart on different machines.
// Here each level is the nearest to colour x 255 / alpha, in whole numbers, halves rounded down,
// which keeps every other picture's pixels as they were drawn before.
QImage straightAlpha(const QImage& premultiplied) {
  QImage straight(premultiplied.size(), QImage::Format_ARGB32);
  for (int y = 0; y < premultiplied.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(straight.scanLine(y));
    for (int x = 0; x < premultiplied.width(); ++x) {
      const uint alpha = qAlpha(from[x]);
      const auto level = [alpha](int premultipliedLevel) {
        return static_cast<int>((2 * static_cast<uint>(premultipliedLevel) * 255 + alpha - 1) /
                                (2 * alpha));
      };
      to[x] = alpha == 0     ? 0
              : alpha == 255 ? from[x]
                             : qRgba(level(qRed(from[x])), level(qGreen(from[x])),
                                     level(qBlue(from[x])), static_cast<int>(alpha));
    }
  }
  return straight;
}

}  // namespace

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
  return straightAlpha(image);
}

}  // namespace pictures
