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
  Rng rng(0xB41C);
  for (int row = 0; row * kBrickH < band.height(); ++row) {
    const int y = band.top() + row * kBrickH;
    const int shift = row % 2 == 0 ? 0 : -kBrickW / 2;
    for (int x = band.left() + shift; x < band.right(); x += kBrickW) {
      const QRect brick(x + 1, y + 1, kBrickW - 1, kBrickH - 1);
      const double tone = rng.unit();
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

  // A chute of the game's crates on the left, Zorvy's two pair crates on the right, all at 1:1.
  paintGameCrate(p, QRectF(3, 62, 55, 20), 4);
  paintGameCrate(p, QRectF(3, 82, 55, 20), 13);
  paintGameCrate(p, QRectF(3, 102, 55, 20), 11);
  paintGameCrate(p, QRectF(142, 82, 55, 20), 35);
  paintGameCrate(p, QRectF(142, 102, 55, 20), 36);

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
  const int line = std::max(1, static_cast<int>(std::lround(size / 40.0)));
  if (size <= 32) {
    // At the size of a task bar or a title bar, Zorvy's head alone reads best.
    paintZorvyTile(p, QRect(0, 3, size, size - 6), line);
    p.end();
    return image;
  }
  // Zorvy's tile standing on the game's name crate, the crate in whole pixels of its cell
  // wherever it fits (1:1 at 64, 2x at 128, 4x at 256) so it stays crisp.
  const int scale = size / 55;
  const int crateW = scale > 0 ? 55 * scale : size;
  const int crateH = scale > 0 ? 20 * scale : static_cast<int>(std::lround(size * 20.0 / 55.0));
  const int top = size - crateH;
  const int tileW = static_cast<int>(std::lround(size * 0.8));
  paintZorvyTile(p, QRect((size - tileW) / 2, 0, tileW, top + line), line);
  p.setRenderHint(QPainter::SmoothPixmapTransform, scale == 0);
  paintGameCrate(p, QRectF((size - crateW) / 2, top, crateW, crateH), 32);
  p.end();
  return image;
}

}  // namespace artgen
