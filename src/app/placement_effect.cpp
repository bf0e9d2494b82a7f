#include "app/placement_effect.h"

#include <QGuiApplication>
#include <chrono>
#include <thread>

#include "app/placement.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so it comes last.
#include <X11/Xlib.h>

namespace quibbix::app {

namespace {

// Short enough that the effect (80 steps) is over before the player notices a delay
// and does not hold up the first painted board,
// long enough to be seen; sleeping, like the game's busy waits, handles no
// events, so nothing can paint in between.
constexpr std::chrono::microseconds kStepPause{1000};

}  // namespace

void playShowEffect(const QRect& windowFrame) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return;
  Display* display = x11->display();
  const Window root = DefaultRootWindow(display);

  // The screen works in device pixels, Qt's geometry in logical ones.
  const qreal ratio = qGuiApp->devicePixelRatio();
  const QRect frame(windowFrame.topLeft() * ratio, windowFrame.size() * ratio);
  QPoint pointer = frame.center();
  Window rootReturn = 0;
  Window childReturn = 0;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int buttons = 0;
  if (XQueryPointer(display, root, &rootReturn, &childReturn, &rootX, &rootY, &windowX, &windowY,
                    &buttons)) {
    pointer = QPoint(rootX, rootY);
  }

  // A one-on, one-off dotted line that inverts what it covers, drawn over
  // every window on the screen: drawing the same series again restores the
  // screen exactly.
  XGCValues values{};
  values.function = GXinvert;
  values.plane_mask = AllPlanes;
  values.line_width = 0;
  values.line_style = LineOnOffDash;
  values.subwindow_mode = IncludeInferiors;
  values.dashes = 1;
  const unsigned long mask =
      GCFunction | GCPlaneMask | GCLineWidth | GCLineStyle | GCSubwindowMode | GCDashList;
  GC gc = XCreateGC(display, root, mask, &values);

  const auto rects = showEffectRects(pointer, frame);
  for (int pass = 0; pass < 2; ++pass) {
    for (const QRect& r : rects) {
      if (r.width() > 0 && r.height() > 0) {
        // Xlib's rectangle covers width + 1 pixels.
        XDrawRectangle(display, root, gc, r.x(), r.y(), static_cast<unsigned>(r.width() - 1),
                       static_cast<unsigned>(r.height() - 1));
      }
      XSync(display, False);
      std::this_thread::sleep_for(kStepPause);
    }
  }
  XFreeGC(display, gc);
  XFlush(display);
}

}  // namespace quibbix::app
