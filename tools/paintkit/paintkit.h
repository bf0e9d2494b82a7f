#pragma once
// What every asset generator paints with. The generated files are committed and
// checked byte for byte, so nothing here may depend on the standard library's
// random engines or on the machine.
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace paintkit {

// A small generator of our own (splitmix64): the same sequence everywhere.
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

inline int ri(double v) { return static_cast<int>(std::lround(v)); }
inline int clamp255(double v) { return v < 0 ? 0 : v > 255 ? 255 : ri(v); }

// From a (t = 0) to b (t = 1), alpha included; t is held to that range.
QColor mix(const QColor& a, const QColor& b, double t);
QColor lighter(const QColor& c, double t);  // towards white by t
QColor darker(const QColor& c, double t);   // towards black by t
// One dial for both: f > 1 lightens by f - 1, f < 1 scales the channels by f.
QColor shade(const QColor& c, double f);

// Antialiased shapes, text and scaled images, the way everything here is drawn.
void smooth(QPainter& painter);
void beginPainter(QPainter& painter, QImage& image);

// The closed polygon through the given corners.
QPainterPath closedPath(std::initializer_list<QPointF> corners);

// Fills the path and rings it with `width` of `line`, the ring drawn first so
// only its outer half shows.
void outlined(QPainter& painter, const QPainterPath& path, const QBrush& fill, const QColor& line,
              double width);

// Writes the image as PNG: with alpha when it has any, 8-bit RGB otherwise.
// `level` is Qt's quality (0..100, -1 its default). On failure says so on stderr.
bool savePng(const QImage& image, const QString& path, int level = -1);

}  // namespace paintkit
