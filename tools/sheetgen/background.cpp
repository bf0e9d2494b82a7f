// The board: a red brick wall with four dark chute shafts, the stone slab of the
// scoreboard, the title logo and plain wall where the picture goes.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>

#include "art.h"

namespace sheetgen {

namespace {

constexpr int kW = quibbix::sheets::kBackground.width;
constexpr int kH = quibbix::sheets::kBackground.height;
const QColor kShaft(12, 7, 6);

// Bricks of 22 x 8 with 2-pixel joints; every other course is shifted by half a brick.
void paintBricks(QImage& img, Rng& rng) {
  constexpr int kModW = 24, kModH = 10, kBrickW = 22, kBrickH = 8;
  const int courses = kH / kModH + 2;
  const int perCourse = kW / kModW + 2;
  std::vector<QColor> tone(static_cast<std::size_t>(courses * perCourse));
  for (auto& c : tone) c = QColor(150 + rng.below(40), 42 + rng.below(22), 32 + rng.below(16));
  for (int y = 0; y < kH; ++y) {
    const int course = y / kModH;
    const int inY = y % kModH;
    const int shift = (course % 2) ? kModW / 2 : 0;
    for (int x = 0; x < kW; ++x) {
      const int bx = x + shift;
      const int brick = bx / kModW;
      const int inX = bx % kModW;
      const double n = rng.range(-6, 6);
      QColor c;
      if (inY >= kBrickH || inX >= kBrickW) {
        c = QColor(clamp255(78 + n), clamp255(64 + n), clamp255(58 + n));
      } else {
        const QColor base = tone[static_cast<std::size_t>(course * perCourse + brick)];
        double f = 1.0;
        if (inY == 0)
          f = 1.18;
        else if (inY == kBrickH - 1)
          f = 0.78;
        else if (inX == 0)
          f = 1.08;
        else if (inX == kBrickW - 1)
          f = 0.86;
        c = QColor(clamp255(base.red() * f + n), clamp255(base.green() * f + n * 0.6),
                   clamp255(base.blue() * f + n * 0.5));
      }
      img.setPixelColor(x, y, c);
    }
  }
}

bool inShaft(int x, int y) {
  if (y >= 16 && y <= 35 && x >= 45 && x <= 327) return true;
  if (y < 16 || y > 315) return false;
  for (int c = 0; c < 4; ++c)
    if (x >= 45 + 76 * c && x <= 99 + 76 * c) return true;
  return false;
}

// The shafts with a steel rim around them and a soft shadow on the wall.
void paintShafts(QImage& img) {
  for (int y = 8; y < 326; ++y) {
    for (int x = 36; x < 338; ++x) {
      if (inShaft(x, y)) {
        img.setPixelColor(x, y, kShaft);
        continue;
      }
      int d = 99;
      for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -5; dx <= 5; ++dx)
          if (inShaft(x + dx, y + dy)) d = std::min(d, std::max(std::abs(dx), std::abs(dy)));
      if (d > 5) continue;
      const QColor w = img.pixelColor(x, y);
      if (d == 1)
        img.setPixelColor(x, y, QColor(58, 58, 64));
      else if (d == 2)
        img.setPixelColor(x, y, QColor(150, 150, 160));
      else if (d == 3)
        img.setPixelColor(x, y, QColor(96, 96, 104));
      else
        img.setPixelColor(x, y, shade(w, d == 4 ? 0.6 : 0.8));
    }
  }
}

void paintSlab(QImage& img, Rng& rng) {
  const QRect slab(348, 20, 136, 94);  // 348..483 x 20..113
  // Shadow on the wall below and to the right.
  for (int y = slab.top() + 4; y <= slab.bottom() + 4; ++y)
    for (int x = slab.left() + 4; x <= slab.right() + 4; ++x)
      if (!slab.contains(x, y)) img.setPixelColor(x, y, shade(img.pixelColor(x, y), 0.55));
  for (int y = slab.top(); y <= slab.bottom(); ++y) {
    for (int x = slab.left(); x <= slab.right(); ++x) {
      const double t = double(y - slab.top()) / slab.height();
      // Dark enough for the white captions and digits to stand out.
      double g = 116 - 30 * t + rng.range(-3, 3);
      const int fromL = x - slab.left(), fromR = slab.right() - x;
      const int fromT = y - slab.top(), fromB = slab.bottom() - y;
      QColor c(clamp255(g), clamp255(g), clamp255(g + 6));
      if (std::min({fromL, fromR, fromT, fromB}) == 0)
        c = QColor(40, 38, 42);
      else if (fromT <= 2 || fromL <= 2)
        c = shade(c, 1.0 + 0.25 / std::min(fromT, fromL));
      else if (fromB <= 2 || fromR <= 2)
        c = shade(c, 1.0 - 0.3 / std::min(fromB, fromR));
      img.setPixelColor(x, y, c);
    }
  }
  QPainter p(&img);
  smooth(p);
  for (const QPointF pt :
       {QPointF(353.5, 25.5), QPointF(478.5, 25.5), QPointF(353.5, 108.5), QPointF(478.5, 108.5)}) {
    QRadialGradient rg(pt - QPointF(0.7, 0.7), 2.6);
    rg.setColorAt(0, QColor(235, 235, 240));
    rg.setColorAt(1, QColor(80, 80, 90));
    p.setPen(QPen(QColor(50, 50, 55), 0.8));
    p.setBrush(rg);
    p.drawEllipse(pt, 2.2, 2.2);
  }
}

void paintLogo(QImage& img) {
  QPainter p(&img);
  smooth(p);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setBold(true);
  font.setPixelSize(38);
  const QString word = QStringLiteral("Quibbix");
  const QColor colours[] = {{235, 45, 45},  {255, 150, 20}, {255, 220, 30}, {70, 200, 60},
                            {40, 150, 245}, {165, 90, 235}, {240, 70, 170}};
  const QFontMetricsF fm(font);
  const double width = fm.horizontalAdvance(word) + 6 * 1.0;
  double x = 417.5 - width / 2;
  const double baseline = 166;
  for (int i = 0; i < word.size(); ++i) {
    QPainterPath glyph;
    glyph.addText(0, 0, font, word.mid(i, 1));
    const double adv = fm.horizontalAdvance(word.at(i));
    const QRectF b = glyph.boundingRect();
    QTransform t;
    t.translate(x + adv / 2, baseline + ((i % 2) ? -4.0 : 0.0) + b.center().y());
    t.rotate((i % 2) ? 7 : -6);
    t.translate(-adv / 2, -b.center().y());
    const QPainterPath path = t.map(glyph);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(path.translated(3, 3));
    const QRectF pb = path.boundingRect();
    QLinearGradient lg(pb.topLeft(), pb.bottomLeft());
    lg.setColorAt(0, shade(colours[i], 1.45));
    lg.setColorAt(0.5, colours[i]);
    lg.setColorAt(1, shade(colours[i], 0.7));
    outlined(p, path, lg, QColor(35, 20, 25), 4);
    x += adv + 1.0;
  }
}

// A dark edge fading into the wall along all four sides.
void darkenEdges(QImage& img) {
  constexpr int kEdge = 7;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const int d = std::min({x, y, kW - 1 - x, kH - 1 - y});
      if (d >= kEdge) continue;
      const double f = 0.25 + 0.75 * double(d) / kEdge;
      img.setPixelColor(x, y, shade(img.pixelColor(x, y), f));
    }
  }
}

}  // namespace

QImage makeBackground() {
  QImage img(kW, kH, QImage::Format_RGB32);
  Rng rng(0x51B2);
  paintBricks(img, rng);
  paintShafts(img);
  paintSlab(img, rng);
  paintLogo(img);
  darkenEdges(img);
  return img;
}

}  // namespace sheetgen
