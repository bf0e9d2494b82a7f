// Triples, sequences and pairs on top of a chute: what goes, what it scores and how it
// leaves the chute, frame by frame.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::kSlots;

struct MatchCase {
  std::string name;
  std::vector<int> chute;  // bottom first; the last one is the crate just dropped
  int points;
  std::vector<int> cues;  // cues other than the animation's cue 4
  int uncovered;          // picture tiles uncovered
  std::vector<int> left;  // what stays in the chute
};

std::vector<int> cuesAfterAnimation(const Recorder& rec) {
  std::vector<int> out;
  for (const auto& e : rec.log)
    if (e.kind == Ev::Cue && e.a != 4) out.push_back(e.a);
  return out;
}

void setChute(Fixture& f, int c, const std::vector<int>& codes) {
  f.st.Stacks[c].fill(0);
  for (size_t i = 0; i < codes.size(); ++i) f.st.Stacks[c][i] = codes[i];
  f.st.StackHeight[c] = static_cast<int>(codes.size());
}

TEST(Matching, GroupsOnTopOfAChute) {
  const std::vector<MatchCase> cases = {
      {"ordinary triple", {7, 7, 7}, 3, {8}, 1, {}},
      {"special triple in mixed phases", {-58, 58, -58}, 9, {8}, 1, {}},
      {"triple of 50", {50, -50, 50}, 117, {9}, 1, {}},
      {"triple of 51", {51, 51, 51}, 279, {9}, 1, {}},
      {"triple of 52", {52, 52, 52}, 477, {9}, 1, {}},
      {"triple of 53", {53, 53, 53}, 873, {9}, 1, {}},
      {"triple of 55", {-55, -55, 55}, 9, {8}, 1, {}},
      {"triple of 62", {62, 62, 62}, 9, {8}, 1, {}},
      {"triple of sequence crates scores nothing yet uncovers", {32, 32, 32}, 0, {}, 1, {}},
      {"triple of 34", {34, 34, 34}, 0, {}, 1, {}},
      {"triple of pair crates", {35, 35, 35}, 3, {8}, 1, {}},
      {"sequence", {33, 32, 34}, 333, {9}, 0, {}},
      {"sequence in another order", {9, 34, 33, 32}, 333, {9}, 0, {9}},
      {"pair", {36, 35}, 77, {8, 8}, 0, {}},
      {"pair over a failed triple", {36, 36, 35}, 77, {8, 8}, 0, {36}},
      {"upside-down pair stays", {35, 36}, 0, {}, 0, {35, 36}},
      {"three 54 never match", {54, -54, 54}, 0, {}, 0, {54, -54, 54}},
      {"a 54 on top hides a pair below", {36, 35, 54}, 0, {}, 0, {36, 35, 54}},
      {"a crate dropped on the 54s is examined", {54, 54, 54, 7, 7, 7}, 3, {8}, 1, {54, 54, 54}},
      {"two equal and one other", {7, 7, 8}, 0, {}, 0, {7, 7, 8}},
      {"one group per release", {4, 4, 4, 9, 9, 9}, 3, {8}, 1, {4, 4, 4}},
      {"a single crate", {7}, 0, {}, 0, {7}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Fixture f;
    f.setPicture(20, 10);
    f.st.Level = 1;
    f.st.Score = 1000;
    setChute(f, 2, tc.chute);

    f.game.ResolveMatch(2);

    EXPECT_EQ(f.st.Score, 1000 + tc.points);
    EXPECT_EQ(cuesAfterAnimation(f.rec), tc.cues);
    EXPECT_EQ(f.st.CoveredCount, 10 - tc.uncovered);
    EXPECT_EQ(f.chute(2), tc.left);
    for (int s = static_cast<int>(tc.left.size()); s < kSlots; ++s) EXPECT_EQ(f.st.Stacks[2][s], 0);
    EXPECT_EQ(f.st.Level, 1);
    if (tc.left.size() < tc.chute.size()) {
      // The new score is on the board before the cue plays.
      ASSERT_GE(f.rec.count(Ev::Scoreboard), 1);
      const auto boards = f.rec.only({Ev::Scoreboard});
      EXPECT_EQ(boards.back().b, 1000 + tc.points);
    } else {
      EXPECT_TRUE(f.rec.log.empty());
    }
  }
}

TEST(Matching, TripleAfterTheAnimationUpdatesBoardCueAndPictureInOrder) {
  Fixture f;
  f.setPicture(20, 10);
  f.setChute(0, {7, 7, 7});
  f.game.ResolveMatch(0);
  const auto tail = f.rec.only({Ev::Scoreboard, Ev::Cue, Ev::Picture});
  ASSERT_GE(tail.size(), 3u);
  EXPECT_EQ(std::vector<Event>(tail.end() - 3, tail.end()),
            (std::vector<Event>{{Ev::Scoreboard, 0, 3}, cue(8), {Ev::Picture, 0, 9}}));
}

TEST(Matching, PairPlaysItsCueTwiceFiftyMillisecondsApart) {
  Fixture f;
  f.setChute(1, {36, 35});
  f.game.ResolveMatch(1);
  const auto& log = f.rec.log;
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(std::vector<Event>(log.end() - 5, log.end()),
            (std::vector<Event>{{Ev::Scoreboard, 0, 77}, cue(8), {Ev::Present}, wait(50), cue(8)}));
}

TEST(Matching, TripleFramesAtLowHeight) {
  Fixture f;
  // Drawn throughout with the top crate's code, sign included.
  f.setChute(1, {50, 50, -50});
  f.game.RemoveTriple(1);

  std::vector<Event> want;
  for (int i = 0; i < 4; ++i) {
    want.insert(want.end(), {cue(4), slot(1, 3, 0), slot(1, 2, 0), slot(1, 1, 0), wait(50)});
    want.insert(want.end(), {cue(4), slot(1, 3, -50), slot(1, 2, -50), slot(1, 1, -50), wait(50)});
  }
  for (int s = 3; s <= 14; ++s)
    want.insert(want.end(), {cue(4), slot(1, s + 1, -50), slot(1, s - 2, 0), wait(50)});
  want.insert(want.end(), {cue(4), slot(1, 13, 0), wait(50), cue(4), slot(1, 14, 0), wait(50),
                           cue(4), slot(1, 15, 0)});

  EXPECT_EQ(f.rec.only({Ev::Crate, Ev::Cue, Ev::Wait}), want);
  EXPECT_EQ(f.st.StackHeight[1], 0);
  EXPECT_EQ(f.chute(1), std::vector<int>{});
  EXPECT_EQ(f.st.Stacks[1][0] | f.st.Stacks[1][1] | f.st.Stacks[1][2], 0);
}

// Eleven crates that form no group, for chutes that must stand high.
std::vector<int> filler() { return {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1}; }

std::vector<int> withTop(std::initializer_list<int> top) {
  auto v = filler();
  v.insert(v.end(), top);
  return v;
}

TEST(Matching, SequenceKeepsItsOrderWhileLeaving) {
  Fixture f;
  setChute(f, 0, withTop({33, 34, 32}));
  f.game.RemoveSequence(0);

  std::vector<Event> want;
  for (int i = 0; i < 4; ++i) {
    want.insert(want.end(), {cue(4), slot(0, 14, 0), slot(0, 13, 0), slot(0, 12, 0), wait(50)});
    want.insert(want.end(), {cue(4), slot(0, 14, 32), slot(0, 13, 34), slot(0, 12, 33), wait(50)});
  }
  want.insert(want.end(), {cue(4), slot(0, 15, 32), slot(0, 14, 34), slot(0, 13, 33),
                           slot(0, 12, 0), wait(50)});
  want.insert(want.end(), {cue(4), slot(0, 15, 34), slot(0, 14, 33), slot(0, 13, 0), wait(50)});
  want.insert(want.end(), {cue(4), slot(0, 15, 33), slot(0, 14, 0), wait(50)});
  want.insert(want.end(), {cue(4), slot(0, 15, 0)});

  EXPECT_EQ(f.rec.only({Ev::Crate, Ev::Cue, Ev::Wait}), want);
  EXPECT_EQ(f.chute(0), filler());
  EXPECT_EQ(f.st.Stacks[0][11] | f.st.Stacks[0][12] | f.st.Stacks[0][13], 0);
}

TEST(Matching, RiseStepsFollowTheHeight) {
  struct Case {
    std::string name;
    std::vector<int> chute;
    int frames;       // cue 4 frames: 8 of blinking, the rise steps, the leave frames
    int frameWaits;   // 50 ms waits, the pair's wait between its two cues included
    Event firstRise;  // the frame drawn by the first rise step
    std::vector<int> left;
  };
  const std::vector<Case> cases = {
      {"triple at 14 rises one step", withTop({5, 5, 5}), 8 + 1 + 3, 8 + 1 + 2, slot(3, 15, 5),
       filler()},
      {"pair at 2 rises 13 steps", {36, 35}, 8 + 13 + 2, 8 + 13 + 1 + 1, slot(3, 3, 35), {}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Fixture f;
    f.setPicture(20, 10);
    setChute(f, 3, tc.chute);
    f.game.ResolveMatch(3);
    EXPECT_EQ(f.rec.count(Ev::Cue, 4), tc.frames);
    EXPECT_EQ(f.rec.count(Ev::Wait, 51), tc.frameWaits);
    EXPECT_EQ(f.rec.count(Ev::Wait), tc.frameWaits);
    // The ninth cue 4 starts the first rise step.
    const auto frames = f.rec.only({Ev::Cue, Ev::Crate});
    int seen = 0;
    for (size_t i = 0; i < frames.size(); ++i)
      if (frames[i] == cue(4) && ++seen == 9) {
        ASSERT_LT(i + 1, frames.size());
        EXPECT_EQ(frames[i + 1], tc.firstRise);
      }
    EXPECT_EQ(f.chute(3), tc.left);
  }
}

TEST(Matching, PairRisesFromTheBottomAsItsTwoHalves) {
  Fixture f;
  f.setChute(2, {36, 35});
  f.game.RemovePair(2);
  std::vector<Event> want;
  for (int i = 0; i < 4; ++i) {
    want.insert(want.end(), {cue(4), slot(2, 2, 0), slot(2, 1, 0), wait(50)});
    want.insert(want.end(), {cue(4), slot(2, 2, 35), slot(2, 1, 36), wait(50)});
  }
  for (int s = 2; s <= 14; ++s)
    want.insert(want.end(),
                {cue(4), slot(2, s + 1, 35), slot(2, s, 36), slot(2, s - 1, 0), wait(50)});
  want.insert(want.end(),
              {cue(4), slot(2, 15, 36), slot(2, 14, 0), wait(50), cue(4), slot(2, 15, 0)});
  EXPECT_EQ(f.rec.only({Ev::Crate, Ev::Cue, Ev::Wait}), want);
  EXPECT_EQ(f.st.StackHeight[2], 0);
  EXPECT_EQ(f.st.Stacks[2][0] | f.st.Stacks[2][1], 0);
}

TEST(Matching, RemovalsOnTooLowAChuteDoNothing) {
  Fixture f;
  f.setChute(0, {7, 7});
  f.setChute(1, {35});
  f.game.RemoveTriple(0);
  f.game.RemoveSequence(0);
  f.game.RemovePair(1);
  f.game.ResolveMatch(-1);
  f.game.ResolveMatch(4);
  EXPECT_TRUE(f.rec.log.empty());
  EXPECT_EQ(f.chute(0), (std::vector<int>{7, 7}));
  EXPECT_EQ(f.chute(1), std::vector<int>{35});
}

TEST(Matching, LastCoveredTileEndsTheLevelAfterTheCue) {
  Fixture f;
  f.setPicture(12, 1);
  f.st.Level = 1;
  f.st.Score = 10;
  f.setChute(0, {7, 7, 7});
  f.setChute(2, {4});
  f.game.ResolveMatch(0);

  EXPECT_EQ(f.st.Level, 2);
  EXPECT_EQ(f.st.Score, 13);
  EXPECT_EQ(f.st.CoveredCount, f.st.PictureTileCount);
  EXPECT_GT(f.st.CoveredCount, 0);
  // The triple's cue and the fully uncovered picture come first, then the level's end.
  const auto order = f.rec.only({Ev::Cue, Ev::Picture, Ev::Label});
  const auto at = [&](const Event& e) { return std::find(order.begin(), order.end(), e); };
  ASSERT_NE(at(cue(12)), order.end());
  EXPECT_LT(at(cue(8)), at(Event{Ev::Picture, 0, 0}));
  EXPECT_EQ(at(Event{Ev::Picture, 0, 0}) + 1, at(cue(12)));
  EXPECT_LT(at(cue(12)), at(Event{Ev::Label, 1}));
  EXPECT_TRUE(f.rec.timerEnabled);
}

TEST(Matching, GroupsOtherThanATripleLeaveThePictureAlone) {
  for (const auto& top : {std::vector<int>{33, 34, 32}, std::vector<int>{36, 35}}) {
    Fixture f;
    f.setPicture(12, 1);
    f.st.Level = 1;
    setChute(f, 1, top);
    f.game.ResolveMatch(1);
    EXPECT_EQ(f.st.CoveredCount, 1);
    EXPECT_EQ(f.st.Level, 1);
    EXPECT_EQ(f.rec.count(Ev::Picture), 0);
  }
}

}  // namespace
}  // namespace quibbix::test
