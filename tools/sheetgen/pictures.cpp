// The picture sheet: 30 wrapped presents on the wall under the picture, each
// as a covered view (a dark silhouette) above its revealed view. Every present
// is laid out on the tile shape its level covers, so the silhouette fills the
// covered tiles.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <vector>

#include "art.h"
#include "engine/picture_masks.h"

namespace sheetgen {

namespace {

constexpr int kCell = quibbix::sheets::kPicture.width;
constexpr int kTile = 15;
constexpr double kPi = 3.14159265358979323846;

using Grid = std::array<std::array<bool, 8>, 8>;  // [row][column]

Grid shapeOf(int p) {
  Grid g{};
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) g[r][c] = quibbix::engine::inPictureMask(p, c, r);
  return g;
}

enum class Paper { Plain, Dots, Stripes, Stars, Checks, Zigzag, Hearts };
enum class Ribbon { Cross, Vertical, Double, Diagonal, String };

struct Wrap {
  QColor paper;
  QColor ribbon;
  QColor motif;
  Paper pattern;
  Ribbon style;
};

// Either the colours or the silhouette of a present: the same shapes, drawn
// once in colour and once in near-black.
struct Ink {
  bool dark;
  QColor paper(const Wrap& w) const { return dark ? QColor(0, 0, 0) : w.paper; }
  QColor ribbon(const Wrap& w) const { return dark ? QColor(30, 28, 32) : w.ribbon; }
  QColor line(const Wrap& w) const { return dark ? QColor(0, 0, 0) : shade(w.paper, 0.45); }
};

const QColor kPapers[] = {
    {230, 40, 50},  {40, 110, 230}, {50, 180, 70},  {250, 200, 30}, {200, 60, 200},
    {255, 130, 30}, {30, 190, 200}, {150, 80, 220}, {240, 90, 150}, {120, 200, 40},
};
const QColor kRibbons[] = {
    {255, 215, 40}, {240, 240, 250}, {230, 30, 40}, {40, 90, 220}, {60, 190, 80}, {250, 120, 200},
};

void paperPattern(QPainter& p, const QRectF& r, const Wrap& w) {
  p.save();
  p.setClipRect(r, Qt::IntersectClip);
  p.setPen(Qt::NoPen);
  p.setBrush(w.motif);
  switch (w.pattern) {
    case Paper::Plain: break;
    case Paper::Dots:
      for (double y = r.top() + 3; y < r.bottom(); y += 7)
        for (double x = r.left() + 3 + (int(y) % 2) * 3.5; x < r.right(); x += 7)
          p.drawEllipse(QPointF(x, y), 1.6, 1.6);
      break;
    case Paper::Stripes:
      p.setPen(QPen(w.motif, 2.5));
      for (double d = -r.height(); d < r.width(); d += 8)
        p.drawLine(QPointF(r.left() + d, r.bottom()), QPointF(r.left() + d + r.height(), r.top()));
      break;
    case Paper::Stars:
      for (double y = r.top() + 5; y < r.bottom(); y += 10)
        for (double x = r.left() + 4 + (int(y / 10) % 2) * 5; x < r.right(); x += 10) {
          QPainterPath s;
          for (int i = 0; i < 10; ++i) {
            const double a = -kPi / 2 + i * kPi / 5, rr = (i % 2) ? 1.2 : 3.0;
            const QPointF pt(x + std::cos(a) * rr, y + std::sin(a) * rr);
            i ? s.lineTo(pt) : s.moveTo(pt);
          }
          p.drawPath(s);
        }
      break;
    case Paper::Checks:
      for (double y = r.top(); y < r.bottom(); y += 6)
        for (double x = r.left() + (int((y - r.top()) / 6) % 2) * 6; x < r.right(); x += 12)
          p.drawRect(QRectF(x, y, 6, 6));
      break;
    case Paper::Zigzag: {
      p.setPen(QPen(w.motif, 1.8));
      p.setBrush(Qt::NoBrush);
      for (double y = r.top() + 4; y < r.bottom(); y += 7) {
        QPainterPath z;
        z.moveTo(r.left(), y);
        for (double x = r.left(); x < r.right() + 4; x += 4)
          z.lineTo(x + 2, y + ((int((x - r.left()) / 4) % 2) ? -2 : 2));
        p.drawPath(z);
      }
      break;
    }
    case Paper::Hearts:
      for (double y = r.top() + 5; y < r.bottom(); y += 9)
        for (double x = r.left() + 4 + (int(y / 9) % 2) * 4.5; x < r.right(); x += 9) {
          QPainterPath h;
          h.moveTo(x, y + 2.5);
          h.cubicTo(x - 4, y - 0.5, x - 2, y - 3.5, x, y - 1.2);
          h.cubicTo(x + 2, y - 3.5, x + 4, y - 0.5, x, y + 2.5);
          p.drawPath(h);
        }
      break;
  }
  p.restore();
}

// A bow sitting on the point (cx, base), at most w wide and h high.
void bow(QPainter& p, double cx, double base, double w, double h, const Wrap& wrap,
         const Ink& ink) {
  const QColor c = ink.ribbon(wrap);
  const QColor line = ink.dark ? QColor(0, 0, 0) : shade(wrap.ribbon, 0.45);
  const double lw = std::min(w / 2, h * 1.3), lh = h;
  QPainterPath loops;
  for (const double s : {-1.0, 1.0}) {
    QPainterPath l;
    l.moveTo(cx, base - lh * 0.35);
    l.cubicTo(cx + s * lw * 0.4, base - lh * 1.15, cx + s * lw * 1.05, base - lh * 1.0,
              cx + s * lw * 0.95, base - lh * 0.45);
    l.cubicTo(cx + s * lw * 0.9, base - lh * 0.1, cx + s * lw * 0.4, base - lh * 0.1, cx,
              base - lh * 0.35);
    loops.addPath(l);
    QPainterPath tail;
    tail.moveTo(cx, base - lh * 0.3);
    tail.lineTo(cx + s * lw * 0.55, base + lh * 0.15);
    tail.lineTo(cx + s * lw * 0.35, base + lh * 0.25);
    tail.closeSubpath();
    loops.addPath(tail);
  }
  outlined(p, loops.simplified(), c, line, 1.4);
  if (!ink.dark) {
    p.setPen(QPen(shade(wrap.ribbon, 0.7), 1.0));
    p.setBrush(Qt::NoBrush);
    for (const double s : {-1.0, 1.0})
      p.drawLine(QPointF(cx + s * 1.5, base - lh * 0.4),
                 QPointF(cx + s * lw * 0.6, base - lh * 0.7));
  }
  QPainterPath knot;
  knot.addEllipse(QPointF(cx, base - lh * 0.33), std::max(2.0, lw * 0.18), std::max(2.0, lh * 0.2));
  outlined(p, knot, ink.dark ? c : shade(wrap.ribbon, 0.85), line, 1.2);
}

struct Box {
  QRectF rect;       // the box with its lid, in picture pixels
  bool bow = false;  // a bow tied on its lid
  Wrap wrap;
};

void drawBox(QPainter& p, const Box& b, const Ink& ink) {
  const Wrap& w = b.wrap;
  const QRectF r = b.rect;
  const QColor line = ink.line(w);
  const double lidH = std::clamp(r.height() * 0.2, 4.0, 8.0);
  const QRectF body = r.adjusted(1.5, lidH - 1, -1.5, 0);
  const QRectF lid(r.left(), r.top(), r.width(), lidH);
  QLinearGradient g(body.topLeft(), body.topRight());
  g.setColorAt(0, shade(ink.paper(w), ink.dark ? 1.0 : 1.12));
  g.setColorAt(1, shade(ink.paper(w), ink.dark ? 1.0 : 0.82));
  QPainterPath bodyPath;
  bodyPath.addRect(body);
  outlined(p, bodyPath, g, line, 1.6);
  if (!ink.dark) paperPattern(p, body.adjusted(0.8, 0.8, -0.8, -0.8), w);
  const double rw = std::clamp(r.width() * 0.14, 3.0, 8.0);
  const QColor rc = ink.ribbon(w);
  const QColor rline = ink.dark ? QColor(0, 0, 0) : shade(w.ribbon, 0.55);
  p.setPen(QPen(rline, 0.8));
  p.setBrush(rc);
  const double cx = r.center().x();
  switch (w.style) {
    case Ribbon::Cross:
      p.drawRect(QRectF(cx - rw / 2, body.top(), rw, body.height()));
      if (body.height() > 18)
        p.drawRect(QRectF(body.left(), body.center().y() - rw / 2, body.width(), rw));
      break;
    case Ribbon::Vertical: p.drawRect(QRectF(cx - rw / 2, body.top(), rw, body.height())); break;
    case Ribbon::Double:
      p.drawRect(
          QRectF(body.left() + body.width() * 0.3 - rw / 3, body.top(), rw * 0.66, body.height()));
      p.drawRect(
          QRectF(body.left() + body.width() * 0.7 - rw / 3, body.top(), rw * 0.66, body.height()));
      break;
    case Ribbon::Diagonal: {
      p.save();
      p.setClipRect(body, Qt::IntersectClip);
      const QPainterPath band =
          closedPath({{body.left(), body.bottom() - rw},
                      {body.left() + body.width() * 0.55, body.top()},
                      {body.left() + body.width() * 0.55 + rw * 1.2, body.top()},
                      {body.left() + rw * 1.2, body.bottom()},
                      {body.left(), body.bottom()}});
      p.drawPath(band);
      p.restore();
      break;
    }
    case Ribbon::String:
      p.setPen(QPen(ink.dark ? rc : QColor(240, 225, 180), 1.3));
      p.drawLine(QPointF(cx, body.top()), QPointF(cx, body.bottom()));
      p.drawLine(QPointF(body.left(), body.center().y()), QPointF(body.right(), body.center().y()));
      break;
  }
  QLinearGradient lg(lid.topLeft(), lid.bottomLeft());
  lg.setColorAt(0, shade(ink.paper(w), ink.dark ? 1.0 : 1.25));
  lg.setColorAt(1, shade(ink.paper(w), ink.dark ? 1.0 : 0.9));
  QPainterPath lidPath;
  lidPath.addRect(lid);
  outlined(p, lidPath, lg, line, 1.6);
  if (w.style != Ribbon::Diagonal && w.style != Ribbon::String) {
    p.setPen(QPen(rline, 0.8));
    p.setBrush(rc);
    if (w.style == Ribbon::Double) {
      p.drawRect(
          QRectF(body.left() + body.width() * 0.3 - rw / 3, lid.top(), rw * 0.66, lid.height()));
      p.drawRect(
          QRectF(body.left() + body.width() * 0.7 - rw / 3, lid.top(), rw * 0.66, lid.height()));
    } else {
      p.drawRect(QRectF(cx - rw / 2, lid.top(), rw, lid.height()));
    }
  }
  if (b.bow) {
    // Tied on the lid, inside the box's own outline, so it never reaches past
    // the tiles the box stands on.
    const double h = std::min(8.0, r.height() * 0.34);
    const double bw = std::min(r.width() * 0.7, 40.0);
    bow(p, cx, r.top() + 1.2 * h + 1.0, bw, h, w, ink);
  }
}

// The brown package: kraft paper, string and a label; no bow.
void drawParcel(QPainter& p, const QRectF& r, const Ink& ink) {
  const QColor kraft = ink.dark ? QColor(0, 0, 0) : QColor(190, 140, 85);
  const QColor line = ink.dark ? QColor(0, 0, 0) : QColor(95, 60, 30);
  QPainterPath body;
  body.addRoundedRect(r, 2, 2);
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0, ink.dark ? kraft : shade(kraft, 1.15));
  g.setColorAt(1, ink.dark ? kraft : shade(kraft, 0.85));
  outlined(p, body, g, line, 1.8);
  const QColor string = ink.dark ? QColor(30, 28, 32) : QColor(245, 235, 205);
  p.setPen(QPen(string, 1.6));
  p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
  p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(r.center().x() - 3, r.center().y() - 3), 3.5, 2.5);
  p.drawEllipse(QPointF(r.center().x() + 3, r.center().y() - 3), 3.5, 2.5);
  if (ink.dark) return;
  // Folded paper edges and an address label.
  p.setPen(QPen(shade(kraft, 0.75), 1.0));
  p.drawLine(QPointF(r.left() + 3, r.top() + 3), QPointF(r.left() + 12, r.top() + 10));
  p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right() - 12, r.top() + 10));
  const QRectF label(r.left() + 6, r.bottom() - 17, 20, 12);
  p.setPen(QPen(QColor(120, 110, 90), 0.8));
  p.setBrush(QColor(250, 248, 235));
  p.drawRect(label);
  p.setPen(QPen(QColor(60, 60, 120), 1.0));
  for (int i = 0; i < 3; ++i)
    p.drawLine(QPointF(label.left() + 3, label.top() + 3 + 3 * i),
               QPointF(label.right() - 3 - 3 * (i % 2), label.top() + 3 + 3 * i));
  p.setPen(QPen(QColor(200, 40, 40), 1.0));
  p.drawLine(QPointF(label.right() - 5, label.top() + 2),
             QPointF(label.right() - 2, label.top() + 2));
}

// A round present wrapped like a sweet, twisted at both ends.
void drawSweet(QPainter& p, const QRectF& r, const Wrap& w, const Ink& ink) {
  const QColor line = ink.line(w);
  const QPointF c = r.center();
  const double rx = r.width() * 0.34, ry = r.height() * 0.48;
  for (const double s : {-1.0, 1.0}) {
    QPainterPath fan;
    fan.moveTo(c.x() + s * rx * 0.8, c.y());
    fan.lineTo(c.x() + s * r.width() * 0.5, c.y() - ry * 0.52);
    fan.quadTo(c.x() + s * r.width() * 0.42, c.y(), c.x() + s * r.width() * 0.5, c.y() + ry * 0.52);
    fan.closeSubpath();
    outlined(p, fan, ink.ribbon(w), ink.dark ? QColor(0, 0, 0) : shade(w.ribbon, 0.5), 1.4);
  }
  QPainterPath ball;
  ball.addEllipse(c, rx, ry);
  QRadialGradient g(c - QPointF(rx * 0.35, ry * 0.4), rx * 1.3);
  g.setColorAt(0, shade(ink.paper(w), ink.dark ? 1.0 : 1.4));
  g.setColorAt(1, shade(ink.paper(w), ink.dark ? 1.0 : 0.8));
  outlined(p, ball, g, line, 1.8);
  if (ink.dark) return;
  p.save();
  p.setClipPath(ball, Qt::IntersectClip);
  paperPattern(p, ball.boundingRect(), w);
  p.setPen(QPen(w.ribbon, 3.0));
  p.drawLine(QPointF(c.x(), c.y() - ry), QPointF(c.x(), c.y() + ry));
  p.restore();
}

// Tile rectangles (column, row, width, height) for the boxes of a shape: the
// biggest rectangle first, then the biggest of what is left, and so on, down
// to single tiles, so that every tile of the shape holds a part of a box.
std::vector<QRect> boxesOf(Grid g) {
  std::vector<QRect> out;
  for (;;) {
    QRect best;
    int bestScore = 0;
    for (int r0 = 0; r0 < 8; ++r0)
      for (int c0 = 0; c0 < 8; ++c0)
        for (int r1 = r0; r1 < 8; ++r1)
          for (int c1 = c0; c1 < 8; ++c1) {
            bool full = true;
            for (int r = r0; r <= r1 && full; ++r)
              for (int c = c0; c <= c1 && full; ++c) full = g[r][c];
            if (!full) continue;
            const int w = c1 - c0 + 1, h = r1 - r0 + 1;
            // Prefer area, then boxes resting low, then wide ones.
            const int score = (w * h) * 1000 + r1 * 50 + w * 5 + r0;
            if (score > bestScore) {
              bestScore = score;
              best = QRect(c0, r0, w, h);
            }
          }
    if (bestScore == 0) break;
    out.push_back(best);
    for (int r = best.top(); r <= best.bottom(); ++r)
      for (int c = best.left(); c <= best.right(); ++c) g[r][c] = false;
  }
  return out;
}

const Paper kPatterns[] = {Paper::Dots,   Paper::Stripes, Paper::Stars, Paper::Plain,
                           Paper::Checks, Paper::Zigzag,  Paper::Hearts};
const Ribbon kStyles[] = {Ribbon::Cross, Ribbon::Vertical, Ribbon::Double, Ribbon::Cross,
                          Ribbon::Diagonal};

// The wrapping of box k of picture p: colours, paper and ribbon vary from
// picture to picture so no two presents look alike.
Wrap wrapFor(int p, int k) {
  Wrap w;
  w.paper = kPapers[(p * 3 + k * 7) % 10];
  w.ribbon = kRibbons[(p + k * 2) % 6];
  if (std::abs(w.ribbon.hue() - w.paper.hue()) < 40 && w.ribbon.saturation() > 60)
    w.ribbon = QColor(250, 250, 255);
  w.motif = (p + k) % 3 == 0 ? shade(w.paper, 1.45) : shade(w.paper, 0.7);
  w.pattern = kPatterns[(p * 5 + k * 3) % 7];
  w.style = kStyles[(p + k) % 5];
  return w;
}

// Where a present may show: the tiles of the shape and a one-pixel outline
// round them, inside the square's outermost ring of pixels.
QPainterPath shapeClip(const Grid& g) {
  QPainterPath clip;
  clip.setFillRule(Qt::WindingFill);  // the outlines of neighbouring tiles overlap
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      if (g[r][c]) clip.addRect(QRectF(c * kTile - 1, r * kTile - 1, kTile + 2, kTile + 2));
  QPainterPath square;
  square.addRect(QRectF(1, 1, kCell - 2, kCell - 2));
  return clip.simplified().intersected(square);
}

// Lays out picture p's presents on its tile shape and draws them with the ink:
// one box on each rectangle of tiles, bows on the boxes with nothing on top.
void drawPresents(QPainter& p, int pic, const Ink& ink) {
  const Grid g = shapeOf(pic);
  p.save();
  p.setClipPath(shapeClip(g));
  if (pic == 17) {  // the plain brown package
    drawParcel(p, QRectF(31.5, 31.5, 57, 57), ink);
  } else if (pic == 4) {  // the sweet-shaped present over the rounded shape
    drawSweet(p, QRectF(16, 31, 88, 58), wrapFor(pic, 0), ink);
  } else {
    const std::vector<QRect> tiles = boxesOf(g);
    std::vector<Box> boxes;
    for (std::size_t k = 0; k < tiles.size(); ++k) {
      const QRect t = tiles[k];
      Box b;
      b.wrap = wrapFor(pic, static_cast<int>(k));
      b.rect = QRectF(t.left() * kTile + 1.5, t.top() * kTile + 1.5, t.width() * kTile - 3,
                      t.height() * kTile - 3);
      bool covered = false;
      for (int c = t.left(); c <= t.right(); ++c)
        if (t.top() > 0 && g[t.top() - 1][c]) covered = true;
      b.bow = !covered && t.height() * kTile >= 14;
      boxes.push_back(b);
    }
    // Lower boxes first, so the ones above lie over their outlines.
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](const Box& a, const Box& b) { return a.rect.bottom() > b.rect.bottom(); });
    for (const Box& b : boxes) drawBox(p, b, ink);
  }
  p.restore();
}

}  // namespace

QImage makePictures(const QImage& background) {
  QImage sheet(quibbix::sheets::kPictures.width, quibbix::sheets::kPictures.height,
               QImage::Format_RGB32);
  const QImage wall = background.copy(kPictureX, kPictureY, kCell, kCell);
  QPainter out(&sheet);
  for (int pic = 0; pic < 30; ++pic) {
    const QPoint at(kCell * (pic % 10), 2 * kCell * (pic / 10));
    for (const bool dark : {true, false}) {
      QImage view = wall;
      {
        QPainter p(&view);
        smooth(p);
        drawPresents(p, pic, Ink{dark});
      }
      out.drawImage(at + QPoint(0, dark ? 0 : kCell), view);
    }
  }
  return sheet;
}

}  // namespace sheetgen
