// Lays out the crate sheet as the player meets it (every cell that occurs in
// play, side by side at 1:1 and at 4x) and the 30 pictures as they look at the
// start of a level and when complete, so a change of artwork can be judged by eye.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "engine/picture_masks.h"
#include "paintkit.h"
#include "sheet_sizes.h"

namespace {

constexpr int kW = quibbix::sheets::kCrate.width;
constexpr int kH = quibbix::sheets::kCrate.height;
constexpr int kGap = 3;
const QColor kShaft(12, 7, 6);
const QColor kPaper(60, 60, 66);

// The crate cells in play, by sheet column: ordinary designs, specials in both
// poses, then the name and pair crates.
QImage cratesAt(const QImage& sheet, int scale) {
  const int cw = kW * scale, ch = kH * scale, gap = kGap * scale / 2 + kGap;
  QImage out(5 * cw + 6 * gap, 16 * ch + 17 * gap, QImage::Format_RGB32);
  out.fill(kShaft);
  QPainter p(&out);
  for (int col = 0; col < 5; ++col)
    for (int row = 0; row < 16; ++row) {
      if (col == 0 && row == 0) continue;   // the empty slot
      if (col >= 2 && row >= 13) continue;  // never produced
      if (col == 4 && row >= 5) continue;   // plain crates and masks
      const QImage cell = sheet.copy(col * kW, row * kH, kW, kH);
      p.drawImage(QRect(gap + col * (cw + gap), gap + row * (ch + gap), cw, ch), cell);
    }
  return out;
}

QImage crates(const QImage& sheet) {
  const QImage one = cratesAt(sheet, 1), four = cratesAt(sheet, 4);
  QImage out(one.width() + four.width() + 8, four.height(), QImage::Format_RGB32);
  out.fill(kPaper);
  QPainter p(&out);
  p.drawImage(0, 0, one);
  p.drawImage(one.width() + 8, 0, four);
  return out;
}

QImage pictures(const QImage& sheet) {
  constexpr int kCell = quibbix::sheets::kPicture.width, kTile = 15, kSpace = 4;
  QImage out(10 * (kCell + kSpace) + kSpace, 6 * (kCell + kSpace) + kSpace, QImage::Format_RGB32);
  out.fill(kPaper);
  QPainter p(&out);
  for (int pic = 0; pic < 30; ++pic) {
    const QPoint cell(kCell * (pic % 10), 2 * kCell * (pic / 10));
    const QImage covered = sheet.copy(QRect(cell, QSize(kCell, kCell)));
    const QImage revealed = sheet.copy(QRect(cell + QPoint(0, kCell), QSize(kCell, kCell)));
    QImage start = revealed;
    {
      QPainter s(&start);
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
          if (!quibbix::engine::inPictureMask(pic, c, r)) continue;
          const QRect tile(c * kTile, r * kTile, kTile, kTile);
          s.drawImage(tile.topLeft(), covered.copy(tile));
        }
    }
    const int x = kSpace + (pic % 10) * (kCell + kSpace);
    const int y = kSpace + (pic / 10) * 2 * (kCell + kSpace);
    p.drawImage(x, y, start);
    p.drawImage(x, y + kCell + kSpace, revealed);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: contactsheet <sheets folder> <output prefix>\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const QString prefix = QString::fromLocal8Bit(argv[2]);
  const QImage crateSheet(dir.filePath(QStringLiteral("crates.png")));
  const QImage pictureSheet(dir.filePath(QStringLiteral("pictures.png")));
  if (crateSheet.isNull() || pictureSheet.isNull()) {
    std::fprintf(stderr, "contactsheet: cannot read the sheets in %s\n", argv[1]);
    return 1;
  }
  // The highest compression: these pictures are committed as documentation.
  const bool ok = paintkit::savePng(crates(crateSheet.convertToFormat(QImage::Format_RGB32)),
                                    prefix + QStringLiteral("-crates.png"), 9) &&
                  paintkit::savePng(pictures(pictureSheet.convertToFormat(QImage::Format_RGB32)),
                                    prefix + QStringLiteral("-pictures.png"), 9);
  return ok ? 0 : 1;
}
