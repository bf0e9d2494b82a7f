// How the sheets read to a player: every two crates that can meet in play must
// look different at 1:1, also to a red-green colour-blind eye, and every
// picture must fit the tiles its level covers.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/picture_masks.h"
#include "sheet_sizes.h"

namespace {

constexpr int kW = quibbix::sheets::kCrate.width;
constexpr int kH = quibbix::sheets::kCrate.height;

QImage sheet(const char* name) {
  return QImage(QStringLiteral(QUIBBIX_ASSET_DIR "/sheets/%1.png").arg(QLatin1String(name)))
      .convertToFormat(QImage::Format_RGB32);
}

// --- colour ------------------------------------------------------------------

double toLinear(int v) {
  const double c = v / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Lab {
  double l, a, b;
};

// CIE 1976 L*a*b* of linear sRGB under D65.
Lab labOf(double r, double g, double b) {
  const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
  const auto f = [](double t) {
    return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  };
  return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

// How a dichromat sees linear sRGB (Viénot, Brettel and Mollon 1999).
enum class Eye { kNormal, kProtan, kDeutan };

std::array<double, 3> seenBy(Eye eye, double r, double g, double b) {
  switch (eye) {
    case Eye::kProtan:
      return {0.11238 * r + 0.88762 * g, 0.11238 * r + 0.88762 * g, 0.00401 * r - 0.00401 * g + b};
    case Eye::kDeutan:
      return {0.29275 * r + 0.70725 * g, 0.29275 * r + 0.70725 * g, -0.02234 * r + 0.02234 * g + b};
    case Eye::kNormal: break;
  }
  return {r, g, b};
}

// A cell as the eye takes it in at 1:1: in L*a*b*, lightness blurred by about
// a pixel and colour by two, as the eye resolves colour more coarsely than
// light and dark (after the spatial extension of CIELAB by Zhang and Wandell).
struct Seen {
  std::vector<Lab> px;
};

std::vector<double> blurred(const std::vector<double>& in, int w, int h, double sigma) {
  const int radius = static_cast<int>(std::ceil(3 * sigma));
  std::vector<double> k(static_cast<std::size_t>(2 * radius + 1));
  double sum = 0;
  for (int i = -radius; i <= radius; ++i)
    sum += k[static_cast<std::size_t>(i + radius)] = std::exp(-i * i / (2 * sigma * sigma));
  for (double& v : k) v /= sum;
  const auto at = [&](const std::vector<double>& v, int x, int y) {
    return v[static_cast<std::size_t>(std::clamp(y, 0, h - 1) * w + std::clamp(x, 0, w - 1))];
  };
  std::vector<double> mid(in.size()), out(in.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int i = -radius; i <= radius; ++i)
        s += k[static_cast<std::size_t>(i + radius)] * at(in, x + i, y);
      mid[static_cast<std::size_t>(y * w + x)] = s;
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int i = -radius; i <= radius; ++i)
        s += k[static_cast<std::size_t>(i + radius)] * at(mid, x, y + i);
      out[static_cast<std::size_t>(y * w + x)] = s;
    }
  return out;
}

Seen see(const QImage& cell, Eye eye) {
  const int w = cell.width(), h = cell.height();
  std::vector<double> l, a, b;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb p = cell.pixel(x, y);
      const auto c = seenBy(eye, toLinear(qRed(p)), toLinear(qGreen(p)), toLinear(qBlue(p)));
      const Lab lab = labOf(c[0], c[1], c[2]);
      l.push_back(lab.l);
      a.push_back(lab.a);
      b.push_back(lab.b);
    }
  l = blurred(l, w, h, 1.0);
  a = blurred(a, w, h, 2.0);
  b = blurred(b, w, h, 2.0);
  Seen s;
  for (std::size_t i = 0; i < l.size(); ++i) s.px.push_back({l[i], a[i], b[i]});
  return s;
}

// Two cells read apart at a glance when they differ both in layout and in
// what colours they are made of. Layout: the mean colour difference (ΔE*ab)
// pixel by pixel. Make-up: how far the cells' colours lie apart regardless of
// where they sit (the transport distance between the two sets of pixel
// colours, per axis of L*a*b*), which is near zero for the same colours in
// another order or phase, the faults an eye does not catch at a glance.
double layoutDifference(const Seen& p, const Seen& q) {
  double sum = 0;
  for (std::size_t i = 0; i < p.px.size(); ++i)
    sum += std::hypot(p.px[i].l - q.px[i].l, p.px[i].a - q.px[i].a, p.px[i].b - q.px[i].b);
  return sum / static_cast<double>(p.px.size());
}

double makeupDifference(const Seen& p, const Seen& q) {
  double axis[3];
  for (int c = 0; c < 3; ++c) {
    std::vector<double> x, y;
    for (const Lab& v : p.px) x.push_back(c == 0 ? v.l : c == 1 ? v.a : v.b);
    for (const Lab& v : q.px) y.push_back(c == 0 ? v.l : c == 1 ? v.a : v.b);
    std::sort(x.begin(), x.end());
    std::sort(y.begin(), y.end());
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) sum += std::abs(x[i] - y[i]);
    axis[c] = sum / static_cast<double>(x.size());
  }
  return std::hypot(axis[0], axis[1], axis[2]);
}

double difference(const Seen& p, const Seen& q) {
  return std::min(layoutDifference(p, q), makeupDifference(p, q));
}

// --- crates --------------------------------------------------------------------

struct Crate {
  int code;
  std::vector<QImage> poses;
};

// Every crate that can stand in a chute: 31 ordinary designs, the name and
// pair crates and the special crates in both blink poses.
std::vector<Crate> cratesInPlay(const QImage& s) {
  const auto cell = [&](int col, int row) { return s.copy(col * kW, row * kH, kW, kH); };
  std::vector<Crate> out;
  for (int code = 1; code <= 31; ++code) out.push_back({code, {cell(code / 16, code % 16)}});
  for (int code = 32; code <= 36; ++code) out.push_back({code, {cell(4, code - 32)}});
  for (int code = 50; code <= 62; ++code)
    out.push_back({code, {cell(2, code - 50), cell(3, code - 50)}});
  return out;
}

// In ΔE*ab as measured above. The pairs players could not tell apart in play
// (the two variants of the yellow and cyan checks, of the rising and falling
// waves, of the bands and squares of the same colours in another order, the
// grey designs among themselves and against the grey rat) scored 0.1 to 6.0;
// crates that read apart at a glance score 6.4 and more.
constexpr double kApart = 6.0;
// A dichromat has one colour axis less, so every difference shrinks; red
// against green alone (the quarters of row 5 and the name crates 33 and 34
// before) drops to 0.1 and 3.0, while everything else stays above 4.7.
constexpr double kApartColourBlind = 4.5;

TEST(CrateLegibility, EveryTwoCratesInPlayLookDifferentAtOneToOne) {
  const QImage s = sheet("crates");
  ASSERT_FALSE(s.isNull());
  const std::vector<Crate> crates = cratesInPlay(s);
  for (const auto& [eye, least, name] : {std::tuple{Eye::kNormal, kApart, "normal sight"},
                                         std::tuple{Eye::kDeutan, kApartColourBlind, "deutan"},
                                         std::tuple{Eye::kProtan, kApartColourBlind, "protan"}}) {
    SCOPED_TRACE(name);
    std::vector<std::vector<Seen>> seen;
    for (const Crate& c : crates) {
      seen.emplace_back();
      for (const QImage& pose : c.poses) seen.back().push_back(see(pose, eye));
    }
    int failures = 0;
    for (std::size_t i = 0; i < crates.size(); ++i)
      for (std::size_t j = i + 1; j < crates.size(); ++j)
        for (std::size_t pi = 0; pi < seen[i].size(); ++pi)
          for (std::size_t pj = 0; pj < seen[j].size(); ++pj) {
            const double d = difference(seen[i][pi], seen[j][pj]);
            if (d < least && ++failures <= 40)
              ADD_FAILURE() << "crates " << crates[i].code << (pi ? "'" : "") << " and "
                            << crates[j].code << (pj ? "'" : "") << " differ by " << d;
          }
    EXPECT_EQ(failures, 0);
  }
}

// --- pictures ------------------------------------------------------------------

constexpr int kPicture = quibbix::sheets::kPicture.width;
constexpr int kTile = 15;

double deltaE(QRgb p, QRgb q) {
  const Lab a = labOf(toLinear(qRed(p)), toLinear(qGreen(p)), toLinear(qBlue(p)));
  const Lab b = labOf(toLinear(qRed(q)), toLinear(qGreen(q)), toLinear(qBlue(q)));
  return std::hypot(a.l - b.l, a.a - b.a, a.b - b.b);
}

struct PictureViews {
  QImage covered, revealed, wall;
};

PictureViews views(const QImage& pictures, const QImage& background, int pic) {
  const QPoint at(kPicture * (pic % 10), 2 * kPicture * (pic / 10));
  return {pictures.copy(QRect(at, QSize(kPicture, kPicture))),
          pictures.copy(QRect(at + QPoint(0, kPicture), QSize(kPicture, kPicture))),
          background.copy(354, 190, kPicture, kPicture)};
}

// A triple uncovers one tile: it must show a clear piece of the present, not
// the same wall again.
TEST(PictureFit, EveryTileOfTheShapeShowsAPartOfThePresentWhenUncovered) {
  const QImage pictures = sheet("pictures"), background = sheet("background");
  ASSERT_FALSE(pictures.isNull());
  for (int pic = 0; pic < 30; ++pic) {
    const PictureViews v = views(pictures, background, pic);
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col) {
        if (!quibbix::engine::inPictureMask(pic, col, row)) continue;
        int changed = 0;
        for (int y = 0; y < kTile; ++y)
          for (int x = 0; x < kTile; ++x) {
            const QPoint p(col * kTile + x, row * kTile + y);
            changed += deltaE(v.covered.pixel(p), v.revealed.pixel(p)) > 10.0;
          }
        EXPECT_GE(changed * 4, kTile * kTile) << "picture " << pic << " tile " << row * 8 + col
                                              << ": " << changed << " of 225 change";
      }
  }
}

// The tiles outside the shape are never covered: the present may show there
// only as the one-pixel outline along the shape's edge. The present stays
// whole inside its square, so the square's outermost ring is bare wall.
TEST(PictureFit, NothingOfThePresentShowsOutsideItsShapeOrItsSquare) {
  const QImage pictures = sheet("pictures"), background = sheet("background");
  ASSERT_FALSE(pictures.isNull());
  for (int pic = 0; pic < 30; ++pic) {
    const PictureViews v = views(pictures, background, pic);
    int outside = 0, rim = 0;
    for (int y = 0; y < kPicture; ++y)
      for (int x = 0; x < kPicture; ++x) {
        const bool wall = v.revealed.pixel(x, y) == v.wall.pixel(x, y);
        if (x == 0 || y == 0 || x == kPicture - 1 || y == kPicture - 1) rim += !wall;
        bool nearShape = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < kPicture && py < kPicture &&
                quibbix::engine::inPictureMask(pic, px / kTile, py / kTile))
              nearShape = true;
          }
        if (!nearShape) outside += !wall;
      }
    EXPECT_EQ(outside, 0) << "picture " << pic << ": pixels of the present outside its shape";
    EXPECT_EQ(rim, 0) << "picture " << pic << ": the present runs into the square's edge";
  }
}

}  // namespace
