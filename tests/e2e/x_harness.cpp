#include "x_harness.h"

// GoogleTest first: Xlib defines macros (None, Bool, ...) that clash with it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
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

XServer::XServer(const std::string& logDir) : logDir_(logDir) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // The server picks a free display number itself and writes it to the pipe,
  // so parallel runs never meet on one display.
  server_ = std::make_unique<Child>(
      std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                               "1024x768x24", "-nolisten", "tcp"},
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
}

XServer::~XServer() {
  if (dpy_) XCloseDisplay(dpy_);
  if (server_) {
    server_->terminate(SIGTERM);
    if (!server_->waitExit(5s)) server_->terminate(SIGKILL);
  }
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
    XWindow w;
    w.id = children[i];
    w.rect = QRect(a.x, a.y, a.width, a.height);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, children[i], netName, 0, 1024, False, utf8, &type, &format, &items,
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
  XImage* img =
      XGetImage(dpy_, DefaultRootWindow(dpy_), r.x(), r.y(), static_cast<unsigned>(r.width()),
                static_cast<unsigned>(r.height()), AllPlanes, ZPixmap);
  QImage out(r.size(), QImage::Format_RGB32);
  if (!img) {
    ADD_FAILURE() << "cannot read the screen at " << r.x() << "," << r.y();
    out.fill(Qt::magenta);
    return out;
  }
  for (int y = 0; y < r.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < r.width(); ++x)
      line[x] = 0xff000000u | static_cast<QRgb>(XGetPixel(img, x, y));
  }
  XDestroyImage(img);
  return out;
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
