// Long random play through the engine: every kind of mouse event at any
// position, clock ticks, pause, resume and new games, over many seeds, with the
// game's invariants checked after every single event.
//
// QUIBBIX_SOAK_EVENTS sets the number of events (default: a million, fewer in
// the sanitizer build).

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "engine/game.h"
#include "engine/system.h"
#include "null_ports.h"

#ifndef QUIBBIX_SOAK_DEFAULT_EVENTS
#define QUIBBIX_SOAK_DEFAULT_EVENTS 1000000
#endif

namespace quibbix::test {
namespace {

using engine::Button;
using engine::GameState;

// Silent ports that keep the two things the checks need: the timer switch
// and any cue outside the catalogue.
struct SoakPorts : NullPorts {
  SoakPorts() { sound = true; }
  void play(int n) override {
    if (n < 1 || n > engine::kCues) ++badCues;
  }
  int badCues = 0;
};

bool inCatalogue(int code) {
  const int kind = engine::crateKind(code);
  if (code < 0) return engine::isSpecial(kind);  // only special crates carry a phase
  return engine::isOrdinary(kind) || engine::isNameCrate(kind) || engine::isPairCrate(kind) ||
         (engine::isSpecial(kind) && !engine::isNeverProduced(kind));
}

// Returns a description of the first broken invariant, or an empty string.
std::string checkInvariants(const GameState& s) {
  std::ostringstream out;
  for (int c = 0; c < engine::kChutes; ++c) {
    const int h = s.StackHeight[c];
    if (h < 0 || h > engine::kSlots) out << "chute " << c << " height " << h << "; ";
    for (int i = 0; i < engine::kSlots; ++i) {
      const int code = s.Stacks[c][i];
      if (i < h && !inCatalogue(code))
        out << "chute " << c << " slot " << i + 1 << " holds " << code << "; ";
      if (i >= h && code != 0)
        out << "chute " << c << " slot " << i + 1 << " above the top holds " << code << "; ";
    }
  }
  if (s.HeldCrate != 0 && !inCatalogue(s.HeldCrate)) out << "hand holds " << s.HeldCrate << "; ";
  if (s.HeldFrom < 0 || s.HeldFrom >= engine::kChutes) out << "hand above " << s.HeldFrom << "; ";
  if (s.CoveredCount < 0 || s.CoveredCount > s.PictureTileCount)
    out << "covered " << s.CoveredCount << " of " << s.PictureTileCount << "; ";
  if (s.PictureTileCount < 12 || s.PictureTileCount > 53)
    out << "tiles " << s.PictureTileCount << "; ";
  if (s.Level < 1) out << "level " << s.Level << "; ";
  return out.str();
}

bool sameBoard(const GameState& a, const GameState& b) {
  return a.Level == b.Level && a.Score == b.Score && a.Stacks == b.Stacks &&
         a.StackHeight == b.StackHeight && a.HeldCrate == b.HeldCrate && a.HeldFrom == b.HeldFrom &&
         a.CoveredCount == b.CoveredCount && a.TickCounter == b.TickCounter &&
         a.GameOver == b.GameOver;
}

long soakEvents() {
  if (const char* env = std::getenv("QUIBBIX_SOAK_EVENTS")) return std::atol(env);
  return QUIBBIX_SOAK_DEFAULT_EVENTS;
}

enum class Kind { Press, Move, Release, Click, Picture, Tick, Pause, NewGame, Aimed };

int kindOf(int code) { return code < 0 ? -code : code; }

// A move as a player aims it: the top crate of one chute onto another chute
// whose top crates are of its kind, two such crates first, so triples form.
// {from, to}, or {-1, -1} when the board offers none.
std::pair<int, int> aimedMove(const GameState& s) {
  for (int need = 2; need >= 1; --need) {
    for (int to = 0; to < engine::kChutes; ++to) {
      const int h = s.StackHeight[to];
      if (h < need || h >= 14) continue;
      const int k = kindOf(s.Stacks[to][h - 1]);
      if (k == 54 || (need == 2 && kindOf(s.Stacks[to][h - 2]) != k)) continue;
      for (int from = 0; from < engine::kChutes; ++from) {
        const int hf = s.StackHeight[from];
        if (from != to && hf > 0 && kindOf(s.Stacks[from][hf - 1]) == k) return {from, to};
      }
    }
  }
  return {-1, -1};
}

int chuteCentre(int c) { return engine::slotX(c) + 27; }

TEST(Soak, RandomPlayKeepsEveryInvariant) {
  const long total = soakEvents();
  constexpr long kPerSeed = 20000;
  long played = 0;
  int games = 0, levelsWon = 0, lost = 0;
  for (std::uint32_t seed = 1; played < total; ++seed) {
    SoakPorts ports;
    engine::SeededRandom rules(seed);
    engine::Game game({ports, ports, ports, rules, ports});
    std::minstd_rand player(seed * 7919u);
    game.NewGame();
    ++games;
    auto& s = game.state();
    ASSERT_EQ(checkInvariants(s), "") << "seed " << seed << " after the first deal";
    int lastLevel = s.Level;

    for (long i = 0; i < kPerSeed && played < total; ++i, ++played) {
      // Weighted so that play goes somewhere: mostly carrying crates and ticks.
      const auto r = static_cast<unsigned>(player() % 10000);
      const Kind kind = r < 1000   ? Kind::Press
                        : r < 2000 ? Kind::Move
                        : r < 3000 ? Kind::Release
                        : r < 3200 ? Kind::Click
                        : r < 3250 ? Kind::Picture
                        : r < 4500 ? Kind::Tick
                        : r < 9985 ? Kind::Aimed
                        : r < 9998 ? Kind::Pause
                                   : Kind::NewGame;
      const int x = static_cast<int>(player() % 640) - 70;
      const int y = static_cast<int>(player() % 460) - 60;
      const auto b = static_cast<unsigned>(player() % 10);
      const Button button = b < 6 ? Button::Left : b < 9 ? Button::Right : Button::Middle;

      const GameState before = s;
      const bool wasOver = s.GameOver, wasPaused = s.Paused;
      switch (kind) {
        case Kind::Press: game.MouseDown(button, x, y); break;
        case Kind::Move: game.MouseMove(x); break;
        case Kind::Release: game.boxMouseUp(x); break;
        case Kind::Click: game.boxClick(); break;
        case Kind::Picture: game.MouseDown(button, 355 + x % 119, 191 + y % 119); break;
        case Kind::Tick:
          // The window delivers ticks only while the game timer runs.
          if (ports.timerOn) game.Timer();
          break;
        case Kind::Pause: game.Pause(); break;
        case Kind::Aimed: {
          const auto [from, to] = aimedMove(s);
          if (from < 0 || s.HeldCrate != 0) break;
          game.MouseDown(Button::Left, chuteCentre(from), 100);
          game.MouseMove(chuteCentre(to));
          game.boxMouseUp(chuteCentre(to));
          break;
        }
        case Kind::NewGame:
          game.NewGame();
          ++games;
          break;
      }

      const std::string broken = checkInvariants(s);
      ASSERT_EQ(broken, "") << "seed " << seed << " event " << i << " kind " << int(kind);
      ASSERT_EQ(ports.badCues, 0);
      if (kind == Kind::NewGame) {
        ASSERT_FALSE(s.GameOver);
        ASSERT_FALSE(s.Paused);
        ASSERT_EQ(s.Score, 0);
        ASSERT_TRUE(ports.timerOn);
        lastLevel = s.Level;
        continue;
      }
      ASSERT_GE(s.Score, before.Score) << "seed " << seed << " event " << i;
      if (wasOver) {
        ASSERT_TRUE(sameBoard(before, s)) << "the game changed after it ended";
      }
      if (wasPaused && kind != Kind::Click) {
        ASSERT_TRUE(sameBoard(before, s)) << "the game changed while paused";
      }
      if (!wasOver && s.GameOver) ++lost;
      if (s.Level > lastLevel) levelsWon += s.Level - lastLevel;
      lastLevel = s.Level;
      // Every handler leaves the game timer running.
      ASSERT_TRUE(ports.timerOn) << "seed " << seed << " event " << i << " kind " << int(kind);
    }
  }
  // The random player must actually have played: games lost and levels won.
  EXPECT_GT(lost, 0);
  EXPECT_GT(levelsWon, 0);
  RecordProperty("events", std::to_string(played));
  RecordProperty("games", std::to_string(games));
  std::cout << played << " events, " << games << " games, " << lost << " lost, " << levelsWon
            << " levels won\n";
}

}  // namespace
}  // namespace quibbix::test
