#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "art.h"
#include "paint.h"

namespace artgen {

QImage smileyGlyph() {
  QImage image = transparentCanvas(17, 17);
  QPainter p;
  beginPainter(p, image);
  QRadialGradient face(QPointF(6.0, 5.5), 10.0);
  face.setColorAt(0.0, QColor(255, 250, 170));
  face.setColorAt(0.5, QColor(255, 220, 30));
  face.setColorAt(1.0, QColor(235, 160, 0));
  p.setPen(inkPen());
  p.setBrush(face);
  p.drawEllipse(QPointF(8.5, 8.5), 7.8, 7.8);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(6.0, 6.4), 0.95, 1.5);
  p.drawEllipse(QPointF(11.0, 6.4), 0.95, 1.5);
  QPainterPath smile;
  smile.moveTo(4.6, 10.0);
  smile.quadTo(8.5, 14.2, 12.4, 10.0);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kInk, 1.25, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(smile);
  p.end();
  return image;
}

QImage arrowGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  const QPainterPath arrow = closedPath(
      {{1.5, 6.5}, {8.5, 6.5}, {8.5, 2.5}, {16.5, 9.0}, {8.5, 15.5}, {8.5, 11.5}, {1.5, 11.5}});
  QLinearGradient green(0, 2.5, 0, 15.5);
  green.setColorAt(0.0, QColor(150, 240, 110));
  green.setColorAt(0.5, QColor(60, 195, 50));
  green.setColorAt(1.0, QColor(20, 130, 30));
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(green);
  p.drawPath(arrow);
  p.end();
  return sideBySide(image, disabledLook(image));
}

QImage crossGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  QPainterPath bar;
  bar.addRoundedRect(QRectF(-7.6, -2.1, 15.2, 4.2), 1.0, 1.0);
  QTransform a;
  a.translate(9, 9);
  a.rotate(45);
  QTransform b;
  b.translate(9, 9);
  b.rotate(-45);
  const QPainterPath cross = a.map(bar).united(b.map(bar)).simplified();
  QLinearGradient red(0, 2, 0, 16);
  red.setColorAt(0.0, QColor(255, 110, 100));
  red.setColorAt(0.5, QColor(225, 30, 30));
  red.setColorAt(1.0, QColor(150, 10, 20));
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(red);
  p.drawPath(cross);
  p.end();
  return sideBySide(image, disabledLook(image));
}

QImage openDoorGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  // Frame with warm light falling out of the opening.
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(120, 80, 45));
  p.drawRect(QRectF(4.5, 0.5, 13.0, 17.0));
  QLinearGradient light(0, 2, 0, 17);
  light.setColorAt(0.0, QColor(255, 250, 190));
  light.setColorAt(1.0, QColor(255, 190, 50));
  p.setBrush(light);
  p.drawRect(QRectF(6.5, 2.5, 9.0, 15.0));
  // The leaf swung open towards the viewer.
  QPolygonF leaf{QPointF(6.5, 2.5), QPointF(1.0, 0.8), QPointF(1.0, 17.5), QPointF(6.5, 17.5)};
  QLinearGradient wood(1, 0, 6.5, 0);
  wood.setColorAt(0.0, QColor(215, 140, 70));
  wood.setColorAt(1.0, QColor(150, 85, 35));
  p.setBrush(wood);
  p.drawPolygon(leaf);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 220, 60));
  p.drawEllipse(QPointF(2.4, 9.6), 0.9, 1.0);
  p.end();
  return image;
}

QImage darkTexture() {
  // Periodic value noise on a 96-pixel torus, so the tiles join without a seam.
  constexpr int kSize = 96;
  Rng rng(0x51A7E);
  auto lattice = [&rng](int cells) {
    std::vector<double> v(static_cast<size_t>(cells * cells));
    for (double& x : v) x = rng.unit();
    return v;
  };
  struct Octave {
    int cells;
    double weight;
    std::vector<double> values;
  };
  std::vector<Octave> octaves;
  for (const auto& [cells, weight] : std::vector<std::pair<int, double>>{
           {4, 0.45}, {8, 0.27}, {16, 0.16}, {32, 0.08}, {48, 0.04}}) {
    octaves.push_back({cells, weight, lattice(cells)});
  }
  auto noise = [&octaves](int x, int y) {
    double sum = 0;
    for (const Octave& o : octaves) {
      const double fx = static_cast<double>(x) * o.cells / kSize;
      const double fy = static_cast<double>(y) * o.cells / kSize;
      const int x0 = static_cast<int>(fx);
      const int y0 = static_cast<int>(fy);
      const double tx = fx - x0;
      const double ty = fy - y0;
      const double sx = tx * tx * (3 - 2 * tx);
      const double sy = ty * ty * (3 - 2 * ty);
      auto at = [&o](int i, int j) {
        return o.values[static_cast<size_t>((j % o.cells) * o.cells + (i % o.cells))];
      };
      const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
      const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
      sum += o.weight * (top + (bottom - top) * sy);
    }
    return sum;
  };
  QImage image = opaqueCanvas(kSize, kSize, Qt::black);
  const QColor deep(14, 18, 52);
  const QColor mid(40, 46, 104);
  const QColor vein(78, 70, 150);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double n = noise(x, y);
      // Marble veins: a periodic wave bent by the noise.
      const double phase = 2.0 * std::numbers::pi * (x + 2.0 * y) / kSize + 7.0 * n;
      const double v = std::pow(std::abs(std::sin(phase)), 10.0);
      QColor c = mix(deep, mid, std::clamp((n - 0.3) * 1.8, 0.0, 1.0));
      c = mix(c, vein, v * 0.55);
      image.setPixel(x, y, c.rgb());
    }
  }
  return image;
}

QImage trophyPicture() {
  QImage image = transparentCanvas(100, 75);
  QPainter p;
  beginPainter(p, image);
  // The cup stands on the game's name crate, Zorvy beside it.
  paintGameCrate(p, QRectF(22, 55, 55, 20), 32);
  paintZorvy(p, QRectF(74, 55, 26, 20), 1.0);

  const QColor gold(255, 200, 30);
  QLinearGradient metal(30, 0, 70, 0);
  metal.setColorAt(0.0, darker(gold, 0.25));
  metal.setColorAt(0.3, lighter(gold, 0.55));
  metal.setColorAt(0.55, gold);
  metal.setColorAt(1.0, darker(gold, 0.35));
  QPen ink(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // Handles.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kInk, 5.0, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(27.5, 9.0, 14.0, 18.0), 90 * 16, 180 * 16);
  p.drawArc(QRectF(58.5, 9.0, 14.0, 18.0), -90 * 16, 180 * 16);
  p.setPen(QPen(gold, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(27.5, 9.0, 14.0, 18.0), 90 * 16, 180 * 16);
  p.drawArc(QRectF(58.5, 9.0, 14.0, 18.0), -90 * 16, 180 * 16);
  // Foot, on the crate's top edge.
  p.setPen(ink);
  p.setBrush(metal);
  p.drawRect(QRectF(38.5, 48.5, 23.0, 6.5));
  // Stem.
  QPainterPath stem;
  stem.moveTo(46.5, 40.0);
  stem.lineTo(53.5, 40.0);
  stem.cubicTo(53.5, 44.0, 55.5, 46.5, 56.5, 48.5);
  stem.lineTo(43.5, 48.5);
  stem.cubicTo(44.5, 46.5, 46.5, 44.0, 46.5, 40.0);
  p.drawPath(stem);
  // Bowl.
  QPainterPath bowl;
  bowl.moveTo(32.5, 6.5);
  bowl.lineTo(67.5, 6.5);
  bowl.cubicTo(67.5, 30.0, 60.0, 42.0, 50.0, 42.0);
  bowl.cubicTo(40.0, 42.0, 32.5, 30.0, 32.5, 6.5);
  bowl.closeSubpath();
  p.drawPath(bowl);
  p.setBrush(darker(gold, 0.3));
  p.drawEllipse(QRectF(32.5, 3.5, 35.0, 6.0));
  // The first place on the bowl, and a glint.
  paintOutlinedText(p, QStringLiteral("1"), QPointF(50.0, 22.0), 20, QColor(235, 40, 45), 1.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawRoundedRect(QRectF(36.5, 12.0, 2.5, 14.0), 1.2, 1.2);
  p.end();
  return image;
}

namespace {

// Every flag is a 24 x 18 cloth inside a one-pixel ink rim; the flags stand 27 pixels apart.
constexpr int kFlagW = 24;
constexpr int kFlagH = 18;
constexpr int kFlagPitch = 27;

QRect flagSlot(int k) { return QRect(kFlagPitch * k + 1, 1, kFlagW, kFlagH); }

void flagRim(QPainter& p, const QRect& r) {
  // A soft sheen across the cloth, then the rim.
  QLinearGradient sheen(r.topLeft(), r.bottomRight());
  sheen.setColorAt(0.0, QColor(255, 255, 255, 70));
  sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
  sheen.setColorAt(1.0, QColor(0, 0, 0, 50));
  p.fillRect(r, sheen);
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(r).adjusted(-0.5, -0.5, 0.5, 0.5));
}

void stripes(QPainter& p, const QRect& r, const std::vector<QColor>& colours) {
  const int n = static_cast<int>(colours.size());
  for (int i = 0; i < n; ++i) {
    const int top = r.top() + r.height() * i / n;
    const int bottom = r.top() + r.height() * (i + 1) / n;
    p.fillRect(QRect(r.left(), top, r.width(), bottom - top), colours[static_cast<size_t>(i)]);
  }
}

void unitedStates(QPainter& p, const QRect& r) {
  const QColor red(200, 25, 45);
  std::vector<QColor> s;
  for (int i = 0; i < 9; ++i) s.push_back(i % 2 == 0 ? red : QColor(Qt::white));
  stripes(p, r, s);
  const QRect canton(r.left(), r.top(), 11, 10);
  p.fillRect(canton, QColor(40, 50, 130));
  // Stars as single white pixels in staggered rows.
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 5; ++col) {
      const int x = canton.left() + 1 + col * 2 + (row % 2);
      const int y = canton.top() + 1 + row * 2;
      if (x < canton.right()) p.fillRect(x, y, 1, 1, Qt::white);
    }
  }
}

void unitedKingdom(QPainter& p, const QRect& r) {
  const QColor blue(20, 40, 120);
  const QColor red(205, 25, 40);
  p.save();
  p.setClipRect(r);
  p.fillRect(r, blue);
  const QPointF tl = r.topLeft();
  const QPointF br = QPointF(r.right() + 1, r.bottom() + 1);
  const QPointF tr(br.x(), tl.y());
  const QPointF bl(tl.x(), br.y());
  p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(tl, br);
  p.drawLine(tr, bl);
  p.setPen(QPen(red, 1.4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(tl, br);
  p.drawLine(tr, bl);
  const int cx = r.left() + r.width() / 2;
  const int cy = r.top() + r.height() / 2;
  p.fillRect(QRect(cx - 3, r.top(), 6, r.height()), Qt::white);
  p.fillRect(QRect(r.left(), cy - 3, r.width(), 6), Qt::white);
  p.fillRect(QRect(cx - 2, r.top(), 4, r.height()), red);
  p.fillRect(QRect(r.left(), cy - 2, r.width(), 4), red);
  p.restore();
}

void austria(QPainter& p, const QRect& r) {
  const QColor red(210, 20, 40);
  p.fillRect(r, red);
  p.fillRect(QRect(r.left(), r.top() + 6, r.width(), 6), Qt::white);
}

void germany(QPainter& p, const QRect& r) {
  stripes(p, r, {QColor(20, 20, 20), QColor(220, 20, 30), QColor(255, 205, 0)});
}

QRect switzerland(QPainter& p, const QRect& slot) {
  const QRect r(slot.left() + (slot.width() - kFlagH) / 2, slot.top(), kFlagH, kFlagH);
  p.fillRect(r, QColor(220, 20, 30));
  p.fillRect(QRect(r.left() + 7, r.top() + 3, 4, 12), Qt::white);
  p.fillRect(QRect(r.left() + 3, r.top() + 7, 12, 4), Qt::white);
  return r;
}

}  // namespace

QImage flagsEnglish() {
  QImage image = transparentCanvas(53, 20);
  QPainter p;
  beginPainter(p, image);
  const QRect us = flagSlot(0);
  const QRect uk = flagSlot(1);
  p.setRenderHint(QPainter::Antialiasing, false);
  unitedStates(p, us);
  p.setRenderHint(QPainter::Antialiasing, true);
  unitedKingdom(p, uk);
  flagRim(p, us);
  flagRim(p, uk);
  p.end();
  return image;
}

QImage flagsGerman() {
  QImage image = transparentCanvas(80, 20);
  QPainter p;
  beginPainter(p, image);
  const QRect at = flagSlot(0);
  const QRect de = flagSlot(1);
  const QRect chSlot = flagSlot(2);
  austria(p, at);
  germany(p, de);
  const QRect ch = switzerland(p, chSlot);
  flagRim(p, at);
  flagRim(p, de);
  flagRim(p, ch);
  p.end();
  return image;
}

}  // namespace artgen
