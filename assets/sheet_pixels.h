#pragma once
// The four sprite sheets as plain pixels, embedded in the program at build
// time from the committed PNGs (tools/sheetpixels): 32-bit words 0xffRRGGBB in
// this machine's byte order, rows top to bottom without padding. Drawing
// starts from them at once; decoding the PNGs was the slowest step of the
// start.

extern "C" {
extern const unsigned char quibbix_sheet_background[];  // 500 x 333
extern const unsigned char quibbix_sheet_crates[];      // 275 x 320
extern const unsigned char quibbix_sheet_pictures[];    // 1200 x 720
extern const unsigned char quibbix_sheet_digits[];      // 160 x 50
}
