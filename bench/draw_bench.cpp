// What one crate drawn and pushed to the screen costs, and a full repaint of the
// field from the model, through the real canvas and a real (offscreen) widget.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "engine/game.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace {

struct Null : quibbix::engine::CuePlayer,
              quibbix::engine::Clock,
              quibbix::engine::RandomSource,
              quibbix::engine::Host {
  void play(int) override {}
  std::uint32_t tickMs() override { return ++t; }
  int below(int) override { return 0; }
  bool soundOn() override { return false; }
  void setTimerEnabled(bool) override {}
  void setNextLevelLabelVisible(bool) override {}
  void setPauseTextVisible(bool) override {}
  void showGameOverMessage() override {}
  void offerHighScore(int) override {}
  std::uint32_t t = 0;
};

struct Board {
  quibbix::view::FieldCanvas canvas{quibbix::view::Sheets::load()};
  quibbix::view::FieldWidget widget{canvas};
  Null null;
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
