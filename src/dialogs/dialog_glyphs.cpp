#include "dialogs/dialog_glyphs.h"

#include <QtGui/private/qicon_p.h>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/zoom.h"
#include "view/png.h"

namespace quibbix::dialogs {

namespace {

// Qt's own pixmap icon, given each picture's block copy for a zoom only once the
// icon is first asked for a pixmap at that ratio. Qt picks the copy whose ratio is
// closest to the one asked for, and at ratio 1 the picture itself; with that copy
// in, the answer at every whole ratio is the one an icon with every zoom made in
// advance gives.
class CrispEngine final : public QPixmapIconEngine {
 public:
  CrispEngine() = default;

  void addPixmap(const QPixmap& picture, QIcon::Mode mode, QIcon::State state) override {
    if (picture.isNull()) return;
    pictures_.push_back({picture, mode, state, 1u << 1});
    QPixmapIconEngine::addPixmap(picture, mode, state);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    makeFor(std::clamp(static_cast<int>(std::ceil(scale - 0.5)), 1, app::kMaxZoom));
    return QPixmapIconEngine::scaledPixmap(size, mode, state, scale);
  }

  // Every zoom's size, made or not, as the window manager is told the window's icon.
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    QList<QSize> sizes;
    for (const Picture& p : pictures_)
      if (p.mode == mode && p.state == state)
        for (int zoom = 1; zoom <= app::kMaxZoom; ++zoom) sizes.push_back(p.picture.size() * zoom);
    return sizes;
  }

  QIconEngine* clone() const override { return new CrispEngine(*this); }

 private:
  struct Picture {
    QPixmap picture;
    QIcon::Mode mode;
    QIcon::State state;
    unsigned made;  // bit z: the copy for zoom z is in
  };

  CrispEngine(const CrispEngine&) = default;

  void makeFor(int zoom) {
    for (Picture& p : pictures_) {
      if (p.made & (1u << zoom)) continue;
      p.made |= 1u << zoom;
      QPixmap blocks =
          p.picture.scaled(p.picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
      blocks.setDevicePixelRatio(zoom);
      QPixmapIconEngine::addPixmap(blocks, p.mode, p.state);
    }
  }

  std::vector<Picture> pictures_;
};

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
  auto* engine = new CrispEngine;
  engine->addPixmap(picture, QIcon::Normal, QIcon::Off);
  engine->addPixmap(disabled, QIcon::Disabled, QIcon::Off);
  return QIcon(engine);
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

}  // namespace quibbix::dialogs
