#include "desktop/qt_private.h"

#include <QtGui/private/qhighdpiscaling_p.h>
#include <QtGui/private/qicon_p.h>
#include <QtGui/private/qwindow_p.h>
#include <QtWidgets/private/qwidget_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <vector>

#include "desktop/zoom.h"

namespace quibbix::desktop::qt {

namespace {

QPlatformWindow* platformWindow(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->handle() : nullptr;
}

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
    makeFor(std::clamp(static_cast<int>(std::ceil(scale - 0.5)), 1, kMaxZoom));
    return QPixmapIconEngine::scaledPixmap(size, mode, state, scale);
  }

  // Every zoom's size, made or not, as the window manager is told the window's icon.
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    QList<QSize> sizes;
    for (const Picture& p : pictures_)
      if (p.mode == mode && p.state == state)
        for (int zoom = 1; zoom <= kMaxZoom; ++zoom) sizes.push_back(p.picture.size() * zoom);
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

}  // namespace

void setGlobalScaleFactor(double factor) { QHighDpiScaling::setGlobalFactor(factor); }

void setScreenScaleFactor(QScreen* screen, double factor) {
  QHighDpiScaling::setScreenFactor(screen, factor);
}

double platformRatio(const QScreen& screen) { return screen.handle()->devicePixelRatio(); }

QRect platformGeometry(const QScreen& screen) { return screen.handle()->geometry(); }

QRect platformAvailableGeometry(const QScreen& screen) {
  return screen.handle()->availableGeometry();
}

std::optional<QRect> platformClient(const QWidget& window) {
  const QPlatformWindow* platform = platformWindow(window);
  if (platform == nullptr) return std::nullopt;
  return platform->geometry();
}

void placePlatformFrame(QWidget& window, QPoint frameCorner, QSize clientPixels) {
  QWindow* handle = window.windowHandle();
  QPlatformWindow* platform = platformWindow(window);
  if (platform == nullptr) return;
  // Qt asks for a client area with static gravity, or for a frame's corner
  // with north-west gravity, by the policy the window has when it is shown;
  // a client area asked for with north-west gravity moves the frame there,
  // one title bar lower than it was. The frame's corner it is, always.
  QWindowPrivate* w = qt_window_private(handle);
  w->positionPolicy = QWindowPrivate::WindowFrameInclusive;
  w->positionAutomatic = false;
  platform->setGeometry(QRect(frameCorner, clientPixels));
  // The widget keeps its own record, which Qt would otherwise hand back to the
  // native window at the next showing, as a client area.
  QWidgetPrivate* widget = QWidgetPrivate::get(&window);
  if (widget->extra != nullptr && widget->extra->topextra != nullptr)
    widget->extra->topextra->posIncludesFrame = 0;
  widget->data.crect = handle->geometry();
}

QMargins platformFrame(const QWidget& window) {
  const QPlatformWindow* platform = platformWindow(window);
  return platform != nullptr ? platform->frameMargins() : QMargins();
}

QIcon blockIcon(const QPixmap& picture, const QPixmap& disabled) {
  auto* engine = new CrispEngine;
  engine->addPixmap(picture, QIcon::Normal, QIcon::Off);
  engine->addPixmap(disabled, QIcon::Disabled, QIcon::Off);
  return QIcon(engine);
}

}  // namespace quibbix::desktop::qt
