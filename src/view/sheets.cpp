#include "view/sheets.h"

#include "sheet_pixels.h"

namespace quibbix::view {

namespace {
// Read-only images over the embedded pixels: nothing is decoded or copied, and
// drawing only ever reads them.
QImage embedded(const unsigned char* pixels, int w, int h) {
  return QImage(pixels, w, h, 4 * w, QImage::Format_RGB32);
}
}  // namespace

Sheets Sheets::load() {
  return {embedded(quibbix_sheet_background, 500, 333), embedded(quibbix_sheet_crates, 275, 320),
          embedded(quibbix_sheet_pictures, 1200, 720), embedded(quibbix_sheet_digits, 160, 50)};
}

Cell crateCell(int code) {
  if (code >= -65 && code <= -50) return {3, -code - 50};
  if (code >= 0 && code <= 31) return {code / 16, code % 16};
  if (code >= 32 && code <= 40) return {4, code - 32};
  if (code >= 50 && code <= 65) return {2, code - 50};
  return {0, 0};
}

}  // namespace quibbix::view
