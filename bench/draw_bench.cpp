// What one crate drawn and pushed to the screen costs, and a full repaint of the
// field from the model, through the real canvas and a real (offscreen) widget.
#include <benchmark/benchmark.h>
#include <QApplication>

#include "engine/game.h"
#include "null_ports.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace {

struct Board {
  quibbix::view::FieldCanvas canvas{quibbix::view::Sheets::load()};
  quibbix::view::FieldWidget widget{canvas};
  quibbix::test::NullPorts null;
  quibbix::engine::Game game{{canvas, null, null, null, null}};
  Board() {
    widget.show();
    auto& st = game.state();
    for (int c = 0; c < 4; ++c) {
      st.StackHeight[c] = 10;
      for (int s = 0; s < 10; ++s) st.Stacks[c][s] = 1 + (c * 7 + s) % 31;
    }
    game.Paint();
    canvas.present();
  }
};

void BM_DrawCrateAndPresent(benchmark::State& state) {
  Board b;
  int code = 1;
  for (auto _ : state) {
    b.canvas.drawCrate(121, 156, code);
    b.canvas.present();
    code = code % 31 + 1;
  }
}
BENCHMARK(BM_DrawCrateAndPresent);

void BM_PaintAndPresent(benchmark::State& state) {
  Board b;
  for (auto _ : state) {
    b.game.Paint();
    b.canvas.present();
  }
}
BENCHMARK(BM_PaintAndPresent);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
