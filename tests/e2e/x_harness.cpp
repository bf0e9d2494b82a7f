#include "x_harness.h"

#include "window_managers.h"

// GoogleTest first: Xlib defines macros (None, Bool, ...) that clash with it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace quibbix::e2e {

namespace {

// Windows come and go while we look at them; a vanished window is no error here.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

std::string pathVariable() {
  const char* p = std::getenv("PATH");
  return p ? p : "/usr/local/bin:/usr/bin:/bin";
}

}  // namespace

bool waitFor(const std::function<bool()>& done, Ms timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
}

// --- TempDir -----------------------------------------------------------------

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quibbix-e2e-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

// --- Child -------------------------------------------------------------------

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& logFile, int passFd) {
  std::vector<std::string> envStrings;
  for (const auto& [k, v] : env) envStrings.push_back(k + "=" + v);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const auto& e : envStrings) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Should the test itself die, its server and game go with it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (in >= 0) dup2(in, 0);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    if (passFd >= 0) fcntl(passFd, F_SETFD, 0);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
  }
}

Child::~Child() {
  if (!reaped_) {
    kill(pid_, SIGKILL);
    reap(0);
  }
}

void Child::reap(int options) {
  if (reaped_) return;
  int status = 0;
  const pid_t r = waitpid(pid_, &status, options);
  if (r == pid_) {
    reaped_ = true;
    status_ = status;
  }
}

bool Child::running() {
  reap(WNOHANG);
  return !reaped_;
}

std::optional<int> Child::exitCode() {
  reap(WNOHANG);
  if (!reaped_) return std::nullopt;
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

bool Child::waitExit(Ms timeout) {
  return waitFor([this] { return !running(); }, timeout);
}

void Child::terminate(int signal) {
  if (!reaped_) kill(pid_, signal);
}

// --- XServer -----------------------------------------------------------------

namespace {

bool hasWmState(Display* d, Window w) {
  const Atom wmState = XInternAtom(d, "WM_STATE", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const bool has = XGetWindowProperty(d, w, wmState, 0, 1, False, AnyPropertyType, &type, &format,
                                      &items, &after, &data) == Success &&
                   type != 0;
  if (data) XFree(data);
  return has;
}

// The window asks for no decorations (Motif hints), as the splash does.
bool undecorated(Display* d, Window w) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  bool bare = false;
  const Atom hints = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  if (XGetWindowProperty(d, w, hints, 0, 5, False, hints, &type, &format, &items, &after, &data) ==
          Success &&
      data && format == 32 && items >= 3) {
    const auto* v = reinterpret_cast<const unsigned long*>(data);
    bare = (v[0] & 2) != 0 && v[2] == 0;
  }
  if (data) XFree(data);
  return bare;
}

// The program's own window inside a window manager's frame: the one marked
// with WM_STATE, searched for depth first; 0 when there is none (no window
// manager, or a window it does not manage).
Window clientOf(Display* d, Window w, int depth = 0) {
  if (hasWmState(d, w)) return w;
  if (depth >= 3) return 0;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && found == 0; ++i)
      found = clientOf(d, children[i], depth + 1);
  }
  if (children) XFree(children);
  return found;
}

QRect onScreen(Display* d, Window w, bool withBorder) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return {};
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  // The position X reports is that of the outer corner of the border, which a
  // window manager may draw its frame's edge with.
  if (withBorder)
    return QRect(x - a.border_width, y - a.border_width, a.width + 2 * a.border_width,
                 a.height + 2 * a.border_width);
  return QRect(x, y, a.width, a.height);
}

}  // namespace

XServer::XServer(const std::string& logDir, bool windowManager, const ScreenSetup& screen)
    : logDir_(logDir) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // The server picks a free display number itself and writes it to the pipe,
  // so parallel runs never meet on one display.
  server_ = std::make_unique<Child>(
      std::vector<std::string>{
          "Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
          std::to_string(screen.size.width()) + "x" + std::to_string(screen.size.height()) + "x24",
          "-fbdir", logDir, "-nocursor", "-nolisten", "tcp"},
      std::map<std::string, std::string>{{"PATH", pathVariable()}}, logDir + "/xvfb.log", fds[1]);
  close(fds[1]);
  std::string number;
  const auto end = std::chrono::steady_clock::now() + kTimeout;
  while (number.empty() || number.back() != '\n') {
    pollfd p{fds[0], POLLIN, 0};
    const auto left = std::chrono::duration_cast<Ms>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c;
    if (read(fds[0], &c, 1) != 1) break;
    number.push_back(c);
  }
  close(fds[0]);
  if (number.empty() || number.back() != '\n')
    throw std::runtime_error("Xvfb did not report its display (see xvfb.log)");
  number.pop_back();
  display_ = ":" + number;

  XSetErrorHandler(ignoreXErrors);
  waitFor([this] { return (dpy_ = XOpenDisplay(display_.c_str())) != nullptr; });
  if (!dpy_) throw std::runtime_error("cannot connect to " + display_);
  fb_ = std::make_unique<test::Framebuffer>(logDir + "/Xvfb_screen0");
  if (fb_->isNull()) throw std::runtime_error("no framebuffer of 32-bit pixels in " + logDir);

  const Window root = DefaultRootWindow(dpy_);
  if (screen.dpi > 0) setDpi(screen.dpi);
  if (screen.twoMonitors) splitIntoMonitors();
  XSetWindowBackground(dpy_, root, kDesktop & 0xffffffu);
  XClearWindow(dpy_, root);
  XSync(dpy_, False);

  if (windowManager) startWindowManager(screen.panel, screen.windowManager, screen.bottomPanel);
}

void XServer::startWindowManager(int panel, const std::string& name, int bottomPanel) {
  // A manager running already goes first, as when a desktop restarts its own.
  wm_.reset();
  wm_ = std::make_unique<WindowManager>(name.empty() ? testWindowManager() : name, display_,
                                        logDir_, panel, dpy_, bottomPanel);
}

std::string XServer::windowManager() const { return wm_ ? wm_->name() : std::string(); }

bool XServer::canMinimise() const { return wm_ && wm_->minimises(); }

void XServer::otherWorkspace(const XWindow& w, bool away) {
  const std::vector<std::string> argv = wm_->workspaceCommand(w.id, away);
  Child tool(argv, {{"PATH", pathVariable()}, {"DISPLAY", display_}}, logDir_ + "/xdotool.log");
  ASSERT_TRUE(tool.waitExit()) << argv.front() << " hangs";
  EXPECT_EQ(tool.exitCode(), 0) << argv.front() << " failed";
}

XServer::~XServer() {
  wm_.reset();
  if (dpy_) XCloseDisplay(dpy_);
  if (server_) {
    server_->terminate(SIGTERM);
    if (!server_->waitExit(5s)) server_->terminate(SIGKILL);
  }
}

bool XServer::putAway(const XWindow& w) {
  const auto cardinals = [&](Window on, const char* name, Atom type) {
    std::vector<unsigned long> values;
    Atom actual = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, on, XInternAtom(dpy_, name, False), 0, 64, False, type, &actual,
                           &format, &items, &after, &data) == Success &&
        data && format == 32) {
      const auto* v = reinterpret_cast<const unsigned long*>(data);
      values.assign(v, v + items);
    }
    if (data) XFree(data);
    return values;
  };
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy_, w.id, &a)) return false;
  const bool viewable = a.map_state == IsViewable;
  const Atom wmState = XInternAtom(dpy_, "WM_STATE", False);
  const auto state = cardinals(w.id, "WM_STATE", wmState);
  // A compositing manager (Mutter) keeps a minimised window mapped.
  if (!state.empty() && state[0] == IconicState) return true;
  for (unsigned long atom : cardinals(w.id, "_NET_WM_STATE", XA_ATOM))
    if (atom == XInternAtom(dpy_, "_NET_WM_STATE_HIDDEN", False)) return true;
  if (viewable) return false;
  if (!state.empty() && state[0] == WithdrawnState) return true;
  const auto desktop = cardinals(w.id, "_NET_WM_DESKTOP", XA_CARDINAL);
  const auto current = cardinals(DefaultRootWindow(dpy_), "_NET_CURRENT_DESKTOP", XA_CARDINAL);
  return !desktop.empty() && !current.empty() && desktop[0] != current[0];
}

QSize XServer::size() const { return fb_->size(); }

void XServer::setDpi(int dpi) {
  const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
  XChangeProperty(dpy_, DefaultRootWindow(dpy_), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.data()),
                  static_cast<int>(resources.size()));
  XSync(dpy_, False);
}

void XServer::splitIntoMonitors() {
  const Window root = DefaultRootWindow(dpy_);
  const QSize whole = size();
  XRRScreenResources* resources = XRRGetScreenResources(dpy_, root);
  for (int i = 0; i < 2; ++i) {
    // The left one takes the server's only output, which would otherwise
    // stand for a third monitor spanning both.
    XRRMonitorInfo* m = XRRAllocateMonitor(dpy_, i == 0 && resources->noutput > 0 ? 1 : 0);
    m->name = XInternAtom(dpy_, i == 0 ? "LEFT" : "RIGHT", False);
    m->primary = i == 0;
    m->x = i * whole.width() / 2;
    m->y = 0;
    m->width = whole.width() / 2;
    m->height = whole.height();
    m->mwidth = m->width / 4;
    m->mheight = m->height / 4;
    if (m->noutput > 0) m->outputs[0] = resources->outputs[0];
    XRRSetMonitor(dpy_, root, m);
    XRRFreeMonitors(m);
  }
  XRRFreeScreenResources(resources);
  XSync(dpy_, False);
}

QRect XServer::workArea() {
  const Window root = DefaultRootWindow(dpy_);
  const Atom workarea = XInternAtom(dpy_, "_NET_WORKAREA", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  QRect area(QPoint(0, 0), fb_->size());
  if (XGetWindowProperty(dpy_, root, workarea, 0, 4, False, XA_CARDINAL, &type, &format, &items,
                         &after, &data) == Success &&
      data != nullptr) {
    if (type == XA_CARDINAL && format == 32 && items == 4) {
      const auto* v = reinterpret_cast<const unsigned long*>(data);
      area = QRect(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                   static_cast<int>(v[3]));
    }
    XFree(data);
  }
  return area;
}

std::vector<XWindow> XServer::windows() {
  std::vector<XWindow> result;
  XSync(dpy_, False);
  Window root = DefaultRootWindow(dpy_), parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy_, root, &root, &parent, &children, &count)) return result;
  const Atom netName = XInternAtom(dpy_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(dpy_, "UTF8_STRING", False);
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, children[i], &a) || a.map_state != IsViewable) continue;
    const Window client = clientOf(dpy_, children[i]);
    // Openbox lets a new window be seen viewable straight on the root, with
    // WM_STATE and _NET_FRAME_EXTENTS already set, for some 15 to 40 ms
    // before it sits in its frame: mapping 200 plain windows and polling as
    // this function does caught that moment 10 times on a quiet machine and
    // 50 times with both cores busy. Read then, the window had no frame (its
    // frame equal to its client area), and tests saw a window "placed
    // without its frame", one frame size (1 px, 20 px) off. A window the
    // manager has not framed yet is not shown yet. Mutter leaves a window
    // without decorations (the splash) unframed for good.
    if (wm_ && !a.override_redirect &&
        (client == 0 || (client == children[i] && !undecorated(dpy_, client))))
      continue;
    // The manager's own windows (a task bar, a panel) are none of the game's.
    if (wm_ && (wm_->isOwn(children[i]) || wm_->isOwn(client))) continue;
    XWindow w;
    w.id = client != 0 ? client : children[i];
    XWindowAttributes c;
    if (!XGetWindowAttributes(dpy_, w.id, &c) || c.map_state != IsViewable) continue;
    w.rect = onScreen(dpy_, w.id, false);
    w.frame = client != 0 && client != children[i] ? onScreen(dpy_, children[i], true) : w.rect;
    // The window manager keeps a window of its own mapped beside the screen.
    if (!w.frame.intersects(QRect(QPoint(0, 0), fb_->size()))) continue;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, w.id, netName, 0, 1024, False, utf8, &type, &format, &items,
                           &after, &data) == Success &&
        data) {
      w.title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(items));
      XFree(data);
    }
    result.push_back(w);
  }
  if (children) XFree(children);
  return result;
}

std::optional<XWindow> XServer::find(const QString& title, QSize size) {
  for (const XWindow& w : windows())
    if (w.title == title && w.rect.size() == size) return w;
  return std::nullopt;
}

std::optional<XWindow> XServer::waitWindow(const QString& title, QSize size, Ms timeout) {
  std::optional<XWindow> found;
  waitFor([&] { return (found = find(title, size)).has_value(); }, timeout);
  return found;
}

bool XServer::waitGone(const QString& title, QSize size, Ms timeout) {
  return waitFor([&] { return !find(title, size); }, timeout);
}

unsigned long XServer::focus() {
  Window w = 0;
  int revert = 0;
  XGetInputFocus(dpy_, &w, &revert);
  return w;
}

QImage XServer::grab(const QRect& r) {
  // The server draws each request whole before it takes the next one; holding
  // it while the framebuffer is read keeps a drawing from being caught half
  // done (a window's background half filled, say).
  XGrabServer(dpy_);
  XSync(dpy_, False);
  QImage image = fb_->copy(r);
  XUngrabServer(dpy_);
  XFlush(dpy_);
  return image;
}

void XServer::moveWindow(const XWindow& w, QPoint corner) {
  XMoveWindow(dpy_, w.id, corner.x(), corner.y());
  XSync(dpy_, False);
}

bool XServer::answers(const XWindow& w, Ms timeout) {
  const Window root = DefaultRootWindow(dpy_);
  const Atom protocols = XInternAtom(dpy_, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(dpy_, "_NET_WM_PING", False);
  // Qt sends the answer to the root window for whoever listens to the root's
  // own changes (and to the window manager, which pings too and drops an
  // answer it did not ask for). Each ping carries its own number in the place of
  // the time stamp, so an answer is never taken for a later ping's.
  const unsigned long number = ++pings_;
  XSelectInput(dpy_, root, StructureNotifyMask);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w.id;
  e.xclient.message_type = protocols;
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(ping);
  e.xclient.data.l[1] = static_cast<long>(number);
  e.xclient.data.l[2] = static_cast<long>(w.id);
  XSendEvent(dpy_, w.id, False, NoEventMask, &e);
  XFlush(dpy_);
  bool answered = false;
  waitFor(
      [&] {
        while (!answered && XPending(dpy_) > 0) {
          XEvent in{};
          XNextEvent(dpy_, &in);
          answered = in.type == ClientMessage && in.xclient.window == root &&
                     in.xclient.message_type == protocols &&
                     static_cast<Atom>(in.xclient.data.l[0]) == ping &&
                     static_cast<unsigned long>(in.xclient.data.l[1]) == number &&
                     static_cast<unsigned long>(in.xclient.data.l[2]) == w.id;
        }
        return answered;
      },
      timeout);
  XSelectInput(dpy_, root, NoEventMask);
  XSync(dpy_, True);  // what came meanwhile is nobody's business
  return answered;
}

void XServer::xdo(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  // A UTF-8 locale, so that `type` takes letters beyond ASCII.
  Child tool(argv, {{"PATH", pathVariable()}, {"DISPLAY", display_}, {"LC_ALL", "C.UTF-8"}},
             logDir_ + "/xdotool.log");
  ASSERT_TRUE(tool.waitExit()) << "xdotool hangs";
  EXPECT_EQ(tool.exitCode(), 0) << "xdotool " << args.front() << " failed";
}

void XServer::moveTo(QPoint p) {
  // xdotool's --sync waits for the pointer to move, which it never does when
  // it is there already (it gives up after many seconds).
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (XQueryPointer(dpy_, DefaultRootWindow(dpy_), &root, &child, &rx, &ry, &wx, &wy, &mask) &&
      QPoint(rx, ry) == p)
    return;
  xdo({"mousemove", "--sync", std::to_string(p.x()), std::to_string(p.y())});
}
void XServer::press(int button) { xdo({"mousedown", std::to_string(button)}); }
void XServer::release(int button) { xdo({"mouseup", std::to_string(button)}); }

void XServer::click(QPoint p, int button) {
  moveTo(p);
  xdo({"click", std::to_string(button)});
}

void XServer::focusOn(const XWindow& w) {
  if (focus() == w.id) return;
  xdo({"windowfocus", "--sync", std::to_string(w.id)});
  EXPECT_TRUE(waitFor([&] { return focus() == w.id; })) << "the window takes no focus";
}

void XServer::bindLetter(const char* lower, const char* upper) {
  int first = 0, last = 0, perCode = 0;
  XDisplayKeycodes(dpy_, &first, &last);
  KeySym* map = XGetKeyboardMapping(dpy_, static_cast<KeyCode>(first), last - first + 1, &perCode);
  int freeCode = 0;
  for (int code = last; code >= first && freeCode == 0; --code) {
    bool empty = true;
    for (int i = 0; i < perCode; ++i)
      if (map[(code - first) * perCode + i] != NoSymbol) empty = false;
    if (empty) freeCode = code;
  }
  XFree(map);
  ASSERT_NE(freeCode, 0) << "no free key";
  KeySym syms[2] = {XStringToKeysym(lower), XStringToKeysym(upper)};
  XChangeKeyboardMapping(dpy_, freeCode, 2, syms, 1);
  XSync(dpy_, False);
}

void XServer::key(const XWindow& w, const std::string& keys) {
  focusOn(w);
  xdo({"key", keys});
}

void XServer::type(const XWindow& w, const std::string& utf8) {
  focusOn(w);
  xdo({"type", "--delay", "30", utf8});
}

}  // namespace quibbix::e2e
