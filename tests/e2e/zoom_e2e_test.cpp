// The zoom end to end: the real program on a private X server with a real
// window manager (Openbox) and a screen large enough for a threefold window.
// Pictures come from the server's framebuffer file, which is exactly what a
// monitor would show; input is real pointer and key events.

#include <gtest/gtest.h>

#include <QSettings>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "desktop/placement.h"
#include "dialogs/dialog_placement.h"
#include "game_driver.h"
#include "store/settings_store.h"
#include "store_reports.h"
#include "view/field_canvas.h"
#include "view/sheets.h"

namespace quibbix::e2e {
namespace {

const QSize kScreen(1600, 1200);

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
    x_ = std::make_unique<XServer>(tmp_.path(), /*windowManager=*/true, ScreenSetup{kScreen});
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
      x_->screen().save(QString::fromStdString("e2e-zoom-" + name + ".png"));
      // The game's own words (a sanitizer's report among them) say what the
      // screen cannot: a game that never showed a window.
      std::error_code ec;
      std::filesystem::copy_file(home_ + "/quibbix.log", "e2e-zoom-" + name + "-quibbix.log",
                                 std::filesystem::copy_options::overwrite_existing, ec);
    }
    game_.reset();
    x_.reset();
  }

  // A server with another screen in place of the first.
  void restartServer(const ScreenSetup& screen) {
    x_.reset();
    x_ = std::make_unique<XServer>(tmp_.path(), /*windowManager=*/true, screen);
  }

  // Off every window, so that no button shows the pointer over it.
  void pointerAside() { x_->moveTo(QPoint(x_->size().width() - 1, 0)); }

  void setting(const std::string& line) {
    std::ofstream(home_ + "/config/Zorvyplay/Quibbix/V2.ini", std::ios::app)
        << (lines_++ == 0 ? "[common]\n" : "") << line << "\n";
  }

  QString stored(const char* name) {
    store::IniStore store(
        quibbix::storetest::failOnReport(),
        quibbix::storetest::storeFileIn(QString::fromStdString(home_ + "/config")));
    return store.ReadString(QStringLiteral("common"), QString::fromLatin1(name), "?");
  }

  std::map<std::string, std::string> environment() {
    auto env = gameEnvironment(home_, x_->display());
    env.insert(env_.begin(), env_.end());
    return env;
  }

  // Starts the game at `zoom` and closes its splash; returns the main window.
  XWindow start(std::uint32_t seed, int zoom) {
    game_ = std::make_unique<Child>(
        std::vector<std::string>{QUIBBIX_PROGRAM, "--seed", std::to_string(seed), "--zoom",
                                 std::to_string(zoom)},
        environment(), home_ + "/quibbix.log");
    // The splash closes on a click, or by itself three seconds after the start,
    // which a busy machine may take to show it at all.
    const auto started = std::chrono::steady_clock::now();
    bool seen = false;
    EXPECT_TRUE(waitFor([&] {
      if (const auto splash = x_->find(kSplashTitle, kSplashSize * zoom)) {
        seen = true;
        x_->click(splash->rect.bottomRight() - QPoint(4, 4) * zoom);
        return false;
      }
      return seen || std::chrono::steady_clock::now() - started > 5s;
    })) << "the splash stays";
    const auto main = x_->waitWindow(kMainTitle, kMainSize * zoom);
    EXPECT_TRUE(main) << "no main window of " << kMainSize.width() * zoom << " x "
                      << kMainSize.height() * zoom;
    // The keys and the clicks go to the main window once the splash has given
    // the focus back; a click on the empty part of the tool bar takes it.
    if (main && x_->focus() != main->id) x_->click(main->rect.topLeft() + QPoint(250, 16) * zoom);
    EXPECT_TRUE(main && waitFor([&] { return x_->focus() == main->id; }))
        << "the main window takes no focus";
    pointerAside();
    return main.value_or(XWindow{});
  }

  QImage field(const XWindow& main, int zoom) {
    return x_->grab(
        QRect(main.rect.topLeft() + QPoint(0, kFieldTop * zoom), QSize(500, 333) * zoom));
  }

  // Every field pixel shows as a whole zoom x zoom block of one colour. (The
  // file can be read while a change is half written: looked at until seen.)
  bool exactBlocks(const XWindow& main, int zoom) {
    return waitFor([&] {
      const QImage now = field(main, zoom);
      return differences(now, replicated(sampled(now, zoom), zoom)) == 0;
    });
  }

  // A press on the last screen pixel of each zone's last field pixel takes
  // that zone's crate, and a press on the first screen pixel of the next field
  // pixel the next zone's: the zones end at field x 113, 189, 265 and 341.
  void pressZoneEdges(const XWindow& main, int zoom) {
    const QPoint field = main.rect.topLeft() + QPoint(0, kFieldTop * zoom);
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
      x_->moveTo(field + QPoint(c.screenX, 200 * zoom));
      x_->press();
      EXPECT_TRUE(waitFor([&] { return std::abs(board(main, zoom).hand(c.chute)) == top; }))
          << "no pick-up from chute " << c.chute;
      x_->release();
      EXPECT_TRUE(waitFor([&] { return board(main, zoom).hand(c.chute) == 0; })) << "no drop";
    }
  }

  // The board as the engine sees it, read from the enlarged screen.
  Board board(const XWindow& main, int zoom) {
    return reader_.board(sampled(field(main, zoom), zoom));
  }

  // A tool button takes a click once the pointer is seen over it: it shows a
  // raised frame then. A click at once with the move can go missing.
  void clickButton(const XWindow& main, int left, int zoom) {
    const QRect area(main.rect.topLeft() + QPoint(left, 4) * zoom, QSize(25, 25) * zoom);
    const QImage before = x_->grab(area);
    x_->moveTo(area.center());
    EXPECT_TRUE(waitFor([&] { return differences(x_->grab(area), before) != 0; }))
        << "the button does not light up under the pointer";
    x_->press();
    x_->release();
  }

  // The question the exit button asks, as it shows; answered with `key`.
  QImage ask(const XWindow& main, int zoom, const std::string& key) {
    clickButton(main, kExitBtn, zoom);
    const auto question = x_->waitWindow(kMessageTitle, kMessageSize * zoom);
    if (!question) {
      ADD_FAILURE() << "closing asks no question";
      return {};
    }
    // The dialog is centred over the main window in screen pixels; a window
    // lands on whole logical pixels, so up to zoom - 1 screen pixels off, and
    // Qt counts the frame (1 screen pixel wide) in half logical pixels.
    EXPECT_NEAR(question->frame.left(),
                dialogs::dialogPosition(main.frame, main.rect.height(), question->frame.size()).x(),
                zoom);
    pointerAside();
    EXPECT_TRUE(waitFor([&] { return x_->focus() == question->id; }));
    // Mapped and focused is not yet painted: until the dialog's first paint
    // the server shows what lay beneath it. Its light face at the corner,
    // held still for two looks, is the dialog drawn.
    QImage shown;
    EXPECT_TRUE(waitFor([&] {
      const QImage now = x_->grab(question->rect);
      const QRgb corner = now.pixel(2 * zoom, 2 * zoom);
      const bool drawn = qRed(corner) > 0xc0 && qGreen(corner) > 0xc0 && qBlue(corner) > 0xc0;
      const bool still = drawn && !shown.isNull() && differences(now, shown) == 0;
      shown = drawn ? now : QImage();
      return still;
    })) << "the question is never drawn";
    x_->key(*question, key);
    EXPECT_TRUE(waitFor([&] { return !x_->find(kMessageTitle, kMessageSize * zoom); }));
    return shown;
  }

  // The exit button, then the question answered with Return; the game ends.
  void quit(const XWindow& main, int zoom) {
    clickButton(main, kExitBtn, zoom);
    const auto question = x_->waitWindow(kMessageTitle, kMessageSize * zoom);
    ASSERT_TRUE(question) << "closing asks no question";
    // The dialog is centred over the main window in screen pixels; a window
    // lands on whole logical pixels, so up to zoom - 1 screen pixels off, and
    // Qt counts the frame (1 screen pixel wide) in half logical pixels.
    EXPECT_NEAR(question->frame.left(),
                dialogs::dialogPosition(main.frame, main.rect.height(), question->frame.size()).x(),
                zoom);
    pointerAside();
    ASSERT_TRUE(waitFor([&] { return x_->focus() == question->id; }));
    x_->key(*question, "Return");
    ASSERT_TRUE(game_->waitExit()) << "the game does not end";
    EXPECT_EQ(game_->exitCode(), 0);
  }

  TempDir tmp_;
  std::unique_ptr<XServer> x_;
  std::string home_;
  std::map<std::string, std::string> env_;  // for the game, beside the usual
  int lines_ = 0;
  std::unique_ptr<Child> game_;
  CrateReader reader_;
};

TEST_F(Zoom, KeysEnlargeEveryPixelToABlockAndTheChoiceIsStored) {
  XWindow main = start(findLowSeed(1), 1);
  // A dialog seen once at 1, to be seen again at 2 below.
  const QImage questionAtOne = ask(main, 1, "Escape");
  // Paused, the field holds still, so that every zoom shows the same picture.
  // Once the game runs (its field changes by itself), the pause button takes.
  const QImage first = field(main, 1);
  ASSERT_TRUE(waitFor([&] { return differences(field(main, 1), first) != 0; }))
      << "the game does not run";
  clickButton(main, kPauseBtn, 1);
  const QPoint labelCorner = kPauseTextRect.topLeft() + QPoint(1, 1 - kFieldTop);
  ASSERT_TRUE(waitFor([&] { return (field(main, 1).pixel(labelCorner) & 0xffffffu) == 0; }))
      << "no pause text";
  pointerAside();
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
    x_->key(main, "ctrl+equal");
    const auto grown = x_->waitWindow(kMainTitle, kMainSize * zoom);
    ASSERT_TRUE(grown) << "Ctrl+= does not enlarge the window";
    main = *grown;
    const QRect textAtZoom(text.topLeft() * zoom, text.size() * zoom);
    EXPECT_TRUE(waitFor([&] {
      return differences(field(main, zoom), replicated(reference, zoom), textAtZoom) == 0;
    })) << "the field is not the exact enlargement";
  }
  // Once more: the screen leaves no room for a fourfold window.
  x_->key(main, "ctrl+equal");
  x_->key(main, "ctrl+minus");
  ASSERT_TRUE(x_->waitWindow(kMainTitle, kMainSize * 2)) << "Ctrl+- does not shrink the window";
  x_->key(main, "ctrl+0");
  ASSERT_TRUE(x_->waitWindow(kMainTitle, kMainSize)) << "Ctrl+0 does not follow the desktop (1)";
  x_->key(main, "ctrl+equal");
  main = x_->waitWindow(kMainTitle, kMainSize * 2).value_or(XWindow{});
  ASSERT_NE(main.id, 0u);

  // The dialog drawn before the change fills its enlarged window the same way;
  // only its text may differ, drawn with sharper glyphs.
  const QImage questionAtTwo = ask(main, 2, "Escape");
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
  const XWindow main = start(findLowSeed(1), zoom);
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
  if (desktop.dpi != 0) x_->setDpi(desktop.dpi);
  if (desktop.scaleFactors != nullptr) env_["QT_SCREEN_SCALE_FACTORS"] = desktop.scaleFactors;
  const XWindow main = start(findLowSeed(1), desktop.zoom);
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
  restartServer(ScreenSetup{screens, 0, 0, /*twoMonitors=*/true});
  env_["QT_SCREEN_SCALE_FACTORS"] = "1.25;1.75";
  setting("MainForm=\"200,0,1,100,100,1102,853\"");
  const int zoom = 2;
  const XWindow left = start(findLowSeed(1), zoom);
  ASSERT_LT(left.frame.right(), screens.width() / 2) << "the game does not start on the left";
  EXPECT_TRUE(exactBlocks(left, zoom));

  // Moved by a request to the window manager, as a pager or a keyboard move
  // does. (A title bar drag through XTest loses Openbox's grip after a few
  // hundred pixels here.)
  x_->moveWindow(left, QPoint(screens.width() / 2 + 300, 100));
  std::optional<XWindow> right;
  ASSERT_TRUE(waitFor([&] {
    right = x_->find(kMainTitle, kMainSize * zoom);
    return right && right->frame.left() >= screens.width() / 2;
  })) << "no window of "
      << kMainSize.width() * zoom << " x " << kMainSize.height() * zoom << " on the right";
  pointerAside();
  EXPECT_TRUE(exactBlocks(*right, zoom)) << "the field is not made of whole blocks";
  pressZoneEdges(*right, zoom);
}

TEST_F(Zoom, ACarryAtThreeScoresATriple) {
  const int zoom = 3;
  const TripleOffer offer = findTripleSeed(1);
  const XWindow main = start(offer.seed, zoom);
  const auto over = [&](int chute) {
    return main.rect.topLeft() + QPoint(45 + 76 * chute + 27, kFieldTop + 200) * zoom;
  };
  x_->moveTo(over(offer.from));
  x_->press();
  ASSERT_TRUE(waitFor([&] { return board(main, zoom).hand(offer.from) != 0; })) << "no pick-up";
  x_->moveTo(over(offer.onto));
  EXPECT_TRUE(waitFor([&] { return board(main, zoom).hand(offer.onto) != 0; }))
      << "the hand does not follow";
  x_->release();
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
  XWindow main = start(findLowSeed(1), 2);
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
