#pragma once
#include <QImage>

#include "sheet_sizes.h"
#include "view/crate_kinds.h"

namespace quibbix::view {

// The four sprite sheets, embedded in the program in the field's own pixel
// format, so every raster operation is a plain copy and nothing needs decoding.
struct Sheets {
  QImage background;  // 500 x 333
  QImage crates;      // 275 x 320: 5 x 16 cells of 55 x 20
  QImage pictures;    // 120 x 7200: the sheet's 30 cells of 120 x 240, one under the other
  QImage digits;      // 160 x 50: 10 x 2 cells of 16 x 25

  // The embedded sheets, at their proper sizes (the build makes sure of that).
  static Sheets load();
};

// The keyboard's chute marker: the marker on black over its mask (black where the marker
// is, white elsewhere), kMarkerW x kMarkerH each. Without the resource the marker is
// invisible: an all-white mask and an all-black marker.
QImage loadMarker();

// The crate-sheet cell that shows a signed crate code; unmapped codes give the
// empty-slot cell (0, 0).
Cell crateCell(int code);

constexpr int kCrateW = sheets::kCrate.width;
constexpr int kCrateH = sheets::kCrate.height;
constexpr int kFieldW = sheets::kBackground.width;
constexpr int kFieldH = sheets::kBackground.height;
constexpr int kMarkerW = sheets::kMarker.width;
constexpr int kMarkerH = sheets::kMarker.height;
// The wall strip below the chutes where the marker goes, one 55-pixel part per chute.
constexpr int kMarkerStripY = 316;
constexpr int kMarkerStripH = kFieldH - kMarkerStripY;

}  // namespace quibbix::view
