// The game under window managers that frame, place and focus windows in other
// ways than Openbox: the stand-ins of tests/support/fake_wm.cpp, one like KWin
// (no frame requests, the frame put where the client asked) and one like
// fluxbox (frame requests promised and never answered), and Openbox itself.
// QUIBBIX_TEST_WM names one manager to run them under instead (the desktop
// matrix runs them under each real one).

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "dialogs/dialog_placement.h"
#include "game_driver.h"
#include "store/settings_store.h"
#include "store_reports.h"

namespace quibbix::e2e {
namespace {

std::vector<std::string> managers() {
  if (const char* chosen = std::getenv("QUIBBIX_TEST_WM"); chosen != nullptr && *chosen != '\0')
    return {chosen};
  return {"fake-kwin", "fake-fluxbox", "openbox"};
}

class Desktop : public testing::TestWithParam<std::string> {
 protected:
  void start(const ScreenSetup& setup = {}) {
    ScreenSetup screen = setup;
    screen.windowManager = GetParam();
    x_ = std::make_unique<XServer>(tmp_.path(), true, screen);
    home_ = tmp_.path() + "/home";
    std::filesystem::create_directories(home_ + "/config/Zorvyplay/Quibbix");
  }

  void TearDown() override {
    if (HasFailure() && x_) {
      std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
      std::replace(name.begin(), name.end(), '/', '-');
      x_->screen().save(QString::fromStdString("e2e-desktop-" + name + ".png"));
      std::error_code ec;
      std::filesystem::copy_file(home_ + "/quibbix.log", "e2e-desktop-" + name + "-quibbix.log",
                                 std::filesystem::copy_options::overwrite_existing, ec);
    }
    game_.reset();
    x_.reset();
  }

  // The settings file as a player left it: English chosen, and these lines.
  void settings(const std::vector<std::string>& lines) {
    std::ofstream out(home_ + "/config/Zorvyplay/Quibbix/V2.ini", std::ios::trunc);
    out << "[common]\ntongue=0\n";
    for (const std::string& l : lines) out << l << "\n";
  }

  QString stored(const char* name) {
    store::IniStore store(
        quibbix::storetest::failOnReport(),
        quibbix::storetest::storeFileIn(QString::fromStdString(home_ + "/config")));
    return store.ReadString(QStringLiteral("common"), QString::fromLatin1(name),
                            QStringLiteral("?"));
  }

  // Starts the game; its placement messages go to its log.
  void launch(int zoom = 1) {
    std::filesystem::create_directories(home_ + "/runtime");
    std::filesystem::permissions(home_ + "/runtime", std::filesystem::perms::owner_all);
    std::filesystem::remove(home_ + "/quibbix.log");
    auto env = gameEnvironment(home_, x_->display());
    env["QT_LOGGING_RULES"] = "quibbix.placement.debug=true";
    game_ = std::make_unique<Child>(
        std::vector<std::string>{QUIBBIX_PROGRAM, "--seed", std::to_string(findLowSeed(1)),
                                 "--zoom", std::to_string(zoom)},
        env, home_ + "/quibbix.log");
  }

  // Every place the main window is seen at from its first showing until the
  // splash is up, then the splash closed with a click.
  std::vector<QRect> watchOpening(int zoom = 1) {
    std::vector<QRect> seen;
    std::optional<XWindow> splash;
    EXPECT_TRUE(waitFor([&] {
      if (const auto main = x_->find(kMainTitle, kMainSize * zoom))
        if (seen.empty() || seen.back() != main->frame) seen.push_back(main->frame);
      splash = x_->find(kSplashTitle, kSplashSize * zoom);
      return splash.has_value() && !seen.empty();
    })) << "no main window and splash";
    if (splash) {
      x_->click(splash->rect.bottomRight() - QPoint(4, 4) * zoom);
      EXPECT_TRUE(x_->waitGone(kSplashTitle, kSplashSize * zoom)) << "the splash stays";
    }
    return seen;
  }

  XWindow main(int zoom = 1) {
    const auto w = x_->waitWindow(kMainTitle, kMainSize * zoom);
    EXPECT_TRUE(w) << "no main window of zoom " << zoom;
    return w.value_or(XWindow{});
  }

  // The keyboard focus is on the main window: keys reach the board.
  bool focused(const XWindow& w) {
    return waitFor([&] { return x_->focus() == w.id; });
  }

  void quit(const XWindow& w) {
    x_->click(w.rect.topLeft() + toolButton(kExitBtn));
    const auto question = x_->waitWindow(kMessageTitle, kMessageSize);
    ASSERT_TRUE(question) << "closing asks no question";
    x_->key(*question, "Return");
    ASSERT_TRUE(game_->waitExit()) << "the game does not end";
    EXPECT_EQ(game_->exitCode(), 0);
  }

  // Milliseconds the game waited for the manager's frame answer, from its log.
  std::optional<long> frameWait() {
    std::ifstream log(home_ + "/quibbix.log");
    // QRegularExpression, not <regex>: GCC 12 warns inside <regex> in the sanitized build.
    const QRegularExpression mark(
        QStringLiteral(R"((\d+) ms: frame (asked for|answer for) 0x([0-9a-f]+))"));
    std::map<QString, long> askedAt;
    std::optional<long> longest;
    for (std::string line; std::getline(log, line);) {
      const QRegularExpressionMatch m = mark.match(QString::fromStdString(line));
      if (!m.hasMatch()) continue;
      const long at = m.captured(1).toLong();
      const QString window = m.captured(3);
      if (m.captured(2) == u"asked for")
        askedAt[window] = at;
      else if (askedAt.count(window) != 0)
        longest = std::max(longest.value_or(0), at - askedAt[window]);
    }
    return longest;
  }

  TempDir tmp_;
  std::unique_ptr<XServer> x_;
  std::string home_;
  std::unique_ptr<Child> game_;
};

// Up to zoom - 1 screen pixels above and left: a window lands on whole logical
// pixels at most.
void expectCornerKept(QPoint now, QPoint was, int zoom) {
  EXPECT_TRUE(QRect(was - QPoint(zoom - 1, zoom - 1), QSize(zoom, zoom)).contains(now))
      << "client at " << now.x() << "," << now.y() << ", was at " << was.x() << "," << was.y();
}

TEST_P(Desktop, ZoomRoundTripsKeepTheCornerAndTheStoredPlace) {
  start(ScreenSetup{QSize(1800, 1400)});
  settings({"MainForm=\"200,0,1,141,101,643,508\""});
  launch();
  watchOpening();
  XWindow w = main();
  quit(w);
  // What this manager's frame makes of the place, kept as the player's own.
  const QString before = stored("MainForm");
  launch();
  const std::vector<QRect> opening = watchOpening();
  w = main();
  EXPECT_EQ(opening.size(), 1u) << "the window was seen at more than one place";
  const QPoint client = w.rect.topLeft();
  ASSERT_TRUE(focused(w)) << "the main window has no focus after the splash";
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    for (const auto& [keys, zoom] : std::vector<std::pair<std::string, int>>{
             {"ctrl+equal", 2}, {"ctrl+equal", 3}, {"ctrl+minus", 2}, {"ctrl+minus", 1}}) {
      SCOPED_TRACE(keys + " to " + std::to_string(zoom));
      x_->key(w, keys);
      w = main(zoom);
      // The manager may take a moment to move the frame after the resize.
      EXPECT_TRUE(waitFor([&] {
        const auto now = x_->find(kMainTitle, kMainSize * zoom);
        return now && QRect(client - QPoint(zoom - 1, zoom - 1), QSize(zoom, zoom))
                          .contains(now->rect.topLeft());
      })) << "the window moved";
      w = main(zoom);
      expectCornerKept(w.rect.topLeft(), client, zoom);
    }
  }
  quit(w);
  EXPECT_EQ(stored("MainForm"), before);
}

TEST_P(Desktop, AStartWaitsForNoSilentManagerAndShowsAtOnePlace) {
  start();
  settings({});
  launch();
  const std::vector<QRect> opening = watchOpening();
  ASSERT_FALSE(opening.empty());
  EXPECT_EQ(opening.size(), 1u) << "the window was seen at more than one place";
  // Openbox answers in a few milliseconds; a manager that never answers may
  // cost a start no more than a tenth of a second more.
  const std::optional<long> waited = frameWait();
  if (waited) {
    EXPECT_LE(*waited, 100) << "waited " << *waited << " ms for the frame";
  }
  // Centred on the screen, frame and all, when the manager tells the frame in
  // time; one that does not leaves the game to take the frame it sees after
  // the first showing.
  const XWindow w = main();
  const QSize screen = x_->size();
  if (GetParam() == "openbox") {
    EXPECT_EQ(w.frame.topLeft(), QPoint((screen.width() - w.frame.width()) / 2,
                                        (screen.height() - w.frame.height()) / 2));
  }
  quit(w);
}

TEST_P(Desktop, DialogsLandOnTheirPlaceAtFirstShowingAndTheFocusComesBack) {
  // Room for the window at zoom 2 under every manager's frame.
  start(ScreenSetup{QSize(1280, 1024)});
  settings({"MainForm=\"200,0,1,200,150,702,557\""});
  launch();
  watchOpening();
  const XWindow w = main();
  EXPECT_TRUE(focused(w)) << "no focus on the main window after the splash";
  // The close question, at its first showing, and closed with Escape.
  x_->click(w.rect.topLeft() + toolButton(kExitBtn));
  std::optional<XWindow> question;
  ASSERT_TRUE(waitFor([&] {
    return (question = x_->find(kMessageTitle, kMessageSize)).has_value();
  })) << "closing asks no question";
  EXPECT_EQ(question->frame.topLeft(),
            dialogs::dialogPosition(w.frame, w.rect.height(), question->frame.size()))
      << "main frame " << w.frame.x() << "," << w.frame.y() << " " << w.frame.width() << "x"
      << w.frame.height() << ", question frame " << question->frame.x() << ","
      << question->frame.y() << " " << question->frame.width() << "x" << question->frame.height();
  x_->key(*question, "Escape");
  EXPECT_TRUE(x_->waitGone(kMessageTitle, kMessageSize));
  EXPECT_TRUE(focused(w)) << "no focus on the main window after Escape";
  // The keys work again: Ctrl+Plus enlarges the window.
  x_->xdo({"key", "ctrl+equal"});
  EXPECT_TRUE(x_->waitWindow(kMainTitle, kMainSize * 2)) << "the key went nowhere";
}

TEST_P(Desktop, AStoredPlaceOutsideTheWorkAreaComesBackInside) {
  const int panel = 30;
  start(ScreenSetup{QSize(1024, 768), 0, panel});
  struct Case {
    const char* what;
    const char* place;
  };
  const Case cases[] = {{"under the panel", "MainForm=\"200,0,1,100,5,602,412\""},
                        {"off the bottom", "MainForm=\"200,0,1,100,700,602,1107\""},
                        {"off the left", "MainForm=\"200,0,1,-400,200,102,607\""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    settings({c.place});
    launch();
    const std::vector<QRect> opening = watchOpening();
    EXPECT_EQ(opening.size(), 1u) << "the window was seen at more than one place";
    const XWindow w = main();
    const QRect area = x_->workArea();
    EXPECT_TRUE(area.contains(w.frame))
        << "frame " << w.frame.x() << "," << w.frame.y() << " " << w.frame.width() << "x"
        << w.frame.height() << " outside " << area.x() << "," << area.y() << " " << area.width()
        << "x" << area.height();
    quit(w);
    const QStringList f = stored("MainForm").split(QLatin1Char(','));
    ASSERT_EQ(f.size(), 7);
    EXPECT_TRUE(area.contains(
        QRect(QPoint(f[3].toInt(), f[4].toInt()), QPoint(f[5].toInt() - 1, f[6].toInt() - 1))))
        << "stored " << stored("MainForm").toStdString();
  }
}

std::string nameOf(const testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Managers, Desktop, testing::ValuesIn(managers()), nameOf);

}  // namespace
}  // namespace quibbix::e2e
