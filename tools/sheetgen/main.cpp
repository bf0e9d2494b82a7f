// Paints the four sprite sheets of the playing field and the keyboard's chute marker
// and writes them as 24-bit RGB PNG files into the folder given on the command line.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "art.h"

namespace {
bool save(const QImage& image, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (!paintkit::savePng(image, path)) return false;
  std::printf("%s\n", qPrintable(path));
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  // No window is ever shown; the offscreen platform lets it run without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: sheetgen <output folder>\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "sheetgen: cannot create %s\n", argv[1]);
    return 1;
  }
  const QImage background = sheetgen::makeBackground();
  const bool ok = save(background, dir, "background.png") &&
                  save(sheetgen::makeCrates(), dir, "crates.png") &&
                  save(sheetgen::makePictures(background), dir, "pictures.png") &&
                  save(sheetgen::makeDigits(), dir, "digits.png") &&
                  save(sheetgen::makeMarker(), dir, "marker.png");
  return ok ? 0 : 1;
}
