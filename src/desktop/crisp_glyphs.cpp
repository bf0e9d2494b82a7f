#include "desktop/crisp_glyphs.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include "desktop/qt_private.h"
#include "view/png.h"

namespace quibbix::desktop {

namespace {

// Hands every request to the style's icon, fetched at the first. Requests come in
// device pixels; the icon is asked with the ratio it came with, so it passes the same
// size on to its own engine.
class StyleIconEngine final : public QIconEngine {
 public:
  StyleIconEngine(const QStyle* style, QStyle::StandardPixmap which)
      : style_(const_cast<QStyle*>(style)), which_(which) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().pixmap(size, 1.0, mode, state);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    if (!(scale > 1.0)) return pixmap(size, mode, state);
    return icon().pixmap(size / scale, scale, mode, state);
  }

  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pixmap(size, mode, state).size();
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }

  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return icon().availableSizes(mode, state);
  }

  // A style has its standard icons; whether this one is empty is known only once fetched.
  bool isNull() override { return fetched_ && icon_.isNull(); }
  QString key() const override { return QStringLiteral("quibbix_style"); }
  QIconEngine* clone() const override { return new StyleIconEngine(*this); }

 private:
  StyleIconEngine(const StyleIconEngine&) = default;

  const QIcon& icon() {
    if (!fetched_) {
      fetched_ = true;
      const QStyle* style = style_ ? style_.data() : QApplication::style();
      icon_ = style->standardIcon(which_);
    }
    return icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  bool fetched_ = false;
  QIcon icon_;
};

}  // namespace

QIcon styleIcon(const QStyle* style, QStyle::StandardPixmap which) {
  return QIcon(new StyleIconEngine(style, which));
}

QIcon crispIcon(const QPixmap& picture, const QPixmap& disabled) {
  if (picture.isNull()) return {};
  return qt::blockIcon(picture, disabled);
}

QIcon singleGlyph(const QString& path) { return crispIcon(view::readPngPixmap(path)); }

QIcon pairGlyph(const QString& path) {
  const QPixmap pair = view::readPngPixmap(path);
  if (pair.isNull()) return {};
  const int half = pair.width() / 2;
  return crispIcon(pair.copy(0, 0, half, pair.height()),
                   pair.copy(half, 0, pair.width() - half, pair.height()));
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

}  // namespace quibbix::desktop
