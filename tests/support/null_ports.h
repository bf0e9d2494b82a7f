#pragma once
// Ports that keep nothing: for running the engine where only its state, or the
// cost of the real ports beside these, matters. The clock moves `step` ms on
// every read, so a step of a second lets every busy wait pass at once. The
// random source always answers 0; pass a seeded one where the deal matters.
// Derive to watch the one call a test cares about.

#include <cstdint>

#include "engine/ports.h"

namespace quibbix::test {

class NullPorts : public engine::Drawing,
                  public engine::CuePlayer,
                  public engine::Clock,
                  public engine::RandomSource,
                  public engine::Host {
 public:
  explicit NullPorts(std::uint32_t step = 1) : step_(step) {}

  bool sound = false;    // what soundOn() answers
  bool timerOn = false;  // as the engine last set it
  std::uint32_t now = 0;

  void drawCrate(int, int, int) override {}
  void andCrateCell(int, int, int, int) override {}
  void drawBackground() override {}
  void drawScoreboard(int, int) override {}
  void drawPicture(int, const std::uint8_t*, int) override {}
  void drawMarker(int, bool) override {}
  void present() override {}
  void play(int) override {}
  std::uint32_t tickMs() override { return now += step_; }
  int below(int) override { return 0; }
  bool soundOn() override { return sound; }
  void setTimerEnabled(bool on) override { timerOn = on; }
  void setNextLevelLabelVisible(bool) override {}
  void setPauseTextVisible(bool) override {}
  void showGameOverMessage() override {}
  void offerHighScore(int) override {}

 private:
  std::uint32_t step_;
};

}  // namespace quibbix::test
