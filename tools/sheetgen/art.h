#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdint>

namespace sheetgen {

// A small generator of our own, so the sheets come out the same with every
// standard library.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  int below(int n);  // 0 .. n-1
  double unit();     // [0, 1)
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

 private:
  std::uint64_t state_;
};

inline int ri(double v) {
  return static_cast<int>(std::lround(v));
}
inline int clamp255(double v) {
  return v < 0 ? 0 : v > 255 ? 255 : ri(v);
}
QColor shade(const QColor& c, double f);  // f > 1 lightens, < 1 darkens
QColor mix(const QColor& a, const QColor& b, double t);

// A painter with antialiasing on, the way every drawing here is done.
void smooth(QPainter& p);

// Fills the path with an outline of the given width drawn around it.
void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& line,
              double width);

QImage makeBackground();
QImage makeCrates();
QImage makePictures(const QImage& background);
QImage makeDigits();
// The keyboard's chute marker over its mask.
QImage makeMarker();
constexpr int kMarkerW = 21;
constexpr int kMarkerH = 11;

// Where the picture lies on the background.
constexpr int kPictureX = 354;
constexpr int kPictureY = 190;

}  // namespace sheetgen
