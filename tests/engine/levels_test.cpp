#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::kHandY;
using engine::slotX;
using engine::slotY;

struct Levels : Fixture {
  Levels() {
    for (int k = 1; k <= 31; ++k) st.DesignMap[k] = static_cast<std::int8_t>(k);
  }
  void script(int value, int times) { rec.scripted.insert(rec.scripted.end(), times, value); }
  int crates() const { return std::accumulate(st.StackHeight.begin(), st.StackHeight.end(), 0); }
  std::vector<int> tileOrder() const {
    return {st.TileOrder.begin(), st.TileOrder.begin() + st.PictureTileCount};
  }
};

// The seven dissolve frames of the crate at slot s of chute c.
void dissolve(std::vector<Event>& out, int c, int s) {
  for (int row = 9; row <= 15; ++row) {
    out.push_back({Ev::And, slotX(c), slotY(s), row});
    out.push_back({Ev::Present});
    out.push_back(wait(10));
  }
}

// Tiles and starting crates of every picture, as the level designer counted them.
TEST(NextLevel, EveryPictureCoversItsShapeAndDealsItsCrates) {
  const int tiles[30] = {12, 16, 25, 41, 20, 12, 40, 13, 19, 15, 38, 21, 15, 20, 35,
                         20, 23, 16, 42, 23, 16, 33, 42, 16, 21, 22, 53, 16, 17, 16};
  const int crates[30] = {26, 24, 19, 11, 22, 26, 12, 25, 22, 24, 13, 21, 24, 22, 14,
                          22, 20, 24, 11, 20, 24, 15, 11, 24, 21, 21, 5,  24, 23, 24};
  for (int p = 0; p < 30; ++p) {
    Levels f;
    f.rec.script({p});
    f.game.NextLevel();
    EXPECT_EQ(f.st.PictureIndex, p);
    EXPECT_EQ(f.st.PictureTileCount, tiles[p]) << "picture " << p;
    EXPECT_EQ(f.st.CoveredCount, tiles[p]) << "picture " << p;
    EXPECT_EQ(f.crates(), crates[p]) << "picture " << p;

    // A shuffled set of distinct tiles that covers one unbroken run per row.
    const auto order = f.tileOrder();
    EXPECT_FALSE(std::is_sorted(order.begin(), order.end())) << "picture " << p;
    const std::set<int> shape(order.begin(), order.end());
    EXPECT_EQ(shape.size(), order.size()) << "picture " << p;
    EXPECT_LT(*shape.rbegin(), 64);
    for (int row = 0; row < 8; ++row) {
      std::vector<int> cols;
      for (int t : shape)
        if (t / 8 == row) cols.push_back(t % 8);
      if (cols.empty()) continue;
      EXPECT_EQ(cols.back() - cols.front() + 1, static_cast<int>(cols.size()))
          << "picture " << p << " row " << row;
    }
  }
}

// The shape of every picture as the level designer drew it: per row of the 8 x 8 grid, top
// first, the first covered column and the number of covered columns.
const int kShapes[30][8][2] = {
    {{0, 0}, {0, 0}, {3, 2}, {3, 2}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 0
    {{0, 0}, {0, 0}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 1
    {{0, 0}, {4, 3}, {3, 4}, {3, 4}, {2, 5}, {1, 6}, {2, 3}, {0, 0}},  // 2
    {{0, 0}, {1, 5}, {1, 7}, {1, 7}, {0, 8}, {0, 8}, {1, 6}, {0, 0}},  // 3
    {{0, 0}, {0, 0}, {2, 4}, {1, 6}, {1, 6}, {2, 4}, {0, 0}, {0, 0}},  // 4
    {{0, 0}, {0, 0}, {0, 0}, {1, 6}, {1, 6}, {0, 0}, {0, 0}, {0, 0}},  // 5
    {{0, 0}, {1, 5}, {1, 5}, {0, 8}, {0, 8}, {0, 8}, {1, 6}, {0, 0}},  // 6
    {{0, 0}, {0, 0}, {3, 1}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 7
    {{0, 0}, {0, 0}, {2, 4}, {1, 6}, {1, 6}, {3, 3}, {0, 0}, {0, 0}},  // 8
    {{0, 0}, {0, 0}, {3, 2}, {1, 5}, {1, 5}, {2, 3}, {0, 0}, {0, 0}},  // 9
    {{0, 0}, {2, 4}, {1, 6}, {1, 6}, {0, 8}, {0, 8}, {0, 6}, {0, 0}},  // 10
    {{0, 0}, {3, 2}, {2, 4}, {1, 5}, {1, 5}, {1, 5}, {0, 0}, {0, 0}},  // 11
    {{0, 0}, {0, 0}, {3, 3}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 12
    {{0, 0}, {5, 1}, {3, 4}, {1, 6}, {1, 5}, {1, 4}, {0, 0}, {0, 0}},  // 13
    {{0, 0}, {3, 3}, {1, 7}, {0, 8}, {0, 8}, {0, 6}, {2, 3}, {0, 0}},  // 14
    {{0, 0}, {0, 0}, {2, 5}, {1, 6}, {1, 6}, {4, 3}, {0, 0}, {0, 0}},  // 15
    {{0, 0}, {3, 2}, {1, 5}, {1, 6}, {1, 6}, {2, 4}, {0, 0}, {0, 0}},  // 16
    {{0, 0}, {0, 0}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 17
    {{2, 2}, {1, 6}, {1, 7}, {0, 8}, {0, 7}, {0, 7}, {1, 5}, {0, 0}},  // 18
    {{0, 0}, {2, 4}, {1, 5}, {2, 4}, {2, 4}, {2, 4}, {3, 2}, {0, 0}},  // 19
    {{0, 0}, {0, 0}, {3, 2}, {1, 5}, {1, 6}, {2, 3}, {0, 0}, {0, 0}},  // 20
    {{0, 0}, {2, 5}, {1, 6}, {1, 6}, {1, 6}, {1, 5}, {1, 5}, {0, 0}},  // 21
    {{0, 0}, {4, 4}, {0, 8}, {0, 8}, {0, 8}, {0, 8}, {2, 6}, {0, 0}},  // 22
    {{0, 0}, {3, 1}, {2, 3}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 23
    {{0, 0}, {0, 0}, {2, 4}, {1, 6}, {1, 6}, {1, 5}, {0, 0}, {0, 0}},  // 24
    {{0, 0}, {0, 0}, {2, 3}, {1, 6}, {1, 6}, {2, 5}, {4, 2}, {0, 0}},  // 25
    {{1, 6}, {0, 8}, {0, 8}, {0, 7}, {0, 7}, {0, 7}, {0, 6}, {1, 4}},  // 26
    {{0, 0}, {0, 0}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 27
    {{0, 0}, {4, 1}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 28
    {{0, 0}, {0, 0}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {0, 0}, {0, 0}},  // 29
};

// With no-op swaps the tiles stay in the order the shape lists them, row by row, each row
// from the left.
TEST(NextLevel, ShapeTilesAreListedRowByRowThenSwapped1001Times) {
  for (int p = 0; p < 30; ++p) {
    SCOPED_TRACE("picture " + std::to_string(p));
    std::vector<int> tiles;
    for (int row = 0; row < 8; ++row) {
      const int first = kShapes[p][row][0], count = kShapes[p][row][1];
      for (int col = first; col < first + count; ++col) tiles.push_back(8 * row + col);
    }
    Levels f;
    f.rec.script({p});
    f.script(0, 2002);
    f.game.NextLevel();
    EXPECT_EQ(f.tileOrder(), tiles);
    const auto& calls = f.rec.randomCalls;
    ASSERT_GT(calls.size(), 2003u);
    EXPECT_EQ(std::count(calls.begin() + 1, calls.begin() + 2003, std::ssize(tiles)), 2002);
    EXPECT_EQ(calls[2003], 4) << "the first crate's chute follows the shuffle";
  }
}

TEST(NextLevel, FirstLevelIsDealtSilentlyAndAtOnce) {
  Levels f;
  f.rec.script({0});
  f.game.NextLevel();
  EXPECT_EQ(f.st.Level, 1);
  EXPECT_EQ(f.crates(), 26);
  EXPECT_EQ(f.rec.count(Ev::Cue), 0);
  EXPECT_EQ(f.rec.count(Ev::Label), 0);
  EXPECT_EQ(f.rec.count(Ev::Wait), 0);
  EXPECT_EQ(f.rec.log.front(), timer(false));
  EXPECT_EQ(f.rec.log.back(), timer(true));
}

// A won level with crates left: everything dissolves chute by chute from the left, each
// chute from its top, the label shows for a second, and the next level is dealt crate by
// crate. All random values are scripted, so the whole log is known.
TEST(NextLevel, WonLevelEndsAndTheNextIsDealt) {
  Levels f;
  f.st.Level = 1;
  f.st.Score = 140;
  f.st.TickCounter = 17;
  f.setChute(0, {1, 2});
  f.setChute(2, {3});
  f.setChute(3, {7, 8, 9});
  f.rec.script({26});  // 53 tiles, 5 crates
  f.script(0, 2002);
  // (chute, pool index) per crate; index 8 is kind 5, which joins at level 2.
  f.rec.script({0, 0, 1, 1, 2, 2, 3, 8, 0, 3});
  f.game.NextLevel();

  std::vector<Event> expected = {timer(false), cue(12)};
  dissolve(expected, 0, 2);
  dissolve(expected, 0, 1);
  dissolve(expected, 2, 1);
  dissolve(expected, 3, 3);
  dissolve(expected, 3, 2);
  dissolve(expected, 3, 1);
  const auto present = Event{Ev::Present};
  expected.insert(expected.end(), {{Ev::Label, 1},
                                   present,
                                   wait(1000),
                                   {Ev::Label, 0},
                                   present,
                                   wait(100),
                                   {Ev::Scoreboard, 2, 140},
                                   {Ev::Picture, 26, 53}});
  expected.insert(expected.end(), {cue(11), slot(0, 1, 1), present, wait(100)});
  expected.insert(expected.end(), {cue(11), slot(1, 1, 2), present, wait(100)});
  expected.insert(expected.end(), {cue(11), slot(2, 1, 3), present, wait(100)});
  expected.insert(expected.end(), {cue(11), slot(3, 1, 5), present, wait(100)});
  expected.insert(expected.end(), {cue(11), slot(0, 1, 4), slot(0, 2, 1), present, wait(100)});
  expected.push_back(timer(true));
  EXPECT_EQ(f.rec.log, expected);

  EXPECT_EQ(f.st.Level, 2);
  EXPECT_EQ(f.st.Score, 140);
  EXPECT_EQ(f.st.TickCounter, 0);
  EXPECT_EQ(f.st.CoveredCount, 53);
  EXPECT_EQ(f.chute(0), (std::vector<int>{4, 1}));
  EXPECT_EQ(f.chute(1), (std::vector<int>{2}));
  EXPECT_EQ(f.chute(2), (std::vector<int>{3}));
  EXPECT_EQ(f.chute(3), (std::vector<int>{5}));
  EXPECT_TRUE(f.rec.scripted.empty());
}

// Design map swapped 1 <-> 31 by the first of 1000 swaps (the rest swap a kind with
// itself), picture 5 unshuffled; the crates come from the generator.
TEST(NewGame, SetsUpTheFirstLevelFromAnyState) {
  Levels f;
  f.st.Level = 9;
  f.st.Score = 480;
  f.st.GameOver = true;
  f.st.TickCounter = 15;
  f.setChute(1, {4, 5, 6});
  f.rec.script({0, 30});
  f.script(0, 1998);
  f.rec.script({5});
  f.script(0, 2002);
  f.game.NewGame();

  EXPECT_EQ(f.st.Level, 1);
  EXPECT_EQ(f.st.Score, 0);
  EXPECT_FALSE(f.st.GameOver);
  EXPECT_EQ(f.st.TickCounter, 0);
  std::vector<int> map(f.st.DesignMap.begin() + 1, f.st.DesignMap.end());
  std::vector<int> want(31);
  std::iota(want.begin(), want.end(), 1);
  std::swap(want[0], want[30]);
  EXPECT_EQ(map, want);
  EXPECT_EQ(f.tileOrder(), (std::vector<int>{25, 26, 27, 28, 29, 30, 33, 34, 35, 36, 37, 38}));
  const auto& calls = f.rec.randomCalls;
  EXPECT_EQ(std::count(calls.begin(), calls.begin() + 2000, 31), 2000);
  EXPECT_EQ(calls[2000], 30);

  // The old chutes are cleared, not dissolved; only the 26 new crates stand.
  EXPECT_EQ(f.crates(), 26);
  const std::set<int> level1 = {31, 2, 3, 4, 50, 51, 54, 55};
  for (int c = 0; c < 4; ++c)
    for (int code : f.chute(c)) EXPECT_TRUE(level1.count(code)) << code;
  EXPECT_EQ(f.rec.count(Ev::And), 0);
  EXPECT_EQ(f.rec.count(Ev::Cue), 0);
  EXPECT_EQ(f.rec.count(Ev::Label), 0);

  // Ends with all 60 slots redrawn from the model, the timer on, the frame presented.
  const auto& log = f.rec.log;
  ASSERT_GE(log.size(), 64u);
  const auto tail = log.end() - 64;
  EXPECT_EQ(tail[0], timer(true));
  for (int c = 0; c < 4; ++c)
    for (int s = 1; s <= 15; ++s)
      EXPECT_EQ(tail[1 + 15 * c + s - 1], slot(c, s, f.st.Stacks[c][s - 1]));
  EXPECT_EQ(tail[61], timer(true));
  EXPECT_EQ(tail[62], (Event{Ev::PauseText, 0}));
  EXPECT_EQ(tail[63], Event{Ev::Present});
}

TEST(NewGame, EndsAPause) {
  Levels f;
  f.st.Paused = true;
  f.game.NewGame();
  EXPECT_FALSE(f.st.Paused);
  EXPECT_EQ(f.rec.only({Ev::PauseText}), (std::vector<Event>{{Ev::PauseText, 0}}));
}

// A crate left in the hand belongs to the old game: it is discarded, and the redraw
// paints the hand row with what the model holds there.
TEST(NewGame, DiscardsACrateInTheHand) {
  Levels f;
  f.st.HeldCrate = 33;  // a sequence crate, which the first level never makes
  f.st.HeldFrom = 2;
  f.game.NewGame();
  EXPECT_EQ(f.st.HeldCrate, 0);
  const auto& log = f.rec.log;
  const auto last = std::find_if(log.rbegin(), log.rend(), [](const Event& e) {
    return e.kind == Ev::Crate && e.a == slotX(2) && e.b == kHandY;
  });
  ASSERT_NE(last, log.rend());
  EXPECT_EQ(last->c, f.st.Stacks[2][14]);
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const Event& e) { return e.kind == Ev::Crate && e.c == 33; }),
            0);
}

TEST(NewGame, DesignMapAndTileOrderArePermutations) {
  Levels f;
  f.game.NewGame();
  std::vector<int> map(f.st.DesignMap.begin() + 1, f.st.DesignMap.end());
  std::sort(map.begin(), map.end());
  std::vector<int> want(31);
  std::iota(want.begin(), want.end(), 1);
  EXPECT_EQ(map, want);
  auto order = f.tileOrder();
  EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
  EXPECT_EQ(f.crates(), (64 - f.st.PictureTileCount) / 2);
}

}  // namespace
}  // namespace quibbix::test
