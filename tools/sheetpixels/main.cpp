// Writes a sheet's pixels as the program draws with them: rows of 32-bit
// words 0xffRRGGBB (QImage::Format_RGB32) in this machine's byte order, top row
// first, nothing else. Fails unless the sheet has the size the program expects.
// The pictures are written one under the other (sheet_sizes.h says why).
#include <QFile>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "sheet_sizes.h"

namespace {

// The sheet's cells, row by row, stacked into one column.
QImage stacked(const QImage& sheet) {
  using namespace quibbix::sheets;
  const Size cell{kPicture.width, 2 * kPicture.height};
  const int columns = kPictures.width / cell.width;
  QImage out(kPictureStack.width, kPictureStack.height, QImage::Format_RGB32);
  for (int p = 0; p < kPictureCount; ++p) {
    const int x = cell.width * (p % columns), y = cell.height * (p / columns);
    for (int row = 0; row < cell.height; ++row)
      std::memcpy(out.scanLine(cell.height * p + row), sheet.constScanLine(y + row) + 4 * x,
                  4 * static_cast<std::size_t>(cell.width));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: sheetpixels <sheet.png> <sheet name> <out.rgb32>\n");
    return 2;
  }
  const quibbix::sheets::Size* size = nullptr;
  for (const auto& s : quibbix::sheets::kEmbedded)
    if (s.name == std::string_view(argv[2])) size = &s.size;
  if (!size) {
    std::fprintf(stderr, "sheetpixels: no sheet is called %s\n", argv[2]);
    return 2;
  }
  const int width = size->width, height = size->height;
  QImage sheet = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  if (sheet.isNull() || sheet.width() != width || sheet.height() != height) {
    std::fprintf(stderr, "sheetpixels: %s is not a %d x %d picture\n", argv[1], width, height);
    return 1;
  }
  if (std::string_view(argv[2]) == "pictures") sheet = stacked(sheet);
  QFile out(QString::fromLocal8Bit(argv[3]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "sheetpixels: cannot write %s\n", argv[3]);
    return 1;
  }
  const auto rowBytes = static_cast<qint64>(sheet.width()) * 4;
  for (int y = 0; y < sheet.height(); ++y) {
    if (out.write(reinterpret_cast<const char*>(sheet.constScanLine(y)), rowBytes) != rowBytes) {
      std::fprintf(stderr, "sheetpixels: cannot write %s\n", argv[3]);
      return 1;
    }
  }
  return 0;
}
