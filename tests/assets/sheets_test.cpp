// The compiled-in sprite sheets: the sizes, pixel format and the few pixel
// values the drawing code relies on bit for bit.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>

#include "view/sheets.h"

namespace {

QImage sheet(const char* name) {
  return QImage(QStringLiteral(QUIBBIX_ASSET_DIR "/sheets/%1.png").arg(QLatin1String(name)))
      .convertToFormat(QImage::Format_RGB32);
}

bool allPixels(const QImage& img, const QRect& r, QRgb colour) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) return false;
  return true;
}

struct SheetFile {
  const char* name;
  int width;
  int height;
};

TEST(Sheets, AreTwentyFourBitRgbPngsOfTheirExactSize) {
  using namespace quibbix::sheets;
  for (const SheetFile s : {SheetFile{"background", kBackground.width, kBackground.height},
                            SheetFile{"crates", kCrates.width, kCrates.height},
                            SheetFile{"pictures", kPictures.width, kPictures.height},
                            SheetFile{"digits", kDigits.width, kDigits.height},
                            SheetFile{"marker", kMarker.width, 2 * kMarker.height}}) {
    SCOPED_TRACE(s.name);
    QFile file(QStringLiteral(QUIBBIX_ASSET_DIR "/sheets/%1.png").arg(QLatin1String(s.name)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(26);
    ASSERT_EQ(head.size(), 26);
    EXPECT_TRUE(head.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(head.mid(12, 4), QByteArray("IHDR"));
    EXPECT_EQ(head.at(24), 8);  // bits per channel
    EXPECT_EQ(head.at(25), 2);  // truecolour without alpha
    file.seek(0);
    QImageReader reader(&file, "png");
    EXPECT_EQ(reader.size(), QSize(s.width, s.height));
  }
}

TEST(Sheets, TheEmbeddedPixelsAreTheCommittedSheets) {
  const quibbix::view::Sheets embedded = quibbix::view::Sheets::load();
  const std::pair<const char*, const QImage*> sheets[] = {{"background", &embedded.background},
                                                          {"crates", &embedded.crates},
                                                          {"digits", &embedded.digits}};
  for (const auto& [name, image] : sheets) {
    SCOPED_TRACE(name);
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    EXPECT_EQ(*image, sheet(name));
  }
  // The pictures one under the other, in the sheet's reading order.
  using quibbix::sheets::kPictureStack;
  const QImage pictures = sheet("pictures");
  EXPECT_EQ(embedded.pictures.format(), QImage::Format_RGB32);
  ASSERT_EQ(embedded.pictures.size(), QSize(kPictureStack.width, kPictureStack.height));
  for (int p = 0; p < quibbix::sheets::kPictureCount; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(embedded.pictures.copy(0, 240 * p, 120, 240),
              pictures.copy(120 * (p % 10), 240 * (p / 10), 120, 240));
  }
}

TEST(Sheets, EmptySlotCellIsPureBlack) {
  const QImage crates = sheet("crates");
  ASSERT_FALSE(crates.isNull());
  EXPECT_TRUE(allPixels(crates, QRect(0, 0, 55, 20), qRgb(0, 0, 0)));
}

TEST(Sheets, DigitMasksAreTheExactNegativesOfTheDigits) {
  const QImage digits = sheet("digits");
  ASSERT_FALSE(digits.isNull());
  int white = 0;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 160; ++x) {
      const QRgb image = digits.pixel(x, y) & 0xFFFFFF;
      ASSERT_EQ(digits.pixel(x, y + 25) & 0xFFFFFF, ~image & 0xFFFFFF) << x << "," << y;
      white += image == 0xFFFFFF;
    }
  EXPECT_GT(white, 10 * 40);  // the digits are really there
}

TEST(Sheets, MarkerMaskIsPureBlackAndWhiteAndTheMarkerLiesInsideIt) {
  const QImage marker = sheet("marker");
  ASSERT_EQ(marker.size(), QSize(21, 22));
  int shape = 0, coloured = 0;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 21; ++x) {
      const QRgb mask = marker.pixel(x, y + 11) & 0xFFFFFF;
      ASSERT_TRUE(mask == 0 || mask == 0xFFFFFF) << x << "," << y;
      // Where the mask keeps the wall, the OR of the marker must add nothing.
      if (mask == 0xFFFFFF) {
        ASSERT_EQ(marker.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
      }
      shape += mask == 0;
      coloured += (marker.pixel(x, y) & 0xFFFFFF) != 0;
    }
  EXPECT_GT(shape, 60);
  EXPECT_GT(coloured, 30);
}

TEST(Sheets, DissolveMasksArePureBlackAndWhiteAndGrowFrameByFrame) {
  const QImage crates = sheet("crates");
  ASSERT_FALSE(crates.isNull());
  const double shares[] = {0.10, 0.26, 0.49, 0.70, 0.84, 0.94, 0.996};
  QImage before;
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const QImage mask = crates.copy(4 * 55, (9 + i) * 20, 55, 20);
    int black = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 55; ++x) {
        const QRgb c = mask.pixel(x, y) & 0xFFFFFF;
        ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
        black += c == 0;
        // A pixel once dissolved stays dissolved.
        if (!before.isNull() && (before.pixel(x, y) & 0xFFFFFF) == 0) {
          EXPECT_EQ(c, 0u);
        }
      }
    EXPECT_NEAR(black / 1100.0, shares[i], 0.03);
    before = mask;
  }
}

TEST(Sheets, ShaftsAndHandBandAreTheExactNearBlack) {
  const QImage bg = sheet("background");
  ASSERT_FALSE(bg.isNull());
  const QRgb shaft = qRgb(12, 7, 6);
  for (int c = 0; c < 4; ++c) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(allPixels(bg, QRect(QPoint(45 + 76 * c, 16), QPoint(99 + 76 * c, 315)), shaft));
  }
  EXPECT_TRUE(allPixels(bg, QRect(QPoint(45, 16), QPoint(327, 35)), shaft));
  // The wall between two shafts below the band is not shaft.
  EXPECT_FALSE(allPixels(bg, QRect(105, 100, 10, 10), shaft));
}

}  // namespace
