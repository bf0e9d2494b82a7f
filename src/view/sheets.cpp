#include "view/sheets.h"

namespace quibbix::view {

namespace {
QImage loadSheet(const char* path, int w, int h) {
  QImage img(QString::fromLatin1(path));
  if (img.isNull() || img.width() != w || img.height() != h) {
    QImage black(w, h, QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
  }
  return img.convertToFormat(QImage::Format_RGB32);
}
}  // namespace

Sheets Sheets::load() {
  return {loadSheet(":/sheets/background.png", 500, 333),
          loadSheet(":/sheets/crates.png", 275, 320), loadSheet(":/sheets/pictures.png", 1200, 720),
          loadSheet(":/sheets/digits.png", 160, 50)};
}

QImage loadMarker() {
  const QImage img(QStringLiteral(":/sheets/marker.png"));
  if (!img.isNull() && img.size() == QSize(kMarkerW, 2 * kMarkerH))
    return img.convertToFormat(QImage::Format_RGB32);
  QImage none(kMarkerW, 2 * kMarkerH, QImage::Format_RGB32);
  none.fill(Qt::black);
  for (int y = kMarkerH; y < 2 * kMarkerH; ++y)
    for (int x = 0; x < kMarkerW; ++x) none.setPixel(x, y, qRgb(255, 255, 255));
  return none;
}

Cell crateCell(int code) {
  if (code >= -65 && code <= -50) return {3, -code - 50};
  if (code >= 0 && code <= 31) return {code / 16, code % 16};
  if (code >= 32 && code <= 40) return {4, code - 32};
  if (code >= 50 && code <= 65) return {2, code - 50};
  return {0, 0};
}

}  // namespace quibbix::view
