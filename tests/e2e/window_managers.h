#pragma once
// Real window managers from Debian for the end-to-end tests, started by name on
// a private X server. Each gets its settings, cache and runtime files in a
// scratch folder and, where it wants one, a session bus of its own; all of it
// is stopped by PID when the manager goes.
//
// QUIBBIX_TEST_WM=<name> chooses the manager every desktop test runs under
// (scripts/desktops.sh runs the set once per manager); without it, Openbox.

#include <memory>
#include <string>
#include <vector>

#include "x_harness.h"

namespace quibbix::e2e {

// The manager the desktop tests run under: QUIBBIX_TEST_WM, or "openbox".
std::string testWindowManager();

// The names this table knows.
std::vector<std::string> knownWindowManagers();

class WindowManager {
 public:
  // Starts `name` on `display` and waits until it manages the screen; throws
  // when the name is unknown or the manager does not come up. A panel of
  // `panel` pixels along the top is kept free by the manager, as a desktop's
  // panel is. `dpy` is the test's own connection to the server.
  // "fake-kwin" and "fake-fluxbox" are the small stand-ins of tests/support/fake_wm.cpp,
  // which keep `bottomPanel` pixels free along the bottom too.
  WindowManager(const std::string& name, const std::string& display, const std::string& dir,
                int panel, Display* dpy, int bottomPanel = 0);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  const std::string& name() const { return name_; }
  bool running() { return wm_ && wm_->running(); }
  // The manager's own top-level windows (a task bar, a check window): none
  // of them is the game's.
  bool isOwn(unsigned long window) const;
  // i3 has no minimising: a window is only ever on some workspace.
  bool minimises() const { return name_ != "i3"; }
  // The command that shows another workspace than the one `window` is on
  // (`away`), or that window's workspace again.
  std::vector<std::string> workspaceCommand(unsigned long window, bool away) const;
  // What the manager wrote to its log, for a failing test.
  std::string logFile() const { return dir_ + "/wm.log"; }

 private:
  std::string name_;
  std::string dir_;
  std::unique_ptr<Child> bus_;
  std::unique_ptr<Child> wm_;
  std::vector<unsigned long> own_;
  unsigned long panel_ = 0;
  Display* dpy_ = nullptr;
};

}  // namespace quibbix::e2e
