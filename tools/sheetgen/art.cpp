#include "art.h"

#include <QPainterPath>

namespace sheetgen {

std::uint64_t Rng::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int Rng::below(int n) {
  return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

double Rng::unit() {
  return static_cast<double>(next() >> 11) / 9007199254740992.0;
}

QColor shade(const QColor& c, double f) {
  if (f >= 1) {
    const double t = f - 1;
    return QColor(clamp255(c.red() + (255 - c.red()) * t),
                  clamp255(c.green() + (255 - c.green()) * t),
                  clamp255(c.blue() + (255 - c.blue()) * t));
  }
  return QColor(clamp255(c.red() * f), clamp255(c.green() * f), clamp255(c.blue() * f));
}

QColor mix(const QColor& a, const QColor& b, double t) {
  return QColor(clamp255(a.red() + (b.red() - a.red()) * t),
                clamp255(a.green() + (b.green() - a.green()) * t),
                clamp255(a.blue() + (b.blue() - a.blue()) * t));
}

void smooth(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
}

void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& line,
              double width) {
  p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
}

}  // namespace sheetgen
