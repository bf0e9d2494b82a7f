#include "desktop/sight.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "desktop/placement_x11.h"

namespace {
// Named before Xlib defines Expose as a macro.
constexpr QEvent::Type kExposeEvent = QEvent::Expose;
}  // namespace

// Xlib last: its macros (None, Bool, Status, Expose) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

namespace quibbix::desktop {

bool outOfSight(const ManagerView& v) {
  using State = ManagerView::State;
  constexpr unsigned long kAllDesktops = 0xffffffffUL;
  const bool elsewhere = v.desktop && v.currentDesktop && *v.desktop != kAllDesktops &&
                         *v.desktop != *v.currentDesktop;
  // Every manager here says something when it puts a window away: most mark
  // it iconic, even for another workspace (a compositing one such as Mutter
  // keeps it mapped meanwhile); xfwm4 and icewm only move it to another
  // workspace and unmap it; i3 withdraws it and hides its frame. The weaker
  // words count only for a window that cannot be seen: a window mapped on a
  // workspace another monitor shows (i3 has one per monitor) is in sight. An
  // unmapped window alone says nothing: a manager that takes the window over
  // reparents it, unmapping it for a moment.
  if (v.state == State::Iconic || v.hidden) return true;
  return (v.state == State::Withdrawn || elsewhere) && !v.viewable;
}

namespace {

// One 32-bit property of a window, read whole; empty when it is not there.
std::vector<unsigned long> cardinals(Display* d, Window w, Atom name, Atom type) {
  std::vector<unsigned long> values;
  Atom actual = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, name, 0, 64, False, type, &actual, &format, &items, &after, &data) ==
          Success &&
      data != nullptr && format == 32) {
    const auto* v = reinterpret_cast<const unsigned long*>(data);
    values.assign(v, v + items);
  }
  if (data != nullptr) XFree(data);
  return values;
}

}  // namespace

class SightWatch::Impl : public QObject, public QAbstractNativeEventFilter {
 public:
  Impl(QWidget& window, std::function<void()> lost) : window_(window), lost_(std::move(lost)) {
    window.installEventFilter(this);
    d_ = x11Display();
    if (d_ == nullptr) return;
    wmState_ = XInternAtom(d_, "WM_STATE", False);
    netState_ = XInternAtom(d_, "_NET_WM_STATE", False);
    hidden_ = XInternAtom(d_, "_NET_WM_STATE_HIDDEN", False);
    shaded_ = XInternAtom(d_, "_NET_WM_STATE_SHADED", False);
    desktop_ = XInternAtom(d_, "_NET_WM_DESKTOP", False);
    currentDesktop_ = XInternAtom(d_, "_NET_CURRENT_DESKTOP", False);
    root_ = DefaultRootWindow(d_);
    // The shown workspace is the root window's property; its changes reach
    // us only if the connection listens to the root's properties, which
    // Qt's own connection may already do for other reasons.
    XWindowAttributes a;
    if (XGetWindowAttributes(d_, root_, &a) && (a.your_event_mask & PropertyChangeMask) == 0)
      XSelectInput(d_, root_, a.your_event_mask | PropertyChangeMask);
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~Impl() override {
    if (d_ != nullptr) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Show) {
      if (d_ != nullptr) {
        schedule();
      } else if (QWindow* handle = window_.windowHandle(); handle != handle_) {
        handle_ = handle;
        if (handle != nullptr) handle->installEventFilter(this);
      }
    }
    // Off X11 the platform's exposure is all there is to go by.
    if (d_ == nullptr && watched == handle_ && handle_ != nullptr &&
        event->type() == kExposeEvent && window_.isVisible() && !handle_->isExposed())
      lost_();
    return false;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* e = static_cast<const xcb_generic_event_t*>(message);
    const Window own = window_.internalWinId();
    if (own == 0) return false;
    switch (e->response_type & 0x7f) {
      case XCB_PROPERTY_NOTIFY: {
        const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
        if ((p->window == own &&
             (p->atom == wmState_ || p->atom == netState_ || p->atom == desktop_)) ||
            (p->window == root_ && p->atom == currentDesktop_))
          schedule();
        break;
      }
      case XCB_UNMAP_NOTIFY:
        if (watches(reinterpret_cast<const xcb_unmap_notify_event_t*>(e)->event, own)) schedule();
        break;
      case XCB_MAP_NOTIFY:
        if (watches(reinterpret_cast<const xcb_map_notify_event_t*>(e)->event, own)) schedule();
        break;
      case XCB_REPARENT_NOTIFY:
        if (watches(reinterpret_cast<const xcb_reparent_notify_event_t*>(e)->event, own))
          schedule();
        break;
      default: break;
    }
    return false;
  }

 private:
  bool watches(unsigned long w, Window own) const {
    return w == own || std::find(frames_.begin(), frames_.end(), w) != frames_.end();
  }

  // Every word of the manager comes with an event, and each one reads the
  // server's state anew, so the last event of a burst (a workspace switch sets
  // several properties and unmaps a frame) reads the final state. Read at
  // once, not later: the pause stands before the game handles anything that
  // came after the manager's word.
  void schedule() { check(); }

  void check() {
    const Window own = window_.internalWinId();
    // A window the game hid itself (closing) is nobody's business here.
    if (own == 0 || !window_.isVisible()) return;
    watchFrames(own);
    const bool out = outOfSight(read(own));
    if (out && !out_) lost_();
    out_ = out;
  }

  // The manager's frames around the window: when it hides one of them (i3's
  // frame on another workspace), the window itself hears nothing of it.
  void watchFrames(Window own) {
    Window w = own;
    while (true) {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(d_, w, &root, &parent, &children, &count)) break;
      if (children != nullptr) XFree(children);
      if (parent == 0 || parent == root) break;
      if (std::find(frames_.begin(), frames_.end(), parent) == frames_.end()) {
        // Nobody else on Qt's connection listens to a window it did not make.
        XSelectInput(d_, parent, StructureNotifyMask);
        frames_.push_back(parent);
      }
      w = parent;
    }
  }

  ManagerView read(Window own) const {
    ManagerView v;
    const std::vector<unsigned long> state = cardinals(d_, own, wmState_, wmState_);
    if (!state.empty()) {
      switch (state.front()) {
        case WithdrawnState: v.state = ManagerView::State::Withdrawn; break;
        case IconicState: v.state = ManagerView::State::Iconic; break;
        default: v.state = ManagerView::State::Normal; break;
      }
    }
    for (unsigned long atom : cardinals(d_, own, netState_, XA_ATOM))
      v.hidden = v.hidden || atom == hidden_ || atom == shaded_;
    if (const auto desk = cardinals(d_, own, desktop_, XA_CARDINAL); !desk.empty())
      v.desktop = desk.front();
    if (const auto cur = cardinals(d_, root_, currentDesktop_, XA_CARDINAL); !cur.empty())
      v.currentDesktop = cur.front();
    XWindowAttributes a;
    v.viewable = XGetWindowAttributes(d_, own, &a) && a.map_state == IsViewable;
    return v;
  }

  QWidget& window_;
  std::function<void()> lost_;
  QWindow* handle_ = nullptr;
  Display* d_ = nullptr;
  Window root_ = 0;
  Atom wmState_ = 0, netState_ = 0, hidden_ = 0, shaded_ = 0, desktop_ = 0, currentDesktop_ = 0;
  std::vector<Window> frames_;
  bool out_ = false;
};

SightWatch::SightWatch(QWidget& window, std::function<void()> lost)
    : QObject(&window), impl_(new Impl(window, std::move(lost))) {
  impl_->setParent(this);
}

SightWatch::~SightWatch() = default;

}  // namespace quibbix::desktop
