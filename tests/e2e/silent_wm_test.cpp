// A window manager that says it answers frame requests (_NET_REQUEST_FRAME_EXTENTS
// in _NET_SUPPORTED) and never does: played here by this test's own X connection
// on a bare Xvfb. The game waits for it a moment once per run, and every later
// window shows at once; a window placed with its frame unknown goes where it was
// asked to be (the frame's corner, here where nobody frames it: the client's).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "desktop/placement_frame.h"
#include "desktop/placement_window.h"
#include "store/settings_store.h"
#include "x_harness.h"

// Xlib's macros clash with Qt names, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quibbix::e2e {
namespace {

// Claims the screen as a manager that answers frame requests, and answers none.
class SilentManager {
 public:
  explicit SilentManager(const std::string& display) : d_(XOpenDisplay(display.c_str())) {
    if (d_ == nullptr) return;
    const Window root = DefaultRootWindow(d_);
    check_ = XCreateSimpleWindow(d_, root, -10, -10, 1, 1, 0, 0, 0);
    const Atom wmCheck = XInternAtom(d_, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom supported = XInternAtom(d_, "_NET_SUPPORTED", False);
    const Atom request = XInternAtom(d_, "_NET_REQUEST_FRAME_EXTENTS", False);
    for (Window w : {check_, root})
      XChangeProperty(d_, w, wmCheck, XA_WINDOW, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&check_), 1);
    XChangeProperty(d_, root, supported, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&request), 1);
    XSync(d_, False);
  }
  ~SilentManager() {
    if (d_ != nullptr) XCloseDisplay(d_);
  }
  SilentManager(const SilentManager&) = delete;
  SilentManager& operator=(const SilentManager&) = delete;
  bool ok() const { return d_ != nullptr; }

  // What the manager would set once it has made up its mind about a frame:
  // left, right, top, bottom.
  void tellFrame(unsigned long window, std::array<long, 4> extents) {
    const Atom frame = XInternAtom(d_, "_NET_FRAME_EXTENTS", False);
    XChangeProperty(d_, window, frame, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(extents.data()), 4);
    XSync(d_, False);
  }

 private:
  Display* d_;
  Window check_ = 0;
};

bool waitQt(const std::function<bool()>& done) {
  return waitFor([&] {
    QApplication::processEvents();
    return done();
  });
}

TEST(SilentWindowManager, CostsOneShortWaitPerRunAndPlacesWithoutIt) {
  TempDir home;
  XServer x(home.path(), false);
  SilentManager manager(x.display());
  ASSERT_TRUE(manager.ok());
  qputenv("DISPLAY", QByteArray::fromStdString(x.display()));
  qputenv("QT_QPA_PLATFORM", "xcb");
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.path()));
  int argc = 1;
  char name[] = "silent_wm_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  // The main window and four dialogs, each asking for its outer size before
  // its first showing, as placement does.
  std::vector<std::unique_ptr<QWidget>> windows;
  std::vector<qint64> asked;
  for (int i = 0; i < 5; ++i) {
    windows.push_back(std::make_unique<QWidget>());
    windows.back()->resize(200, 100);
    QElapsedTimer t;
    t.start();
    desktop::outerScreenSize(*windows.back());
    asked.push_back(t.elapsed());
    windows.back()->show();
  }
  // Openbox answers within a few milliseconds; a start may be slower than
  // under it by a tenth of a second at most.
  EXPECT_LT(asked[0], 100) << "the first window waited for an answer that never comes";
  for (std::size_t i = 1; i < asked.size(); ++i)
    EXPECT_LT(asked[i], 50) << "window " << i << " waited again";

  // A stored corner, the frame unknown: the window shows where it was put and
  // stays there once the manager tells a frame.
  store::IniStore store;
  ASSERT_TRUE(store.WriteString(QStringLiteral("common"), QStringLiteral("MainForm"),
                                QStringLiteral("200,0,1,100,80,302,202")));
  QWidget window;
  window.resize(200, 100);
  desktop::restoreWindowPosition(window, store);
  window.show();
  EXPECT_TRUE(waitQt([&] { return window.windowHandle()->isExposed(); }));
  manager.tellFrame(window.winId(), {1, 1, 20, 1});
  EXPECT_TRUE(waitQt([&] { return desktop::knownScreenFrame(window).has_value(); }));
  QApplication::processEvents();
  EXPECT_EQ(window.geometry().topLeft(), QPoint(100, 80));
}

}  // namespace
}  // namespace quibbix::e2e
