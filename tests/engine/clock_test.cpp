// The game clock: blinking special crates, a new crate every 20 ticks, and the lost game.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

// A level in play: level 1 with the plain design map, the clock at the level's start.
struct Clocked : Fixture {
  Clocked() {
    st.Level = 1;
    for (int k = 1; k <= 31; ++k) st.DesignMap[k] = static_cast<std::int8_t>(k);
    rec.timerEnabled = true;
  }
  int crates() const {
    int n = 0;
    for (int h : st.StackHeight) n += h;
    return n;
  }
  void fill(int c, int n) {
    st.Stacks[c].fill(0);
    for (int i = 0; i < n; ++i) st.Stacks[c][i] = 2 + i % 2;
    st.StackHeight[c] = n;
  }
  // The next tick brings its crate to chute c; the generator's pool draw picks code 1.
  void tickFor(int c) {
    rec.script({c, 0});
    game.Timer();
    rec.scripted.clear();
  }
};

TEST(Clock, NewCrateEveryTwentiethRun) {
  Clocked f;
  std::vector<int> runsWithNewCrate;
  for (int run = 1; run <= 60; ++run) {
    const int before = f.crates();
    f.rec.clear();
    f.game.Timer();
    if (f.crates() != before) runsWithNewCrate.push_back(run);
    // The handler keeps the timer off while it runs and restarts its interval at the end.
    ASSERT_FALSE(f.rec.log.empty());
    EXPECT_EQ(f.rec.log.front(), timer(false));
    EXPECT_EQ(f.rec.log.back(), Event{Ev::Present});
    EXPECT_EQ(f.rec.count(Ev::Timer), 2);
    EXPECT_TRUE(f.rec.timerEnabled);
  }
  EXPECT_EQ(runsWithNewCrate, (std::vector<int>{20, 40, 60}));
  EXPECT_EQ(f.st.TickCounter, 60);
}

TEST(Clock, QuietRunDrawsNothing) {
  Clocked f;
  f.setChute(0, {1, 2});
  f.game.Timer();
  EXPECT_EQ(f.rec.log, (std::vector<Event>{timer(false), timer(true), {Ev::Present}}));
}

TEST(Clock, BlinkPhasesByCode) {
  // Ticks between flips; 0: never flips.
  const std::vector<std::pair<int, int>> phases = {
      {50, 3}, {51, 4}, {52, 5}, {53, 6}, {54, 4}, {55, 9}, {56, 6}, {57, 6}, {58, 6}, {59, 6},
      {60, 6}, {61, 6}, {62, 6}, {63, 6}, {64, 6}, {65, 6}, {7, 0},  {32, 0}, {35, 0}, {36, 0},
  };
  Clocked f;
  for (size_t i = 0; i < phases.size(); ++i) {
    const int c = static_cast<int>(i % 2);
    const int s = static_cast<int>(i / 2);
    f.st.Stacks[c][s] = phases[i].first;
    f.st.StackHeight[c] = s + 1;
  }
  // Runs 1..19 test the counter values 0..18; no crate arrives before run 20.
  for (int counter = 0; counter <= 18; ++counter) {
    std::vector<int> before;
    for (size_t i = 0; i < phases.size(); ++i) before.push_back(f.st.Stacks[i % 2][i / 2]);
    f.game.Timer();
    for (size_t i = 0; i < phases.size(); ++i) {
      const auto [code, phase] = phases[i];
      const bool flips = phase != 0 && counter % phase == 0;
      const int now = f.st.Stacks[i % 2][i / 2];
      EXPECT_EQ(now, flips ? -before[i] : before[i]) << "code " << code << " counter " << counter;
      EXPECT_EQ(std::abs(now), code);
    }
  }
}

TEST(Clock, BlinkRedrawsChutesLeftToRightBottomFirstAndSkipsTheHand) {
  Clocked f;
  f.setChute(0, {50, 7, -51});
  f.setChute(2, {55});
  f.setChute(3, {1, 56});
  f.st.HeldCrate = 50;
  f.st.HeldFrom = 1;
  f.game.Timer();  // counter 0: every special flips
  EXPECT_EQ(f.rec.only({Ev::Crate}), (std::vector<Event>{slot(0, 1, -50), slot(0, 3, 51),
                                                         slot(2, 1, -55), slot(3, 2, -56)}));
  EXPECT_EQ(f.st.HeldCrate, 50);
  EXPECT_EQ(f.chute(0), (std::vector<int>{-50, 7, 51}));
}

TEST(Clock, CratesArrivingInRunTwentyFirstFlipByTheirPhase) {
  struct Case {
    int code;
    int poolIndex;  // where the generator finds the code at level 1
    int firstFlipRun;
  };
  for (const auto& tc : {Case{50, 4, 22}, Case{55, 7, 28}}) {
    SCOPED_TRACE("code " + std::to_string(tc.code));
    Clocked f;
    for (int run = 1; run <= 19; ++run) f.game.Timer();
    // Chute 0, the pool entry, and the draw that keeps a special crate.
    f.rec.script({0, tc.poolIndex, 0});
    f.game.Timer();
    ASSERT_EQ(f.chute(0), std::vector<int>{tc.code});
    int firstFlip = 0;
    for (int run = 21; run <= 30 && !firstFlip; ++run) {
      f.game.Timer();
      if (f.st.Stacks[0][0] < 0) firstFlip = run;
    }
    EXPECT_EQ(firstFlip, tc.firstFlipRun);
  }
}

TEST(Clock, PausedOrFinishedGameLosesItsTicks) {
  for (const bool paused : {true, false}) {
    SCOPED_TRACE(paused ? "paused" : "over");
    Clocked f;
    f.setChute(0, {50});
    f.st.TickCounter = 19;
    (paused ? f.st.Paused : f.st.GameOver) = true;
    for (int i = 0; i < 5; ++i) f.game.Timer();
    EXPECT_TRUE(f.rec.log.empty());
    EXPECT_EQ(f.st.TickCounter, 19);
    EXPECT_EQ(f.chute(0), std::vector<int>{50});
    EXPECT_TRUE(f.rec.randomCalls.empty());
    EXPECT_TRUE(f.rec.timerEnabled);

    // Resumed, the next tick is the twentieth.
    f.st.Paused = f.st.GameOver = false;
    f.game.Timer();
    EXPECT_EQ(f.st.TickCounter, 20);
    EXPECT_EQ(f.crates(), 2);
  }
}

TEST(Clock, ChuteOfThirteenGrowsToFourteen) {
  Clocked f;
  f.fill(2, 13);
  f.st.TickCounter = 19;
  f.tickFor(2);
  EXPECT_EQ(f.st.StackHeight[2], 14);
  EXPECT_FALSE(f.st.GameOver);
  EXPECT_EQ(f.rec.randomCalls.front(), 4);
  // The cue comes before the chute is redrawn from the bottom.
  std::vector<Event> want = {timer(false), cue(11)};
  want.push_back(slot(2, 1, f.st.Stacks[2][0]));
  EXPECT_EQ(std::vector<Event>(f.rec.log.begin(), f.rec.log.begin() + 3), want);
  EXPECT_EQ(f.rec.count(Ev::Crate), 14);
}

// The full game-over sequence: the losing crate, the dissolve of every crate, the emptied
// hand, then the dialogs with the board on screen and the timer off.
TEST(Clock, ChuteOfFourteenEndsTheGame) {
  for (const int held : {55, -55}) {
    SCOPED_TRACE("held " + std::to_string(held));
    Clocked f;
    f.setChute(0, {9});
    f.fill(2, 14);
    f.setChute(3, {4, 5});
    f.st.Score = 42;
    f.st.TickCounter = 19;
    f.st.HeldCrate = held;
    f.st.HeldFrom = 1;
    bool timerOffInDialogs = true;
    int messages = 0;
    f.rec.onGameOverMessage = [&] {
      ++messages;
      timerOffInDialogs = timerOffInDialogs && !f.rec.timerEnabled;
      EXPECT_TRUE(f.st.GameOver);
      EXPECT_EQ(f.st.HeldCrate, 0);
      EXPECT_EQ(f.crates(), 0);
    };
    f.rec.onHighScore = [&] { timerOffInDialogs = timerOffInDialogs && !f.rec.timerEnabled; };

    f.tickFor(2);

    // The losing crate enters at the bottom (code 1: the generator's first pool entry under
    // the plain design map) and lifts the old crates one slot.
    std::vector<Event> want = {timer(false), slot(2, 1, 1)};
    for (int s = 2; s <= 15; ++s) want.push_back(slot(2, s, 2 + (s - 2) % 2));
    want.insert(want.end(), {{Ev::Present}, wait(50), cue(18)});
    auto dissolve = [&](int c, int height) {
      for (int s = height; s >= 1; --s)
        for (int row = 9; row <= 15; ++row)
          want.insert(
              want.end(),
              {{Ev::And, engine::slotX(c), engine::slotY(s), row}, {Ev::Present}, wait(10)});
    };
    dissolve(0, 1);
    dissolve(2, 15);
    dissolve(3, 2);
    want.insert(want.end(), {hand(1, 0),
                             {Ev::Present},
                             {Ev::GameOverMsg},
                             {Ev::Present},
                             {Ev::HighScore, 42},
                             timer(true),
                             {Ev::Present}});
    EXPECT_EQ(f.rec.log, want);

    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(timerOffInDialogs);
    EXPECT_TRUE(f.rec.timerEnabled);
    EXPECT_TRUE(f.st.GameOver);
    EXPECT_EQ(f.st.HeldCrate, 0);
    EXPECT_EQ(f.crates(), 0);
    EXPECT_EQ(f.st.Score, 42);

    // Later ticks are lost.
    f.rec.clear();
    f.game.Timer();
    EXPECT_TRUE(f.rec.log.empty());
  }
}

TEST(Clock, LostGameWithoutPointsOffersNoHighScore) {
  Clocked f;
  f.fill(1, 14);
  f.st.TickCounter = 39;
  f.tickFor(1);
  EXPECT_TRUE(f.st.GameOver);
  EXPECT_EQ(f.rec.count(Ev::GameOverMsg), 1);
  EXPECT_EQ(f.rec.count(Ev::HighScore), 0);
  // An empty hand is not redrawn.
  EXPECT_EQ(f.rec.count(Ev::Crate, engine::slotX(0)), 0);
  const auto tail = f.rec.only({Ev::GameOverMsg, Ev::Timer, Ev::Present});
  EXPECT_EQ(std::vector<Event>(tail.end() - 4, tail.end()),
            (std::vector<Event>{{Ev::Present}, {Ev::GameOverMsg}, timer(true), {Ev::Present}}));
}

}  // namespace
}  // namespace quibbix::test
