// The button glyphs are enlarged by whole blocks at every zoom, the copy for a zoom
// made only once the icon is drawn at it: what Qt then picks must be what an icon
// with every zoom's copy made in advance gives, at every size, ratio and look. The
// style's icon fetched when first drawn must be the style's icon.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyle>

#include "desktop/crisp_glyphs.h"
#include "desktop/zoom.h"

namespace quibbix::desktop {
namespace {

QPixmap pattern(int w, int h, int seed) {
  QImage img(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y,
                   qRgba((37 * x + seed) % 256, (53 * y + 2 * seed) % 256, 90 + seed,
                         (x + y) % 3 ? 255 : 0));
  return QPixmap::fromImage(img);
}

// Every zoom's block copy added at once.
QIcon madeInAdvance(const QPixmap& normal, const QPixmap& disabled) {
  QIcon icon;
  for (const auto& [picture, mode] :
       {std::pair{normal, QIcon::Normal}, {disabled, QIcon::Disabled}}) {
    if (picture.isNull()) continue;
    icon.addPixmap(picture, mode);
    for (int zoom = 2; zoom <= kMaxZoom; ++zoom) {
      QPixmap blocks =
          picture.scaled(picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
      blocks.setDevicePixelRatio(zoom);
      icon.addPixmap(blocks, mode);
    }
  }
  return icon;
}

TEST(CrispIcon, GivesWhatAnIconMadeInAdvanceGives) {
  struct Case {
    const char* name;
    QPixmap normal;
    QPixmap disabled;
  };
  const Case cases[] = {
      {"single", pattern(18, 18, 1), {}},
      {"pair", pattern(18, 18, 2), pattern(18, 18, 3)},
      {"wide", pattern(26, 20, 4), {}},
  };
  // The logical sizes the buttons ask for, and odd ones between the zooms.
  const QSize sizes[] = {{18, 18}, {26, 20}, {16, 16}, {25, 25}, {40, 40}, {100, 20}};
  for (const Case& c : cases) {
    // A fresh icon per ratio as well: what was made for one zoom must not decide another.
    for (int first = 1; first <= kMaxZoom; ++first) {
      const QIcon lazy = crispIcon(c.normal, c.disabled);
      const QIcon eager = madeInAdvance(c.normal, c.disabled);
      for (int step = 0; step < kMaxZoom; ++step) {
        const int zoom = (first - 1 + step) % kMaxZoom + 1;
        for (const QSize& size : sizes) {
          for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
            SCOPED_TRACE(testing::Message()
                         << c.name << " zoom " << zoom << " size " << size.width() << "x"
                         << size.height() << " mode " << mode);
            const QPixmap got = lazy.pixmap(size, zoom, mode);
            const QPixmap want = eager.pixmap(size, zoom, mode);
            ASSERT_EQ(got.size(), want.size());
            EXPECT_EQ(got.devicePixelRatio(), want.devicePixelRatio());
            EXPECT_EQ(got.toImage().convertToFormat(QImage::Format_ARGB32),
                      want.toImage().convertToFormat(QImage::Format_ARGB32));
          }
        }
      }
      EXPECT_EQ(lazy.availableSizes(), eager.availableSizes());
      EXPECT_EQ(lazy.availableSizes(QIcon::Disabled), eager.availableSizes(QIcon::Disabled));
    }
  }
}

TEST(CrispIcon, EachPixelIsAWholeBlockAndANullPictureGivesANullIcon) {
  const QPixmap picture = pattern(18, 18, 5);
  const QImage one = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  const QIcon icon = crispIcon(picture);
  for (int zoom = 1; zoom <= kMaxZoom; ++zoom) {
    SCOPED_TRACE(zoom);
    const QImage shown =
        icon.pixmap(QSize(18, 18), zoom).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(18, 18) * zoom);
    bool blocks = true;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        blocks = blocks && shown.pixel(x, y) == one.pixel(x / zoom, y / zoom);
    EXPECT_TRUE(blocks);
  }
  EXPECT_TRUE(crispIcon(QPixmap()).isNull());
  EXPECT_TRUE(singleGlyph(QStringLiteral(":/glyphs/no_such_glyph.png")).isNull());
  EXPECT_FALSE(singleGlyph(QStringLiteral(":/glyphs/door.png")).isNull());
}

TEST(StyleIcon, GivesWhatTheStyleGivesAtEveryRatio) {
  const QStyle* style = QApplication::style();
  const QIcon direct = style->standardIcon(QStyle::SP_DialogCancelButton);
  const QIcon deferred = styleIcon(style, QStyle::SP_DialogCancelButton);
  ASSERT_FALSE(direct.isNull());
  EXPECT_FALSE(deferred.isNull());
  for (int zoom = 1; zoom <= kMaxZoom; ++zoom) {
    for (const QSize& size : {QSize(18, 18), QSize(16, 16), QSize(40, 40)}) {
      for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << zoom << " size " << size.width() << " mode " << mode);
        const QPixmap got = deferred.pixmap(size, zoom, mode);
        const QPixmap want = direct.pixmap(size, zoom, mode);
        ASSERT_EQ(got.size(), want.size());
        EXPECT_EQ(got.devicePixelRatio(), want.devicePixelRatio());
        EXPECT_EQ(got.toImage(), want.toImage());
      }
    }
  }
  EXPECT_EQ(deferred.availableSizes(), direct.availableSizes());
}

}  // namespace
}  // namespace quibbix::desktop
