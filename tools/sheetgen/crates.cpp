// The crate sheet: 5 x 16 cells of 55 x 20. Column 0 and 1 hold the ordinary
// designs in two variants, columns 2 and 3 the special crates in their two
// blink phases, column 4 the name crates, the two halves of Zorvy's head and
// the dissolve masks.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "art.h"
#include "engine/rules.h"

namespace sheetgen {

namespace engine = quibbix::engine;

namespace {

constexpr int kW = quibbix::sheets::kCrate.width;
constexpr int kH = quibbix::sheets::kCrate.height;
constexpr double kPi = 3.14159265358979323846;

const QColor kRed(225, 35, 35);
const QColor kGreen(40, 180, 60);
const QColor kBlue(35, 85, 225);
const QColor kYellow(250, 215, 30);
const QColor kCyan(40, 205, 230);
const QColor kWhite(255, 255, 255);
const QColor kDarkRed(165, 20, 25);
const QColor kLightGreen(140, 230, 110);

// The design label on an ordinary crate.
const QRect kPanel(7, 4, 41, 12);

QImage newCell() { return QImage(kW, kH, QImage::Format_RGB32); }

// The crate face: a vertical gradient, a bevel and a black line along the top edge.
void face(QImage& cell, const QColor& top, const QColor& bottom, bool rivets = true) {
  for (int y = 0; y < kH; ++y) {
    const QColor row = mix(top, bottom, (y - 1) / 18.0);
    for (int x = 0; x < kW; ++x) {
      QColor c = row;
      if (y == 0)
        c = QColor(0, 0, 0);
      else if (y == kH - 1)
        c = shade(row, 0.6);
      else if (x == 0)
        c = shade(row, 1.3);
      else if (x == 1)
        c = shade(row, 1.12);
      else if (x == kW - 1)
        c = shade(row, 0.62);
      else if (x == kW - 2)
        c = shade(row, 0.82);
      else if (y == 1)
        c = shade(row, 1.2);
      cell.setPixelColor(x, y, c);
    }
  }
  if (rivets) {
    for (const int x : {3, 50}) {
      cell.setPixelColor(x, 9, shade(top, 1.4));
      cell.setPixelColor(x + 1, 9, shade(bottom, 0.8));
      cell.setPixelColor(x, 10, shade(bottom, 0.8));
      cell.setPixelColor(x + 1, 10, shade(bottom, 0.55));
    }
  }
}

void greyFace(QImage& cell, bool rivets = true) {
  face(cell, QColor(218, 218, 224), QColor(118, 118, 128), rivets);
}

// A sunken frame around the label.
void panelFrame(QImage& cell) {
  const QRect f = kPanel.adjusted(-1, -1, 1, 1);
  for (int x = f.left(); x <= f.right(); ++x) {
    cell.setPixelColor(x, f.top(), QColor(70, 70, 78));
    cell.setPixelColor(x, f.bottom(), QColor(236, 236, 240));
  }
  for (int y = f.top(); y <= f.bottom(); ++y) {
    cell.setPixelColor(f.left(), y, QColor(70, 70, 78));
    cell.setPixelColor(f.right(), y, QColor(200, 200, 206));
  }
}

// Fills the label pixel by pixel from a function of the label coordinates.
template <typename F>
void eachPanelPixel(QImage& cell, F colourAt) {
  for (int y = 0; y < kPanel.height(); ++y)
    for (int x = 0; x < kPanel.width(); ++x)
      cell.setPixelColor(kPanel.left() + x, kPanel.top() + y, colourAt(x, y));
}

// Horizontal bands of the given heights, top first.
void bands(QImage& cell, const std::array<QColor, 3>& c, const std::array<int, 3>& height) {
  eachPanelPixel(cell, [&](int, int y) {
    std::size_t i = 0;
    for (int top = height[0]; i < 2 && y >= top; top += height[++i]) {
    }
    return c[i];
  });
}

// Upright bands with black gaps between them.
void upright(QImage& cell, const std::array<QColor, 3>& c) {
  eachPanelPixel(cell, [&](int x, int) {
    const int i = x / 14, in = x % 14;
    if (in == 13) return QColor(0, 0, 0);
    return c[static_cast<std::size_t>(i)];
  });
}

// A field with a cross: upright (+) or turned (x).
void crossField(QImage& cell, const QColor& field, const QColor& cross, bool turned) {
  eachPanelPixel(cell, [&](int x, int y) {
    bool on;
    if (turned) {
      const double u = (x - 20) * 0.3, w = y - 5.5;
      on = std::abs(u - w) < 1.5 || std::abs(u + w) < 1.5;
    } else {
      on = (x >= 17 && x <= 23) || (y >= 4 && y <= 7);
    }
    return on ? cross : field;
  });
}

void twoCrosses(QImage& cell, const QColor& field, const QColor& cross) {
  eachPanelPixel(cell, [&](int x, int y) {
    for (const int cx : {10, 30}) {
      const int dx = std::abs(x - cx), dy = std::abs(2 * y - 11);
      if ((dx <= 1 && dy <= 9) || (dx <= 5 && dy <= 2)) return cross;
    }
    return field;
  });
}

// Red and green quarters; the red is dark and the green light, so the two
// variants also swap light and dark, and the second one stands the quarters
// apart on white.
void quarters(QImage& cell, const QColor& red, const QColor& green, bool greenFirst) {
  eachPanelPixel(cell, [&](int x, int y) {
    if (greenFirst && (x == 0 || x == 40 || y == 0 || y == 11 || x == 19 || x == 20 || x == 21))
      return kWhite;
    const bool first = (x < 20) == (y < 6);
    return first != greenFirst ? red : green;
  });
}

// Squares of the given size in two rows, on a ground that shows between them
// when it differs from the squares.
void squareRows(QImage& cell, const QColor& a, const QColor& b, const QColor& ground, int size) {
  const int pitch = size == 6 ? 6 : size + 2;  // the big squares touch but for a line
  const int left = (41 - (41 / pitch) * pitch + (pitch - size)) / 2;
  eachPanelPixel(cell, [&](int x, int y) {
    const int top = size == 6 ? 0 : 1;
    const int cx = (x - left) / pitch, cy = (y - top) / pitch;
    const bool inside = x >= left && y >= top && (x - left) % pitch < size &&
                        (y - top) % pitch < size && cy < 2 && cx < 41 / pitch;
    if (!inside) return ground;
    if (size == 6 && ((x - left) % pitch == 0 || (y - top) % pitch == 0)) return ground;
    return (cx + cy) % 2 == 0 ? a : b;
  });
}

void barcode(QImage& cell, int variant) {
  // Bar widths in pixels, alternating black and white.
  static const int kBarsA[] = {1, 1, 2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 1, 3, 1, 1, 2, 1, 1, 2, 1, 1};
  static const int kBarsB[] = {3, 2, 1, 3, 3, 1, 1, 3, 2, 2, 3, 1, 1, 2, 3, 3, 2};
  std::vector<bool> black(41, false);
  int x = 2;
  bool on = true;
  const int* bars = variant ? kBarsB : kBarsA;
  const std::size_t count = variant ? std::size(kBarsB) : std::size(kBarsA);
  for (std::size_t i = 0; i < count && x < 39; ++i, on = !on)
    for (int k = 0; k < bars[i] && x < 39; ++k) black[static_cast<std::size_t>(x++)] = on;
  // The second one is a shelf label: broad bars on orange over a row of numerals.
  const QColor ground = variant ? QColor(255, 150, 30) : kWhite;
  eachPanelPixel(cell, [&](int px, int y) {
    bool ink = black[static_cast<std::size_t>(px)];
    if (variant && y >= 8) ink = y >= 9 && y <= 10 && px >= 4 && px <= 36 && (px % 4) != 3;
    if (y == 0 || y == 11) ink = false;
    return ink ? QColor(0, 0, 0) : ground;
  });
}

void checker(QImage& cell, const QColor& a, const QColor& b) {
  eachPanelPixel(cell, [&](int x, int y) { return ((x / 2 + y / 2) % 2) ? b : a; });
}

void label(QImage& cell, const QColor& ground) {
  eachPanelPixel(cell, [&](int, int) { return ground; });
}

void makerName(QImage& cell, const QColor& ink, const QColor& halo) {
  QPainter p(&cell);
  smooth(p);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setBold(true);
  font.setPixelSize(11);
  QPainterPath text;
  text.addText(0, 0, font, QStringLiteral("Vormlab"));
  // Narrowed to fit the label.
  const QRectF b = text.boundingRect();
  QTransform t;
  t.translate(27.5, 10.0);
  t.scale(37.0 / b.width(), 1.0);
  t.translate(-b.center().x(), -b.center().y());
  const QPainterPath path = t.map(text);
  p.setClipRect(kPanel);
  p.setPen(Qt::NoPen);
  p.setBrush(halo);
  p.drawPath(path.translated(0.7, 0.7));
  p.setBrush(ink);
  p.drawPath(path);
}

// Wave stripes: broad dark teal ones parting thin pale aqua waves, rising to the
// right, or light grey ones on dark olive falling to the right. The first was
// grey on white once and read as the barcode and the dark checks at a glance.
void waves(QImage& cell, bool rising) {
  const double period = rising ? 7.0 : 9.0;
  const QColor ground = rising ? QColor(200, 240, 236) : QColor(105, 85, 25);
  const QColor stripe = rising ? QColor(0, 96, 104) : QColor(170, 170, 178);
  const double width = rising ? 2.6 : 1.4;
  eachPanelPixel(cell, [&](int x, int y) {
    const double along = rising ? x + y : x - y;
    const double across = rising ? x - y : x + y;
    const double u = along + 1.6 * std::sin(across * 0.55);
    const double w = std::fmod(u + 800.0, period);
    const double ink = std::clamp(width + 0.5 - std::abs(w - period / 2), 0.0, 1.0);
    return mix(ground, stripe, ink);
  });
}

void glowDots(QImage& cell, const QColor& glow, const QColor& ground) {
  static const double kDots[][2] = {{6, 4}, {16, 8}, {25, 3.5}, {34, 7.5}};
  eachPanelPixel(cell, [&](int x, int y) {
    double light = 0;
    for (const auto& d : kDots) {
      const double r2 = (x - d[0]) * (x - d[0]) + (y - d[1]) * (y - d[1]);
      light += std::exp(-r2 / 9.0);
    }
    light = std::min(light, 1.4);
    QColor c = mix(ground, glow, std::min(light, 1.0));
    if (light > 1.0) c = mix(c, kWhite, (light - 1.0) * 2);
    return c;
  });
}

// Red and blue concentric arcs: broad red rings with thin blue ones round a
// centre below, thin red ones in a broad blue round a centre above.
void arcs(QImage& cell, bool centreBelow) {
  const double cx = 20.5, cy = centreBelow ? 17 : -5;
  const double period = centreBelow ? 7.0 : 5.0;
  const double redShare = centreBelow ? 0.72 : 0.3;
  const QColor red = centreBelow ? kRed : QColor(255, 90, 90);
  const QColor blue = centreBelow ? QColor(40, 60, 200) : QColor(20, 35, 150);
  eachPanelPixel(cell, [&](int x, int y) {
    const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    const double ring = std::fmod(r, period) / period;
    const double toEdge = std::min({ring, std::abs(ring - redShare), 1.0 - ring}) * period;
    const QColor band = ring < redShare ? red : blue;
    return mix(mix(red, blue, 0.5), band, std::clamp(toEdge + 0.5, 0.0, 1.0));
  });
}

// Four squares of the given size in a row on a ground.
void squaresInRow(QImage& cell, const std::array<QColor, 4>& c, const QColor& ground, int size) {
  const int gap = size == 9 ? 1 : 3;
  const int pitch = size + gap;
  const int left = (41 - (4 * size + 3 * gap)) / 2;
  const int top = (12 - size) / 2;
  eachPanelPixel(cell, [&](int x, int y) {
    const int i = (x - left) / pitch, inX = (x - left) % pitch, inY = y - top;
    if (x >= left && i < 4 && inX < size && inY >= 0 && inY < size) {
      const QColor& k = c[static_cast<std::size_t>(i)];
      if (inX == 0 || inX == size - 1 || inY == 0 || inY == size - 1)
        return ground == kWhite ? shade(k, 0.6) : shade(k, 1.35);
      return k;
    }
    return ground;
  });
}

// Four squares filling the label two by two.
void quadrants(QImage& cell, const std::array<QColor, 4>& c) {
  eachPanelPixel(cell, [&](int x, int y) {
    if (x == 20 || y == 5 || y == 6) return QColor(0, 0, 0);
    return c[static_cast<std::size_t>((y > 5 ? 2 : 0) + (x > 20 ? 1 : 0))];
  });
}

// Four small squares two by two in the middle of the bare crate face.
void smallBlock(QImage& cell, const std::array<QColor, 4>& c) {
  const QRect block(17, 4, 21, 13);
  for (int y = block.top(); y <= block.bottom(); ++y)
    for (int x = block.left(); x <= block.right(); ++x) {
      const int dx = x - block.left(), dy = y - block.top();
      QColor k(0, 0, 0);
      if (dx != 0 && dx != 10 && dx != 20 && dy != 0 && dy != 6 && dy != 12)
        k = c[static_cast<std::size_t>((dy > 6 ? 2 : 0) + (dx > 10 ? 1 : 0))];
      cell.setPixelColor(x, y, k);
    }
}

// Soft colour patches: warm ones side by side, or cool ones in a broad wash.
void pastel(QImage& cell, int variant) {
  struct Blob {
    double x, y;
    QColor c;
  };
  const std::vector<Blob> a = {{4, 3, {255, 150, 170}},
                               {15, 9, {255, 215, 120}},
                               {25, 2, {255, 170, 130}},
                               {35, 9, {255, 240, 150}},
                               {40, 1, {255, 150, 190}}};
  const std::vector<Blob> b = {
      {3, 6, {170, 150, 255}}, {20, 6, {130, 235, 210}}, {37, 6, {150, 200, 255}}};
  const auto& blobs = variant ? b : a;
  const double spread = variant ? 70.0 : 30.0;
  eachPanelPixel(cell, [&](int x, int y) {
    double r = 0, g = 0, bl = 0, sum = 0;
    for (const auto& bb : blobs) {
      const double w = std::exp(-((x - bb.x) * (x - bb.x) + (y - bb.y) * (y - bb.y)) / spread);
      r += w * bb.c.red();
      g += w * bb.c.green();
      bl += w * bb.c.blue();
      sum += w;
    }
    return QColor(clamp255(r / sum), clamp255(g / sum), clamp255(bl / sum));
  });
}

// Ordinary design of the given row (1..15) and variant (0 = column 0, 1 = column 1).
// The two variants of a row never differ only in the order of the same colours:
// one of them changes the ground (light against dark), the scale of the
// pattern, its shape or its dominant hue, so that all 31 designs read apart at
// a glance, also to an eye that tells red from green by lightness alone.
QImage ordinary(int row, int variant) {
  QImage cell = newCell();
  greyFace(cell);
  const bool v = variant != 0;
  if (row == 9) {
    panelFrame(cell);
    label(cell, v ? QColor(20, 90, 60) : QColor(255, 236, 170));
    v ? makerName(cell, kWhite, QColor(0, 40, 20))
      : makerName(cell, QColor(0, 0, 0), QColor(255, 250, 225));
    return cell;
  }
  if (row == 14 && v) {
    // Four small squares in a block on the bare crate.
    smallBlock(cell, {kYellow, kGreen, kBlue, kRed});
    return cell;
  }
  panelFrame(cell);
  switch (row) {
    case 1:
      v ? bands(cell, {kWhite, kRed, kWhite}, {4, 4, 4})
        : bands(cell, {kRed, kWhite, kRed}, {4, 4, 4});
      break;
    case 2:
      v ? upright(cell, {kGreen, kRed, kBlue}) : bands(cell, {kBlue, kRed, kGreen}, {4, 4, 4});
      break;
    case 3:
      v ? crossField(cell, QColor(50, 100, 240), QColor(235, 60, 215), true)
        : crossField(cell, QColor(245, 150, 235), QColor(35, 70, 230), false);
      break;
    case 4: v ? twoCrosses(cell, kYellow, kBlue) : twoCrosses(cell, kBlue, kYellow); break;
    case 5: quarters(cell, kDarkRed, kLightGreen, v); break;
    case 6:
      v ? squareRows(cell, kCyan, kYellow, QColor(20, 30, 70), 4)
        : squareRows(cell, kYellow, kCyan, QColor(0, 0, 0), 6);
      break;
    case 7: barcode(cell, variant); break;
    case 8:
      // White and light grey, or black and red: two fine checks of grey would read alike.
      checker(cell, v ? QColor(0, 0, 0) : kWhite, v ? QColor(200, 30, 40) : QColor(205, 205, 210));
      break;
    case 10: waves(cell, !v); break;
    case 11:
      v ? glowDots(cell, QColor(70, 150, 255), QColor(10, 15, 45))
        : glowDots(cell, QColor(255, 220, 40), QColor(45, 30, 10));
      break;
    case 12: arcs(cell, !v); break;
    case 13:
      v ? squaresInRow(cell, {kBlue, kRed, kYellow, kGreen}, QColor(0, 0, 0), 7)
        : squaresInRow(cell, {kRed, kYellow, kGreen, kBlue}, kWhite, 9);
      break;
    case 14: quadrants(cell, {kGreen, kBlue, kRed, kYellow}); break;
    case 15: pastel(cell, variant); break;
    default: break;
  }
  return cell;
}

QPainterPath textPath(const QString& text, int pixelSize, QPointF centre) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setBold(true);
  font.setPixelSize(pixelSize);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF b = path.boundingRect();
  return path.translated(centre - b.center());
}

void silverBall(QPainter& p, QPointF c) {
  QRadialGradient g(c + QPointF(-1.2, -1.2), 4.5);
  g.setColorAt(0, kWhite);
  g.setColorAt(0.45, QColor(190, 192, 200));
  g.setColorAt(1, QColor(85, 88, 100));
  p.setPen(QPen(QColor(40, 40, 50), 0.9));
  p.setBrush(g);
  p.drawEllipse(c, 4.0, 4.0);
}

void numberCrate(QImage& cell, const QColor& colour, const QString& number, bool ballRight) {
  face(cell, shade(colour, 1.45), shade(colour, 0.55), false);
  QPainter p(&cell);
  smooth(p);
  const QPainterPath t = textPath(number, 15, QPointF(ballRight ? 22 : 33, 10.5));
  outlined(p, t, kWhite, QColor(20, 20, 30), 2.4);
  silverBall(p, QPointF(ballRight ? 43.5 : 11.5, 10.5));
}

void word(QImage& cell, const QString& text, const QColor& colour) {
  QPainter p(&cell);
  smooth(p);
  const QPainterPath t = textPath(text, 13, QPointF(27.5, 10.5));
  outlined(p, t, colour, kWhite, 2.2);
}

QPainterPath arrowRight(double x, double y) {
  return closedPath({{x, y - 2.5},
                     {x + 9, y - 2.5},
                     {x + 9, y - 6.5},
                     {x + 17, y},
                     {x + 9, y + 6.5},
                     {x + 9, y + 2.5},
                     {x, y + 2.5}});
}

// Paints a design on a transparent layer, then lays it on the face, mirrored
// when asked, so that left and right poses are exact mirror images.
template <typename F>
void layer(QImage& cell, bool mirrored, F paint) {
  QImage l(kW, kH, QImage::Format_ARGB32_Premultiplied);
  l.fill(Qt::transparent);
  {
    QPainter p(&l);
    smooth(p);
    paint(p);
  }
  if (mirrored) l = l.mirrored(true, false);
  QPainter p(&cell);
  p.drawImage(0, 0, l);
}

void arrows(QImage& cell, bool right) {
  layer(cell, !right, [](QPainter& p) {
    for (const double x : {9.0, 29.0}) {
      QLinearGradient g(0, 3, 0, 17);
      g.setColorAt(0, QColor(255, 245, 140));
      g.setColorAt(1, QColor(240, 175, 0));
      outlined(p, arrowRight(x, 10), g, QColor(90, 55, 0), 1.6);
    }
  });
}

void spark(QPainter& p, QPointF c, double r, double turn) {
  QPainterPath star;
  for (int i = 0; i < 16; ++i) {
    const double a = turn + i * kPi / 8;
    const double rr = (i % 2) ? r * 0.4 : r;
    const QPointF pt = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
    i ? star.lineTo(pt) : star.moveTo(pt);
  }
  star.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 120, 0));
  p.drawPath(star);
  QTransform t;
  t.translate(c.x(), c.y());
  t.scale(0.55, 0.55);
  t.translate(-c.x(), -c.y());
  p.setBrush(QColor(255, 240, 80));
  p.drawPath(t.map(star));
  p.setBrush(kWhite);
  p.drawEllipse(c, r * 0.18, r * 0.18);
}

void bomb(QImage& cell, int pose) {
  QPainter p(&cell);
  smooth(p);
  // Fuse first, so the bomb's cap covers its root.
  QPainterPath fuse;
  fuse.moveTo(27, 5);
  fuse.cubicTo(30, 0.5, 34, 6, 38, 3);
  p.setPen(QPen(QColor(120, 90, 50), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(fuse);
  QRadialGradient g(QPointF(18, 8), 9);
  g.setColorAt(0, QColor(120, 120, 135));
  g.setColorAt(0.35, QColor(40, 40, 48));
  g.setColorAt(1, QColor(5, 5, 8));
  p.setPen(QPen(QColor(0, 0, 0), 0.8));
  p.setBrush(g);
  p.drawEllipse(QPointF(21, 11.5), 7.2, 7.2);
  p.setBrush(QColor(110, 110, 120));
  p.save();
  p.translate(26, 6);
  p.rotate(-40);
  p.drawRect(QRectF(-2, -2, 4, 3.5));
  p.restore();
  if (pose == 0)
    spark(p, QPointF(38.5, 3.5), 4.6, 0.2);
  else
    spark(p, QPointF(33, 3.8), 3.8, 0.6);
}

void dynamite(QImage& cell, int pose) {
  QPainter p(&cell);
  smooth(p);
  QPainterPath fuse;
  fuse.moveTo(37, 10);
  fuse.cubicTo(41, 10, 41, 4, 45, 4);
  p.setPen(QPen(QColor(60, 50, 40), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(fuse);
  for (int i = 0; i < 3; ++i) {
    const QRectF stick(10, 4 + 4.2 * i, 27, 4.2);
    QLinearGradient g(stick.topLeft(), stick.bottomLeft());
    g.setColorAt(0, QColor(255, 120, 110));
    g.setColorAt(0.4, QColor(220, 30, 30));
    g.setColorAt(1, QColor(130, 10, 10));
    p.setPen(QPen(QColor(70, 0, 0), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(stick, 1.6, 1.6);
    p.setBrush(QColor(240, 225, 190));
    p.drawEllipse(QPointF(36.5, stick.center().y()), 1.2, 2.0);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 30));
  p.drawRect(QRectF(19, 3.6, 3, 13.4));
  p.drawRect(QRectF(28, 3.6, 3, 13.4));
  if (pose == 0)
    spark(p, QPointF(45, 4), 4.4, 0.1);
  else
    spark(p, QPointF(41.5, 6.5), 3.6, 0.5);
}

void magnet(QImage& cell, bool linesLeft) {
  layer(cell, !linesLeft, [](QPainter& p) {
    // Field lines between the poles, on the open side.
    p.setPen(QPen(QColor(150, 230, 255), 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (const double r : {4.0, 8.0, 12.0})
      p.drawArc(QRectF(22 - r, 10 - 5.5 - r * 0.2, 2 * r, 11 + r * 0.4), 90 * 16, 180 * 16);
    QPainterPath u;
    u.moveTo(24, 3);
    u.lineTo(36, 3);
    u.arcTo(QRectF(29, 3, 14, 14), 90, -180);
    u.lineTo(24, 17);
    u.lineTo(24, 13);
    u.lineTo(36, 13);
    u.arcTo(QRectF(33, 7, 6, 6), -90, 180);
    u.lineTo(24, 7);
    u.closeSubpath();
    QLinearGradient g(0, 3, 0, 17);
    g.setColorAt(0, QColor(255, 110, 100));
    g.setColorAt(0.5, QColor(215, 25, 25));
    g.setColorAt(1, QColor(140, 10, 10));
    outlined(p, u, g, QColor(60, 0, 0), 1.2);
    p.setPen(QPen(QColor(60, 60, 70), 0.8));
    p.setBrush(QColor(215, 215, 225));
    p.drawRect(QRectF(22.5, 3, 4, 4));
    p.drawRect(QRectF(22.5, 13, 4, 4));
  });
}

void wavyArrow(QImage& cell, bool right) {
  layer(cell, !right, [right](QPainter& p) {
    const double phase = right ? 0 : kPi;
    // The shaft, alternating red and green half waves.
    for (int half = 0; half < 4; ++half) {
      QPainterPath w;
      for (int i = 0; i <= 16; ++i) {
        const double x = 6 + half * 7.5 + i * 7.5 / 16;
        const double y = 10 + 3.5 * std::sin((x - 6) * kPi / 7.5 + phase);
        i ? w.lineTo(x, y) : w.moveTo(x, y);
      }
      p.setPen(QPen(QColor(30, 20, 20), 4.6, Qt::SolidLine, Qt::FlatCap));
      p.drawPath(w);
    }
    for (int half = 0; half < 4; ++half) {
      QPainterPath w;
      for (int i = 0; i <= 16; ++i) {
        const double x = 6 + half * 7.5 + i * 7.5 / 16;
        const double y = 10 + 3.5 * std::sin((x - 6) * kPi / 7.5 + phase);
        i ? w.lineTo(x, y) : w.moveTo(x, y);
      }
      p.setPen(QPen(half % 2 ? kGreen : kRed, 2.8, Qt::SolidLine, Qt::FlatCap));
      p.drawPath(w);
    }
    QPainterPath head;
    head.moveTo(35, 3.5);
    head.lineTo(48, 10);
    head.lineTo(35, 16.5);
    head.closeSubpath();
    outlined(p, head, kGreen, QColor(30, 20, 20), 1.4);
  });
}

void spiky(QImage& cell, int pose) {
  QPainter p(&cell);
  smooth(p);
  const QPointF c(27.5, 10.5);
  const double turn = pose ? kPi / 10 : 0;
  QPainterPath spikes;
  for (int i = 0; i < 10; ++i) {
    const double a = turn + i * 2 * kPi / 10;
    const double a1 = a - 0.32, a2 = a + 0.32;
    spikes.moveTo(c + QPointF(std::cos(a1) * 5.5, std::sin(a1) * 5.0));
    spikes.lineTo(c + QPointF(std::cos(a) * 10.5, std::sin(a) * 9.2));
    spikes.lineTo(c + QPointF(std::cos(a2) * 5.5, std::sin(a2) * 5.0));
    spikes.closeSubpath();
  }
  outlined(p, spikes, QColor(255, 225, 30), QColor(120, 80, 0), 1.0);
  QRadialGradient g(c + QPointF(-2, -2), 8);
  g.setColorAt(0, QColor(255, 110, 100));
  g.setColorAt(1, QColor(190, 15, 20));
  p.setPen(QPen(QColor(90, 0, 0), 0.9));
  p.setBrush(g);
  const double squash = pose ? 0.6 : 0.0;
  p.drawEllipse(c, 6.8 + squash, 6.2 - squash);
  const double look = pose ? -1.0 : 1.0;
  for (const double dx : {-2.6, 2.6}) {
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawEllipse(c + QPointF(dx, -1.5), 2.0, 2.3);
    p.setBrush(QColor(0, 0, 0));
    p.drawEllipse(c + QPointF(dx + look * 0.8, -1.2), 1.0, 1.2);
  }
  p.setPen(QPen(QColor(60, 0, 0), 1.0));
  p.setBrush(Qt::NoBrush);
  if (pose)
    p.drawEllipse(c + QPointF(0, 3), 1.4, 1.2);
  else
    p.drawArc(QRectF(c.x() - 2.5, c.y() + 0.5, 5, 3), 200 * 16, 140 * 16);
}

void rat(QImage& cell, int pose) {
  QPainter p(&cell);
  smooth(p);
  const QColor fur(125, 125, 135), dark(45, 45, 52), pink(245, 150, 170);
  // The second pose scurries a little further on.
  if (pose) p.translate(2, 0);
  QPainterPath tail;
  tail.moveTo(15, 13);
  if (pose)
    tail.cubicTo(9, 14, 8, 5, 3, 7);
  else
    tail.cubicTo(9, 12, 8, 18, 3, 15);
  p.setPen(QPen(QColor(190, 110, 130), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(tail);
  // Feet.
  p.setPen(QPen(dark, 1.4, Qt::SolidLine, Qt::RoundCap));
  const double step = pose ? 2.0 : -2.0;
  p.drawLine(QPointF(20, 15), QPointF(20 + step, 18));
  p.drawLine(QPointF(31, 15), QPointF(31 - step, 18));
  QPainterPath body;
  body.addEllipse(QPointF(25, 11.5), 11, 5.5);
  QPainterPath head;
  head.moveTo(32, 6.5);
  head.cubicTo(38, 6, 44, 9, 47, 12);
  head.cubicTo(43, 14.5, 38, 16, 32, 16);
  head.closeSubpath();
  QLinearGradient g(0, 5, 0, 17);
  g.setColorAt(0, shade(fur, 1.35));
  g.setColorAt(1, shade(fur, 0.75));
  outlined(p, body.united(head), g, dark, 1.2);
  p.setPen(QPen(dark, 0.9));
  p.setBrush(pink);
  p.drawEllipse(QPointF(35, 5.8), 2.6, 2.8);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0));
  p.drawEllipse(QPointF(40, 10), 1.1, 1.1);
  p.setBrush(pink);
  p.drawEllipse(QPointF(47, 12), 1.3, 1.3);
  p.setPen(QPen(dark, 0.5));
  p.drawLine(QPointF(45, 13), QPointF(49, 11.5 + (pose ? -1.5 : 0)));
  p.drawLine(QPointF(45, 13), QPointF(49, 14.5 + (pose ? 1.5 : 0)));
}

void pistol(QImage& cell, bool flash) {
  QPainter p(&cell);
  smooth(p);
  if (flash) {
    QPainterPath burst;
    const QPointF c(44, 7);
    for (int i = 0; i < 14; ++i) {
      const double a = i * kPi / 7;
      const double r = (i % 2) ? 3.0 : 7.5;
      const QPointF pt = c + QPointF(std::cos(a) * r * 1.15, std::sin(a) * r * 0.85);
      i ? burst.lineTo(pt) : burst.moveTo(pt);
    }
    burst.closeSubpath();
    outlined(p, burst, QColor(255, 225, 40), QColor(225, 30, 20), 2.2);
  }
  const QPainterPath gun = closedPath(
      {{12, 4}, {38, 4}, {38, 10}, {22, 10}, {22, 11}, {20, 18}, {13, 18}, {15, 10}, {12, 9}});
  QLinearGradient g(0, 4, 0, 18);
  g.setColorAt(0, QColor(120, 125, 140));
  g.setColorAt(0.3, QColor(60, 62, 72));
  g.setColorAt(1, QColor(25, 25, 30));
  outlined(p, gun, g, QColor(0, 0, 0), 1.1);
  p.setPen(QPen(QColor(0, 0, 0), 1.1));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(20, 7.5, 6, 7), 180 * 16, 180 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(130, 80, 40));
  p.drawRect(QRectF(15, 12, 4.2, 4.5));
}

// The ground of each special crate (50..53 colour their whole crate
// themselves): a colour that no ordinary design has, so a special crate is
// known for one at a glance in either pose.
QColor specialGround(int code) {
  switch (code) {
    case engine::kPlusMinus: return {180, 222, 255};  // PLUS / MINUS on pale sky
    case engine::kOneWay: return {120, 60, 170};      // arrows on violet
    case engine::kBomb: return {200, 232, 120};       // bomb on lime
    case engine::kDynamite: return {225, 195, 130};   // dynamite on sand
    case engine::kMagnet: return {40, 80, 90};        // magnet on dark teal
    case engine::kWave: return {60, 150, 140};        // wave on sea green
    case engine::kCreature: return {110, 190, 255};   // creature on sky blue
    case engine::kRat: return {240, 210, 90};         // rat on straw
    case engine::kPistol: return {240, 150, 185};     // pistol on pink
    default: return {};
  }
}

QImage special(int code, int phase) {
  QImage cell = newCell();
  const bool normal = phase == 0;
  if (const QColor g = specialGround(code); g.isValid())
    face(cell, shade(g, 1.25), shade(g, 0.78));
  else
    greyFace(cell);
  switch (code) {
    case engine::kMoney13:
      numberCrate(cell, QColor(40, 90, 235), QStringLiteral("13"), normal);
      break;
    case engine::kMoney31:
      numberCrate(cell, QColor(190, 20, 30), QStringLiteral("31"), normal);
      break;
    case engine::kMoney53:
      numberCrate(cell, QColor(235, 95, 225), QStringLiteral("53"), normal);
      break;
    case engine::kMoney97:
      numberCrate(cell, QColor(60, 200, 70), QStringLiteral("97"), normal);
      break;
    case engine::kPlusMinus:
      normal ? word(cell, QStringLiteral("PLUS"), QColor(220, 20, 20))
             : word(cell, QStringLiteral("MINUS"), QColor(30, 60, 220));
      break;
    case engine::kOneWay: arrows(cell, normal); break;
    case engine::kBomb: bomb(cell, phase); break;
    case engine::kDynamite: dynamite(cell, phase); break;
    case engine::kMagnet: magnet(cell, normal); break;
    case engine::kWave: wavyArrow(cell, normal); break;
    case engine::kCreature: spiky(cell, phase); break;
    case engine::kRat: rat(cell, phase); break;
    case engine::kPistol: pistol(cell, normal); break;
    default: greyFace(cell); break;
  }
  return cell;
}

QImage nameCrate(const QColor& colour) {
  QImage cell = newCell();
  face(cell, QColor(62, 62, 70), QColor(8, 8, 10), false);
  QPainter p(&cell);
  smooth(p);
  // Kept clear of the crate's edges, so two name crates side by side read apart.
  QPainterPath t = textPath(QStringLiteral("Quibbix"), 14, QPointF(27.5, 10.5));
  const QRectF b = t.boundingRect();
  const double fit = std::min(43.0 / b.width(), 12.0 / b.height());
  QTransform squeeze;
  squeeze.translate(27.5, 10.5);
  squeeze.scale(fit, fit);
  squeeze.translate(-b.center().x(), -b.center().y());
  t = squeeze.map(t);
  QLinearGradient g(0, 5, 0, 16);
  g.setColorAt(0, shade(colour, 1.5));
  g.setColorAt(1, colour);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(t);
  return cell;
}

// Zorvy, the mascot, over two crates: hair and eyes above, grin and chin below.
QImage zorvy() {
  QImage pair(kW, 2 * kH, QImage::Format_RGB32);
  const QColor ground(40, 110, 230);
  {
    QImage top = newCell(), bottom = newCell();
    face(top, shade(ground, 1.3), ground, false);
    face(bottom, ground, shade(ground, 0.7), false);
    QPainter p(&pair);
    p.drawImage(0, 0, top);
    p.drawImage(0, kH, bottom);
  }
  QPainter p(&pair);
  smooth(p);
  const QColor outline(45, 25, 15), hair(30, 40, 140);
  const QPainterPath spikes =
      closedPath({{18, 12}, {17.5, 2}, {23.5, 8}, {27.5, 0.5}, {31.5, 8}, {37.5, 2}, {37, 12}});
  outlined(p, spikes, hair, QColor(10, 12, 50), 1.2);
  QRadialGradient skin(QPointF(22, 14), 22);
  skin.setColorAt(0, QColor(255, 200, 120));
  skin.setColorAt(0.5, QColor(255, 154, 42));
  skin.setColorAt(1, QColor(215, 110, 20));
  QPainterPath head;
  head.addEllipse(QPointF(27.5, 23.5), 16.5, 14.8);
  outlined(p, head, skin, outline, 1.6);
  for (const double cx : {21.5, 33.5}) {
    p.setPen(QPen(outline, 1.0));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(cx, 14.5), 4.4, 5.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    p.drawEllipse(QPointF(cx + 1.9, 15.2), 2.1, 2.5);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(cx + 2.5, 14.2), 0.7, 0.7);
  }
  // The grin: a wide red mouth with a row of white teeth along its top.
  QPainterPath mouth;
  mouth.moveTo(16, 24);
  mouth.cubicTo(21, 26, 34, 26, 39, 24);
  mouth.cubicTo(37, 32, 31, 35.5, 27.5, 35.5);
  mouth.cubicTo(24, 35.5, 18, 32, 16, 24);
  mouth.closeSubpath();
  outlined(p, mouth, QColor(220, 30, 40), outline, 1.4);
  p.save();
  p.setClipPath(mouth);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRectF(14, 22, 28, 6.2));
  p.setPen(QPen(QColor(200, 200, 200), 0.6));
  for (double x = 19; x < 38; x += 3.5) p.drawLine(QPointF(x, 24), QPointF(x, 28));
  p.restore();
  p.setPen(QPen(outline, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mouth);
  p.end();
  // Keep the crate edge of the lower half on the blue ground, not across the face.
  for (int x = 0; x < kW; ++x) {
    const double dx = (x + 0.5 - 27.5) / 18.0;
    if (std::abs(dx) >= 1.0) pair.setPixelColor(x, kH, QColor(0, 0, 0));
  }
  return pair;
}

// Seven dissolve masks: each pixel gets a rank, and a mask blackens the pixels
// below its share, so every mask contains the black pixels of the one before.
std::vector<QImage> dissolveMasks() {
  constexpr int kPixels = kW * kH;
  Rng rng(0xD155);
  std::vector<double> key(kPixels);
  // A little low-frequency noise makes the crate crumble in flecks, not pure grain.
  std::array<double, 12 * 5> coarse{};
  for (auto& c : coarse) c = rng.unit();
  for (int i = 0; i < kPixels; ++i) {
    const int x = i % kW, y = i / kW;
    key[static_cast<std::size_t>(i)] =
        0.7 * rng.unit() + 0.3 * coarse[static_cast<std::size_t>((y / 5) * 12 + x / 5)];
  }
  std::vector<int> order(kPixels);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return key[static_cast<std::size_t>(a)] < key[static_cast<std::size_t>(b)];
  });
  const double shares[] = {0.10, 0.26, 0.49, 0.70, 0.84, 0.94, 0.996};
  std::vector<QImage> masks;
  for (const double share : shares) {
    QImage m = newCell();
    m.fill(QColor(255, 255, 255));
    const int black = ri(share * kPixels);
    for (int k = 0; k < black; ++k) {
      const int i = order[static_cast<std::size_t>(k)];
      m.setPixel(i % kW, i / kW, qRgb(0, 0, 0));
    }
    masks.push_back(m);
  }
  return masks;
}

}  // namespace

QImage makeCrates() {
  QImage sheet(quibbix::sheets::kCrates.width, quibbix::sheets::kCrates.height,
               QImage::Format_RGB32);
  QPainter p(&sheet);
  const auto put = [&](int col, int row, const QImage& cell) {
    p.drawImage(col * kW, row * kH, cell);
  };
  QImage plain = newCell();
  greyFace(plain);
  QImage empty = newCell();
  empty.fill(QColor(0, 0, 0));
  put(0, 0, empty);
  put(1, 0, plain);
  for (int row = 1; row <= 15; ++row) {
    put(0, row, ordinary(row, 0));
    put(1, row, ordinary(row, 1));
  }
  for (int row = 0; row < 16; ++row) {
    // The specials that never come into play keep the plain crate.
    const int code = engine::kFirstSpecial + row;
    put(2, row, code <= engine::kLastProducedSpecial ? special(code, 0) : plain);
    put(3, row, code <= engine::kLastProducedSpecial ? special(code, 1) : plain);
  }
  put(4, 0, nameCrate(QColor(50, 120, 255)));
  put(4, 1, nameCrate(QColor(140, 250, 110)));
  put(4, 2, nameCrate(QColor(200, 15, 15)));
  const QImage head = zorvy();
  put(4, 3, head.copy(0, 0, kW, kH));
  put(4, 4, head.copy(0, kH, kW, kH));
  for (int row = 5; row <= 8; ++row) put(4, row, plain);
  const std::vector<QImage> masks = dissolveMasks();
  for (std::size_t i = 0; i < masks.size(); ++i) put(4, 9 + static_cast<int>(i), masks[i]);
  return sheet;
}

}  // namespace sheetgen
