#include "view/sheets.h"

#include "engine/rules.h"
#include "sheet_pixels.h"
#include "view/png.h"

namespace quibbix::view {

namespace {
// Read-only images over the embedded pixels: nothing is decoded or copied, and
// drawing only ever reads them.
QImage embedded(const unsigned char* pixels, sheets::Size size) {
  return QImage(pixels, size.width, size.height, qsizetype{4} * size.width, QImage::Format_RGB32);
}
}  // namespace

Sheets Sheets::load() {
  return {embedded(quibbix_sheet_background, sheets::kBackground),
          embedded(quibbix_sheet_crates, sheets::kCrates),
          embedded(quibbix_sheet_pictures, sheets::kPictureStack),
          embedded(quibbix_sheet_digits, sheets::kDigits)};
}

QImage loadMarker() {
  const QImage img = readPng(QStringLiteral(":/sheets/marker.png"));
  if (!img.isNull() && img.size() == QSize(kMarkerW, 2 * kMarkerH))
    return img.convertToFormat(QImage::Format_RGB32);
  QImage none(kMarkerW, 2 * kMarkerH, QImage::Format_RGB32);
  none.fill(Qt::black);
  for (int y = kMarkerH; y < 2 * kMarkerH; ++y)
    for (int x = 0; x < kMarkerW; ++x) none.setPixel(x, y, qRgb(255, 255, 255));
  return none;
}

Cell crateCell(int code) {
  const CrateKind* kind = crateKind(code);
  if (kind == nullptr) return {0, 0};
  // The other blink phase of a special crate.
  if (code < 0) return {kind->cell.column + 1, kind->cell.row};
  return kind->cell;
}

}  // namespace quibbix::view
