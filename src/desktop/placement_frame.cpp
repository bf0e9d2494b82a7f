#include "desktop/placement_frame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "desktop/placement_x11.h"
#include "desktop/qt_private.h"
#include "desktop/screen_zoom.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Off by default; QT_LOGGING_RULES="quibbix.placement.debug=true" shows when the
// frame answer came, where the window was put and when it was mapped, in
// milliseconds since the first placement message of the run.
Q_LOGGING_CATEGORY(lcPlacement, "quibbix.placement", QtWarningMsg)

namespace quibbix::desktop {

qint64 placementClock() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock.elapsed();
}

namespace {

// Set when a manager that promised frame answers let one request go
// unanswered: it is not waited for again in this run, whichever window asks.
bool managerSilent = false;

// How long a window manager that promised to answer may take before the
// window is placed as if it had no frame.
constexpr std::chrono::milliseconds kAnswerTime{1000};

struct Atoms {
  Atom frameExtents;
  Atom requestFrameExtents;
  Atom supportingWmCheck;
  Atom supported;
};

// Asked of the server once, all in one round trip.
const Atoms& atoms(Display* d) {
  static Display* known = nullptr;
  static Atoms atoms{};
  if (known != d) {
    char* names[] = {
        const_cast<char*>("_NET_FRAME_EXTENTS"), const_cast<char*>("_NET_REQUEST_FRAME_EXTENTS"),
        const_cast<char*>("_NET_SUPPORTING_WM_CHECK"), const_cast<char*>("_NET_SUPPORTED")};
    Atom found[4] = {};
    XInternAtoms(d, names, 4, False, found);
    atoms = {found[0], found[1], found[2], found[3]};
    known = d;
  }
  return atoms;
}

// Up to `count` 32-bit items of a property; empty when it is missing.
std::vector<unsigned long> property(Display* d, Window w, Atom name, Atom type, long count) {
  Atom actualType = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(d, w, name, 0, count, False, type, &actualType, &format, &items, &after,
                         &data) == Success &&
      data != nullptr) {
    // Xlib hands 32-bit items back as longs.
    if (actualType == type && format == 32) {
      const auto* longs = reinterpret_cast<const unsigned long*>(data);
      values.assign(longs, longs + items);
    }
    XFree(data);
  }
  return values;
}

std::optional<QMargins> extents(Display* d, Window w) {
  const auto v = property(d, w, atoms(d).frameExtents, XA_CARDINAL, 4);
  if (v.size() != 4) return std::nullopt;
  // Left, right, top, bottom.
  return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                  static_cast<int>(v[3]));
}

// A window manager is running and says it answers frame requests. Its check
// window must still exist, or the root's properties are left over from one
// that has gone.
bool managerAnswersFrameRequests(Display* d) {
  const Window root = DefaultRootWindow(d);
  const Atoms& a = atoms(d);
  const auto child = property(d, root, a.supportingWmCheck, XA_WINDOW, 1);
  if (child.size() != 1) return false;
  const auto self = property(d, child[0], a.supportingWmCheck, XA_WINDOW, 1);
  if (self.size() != 1 || self[0] != child[0]) return false;
  for (unsigned long atom : property(d, root, a.supported, XA_ATOM, 4096))
    if (atom == a.requestFrameExtents) return true;
  return false;
}

std::optional<QMargins> askManager(Display* d, Window w) {
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = w;
  request.xclient.message_type = atoms(d).requestFrameExtents;
  request.xclient.format = 32;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &request);
  XFlush(d);
  // Qt's own thread reads the connection's events, so the answer is watched
  // for on the window's property rather than waited for as an event.
  const auto end = std::chrono::steady_clock::now() + kAnswerTime;
  while (std::chrono::steady_clock::now() < end) {
    if (auto m = extents(d, w)) return m;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return std::nullopt;
}

// The frame as the X server and the window manager tell it, in screen
// pixels; nullopt off X11 or when neither can tell.
std::optional<QMargins> askedScreenFrame(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isWindow()) return std::nullopt;
  std::optional<QMargins> m;
  // Asking needs the native window; one that is not there yet is created only
  // when there is somebody to ask, so that Qt otherwise places it as always.
  if (window.testAttribute(Qt::WA_WState_Created))
    m = extents(d, static_cast<Window>(window.winId()));
  // A manager that let the request go unanswered once is not waited for again:
  // one wait per run, and later windows show at once with their frame unknown
  // and are put right when it becomes known (see placement_window.cpp).
  if (!m && !managerSilent && managerAnswersFrameRequests(d)) {
    m = askManager(d, static_cast<Window>(window.winId()));
    managerSilent = !m;
    qCDebug(lcPlacement, "%lld ms: frame answer for %s: %s", placementClock(),
            qPrintable(window.objectName()), m ? "arrived" : "none within the wait");
  }
  return m;
}

// What Qt has seen of the frame: nothing before the window was first shown.
QMargins seenFrame(const QWidget& window) {
  const QRect inner = window.geometry();
  const QRect outer = window.frameGeometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

}  // namespace

std::optional<QMargins> knownScreenFrame(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isWindow() || !window.testAttribute(Qt::WA_WState_Created))
    return std::nullopt;
  return extents(d, static_cast<Window>(window.winId()));
}

QSize newWindowFrame(Qt::WindowFlags flags) {
  if (x11Display() == nullptr) return {};
  // The manager answers by the decorations the flags ask for, before mapping.
  QWidget standIn(nullptr, flags);
  standIn.setObjectName(QStringLiteral("frame probe"));
  const std::optional<QMargins> m = askedScreenFrame(standIn);
  return m ? QSize(m->left() + m->right(), m->top() + m->bottom()) : QSize();
}

QSize outerScreenSize(QWidget& window) {
  const int zoom = currentZoom();
  return (window.size() * zoom)
      .grownBy(askedScreenFrame(window).value_or(seenFrame(window) * zoom));
}

QRect outerScreenGeometry(QWidget& window) {
  const int zoom = currentZoom();
  const QMargins frame = askedScreenFrame(window).value_or(seenFrame(window) * zoom);
  // A shown window's client area as the platform placed it, to the pixel.
  if (const std::optional<QRect> client = qt::platformClient(window); client && window.isVisible())
    return client->marginsAdded(frame);
  return QRect(window.geometry().topLeft() * zoom, window.size() * zoom).marginsAdded(frame);
}

void moveFrameToScreen(QWidget& window, QPoint corner) {
  const int zoom = currentZoom();
  const std::optional<QMargins> frame = askedScreenFrame(window);
  if (frame && window.testAttribute(Qt::WA_WState_Created)) {
    // The client area is placed itself, which the window manager leaves where
    // it is asked to be.
    // Logical pixels reach only every zoom-th screen pixel: the nearest one
    // above and left, which a corner the window once had always is.
    window.setGeometry(
        QRect(toLogical(corner + QPoint(frame->left(), frame->top()), zoom), window.size()));
    return;
  }
  // Qt places a window by its frame while it has no native window yet, and
  // by what it has seen of the frame afterwards.
  window.move(toLogical(corner, zoom));
}

Display* x11Display() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace quibbix::desktop
