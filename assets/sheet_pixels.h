#pragma once
// The four sprite sheets as plain pixels, embedded in the program at build
// time from the committed PNGs (tools/sheetpixels): 32-bit words 0xffRRGGBB in
// this machine's byte order, rows top to bottom without padding. Drawing
// starts from them at once; decoding the PNGs was the slowest step of the
// start. Their sizes are those of sheet_sizes.h; the build checks each. The
// pictures are stacked into one column of cells (kPictureStack).

extern "C" {
extern const unsigned char quibbix_sheet_background[];
extern const unsigned char quibbix_sheet_crates[];
extern const unsigned char quibbix_sheet_pictures[];
extern const unsigned char quibbix_sheet_digits[];
}
