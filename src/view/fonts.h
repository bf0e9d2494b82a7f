#pragma once
#include <QFont>

namespace quibbix::view {

// The face of the game's texts: Liberation Sans, which the game depends on,
// has Arial's metrics.
inline constexpr char kTextFace[] = "Liberation Sans";
// The high-score table's names and scores ask for Arial by name: the real face
// where one is installed, Liberation Sans (the desktop's stand-in) elsewhere.
inline constexpr char kTableFace[] = "Arial";

// A face at a whole number of pixels, as every text of the game is set: the
// sizes belong to the pixel art, so they do not follow the desktop's dots per
// inch. Should the family be missing, a sans-serif face stands in.
QFont pixelFont(int pixels, bool bold = false, const char* family = kTextFace);

}  // namespace quibbix::view
