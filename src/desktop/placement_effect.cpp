#include "desktop/placement_effect.h"

#include <sys/prctl.h>
#include <QByteArray>
#include <QGuiApplication>

#include <chrono>

#include "desktop/placement.h"
#include "desktop/placement_x11.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so it comes last.
#include <X11/Xlib.h>

namespace quibbix::desktop {

namespace {

// Short enough that the effect (80 steps) takes no longer than building the
// window, which goes on meanwhile: about 10 ms in all. The pause is a fixed
// time, not a busy loop.
constexpr std::chrono::microseconds kStepPause{50};

void draw(const QByteArray& displayName, std::future<std::optional<QRect>> target) {
  // Pauses this short are only kept with the kernel's timer slack out of the way.
  prctl(PR_SET_TIMERSLACK, 1UL);
  Display* display = XOpenDisplay(displayName.constData());
  const std::optional<QRect> wanted = target.get();
  if (display == nullptr) return;
  if (!wanted) {
    XCloseDisplay(display);
    return;
  }
  const QRect frame = *wanted;
  const Window root = DefaultRootWindow(display);

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
      // Sent before the pause, so each step is drawn for its length; waiting
      // for the server to answer every step would make the steps as slow as
      // its round trips.
      XFlush(display);
      std::this_thread::sleep_for(kStepPause);
    }
  }
  // The window may be mapped once everything is drawn and wiped out again.
  XSync(display, False);
  XFreeGC(display, gc);
  XCloseDisplay(display);
}

}  // namespace

ShowEffect::ShowEffect() {
  Display* display = x11Display();
  if (display == nullptr) return;
  // A connection of its own: Qt's is not to be used from another thread.
  thread_ = std::thread(draw, QByteArray(DisplayString(display)), target_.get_future());
}

ShowEffect::~ShowEffect() {
  if (!started_ && thread_.joinable()) target_.set_value(std::nullopt);
  finish();
}

void ShowEffect::start(const QRect& windowFrame) {
  if (started_ || !thread_.joinable()) return;
  started_ = true;
  target_.set_value(windowFrame);
}

void ShowEffect::finish() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quibbix::desktop
