#include "view/field_canvas.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/game.h"
#include "recorder.h"

namespace quibbix::view {
namespace {

// Sheets of random pixels, so every cell and every tile is distinct and a
// wrong source rectangle or a blend instead of a bitwise operation shows.
QImage noise(int w, int h, unsigned seed) {
  std::mt19937 gen(seed);
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xFF000000u | (gen() & 0xFFFFFFu));
  return img;
}

Sheets noiseSheets() {
  const auto sized = [](quibbix::sheets::Size size, unsigned seed) {
    return noise(size.width, size.height, seed);
  };
  Sheets s{sized(quibbix::sheets::kBackground, 1), sized(quibbix::sheets::kCrates, 2),
           sized(quibbix::sheets::kPictureStack, 3), sized(quibbix::sheets::kDigits, 4)};
  // Digits as real sheets have them: row 1 the exact negative of row 0.
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 160; ++x) s.digits.setPixel(x, y + 25, ~s.digits.pixel(x, y) | 0xFF000000u);
  return s;
}

QImage region(const QImage& img, int x, int y, int w, int h) { return img.copy(x, y, w, h); }

TEST(CrateCell, MapsEveryCodeRange) {
  struct Case {
    int code;
    Cell cell;
  };
  const Case cases[] = {
      {0, {0, 0}},   {1, {0, 1}},   {15, {0, 15}}, {16, {1, 0}},   {31, {1, 15}},
      {32, {4, 0}},  {36, {4, 4}},  {40, {4, 8}},  {41, {0, 0}},   {49, {0, 0}},
      {50, {2, 0}},  {62, {2, 12}}, {65, {2, 15}}, {66, {0, 0}},   {-1, {0, 0}},
      {-49, {0, 0}}, {-50, {3, 0}}, {-55, {3, 5}}, {-65, {3, 15}}, {-66, {0, 0}},
  };
  for (const auto& tc : cases) EXPECT_EQ(crateCell(tc.code), tc.cell) << "code " << tc.code;
}

TEST(Blit, AndOrAndCopyAreBitwiseOnRgb) {
  QImage dst = noise(40, 30, 7);
  const QImage src = noise(40, 30, 8);
  for (RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Or}) {
    QImage out = dst;
    blit(out, {5, 4}, src, QRect(3, 2, 20, 10), op);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 5 && x < 25 && y >= 4 && y < 14;
        QRgb d = dst.pixel(x, y);
        if (inside) {
          const QRgb s = src.pixel(x - 2, y - 2);
          d = op == RasterOp::Copy ? s : op == RasterOp::And ? (d & s) : (d | s);
        }
        ASSERT_EQ(out.pixel(x, y) & 0xFFFFFFu, d & 0xFFFFFFu) << x << "," << y;
      }
  }
}

TEST(FieldCanvas, CratesLandAtTheirSlots) {
  FieldCanvas canvas(noiseSheets());
  const QImage& crates = canvas.sheets().crates;
  struct Case {
    int chute, slot, code;
    QPoint at;
  };
  for (const Case tc : {Case{0, 1, 7, {45, 296}}, Case{3, 15, -55, {273, 16}},
                        Case{1, 8, 36, {121, 156}}, Case{2, 3, 99, {197, 256}}}) {
    canvas.drawCrate(engine::slotX(tc.chute), engine::slotY(tc.slot), tc.code);
    const Cell c = crateCell(tc.code);
    EXPECT_EQ(region(canvas.image(), tc.at.x(), tc.at.y(), 55, 20),
              region(crates, 55 * c.column, 20 * c.row, 55, 20))
        << tc.code;
  }
}

TEST(FieldCanvas, DissolveFrameAndsTheMaskCell) {
  FieldCanvas canvas(noiseSheets());
  canvas.drawBackground();
  const QImage before = canvas.image();
  canvas.andCrateCell(121, 56, 4, 12);
  const QImage& crates = canvas.sheets().crates;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 55; ++x)
      ASSERT_EQ(canvas.image().pixel(121 + x, 56 + y),
                before.pixel(121 + x, 56 + y) & crates.pixel(220 + x, 240 + y));
}

// The seven digits of a value as the scoreboard must show them: background
// restored, mask ANDed 3 pixels right and down, digit ORed.
QImage expectedDigits(const Sheets& s, const QImage& field, const QString& digits, int y) {
  QImage out = field;
  for (int k = 0; k < 7; ++k) {
    const int d = digits.at(k).digitValue();
    const int x = 357 + 16 * k;
    blit(out, {x, y}, s.background, QRect(x, y, 19, 28), RasterOp::Copy);
    blit(out, {x + 3, y + 3}, s.digits, QRect(16 * d, 25, 16, 25), RasterOp::And);
    blit(out, {x, y}, s.digits, QRect(16 * d, 0, 16, 25), RasterOp::Or);
  }
  return out.copy(357, y, 16 * 6 + 19, 28);
}

TEST(FieldCanvas, ScoreboardDigitsAreClampedAndBitExact) {
  struct Case {
    int score;
    const char* shown;
  };
  for (const Case tc : {Case{0, "0000000"}, Case{815, "0000815"}, Case{10000000, "9999999"}}) {
    FieldCanvas canvas(noiseSheets());
    canvas.drawBackground();
    const QImage before = canvas.image();
    canvas.drawScoreboard(3, tc.score);
    EXPECT_EQ(canvas.image().copy(357, 80, 115, 28),
              expectedDigits(canvas.sheets(), before, QString::fromLatin1(tc.shown), 80))
        << tc.score;
    // The score caption begins in the level digits' last shadow rows.
    EXPECT_EQ(
        canvas.image().copy(357, 42, 115, 24),
        expectedDigits(canvas.sheets(), before, QStringLiteral("0000003"), 42).copy(0, 0, 115, 24));
  }
}

TEST(FieldCanvas, CaptionsFollowTheLanguageWithoutOverwritingEachOther) {
  FieldCanvas canvas(noiseSheets());
  canvas.drawBackground();
  canvas.drawScoreboard(1, 0);
  const QImage english = canvas.image().copy(357, 28, 90, 52);
  canvas.drawScoreboard(1, 0);
  EXPECT_EQ(canvas.image().copy(357, 28, 90, 52), english) << "a redraw must not thicken the text";
  canvas.setCaptions(QStringLiteral("Stufe:"), QStringLiteral("Punkte:"));
  canvas.drawScoreboard(1, 0);
  const QImage german = canvas.image().copy(357, 28, 90, 52);
  EXPECT_NE(german, english);
  canvas.setCaptions(QStringLiteral("Level:"), QStringLiteral("Score:"));
  canvas.drawScoreboard(1, 0);
  EXPECT_EQ(canvas.image().copy(357, 28, 90, 52), english);
  // Text is drawn inside the caption strips only: white glyphs and black shadows.
  bool white = false, black = false;
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 60; ++x) {
      white |= (english.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
      black |= (english.pixel(x + 3, y + 3) & 0xFFFFFFu) == 0u;
    }
  EXPECT_TRUE(white);
  EXPECT_TRUE(black);
}

TEST(FieldCanvas, PictureShowsCoveredTilesFromTheUpperHalf) {
  FieldCanvas canvas(noiseSheets());
  const QImage& pics = canvas.sheets().pictures;
  const int p = 13;
  const int cx = 0, cy = 13 * 240;
  std::array<std::uint8_t, 64> order{};
  const std::uint8_t shape[] = {19, 20, 26, 27, 28, 29, 35, 36};
  std::copy(std::begin(shape), std::end(shape), order.begin());

  canvas.drawPicture(p, order.data(), 0);
  EXPECT_EQ(canvas.image().copy(354, 190, 120, 120), pics.copy(cx, cy + 120, 120, 120));

  canvas.drawPicture(p, order.data(), 8);
  for (int t = 0; t < 64; ++t) {
    const bool covered = std::find(std::begin(shape), std::end(shape), t) != std::end(shape);
    const int tx = 15 * (t % 8), ty = 15 * (t / 8);
    EXPECT_EQ(canvas.image().copy(354 + tx, 190 + ty, 15, 15),
              pics.copy(cx + tx, cy + ty + (covered ? 0 : 120), 15, 15))
        << "tile " << t;
  }
}

TEST(FieldCanvas, PaintEmptiesTheHandRow) {
  FieldCanvas canvas(noiseSheets());
  test::Recorder rec;
  engine::Game game({canvas, rec, rec, rec, rec});
  auto& st = game.state();
  st.Stacks[1][0] = 5;
  st.StackHeight[1] = 1;
  st.HeldCrate = 9;
  st.HeldFrom = 2;
  canvas.drawCrate(engine::slotX(2), 16, 9);
  game.Paint();
  const QImage empty = canvas.sheets().crates.copy(0, 0, 55, 20);
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(canvas.image().copy(engine::slotX(c), 16, 55, 20), empty) << "chute " << c;
  EXPECT_EQ(canvas.image().copy(121, 296, 55, 20), canvas.sheets().crates.copy(0, 100, 55, 20));
  // Between the shafts the background shows.
  EXPECT_EQ(canvas.image().copy(0, 0, 45, 333), canvas.sheets().background.copy(0, 0, 45, 333));
}

TEST(FieldCanvas, MarkerChangesOnlyItsStripAndLeavesTheBackgroundWhenErased) {
  // A marker sheet as the real one is built: the marker on black over its black-and-white mask.
  QImage marker = noise(kMarkerW, 2 * kMarkerH, 9);
  for (int y = 0; y < kMarkerH; ++y)
    for (int x = 0; x < kMarkerW; ++x) {
      const bool in = (x + y) % 3 != 0;
      marker.setPixel(x, y + kMarkerH, in ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
      if (!in) marker.setPixel(x, y, qRgb(0, 0, 0));
    }
  FieldCanvas canvas(noiseSheets(), marker);
  test::Recorder rec;
  engine::Game game({canvas, rec, rec, rec, rec});
  auto& st = game.state();
  for (int c = 0; c < 4; ++c) {
    st.Stacks[c][0] = 3 + c;
    st.StackHeight[c] = 1;
  }
  game.Paint();
  canvas.drawCrate(engine::slotX(1), engine::kHandY, 9);
  const QImage before = canvas.image();
  const QImage& bg = canvas.sheets().background;

  const QRect strip(engine::slotX(1), 316, 55, 17);
  canvas.drawMarker(strip.x(), true);
  const QPoint at(strip.x() + 17, 319);
  for (int y = 0; y < kFieldH; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      QRgb want = before.pixel(x, y);
      const QPoint m = QPoint(x, y) - at;
      if (m.x() >= 0 && m.x() < kMarkerW && m.y() >= 0 && m.y() < kMarkerH)
        want =
            (bg.pixel(x, y) & marker.pixel(m.x(), m.y() + kMarkerH)) | marker.pixel(m.x(), m.y());
      else if (strip.contains(x, y))
        want = bg.pixel(x, y);
      ASSERT_EQ(canvas.image().pixel(x, y) & 0xFFFFFFu, want & 0xFFFFFFu) << x << "," << y;
    }
  canvas.drawMarker(strip.x(), false);
  EXPECT_EQ(canvas.image(), before);
  // The strip under the last chute ends at the field's bottom edge.
  canvas.drawMarker(engine::slotX(3), true);
  canvas.drawMarker(engine::slotX(3), false);
  EXPECT_EQ(canvas.image(), before);
}

}  // namespace
}  // namespace quibbix::view
