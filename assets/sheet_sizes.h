#pragma once
// The sizes of the sprite sheets and of the keyboard's chute marker, written
// down once: sheetgen paints to them, the build refuses a committed PNG of
// another size, the program draws from them and the tests hold the files to
// them. Plain C++, so the generators, the program and the tests all read it.
#include <string_view>

namespace quibbix::sheets {

struct Size {
  int width;
  int height;
};

// One crate; the crate sheet holds 5 columns of 16.
inline constexpr Size kCrate{55, 20};
// One picture as it sits in the wall; the picture sheet holds 10 x 3 of them,
// each with its covered form above the uncovered one.
inline constexpr Size kPicture{120, 120};
// One digit of the counters; the digit sheet holds 10 in two rows.
inline constexpr Size kDigit{16, 25};

// The background is the whole playing field.
inline constexpr Size kBackground{500, 333};
inline constexpr Size kCrates{5 * kCrate.width, 16 * kCrate.height};
inline constexpr Size kPictures{10 * kPicture.width, 3 * 2 * kPicture.height};
inline constexpr Size kDigits{10 * kDigit.width, 2 * kDigit.height};
// The program holds the pictures one under the other, picture p (row by row of
// the sheet) at y = p * 240, covered form first: showing one reads 115 kB that
// lie together, not 240 rows cut from the whole 1200-pixel-wide sheet, which
// would bring 1.1 MB of the program file into memory.
inline constexpr int kPictureCount = 30;
inline constexpr Size kPictureStack{kPicture.width, kPictureCount * 2 * kPicture.height};
// The marker; its file holds the marker above its mask, so it is twice as high.
inline constexpr Size kMarker{21, 11};

// The four sheets the program embeds as plain pixels, by file name (without .png).
struct Sheet {
  std::string_view name;
  Size size;
};
inline constexpr Sheet kEmbedded[] = {
    {"background", kBackground}, {"crates", kCrates}, {"pictures", kPictures}, {"digits", kDigits}};

}  // namespace quibbix::sheets
