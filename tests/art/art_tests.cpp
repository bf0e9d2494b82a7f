// Every picture the windows and dialogs load must be compiled in, at the size its place expects;
// the desktop's icons are files beside the program, and the program does not carry them.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <array>

namespace {

struct Picture {
  const char* path;
  int width;
  int height;
};

// clang-format off
constexpr std::array<Picture, 22> kPictures{{
    {":/glyphs/start.png", 18, 18},
    {":/glyphs/pause.png", 18, 18},
    {":/glyphs/sound.png", 16, 16},
    {":/glyphs/sound_off.png", 16, 16},
    {":/glyphs/highscore.png", 18, 18},
    {":/glyphs/exit.png", 18, 18},
    {":/glyphs/tongue.png", 15, 15},
    {":/glyphs/rules.png", 18, 18},
    {":/glyphs/info.png", 18, 18},
    {":/glyphs/zorvy.png", 26, 20},
    {":/glyphs/smiley.png", 17, 17},
    {":/glyphs/arrow.png", 36, 18},
    {":/glyphs/cross.png", 36, 18},
    {":/glyphs/door.png", 18, 18},
    {":/glyphs/texture.png", 96, 96},
    {":/glyphs/highscore_picture.png", 100, 75},
    {":/glyphs/podium.png", 18, 18},
    {":/glyphs/flags_en.png", 53, 20},
    {":/glyphs/flags_de.png", 80, 20},
    {":/glyphs/logo.png", 64, 64},
    {":/glyphs/splash.png", 200, 150},
    {":/icons/quibbix32.png", 32, 32},
}};
// clang-format on

// The hicolor icons the install puts in place, from the source tree.
constexpr std::array<int, 5> kDesktopIconSizes{32, 48, 64, 128, 256};
// Read only by the tests and the build: the sheets go into the program as plain pixels.
// clang-format off
constexpr std::array<const char*, 8> kNotCompiledIn{{
    ":/icons/quibbix48.png", ":/icons/quibbix64.png", ":/icons/quibbix128.png",
    ":/icons/quibbix256.png", ":/sheets/background.png", ":/sheets/crates.png",
    ":/sheets/pictures.png", ":/sheets/digits.png",
}};
// clang-format on

TEST(ArtTest, EveryPictureIsAtItsSizeAndOnlyTheProgramsOnesAreCompiledIn) {
  int argc = 1;
  char name[] = "art_tests";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  for (const Picture& picture : kPictures) {
    SCOPED_TRACE(picture.path);
    const QImage image(QString::fromLatin1(picture.path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), picture.width);
    EXPECT_EQ(image.height(), picture.height);
  }
  for (const int size : kDesktopIconSizes) {
    SCOPED_TRACE(size);
    const QImage icon(QStringLiteral(QUIBBIX_ASSET_DIR "/icons/quibbix%1.png").arg(size));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(size, size));
  }
  for (const char* path : kNotCompiledIn) EXPECT_FALSE(QFile::exists(QLatin1String(path))) << path;
}

}  // namespace
