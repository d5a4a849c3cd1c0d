#include "Banknotes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <utility>
#include <vector>

#include "Architecture.h"
#include "Drawing.h"
#include "Engraving.h"
#include "NoteFace.h"

namespace pictures {

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

}  // namespace pictures
