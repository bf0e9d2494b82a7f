#include "view/png.h"

#include <QImageReader>

namespace quibbix::view {

QImage readPng(const QString& path) {
  QImageReader reader(path, QByteArrayLiteral("png"));
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

QPixmap readPngPixmap(const QString& path) { return QPixmap::fromImage(readPng(path)); }

}  // namespace quibbix::view
