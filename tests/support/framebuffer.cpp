#include "framebuffer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace quibbix::test {

Framebuffer::Framebuffer(const std::string& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  const off_t end = lseek(fd, 0, SEEK_END);
  void* map = end > 0 ? mmap(nullptr, static_cast<std::size_t>(end), PROT_READ, MAP_SHARED, fd, 0)
                      : MAP_FAILED;
  close(fd);
  if (map == MAP_FAILED) return;
  map_ = static_cast<const unsigned char*>(map);
  length_ = static_cast<std::size_t>(end);
  // The header: big-endian 32-bit fields, the colour table after it, then the pixels.
  constexpr std::size_t kHeaderFields = 25;
  if (length_ < 4 * kHeaderFields) return;
  const auto field = [this](int i) {
    std::uint32_t v = 0;
    std::memcpy(&v, map_ + 4 * i, 4);
    return ntohl(v);
  };
  const std::uint32_t headerSize = field(0);
  const std::uint32_t byteOrder = field(7);  // 0: the lowest byte first
  const std::uint32_t bitsPerPixel = field(11);
  const std::uint32_t colours = field(19);
  constexpr std::size_t kColourEntry = 12;
  const std::size_t offset = headerSize + colours * kColourEntry;
  stride_ = field(12);
  const QSize size(static_cast<int>(field(4)), static_cast<int>(field(5)));
  if (bitsPerPixel != 32 || byteOrder != 0 || size.isEmpty() ||
      stride_ < 4 * static_cast<std::size_t>(size.width()) ||
      offset + stride_ * static_cast<std::size_t>(size.height()) > length_)
    return;
  size_ = size;
  pixels_ = map_ + offset;
}

Framebuffer::~Framebuffer() {
  if (map_) munmap(const_cast<unsigned char*>(map_), length_);
}

QRgb Framebuffer::rgb(int x, int y) const {
  if (isNull() || x < 0 || y < 0 || x >= size_.width() || y >= size_.height()) return 0;
  std::uint32_t v = 0;
  std::memcpy(&v, pixels_ + stride_ * static_cast<std::size_t>(y) + 4 * static_cast<std::size_t>(x),
              4);
  return v & 0xffffffu;
}

QImage Framebuffer::copy(const QRect& r) const {
  QImage out(r.size(), QImage::Format_RGB32);
  out.fill(Qt::black);
  const QRect in = r.intersected(QRect(QPoint(0, 0), size_));
  for (int y = in.top(); y <= in.bottom(); ++y) {
    // Words of 0x00RRGGBB, the lowest byte first: the pixel layout of RGB32.
    const auto* from =
        reinterpret_cast<const QRgb*>(pixels_ + stride_ * static_cast<std::size_t>(y));
    auto* to = reinterpret_cast<QRgb*>(out.scanLine(y - r.top()));
    for (int x = in.left(); x <= in.right(); ++x) to[x - r.left()] = 0xff000000u | from[x];
  }
  return out;
}

}  // namespace quibbix::test
