#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "art.h"
#include "paint.h"

namespace artgen {

QImage aboutLogo() {
  QImage image = transparentCanvas(64, 64);
  QPainter p;
  beginPainter(p, image);
  // A round badge: golden rim, blue ground, Zorvy in the middle.
  QRadialGradient rim(QPointF(22, 18), 46);
  rim.setColorAt(0.0, QColor(255, 240, 150));
  rim.setColorAt(0.6, QColor(250, 190, 30));
  rim.setColorAt(1.0, QColor(190, 120, 10));
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(rim);
  p.drawEllipse(QPointF(32, 32), 30.8, 30.8);
  QLinearGradient ground(0, 6, 0, 58);
  ground.setColorAt(0.0, QColor(100, 170, 255));
  ground.setColorAt(1.0, QColor(25, 70, 190));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(ground);
  p.drawEllipse(QPointF(32, 32), 26.0, 26.0);
  paintZorvy(p, QRectF(6, 10, 52, 40), 1.8);
  p.end();
  return image;
}

namespace {

void brickBand(QPainter& p, const QRect& band) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(band, QColor(110, 90, 80));
  constexpr int kBrickW = 20;
  constexpr int kBrickH = 8;
  Dice dice(0xB41C);
  for (int row = 0; row * kBrickH < band.height(); ++row) {
    const int y = band.top() + row * kBrickH;
    const int shift = row % 2 == 0 ? 0 : -kBrickW / 2;
    for (int x = band.left() + shift; x < band.right(); x += kBrickW) {
      const QRect brick(x + 1, y + 1, kBrickW - 1, kBrickH - 1);
      const double tone = dice.unit();
      const QColor base = mix(QColor(190, 55, 40), QColor(215, 80, 50), tone);
      QLinearGradient g(brick.topLeft(), brick.bottomLeft());
      g.setColorAt(0.0, lighter(base, 0.15));
      g.setColorAt(1.0, darker(base, 0.2));
      p.fillRect(brick.intersected(band), g);
    }
  }
  // Shadow under the things standing on the wall.
  QLinearGradient dusk(band.topLeft(), QPoint(band.left(), band.top() + 6));
  dusk.setColorAt(0.0, QColor(0, 0, 0, 110));
  dusk.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.fillRect(QRect(band.left(), band.top(), band.width(), 6), dusk);
  p.restore();
}

}  // namespace

QImage splashPicture() {
  QImage image = opaqueCanvas(200, 150, Qt::black);
  QPainter p;
  beginPainter(p, image);
  QLinearGradient sky(0, 0, 0, 120);
  sky.setColorAt(0.0, QColor(20, 40, 120));
  sky.setColorAt(1.0, QColor(80, 150, 235));
  p.fillRect(QRect(0, 0, 200, 150), sky);
  // Soft rays behind the title.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 12; ++i) {
    const double a0 = i * std::numbers::pi / 6.0;
    const double a1 = a0 + std::numbers::pi / 14.0;
    QPolygonF ray{QPointF(100, 40), QPointF(100 + 220 * std::cos(a0), 40 + 220 * std::sin(a0)),
                  QPointF(100 + 220 * std::cos(a1), 40 + 220 * std::sin(a1))};
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawPolygon(ray);
  }
  QRadialGradient glow(QPointF(100, 38), 80);
  glow.setColorAt(0.0, QColor(255, 255, 220, 110));
  glow.setColorAt(1.0, QColor(255, 255, 220, 0));
  p.fillRect(QRect(0, 0, 200, 120), glow);

  brickBand(p, QRect(0, 122, 200, 28));

  // A chute-like stack of crates on the left, Zorvy's crate on the right.
  paintCrate(p, QRect(6, 71, 46, 17), CrateMark::kStar, QColor(60, 190, 60), 1.0);
  paintCrate(p, QRect(6, 88, 46, 17), CrateMark::kDiamond, QColor(40, 110, 230), 1.0);
  paintCrate(p, QRect(6, 105, 46, 17), CrateMark::kHeart, QColor(230, 40, 50), 1.0);
  paintCrate(p, QRect(148, 105, 46, 17), CrateMark::kCircle, QColor(255, 160, 20), 1.0);
  paintZorvyTile(p, QRect(150, 68, 42, 37), 1.0);

  paintTitle(p, QStringLiteral("Quibbix"), QPointF(100, 36), 40, 1.6);
  paintOutlinedText(p, QStringLiteral("Zorvyplay"), QPointF(100, 82), 15, Qt::white, 1.3);
  paintOutlinedText(p, QStringLiteral("V2.2"), QPointF(100, 104), 13, QColor(255, 220, 40), 1.2);
  p.end();
  return image;
}

QImage windowIcon(int size) {
  QImage image = transparentCanvas(size, size);
  QPainter p;
  beginPainter(p, image);
  // Ink width and layout are chosen per size so edges land on whole pixels; at 32 the top
  // tile's inside is exactly 26 x 20, the head's own pixel grid.
  const int line = std::max(1, static_cast<int>(std::lround(size / 40.0)));
  const int bottomH = size <= 32 ? 11 : static_cast<int>(std::lround(size * 0.36));
  const int top = size - bottomH;
  // The right crate's rim covers the left one's, so the two share one line.
  paintCrate(p, QRect(0, top, size / 2 + line, bottomH), CrateMark::kHeart, QColor(230, 40, 50),
             line);
  paintCrate(p, QRect(size / 2, top, size - size / 2, bottomH), CrateMark::kStar,
             QColor(60, 190, 60), line);
  const int tileW = size <= 32 ? 28 : static_cast<int>(std::lround(size * 0.8));
  const int tileX = (size - tileW) / 2;
  paintZorvyTile(p, QRect(tileX, 0, tileW, top + line), line);
  p.end();
  return image;
}

}  // namespace artgen
