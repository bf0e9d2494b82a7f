#include "desktop/screen_zoom.h"

#include <QApplication>
#include <QBackingStore>
#include <QPlatformSurfaceEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>

#include "desktop/placement_frame.h"
#include "desktop/qt_private.h"
#include "desktop/zoom.h"

namespace quibbix::desktop {

namespace {

double gDesktopRatio = 1.0;
int gZoom = 1;

QtMessageHandler gPreviousHandler = nullptr;

// Qt warns about a global factor changed while windows exist, because the
// windows are not resized by it; applyZoom() resizes and redraws them itself.
void quietAboutFactor(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QHighDpiScaling::setFactor"))) return;
  if (gPreviousHandler != nullptr) gPreviousHandler(type, context, message);
}

void setGlobalFactor(int zoom) {
  gPreviousHandler = qInstallMessageHandler(quietAboutFactor);
  qt::setGlobalScaleFactor(zoom);
  qInstallMessageHandler(gPreviousHandler);
  gPreviousHandler = nullptr;
}

// Gives every window on `screen` a device pixel ratio of exactly `zoom`, the
// global factor. Qt multiplies that by the screen's own factor and by the
// platform's own ratio of the screen (1 on X11). The screen's factor, which
// Qt would take from the desktop's ratio, becomes 1 / the platform's ratio:
// dividing the desktop's ratio out instead misses the zoom at many ratios
// (3 / r * r is 3.0000000000000004 at 263 dpi, which puts the screen pixel
// 342 into the logical pixel 113 at a zoom of 3). The product is read back,
// not assumed.
void holdScreen(QScreen* screen, int zoom) {
  const double native = qt::platformRatio(*screen);
  const auto ratioFor = [screen](double factor) {
    qt::setScreenScaleFactor(screen, factor);
    return screen->devicePixelRatio();
  };
  if (!exactFactor(native > 0 ? 1 / native : 1.0, zoom, ratioFor))
    qWarning("quibbix: the screen %s shows a ratio of %.17g, not exactly %d",
             qPrintable(screen->name()), screen->devicePixelRatio(), zoom);
}

void holdEveryScreen(int zoom) {
  for (QScreen* screen : QGuiApplication::screens()) holdScreen(screen, zoom);
}

// A window's own ratio, read back whenever it comes to another screen.
class WindowWatch : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::PlatformSurface && watched->isWindowType() &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
      auto* window = static_cast<QWindow*>(watched);
      connect(window, &QWindow::screenChanged, this, &WindowWatch::cameToScreen,
              Qt::UniqueConnection);
    }
    return false;
  }

 private:
  void cameToScreen(QScreen* screen) {
    const auto* window = qobject_cast<const QWindow*>(sender());
    if (screen != nullptr && window != nullptr && window->devicePixelRatio() != gZoom)
      holdScreen(screen, gZoom);
  }
};

const QScreen* screenOf(const QWidget* window) {
  if (window != nullptr && window->screen() != nullptr) return window->screen();
  return QGuiApplication::primaryScreen();
}

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

std::optional<double> exactFactor(double first, int zoom,
                                  const std::function<double(double)>& ratioFor) {
  double factor = first;
  // A handful of steps of one unit in the last place each reach every ratio
  // a desktop offers; a product that never lands on the zoom gives up.
  for (int step = 0; step < 16; ++step) {
    const double ratio = ratioFor(factor);
    if (ratio == zoom) return factor;
    if (!std::isfinite(ratio)) break;
    factor = std::nextafter(factor, ratio < zoom ? HUGE_VAL : -HUGE_VAL);
  }
  return std::nullopt;
}

void initScreenZoom() {
  static bool done = false;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || done) return;
  done = true;
  // Qt shows every window at an implausible ratio too (at infinity none at
  // all); the screens' factors set below replace it, and the choice of the
  // zoom counts it as 1.
  gDesktopRatio = plausibleRatio(screen->devicePixelRatio());
  // Qt takes a screen's own factor in place of the ratio it found for the
  // screen only once one of them has differed from 1; hence the 2 before
  // holdScreen() sets the real one.
  for (QScreen* s : QGuiApplication::screens()) qt::setScreenScaleFactor(s, 2.0);
  // A screen plugged in later is held too; Qt then also sets the factors of
  // QT_SCREEN_SCALE_FACTORS on every screen again.
  QObject::connect(qApp, &QGuiApplication::screenAdded, qApp, [] { holdEveryScreen(gZoom); });
  qApp->installEventFilter(new WindowWatch(qApp));
  gZoom = 0;
  applyZoom(1);
}

double desktopPixelRatio() { return gDesktopRatio; }

int currentZoom() { return gZoom; }

void applyZoom(int zoom) {
  if (zoom == gZoom) return;
  struct Shown {
    QWidget* widget;
    QRect outer;     // screen pixels, frame included, before the change
    QMargins frame;  // the window manager's, which keeps its size
  };
  std::vector<Shown> shown;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !qt::platformClient(*w)) continue;
    const QRect outer = outerScreenGeometry(*w);
    const QSize client = w->size() * gZoom;
    shown.push_back(
        {w, outer,
         QMargins(0, 0, outer.width() - client.width(), outer.height() - client.height())});
  }
  gZoom = zoom;
  setGlobalFactor(zoom);
  holdEveryScreen(zoom);
  // A backing store keeps its device size until told, shown or not; a window
  // shown again later would otherwise draw into a buffer of the old size.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (QBackingStore* store = w->backingStore()) store->resize(w->size());
  }
  for (const Shown& s : shown) {
    const QRect area = availableScreenPixels(s.widget);
    QRect outer(s.outer.topLeft(), (s.widget->size() * zoom).grownBy(s.frame));
    // The frame's corner stays; pulled back only as far as the left and top
    // edges allow.
    const int overRight = outer.right() - area.right();
    const int overBottom = outer.bottom() - area.bottom();
    if (overRight > 0) outer.moveLeft(std::max(outer.left() - overRight, area.left()));
    if (overBottom > 0) outer.moveTop(std::max(outer.top() - overBottom, area.top()));
    placeFrame(*s.widget, outer.topLeft(), s.widget->size() * zoom);
    s.widget->update();
    for (QWidget* child : s.widget->findChildren<QWidget*>()) child->update();
  }
}

QRect availableScreenPixels(const QWidget* window) {
  const QScreen* screen = screenOf(window);
  if (screen == nullptr) return {};
  return qt::platformAvailableGeometry(*screen);
}

QRect screenPixels(const QWidget* window) {
  const QScreen* screen = screenOf(window);
  if (screen == nullptr) return {};
  return qt::platformGeometry(*screen);
}

QPoint toLogical(QPoint screen, int zoom) {
  return {floorDiv(screen.x(), zoom), floorDiv(screen.y(), zoom)};
}

}  // namespace quibbix::desktop
