#include <QLinearGradient>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

#include "art.h"
#include "paint.h"

namespace artgen {

namespace {

// 3 x 5 pixel digits for the podium steps.
void drawTinyDigit(QPainter& painter, int digit, int left, int top, QColor colour) {
  static const std::array<std::array<const char*, 5>, 3> rows{{
      {"010", "110", "010", "010", "111"},
      {"111", "001", "111", "100", "111"},
      {"111", "001", "011", "001", "111"},
  }};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 3; ++x) {
      if (rows[digit - 1][y][x] == '1') painter.fillRect(left + x, top + y, 1, 1, colour);
    }
  }
}

}  // namespace

QImage bombGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  // Fuse cap.
  p.setPen(inkPen());
  p.setBrush(QColor(110, 110, 120));
  p.save();
  p.translate(12.2, 6.4);
  p.rotate(45);
  p.drawRect(QRectF(-2.2, -1.6, 4.4, 3.2));
  p.restore();
  // Body.
  QRadialGradient body(QPointF(5.6, 8.6), 7.5);
  body.setColorAt(0.0, QColor(120, 124, 140));
  body.setColorAt(0.45, QColor(40, 42, 52));
  body.setColorAt(1.0, QColor(6, 6, 10));
  p.setBrush(body);
  p.drawEllipse(QPointF(8.0, 11.0), 6.4, 6.4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QPointF(5.6, 8.6), 1.3, 1.0);
  // Fuse.
  QPainterPath fuse;
  fuse.moveTo(13.4, 5.0);
  fuse.quadTo(14.0, 2.4, 15.6, 2.6);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(150, 110, 60), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(fuse);
  // Spark.
  QPolygonF spark;
  for (int i = 0; i < 16; ++i) {
    const double a = i * std::numbers::pi / 8.0;
    const double r = i % 2 == 0 ? 2.6 : 1.0;
    spark << QPointF(15.5 + r * std::cos(a), 2.5 + r * std::sin(a));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 120, 0));
  p.drawPolygon(spark);
  p.setBrush(QColor(255, 240, 80));
  p.drawEllipse(QPointF(15.5, 2.5), 1.1, 1.1);
  p.end();
  return image;
}

QImage coffeeGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  // Saucer.
  p.setPen(inkPen());
  QLinearGradient saucer(0, 14, 0, 17.5);
  saucer.setColorAt(0.0, QColor(255, 255, 255));
  saucer.setColorAt(1.0, QColor(170, 185, 210));
  p.setBrush(saucer);
  p.drawEllipse(QRectF(0.5, 14.0, 17.0, 3.5));
  // Handle.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kInk, 3.0, Qt::SolidLine, Qt::RoundCap));
  p.drawEllipse(QRectF(11.5, 8.6, 4.0, 4.0));
  p.setPen(QPen(QColor(235, 70, 50), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawEllipse(QRectF(11.5, 8.6, 4.0, 4.0));
  // Cup.
  QPainterPath cup;
  cup.moveTo(2.5, 7.5);
  cup.lineTo(13.5, 7.5);
  cup.cubicTo(13.5, 12.5, 12.0, 15.5, 8.0, 15.5);
  cup.cubicTo(4.0, 15.5, 2.5, 12.5, 2.5, 7.5);
  cup.closeSubpath();
  QLinearGradient body(2.5, 0, 13.5, 0);
  body.setColorAt(0.0, QColor(255, 120, 90));
  body.setColorAt(0.45, QColor(235, 60, 45));
  body.setColorAt(1.0, QColor(170, 30, 30));
  p.setPen(inkPen());
  p.setBrush(body);
  p.drawPath(cup);
  // Coffee surface.
  p.setBrush(QColor(110, 60, 25));
  p.drawEllipse(QRectF(2.5, 6.5, 11.0, 2.6));
  // Steam.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(120, 130, 150), 1.1, Qt::SolidLine, Qt::RoundCap));
  for (double x : {5.8, 9.8}) {
    QPainterPath steam;
    steam.moveTo(x, 5.2);
    steam.cubicTo(x - 1.6, 4.0, x + 1.6, 2.6, x, 0.8);
    p.drawPath(steam);
  }
  p.end();
  return image;
}

QImage speakerGlyph() {
  QImage image = transparentCanvas(16, 16);
  QPainter p;
  beginPainter(p, image);
  QPainterPath box;
  box.addRect(QRectF(1.5, 5.5, 3.0, 5.0));
  const QPainterPath cone = closedPath({{4.5, 5.5}, {8.5, 1.5}, {8.5, 14.5}, {4.5, 10.5}});
  QLinearGradient metal(0, 1.5, 0, 14.5);
  metal.setColorAt(0.0, QColor(200, 205, 215));
  metal.setColorAt(1.0, QColor(90, 95, 110));
  p.setPen(inkPen());
  p.setBrush(metal);
  p.drawPath(cone);
  p.setBrush(QColor(60, 62, 72));
  p.drawPath(box);
  // Sound waves.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(20, 90, 220), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(6.5, 5.0, 6.0, 6.0), -55 * 16, 110 * 16);
  p.drawArc(QRectF(4.2, 2.2, 11.0, 11.6), -55 * 16, 110 * 16);
  p.end();
  return image;
}

QImage podiumGlyph(bool withTrophy) {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  // Square steps on whole pixels, each with room for its place in dark pixel digits and a
  // pixel of light fill round them, so 1, 2 and 3 read at 18 pixels.
  struct Step {
    int left, right, top;  // outline pixels
    QColor colour;
    int place;
  };
  const std::array<Step, 3> steps{{{0, 6, 7, QColor(215, 222, 235), 2},
                                   {6, 12, 4, QColor(255, 210, 50), 1},
                                   {12, 17, 9, QColor(235, 150, 80), 3}}};
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const Step& s : steps) {
    p.fillRect(QRect(QPoint(s.left, s.top), QPoint(s.right, 17)), kInk);
    p.fillRect(QRect(QPoint(s.left + 1, s.top + 1), QPoint(s.right - 1, 16)), s.colour);
    p.fillRect(QRect(QPoint(s.left + 1, s.top + 1), QPoint(s.right - 1, s.top + 1)),
               lighter(s.colour, 0.5));
    const int width = s.right - s.left - 1;
    drawTinyDigit(p, s.place, s.left + 1 + (width - 3) / 2, s.top + 2, kInk);
  }
  // Above the winner's step, in whole pixels too: a cup in the dialog, a star on the tool bar.
  const std::array<const char*, 4> cup{"IIIII", "IGGGI", ".IGI.", "..I.."};
  const std::array<const char*, 4> star{"..G..", "GGGGG", ".GGG.", ".G.G."};
  const auto& rows = withTrophy ? cup : star;
  const QColor gold = withTrophy ? QColor(255, 205, 40) : QColor(240, 170, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const char c = rows[static_cast<std::size_t>(y)][x];
      if (c != '.') p.fillRect(7 + x, y, 1, 1, c == 'I' ? kInk : gold);
    }
  p.end();
  return image;
}

QImage blueDoorGlyph() {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  // Frame.
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(150, 110, 70));
  p.drawRect(QRectF(2.5, 0.5, 13.0, 17.0));
  // Leaf.
  QLinearGradient leaf(4, 0, 14, 0);
  leaf.setColorAt(0.0, QColor(90, 160, 255));
  leaf.setColorAt(1.0, QColor(25, 70, 200));
  p.setBrush(leaf);
  p.drawRect(QRectF(4.5, 2.5, 9.0, 15.0));
  // Recessed panels.
  p.setPen(QPen(QColor(15, 40, 130), 1.0));
  p.setBrush(QColor(60, 120, 235));
  p.drawRect(QRectF(6.5, 4.5, 5.0, 4.0));
  p.drawRect(QRectF(6.5, 10.5, 5.0, 5.0));
  // Knob.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 215, 40));
  p.drawEllipse(QPointF(12.2, 10.0), 1.1, 1.1);
  p.end();
  return image;
}

QImage lipsGlyph() {
  QImage image = transparentCanvas(15, 15);
  QPainter p;
  beginPainter(p, image);
  QPainterPath upper;
  upper.moveTo(0.8, 7.6);
  upper.cubicTo(2.8, 4.0, 5.2, 2.6, 7.5, 4.6);
  upper.cubicTo(9.8, 2.6, 12.2, 4.0, 14.2, 7.6);
  upper.quadTo(7.5, 6.6, 0.8, 7.6);
  upper.closeSubpath();
  QPainterPath lower;
  lower.moveTo(0.8, 7.6);
  lower.quadTo(7.5, 8.8, 14.2, 7.6);
  lower.cubicTo(12.2, 12.6, 2.8, 12.6, 0.8, 7.6);
  lower.closeSubpath();
  QLinearGradient red(0, 3, 0, 12);
  red.setColorAt(0.0, QColor(255, 80, 90));
  red.setColorAt(1.0, QColor(190, 10, 30));
  p.setPen(QPen(QColor(90, 0, 20), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(red);
  p.drawPath(lower);
  p.drawPath(upper);
  // Shine on the lower lip.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 220, 225, 210));
  p.drawEllipse(QRectF(4.6, 8.9, 3.4, 1.3));
  p.end();
  return image;
}

namespace {

QImage discGlyph(QColor colour) {
  QImage image = transparentCanvas(18, 18);
  QPainter p;
  beginPainter(p, image);
  QRadialGradient disc(QPointF(6.5, 5.5), 11.0);
  disc.setColorAt(0.0, lighter(colour, 0.45));
  disc.setColorAt(0.6, colour);
  disc.setColorAt(1.0, darker(colour, 0.2));
  p.setPen(inkPen());
  p.setBrush(disc);
  p.drawEllipse(QPointF(9.0, 9.0), 8.3, 8.3);
  p.end();
  return image;
}

}  // namespace

QImage paragraphGlyph() {
  QImage image = discGlyph(QColor(225, 30, 35));
  QPainter p;
  beginPainter(p, image);
  // The sign set pixel by pixel: no outline font stays crisp at ten pixels.
  static const std::array<const char*, 10> sign{
      ".XXXX.", "XX..XX", "XX....", ".XXXX.", "XX..XX",
      "XX..XX", ".XXXX.", "....XX", "XX..XX", ".XXXX.",
  };
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int y = 0; y < static_cast<int>(sign.size()); ++y) {
    for (int x = 0; x < 6; ++x) {
      if (sign[static_cast<size_t>(y)][x] == 'X') p.fillRect(6 + x, 4 + y, 1, 1, Qt::white);
    }
  }
  p.end();
  return image;
}

QImage infoGlyph() {
  QImage image = discGlyph(QColor(30, 90, 220));
  QPainter p;
  beginPainter(p, image);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(9.0, 4.9), 1.45, 1.45);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(8, 7, 2, 6), Qt::white);
  p.fillRect(QRect(7, 7, 1, 1), Qt::white);
  p.fillRect(QRect(7, 13, 4, 1), Qt::white);
  p.end();
  return image;
}

QImage zorvyGlyph() {
  QImage image = transparentCanvas(26, 20);
  QPainter p;
  beginPainter(p, image);
  paintZorvy(p, QRectF(0, 0, 26, 20), 1.0);
  p.end();
  return image;
}

}  // namespace artgen
