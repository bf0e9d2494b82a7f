// The zoom end to end: the real program on a private X server with a real
// window manager (Openbox) and a screen large enough for a threefold window.
// Pictures come from the server's framebuffer file, which is exactly what a
// monitor would show; input is real pointer and key events through XTest.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <QtEndian>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "desktop/placement.h"
#include "dialogs/dialog_placement.h"
#include "game_driver.h"
#include "store/settings_store.h"
#include "view/field_canvas.h"
#include "view/sheets.h"

// Last: Xlib's macros (Bool, Status, None) clash with Qt's and GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

namespace quibbix::e2e {
namespace {

const QSize kScreen(1600, 1200);

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::string pathVariable() {
  const char* path = std::getenv("PATH");
  return path != nullptr ? path : "/usr/bin:/bin";
}

// A top-level window as the player sees it: its client area and the window
// manager's frame around it, in screen pixels.
struct Shown {
  Window id = 0;
  QRect client;
  QRect frame;
};

// Xvfb with a framebuffer file and Openbox on it.
class Desk {
 public:
  explicit Desk(const std::string& dir, QSize screen = kScreen) : dir_(dir), size_(screen) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    server_ = std::make_unique<Child>(
        std::vector<std::string>{
            "Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
            std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24",
            "-fbdir", dir, "-nolisten", "tcp"},
        std::map<std::string, std::string>{{"PATH", pathVariable()}}, dir + "/xvfb.log", fds[1]);
    close(fds[1]);
    std::string number;
    char c = 0;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, static_cast<int>(kTimeout.count())) > 0 && read(fds[0], &c, 1) == 1 &&
           c != '\n')
      number.push_back(c);
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not report its display");
    display_ = ":" + number;
    XSetErrorHandler(ignoreErrors);
    waitFor([this] { return (dpy_ = XOpenDisplay(display_.c_str())) != nullptr; });
    if (dpy_ == nullptr) throw std::runtime_error("cannot connect to " + display_);
    wm_ =
        std::make_unique<Child>(std::vector<std::string>{"openbox"},
                                std::map<std::string, std::string>{
                                    {"PATH", pathVariable()}, {"DISPLAY", display_}, {"HOME", dir}},
                                dir + "/openbox.log");
    const Atom check = XInternAtom(dpy_, "_NET_SUPPORTING_WM_CHECK", False);
    if (!waitFor([&] { return cardinals(DefaultRootWindow(dpy_), check, XA_WINDOW).size() == 1; }))
      throw std::runtime_error("openbox does not start");
    // Off every window, so that the framebuffer shows no pointer over one.
    moveTo(QPoint(size_.width() - 1, 0));
  }

  ~Desk() {
    wm_.reset();
    if (dpy_ != nullptr) XCloseDisplay(dpy_);
  }

  const std::string& display() const { return display_; }
  QSize size() const { return size_; }

  // The desktop's density as a desktop session sets it (xrdb's property),
  // read by every program that starts afterwards. The server keeps it while
  // this connection holds it open.
  void setDpi(int dpi) {
    const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
    XChangeProperty(dpy_, DefaultRootWindow(dpy_), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(dpy_, False);
  }

  // The screen as two monitors side by side, left and right half, as a
  // desktop with two of them arranges them.
  void splitIntoMonitors() {
    const Window root = DefaultRootWindow(dpy_);
    XRRScreenResources* resources = XRRGetScreenResources(dpy_, root);
    for (int i = 0; i < 2; ++i) {
      // The left one takes the server's only output, which would otherwise
      // stand for a third monitor spanning both.
      XRRMonitorInfo* m = XRRAllocateMonitor(dpy_, i == 0 && resources->noutput > 0 ? 1 : 0);
      m->name = XInternAtom(dpy_, i == 0 ? "LEFT" : "RIGHT", False);
      m->primary = i == 0;
      m->x = i * size_.width() / 2;
      m->y = 0;
      m->width = size_.width() / 2;
      m->height = size_.height();
      m->mwidth = m->width / 4;
      m->mheight = m->height / 4;
      if (m->noutput > 0) m->outputs[0] = resources->outputs[0];
      XRRSetMonitor(dpy_, root, m);
      XRRFreeMonitors(m);
    }
    XRRFreeScreenResources(resources);
    XSync(dpy_, False);
  }

  // The mapped window of that title and client size, if there is one.
  std::optional<Shown> find(const QString& title, QSize size) {
    std::optional<Shown> found;
    walk(DefaultRootWindow(dpy_), [&](Window w) {
      XWindowAttributes a;
      if (found || !XGetWindowAttributes(dpy_, w, &a) || a.map_state != IsViewable) return;
      if (QSize(a.width, a.height) != size || name(w) != title) return;
      // Openbox shows a new window on the root for a moment before it puts it
      // into its frame (see x_harness.cpp): read then, the window would be
      // one frame size away from where it is shown a moment later.
      Window root = 0, parent = 0, *children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(dpy_, w, &root, &parent, &children, &count)) return;
      if (children) XFree(children);
      if (parent == root) return;
      int x = 0, y = 0;
      Window child = 0;
      XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
      Shown s{w, QRect(x, y, a.width, a.height), {}};
      const auto extents =
          cardinals(w, XInternAtom(dpy_, "_NET_FRAME_EXTENTS", False), XA_CARDINAL);
      s.frame = extents.size() == 4
                    ? s.client.marginsAdded(
                          QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                                   static_cast<int>(extents[1]), static_cast<int>(extents[3])))
                    : s.client;
      found = s;
    });
    return found;
  }

  std::optional<Shown> wait(const QString& title, QSize size) {
    std::optional<Shown> s;
    waitFor([&] { return (s = find(title, size)).has_value(); });
    return s;
  }

  // The screen as the monitor shows it.
  QImage screen() {
    QFile file(QString::fromStdString(dir_ + "/Xvfb_screen0"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray xwd = file.readAll();
    const auto field = [&](int i) { return qFromBigEndian<quint32>(xwd.constData() + 4 * i); };
    // The XWD header: its size, then width (4), height (5), bytes per line (12)
    // and colour map entries (19); 32-bit pixels, blue first.
    const quint32 headerSize = field(0), width = field(4), height = field(5), line = field(12);
    const quint32 pixels = headerSize + field(19) * 12;
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (xwd.size() < static_cast<qsizetype>(pixels + line * height)) return {};
    for (quint32 y = 0; y < height; ++y)
      memcpy(image.scanLine(static_cast<int>(y)), xwd.constData() + pixels + y * line, width * 4);
    return image;
  }

  // Asks the window manager to put the client's corner at `corner`.
  void moveClient(Window w, QPoint corner) {
    XMoveWindow(dpy_, w, corner.x(), corner.y());
    XSync(dpy_, False);
  }

  void moveTo(QPoint p) {
    XTestFakeMotionEvent(dpy_, 0, p.x(), p.y(), CurrentTime);
    XSync(dpy_, False);
  }
  void button(bool down) {
    XTestFakeButtonEvent(dpy_, 1, down ? True : False, CurrentTime);
    XSync(dpy_, False);
  }
  void click(QPoint p) {
    moveTo(p);
    button(true);
    button(false);
  }
  void key(KeySym sym, bool control = false) {
    const KeyCode ctrl = XKeysymToKeycode(dpy_, XK_Control_L);
    const KeyCode code = XKeysymToKeycode(dpy_, sym);
    if (control) XTestFakeKeyEvent(dpy_, ctrl, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
    if (control) XTestFakeKeyEvent(dpy_, ctrl, False, CurrentTime);
    XSync(dpy_, False);
  }
  Window focus() {
    Window w = 0;
    int revert = 0;
    XGetInputFocus(dpy_, &w, &revert);
    return w;
  }

 private:
  template <typename F>
  void walk(Window w, const F& visit) {
    visit(w);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy_, w, &root, &parent, &children, &n)) return;
    for (unsigned int i = 0; i < n; ++i) walk(children[i], visit);
    if (children != nullptr) XFree(children);
  }

  QString name(Window w) {
    char* text = nullptr;
    if (!XFetchName(dpy_, w, &text) || text == nullptr) return {};
    const QString s = QString::fromUtf8(text);
    XFree(text);
    return s;
  }

  std::vector<unsigned long> cardinals(Window w, Atom property, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(dpy_, w, property, 0, 16, False, type, &actual, &format, &items, &after,
                           &data) == Success &&
        data != nullptr && format == 32) {
      const auto* values = reinterpret_cast<const unsigned long*>(data);
      out.assign(values, values + items);
    }
    if (data != nullptr) XFree(data);
    return out;
  }

  std::string dir_;
  QSize size_;
  std::unique_ptr<Child> server_;
  std::unique_ptr<Child> wm_;
  Display* dpy_ = nullptr;
  std::string display_;
};

// Each pixel of `small` as a zoom x zoom block.
QImage replicated(const QImage& small, int zoom) {
  return small.scaled(small.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Every zoom-th pixel: the logical picture behind an exactly enlarged one.
QImage sampled(const QImage& big, int zoom) {
  QImage out(big.size() / zoom, QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, big.pixel(x * zoom, y * zoom));
  return out;
}

// Pixels that differ outside `skip`.
int differences(const QImage& a, const QImage& b, const QRect& skip = {}) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (!skip.contains(x, y) && (a.pixel(x, y) & 0xffffffu) != (b.pixel(x, y) & 0xffffffu)) ++n;
  return n;
}

QImage expectedScoreboard(int level, int score) {
  view::FieldCanvas canvas(view::Sheets::load());
  canvas.drawBackground();
  canvas.drawScoreboard(level, score);
  return canvas.image().copy(kScoreboardRect);
}

class Zoom : public testing::Test {
 protected:
  void SetUp() override {
    desk_ = std::make_unique<Desk>(tmp_.path());
    home_ = tmp_.path() + "/home";
    std::filesystem::create_directories(home_ + "/config/Zorvyplay/Quibbix");
    std::filesystem::create_directories(home_ + "/runtime");
    std::filesystem::permissions(home_ + "/runtime", std::filesystem::perms::owner_all);
    // English chosen before: a start shows only the splash.
    setting("tongue=0");
  }

  void TearDown() override {
    if (HasFailure()) {
      std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
      std::replace(name.begin(), name.end(), '/', '-');
      desk_->screen().save(QString::fromStdString("e2e-zoom-" + name + ".png"));
    }
    game_.reset();
    desk_.reset();
  }

  // A desk of another size in place of the first.
  void restartDesk(QSize screen) {
    desk_.reset();
    desk_ = std::make_unique<Desk>(tmp_.path(), screen);
  }

  void setting(const std::string& line) {
    std::ofstream(home_ + "/config/Zorvyplay/Quibbix/V2.ini", std::ios::app)
        << (lines_++ == 0 ? "[common]\n" : "") << line << "\n";
  }

  QString stored(const char* name) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(home_ + "/config"));
    store::IniStore store([](const QString& error) { ADD_FAILURE() << error.toStdString(); });
    return store.ReadString(QStringLiteral("common"), QString::fromLatin1(name), "?");
  }

  std::map<std::string, std::string> environment() {
    auto env = gameEnvironment(home_, desk_->display());
    env.insert(env_.begin(), env_.end());
    return env;
  }

  // Starts the game at `zoom` and closes its splash; returns the main window.
  Shown start(std::uint32_t seed, int zoom) {
    game_ = std::make_unique<Child>(
        std::vector<std::string>{QUIBBIX_PROGRAM, "--seed", std::to_string(seed), "--zoom",
                                 std::to_string(zoom)},
        environment(), home_ + "/quibbix.log");
    // The splash closes on a click, or by itself three seconds after the start,
    // which a busy machine may take to show it at all.
    const auto started = std::chrono::steady_clock::now();
    bool seen = false;
    EXPECT_TRUE(waitFor([&] {
      if (const auto splash = desk_->find(kSplashTitle, kSplashSize * zoom)) {
        seen = true;
        desk_->click(splash->client.bottomRight() - QPoint(4, 4) * zoom);
        return false;
      }
      return seen || std::chrono::steady_clock::now() - started > 5s;
    })) << "the splash stays";
    const auto main = desk_->wait(kMainTitle, kMainSize * zoom);
    EXPECT_TRUE(main) << "no main window of " << kMainSize.width() * zoom << " x "
                      << kMainSize.height() * zoom;
    // The keys and the clicks go to the main window once the splash has given
    // the focus back; a click on the empty part of the tool bar takes it.
    if (main && desk_->focus() != main->id)
      desk_->click(main->client.topLeft() + QPoint(250, 16) * zoom);
    EXPECT_TRUE(main && waitFor([&] { return desk_->focus() == main->id; }))
        << "the main window takes no focus";
    desk_->moveTo(QPoint(desk_->size().width() - 1, 0));
    return main.value_or(Shown{});
  }

  QImage field(const Shown& main, int zoom) {
    return desk_->screen().copy(
        QRect(main.client.topLeft() + QPoint(0, kFieldTop * zoom), QSize(500, 333) * zoom));
  }

  // Every field pixel shows as a whole zoom x zoom block of one colour. (The
  // file can be read while a change is half written: looked at until seen.)
  bool exactBlocks(const Shown& main, int zoom) {
    return waitFor([&] {
      const QImage now = field(main, zoom);
      return differences(now, replicated(sampled(now, zoom), zoom)) == 0;
    });
  }

  // A press on the last screen pixel of each zone's last field pixel takes
  // that zone's crate, and a press on the first screen pixel of the next field
  // pixel the next zone's: the zones end at field x 113, 189, 265 and 341.
  void pressZoneEdges(const Shown& main, int zoom) {
    const QPoint field = main.client.topLeft() + QPoint(0, kFieldTop * zoom);
    struct Case {
      int screenX;
      int chute;
    };
    std::vector<Case> cases;
    const int ends[] = {113, 189, 265, 341};
    for (int chute = 0; chute < 4; ++chute) {
      cases.push_back({(ends[chute] + 1) * zoom - 1, chute});
      if (chute < 3) cases.push_back({(ends[chute] + 1) * zoom, chute + 1});
    }
    for (const Case& c : cases) {
      SCOPED_TRACE(c.screenX);
      Board before;
      ASSERT_TRUE(waitFor([&] { return (before = board(main, zoom)).complete(); }));
      const int top = std::abs(before.fromTop(c.chute, 0));
      ASSERT_NE(top, 0) << "chute " << c.chute << " is empty";
      desk_->moveTo(field + QPoint(c.screenX, 200 * zoom));
      desk_->button(true);
      EXPECT_TRUE(waitFor([&] { return std::abs(board(main, zoom).hand(c.chute)) == top; }))
          << "no pick-up from chute " << c.chute;
      desk_->button(false);
      // Off the field: the pointer, drawn into the framebuffer, grows with
      // the desktop's dpi and would hide crates from the next reading.
      desk_->moveTo(QPoint(desk_->size().width() - 1, 0));
      EXPECT_TRUE(waitFor([&] { return board(main, zoom).hand(c.chute) == 0; })) << "no drop";
    }
  }

  // The board as the engine sees it, read from the enlarged screen.
  Board board(const Shown& main, int zoom) {
    return reader_.board(sampled(field(main, zoom), zoom));
  }

  // A tool button takes a click once the pointer is seen over it: it shows a
  // raised frame then. A click at once with the move can go missing.
  void clickButton(const Shown& main, int left, int zoom) {
    const QRect area(main.client.topLeft() + QPoint(left, 4) * zoom, QSize(25, 25) * zoom);
    const QImage before = desk_->screen().copy(area);
    desk_->moveTo(area.center());
    EXPECT_TRUE(waitFor([&] { return differences(desk_->screen().copy(area), before) != 0; }))
        << "the button does not light up under the pointer";
    desk_->button(true);
    desk_->button(false);
  }

  // The exit button, then the question answered with Return; the game ends.
  // The question the exit button asks, as it shows; answered with `key`.
  QImage ask(const Shown& main, int zoom, KeySym key) {
    clickButton(main, kExitBtn, zoom);
    const auto question = desk_->wait(kMessageTitle, kMessageSize * zoom);
    if (!question) {
      ADD_FAILURE() << "closing asks no question";
      return {};
    }
    // The dialog is centred over the main window in screen pixels; a window
    // lands on whole logical pixels, so up to zoom - 1 screen pixels off, and
    // Qt counts the frame (1 screen pixel wide) in half logical pixels.
    EXPECT_NEAR(
        question->frame.left(),
        dialogs::dialogPosition(main.frame, main.client.height(), question->frame.size()).x(),
        zoom);
    desk_->moveTo(QPoint(desk_->size().width() - 1, 0));
    EXPECT_TRUE(waitFor([&] { return desk_->focus() == question->id; }));
    // Mapped and focused is not yet painted: until the dialog's first paint
    // the server shows what lay beneath it. Its light face at the corner,
    // held still for two looks, is the dialog drawn.
    QImage shown;
    EXPECT_TRUE(waitFor([&] {
      const QImage now = desk_->screen().copy(question->client);
      const QRgb corner = now.pixel(2 * zoom, 2 * zoom);
      const bool drawn = qRed(corner) > 0xc0 && qGreen(corner) > 0xc0 && qBlue(corner) > 0xc0;
      const bool still = drawn && !shown.isNull() && differences(now, shown) == 0;
      shown = drawn ? now : QImage();
      return still;
    })) << "the question is never drawn";
    desk_->key(key);
    EXPECT_TRUE(waitFor([&] { return !desk_->find(kMessageTitle, kMessageSize * zoom); }));
    return shown;
  }

  void quit(const Shown& main, int zoom) {
    clickButton(main, kExitBtn, zoom);
    const auto question = desk_->wait(kMessageTitle, kMessageSize * zoom);
    ASSERT_TRUE(question) << "closing asks no question";
    // The dialog is centred over the main window in screen pixels; a window
    // lands on whole logical pixels, so up to zoom - 1 screen pixels off, and
    // Qt counts the frame (1 screen pixel wide) in half logical pixels.
    EXPECT_NEAR(
        question->frame.left(),
        dialogs::dialogPosition(main.frame, main.client.height(), question->frame.size()).x(),
        zoom);
    desk_->moveTo(QPoint(desk_->size().width() - 1, 0));
    ASSERT_TRUE(waitFor([&] { return desk_->focus() == question->id; }));
    desk_->key(XK_Return);
    ASSERT_TRUE(game_->waitExit()) << "the game does not end";
    EXPECT_EQ(game_->exitCode(), 0);
  }

  TempDir tmp_;
  std::unique_ptr<Desk> desk_;
  std::string home_;
  std::map<std::string, std::string> env_;  // for the game, beside the usual
  int lines_ = 0;
  std::unique_ptr<Child> game_;
  CrateReader reader_;
};

TEST_F(Zoom, KeysEnlargeEveryPixelToABlockAndTheChoiceIsStored) {
  Shown main = start(findLowSeed(1), 1);
  // A dialog seen once at 1, to be seen again at 2 below.
  const QImage questionAtOne = ask(main, 1, XK_Escape);
  // Paused, the field holds still, so that every zoom shows the same picture.
  // Once the game runs (its field changes by itself), the pause button takes.
  const QImage first = field(main, 1);
  ASSERT_TRUE(waitFor([&] { return differences(field(main, 1), first) != 0; }))
      << "the game does not run";
  clickButton(main, kPauseBtn, 1);
  const QPoint labelCorner = kPauseTextRect.topLeft() + QPoint(1, 1 - kFieldTop);
  ASSERT_TRUE(waitFor([&] { return (field(main, 1).pixel(labelCorner) & 0xffffffu) == 0; }))
      << "no pause text";
  desk_->moveTo(QPoint(desk_->size().width() - 1, 0));
  QImage reference;
  ASSERT_TRUE(waitFor([&] {
    const QImage now = field(main, 1);
    const bool still = !reference.isNull() && differences(now, reference) == 0;
    reference = now;
    return still;
  })) << "the paused field does not hold still";
  // The pause text is text: Qt draws it with the sharper glyphs a zoom allows.
  const QRect text = kPauseTextRect.translated(0, -kFieldTop);

  for (int zoom : {2, 3}) {
    SCOPED_TRACE(zoom);
    desk_->key(XK_equal, true);
    const auto grown = desk_->wait(kMainTitle, kMainSize * zoom);
    ASSERT_TRUE(grown) << "Ctrl+= does not enlarge the window";
    main = *grown;
    const QRect textAtZoom(text.topLeft() * zoom, text.size() * zoom);
    EXPECT_TRUE(waitFor([&] {
      return differences(field(main, zoom), replicated(reference, zoom), textAtZoom) == 0;
    })) << "the field is not the exact enlargement";
  }
  // The screen leaves no room for a fourfold window.
  desk_->key(XK_plus, true);
  desk_->key(XK_minus, true);
  ASSERT_TRUE(desk_->wait(kMainTitle, kMainSize * 2)) << "Ctrl+- does not shrink the window";
  desk_->key(XK_0, true);
  ASSERT_TRUE(desk_->wait(kMainTitle, kMainSize)) << "Ctrl+0 does not follow the desktop (1)";
  desk_->key(XK_equal, true);
  main = desk_->wait(kMainTitle, kMainSize * 2).value_or(Shown{});
  ASSERT_NE(main.id, 0u);

  // The dialog drawn before the change fills its enlarged window the same way;
  // only its text may differ, drawn with sharper glyphs.
  const QImage questionAtTwo = ask(main, 2, XK_Escape);
  ASSERT_FALSE(questionAtTwo.isNull());
  EXPECT_LT(differences(sampled(questionAtTwo, 2), questionAtOne), kMessageSize.width() * 20)
      << "the dialog is not drawn as at 1";

  quit(main, 2);
  EXPECT_EQ(stored("zoom"), "2");
  EXPECT_EQ(stored("MainForm"), desktop::formatPlacement(main.frame));
}

TEST_F(Zoom, PressesAtTwoKeepEveryZoneBoundary) {
  // Field x 113 (chute 0) covers screen x 226 and 227; 114 (chute 1) starts at 228.
  const int zoom = 2;
  const Shown main = start(findLowSeed(1), zoom);
  pressZoneEdges(main, zoom);
}

// Desktops whose ratio Qt would not turn into exactly the zoom by itself.
struct Desktop {
  const char* name;
  int dpi;  // Xft.dpi, or 0 for none
  const char* scaleFactors;
  int zoom;
};

void PrintTo(const Desktop& desktop, std::ostream* out) { *out << desktop.name; }

class ZoomOnDesktop : public Zoom, public testing::WithParamInterface<Desktop> {};

TEST_P(ZoomOnDesktop, BlocksAreExactAndPressesKeepEveryZoneBoundary) {
  const Desktop& desktop = GetParam();
  if (desktop.dpi != 0) desk_->setDpi(desktop.dpi);
  if (desktop.scaleFactors != nullptr) env_["QT_SCREEN_SCALE_FACTORS"] = desktop.scaleFactors;
  const Shown main = start(findLowSeed(1), desktop.zoom);
  EXPECT_TRUE(exactBlocks(main, desktop.zoom)) << "the field is not made of whole blocks";
  pressZoneEdges(main, desktop.zoom);
}

std::string nameOf(const testing::TestParamInfo<Desktop>& desktop) { return desktop.param.name; }

INSTANTIATE_TEST_SUITE_P(Ratios, ZoomOnDesktop,
                         testing::Values(Desktop{"Dpi263AtThree", 263, nullptr, 3},
                                         Desktop{"Dpi121AtThree", 121, nullptr, 3},
                                         Desktop{"Dpi163AtTwo", 163, nullptr, 2},
                                         Desktop{"Factor175AtThree", 0, "1.75", 3}),
                         nameOf);

TEST_F(Zoom, AWindowMovedOntoAScreenOfAnotherRatioKeepsItsBlocks) {
  // Two monitors side by side, the right one denser than the left.
  const QSize screens(3200, 1200);
  restartDesk(screens);
  desk_->splitIntoMonitors();
  env_["QT_SCREEN_SCALE_FACTORS"] = "1.25;1.75";
  setting("MainForm=\"200,0,1,100,100,1102,853\"");
  const int zoom = 2;
  const Shown left = start(findLowSeed(1), zoom);
  ASSERT_LT(left.frame.right(), screens.width() / 2) << "the game does not start on the left";
  EXPECT_TRUE(exactBlocks(left, zoom));

  // Moved by a request to the window manager, as a pager or a keyboard move
  // does. (A title bar drag through XTest loses Openbox's grip after a few
  // hundred pixels here.)
  desk_->moveClient(left.id, QPoint(screens.width() / 2 + 300, 100));
  std::optional<Shown> right;
  ASSERT_TRUE(waitFor([&] {
    right = desk_->find(kMainTitle, kMainSize * zoom);
    return right && right->frame.left() >= screens.width() / 2;
  })) << "no window of "
      << kMainSize.width() * zoom << " x " << kMainSize.height() * zoom << " on the right";
  desk_->moveTo(QPoint(screens.width() - 1, 0));
  EXPECT_TRUE(exactBlocks(*right, zoom)) << "the field is not made of whole blocks";
  pressZoneEdges(*right, zoom);
}

TEST_F(Zoom, ACarryAtThreeScoresATriple) {
  const int zoom = 3;
  const TripleOffer offer = findTripleSeed(1);
  const Shown main = start(offer.seed, zoom);
  const auto over = [&](int chute) {
    return main.client.topLeft() + QPoint(45 + 76 * chute + 27, kFieldTop + 200) * zoom;
  };
  desk_->moveTo(over(offer.from));
  desk_->button(true);
  ASSERT_TRUE(waitFor([&] { return board(main, zoom).hand(offer.from) != 0; })) << "no pick-up";
  desk_->moveTo(over(offer.onto));
  EXPECT_TRUE(waitFor([&] { return board(main, zoom).hand(offer.onto) != 0; }))
      << "the hand does not follow";
  desk_->button(false);
  const QImage three = expectedScoreboard(1, 3);
  EXPECT_TRUE(waitFor([&] {
    return differences(sampled(field(main, zoom), zoom).copy(kScoreboardRect), three) == 0;
  })) << "the scoreboard does not show score 3";
}

TEST_F(Zoom, ThePlaceIsKeptInScreenPixelsAcrossZooms) {
  const auto storedCorner = [&] {
    const QStringList f = stored("MainForm").split(QLatin1Char(','));
    return f.size() == 7 ? QPoint(f[3].toInt(), f[4].toInt()) : QPoint(-1, -1);
  };
  setting("MainForm=\"200,0,1,300,200,1302,953\"");
  // At 2 a window reaches every second screen pixel only: the frame lands on
  // the stored corner or at most one pixel above and left of it.
  Shown main = start(findLowSeed(1), 2);
  const QPoint corner = main.frame.topLeft();
  EXPECT_TRUE(QRect(299, 199, 2, 2).contains(corner)) << corner.x() << "," << corner.y();
  quit(main, 2);
  EXPECT_EQ(storedCorner(), corner);
  // Closed at 2, the frame opens at 1 where it was, and the reverse.
  main = start(findLowSeed(1), 1);
  EXPECT_EQ(main.frame.topLeft(), corner);
  quit(main, 1);
  EXPECT_EQ(storedCorner(), corner);
  main = start(findLowSeed(1), 2);
  EXPECT_EQ(main.frame.topLeft(), corner);
  quit(main, 2);
  EXPECT_EQ(storedCorner(), corner);
}

}  // namespace
}  // namespace quibbix::e2e

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
