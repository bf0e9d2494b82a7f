// artgen: paints the game's glyphs, dialog pictures, splash and icons.
// Usage: artgen <assets folder>; writes <folder>/glyphs/*.png and <folder>/icons/*.png.
// The title pictures and icons show the game's own crates from <folder>/sheets/crates.png,
// so run sheetgen first.
// Every random choice uses a fixed seed, so a rerun reproduces the files byte for byte.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

#include "art.h"
#include "paint.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen <assets folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir root(QString::fromLocal8Bit(argv[1]));
  if (!root.mkpath("glyphs") || !root.mkpath("icons")) {
    std::fprintf(stderr, "artgen: cannot create folders under %s\n", argv[1]);
    return 1;
  }
  using namespace artgen;
  if (!loadCrateSheet(root.filePath(QStringLiteral("sheets/crates.png")))) {
    std::fprintf(stderr, "artgen: cannot read %s/sheets/crates.png (run sheetgen first)\n",
                 argv[1]);
    return 1;
  }
  const auto save = [](const QImage& image, const QString& path) {
    if (!paintkit::savePng(image, path)) std::exit(1);
  };
  const auto glyph = [&root, &save](const char* name, const QImage& image) {
    save(image, root.filePath(QStringLiteral("glyphs/%1.png").arg(QLatin1String(name))));
  };
  glyph("start", bombGlyph());
  glyph("pause", coffeeGlyph());
  const QImage speaker = speakerGlyph();
  glyph("sound", speaker);
  glyph("sound_off", disabledLook(speaker));
  glyph("highscore", podiumGlyph(false));
  glyph("exit", blueDoorGlyph());
  glyph("tongue", lipsGlyph());
  glyph("rules", paragraphGlyph());
  glyph("info", infoGlyph());
  glyph("zorvy", zorvyGlyph());
  glyph("smiley", smileyGlyph());
  glyph("arrow", arrowGlyph());
  glyph("cross", crossGlyph());
  glyph("door", openDoorGlyph());
  glyph("texture", darkTexture());
  glyph("highscore_picture", trophyPicture());
  glyph("podium", podiumGlyph(true));
  glyph("flags_en", flagsEnglish());
  glyph("flags_de", flagsGerman());
  glyph("logo", aboutLogo());
  glyph("splash", splashPicture());
  for (const int size : {32, 48, 64, 128, 256}) {
    save(windowIcon(size), root.filePath(QStringLiteral("icons/quibbix%1.png").arg(size)));
  }
  return 0;
}
