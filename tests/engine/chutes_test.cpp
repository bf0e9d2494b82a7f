#include <gtest/gtest.h>

#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::slotX;
using engine::slotY;

TEST(PushCrate, EntersAtTheBottomAndLiftsTheChute) {
  struct Case {
    std::vector<int> before;
    std::vector<int> after;
  };
  const std::vector<Case> cases = {
      {{}, {9}},
      {{1, 2, 3}, {9, 1, 2, 3}},
      {std::vector<int>(14, 5),
       [] {
         std::vector<int> v(15, 5);
         v[0] = 9;
         return v;
       }()},
      {std::vector<int>(15, 5), std::vector<int>(15, 5)},  // full: the crate is lost
  };
  for (const auto& tc : cases) {
    Fixture f;
    f.st.Stacks[2].fill(0);
    for (size_t i = 0; i < tc.before.size(); ++i) f.st.Stacks[2][i] = tc.before[i];
    f.st.StackHeight[2] = static_cast<int>(tc.before.size());
    f.game.PushCrate(2, 9);
    EXPECT_EQ(f.chute(2), tc.after);
    // Every slot up to the new height is redrawn, bottom first; a full chute draws nothing.
    std::vector<Event> drawn;
    if (tc.before.size() < 15)
      for (size_t s = 1; s <= tc.after.size(); ++s)
        drawn.push_back(slot(2, static_cast<int>(s), tc.after[s - 1]));
    EXPECT_EQ(f.rec.log, drawn);
  }
}

TEST(PickUpAndDrop, HeldCrateKeepsItsSignAndLandsOnTop) {
  Fixture f;
  f.setChute(1, {3, -51});
  f.setChute(3, {7});
  f.game.PickUp(1);
  EXPECT_EQ(f.st.HeldCrate, -51);
  EXPECT_EQ(f.st.HeldFrom, 1);
  EXPECT_EQ(f.chute(1), std::vector<int>{3});
  EXPECT_EQ(f.st.Stacks[1][1], 0);
  EXPECT_EQ(f.rec.log, (std::vector<Event>{hand(1, -51), cue(1), slot(1, 2, 0)}));

  f.rec.clear();
  f.game.PickUp(3);  // the hand is full: nothing
  EXPECT_TRUE(f.rec.log.empty());

  f.game.DropHeld(3);
  EXPECT_EQ(f.chute(3), (std::vector<int>{7, -51}));
  EXPECT_EQ(f.st.HeldCrate, 0);
  EXPECT_EQ(f.rec.log, (std::vector<Event>{hand(1, 0), cue(3), slot(3, 2, -51)}));

  f.rec.clear();
  f.game.DropHeld(0);  // empty hand
  f.game.PickUp(0);    // empty chute
  EXPECT_TRUE(f.rec.log.empty());
}

TEST(LaunchTop, FliesThroughEverySlotAboveToTheTop) {
  Fixture f;
  f.setChute(0, {4});
  f.game.LaunchTop(0);
  EXPECT_EQ(f.st.StackHeight[0], 0);
  EXPECT_EQ(f.st.Stacks[0][0], 0);
  std::vector<Event> expected;
  for (int s = 2; s <= 15; ++s) {
    expected.insert(expected.end(), {cue(4), slot(0, s, 4), slot(0, s - 1, 0), wait(50)});
  }
  expected.insert(expected.end(), {cue(4), slot(0, 15, 0)});
  EXPECT_EQ(f.rec.only({Ev::Cue, Ev::Crate, Ev::Wait}), expected);
  EXPECT_EQ(f.rec.count(Ev::Cue, 4), 15);
  EXPECT_EQ(f.rec.now, 14u * 51u);
}

TEST(LaunchTop, FromAFullChuteOnlyErasesTheTopAndRedrawsTheHand) {
  Fixture f;
  f.setChute(2, {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 8});
  f.st.HeldCrate = 12;
  f.st.HeldFrom = 2;
  f.game.LaunchTop(2);
  EXPECT_EQ(f.st.StackHeight[2], 14);
  EXPECT_EQ(f.rec.only({Ev::Cue, Ev::Crate, Ev::Wait}),
            (std::vector<Event>{cue(4), slot(2, 15, 0), hand(2, 12)}));
}

TEST(VanishTop, SevenMaskFramesTenMillisecondsApart) {
  Fixture f;
  f.setChute(3, {1, 2});
  f.game.VanishTop(3);
  EXPECT_EQ(f.chute(3), std::vector<int>{1});
  EXPECT_EQ(f.st.Stacks[3][1], 0);
  std::vector<Event> expected;
  for (int row = 9; row <= 15; ++row)
    expected.insert(expected.end(), {{Ev::And, slotX(3), slotY(2), row}, wait(10)});
  EXPECT_EQ(f.rec.only({Ev::And, Ev::Cue, Ev::Wait, Ev::Crate}), expected);

  f.rec.clear();
  f.setChute(0, {});
  f.game.VanishTop(0);
  EXPECT_TRUE(f.rec.log.empty());
}

TEST(ChangeCovered, ClampsToThePicture) {
  struct Case {
    int tiles, covered, delta, expected;
  };
  for (const Case tc :
       {Case{20, 20, 3, 20}, Case{20, 2, -5, 0}, Case{20, 10, -1, 9}, Case{31, 30, 3, 31}}) {
    Fixture f;
    f.setPicture(tc.tiles, tc.covered);
    f.game.ChangeCovered(tc.delta);
    EXPECT_EQ(f.st.CoveredCount, tc.expected);
    EXPECT_EQ(f.rec.log, (std::vector<Event>{{Ev::Picture, 0, tc.expected}}));
  }
}

TEST(Cues, SoundOffPlaysNothingAndKeepsTheTiming) {
  Fixture on, off;
  off.rec.sound = false;
  for (Fixture* f : {&on, &off}) {
    f->setChute(1, {5, 6});
    f->game.PickUp(1);
    f->game.DropHeld(2);
    f->game.LaunchTop(2);
  }
  EXPECT_EQ(on.rec.count(Ev::Cue, 1), 1);
  EXPECT_EQ(on.rec.count(Ev::Cue, 3), 1);
  EXPECT_EQ(on.rec.count(Ev::Cue, 4), 15);
  EXPECT_EQ(off.rec.count(Ev::Cue), 0);
  EXPECT_EQ(on.rec.now, off.rec.now);
  EXPECT_EQ(on.rec.only({Ev::Crate, Ev::Wait}), off.rec.only({Ev::Crate, Ev::Wait}));
}

// A clock that stands still for a number of reads, then jumps.
class ScriptedClock : public engine::Clock {
 public:
  std::vector<std::uint32_t> values;
  size_t reads = 0;
  std::uint32_t tickMs() override {
    const auto v = values[std::min(reads, values.size() - 1)];
    ++reads;
    return v;
  }
};

TEST(WaitMs, WaitsMoreThanTheTimeAcrossTheCounterWrap) {
  struct Case {
    std::vector<std::uint32_t> ticks;
    size_t reads;  // reads until the wait ends
  };
  const std::vector<Case> cases = {
      {{100, 120, 150, 151}, 4},                      // 51 > 50 ends it; 50 does not
      {{0xFFFFFFF0u, 0xFFFFFFFFu, 0x10u, 0x23u}, 4},  // wraps: 0x23 is 51 after start
      {{0xFFFFFFF0u, 0x5u, 0x22u, 0x23u}, 4},         // 0x22 is exactly 50: not yet
  };
  for (const auto& tc : cases) {
    Recorder rec;
    ScriptedClock clock;
    clock.values = tc.ticks;
    engine::Game game({rec, rec, clock, rec, rec});
    game.WaitMs(50);
    EXPECT_EQ(clock.reads, tc.reads);
    EXPECT_EQ(rec.log, (std::vector<Event>{{Ev::Present}}));  // drawing is shown before waiting
  }
}

TEST(Random, ZeroRangeGivesZeroWithoutADraw) {
  Fixture f;
  EXPECT_EQ(f.game.Random(0), 0);
  EXPECT_TRUE(f.rec.randomCalls.empty());
  f.rec.script({3});
  EXPECT_EQ(f.game.Random(4), 3);
}

}  // namespace
}  // namespace quibbix::test
