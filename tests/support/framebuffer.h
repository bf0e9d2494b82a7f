#pragma once
// The screen as Xvfb keeps it in the file its -fbdir option names: an XWD
// image whose pixels the server keeps drawing into, which is what a monitor
// would show (reading the root window back with GetImage leaves some top-level
// windows black on Xvfb). The file is mapped once, so a look costs no more
// than copying the pixels looked at: cheap enough every millisecond. The
// pointer is in it unless the server runs with -nocursor.

#include <QImage>
#include <QRect>
#include <cstddef>
#include <string>

namespace quibbix::test {

class Framebuffer {
 public:
  // Null when the file is missing or is no 32-bit XWD image with the lowest byte first.
  explicit Framebuffer(const std::string& file);
  ~Framebuffer();
  Framebuffer(const Framebuffer&) = delete;
  Framebuffer& operator=(const Framebuffer&) = delete;

  bool isNull() const { return pixels_ == nullptr; }
  QSize size() const { return size_; }
  // The pixel's 0xRRGGBB as it is now; 0 off the screen.
  QRgb rgb(int x, int y) const;
  // Pixels of `r` (screen coordinates; black beyond the screen) as RGB32, as they are now.
  QImage copy(const QRect& r) const;

 private:
  const unsigned char* map_ = nullptr;
  std::size_t length_ = 0;
  const unsigned char* pixels_ = nullptr;
  std::size_t stride_ = 0;
  QSize size_;
};

}  // namespace quibbix::test
