// The keyboard's chute marker: a golden arrowhead pointing up at the chute, drawn in the
// wall strip below the shafts. Row 0 is the marker on black, row 1 its mask, black where
// the marker is and white elsewhere, so an AND of the mask and an OR of the marker put it
// on any wall pixel-exactly. Hard pixels: a blend would not survive the bitwise drawing.
#include "art.h"

namespace sheetgen {

QImage makeMarker() {
  QImage img(kMarkerW, 2 * kMarkerH, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 0));
  constexpr int mid = kMarkerW / 2;
  // Row r of the arrowhead reaches r pixels either side of the middle column.
  auto inside = [](int x, int y) { return y >= 0 && y < kMarkerH && x >= mid - y && x <= mid + y; };
  const QColor top(255, 236, 120), bottom(214, 138, 16);
  for (int y = 0; y < kMarkerH; ++y)
    for (int x = 0; x < kMarkerW; ++x) {
      if (!inside(x, y)) {
        img.setPixel(x, y + kMarkerH, qRgb(255, 255, 255));
        continue;
      }
      // A black rim keeps the marker apart from the red bricks and the dark edge alike.
      const bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y + 1) ||
                       !inside(x, y - 1) || y == kMarkerH - 1;
      QColor c = mix(top, bottom, static_cast<double>(y) / (kMarkerH - 1));
      if (x < mid) c = shade(c, 1.25);  // lit from the upper left
      img.setPixel(x, y, rim ? qRgb(0, 0, 0) : c.rgb());
      img.setPixel(x, y + kMarkerH, qRgb(0, 0, 0));
    }
  return img;
}

}  // namespace sheetgen
