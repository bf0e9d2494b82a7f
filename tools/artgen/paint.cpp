#include "paint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "sheet_sizes.h"

namespace artgen {

QImage transparentCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QImage opaqueCanvas(int width, int height, QColor fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage disabledLook(const QImage& normal) {
  const QImage src = normal.convertToFormat(QImage::Format_ARGB32);
  QImage out = transparentCanvas(src.width(), src.height()).convertToFormat(QImage::Format_ARGB32);
  // Relief first: white, one pixel down-right, wherever the glyph is solid.
  for (int y = 0; y < src.height(); ++y) {
    for (int x = 0; x < src.width(); ++x) {
      const QRgb s = src.pixel(x, y);
      if (qAlpha(s) == 0 || x + 1 >= src.width() || y + 1 >= src.height()) continue;
      out.setPixel(x + 1, y + 1, qRgba(255, 255, 255, qAlpha(s)));
    }
  }
  // Then the glyph itself as a flat, light grey in which only the shading survives.
  QImage grey = transparentCanvas(src.width(), src.height()).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < src.height(); ++y) {
    for (int x = 0; x < src.width(); ++x) {
      const QRgb s = src.pixel(x, y);
      if (qAlpha(s) == 0) continue;
      const double lum = 0.299 * qRed(s) + 0.587 * qGreen(s) + 0.114 * qBlue(s);
      const int g = static_cast<int>(std::lround(112.0 + lum * 0.42));
      grey.setPixel(x, y, qRgba(g, g, g, qAlpha(s)));
    }
  }
  QPainter painter(&out);
  painter.drawImage(0, 0, grey);
  painter.end();
  return out;
}

QImage sideBySide(const QImage& left, const QImage& right) {
  QImage out =
      transparentCanvas(left.width() + right.width(), std::max(left.height(), right.height()));
  QPainter painter(&out);
  painter.drawImage(0, 0, left);
  painter.drawImage(left.width(), 0, right);
  painter.end();
  return out;
}

void paintZorvy(QPainter& painter, const QRectF& box, double outline) {
  // Designed on a 26 x 20 grid; scaled uniformly and centred in `box`.
  const double s = std::min(box.width() / 26.0, box.height() / 20.0);
  painter.save();
  painter.translate(box.center().x() - 13.0 * s, box.center().y() - 10.0 * s);
  painter.scale(s, s);
  const double w = outline / s;
  QPen ink(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

  // Hair: three spikes standing up behind the face. Straight edges sit on half pixels so
  // the 26 x 20 glyph stays crisp at 1:1.
  const std::array<std::array<QPointF, 3>, 3> spikes{{
      {QPointF(6.5, 8.0), QPointF(4.5, 0.5), QPointF(11.0, 5.0)},
      {QPointF(9.5, 5.0), QPointF(13.0, 0.0), QPointF(16.5, 5.0)},
      {QPointF(15.0, 5.0), QPointF(21.5, 0.5), QPointF(19.5, 8.0)},
  }};
  painter.setPen(ink);
  for (const auto& spike : spikes) {
    QLinearGradient hair(spike[1], QPointF(13.0, 6.0));
    hair.setColorAt(0.0, lighter(kZorvyHair, 0.18));
    hair.setColorAt(1.0, kZorvyHair);
    painter.setBrush(hair);
    painter.drawPolygon(spike.data(), 3);
  }

  // Face.
  const QRectF face(3.5, 4.5, 19.0, 15.0);
  QRadialGradient skin(QPointF(10.0, 8.0), 13.0);
  skin.setColorAt(0.0, lighter(kZorvyFace, 0.3));
  skin.setColorAt(0.5, kZorvyFace);
  skin.setColorAt(1.0, darker(kZorvyFace, 0.1));
  painter.setBrush(skin);
  painter.drawEllipse(face);

  // Big eyes looking right.
  painter.setBrush(Qt::white);
  const QRectF leftEye(7.5, 6.5, 5.0, 6.0);
  const QRectF rightEye(13.5, 6.5, 5.0, 6.0);
  painter.drawRoundedRect(leftEye, 2.2, 2.6);
  painter.drawRoundedRect(rightEye, 2.2, 2.6);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(10, 10, 14));
  painter.drawRoundedRect(QRectF(10.0, 8.0, 2.0, 3.0), 0.9, 1.0);
  painter.drawRoundedRect(QRectF(16.0, 8.0, 2.0, 3.0), 0.9, 1.0);

  // A wide grin with a row of teeth along its top.
  QPainterPath grin;
  grin.moveTo(6.5, 13.5);
  grin.lineTo(19.5, 13.5);
  grin.cubicTo(19.0, 19.0, 7.0, 19.0, 6.5, 13.5);
  grin.closeSubpath();
  painter.setBrush(kZorvyGrin);
  painter.drawPath(grin);
  painter.save();
  painter.setClipPath(grin);
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(5.0, 13.5, 16.0, 1.6));
  painter.restore();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(ink);
  painter.drawPath(grin);
  painter.restore();
}

namespace {
QImage& crateSheet() {
  static QImage sheet;
  return sheet;
}
}  // namespace

bool loadCrateSheet(const QString& path) {
  crateSheet() = QImage(path).convertToFormat(QImage::Format_RGB32);
  return crateSheet().size() ==
         QSize(quibbix::sheets::kCrates.width, quibbix::sheets::kCrates.height);
}

void paintGameCrate(QPainter& painter, const QRectF& rect, int code) {
  // The cell of a code, as the game's drawing maps it.
  int col = code / 16, row = code % 16;
  if (code >= 32 && code <= 40) col = 4, row = code - 32;
  if (code >= 50) col = 2, row = code - 50;
  constexpr auto kCell = quibbix::sheets::kCrate;
  painter.drawImage(rect, crateSheet(),
                    QRectF(col * kCell.width, row * kCell.height, kCell.width, kCell.height));
}

QPainterPath textPath(const QString& text, QPointF origin, double pixelSize) {
  QFont font("Liberation Sans");
  font.setBold(true);
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(true);
  QPainterPath path;
  path.addText(origin, font, text);
  return path;
}

void paintOutlinedText(QPainter& painter, const QString& text, QPointF centre, double pixelSize,
                       QColor fill, double outline) {
  QFont font("Liberation Sans");
  font.setBold(true);
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  const QFontMetricsF metrics(font);
  const double width = metrics.horizontalAdvance(text);
  const QPainterPath path = textPath(
      text, QPointF(centre.x() - width / 2.0, centre.y() + metrics.capHeight() / 2.0), pixelSize);
  painter.save();
  outlined(painter, path, fill, kInk, outline * 2.0);
  painter.restore();
}

void paintTitle(QPainter& painter, const QString& text, QPointF centre, double pixelSize,
                double outline) {
  static const std::array<QColor, 7> colours{
      QColor(235, 40, 40),  QColor(255, 150, 20), QColor(250, 215, 30), QColor(60, 190, 60),
      QColor(30, 170, 230), QColor(60, 90, 230),  QColor(190, 60, 210)};
  QFont font("Liberation Sans");
  font.setBold(true);
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  const QFontMetricsF metrics(font);
  const double spacing = -pixelSize * 0.02;
  double total = 0;
  for (const QChar ch : text) total += metrics.horizontalAdvance(ch) + spacing;
  total -= spacing;
  const double baseline = centre.y() + metrics.capHeight() / 2.0;
  double x = centre.x() - total / 2.0;
  painter.save();
  // All outlines first, so neighbouring letters never cut into each other's fill.
  std::vector<QPainterPath> letters;
  for (int i = 0; i < text.size(); ++i) {
    const double bounce = (i % 2 == 0 ? -1.0 : 1.0) * pixelSize * 0.035;
    letters.push_back(textPath(QString(text[i]), QPointF(x, baseline + bounce), pixelSize));
    x += metrics.horizontalAdvance(text[i]) + spacing;
  }
  painter.setBrush(Qt::NoBrush);
  for (const auto& letter : letters) {
    painter.setPen(QPen(kInk, outline * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(letter.translated(outline * 0.5, outline * 0.5));
    painter.drawPath(letter);
  }
  painter.setPen(Qt::NoPen);
  for (size_t i = 0; i < letters.size(); ++i) {
    const QColor colour = colours[i % colours.size()];
    const QRectF b = letters[i].boundingRect();
    QLinearGradient fill(b.topLeft(), b.bottomLeft());
    fill.setColorAt(0.0, lighter(colour, 0.45));
    fill.setColorAt(0.5, colour);
    fill.setColorAt(1.0, darker(colour, 0.15));
    painter.setBrush(fill);
    painter.drawPath(letters[i]);
  }
  painter.restore();
}

}  // namespace artgen

namespace artgen {

void paintZorvyTile(QPainter& painter, const QRect& rect, double line) {
  painter.save();
  const double size = std::min(rect.width(), rect.height());
  if (line <= 0) line = std::max(1.0, std::round(size / 28.0));
  const double bevel = std::max(1.0, std::round(size / 14.0));
  const QRectF outer(rect.x() + line / 2.0, rect.y() + line / 2.0, rect.width() - line,
                     rect.height() - line);
  const double radius = size >= 40 ? size / 12.0 : (size >= 20 ? 1.5 : 0.0);
  QLinearGradient ground(outer.topLeft(), outer.bottomLeft());
  ground.setColorAt(0.0, QColor(90, 160, 250));
  ground.setColorAt(1.0, QColor(30, 80, 200));
  QPainterPath hull;
  hull.addRoundedRect(outer, radius, radius);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ground);
  painter.drawPath(hull);
  // A soft bevel: light along the top and left, dark along the bottom and right.
  painter.setClipPath(hull);
  const QRectF inner = outer.adjusted(line / 2.0 + bevel / 2.0, line / 2.0 + bevel / 2.0,
                                      -line / 2.0 - bevel / 2.0, -line / 2.0 - bevel / 2.0);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(190, 225, 255, 150), bevel, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(inner.topLeft(), inner.topRight());
  painter.drawLine(inner.topLeft(), inner.bottomLeft());
  painter.setPen(QPen(QColor(10, 30, 100, 150), bevel, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(inner.bottomLeft(), inner.bottomRight());
  painter.drawLine(inner.topRight(), inner.bottomRight());
  painter.setClipping(false);
  painter.setPen(QPen(kInk, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawPath(hull);
  // Small tiles give the whole inside to the head so it keeps its 1:1 pixel grid.
  const double inset = size >= 40 ? bevel : 0.0;
  const QRectF inside = outer.adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0);
  const QRectF head = inside.adjusted(inset, inset, -inset, -inset * 0.5);
  paintZorvy(painter, head, std::max(1.0, line));
  painter.restore();
}

}  // namespace artgen
