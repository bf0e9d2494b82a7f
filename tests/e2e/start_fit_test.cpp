// The first start on a small or dense screen: the zoom the game starts with counts the
// window with its frame against the screen's free area, as the zoom keys do, so the
// whole framed window, title bar included, lies inside the work area. A desktop ratio
// that is no ratio counts as 1.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game_driver.h"

namespace quibbix::e2e {
namespace {

TEST(StartFit, TheFramedWindowStartsInsideTheWorkArea) {
  struct Case {
    const char* what;
    ScreenSetup screen;
    std::vector<std::string> options;
    std::map<std::string, std::string> environment;
  };
  // At zoom 2 the client alone would fit both free areas (732 <= 738, <= 740); with
  // Openbox's title bar it fits neither.
  const Case cases[] = {
      {"1366 x 768, a 30 pixel panel, Xft.dpi 144", {QSize(1366, 768), 144, 30}, {}, {}},
      {"1010 x 740 with --zoom 4", {QSize(1010, 740), 0, 0}, {"--zoom", "4"}, {}},
      // A desktop ratio that is no ratio counts as 1, and the window shows.
      {"QT_SCREEN_SCALE_FACTORS=inf", {}, {}, {{"QT_SCREEN_SCALE_FACTORS", "inf"}}},
      {"QT_SCREEN_SCALE_FACTORS=1e6", {}, {}, {{"QT_SCREEN_SCALE_FACTORS", "1e6"}}},
      {"QT_SCREEN_SCALE_FACTORS=nan", {}, {}, {{"QT_SCREEN_SCALE_FACTORS", "nan"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string home = dir.path() + "/home";
    XServer x(dir.path(), /*windowManager=*/true, c.screen);
    std::vector<std::string> argv{QUIBBIX_PROGRAM, "--seed", "1"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    std::map<std::string, std::string> environment = gameEnvironment(home, x.display());
    environment.insert(c.environment.begin(), c.environment.end());
    Child game(argv, environment, dir.path() + "/quibbix.log");
    // The splash opens once the main window is placed and shown, at whatever zoom.
    const auto shown = [&x](const QString& title, QSize size) {
      std::optional<XWindow> w;
      for (int zoom = 1; zoom <= 4 && !w; ++zoom) w = x.find(title, size * zoom);
      return w;
    };
    ASSERT_TRUE(waitFor([&] { return shown(kSplashTitle, kSplashSize).has_value(); }))
        << "no splash";
    const std::optional<XWindow> main = shown(kMainTitle, kMainSize);
    ASSERT_TRUE(main) << "no main window";
    const QRect work = x.workArea();
    EXPECT_TRUE(work.contains(main->frame))
        << "frame " << main->frame.x() << "," << main->frame.y() << " " << main->frame.width()
        << "x" << main->frame.height() << " outside the work area " << work.x() << "," << work.y()
        << " " << work.width() << "x" << work.height();
    EXPECT_EQ(main->rect.size(), kMainSize) << "not at zoom 1";
  }
}

}  // namespace
}  // namespace quibbix::e2e
