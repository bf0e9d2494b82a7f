#pragma once
// Drives the real program on a private X server: starts Xvfb, a window manager
// (Openbox) and the game as child processes, finds the game's windows, reads
// the screen from the server's framebuffer and sends real pointer and key
// events through xdotool. Everything waits by polling a condition with a
// deadline; nothing sleeps for a fixed time to let things pass.

#include <sys/types.h>

#include <QImage>
#include <QRect>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framebuffer.h"

using Display = struct _XDisplay;

namespace quibbix::e2e {

class WindowManager;

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// Generous by default: the sanitizer build of the game is several times slower.
constexpr Ms kTimeout = 20s;

// Polls `done` every few milliseconds until it holds or `timeout` runs out.
bool waitFor(const std::function<bool()>& done, Ms timeout = kTimeout);

// A private scratch folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A child process started with exactly the given environment. The destructor
// kills it (SIGKILL: the game's sound library turns SIGTERM into a quit
// request it may never read) and reaps it.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
        const std::string& logFile, int passFd = -1);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // The exit status once the process has ended on its own (-1: killed by a signal).
  std::optional<int> exitCode();
  // Waits for the process to end by itself.
  bool waitExit(Ms timeout = kTimeout);
  void terminate(int signal);

 private:
  void reap(int options);
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = 0;
};

// A top-level window of the program: the client window the program made, or,
// for a window the window manager does not frame (a tool tip), the root
// window's child itself.
struct XWindow {
  unsigned long id = 0;
  QString title;
  QRect rect;   // the client area on the screen
  QRect frame;  // with the window manager's frame; equal to rect without one
};

// The screen a test wants: its size, the desktop's Xft.dpi (0: none set), a
// panel of this height along the top, which the window manager keeps free, and
// whether it is two monitors side by side, the left and the right half, as
// RandR tells programs (the left one the primary).
struct ScreenSetup {
  QSize size{1024, 768};
  int dpi = 0;
  int panel = 0;
  bool twoMonitors = false;
  // The window manager by name: "openbox", or a small stand-in from
  // tests/support ("fake-kwin", "fake-fluxbox"). Empty: testWindowManager().
  std::string windowManager{};
  // A panel of this height along the bottom (stand-in managers only).
  int bottomPanel = 0;
};

// The window manager the desktop tests run under: QUIBBIX_TEST_WM, or Openbox.
std::string testWindowManager();

// A private Xvfb with a display number chosen by the server itself, a window
// manager on it (Openbox, or the one QUIBBIX_TEST_WM names, see
// window_managers.h; none when asked for a bare server),
// and one client connection of ours for reading windows. The screen is read
// from the server's framebuffer file; the pointer is not drawn in it (the
// server runs without a cursor).
class XServer {
 public:
  // Openbox frames what it manages with 1, 20, 1, 1 pixels (left, top, right,
  // bottom) and places nothing that asks for a place of its own.
  explicit XServer(const std::string& logDir, bool windowManager = true,
                   const ScreenSetup& screen = {});
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& display() const { return display_; }
  QSize size() const;

  // The desktop's density as a desktop session sets it (xrdb's property),
  // read by every program that starts afterwards. It lasts as long as our
  // connection keeps the server from resetting.
  void setDpi(int dpi);

  // The mapped top-level windows, topmost last.
  std::vector<XWindow> windows();
  std::optional<XWindow> find(const QString& title, QSize size);
  std::optional<XWindow> waitWindow(const QString& title, QSize size, Ms timeout = kTimeout);
  bool waitGone(const QString& title, QSize size, Ms timeout = kTimeout);
  unsigned long focus();

  bool hasWindowManager() const { return wm_ != nullptr; }
  // Starts the test's window manager, stopping the one running first.
  // `name` empty: the one QUIBBIX_TEST_WM names. `bottomPanel`: stand-in managers only.
  void startWindowManager(int panel = 0, const std::string& name = {}, int bottomPanel = 0);
  // The manager's name; empty without one.
  std::string windowManager() const;
  // The manager can minimise a window (i3 cannot).
  bool canMinimise() const;
  // Shows another workspace than the one the window is on, or that one again.
  void otherWorkspace(const XWindow& w, bool away);
  // The window manager has put the window away: minimised (WM_STATE Iconic,
  // _NET_WM_STATE_HIDDEN), or unmapped, withdrawn from a hidden frame (i3) or
  // on another workspace than the one shown.
  bool putAway(const XWindow& w);
  // The screen's free area as the window manager announces it (_NET_WORKAREA),
  // the whole screen without one.
  QRect workArea();
  // The plain colour of the desktop, which no window of the game shows: an
  // unpainted window lets it through.
  static constexpr QRgb kDesktop = 0xff2e8b57;

  // Screen pixels of `r` (screen coordinates) as RGB32, from the framebuffer,
  // read between two drawing requests of the server.
  QImage grab(const QRect& r);
  QImage screen() { return grab(QRect(QPoint(0, 0), size())); }

  // Asks the window manager to put the window's client area at `corner`, as
  // a pager or a keyboard move does.
  void moveWindow(const XWindow& w, QPoint corner);

  // Pings the program that owns `w` (_NET_WM_PING) and waits for its answer.
  // The answer comes from the program's event loop, which an animation keeps
  // busy from its first frame to its last: once it is back, whatever was
  // being animated when the ping was sent has been drawn to its end.
  bool answers(const XWindow& w, Ms timeout = kTimeout);

  // Runs xdotool with these arguments on this display and waits for it.
  void xdo(const std::vector<std::string>& args);
  void moveTo(QPoint screen);
  void press(int button = 1);
  void release(int button = 1);
  void click(QPoint screen, int button = 1);
  // Gives the window the keyboard focus if it has not got it, then sends the keys.
  void key(const XWindow& w, const std::string& keys);
  void type(const XWindow& w, const std::string& utf8);
  // Puts a letter beyond the keymap on a free key for good, lower case plain
  // and capital with Shift. xdotool would otherwise bind it for one stroke
  // only, and a busy client may read the stroke after the binding is gone.
  void bindLetter(const char* lower, const char* upper);

 private:
  void focusOn(const XWindow& w);
  void splitIntoMonitors();
  std::unique_ptr<Child> server_;
  std::unique_ptr<WindowManager> wm_;
  std::unique_ptr<test::Framebuffer> fb_;
  Display* dpy_ = nullptr;
  std::string display_;
  std::string logDir_;
  unsigned long pings_ = 0;
};

}  // namespace quibbix::e2e
