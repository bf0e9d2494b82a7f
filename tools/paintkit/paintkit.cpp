#include "paintkit.h"

#include <QCoreApplication>
#include <QPen>
#include <algorithm>
#include <cstdio>

namespace paintkit {

std::uint64_t Rng::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int Rng::below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

double Rng::unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

QColor mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  const auto channel = [t](int x, int y) { return clamp255(x + (y - x) * t); };
  return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

QColor lighter(const QColor& c, double t) { return mix(c, QColor(255, 255, 255, c.alpha()), t); }

QColor darker(const QColor& c, double t) { return mix(c, QColor(0, 0, 0, c.alpha()), t); }

QColor shade(const QColor& c, double f) {
  if (f >= 1) return lighter(c, f - 1);
  // Scaled, not mixed: the same colour as darker(c, 1 - f) but for the rounding,
  // and the sheets were painted with this one.
  return QColor(clamp255(c.red() * f), clamp255(c.green() * f), clamp255(c.blue() * f), c.alpha());
}

void smooth(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void beginPainter(QPainter& painter, QImage& image) {
  painter.begin(&image);
  smooth(painter);
}

QPainterPath closedPath(std::initializer_list<QPointF> corners) {
  QPainterPath path;
  for (const QPointF& corner : corners)
    path.elementCount() == 0 ? path.moveTo(corner) : path.lineTo(corner);
  path.closeSubpath();
  return path;
}

void outlined(QPainter& painter, const QPainterPath& path, const QBrush& fill, const QColor& line,
              double width) {
  painter.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawPath(path);
}

bool savePng(const QImage& image, const QString& path, int level) {
  const QImage out = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                   : QImage::Format_RGB888);
  if (out.save(path, "PNG", level)) return true;
  std::fprintf(stderr, "%s: cannot write %s\n", qPrintable(QCoreApplication::applicationName()),
               qPrintable(path));
  return false;
}

}  // namespace paintkit
