#include "dialogs/dialog_glyphs.h"

#include <QPainter>
#include <QStyle>
#include <QWidget>

#include "app/zoom.h"

namespace quibbix::dialogs {

void addCrisp(QIcon& icon, const QPixmap& picture, QIcon::Mode mode) {
  if (picture.isNull()) return;
  icon.addPixmap(picture, mode);
  for (int zoom = 2; zoom <= app::kMaxZoom; ++zoom) {
    QPixmap blocks =
        picture.scaled(picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    blocks.setDevicePixelRatio(zoom);
    icon.addPixmap(blocks, mode);
  }
}

QIcon crispIcon(const QPixmap& picture) {
  QIcon icon;
  addCrisp(icon, picture);
  return icon;
}

QIcon singleGlyph(const QString& path) {
  const QPixmap pixmap(path);
  if (pixmap.isNull()) return {};
  return crispIcon(pixmap);
}

QIcon pairGlyph(const QString& path) {
  const QPixmap pair(path);
  if (pair.isNull()) return {};
  const int half = pair.width() / 2;
  QIcon icon;
  addCrisp(icon, pair.copy(0, 0, half, pair.height()), QIcon::Normal);
  addCrisp(icon, pair.copy(half, 0, pair.width() - half, pair.height()), QIcon::Disabled);
  return icon;
}

void PictureLabel::paintEvent(QPaintEvent* event) {
  const QPixmap picture = pixmap();
  if (picture.isNull()) {
    QLabel::paintEvent(event);
    return;
  }
  // No smoothing asked for: Qt enlarges by whole blocks.
  QPainter painter(this);
  const QSize size = picture.deviceIndependentSize().toSize();
  painter.drawPixmap(QStyle::alignedRect(layoutDirection(), alignment(), size, contentsRect()),
                     picture);
}

QPixmap mainWindowIcon(const QWidget* mainWindow, int size) {
  if (mainWindow == nullptr) return {};
  const QIcon icon = mainWindow->windowIcon();
  if (icon.isNull()) return {};
  // The picture itself, not one enlarged for the zoom in force when asked:
  // the label enlarges it for whatever zoom it is shown at.
  return icon.pixmap(QSize(size, size), 1.0);
}

}  // namespace quibbix::dialogs
