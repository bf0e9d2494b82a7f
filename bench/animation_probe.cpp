// How long the game's animations really take with the real clock's busy waits,
// the real canvas and a shown field widget, against their nominal lengths; and
// the interval between new crates in the real main window driven by its own timer.
//
//   animation_probe [--arrivals N]
// prints "name median_ms nominal_ms fastest_ms" per animation and
// "arrival_interval mean_ms 2000 intervals".
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "dialogs/splash.h"
#include "engine/game.h"
#include "engine/system.h"
#include "null_ports.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace {

using Clock = std::chrono::steady_clock;
using quibbix::engine::Game;

struct Field {
  quibbix::view::FieldCanvas canvas{quibbix::view::Sheets::load()};
  quibbix::view::FieldWidget widget{canvas};
  quibbix::test::NullPorts quiet;
  quibbix::engine::SystemClock clock;
  quibbix::engine::SeededRandom random{1};
  Game game{{canvas, quiet, clock, random, quiet}};

  Field() {
    widget.show();
    // A window manager maps the window in its own time; frames drawn before
    // that would reach nothing.
    QElapsedTimer waited;
    waited.start();
    while (!widget.windowHandle()->isExposed() && waited.elapsed() < 5000)
      QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
  }

  // Chute 0 holds `height` crates of different kinds, the top `top` of them equal.
  void fill(int height, int top) {
    auto& st = game.state();
    st.Stacks[0].fill(0);
    st.StackHeight[0] = height;
    for (int s = 0; s < height; ++s) st.Stacks[0][s] = s >= height - top ? 5 : 10 + s;
    game.Paint();
    canvas.present();
    QApplication::processEvents();
  }

  template <class F>
  double timed(F f) {
    const auto t0 = Clock::now();
    f();
    // The last frame is drawn without a wait after it; it counts once it is on screen.
    canvas.present();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

constexpr int kRuns = 5;

void animations() {
  Field f;
  // Named by the slot of the triple's top crate: a triple needs three crates,
  // so the lowest one lies on slots 1-3.
  for (const int h : {3, 7, 14}) {
    std::vector<double> runs;
    for (int r = 0; r < kRuns; ++r) {
      f.fill(h, 3);
      runs.push_back(f.timed([&] { f.game.RemoveTriple(0); }));
    }
    std::printf("triple_h%d %.2f %d %.2f\n", h, median(runs), 400 + 50 * (15 - h) + 100,
                *std::min_element(runs.begin(), runs.end()));
  }
  std::vector<double> runs;
  for (int r = 0; r < kRuns; ++r) {
    f.fill(1, 1);
    runs.push_back(f.timed([&] { f.game.LaunchTop(0); }));
  }
  std::printf("flyup_h1 %.2f %d %.2f\n", median(runs), 14 * 50,
              *std::min_element(runs.begin(), runs.end()));
}

// Notes the moment each new crate reaches the screen: the field's paint event
// after the crate count has grown.
class ArrivalWatch : public QObject {
 public:
  ArrivalWatch(quibbix::app::MainWindow& w, int arrivals) : w_(w), arrivals_(arrivals) {
    last_ = count();
  }
  std::vector<Clock::time_point> times;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      const int n = count();
      // Counted once the splash has closed by itself: the steady game, no dialog open.
      if (n > last_ && !w_.splash()->isVisible()) {
        times.push_back(Clock::now());
        if (static_cast<int>(times.size()) == arrivals_)
          QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
      }
      last_ = n;
    }
    return QObject::eventFilter(o, e);
  }

 private:
  int count() const {
    int n = 0;
    for (const int h : w_.game().state().StackHeight) n += h;
    return n;
  }
  quibbix::app::MainWindow& w_;
  int arrivals_;
  int last_ = 0;
};

void arrivals(int count) {
  quibbix::app::MainWindow window(1);
  window.createDialogs();
  window.restorePlacement();
  ArrivalWatch watch(window, count + 1);
  window.field()->installEventFilter(&watch);
  window.show();
  const auto shown = Clock::now();
  // Leaving the loop directly: quit() would first ask the window to close, and
  // the game asks the player before it closes.
  // Long enough for `count` crates, with room for a slow machine.
  QTimer::singleShot(count * 2000 + 15000, qApp, [] { QCoreApplication::exit(0); });
  QApplication::exec();
  window.field()->removeEventFilter(&watch);
  const auto& t = watch.times;
  for (const auto& at : t)
    std::fprintf(stderr, "arrival at %.1f ms\n",
                 std::chrono::duration<double, std::milli>(at - shown).count());
  if (t.size() < 2) {
    std::printf("arrival_interval -1 2000\n");
    return;
  }
  const double span = std::chrono::duration<double, std::milli>(t.back() - t.front()).count();
  std::printf("arrival_interval %.2f 2000 %zu\n", span / static_cast<double>(t.size() - 1),
              t.size() - 1);
}

}  // namespace

int main(int argc, char** argv) {
  int count = 6;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--arrivals") == 0) count = std::atoi(argv[i + 1]);
  QApplication app(argc, argv);
  animations();
  std::fflush(stdout);
  if (count > 1) arrivals(count);
  return 0;
}
