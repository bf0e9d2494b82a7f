// The mouse on the playing field: which chute a pointer means, pick-up, carrying,
// dropping, the picture press, and pause and resume.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::Button;

// A level in play with one distinct crate in every chute: chute c holds 11 + c.
struct Board : Fixture {
  Board() {
    st.Level = 1;
    for (int k = 1; k <= 31; ++k) st.DesignMap[k] = static_cast<std::int8_t>(k);
    for (int c = 0; c < 4; ++c) setChute(c, {11 + c});
  }
  void hold(int code, int from) {
    st.HeldCrate = code;
    st.HeldFrom = from;
  }
  // A picture press whose new crate goes to chute c; the second value is the pool draw
  // of the crate generator, whatever it leaves unused is dropped.
  void pressPictureFor(int c) {
    rec.script({c, 0});
    game.MouseDown(Button::Left, 400, 250);
    rec.scripted.clear();
  }
  int top(int c) const { return st.StackHeight[c] ? st.Stacks[c][st.StackHeight[c] - 1] : 0; }
  void fill(int c, int n) {
    st.Stacks[c].fill(0);
    for (int i = 0; i < n; ++i) st.Stacks[c][i] = 1 + i % 2;
    st.StackHeight[c] = n;
  }
};

TEST(Hand, ZonesOfPressMoveAndRelease) {
  struct Case {
    int x;
    int press;  // -1: ignored
    int release;
  };
  const std::vector<Case> cases = {
      {113, 0, 0}, {114, 1, 1}, {189, 1, 1},  {190, 2, 2},  {265, 2, 2},
      {266, 3, 3}, {341, 3, 3}, {342, -1, 3}, {480, -1, 3}, {-5, 0, 0},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE("x = " + std::to_string(tc.x));
    {
      Board b;
      b.game.MouseDown(Button::Left, tc.x, 100);
      EXPECT_EQ(b.st.HeldCrate, tc.press < 0 ? 0 : 11 + tc.press);
      EXPECT_EQ(b.rec.count(Ev::Cue, 1), tc.press < 0 ? 0 : 1);
    }
    {
      // Carried from a chute the pointer is not over.
      Board b;
      const int from = tc.press == 0 ? 3 : 0;
      b.hold(7, from);
      b.game.MouseMove(tc.x);
      EXPECT_EQ(b.st.HeldFrom, tc.press < 0 ? from : tc.press);
      EXPECT_EQ(b.rec.count(Ev::Cue, 2), tc.press < 0 ? 0 : 1);
    }
    {
      Board b;
      b.hold(7, 1);
      b.game.boxMouseUp(tc.x);
      EXPECT_EQ(b.st.HeldCrate, 0);
      EXPECT_EQ(b.top(tc.release), 7);
    }
  }
  EXPECT_EQ(engine::chuteForPress(-5), 0);
  EXPECT_EQ(engine::chuteForPress(342), -1);
  EXPECT_EQ(engine::chuteForRelease(100000), 3);
}

TEST(Hand, PressOnThePictureBringsACrate) {
  struct Case {
    int x, y;
    Button button;
    bool holding;
    bool brings;
  };
  const std::vector<Case> cases = {
      {355, 191, Button::Left, false, true},  {473, 309, Button::Left, false, true},
      {400, 250, Button::Right, true, true},  {400, 250, Button::Middle, false, true},
      {354, 200, Button::Left, false, false}, {400, 190, Button::Left, false, false},
      {474, 250, Button::Left, false, false}, {400, 310, Button::Left, false, false},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::to_string(tc.x) + "," + std::to_string(tc.y));
    Board b;
    if (tc.holding) b.hold(7, 0);
    b.st.TickCounter = 19;
    b.rec.script({2, 0});
    b.game.MouseDown(tc.button, tc.x, tc.y);
    EXPECT_EQ(b.st.StackHeight[2], tc.brings ? 2 : 1);
    EXPECT_EQ(b.rec.count(Ev::Cue, 11), tc.brings ? 1 : 0);
    if (tc.brings) {
      EXPECT_EQ(b.rec.randomCalls.front(), 4);
    }
    // The clock's rhythm is left alone.
    EXPECT_EQ(b.rec.count(Ev::Timer), 0);
    EXPECT_EQ(b.st.TickCounter, 19);
    EXPECT_EQ(b.st.HeldCrate, tc.holding ? 7 : 0);
    EXPECT_EQ(b.st.StackHeight[0] + b.st.StackHeight[1] + b.st.StackHeight[3], 3);
    EXPECT_FALSE(b.st.GameOver);
  }
}

TEST(Hand, PressOnThePictureOverAFullChuteEndsTheGame) {
  Board b;
  b.fill(2, 13);
  b.pressPictureFor(2);
  EXPECT_EQ(b.st.StackHeight[2], 14);
  EXPECT_FALSE(b.st.GameOver);

  b.pressPictureFor(2);
  EXPECT_TRUE(b.st.GameOver);
  EXPECT_EQ(b.rec.count(Ev::GameOverMsg), 1);
  EXPECT_EQ(b.rec.count(Ev::Timer), 0);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(b.st.StackHeight[c], 0);
}

TEST(Hand, OneWayCrate) {
  struct Case {
    std::string name;
    int code, from;
    int moveX;  // 0: no move
    int heldFromAfterMove;
    int releaseX;
    int lands;
  };
  const std::vector<Case> cases = {
      {"+55 carried right, released left", 55, 1, 300, 3, 50, 3},
      {"+55 released right", 55, 1, 0, 1, 300, 3},
      {"+55 moved left is not followed", 55, 2, 50, 2, 50, 2},
      {"+55 released over its own chute", 55, 2, 0, 2, 200, 2},
      {"-55 released right", -55, 2, 0, 2, 300, 2},
      {"-55 released left", -55, 2, 0, 2, 50, 0},
      {"-55 moved right is not followed", -55, 1, 300, 1, 300, 1},
      {"-55 carried left", -55, 3, 150, 1, 50, 0},
      {"another special moves freely", 56, 2, 50, 0, 300, 3},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Board b;
    b.hold(tc.code, tc.from);
    if (tc.moveX) b.game.MouseMove(tc.moveX);
    EXPECT_EQ(b.st.HeldFrom, tc.heldFromAfterMove);
    b.game.boxMouseUp(tc.releaseX);
    EXPECT_EQ(b.st.HeldCrate, 0);
    EXPECT_EQ(b.top(tc.lands), tc.code);
    EXPECT_EQ(b.st.StackHeight[tc.lands], 2);
  }
}

TEST(Hand, PickUpCarryAndDropDrawsEachStep) {
  Board b;
  b.game.MouseDown(Button::Left, 150, 40);
  EXPECT_EQ(b.rec.log, (std::vector<Event>{hand(1, 12), cue(1), slot(1, 1, 0), {Ev::Present}}));
  b.rec.clear();
  b.game.MouseMove(120);  // still over the same chute
  EXPECT_TRUE(b.rec.log.empty());
  b.game.MouseMove(20);
  EXPECT_EQ(b.rec.log, (std::vector<Event>{hand(1, 0), cue(2), hand(0, 12), {Ev::Present}}));
  b.rec.clear();
  b.game.boxMouseUp(20);
  EXPECT_EQ(b.rec.log, (std::vector<Event>{hand(0, 0), cue(3), slot(0, 2, 12), {Ev::Present}}));
  EXPECT_EQ(b.chute(0), (std::vector<int>{11, 12}));
  EXPECT_EQ(b.st.StackHeight[1], 0);
}

TEST(Hand, DropOnAChuteOfFourteenIsRefused) {
  Board b;
  b.fill(2, 14);
  b.fill(0, 13);
  b.game.MouseDown(Button::Left, 150, 100);
  b.game.MouseMove(200);
  b.rec.clear();
  b.game.boxMouseUp(200);
  EXPECT_EQ(b.st.HeldCrate, 12);
  EXPECT_EQ(b.st.HeldFrom, 2);
  EXPECT_EQ(b.st.StackHeight[2], 14);
  EXPECT_EQ(b.rec.count(Ev::Cue), 0);
  EXPECT_EQ(b.rec.count(Ev::Crate), 0);

  // The hand follows the pointer with no button held; the press over a chute does nothing.
  b.game.MouseMove(50);
  EXPECT_EQ(b.st.HeldFrom, 0);
  b.game.MouseDown(Button::Left, 50, 100);
  EXPECT_EQ(b.st.StackHeight[0], 13);
  b.game.boxMouseUp(50);
  EXPECT_EQ(b.st.HeldCrate, 0);
  EXPECT_EQ(b.st.StackHeight[0], 14);
  EXPECT_EQ(b.top(0), 12);
}

TEST(Hand, ReleaseRunsTheMatching) {
  Board b;
  b.setChute(1, {7, 7});
  b.setPicture(20, 5);
  b.hold(7, 1);
  b.game.boxMouseUp(150);
  EXPECT_EQ(b.st.StackHeight[1], 0);
  EXPECT_EQ(b.st.Score, 3);
  EXPECT_EQ(b.st.CoveredCount, 4);
}

// The left button takes the crate; any other sets off its action, here a cash-in.
TEST(Hand, PressOnAChuteByButton) {
  for (const Button button : {Button::Left, Button::Right, Button::Middle}) {
    SCOPED_TRACE(static_cast<int>(button));
    Board b;
    b.setChute(0, {7, 50});
    b.game.MouseDown(button, 50, 100);
    const bool takes = button == Button::Left;
    EXPECT_EQ(b.st.HeldCrate, takes ? 50 : 0);
    EXPECT_EQ(b.chute(0), (std::vector<int>{7}));
    EXPECT_EQ(b.st.Score, takes ? 0 : 13);
    EXPECT_EQ(b.rec.count(Ev::Cue, 1), takes ? 1 : 0);
    EXPECT_EQ(b.rec.count(Ev::Cue, 7), takes ? 0 : 1);
  }
}

TEST(Hand, PressesThatDoNothing) {
  struct Case {
    std::string name;
    Button button;
    int x;
    bool holding;
    int emptyChute;  // -1: none
  };
  const std::vector<Case> cases = {
      {"left press with a full hand", Button::Left, 50, true, -1},
      {"right press with a full hand", Button::Right, 50, true, -1},
      {"left press on an empty chute", Button::Left, 50, false, 0},
      {"right press on an empty chute", Button::Right, 50, false, 0},
      {"press beside the chutes", Button::Left, 345, false, -1},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Board b;
    b.setChute(0, {7, 7, 50});
    if (tc.emptyChute >= 0) b.setChute(tc.emptyChute, {});
    if (tc.holding) b.hold(9, 2);
    const auto before = b.st;
    b.game.MouseDown(tc.button, tc.x, 100);
    EXPECT_EQ(b.rec.log, std::vector<Event>{{Ev::Present}});
    EXPECT_EQ(b.st.Stacks, before.Stacks);
    EXPECT_EQ(b.st.StackHeight, before.StackHeight);
    EXPECT_EQ(b.st.HeldCrate, before.HeldCrate);
    EXPECT_EQ(b.st.Score, before.Score);
  }
}

TEST(Hand, PauseAndResume) {
  Board b;
  b.game.Pause();
  EXPECT_TRUE(b.st.Paused);
  ASSERT_FALSE(b.rec.log.empty());
  EXPECT_EQ(b.rec.log.front(), Event{Ev::Background});
  EXPECT_EQ(b.rec.log.back(), Event{Ev::Present});
  EXPECT_EQ(b.rec.only({Ev::PauseText}), (std::vector<Event>{{Ev::PauseText, 1}}));
  b.rec.clear();
  b.game.Pause();
  EXPECT_TRUE(b.rec.log.empty());

  // While paused the field ignores press, move and release.
  b.game.MouseDown(Button::Left, 50, 100);
  b.game.MouseDown(Button::Right, 50, 100);
  b.game.MouseDown(Button::Left, 400, 250);
  b.hold(7, 1);
  b.game.MouseMove(300);
  b.game.boxMouseUp(300);
  EXPECT_TRUE(b.rec.log.empty());
  EXPECT_EQ(b.st.HeldFrom, 1);
  b.st.HeldCrate = 0;

  b.game.boxClick();
  EXPECT_FALSE(b.st.Paused);
  EXPECT_EQ(b.rec.log.front(), Event{Ev::Background});
  EXPECT_EQ(b.rec.only({Ev::PauseText}), (std::vector<Event>{{Ev::PauseText, 0}}));
  EXPECT_EQ(b.rec.log.back(), Event{Ev::Present});
  b.rec.clear();
  b.game.boxClick();
  EXPECT_TRUE(b.rec.log.empty());

  b.st.GameOver = true;
  b.game.Pause();
  EXPECT_FALSE(b.st.Paused);
  EXPECT_TRUE(b.rec.log.empty());
}

TEST(Hand, ResumingClick) {
  // The GUI sends a click's press, then the click, then its release.
  for (const bool holding : {false, true}) {
    SCOPED_TRACE(holding ? "crate in the hand" : "empty hand");
    Board b;
    if (holding) b.hold(7, 1);
    b.st.Paused = true;
    b.game.MouseDown(Button::Left, 200, 100);
    b.game.boxClick();
    b.game.boxMouseUp(200);
    EXPECT_FALSE(b.st.Paused);
    EXPECT_EQ(b.st.HeldCrate, 0);
    EXPECT_EQ(b.chute(2), (holding ? std::vector<int>{13, 7} : std::vector<int>{13}));
    EXPECT_EQ(b.rec.count(Ev::Cue, 1), 0);
  }
}

TEST(Hand, FinishedGameIgnoresTheField) {
  Board b;
  b.st.GameOver = true;
  b.hold(7, 1);
  b.game.MouseDown(Button::Left, 400, 250);
  b.game.MouseDown(Button::Right, 50, 100);
  b.game.MouseMove(300);
  b.game.boxMouseUp(300);
  EXPECT_TRUE(b.rec.log.empty());
  EXPECT_EQ(b.st.HeldFrom, 1);
  EXPECT_EQ(b.st.HeldCrate, 7);
  EXPECT_TRUE(b.rec.randomCalls.empty());
}

}  // namespace
}  // namespace quibbix::test
