// Playing from the keyboard: every game key must be exactly the mouse event it stands
// for, so a key sequence and its mouse sequence leave the same log and the same game.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/keyboard.h"
#include "recorder.h"

namespace quibbix::test {
namespace {

using engine::Button;
using engine::GameKey;

// Points a player's mouse might use, deliberately not the keyboard's own.
constexpr int kOver[4] = {60, 150, 220, 300};

struct Mouse {
  // HandShown is no mouse event: it is what a resume by key adds, the crate in the hand
  // drawn again, which a mouse player's next move would bring back into sight.
  enum Kind { Press, RightPress, Move, Release, Click, PauseButton, Picture, HandShown } kind;
  int chute = 0;
};

// A level in play: chute c holds 11 + c unless the case lays it out otherwise.
struct Table : Fixture {
  engine::Keyboard keys{game, rec};
  Table() {
    st.Level = 1;
    for (int k = 1; k <= 31; ++k) st.DesignMap[k] = static_cast<std::int8_t>(k);
    for (int c = 0; c < 4; ++c) setChute(c, {11 + c});
    setPicture(20, 10);
  }
  void lay(int c, const std::vector<int>& codes) {
    st.Stacks[c].fill(0);
    for (std::size_t i = 0; i < codes.size(); ++i) st.Stacks[c][i] = codes[i];
    st.StackHeight[c] = static_cast<int>(codes.size());
  }
  void mouse(const Mouse& m) {
    switch (m.kind) {
      case Mouse::Press: game.MouseDown(Button::Left, kOver[m.chute], 120); break;
      case Mouse::RightPress: game.MouseDown(Button::Right, kOver[m.chute], 120); break;
      case Mouse::Move: game.MouseMove(kOver[m.chute]); break;
      case Mouse::Release: game.boxMouseUp(kOver[m.chute]); break;
      case Mouse::Click: game.boxClick(); break;
      case Mouse::PauseButton: game.Pause(); break;
      case Mouse::Picture: game.MouseDown(Button::Left, 380, 220); break;
      case Mouse::HandShown: game.drawHeldCrate(); break;
    }
  }
};

std::vector<int> filled(int n, std::initializer_list<int> top) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(1 + i % 2);
  v.insert(v.end(), top);
  return v;
}

// The engine's part of a keyboard log: without the marker and the frames it alone pushed.
std::vector<Event> withoutMarker(const std::vector<Event>& log) {
  std::vector<Event> out;
  bool afterMarker = false;
  for (const Event& e : log) {
    if (e.kind == Ev::Marker) {
      afterMarker = true;
      continue;
    }
    if (!(afterMarker && e.kind == Ev::Present)) out.push_back(e);
    afterMarker = false;
  }
  return out;
}

TEST(Keyboard, KeysGiveExactlyTheLogOfTheirMouseEvents) {
  using M = Mouse;
  using K = GameKey;
  struct Case {
    const char* name;
    std::function<void(Table&)> setUp;
    std::vector<GameKey> keys;
    std::vector<Mouse> mouse;
    int cursorAfter;
  };
  const std::vector<Case> cases = {
      {"pick up", nullptr, {K::Take}, {{M::Press, 0}}, 0},
      {"no wrap-around at the left end", nullptr, {K::Left, K::Take}, {{M::Press, 0}}, 0},
      {"carried across and dropped",
       nullptr,
       {K::Take, K::Right, K::Right, K::Take},
       {{M::Press, 0}, {M::Move, 1}, {M::Move, 2}, {M::Click}, {M::Release, 2}},
       2},
      {"a drop on 14 is refused, a later one is taken",
       [](Table& t) { t.lay(1, filled(14, {})); },
       {K::Take, K::Right, K::Take, K::Right, K::Take},
       {{M::Press, 0}, {M::Move, 1}, {M::Release, 1}, {M::Move, 2}, {M::Release, 2}},
       2},
      {"+55 goes right only and lands where it hovers",
       [](Table& t) {
         t.setChute(1, {4, 55});
       },
       {K::Right, K::Take, K::Left, K::Right, K::Right, K::Left, K::Take},
       {{M::Press, 1}, {M::Move, 0}, {M::Move, 2}, {M::Move, 3}, {M::Move, 2}, {M::Release, 3}},
       3},
      {"-55 goes left only",
       [](Table& t) {
         t.setChute(2, {4, -55});
       },
       {K::Right, K::Right, K::Take, K::Right, K::Left, K::Take},
       {{M::Press, 2}, {M::Move, 3}, {M::Move, 1}, {M::Release, 1}},
       1},
      {"a triple",
       [](Table& t) {
         t.setChute(0, {5, 7, 7});
         t.setChute(2, {9, 7});
       },
       {K::Right, K::Right, K::Take, K::Left, K::Left, K::Take},
       {{M::Press, 2}, {M::Move, 1}, {M::Move, 0}, {M::Click}, {M::Release, 0}},
       0},
      {"right key on a 52",
       [](Table& t) {
         t.setChute(1, {4, 6, 8, 52});
       },
       {K::Right, K::Act},
       {{M::RightPress, 1}, {M::Release, 1}},
       1},
      {"right key on a -58: the pulled crate in the hand drops on its chute",
       [](Table& t) {
         t.setChute(1, {5, -58});
         t.setChute(2, {11, 12, 13, 14, 15});
       },
       {K::Right, K::Act},
       {{M::RightPress, 1}, {M::Release, 1}},
       1},
      {"a -58 pull whose drop is refused leaves the cursor with the hand",
       [](Table& t) {
         t.lay(1, filled(12, {-58}));
         t.setChute(2, {21, 22, 23, 24});
       },
       {K::Right, K::Act, K::Take},
       {{M::RightPress, 1}, {M::Release, 1}, {M::Release, 2}},
       2},
      {"pause and resume with a crate in the hand",
       nullptr,
       {K::Take, K::Right, K::Pause, K::Take, K::Right, K::Pause, K::Take},
       {{M::Press, 0},
        {M::Move, 1},
        {M::PauseButton},
        {M::Release, 1},
        {M::Move, 2},
        {M::Click},
        {M::HandShown},
        {M::Release, 1}},
       1},
      {"next crate, also with a crate in the hand",
       nullptr,
       {K::Next, K::Take, K::Next, K::Take},
       {{M::Picture}, {M::Press, 0}, {M::Picture}, {M::Release, 0}},
       0},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Table byKeys, byMouse;
    if (tc.setUp) {
      tc.setUp(byKeys);
      tc.setUp(byMouse);
    }
    for (GameKey k : tc.keys) byKeys.keys.press(k);
    for (const Mouse& m : tc.mouse) byMouse.mouse(m);
    EXPECT_EQ(withoutMarker(byKeys.rec.log), byMouse.rec.log);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(byKeys.chute(c), byMouse.chute(c)) << "chute " << c;
    EXPECT_EQ(byKeys.st.HeldCrate, byMouse.st.HeldCrate);
    EXPECT_EQ(byKeys.st.HeldFrom, byMouse.st.HeldFrom);
    EXPECT_EQ(byKeys.st.Score, byMouse.st.Score);
    EXPECT_EQ(byKeys.st.Paused, byMouse.st.Paused);
    EXPECT_EQ(byKeys.keys.cursor(), tc.cursorAfter);
    EXPECT_TRUE(byMouse.rec.count(Ev::Marker) == 0);
  }
}

TEST(Keyboard, MarkerShowsTheCursorChuteOnceAKeyWasUsed) {
  Table t;
  // Nothing before the first key.
  t.keys.fieldRepainted();
  t.keys.mouseUsed();
  EXPECT_TRUE(t.rec.log.empty());
  EXPECT_FALSE(t.keys.markerShown());

  t.keys.press(GameKey::Right);
  t.keys.press(GameKey::Right);
  t.keys.press(GameKey::Right);  // no wrap-around: stays at 3, nothing redrawn
  const std::vector<Event> walk = {{Ev::Marker, 121, 1}, {Ev::Present}, {Ev::Marker, 121, 0},
                                   {Ev::Marker, 197, 1}, {Ev::Present}, {Ev::Marker, 197, 0},
                                   {Ev::Marker, 273, 1}, {Ev::Present}};
  EXPECT_EQ(t.rec.log, walk);

  // Pausing rebuilds the field: the marker comes back over the fresh background.
  t.rec.clear();
  t.keys.press(GameKey::Pause);
  ASSERT_EQ(t.rec.count(Ev::Background), 1);
  EXPECT_EQ(t.rec.only({Ev::Marker}), (std::vector<Event>{{Ev::Marker, 273, 1}}));
  EXPECT_EQ(t.rec.log.back().kind, Ev::Present);
  t.rec.clear();
  t.game.boxClick();  // a click on the pause text, then the window tells the keyboard
  t.keys.fieldRepainted();
  EXPECT_EQ(t.rec.only({Ev::Marker}), (std::vector<Event>{{Ev::Marker, 273, 1}}));

  // A press of the mouse on the field takes it away, once.
  t.rec.clear();
  t.keys.mouseUsed();
  t.keys.mouseUsed();
  EXPECT_EQ(t.rec.log, (std::vector<Event>{{Ev::Marker, 273, 0}, {Ev::Present}}));
  EXPECT_FALSE(t.keys.markerShown());
  t.rec.clear();
  t.keys.press(GameKey::Left);
  EXPECT_EQ(t.rec.log, (std::vector<Event>{{Ev::Marker, 197, 1}, {Ev::Present}}));
}

TEST(Keyboard, TheMouseCarryingTheHandAwayTakesTheMarkerAndTheKeysFollowTheHand) {
  Table t;
  t.keys.press(GameKey::Take);  // chute 0's crate in the hand, marker under chute 0
  t.rec.clear();
  t.keys.mouseMoved();  // a move that left the hand where it was
  EXPECT_TRUE(t.rec.log.empty());
  t.game.MouseMove(kOver[2]);
  t.keys.mouseMoved();
  EXPECT_EQ(t.rec.only({Ev::Marker}), (std::vector<Event>{{Ev::Marker, 45, 0}}));
  // The next key acts where the hand is: Left carries it from chute 2 to chute 1.
  t.keys.press(GameKey::Left);
  EXPECT_EQ(t.st.HeldFrom, 1);
  EXPECT_EQ(t.keys.cursor(), 1);
  EXPECT_EQ(t.rec.only({Ev::Marker}).back(), (Event{Ev::Marker, 121, 1}));
}

}  // namespace
}  // namespace quibbix::test
