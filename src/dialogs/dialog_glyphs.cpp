#include "dialogs/dialog_glyphs.h"

#include <QWidget>

namespace quibbix::dialogs {

QIcon singleGlyph(const QString& path) {
  const QPixmap pixmap(path);
  if (pixmap.isNull()) return {};
  return QIcon(pixmap);
}

QIcon pairGlyph(const QString& path) {
  const QPixmap pair(path);
  if (pair.isNull()) return {};
  const int half = pair.width() / 2;
  QIcon icon;
  icon.addPixmap(pair.copy(0, 0, half, pair.height()), QIcon::Normal);
  icon.addPixmap(pair.copy(half, 0, pair.width() - half, pair.height()), QIcon::Disabled);
  return icon;
}

QPixmap mainWindowIcon(const QWidget* mainWindow, int size) {
  if (mainWindow == nullptr) return {};
  const QIcon icon = mainWindow->windowIcon();
  if (icon.isNull()) return {};
  return icon.pixmap(size, size);
}

}  // namespace quibbix::dialogs
