#include "desktop/placement_frame.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
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

// How long a window manager that promised to answer may take, counted from
// the question: Openbox answers within a few milliseconds, and fluxbox, which
// promises, never does. A late answer costs only a window centred a few
// pixels off, never a window that shows at one place and then another: the
// place asked for is the frame's corner, whatever the frame.
constexpr std::chrono::milliseconds kAnswerTime{80};

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

// A manager that tells no extents (twm) still shows the frame: the client's
// place inside the outermost window around it, the root's child.
std::optional<QMargins> parentFrame(Display* d, Window w) {
  const Window root = DefaultRootWindow(d);
  Window outer = w;
  for (int depth = 0; depth < 8; ++depth) {
    Window r = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, outer, &r, &parent, &children, &count)) return std::nullopt;
    if (children != nullptr) XFree(children);
    if (parent == root || parent == 0) break;
    outer = parent;
  }
  if (outer == w) return std::nullopt;
  XWindowAttributes o, c;
  if (!XGetWindowAttributes(d, outer, &o) || !XGetWindowAttributes(d, w, &c)) return std::nullopt;
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, outer, 0, 0, &x, &y, &child);
  // The outer window's border is part of the frame a player sees.
  const int b = o.border_width;
  return QMargins(x + b, y + b, o.width - x - c.width + b, o.height - y - c.height + b);
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

// One question per kind of window, asked with a stand-in that is never shown:
// the manager answers by the decorations the flags ask for, before mapping.
struct Question {
  std::unique_ptr<QWidget> standIn;
  std::chrono::steady_clock::time_point asked;
  std::optional<QMargins> answer;
  bool settled = false;
};

std::map<Qt::WindowFlags::Int, Question>& questions() {
  static std::map<Qt::WindowFlags::Int, Question> all;
  return all;
}

Question& ask(Qt::WindowFlags flags, QSize fixedSize = {}) {
  Question& q = questions()[flags.toInt()];
  if (q.standIn || q.settled) return q;
  Display* d = x11Display();
  if (d == nullptr || managerSilent || !managerAnswersFrameRequests(d)) {
    q.settled = true;
    return q;
  }
  q.standIn = std::make_unique<QWidget>(nullptr, flags);
  q.standIn->setObjectName(QStringLiteral("frame probe"));
  if (!fixedSize.isEmpty()) q.standIn->setFixedSize(fixedSize);
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = static_cast<Window>(q.standIn->winId());
  request.xclient.message_type = atoms(d).requestFrameExtents;
  request.xclient.format = 32;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &request);
  XFlush(d);
  q.asked = std::chrono::steady_clock::now();
  qCDebug(lcPlacement, "%lld ms: frame asked for 0x%x", placementClock(),
          static_cast<unsigned>(flags.toInt()));
  return q;
}

// The answer, waited for until kAnswerTime after the question at most. Qt's
// own thread reads the connection's events, so the answer is watched for on
// the stand-in's property rather than waited for as an event.
std::optional<QMargins> answer(Qt::WindowFlags flags) {
  Question& q = ask(flags);
  if (q.settled) return q.answer;
  Display* d = x11Display();
  const auto w = static_cast<Window>(q.standIn->winId());
  while (!(q.answer = extents(d, w)) && !managerSilent &&
         std::chrono::steady_clock::now() < q.asked + kAnswerTime)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  if (!q.answer) managerSilent = true;
  q.settled = true;
  q.standIn.reset();
  qCDebug(lcPlacement, "%lld ms: frame answer for 0x%x: %s", placementClock(),
          static_cast<unsigned>(flags.toInt()), q.answer ? "arrived" : "none in time");
  return q.answer;
}

// The frame last read from a framed window of the game, or the one expected.
std::optional<QMargins> lastFrame;

std::optional<QMargins> framed(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isWindow() || !window.testAttribute(Qt::WA_WState_Created))
    return std::nullopt;
  const auto w = static_cast<Window>(window.winId());
  std::optional<QMargins> m = extents(d, w);
  if (!m) m = parentFrame(d, w);
  // Only a decorated window tells what another decorated one will get.
  const bool decorated = !window.windowFlags().testFlag(Qt::FramelessWindowHint) &&
                         window.windowType() != Qt::SplashScreen;
  if (m && decorated) lastFrame = m;
  return m;
}

// What Qt has seen of the frame: nothing before the window was first shown.
QMargins seenFrame(const QWidget& window) {
  const QRect inner = window.geometry();
  const QRect outer = window.frameGeometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

// A window that exists already is asked about itself: the manager frames a
// dialog by what it is to the main window too, which a stand-in is not.
std::optional<QMargins> askedFor(Display* d, Window w) {
  if (managerSilent || !managerAnswersFrameRequests(d)) return std::nullopt;
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = w;
  request.xclient.message_type = atoms(d).requestFrameExtents;
  request.xclient.format = 32;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &request);
  XFlush(d);
  const auto end = std::chrono::steady_clock::now() + kAnswerTime;
  std::optional<QMargins> m;
  while (!(m = extents(d, w)) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  managerSilent = !m;
  return m;
}

QMargins screenFrame(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr) return seenFrame(window) * currentZoom();
  if (auto m = framed(window)) return *m;
  std::optional<QMargins> m;
  if (window.testAttribute(Qt::WA_WState_Created))
    m = askedFor(d, static_cast<Window>(window.winId()));
  else
    m = answer(window.windowFlags());
  return m.value_or(lastFrame.value_or(QMargins()));
}

// The client area where the X server has it now: Qt's own record lags a
// request until the manager has done it.
std::optional<QRect> serverClient(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.testAttribute(Qt::WA_WState_Created)) return std::nullopt;
  const auto w = static_cast<Window>(window.winId());
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return std::nullopt;
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  return QRect(x, y, a.width, a.height);
}

}  // namespace

std::optional<QMargins> knownScreenFrame(QWidget& window) { return framed(window); }

void askNewWindowFrame(Qt::WindowFlags flags, QSize fixedSize) { ask(flags, fixedSize); }

void expectFrame(const QMargins& frame) {
  if (!lastFrame) lastFrame = frame;
}

QSize newWindowFrame(Qt::WindowFlags flags) {
  const std::optional<QMargins> m = answer(flags);
  return m ? QSize(m->left() + m->right(), m->top() + m->bottom()) : QSize();
}

QSize outerScreenSize(QWidget& window) {
  return (window.size() * currentZoom()).grownBy(screenFrame(window));
}

QRect outerScreenGeometry(QWidget& window) {
  const int zoom = currentZoom();
  const QMargins frame = screenFrame(window);
  // A shown window's client area as it is on the screen, to the pixel.
  if (window.isVisible()) {
    if (const std::optional<QRect> client = serverClient(window))
      return client->marginsAdded(frame);
    if (const std::optional<QRect> client = qt::platformClient(window))
      return client->marginsAdded(frame);
  }
  return QRect(window.geometry().topLeft() * zoom, window.size() * zoom).marginsAdded(frame);
}

namespace {

// Where a manager puts the frame of a window it has on the screen, against
// where it was asked to: twm moves it by its border's width, up and left,
// though it puts a new window's frame exactly where asked. Learnt from the
// first move and asked for with the difference from then on.
QPoint movedSkew;

// Reads where the frame of a shown window went once the manager has moved
// it, and puts it right once if it is off: the rest of the run asks with
// the skew it showed.
class MoveCheck : public QObject {
 public:
  explicit MoveCheck(QWidget& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("move check"));
    window.installEventFilter(this);
  }

  void expect(QPoint wanted) { wanted_ = wanted; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_ || !wanted_ ||
        (event->type() != QEvent::Move && event->type() != QEvent::Resize))
      return false;
    const std::optional<QRect> client = serverClient(window_);
    const std::optional<QMargins> frame = framed(window_);
    // Only the manager's answer to the request counts: the size asked for.
    if (!client || !frame || client->size() != window_.size() * currentZoom()) return false;
    const QPoint wanted = *wanted_;
    const QPoint got = client->topLeft() - QPoint(frame->left(), frame->top());
    const QPoint off = got - wanted;
    wanted_.reset();
    // A skew is a few pixels; a move by the player or the manager is more.
    if (off.isNull() || std::abs(off.x()) > 8 || std::abs(off.y()) > 8) return false;
    movedSkew += off;
    qCDebug(lcPlacement, "%lld ms: %s moved to %d,%d, not %d,%d; asked again", placementClock(),
            qPrintable(window_.objectName()), got.x(), got.y(), wanted.x(), wanted.y());
    qt::placePlatformFrame(window_, wanted - movedSkew, window_.size() * currentZoom());
    return false;
  }

 private:
  QWidget& window_;
  std::optional<QPoint> wanted_;
};

}  // namespace

void placeFrame(QWidget& window, QPoint corner, QSize clientPixels) {
  Display* d = x11Display();
  XWindowAttributes a;
  const bool shown = d != nullptr && window.testAttribute(Qt::WA_WState_Created) &&
                     XGetWindowAttributes(d, static_cast<Window>(window.winId()), &a) &&
                     a.map_state == IsViewable;
  if (!shown) {
    qt::placePlatformFrame(window, corner, clientPixels);
    return;
  }
  auto* check = static_cast<MoveCheck*>(
      window.findChild<QObject*>(QStringLiteral("move check"), Qt::FindDirectChildrenOnly));
  if (check == nullptr) check = new MoveCheck(window);
  check->expect(corner);
  qt::placePlatformFrame(window, corner - movedSkew, clientPixels);
}

void moveFrameToScreen(QWidget& window, QPoint corner) {
  const int zoom = currentZoom();
  if (x11Display() != nullptr && window.isWindow()) {
    window.winId();
    placeFrame(window, corner, window.size() * zoom);
    return;
  }
  // Logical pixels reach only every zoom-th screen pixel: the nearest one
  // above and left, which a corner the window once had always is.
  window.move(toLogical(corner, zoom));
}

bool placesWindows() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Display* x11Display() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace quibbix::desktop
