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
  using namespace engine;
  // Columns 0 and 1: the empty slot and the ordinary designs. Column 4: the name and
  // pair crates, then spare cells down to row 8. Columns 2 and 3: the specials in their
  // two blink phases.
  constexpr int kLastInColumn4 = kFirstNameCrate + 8;
  if (code >= -kLastSpecial && code <= -kFirstSpecial) return {3, -code - kFirstSpecial};
  if (code >= 0 && code <= kLastOrdinary) return {code / 16, code % 16};
  if (code >= kFirstNameCrate && code <= kLastInColumn4) return {4, code - kFirstNameCrate};
  if (isSpecial(code)) return {2, code - kFirstSpecial};
  return {0, 0};
}

}  // namespace quibbix::view
