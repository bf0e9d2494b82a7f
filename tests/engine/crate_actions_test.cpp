// Right-click actions of the special crates.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::kSlots;
using engine::slotX;
using engine::slotY;
using Chutes = std::array<std::vector<int>, 4>;

std::vector<int> repeat(int n, int value) {
  return std::vector<int>(static_cast<std::size_t>(n), value);
}

// What a player sees and hears of an action, in order: the cues, the first frame of every
// dissolve, and every change of the picture's cover and of the scoreboard. Flights and the
// crates a pull or a shuffle moves show in their cues.
using Story = std::vector<Event>;

Story storyOf(const Recorder& rec) {
  Story out;
  for (const Event& e : rec.log)
    if (e.kind == Ev::Cue || e.kind == Ev::Picture || e.kind == Ev::Scoreboard ||
        (e.kind == Ev::And && e.c == 9))
      out.push_back(e);
  return out;
}

Story story(std::initializer_list<Story> parts) {
  Story out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Chute contents 1, 2, ..., n, then the crates given.
std::vector<int> filled(int n, std::initializer_list<int> top) {
  std::vector<int> out;
  for (int i = 1; i <= n; ++i) out.push_back(i);
  out.insert(out.end(), top.begin(), top.end());
  return out;
}

// The cues 4 of a crate flying out of a chute of the given height.
Story flight(int height) { return Story(static_cast<std::size_t>(kSlots - height + 1), cue(4)); }
Event dissolves(int c, int s) { return {Ev::And, slotX(c), slotY(s), 9}; }
// A chute of h crates dissolving from the top down.
Story dissolvesAll(int c, int h) {
  Story out;
  for (int s = h; s >= 1; --s) out.push_back(dissolves(c, s));
  return out;
}
Event covered(int n) { return {Ev::Picture, 0, n}; }

// Random values for shuffling a chute of h crates: swap number t (0-based, over all five
// passes) exchanges slots i and j; every other swap exchanges slot 1 with itself.
std::vector<int> shuffleScript(int h, std::initializer_list<std::tuple<int, int, int>> swaps) {
  std::vector<int> out = repeat(5 * 10 * h * 2, 0);
  for (auto [t, i, j] : swaps) {
    out[static_cast<std::size_t>(2 * t)] = i - 1;
    out[static_cast<std::size_t>(2 * t + 1)] = j - 1;
  }
  return out;
}

void addAll(std::vector<Event>& out, const std::vector<Event>& more) {
  out.insert(out.end(), more.begin(), more.end());
}
// WaitMs pushes the drawing to the screen before it waits.
std::vector<Event> presentWait(int ms) { return {{Ev::Present}, wait(ms)}; }
std::vector<Event> vanish(int c, int s) {
  std::vector<Event> out;
  for (int i = 9; i <= 15; ++i) {
    out.push_back({Ev::And, slotX(c), slotY(s), i});
    addAll(out, presentWait(10));
  }
  return out;
}

// What the field shows at each slot position: taken from the model before an action,
// then replayed from the log. A dissolved slot counts as empty.
class Screen {
 public:
  explicit Screen(const engine::GameState& st) {
    for (int c = 0; c < 4; ++c)
      for (int s = 1; s <= kSlots; ++s) at_[{slotX(c), slotY(s)}] = st.Stacks[c][s - 1];
  }
  void replay(const std::vector<Event>& log) {
    for (const Event& e : log) {
      if (e.kind == Ev::Crate) at_[{e.a, e.b}] = e.c;
      if (e.kind == Ev::And) at_[{e.a, e.b}] = 0;
    }
  }
  // Slots whose picture differs from the model; the hand row shows the crate in the hand.
  std::vector<std::string> mismatches(const engine::GameState& st) const {
    std::vector<std::string> out;
    for (int c = 0; c < 4; ++c)
      for (int s = 1; s <= kSlots; ++s) {
        const bool hand = s == kSlots && st.HeldCrate != 0 && st.HeldFrom == c;
        const int want = hand ? st.HeldCrate : st.Stacks[c][s - 1];
        const int shown = at_.at({slotX(c), slotY(s)});
        if (shown != want)
          out.push_back("chute " + std::to_string(c) + " slot " + std::to_string(s) + " shows " +
                        std::to_string(shown) + ", holds " + std::to_string(want));
      }
    return out;
  }

 private:
  std::map<std::pair<int, int>, int> at_;
};

constexpr int kLevel = 5;
constexpr int kScore = 100;

Event scoreboard(int score) { return {Ev::Scoreboard, kLevel, score}; }

struct Case {
  std::string name;
  Chutes before;
  int press;
  Chutes after;
  Story story;
  int score = kScore;
  int covered = 10;
  int coveredAfter = 10;
  std::vector<int> random = {};
  int randomBound = 0;  // the n of every Random(n) call
  int heldCrate = 0, heldFrom = 0;
  bool gameOver = false;
  // The level is won: the chutes and cover are the next level's, and its story follows ours.
  bool nextLevel = false;
};

std::vector<Case> cases() {
  const std::vector<int> fourteen = filled(14, {});
  return {
      // Cash-ins fly out in either phase and add their points.
      {.name = "52 at height 4 in chute 2",
       .before = {{{}, {}, {1, 2, 3, 52}, {}}},
       .press = 2,
       .after = {{{}, {}, {1, 2, 3}, {}}},
       .story = story({flight(4), {cue(7), scoreboard(kScore + 53)}}),
       .score = kScore + 53},
      {.name = "50 alone",
       .before = {{{50}, {}, {}, {}}},
       .press = 0,
       .after = {},
       .story = story({flight(1), {cue(7), scoreboard(kScore + 13)}}),
       .score = kScore + 13},
      {.name = "-51 at height 7",
       .before = {{{}, {}, {}, filled(6, {-51})}},
       .press = 3,
       .after = {{{}, {}, {}, filled(6, {})}},
       .story = story({flight(7), {cue(7), scoreboard(kScore + 31)}}),
       .score = kScore + 31},
      {.name = "-53 in a full chute leaves without a flight",
       .before = {{{}, filled(14, {-53}), {}, {}}},
       .press = 1,
       .after = {{{}, fourteen, {}, {}}},
       .story = {cue(4), cue(7), scoreboard(kScore + 97)},
       .score = kScore + 97},

      // The picture gamble: the cue follows the change of the cover.
      {.name = "+54 uncovering the last 2 tiles starts the next level",
       .before = {{{5, 54}, {7}, {}, {}}},
       .press = 0,
       .after = {},
       .story = story({flight(2), {covered(0), cue(6), cue(12)}}),
       .covered = 2,
       .nextLevel = true},
      {.name = "+54 with 10 covered uncovers 3",
       .before = {{{}, {}, {}, {54}}},
       .press = 3,
       .after = {},
       .story = story({flight(1), {covered(7), cue(6)}}),
       .coveredAfter = 7},
      {.name = "-54 at 30 of 31 covers all",
       .before = {{{}, {}, {}, {9, -54}}},
       .press = 3,
       .after = {{{}, {}, {}, {9}}},
       .story = story({flight(2), {covered(31), cue(5)}}),
       .covered = 30,
       .coveredAfter = 31},

      // Dissolving: each cue before its dissolve.
      {.name = "56 on a chute of 2",
       .before = {{{}, {8, 56}, {3}, {}}},
       .press = 1,
       .after = {{{}, {}, {3}, {}}},
       .story = {cue(13), dissolves(1, 2), cue(13), dissolves(1, 1), cue(13)}},
      {.name = "56 on a chute of 5",
       .before = {{{}, {1, 2, 3, 4, -56}, {}, {}}},
       .press = 1,
       .after = {{{}, {1, 2}, {}, {}}},
       .story = {cue(13), dissolves(1, 5), cue(13), dissolves(1, 4), cue(13), dissolves(1, 3)}},
      {.name = "57 empties its chute",
       .before = {{{}, {4}, {1, 2, 3, 57}, {}}},
       .press = 2,
       .after = {{{}, {4}, {}, {}}},
       .story = {cue(13), dissolves(2, 4), cue(13), dissolves(2, 3), cue(13), dissolves(2, 2),
                 cue(13), dissolves(2, 1)}},

      // The pull.
      {.name = "+58 in chute 1 only dissolves",
       .before = {{{1, 2}, {5, 58}, {}, {}}},
       .press = 1,
       .after = {{{1, 2}, {5}, {}, {}}},
       .story = {dissolves(1, 2)}},
      {.name = "-58 in chute 1 pulls from chute 2 of 5",
       .before = {{{}, {5, -58}, {11, 12, 13, 14, 15}, {}}},
       .press = 1,
       .after = {{{}, {5, 15, 14}, {11, 12}, {}}},
       .story = {dissolves(1, 2), cue(14), cue(1), cue(3), cue(1), cue(3), cue(1)},
       .heldCrate = 13,
       .heldFrom = 2},
      {.name = "+58 in chute 2 takes all of a neighbour of 2",
       .before = {{{}, {6, 7}, {58}, {}}},
       .press = 2,
       .after = {{{}, {}, {7, 6}, {}}},
       .story = {dissolves(2, 1), cue(14), cue(1), cue(3), cue(1), cue(3)}},
      {.name = "-58 in chute 3 has no neighbour",
       .before = {{{}, {}, {4, 5}, {1, -58}}},
       .press = 3,
       .after = {{{}, {}, {4, 5}, {1}}},
       .story = {dissolves(3, 2)}},
      {.name = "-58 beside an empty chute",
       .before = {{{-58}, {}, {}, {}}},
       .press = 0,
       .after = {},
       .story = {dissolves(0, 1)}},
      {.name = "-58 left with 12 crates pulls without cue 14",
       .before = {{{}, filled(12, {-58}), {20, 21}, {}}},
       .press = 1,
       .after = {{{}, filled(12, {21, 20}), {}, {}}},
       .story = {dissolves(1, 13), cue(1), cue(3), cue(1), cue(3)}},
      {.name = "-58 in a chute of 14 pulling from a chute of 4 ends the game",
       .before = {{filled(13, {-58}), {21, 22, 23, 24}, {3, 3}, {}}},
       .press = 0,
       .after = {},
       // The pushed crate makes 15 in chute 0; then every chute dissolves from the left.
       .story = story({{dissolves(0, 14), cue(1), cue(3), cue(1), cue(18)},
                       dissolvesAll(0, 15),
                       dissolvesAll(1, 2),
                       dissolvesAll(2, 2)}),
       .heldCrate = 23,
       .heldFrom = 1,
       .gameOver = true},

      // The shuffle.
      {.name = "59 alone",
       .before = {{{}, {}, {59}, {}}},
       .press = 2,
       .after = {},
       .story = {dissolves(2, 1)}},
      {.name = "59 on one crate",
       .before = {{{}, {}, {3, -59}, {}}},
       .press = 2,
       .after = {{{}, {}, {3}, {}}},
       .story = {dissolves(2, 2)}},
      {.name = "59 on three crates",
       .before = {{{}, {4, 9, 7, -59}, {}, {}}},
       .press = 1,
       // {4, 9, 7} -> (1, 3) -> {7, 9, 4} -> (3, 2) -> {7, 4, 9} -> (1, 2) -> {4, 7, 9}
       .after = {{{}, {4, 7, 9}, {}, {}}},
       .story = {dissolves(1, 4), cue(10), cue(10), cue(10), cue(10), cue(10)},
       .random = shuffleScript(3, {{0, 1, 3}, {30, 3, 2}, {149, 1, 2}}),
       .randomBound = 3},

      // Remove equals: the cue comes first.
      {.name = "60 on a 7 with 7s everywhere",
       .before = {{{7, 1, 7}, {2, 7, 7, 3}, {7, 4, 7, 60}, {7}}},
       .press = 2,
       .after = {{{1}, {2, 3}, {4}, {}}},
       .story = {cue(16), dissolves(2, 4)}},
      {.name = "60 on a -52 spares the 52s",
       .before = {{{52, -52, 1, -52}, {-52, 60}, {}, {52, -52, 52}}},
       .press = 1,
       .after = {{{52, 1}, {}, {}, {52, 52}}},
       .story = {cue(16), dissolves(1, 2)}},
      {.name = "60 alone",
       .before = {{{}, {}, {}, {60}}},
       .press = 3,
       .after = {},
       .story = {cue(16), dissolves(3, 1)}},

      // Covering again: cue, dissolve, then the cover.
      {.name = "61 covers Random(5)+1 tiles",
       .before = {{{1, 61}, {}, {}, {}}},
       .press = 0,
       .after = {{{1}, {}, {}, {}}},
       .story = {cue(17), dissolves(0, 2), covered(13)},
       .coveredAfter = 13,
       .random = {2},
       .randomBound = 5},
      {.name = "61 covers no more than the picture has",
       .before = {{{}, {-61}, {}, {}}},
       .press = 1,
       .after = {},
       .story = {cue(17), dissolves(1, 1), covered(31)},
       .covered = 28,
       .coveredAfter = 31,
       .random = {4},
       .randomBound = 5},

      // The top row: the cue, then the 62 and the top of every chute from the left.
      {.name = "62 on chute 0 with heights 3, 0, 5, 1",
       .before = {{{1, 2, 62}, {}, {3, 4, 5, 6, 7}, {8}}},
       .press = 0,
       .after = {{{1}, {}, {3, 4, 5, 6}, {}}},
       .story = {cue(15), dissolves(0, 3), dissolves(0, 2), dissolves(2, 5), dissolves(3, 1)}},

      // No action, yet the timer is stopped and started again.
      {.name = "55",
       .before = {{{}, {3, -55}, {}, {}}},
       .press = 1,
       .after = {{{}, {3, -55}, {}, {}}},
       .story = {}},
      {.name = "an ordinary crate",
       .before = {{{}, {}, {12}, {}}},
       .press = 2,
       .after = {{{}, {}, {12}, {}}},
       .story = {}},
      {.name = "63",
       .before = {{{-63}, {}, {}, {}}},
       .press = 0,
       .after = {{{-63}, {}, {}, {}}},
       .story = {}},
      {.name = "an empty chute",
       .before = {{{}, {}, {}, {1}}},
       .press = 2,
       .after = {{{}, {}, {}, {1}}},
       .story = {}},
  };
}

std::vector<int> cueNumbers(const Recorder& rec) {
  std::vector<int> out;
  for (const auto& e : rec.only({Ev::Cue})) out.push_back(e.a);
  return out;
}

TEST(SpecialCrates, Actions) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.st.Level = kLevel;
    f.st.Score = kScore;
    f.setPicture(31, c.covered);
    for (int i = 0; i < 4; ++i) {
      f.st.Stacks[i].fill(0);
      for (std::size_t s = 0; s < c.before[i].size(); ++s) f.st.Stacks[i][s] = c.before[i][s];
      f.st.StackHeight[i] = static_cast<int>(c.before[i].size());
    }
    f.rec.scripted.assign(c.random.begin(), c.random.end());
    Screen screen(f.st);

    f.game.TriggerSpecial(c.press);

    screen.replay(f.rec.log);
    EXPECT_EQ(screen.mismatches(f.st), std::vector<std::string>{});

    const auto& log = f.rec.log;
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), timer(false));
    EXPECT_EQ(log[log.size() - 2], timer(true));
    EXPECT_EQ(log.back(), Event{Ev::Present});
    EXPECT_EQ(f.st.Score, c.score);
    EXPECT_EQ(f.st.HeldCrate, c.heldCrate);
    if (c.heldCrate != 0) {
      EXPECT_EQ(f.st.HeldFrom, c.heldFrom);
    }
    EXPECT_EQ(f.st.GameOver, c.gameOver);
    EXPECT_EQ(f.rec.count(Ev::GameOverMsg), c.gameOver ? 1 : 0);
    EXPECT_EQ(f.rec.count(Ev::HighScore), c.gameOver ? 1 : 0);

    const Story seen = storyOf(f.rec);
    if (c.nextLevel) {
      EXPECT_EQ(f.st.Level, kLevel + 1);
      EXPECT_EQ(f.st.CoveredCount, f.st.PictureTileCount);
      EXPECT_GT(f.st.CoveredCount, 0);
      ASSERT_GE(seen.size(), c.story.size());
      EXPECT_EQ(Story(seen.begin(), seen.begin() + std::ssize(c.story)), c.story);
      continue;
    }
    EXPECT_EQ(f.st.Level, kLevel);
    EXPECT_EQ(f.rec.count(Ev::Timer), 2);
    EXPECT_EQ(seen, c.story);
    EXPECT_EQ(f.st.CoveredCount, c.coveredAfter);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(f.chute(i), c.after[i]) << "chute " << i;
      for (int s = f.st.StackHeight[i]; s < kSlots; ++s) EXPECT_EQ(f.st.Stacks[i][s], 0);
    }
    EXPECT_EQ(f.rec.randomCalls.size(), c.random.size());
    for (int n : f.rec.randomCalls) EXPECT_EQ(n, c.randomBound);
  }
}

TEST(SpecialCrates, CashInFliesFrameByFrame) {
  Fixture f;
  f.st.Level = 7;
  f.st.Score = 40;
  f.setChute(2, {1, 2, 3, 52});
  f.game.TriggerSpecial(2);

  std::vector<Event> expected = {timer(false)};
  for (int s = 5; s <= 15; ++s) {
    addAll(expected, {cue(4), slot(2, s, 52), slot(2, s - 1, 0)});
    addAll(expected, presentWait(50));
  }
  addAll(expected,
         {cue(4), slot(2, 15, 0), cue(7), {Ev::Scoreboard, 7, 93}, timer(true), {Ev::Present}});
  EXPECT_EQ(f.rec.log, expected);
}

TEST(SpecialCrates, PullMovesCratesPassByPass) {
  Fixture f;
  f.setChute(1, {6, 7});
  f.setChute(2, {9, 58});
  f.game.TriggerSpecial(2);

  std::vector<Event> expected = {timer(false)};
  addAll(expected, vanish(2, 2));
  expected.push_back(cue(14));
  // Pass 1: nothing to drop yet; the 7 goes into the hand above chute 1.
  addAll(expected, presentWait(50));
  addAll(expected, presentWait(50));
  addAll(expected, {hand(1, 7), cue(1), slot(1, 2, 0)});
  // Pass 2: the 7 lands on chute 2, the 6 is taken.
  addAll(expected, presentWait(50));
  addAll(expected, {hand(1, 0), cue(3), slot(2, 2, 7)});
  addAll(expected, presentWait(50));
  addAll(expected, {hand(1, 6), cue(1), slot(1, 1, 0)});
  // Pass 3: the 6 lands; chute 1 is empty, so the hand stays empty.
  addAll(expected, presentWait(50));
  addAll(expected, {hand(1, 0), cue(3), slot(2, 3, 6)});
  addAll(expected, presentWait(50));
  addAll(expected, {timer(true), {Ev::Present}});
  EXPECT_EQ(f.rec.log, expected);
}

TEST(SpecialCrates, PullOverflowEndsTheGameKeepingTheHand) {
  struct Overflow {
    int below;  // crates under the 58 in chute 0
    int score;
    int pass;                 // the pass that finds chute 0 full, and the code it pushes
    std::vector<int> chute0;  // chute 0 when the crate is pushed, bottom first
    int held;
    std::vector<int> neighbourLeft;
  };
  const std::vector<Overflow> overflows = {
      // Pass 1 takes the 24, pass 2 drops it and takes the 23, pass 3 finds 14 crates.
      {13, 250, 3, filled(13, {24}), 23, {21, 22}},
      // Full from the start: pass 1 already ends the game, nothing has moved.
      {14, 0, 1, filled(14, {}), 0, {21, 22, 23, 24}},
  };
  for (const Overflow& o : overflows) {
    SCOPED_TRACE(o.below);
    Fixture f;
    f.st.Score = o.score;
    f.setChute(0, {});
    for (int s = 0; s < o.below; ++s) f.st.Stacks[0][s] = s + 1;
    f.st.Stacks[0][o.below] = -58;
    f.st.StackHeight[0] = o.below + 1;
    f.setChute(1, {21, 22, 23, 24});
    f.setChute(3, {5, 5});
    bool checked = false;
    f.rec.onGameOverMessage = [&] {
      checked = true;
      EXPECT_TRUE(f.st.GameOver);
      EXPECT_FALSE(f.rec.timerEnabled);
      EXPECT_EQ(f.st.HeldCrate, o.held);
      if (o.held != 0) {
        EXPECT_EQ(f.st.HeldFrom, 1);
      }
      for (int c = 0; c < 4; ++c) EXPECT_EQ(f.st.StackHeight[c], 0);
    };
    f.game.TriggerSpecial(0);
    EXPECT_TRUE(checked);

    // The crate numbered after the pass is pushed in at the bottom, then every chute
    // dissolves and the dialogs follow.
    std::vector<Event> expected = {slot(0, 1, o.pass)};
    for (int s = 2; s <= 15; ++s) expected.push_back(slot(0, s, o.chute0[s - 2]));
    addAll(expected, presentWait(50));
    expected.push_back(cue(18));
    for (int s = 15; s >= 1; --s) addAll(expected, vanish(0, s));
    for (int s = static_cast<int>(o.neighbourLeft.size()); s >= 1; --s)
      addAll(expected, vanish(1, s));
    for (int s = 2; s >= 1; --s) addAll(expected, vanish(3, s));
    addAll(expected, {{Ev::Present}, {Ev::GameOverMsg}});
    if (o.score > 0) expected.push_back({Ev::HighScore, o.score});
    addAll(expected, {timer(true), {Ev::Present}});

    const auto& log = f.rec.log;
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<Event>(log.end() - std::ssize(expected), log.end()), expected);
  }
}

TEST(SpecialCrates, RemoveEqualsGoesChuteByChuteFromTheTop) {
  Fixture f;
  f.setChute(0, {7, 1, 7});
  f.setChute(1, {7, 7, 2});
  f.setChute(2, {5, 7, 60});
  f.setChute(3, {-7, 3});
  f.game.TriggerSpecial(2);

  // What follows the 60's own dissolve.
  std::vector<Event> after;
  bool seenAnd = false;
  for (auto it = f.rec.log.rbegin(); it != f.rec.log.rend() && !seenAnd; ++it) {
    if (it->kind == Ev::And)
      seenAnd = true;
    else
      after.insert(after.begin(), *it);
  }
  std::vector<Event> expected = presentWait(10);  // the dissolve's last frame
  addAll(expected, {slot(0, 3, 0)});              // top of chute 0
  addAll(expected, presentWait(50));
  addAll(expected, {slot(0, 1, 1), slot(0, 2, 0)});  // bottom of chute 0, the 1 moves down
  addAll(expected, presentWait(50));
  addAll(expected, {slot(1, 2, 2), slot(1, 3, 0)});
  addAll(expected, presentWait(50));
  addAll(expected, {slot(1, 1, 2), slot(1, 2, 0)});
  addAll(expected, presentWait(50));
  addAll(expected, {slot(2, 2, 0)});  // the crate the 60 lay on
  addAll(expected, presentWait(50));
  addAll(expected, {timer(true), {Ev::Present}});  // the -7 of chute 3 stays
  EXPECT_EQ(after, expected);
  EXPECT_EQ(f.chute(3), (std::vector<int>{-7, 3}));
}

// The crate a pull leaves in the hand waits for the release of the pressing button, which
// drops it like any carried crate and then looks for a group.
TEST(SpecialCrates, ReleaseAfterPullDropsAndMatches) {
  Fixture f;
  f.setPicture(31, 10);
  f.setChute(1, {5, -58});
  f.setChute(2, {11, 9, 9, 9});
  const int overChute1 = 150;

  f.game.MouseDown(engine::Button::Right, overChute1, 200);
  EXPECT_EQ(f.chute(1), (std::vector<int>{5, 9, 9}));
  EXPECT_EQ(f.chute(2), (std::vector<int>{11}));
  EXPECT_EQ(f.st.HeldCrate, 9);
  EXPECT_EQ(f.st.HeldFrom, 2);
  EXPECT_TRUE(f.rec.timerEnabled);

  f.rec.clear();
  f.game.boxMouseUp(overChute1);
  EXPECT_EQ(f.st.HeldCrate, 0);
  EXPECT_EQ(f.chute(1), (std::vector<int>{5}));
  EXPECT_EQ(f.st.Score, 3);
  EXPECT_EQ(f.st.CoveredCount, 9);
  const auto cues = cueNumbers(f.rec);
  ASSERT_FALSE(cues.empty());
  EXPECT_EQ(cues.front(), 3);
  EXPECT_EQ(cues.back(), 8);
  EXPECT_EQ(f.rec.log.front(), hand(2, 0));
  EXPECT_EQ(f.rec.log[2], slot(1, 4, 9));
}

TEST(SpecialCrates, ShuffleSoundsAndPausesEachPass) {
  Fixture f;
  f.setChute(0, {4, 9, -59});
  f.game.TriggerSpecial(0);

  std::vector<Event> passes;
  for (const Event& e : f.rec.only({Ev::Cue, Ev::Wait}))
    if (!(e == wait(10))) passes.push_back(e);  // leave out the 59's dissolve
  std::vector<Event> expected;
  for (int pass = 0; pass < 5; ++pass) addAll(expected, {cue(10), wait(100)});
  EXPECT_EQ(passes, expected);
}

}  // namespace
}  // namespace quibbix::test
