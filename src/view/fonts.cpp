#include "view/fonts.h"

#include <QString>

namespace quibbix::view {

QFont pixelFont(int pixels, bool bold, const char* family) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace quibbix::view
