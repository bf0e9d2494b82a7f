#include "app/screen_zoom.h"

#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <QApplication>
#include <QBackingStore>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>

#include "app/zoom.h"

namespace quibbix::app {

namespace {

double gDesktopRatio = 1.0;
// The screen's own part of its ratio (what Qt's global factor multiplies).
double gScreenRatio = 1.0;
int gZoom = 1;

QtMessageHandler gPreviousHandler = nullptr;

// Qt warns about a global factor changed while windows exist, because the
// windows are not resized by it; applyZoom() resizes and redraws them itself.
void quietAboutFactor(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QHighDpiScaling::setFactor"))) return;
  if (gPreviousHandler != nullptr) gPreviousHandler(type, context, message);
}

void setQtFactor(int zoom) {
  gPreviousHandler = qInstallMessageHandler(quietAboutFactor);
  // Qt multiplies this by the screen's own ratio. Desktops use whole ratios or
  // simple fractions (1.25, 1.5, 1.75), for which zoom / ratio * ratio comes
  // back as exactly zoom, so the pictures are enlarged by exactly zoom.
  QHighDpiScaling::setGlobalFactor(zoom / gScreenRatio);
  qInstallMessageHandler(gPreviousHandler);
  gPreviousHandler = nullptr;
}

const QScreen* screenOf(const QWidget* window) {
  if (window != nullptr && window->screen() != nullptr) return window->screen();
  return QGuiApplication::primaryScreen();
}

QPlatformWindow* platformWindow(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->handle() : nullptr;
}

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

void initScreenZoom() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  gDesktopRatio = plausibleRatio(screen->devicePixelRatio());
  QHighDpiScaling::setGlobalFactor(1.0);
  // Qt would draw every window at an implausible ratio too (at infinity none
  // at all): the screen's own factor goes back to 1.
  if (const qreal ratio = screen->devicePixelRatio(); plausibleRatio(ratio) != ratio)
    QHighDpiScaling::setScreenFactor(screen, 1.0);
  gScreenRatio = screen->devicePixelRatio();
  if (!(gScreenRatio > 0)) gScreenRatio = 1.0;
  gZoom = 0;
  applyZoom(1);
}

double desktopPixelRatio() { return gDesktopRatio; }

int currentZoom() { return gZoom; }

void applyZoom(int zoom) {
  if (zoom == gZoom) return;
  struct Shown {
    QWidget* widget;
    QRect client;  // screen pixels, before the change
  };
  std::vector<Shown> shown;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (QPlatformWindow* pw = platformWindow(*w); pw != nullptr && w->isVisible())
      shown.push_back({w, pw->geometry()});
  }
  setQtFactor(zoom);
  gZoom = zoom;
  // A backing store keeps its device size until told, shown or not; a window
  // shown again later would otherwise draw into a buffer of the old size.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (QBackingStore* store = w->backingStore()) store->resize(w->size());
  }
  for (const Shown& s : shown) {
    QPlatformWindow* pw = platformWindow(*s.widget);
    const QRect area = availableScreenPixels(s.widget);
    const QMargins frame = pw->frameMargins();
    QRect client(s.client.topLeft(), s.widget->size() * zoom);
    // Pulled back only as far as the left and top edges allow.
    const int overRight = client.right() + frame.right() - area.right();
    const int overBottom = client.bottom() + frame.bottom() - area.bottom();
    if (overRight > 0)
      client.moveLeft(std::max(client.left() - overRight, area.left() + frame.left()));
    if (overBottom > 0)
      client.moveTop(std::max(client.top() - overBottom, area.top() + frame.top()));
    pw->setGeometry(client);
    s.widget->update();
    for (QWidget* child : s.widget->findChildren<QWidget*>()) child->update();
  }
}

QRect availableScreenPixels(const QWidget* window) {
  const QScreen* screen = screenOf(window);
  if (screen == nullptr) return {};
  return screen->handle()->availableGeometry();
}

QRect screenPixels(const QWidget* window) {
  const QScreen* screen = screenOf(window);
  if (screen == nullptr) return {};
  return screen->handle()->geometry();
}

QPoint toLogical(QPoint screen, int zoom) {
  return {floorDiv(screen.x(), zoom), floorDiv(screen.y(), zoom)};
}

}  // namespace quibbix::app
