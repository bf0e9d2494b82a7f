#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <utility>

#include "engine/ports.h"
#include "view/sheets.h"

class QWidget;

namespace quibbix::view {

enum class RasterOp { Copy, And, Or };

// Copies `src` (a rectangle of `sheet`) to `to` on `dst` with one of the three
// bitwise raster operations on 24-bit RGB; never alpha blending.
void blit(QImage& dst, QPoint to, const QImage& sheet, const QRect& src, RasterOp op);

// The playing field as a retained 500 x 333 image. The engine's drawing calls
// change the image at once; present() pushes the changed part to the screen
// widget synchronously (repaint, no event processing), so every animation frame
// between two busy waits is really shown.
class FieldCanvas : public engine::Drawing {
 public:
  explicit FieldCanvas(Sheets sheets, QImage marker = loadMarker());

  void setScreen(QWidget* screen) { screen_ = screen; }
  // The captions beside the level and the score digits, in the player's
  // language; they take effect at the next drawScoreboard.
  void setCaptions(QString level, QString score) {
    levelCaption_ = std::move(level);
    scoreCaption_ = std::move(score);
  }

  const QImage& image() const { return field_; }
  const Sheets& sheets() const { return sheets_; }

  void drawCrate(int x, int y, int code) override;
  void andCrateCell(int x, int y, int column, int row) override;
  void drawBackground() override;
  void drawScoreboard(int level, int score) override;
  void drawPicture(int pictureIndex, const std::uint8_t* tileOrder, int coveredCount) override;
  void drawMarker(int x, bool shown) override;
  void present() override;

 private:
  void drawDigits(int value, int y);
  void drawCaption(const QString& text, int x, int y);
  void touch(const QRect& r) { dirty_ += r.intersected(field_.rect()); }

  Sheets sheets_;
  QImage marker_;
  QImage field_;
  QRegion dirty_;
  QWidget* screen_ = nullptr;
  QString levelCaption_ = QStringLiteral("Level:");
  QString scoreCaption_ = QStringLiteral("Score:");
};

}  // namespace quibbix::view
