#include "view/field_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "view/fonts.h"

namespace quibbix::view {

namespace {
QPainter::CompositionMode modeFor(RasterOp op) {
  switch (op) {
    case RasterOp::And: return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::Or: return QPainter::RasterOp_SourceOrDestination;
    case RasterOp::Copy: break;
  }
  return QPainter::CompositionMode_Source;
}

// The scoreboard's captions: an Arial-like bold face at 8 points (11 pixels at 96 dpi).
QFont captionFont() {
  QFont f = pixelFont(11, true);
  f.setHintingPreference(QFont::PreferFullHinting);
  // Crisp pixels: a pure black shadow and pure white glyphs, as the digits have.
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

constexpr int kCaptionX = 357;
constexpr int kLevelCaptionY = 28;
constexpr int kScoreCaptionY = 66;
constexpr int kLevelDigitsY = 42;
constexpr int kScoreDigitsY = 80;
// Captions, digits and their shadows; the score caption reaches into the level
// digits' shadow rows, so the whole board is restored before it is redrawn.
const QRect kScoreboardRect(357, 28, 16 * 6 + 19, 80);
}  // namespace

void blit(QImage& dst, QPoint to, const QImage& sheet, const QRect& src, RasterOp op) {
  QPainter p(&dst);
  p.setCompositionMode(modeFor(op));
  p.drawImage(to, sheet, src);
}

FieldCanvas::FieldCanvas(Sheets sheets, QImage marker)
    : sheets_(std::move(sheets)),
      marker_(std::move(marker)),
      field_(kFieldW, kFieldH, QImage::Format_RGB32) {
  field_.fill(Qt::black);
}

void FieldCanvas::drawCrate(int x, int y, int code) {
  const Cell cell = crateCell(code);
  const QRect src(cell.column * kCrateW, cell.row * kCrateH, kCrateW, kCrateH);
  blit(field_, {x, y}, sheets_.crates, src, RasterOp::Copy);
  touch({x, y, kCrateW, kCrateH});
}

void FieldCanvas::andCrateCell(int x, int y, int column, int row) {
  const QRect src(column * kCrateW, row * kCrateH, kCrateW, kCrateH);
  blit(field_, {x, y}, sheets_.crates, src, RasterOp::And);
  touch({x, y, kCrateW, kCrateH});
}

void FieldCanvas::drawBackground() {
  blit(field_, {0, 0}, sheets_.background, sheets_.background.rect(), RasterOp::Copy);
  touch(field_.rect());
}

void FieldCanvas::drawDigits(int value, int y) {
  const int shown = std::clamp(value, 0, 9999999);
  const QString text = QStringLiteral("%1").arg(shown, 7, 10, QLatin1Char('0'));
  for (int k = 0; k < 7; ++k) {
    const int d = text.at(k).digitValue();
    const int x = 357 + 16 * k;
    blit(field_, {x, y}, sheets_.background, QRect(x, y, 19, 28), RasterOp::Copy);
    blit(field_, {x + 3, y + 3}, sheets_.digits, QRect(16 * d, 25, 16, 25), RasterOp::And);
    blit(field_, {x, y}, sheets_.digits, QRect(16 * d, 0, 16, 25), RasterOp::Or);
  }
  touch({357, y, 16 * 6 + 19, 28});
}

void FieldCanvas::drawCaption(const QString& text, int x, int y) {
  QPainter p(&field_);
  const QFont font = captionFont();
  p.setFont(font);
  const int ascent = QFontMetrics(font).ascent();
  p.setPen(QColor(0, 0, 0));
  p.drawText(QPoint(x + 3, y + 3 + ascent), text);
  p.setPen(QColor(255, 255, 255));
  p.drawText(QPoint(x, y + ascent), text);
}

void FieldCanvas::drawScoreboard(int level, int score) {
  // Restoring first keeps a language switch from writing one caption over the
  // other and keeps antialiased edges from thickening on every redraw. Nothing
  // reaches the screen before present(), so this cannot flicker.
  blit(field_, kScoreboardRect.topLeft(), sheets_.background, kScoreboardRect, RasterOp::Copy);
  touch(kScoreboardRect);
  drawDigits(score, kScoreDigitsY);
  drawDigits(level, kLevelDigitsY);
  drawCaption(levelCaption_, kCaptionX, kLevelCaptionY);
  drawCaption(scoreCaption_, kCaptionX, kScoreCaptionY);
}

void FieldCanvas::drawPicture(int pictureIndex, const std::uint8_t* tileOrder, int coveredCount) {
  const int p = std::clamp(pictureIndex, 0, sheets::kPictureCount - 1);
  // The pictures lie one under another, each over its covered face.
  const int cy = 2 * sheets::kPicture.height * p;
  QImage picture(120, 120, QImage::Format_RGB32);
  blit(picture, {0, 0}, sheets_.pictures, QRect(0, cy + 120, 120, 120), RasterOp::Copy);
  for (int i = 0; i < std::clamp(coveredCount, 0, 64); ++i) {
    const int t = tileOrder[i] % 64;
    const int tx = 15 * (t % 8);
    const int ty = 15 * (t / 8);
    blit(picture, {tx, ty}, sheets_.pictures, QRect(tx, cy + ty, 15, 15), RasterOp::Copy);
  }
  blit(field_, {354, 190}, picture, picture.rect(), RasterOp::Copy);
  touch({354, 190, 120, 120});
}

void FieldCanvas::drawMarker(int x, bool shown) {
  const QRect strip(x, kMarkerStripY, kCrateW, kMarkerStripH);
  blit(field_, strip.topLeft(), sheets_.background, strip, RasterOp::Copy);
  if (shown) {
    const QPoint at(x + (kCrateW - kMarkerW) / 2, kMarkerStripY + (kMarkerStripH - kMarkerH) / 2);
    blit(field_, at, marker_, QRect(0, kMarkerH, kMarkerW, kMarkerH), RasterOp::And);
    blit(field_, at, marker_, QRect(0, 0, kMarkerW, kMarkerH), RasterOp::Or);
  }
  touch(strip);
}

void FieldCanvas::present() {
  if (dirty_.isEmpty()) return;
  const QRegion region = dirty_;
  dirty_ = QRegion();
  if (screen_) screen_->repaint(region);
}

}  // namespace quibbix::view
