// A left press on a chute until the crate shows in the hand: the mouse event
// through the real field widget, the game's handler, the real canvas and the
// synchronous repaint that pushes it to the screen. Putting the crate back is
// not timed. Run under a real X server (xcb) the push includes the transfer of
// the changed pixels to the server. Each runs at zoom 1 and at zoom 3 (every
// field pixel a 3 x 3 block on the screen), side by side.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWindow>

#include "desktop/screen_zoom.h"
#include "engine/game.h"
#include "engine/system.h"
#include "null_ports.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace {

// Shown and mapped: under a window manager the window is exposed a while
// after show(), and a repaint before that draws nothing.
void showExposed(QWidget& widget) {
  widget.show();
  QElapsedTimer waited;
  waited.start();
  while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) &&
         waited.elapsed() < 5000) {
    QApplication::processEvents();
    QThread::msleep(1);
  }
  QApplication::processEvents();
}

void BM_LeftPressToHand(benchmark::State& state) {
  quibbix::desktop::applyZoom(static_cast<int>(state.range(1)));
  quibbix::view::FieldCanvas canvas{quibbix::view::Sheets::load()};
  quibbix::view::FieldWidget widget{canvas};
  quibbix::test::NullPorts quiet;
  quibbix::engine::SystemClock clock;
  quibbix::engine::SeededRandom random{1};
  quibbix::engine::Game game{{canvas, quiet, clock, random, quiet}};
  widget.onPress = [&](quibbix::engine::Button b, int x, int y) { game.MouseDown(b, x, y); };
  showExposed(widget);
  auto& st = game.state();
  for (int c = 0; c < 4; ++c) {
    st.StackHeight[c] = 10;
    for (int s = 0; s < 10; ++s) st.Stacks[c][s] = 1 + (c * 7 + s) % 31;
  }
  // A window manager maps the window in its own time; until then a repaint
  // reaches nothing and the press would seem free.
  QElapsedTimer waited;
  waited.start();
  while (!widget.windowHandle()->isExposed() && waited.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  if (!widget.windowHandle()->isExposed()) state.SkipWithError("the window never showed");
  game.Paint();
  canvas.present();
  QApplication::processEvents();

  const int chute = static_cast<int>(state.range(0));
  const QPointF at(quibbix::engine::slotX(chute) + 20, 200);
  for (auto _ : state) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    state.PauseTiming();
    if (st.HeldCrate == 0) state.SkipWithError("the press picked nothing up");
    game.DropHeld(chute);
    canvas.present();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LeftPressToHand)->ArgsProduct({{0, 3}, {1, 3}});

// The largest frame an animation can draw: the whole field changed and pushed.
void BM_WholeFieldFrame(benchmark::State& state) {
  quibbix::desktop::applyZoom(static_cast<int>(state.range(0)));
  quibbix::view::FieldCanvas canvas{quibbix::view::Sheets::load()};
  quibbix::view::FieldWidget widget{canvas};
  showExposed(widget);
  canvas.drawBackground();
  canvas.present();
  QApplication::processEvents();
  for (auto _ : state) {
    canvas.drawBackground();
    canvas.present();
  }
}
BENCHMARK(BM_WholeFieldFrame)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quibbix::desktop::initScreenZoom();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
