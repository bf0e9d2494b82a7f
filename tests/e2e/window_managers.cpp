#include "window_managers.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

namespace quibbix::e2e {

namespace {

using Env = std::map<std::string, std::string>;

// How one manager is started and driven.
struct Manager {
  const char* name;
  // Its command line; DIR stands for its scratch folder.
  std::vector<std::string> argv;
  // KWin, Mutter and xfwm4 want a session bus (xfwm4's settings come over it).
  bool bus;
  // Writes the manager's settings into its configuration folder before it starts.
  std::function<void(const std::string& config, int panel)> configure;
  // EWMH workspaces through xdotool, or i3's own command socket.
  bool i3 = false;
};

void write(const std::string& file, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  std::ofstream(file) << text;
}

const std::vector<Manager>& table() {
  static const std::vector<Manager> managers = {
      {"openbox",
       {"openbox", "--sm-disable", "--startup", "touch DIR/ready"},
       false,
       [](const std::string& config, int panel) {
         // Openbox keeps its margins free as a panel's strut, work area included.
         if (panel > 0)
           write(config + "/openbox/rc.xml",
                 "<?xml version=\"1.0\"?>\n<openbox_config "
                 "xmlns=\"http://openbox.org/3.4/rc\"><margins><top>" +
                     std::to_string(panel) +
                     "</top><bottom>0</bottom><left>0</left><right>0</right></margins>"
                     "</openbox_config>\n");
       }},
      {"kwin_x11",
       {"kwin_x11", "--replace"},
       true,
       [](const std::string& config, int) {
         // Two workspaces, as a desktop offers; no compositing: Xvfb has no GPU.
         write(config + "/kwinrc", "[Desktops]\nNumber=2\nRows=1\n[Compositing]\nEnabled=false\n");
       }},
      {"mutter", {"mutter", "--x11", "--replace", "--sm-disable"}, true, nullptr},
      {"xfwm4", {"xfwm4", "--compositor=off", "--sm-client-disable"}, true, nullptr},
      {"fluxbox", {"fluxbox", "-rc", "DIR/fluxbox-init"}, false, nullptr},
      {"icewm", {"icewm"}, false, nullptr},
      {"i3", {"i3", "-c", "DIR/i3.conf"}, false, nullptr, true},
      {"metacity", {"metacity", "--replace", "--sm-disable"}, true, nullptr},
      // Stand-ins that behave as KWin and Fluxbox do where the game once went wrong.
      {"fake-kwin",
       {QUIBBIX_FAKE_WM, "--like", "kwin", "--ready", "DIR/ready", "--top", "TOP", "--bottom",
        "BOTTOM"},
       false,
       nullptr},
      {"fake-fluxbox",
       {QUIBBIX_FAKE_WM, "--like", "fluxbox", "--ready", "DIR/ready", "--top", "TOP", "--bottom",
        "BOTTOM"},
       false,
       nullptr},
  };
  return managers;
}

std::string withDir(std::string s, const std::string& dir) {
  for (std::size_t at; (at = s.find("DIR")) != std::string::npos;) s.replace(at, 3, dir);
  return s;
}

bool hasCheckWindow(Display* d) {
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const bool ready = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &items, &after, &data) == Success &&
                     data && items == 1;
  if (data) XFree(data);
  return ready;
}

bool deniedAccess = false;
int noteDeniedAccess(Display*, XErrorEvent* e) {
  if (e->error_code == BadAccess) deniedAccess = true;
  return 0;
}

// Somebody holds the root's substructure redirection, which only the one
// window manager can. Asking for it ourselves is the one way to tell; taken,
// it is handed back at once.
bool redirectHeld(Display* d) {
  const Window root = DefaultRootWindow(d);
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, root, &a)) return false;
  XSync(d, False);
  deniedAccess = false;
  const auto previous = XSetErrorHandler(noteDeniedAccess);
  XSelectInput(d, root, a.your_event_mask | SubstructureRedirectMask);
  XSync(d, False);
  const bool held = deniedAccess;
  if (!held) {
    XSelectInput(d, root, a.your_event_mask);
    XSync(d, False);
  }
  XSetErrorHandler(previous);
  return held;
}

// The manager has taken the screen: it has put up its EWMH check window and
// holds the ICCCM manager selection, or at least the root's redirection.
bool managing(Display* d) {
  return hasCheckWindow(d) &&
         (XGetSelectionOwner(d, XInternAtom(d, "WM_S0", False)) != 0 || redirectHeld(d));
}

std::vector<unsigned long> topLevels(Display* d) {
  std::vector<unsigned long> result;
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(d, root, &root, &parent, &children, &count))
    result.assign(children, children + count);
  if (children) XFree(children);
  return result;
}

// The root's child that holds `w`.
unsigned long topLevelOf(Display* d, unsigned long w) {
  while (true) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count)) return w;
    if (children) XFree(children);
    if (parent == 0 || parent == root) return w;
    w = parent;
  }
}

// A panel along the top, as a desktop's task bar: a dock window whose strut
// every EWMH manager keeps free.
unsigned long putPanel(Display* d, int height) {
  const int width = DisplayWidth(d, DefaultScreen(d));
  const Window w =
      XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, 0x303030);
  const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  const Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
  XChangeProperty(d, w, type, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&dock), 1);
  const long strut[12] = {0, 0, height, 0, 0, 0, 0, 0, 0, width - 1, 0, 0};
  XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(strut), 12);
  XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(strut), 4);
  XMapWindow(d, w);
  XSync(d, False);
  return w;
}

}  // namespace

std::string testWindowManager() {
  const char* name = std::getenv("QUIBBIX_TEST_WM");
  return name != nullptr && *name != '\0' ? name : "openbox";
}

std::vector<std::string> knownWindowManagers() {
  std::vector<std::string> names;
  for (const Manager& m : table()) names.emplace_back(m.name);
  return names;
}

WindowManager::WindowManager(const std::string& name, const std::string& display,
                             const std::string& dir, int panel, Display* dpy, int bottomPanel)
    : name_(name), dir_(dir + "/wm-" + name), dpy_(dpy) {
  const auto m = std::find_if(table().begin(), table().end(),
                              [&](const Manager& e) { return name == e.name; });
  if (m == table().end()) throw std::runtime_error("no window manager called " + name);
  std::filesystem::remove_all(dir_);
  const std::string home = dir_ + "/home", runtime = dir_ + "/runtime";
  std::filesystem::create_directories(home);
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  const char* path = std::getenv("PATH");
  Env env{{"PATH", path ? path : "/usr/local/bin:/usr/bin:/bin"},
          {"DISPLAY", display},
          {"HOME", home},
          {"XDG_CONFIG_HOME", home + "/config"},
          {"XDG_CACHE_HOME", home + "/cache"},
          {"XDG_DATA_HOME", home + "/data"},
          {"XDG_RUNTIME_DIR", runtime},
          // The test may run on Qt's offscreen platform; KWin is a Qt program too.
          {"QT_QPA_PLATFORM", "xcb"},
          {"KWIN_COMPOSE", "N"},
          // Mutter's and Metacity's settings stay in memory, away from the user's.
          {"GSETTINGS_BACKEND", "memory"},
          {"LANG", "C.UTF-8"}};
  if (m->configure) m->configure(home + "/config", name == "openbox" ? panel : 0);
  if (name == "i3")
    // No bar and no start-up programs: only the manager, driven through its socket.
    write(dir_ + "/i3.conf", "ipc-socket " + dir_ + "/i3.sock\nfont pango:monospace 8\n");
  if (name == "fluxbox") {
    // Its first start asks for a background picture with a message window.
    write(dir_ + "/fluxbox-init",
          "session.screen0.rootCommand:\tsh -c true\n"
          "session.screen0.workspaces:\t4\n");
    write(dir_ + "/bin/fbsetbg", "#!/bin/sh\nexit 0\n");
    write(dir_ + "/bin/xmessage", "#!/bin/sh\nexit 0\n");
    for (const char* tool : {"/bin/fbsetbg", "/bin/xmessage"})
      std::filesystem::permissions(dir_ + tool, std::filesystem::perms::owner_all);
    env["PATH"] = dir_ + "/bin:" + env["PATH"];
  }
  if (m->bus) {
    const std::string socket = dir_ + "/bus";
    bus_ = std::make_unique<Child>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 "--address=unix:path=" + socket},
        env, dir_ + "/bus.log");
    if (!waitFor([&] { return std::filesystem::exists(socket) || !bus_->running(); }) ||
        !bus_->running())
      throw std::runtime_error("the session bus for " + name + " did not start");
    env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + socket;
  } else {
    // Nobody is to find the user's own bus.
    env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=/nonexistent";
  }
  std::vector<std::string> argv;
  const bool fake = name.rfind("fake-", 0) == 0;
  for (const std::string& a : m->argv)
    argv.push_back(a == "TOP"      ? std::to_string(panel)
                   : a == "BOTTOM" ? std::to_string(bottomPanel)
                                   : withDir(a, dir_));
  XSync(dpy_, False);
  const std::vector<unsigned long> before = topLevels(dpy_);
  wm_ = std::make_unique<Child>(argv, env, logFile());
  const bool ready = waitFor([&] {
    if (!wm_->running()) return true;
    // Openbox and the stand-ins say when they are done starting.
    if (name == "openbox" || fake)
      return hasCheckWindow(dpy_) && std::filesystem::exists(dir_ + "/ready");
    return managing(dpy_);
  });
  if (!ready || !wm_->running())
    throw std::runtime_error(name + " did not start (see " + logFile() + ")");
  if (panel > 0 && name != "openbox" && !fake) panel_ = putPanel(dpy_, panel);
  XSync(dpy_, False);
  // What came with the manager is its own, except the frames it put around
  // the windows that were there before it (a game it took over).
  std::vector<unsigned long> framed;
  for (unsigned long w : before) framed.push_back(topLevelOf(dpy_, w));
  for (unsigned long w : topLevels(dpy_))
    if (std::find(before.begin(), before.end(), w) == before.end() &&
        std::find(framed.begin(), framed.end(), w) == framed.end())
      own_.push_back(w);
}

WindowManager::~WindowManager() {
  if (panel_ != 0) XDestroyWindow(dpy_, panel_);
  if (wm_) {
    wm_->terminate(SIGTERM);
    if (!wm_->waitExit(5s)) wm_->terminate(SIGKILL);
  }
  if (bus_) bus_->terminate(SIGTERM);
}

bool WindowManager::isOwn(unsigned long window) const {
  return window == panel_ || std::find(own_.begin(), own_.end(), window) != own_.end();
}

std::vector<std::string> WindowManager::workspaceCommand(unsigned long window, bool away) const {
  if (name_ == "i3") return {"i3-msg", "-s", dir_ + "/i3.sock", "workspace", away ? "2" : "1"};
  return {"xdotool", "set_desktop_for_window", std::to_string(window), away ? "1" : "0"};
}

}  // namespace quibbix::e2e
