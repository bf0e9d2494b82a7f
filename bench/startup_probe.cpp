// Starts a program and watches the X screen until its window shows the expected
// pixels, then reports how long that took from the start of the process, the
// program's peak memory and, optionally, the CPU it uses while left alone.
//
//   startup_probe (--board [--splash] | --fill RRGGBB) [--fb FILE] [--settle MS]
//                 [--idle-after S [--key NAME --then S] --idle-for S [--server-pid PID]]
//                 [--presses N] -- cmd...
//
// --board waits for the playing field's own background at spots that neither
// crates, the scoreboard, the picture nor the centred splash ever cover, and
// --splash also for the splash's title picture in the middle of the screen:
// the whole first picture of the game. --fill waits for a plain colour. The
// window is found inside a window manager's frame too. --fb reads the screen
// from Xvfb's framebuffer file (what a monitor would show) instead of asking
// the server. --key presses and releases the key of that X keysym name (as a
// player would, "p" pauses the game) after --idle-after, and the idle time is
// measured --then seconds later; --server-pid adds the CPU another process (the
// sound server) used in the same time. --presses measures N real left presses on
// the first chute (after the idle time). One line "paint_ms=... splash_ms=...
// hwm_kb=... hwm_end_kb=... cpu_percent=... server_cpu_percent=... press_ms=... press_via=..."
// (-1: not measured); splash_ms is the time until the splash was up as well;
// hwm_kb is the peak memory --settle ms after that, hwm_end_kb the peak over the whole run.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framebuffer.h"
#include "view/sheets.h"

// Xlib's macros clash with Qt names, so it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#ifdef QUIBBIX_HAVE_XTEST
#include <X11/extensions/XTest.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Spot {
  int x;
  int y;
  unsigned long rgb;
};

constexpr int kWindowW = 500;
constexpr int kWindowH = 366;
constexpr int kFieldTop = 33;

// Field spots on the left wall, in the gaps between the chutes and on the right
// margin, away from the screen's centre where the splash opens.
std::vector<Spot> boardSpots() {
  const QImage bg = quibbix::view::Sheets::load().background.convertToFormat(QImage::Format_RGB32);
  const int candidates[][2] = {{12, 20},  {30, 150}, {20, 310},  {108, 30},  {112, 320},
                               {186, 25}, {262, 18}, {488, 140}, {492, 325}, {480, 20}};
  std::vector<Spot> spots;
  for (const auto& c : candidates) {
    const QRgb p = bg.pixel(c[0], c[1]) & 0xFFFFFF;
    // Black is what an unpainted window may show, so it proves nothing.
    if (qRed(p) + qGreen(p) + qBlue(p) > 60) spots.push_back({c[0], kFieldTop + c[1], p});
  }
  return spots;
}

// Spots of the splash's title picture, relative to its top-left corner.
std::vector<Spot> splashSpots() {
  const QImage splash =
      QImage(QStringLiteral(":/glyphs/splash.png")).convertToFormat(QImage::Format_RGB32);
  std::vector<Spot> spots;
  if (splash.size() != QSize(200, 150)) return spots;
  for (const auto& c : {std::pair{20, 20}, {180, 20}, {100, 75}, {20, 130}, {180, 130}})
    spots.push_back({c.first, c.second, splash.pixel(c.first, c.second) & 0xFFFFFFu});
  return spots;
}

std::vector<Spot> fillSpots(unsigned long rgb) {
  return {{10, 10, rgb}, {490, 10, rgb}, {250, 183, rgb}, {10, 356, rgb}, {490, 356, rgb}};
}

// The game's windows come and go (the effect's, tool tips, dialogs): one that is gone
// between listing the windows and asking for its attributes is simply not the one
// looked for. Xlib's default handler would end the probe and leave the game running.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// A viewable window of the game's size among w and its descendants: the
// program's own window, or inside the frame a window manager put around it.
bool findIn(Display* d, Window w, int depth, Window& found) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable) return false;
  if (a.width == kWindowW && a.height == kWindowH) {
    found = w;
    return true;
  }
  if (depth >= 3) return false;
  Window rootRet = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  bool hit = false;
  if (XQueryTree(d, w, &rootRet, &parent, &children, &n))
    for (unsigned int i = n; i-- > 0 && !hit;) hit = findIn(d, children[i], depth + 1, found);
  if (children) XFree(children);
  return hit;
}

// The mapped top-level window of the game's size, if there is one yet, by the
// screen position of its client area.
bool findWindow(Display* d, Window root, int& wx, int& wy) {
  Window rootRet = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, root, &rootRet, &parent, &children, &n)) return false;
  Window found = 0;
  for (unsigned int i = n; i-- > 0 && found == 0;) findIn(d, children[i], 1, found);
  if (children) XFree(children);
  Window child = 0;
  return found != 0 && XTranslateCoordinates(d, found, root, 0, 0, &wx, &wy, &child);
}

bool spotsShown(Display* d, Window root, const quibbix::test::Framebuffer* fb, int wx, int wy,
                const std::vector<Spot>& spots) {
  if (fb) {
    // Read without holding the server, which would slow down the program
    // watched: a picture caught half drawn cannot show every spot anyway.
    for (const Spot& s : spots)
      if (fb->rgb(wx + s.x, wy + s.y) != s.rgb) return false;
    return true;
  }
  for (const Spot& s : spots) {
    XImage* img = XGetImage(d, root, wx + s.x, wy + s.y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return false;
    const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
    XDestroyImage(img);
    if (p != s.rgb) return false;
  }
  return true;
}

long statusKb(pid_t pid, const char* key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string k = std::string(key) + ":";
  while (std::getline(in, line))
    if (line.rfind(k, 0) == 0) return std::atol(line.c_str() + k.size());
  return -1;
}

// utime + stime in clock ticks.
long cpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = all.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(all.substr(close + 2));
  std::string field;
  long utime = 0;
  long stime = 0;
  // Fields after the name start at number 3 (state); utime and stime are 14 and 15.
  for (int f = 3; f <= 15 && rest >> field; ++f) {
    if (f == 14) utime = std::atol(field.c_str());
    if (f == 15) stime = std::atol(field.c_str());
  }
  return utime + stime;
}

// Killed outright: the game's audio library turns SIGTERM into a quit request
// that nothing reads, and a clean exit proves nothing here.
void stopChild(pid_t pid) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// Runs a command to its end; false if it could not run or failed.
[[maybe_unused]] bool run(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

unsigned long pixelAt(Display* d, Window root, int x, int y) {
  XImage* img = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return 0;
  const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
  XDestroyImage(img);
  return p;
}

// Presses or releases the left button where the pointer is, as real input
// through the X server, and returns once the request has left for the server.
// A key pressed and released through the X server, to whichever window has the focus.
bool tapKey(Display* d, const char* name) {
  const KeySym sym = XStringToKeysym(name);
  const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
  if (code == 0) return false;
#ifdef QUIBBIX_HAVE_XTEST
  XTestFakeKeyEvent(d, code, True, CurrentTime);
  XTestFakeKeyEvent(d, code, False, CurrentTime);
  XSync(d, False);
  return true;
#else
  return run({"xdotool", "key", name});
#endif
}

void leftButton(Display* d, bool down) {
#ifdef QUIBBIX_HAVE_XTEST
  XTestFakeButtonEvent(d, 1, down ? True : False, CurrentTime);
  XFlush(d);
#else
  // Without the XTest library xdotool sends it; its start-up is then counted too.
  (void)d;
  run({"xdotool", down ? "mousedown" : "mouseup", "1"});
#endif
}

// Real left presses on the first chute, each timed until the hand row above
// the chutes shows the crate on the screen; the release puts it back.
std::vector<double> pressesToHand(Display* d, Window root, int wx, int wy, int runs) {
  const int hand[][2] = {{58, 22}, {72, 26}, {86, 30}};
  std::vector<double> times;
  XWarpPointer(d, None, root, 0, 0, 0, 0, wx + 70, wy + kFieldTop + 200);
  XSync(d, False);
  for (int r = 0; r < runs; ++r) {
    std::vector<unsigned long> before;
    for (const auto& h : hand) before.push_back(pixelAt(d, root, wx + h[0], wy + kFieldTop + h[1]));
    const auto t0 = Clock::now();
    leftButton(d, true);
    double shown = -1;
    while (Clock::now() - t0 < std::chrono::seconds(2) && shown < 0) {
      for (std::size_t i = 0; i < before.size(); ++i) {
        if (pixelAt(d, root, wx + hand[i][0], wy + kFieldTop + hand[i][1]) != before[i]) {
          shown = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
          break;
        }
      }
    }
    leftButton(d, false);
    if (shown >= 0) times.push_back(shown);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  return times;
}

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int usage() {
  std::fprintf(stderr,
               "usage: startup_probe (--board [--splash] | --fill RRGGBB) [--fb FILE] "
               "[--settle MS] [--idle-after S [--key NAME --then S] --idle-for S "
               "[--server-pid PID]] [--presses N] -- command...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool board = false;
  bool withSplash = false;
  const char* fbFile = nullptr;
  unsigned long fill = 0;
  bool haveFill = false;
  int settleMs = 500;
  double idleAfter = 0;
  double idleFor = 0;
  int presses = 0;
  const char* key = nullptr;
  double then = 0;
  pid_t serverPid = 0;
  int cmd = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      cmd = i + 1;
      break;
    }
    if (i + 1 >= argc) return usage();
    if (a == "--board") {
      board = true;
      continue;
    }
    if (a == "--splash") {
      withSplash = true;
      continue;
    }
    if (a == "--fill") {
      fill = std::strtoul(argv[++i], nullptr, 16);
      haveFill = true;
    } else if (a == "--fb") {
      fbFile = argv[++i];
    } else if (a == "--settle") {
      settleMs = std::atoi(argv[++i]);
    } else if (a == "--idle-after") {
      idleAfter = std::atof(argv[++i]);
    } else if (a == "--idle-for") {
      idleFor = std::atof(argv[++i]);
    } else if (a == "--presses") {
      presses = std::atoi(argv[++i]);
    } else if (a == "--key") {
      key = argv[++i];
    } else if (a == "--then") {
      then = std::atof(argv[++i]);
    } else if (a == "--server-pid") {
      serverPid = static_cast<pid_t>(std::atol(argv[++i]));
    } else {
      return usage();
    }
  }
  if (cmd < 0 || cmd >= argc || board == haveFill || (withSplash && !board)) return usage();

  std::vector<Spot> spots;
  std::vector<Spot> splash;
  if (board) {
    // The sheets are compiled in; reading them needs an application object, no screen.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    {
      int qargc = 1;
      QGuiApplication app(qargc, argv);
      spots = boardSpots();
      if (withSplash) splash = splashSpots();
    }
    // The program under test starts on the screen the caller chose.
    if (platform.isNull())
      qunsetenv("QT_QPA_PLATFORM");
    else
      qputenv("QT_QPA_PLATFORM", platform);
    if (spots.size() < 4 || (withSplash && splash.empty())) {
      std::fprintf(stderr, "startup_probe: too few board or splash spots\n");
      return 1;
    }
  } else {
    spots = fillSpots(fill);
  }

  XSetErrorHandler(ignoreXError);
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "startup_probe: no X display\n");
    return 1;
  }
  const Window root = DefaultRootWindow(d);
  std::unique_ptr<quibbix::test::Framebuffer> fb;
  if (fbFile) {
    fb = std::make_unique<quibbix::test::Framebuffer>(fbFile);
    if (fb->isNull()) {
      std::fprintf(stderr, "startup_probe: cannot read the framebuffer %s\n", fbFile);
      return 1;
    }
  }
  // The splash is centred on the screen.
  const int splashX = (DisplayWidth(d, DefaultScreen(d)) - 200) / 2;
  const int splashY = (DisplayHeight(d, DefaultScreen(d)) - 150) / 2;

  const auto t0 = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[cmd], argv + cmd);
    _exit(127);
  }
  if (pid < 0) return 1;

  int wx = 0;
  int wy = 0;
  bool windowSeen = false;
  double paintMs = -1;
  double splashMs = -1;
  while (Clock::now() - t0 < std::chrono::seconds(30)) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "startup_probe: the program ended before its window showed\n");
      return 1;
    }
    if (!windowSeen) windowSeen = findWindow(d, root, wx, wy);
    const double now = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (paintMs < 0 && windowSeen && spotsShown(d, root, fb.get(), wx, wy, spots)) paintMs = now;
    if (paintMs >= 0 && spotsShown(d, root, fb.get(), splashX, splashY, splash)) {
      splashMs = splash.empty() ? -1 : now;
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  if (paintMs < 0 || (!splash.empty() && splashMs < 0)) {
    std::fprintf(stderr, "startup_probe: no painted window within 30 s%s\n",
                 windowSeen ? "" : " (no window of its size)");
    for (const Spot& s : spots) {
      XImage* img =
          windowSeen ? XGetImage(d, root, wx + s.x, wy + s.y, 1, 1, AllPlanes, ZPixmap) : nullptr;
      std::fprintf(stderr, "  (%d, %d) wanted %06lx, shows %06lx\n", s.x, s.y, s.rgb,
                   img ? XGetPixel(img, 0, 0) & 0xFFFFFF : 0ul);
      if (img) XDestroyImage(img);
    }
    stopChild(pid);
    return 1;
  }

  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  const long hwm = statusKb(pid, "VmHWM");
  double cpuPercent = -1;
  double serverCpuPercent = -1;
  if (idleFor > 0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(idleAfter));
    if (key) {
      if (!tapKey(d, key)) {
        std::fprintf(stderr, "startup_probe: cannot press the key %s\n", key);
        stopChild(pid);
        return 1;
      }
      std::this_thread::sleep_for(std::chrono::duration<double>(then));
    }
    const long before = cpuTicks(pid);
    const long serverBefore = serverPid > 0 ? cpuTicks(serverPid) : -1;
    const auto t1 = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(idleFor));
    const long after = cpuTicks(pid);
    const long serverAfter = serverPid > 0 ? cpuTicks(serverPid) : -1;
    const double wall = std::chrono::duration<double>(Clock::now() - t1).count();
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK)) * wall;
    cpuPercent = 100.0 * static_cast<double>(after - before) / ticks;
    if (serverBefore >= 0 && serverAfter >= 0)
      serverCpuPercent = 100.0 * static_cast<double>(serverAfter - serverBefore) / ticks;
  }
  double pressMs = -1;
  if (presses > 0) pressMs = median(pressesToHand(d, root, wx, wy, presses));
  // The peak over the whole run: with sound on it includes the open sound stream.
  const long hwmEnd = statusKb(pid, "VmHWM");
  stopChild(pid);
  XCloseDisplay(d);
#ifdef QUIBBIX_HAVE_XTEST
  const char* pressVia = "xtest";
#else
  const char* pressVia = "xdotool";
#endif
  std::printf(
      "paint_ms=%.1f splash_ms=%.1f hwm_kb=%ld hwm_end_kb=%ld cpu_percent=%.3f "
      "server_cpu_percent=%.3f press_ms=%.3f press_via=%s\n",
      paintMs, splashMs, hwm, hwmEnd, cpuPercent, serverCpuPercent, pressMs, pressVia);
  return 0;
}
