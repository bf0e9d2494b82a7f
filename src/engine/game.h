#pragma once
// The game: its state and every rule that changes it. The operations carry the
// names the rules are known by; each rule area is implemented in a file of its own:
//   chutes.cpp    state, chute operations, cues, waits, random numbers, drawing helpers
//   levels.cpp    new game, level set-up and picture cover
//   generator.cpp crate generation
//   clock.cpp     game clock and the lost game
//   hand.cpp      mouse: pick-up, carry, drop, picture press, pause and resume
//   matching.cpp  triples, sequences, pairs and their points
//   crate_actions.cpp  the right-click actions of special crates

#include <array>
#include <cstdint>

#include "engine/cues.h"
#include "engine/ports.h"
#include "engine/rules.h"

namespace quibbix::engine {

constexpr int kTiles = 64;

// Chute numbers reach the rules from the host's input and from crate codes;
// anything outside 0..3 is ignored rather than trusted as an index.
constexpr bool validChute(int c) { return c >= 0 && c < kChutes; }

// Field geometry shared with the drawing side.
constexpr int slotX(int chute) { return 45 + 76 * chute; }
constexpr int slotY(int slot) { return 316 - 20 * slot; }
constexpr int kHandY = 16;

struct GameState {
  std::int32_t Level = 0;
  std::int32_t Score = 0;
  bool Paused = false;
  bool GameOver = false;
  // Stacks[c][s - 1] is slot s of chute c; slot 1 is the bottom.
  std::array<std::array<std::int32_t, kSlots>, kChutes> Stacks{};
  std::array<std::int32_t, kChutes> StackHeight{};
  std::int32_t HeldCrate = 0;
  std::int32_t HeldFrom = 0;
  std::int32_t CoveredCount = 0;
  std::int32_t PictureTileCount = 0;
  std::int32_t PictureIndex = 0;
  std::int32_t TickCounter = 0;
  // DesignMap[k], k = 1..31, is the code of ordinary kind k in this game; [0] is unused.
  std::array<std::int8_t, kLastOrdinary + 1> DesignMap{};
  std::array<std::uint8_t, kTiles> TileOrder{};
};

enum class Button { Left, Right, Middle };

class Game {
 public:
  explicit Game(Ports ports) : p_(ports) {}

  GameState& state() { return s_; }
  const GameState& state() const { return s_; }

  // Chute operations. Every bound is handled by doing nothing.
  void PushCrate(int c, int code);
  void PickUp(int c);
  void DropHeld(int c);
  void LaunchTop(int c);
  void VanishTop(int c);
  void ChangeCovered(int delta);
  void PlayCue(Cue cue);
  // Pushes the drawing to the screen, then busy-waits more than ms milliseconds.
  void WaitMs(int ms);
  int Random(int n);

  // Drawing from the model.
  void DrawSlot(int c, int s);
  void DrawScoreboard();
  void DrawPicture();
  // Rebuilds the whole field from the model (the hand is not drawn).
  void Paint();
  // Draws the crate in the hand where the hand is; the keys' way back to a held crate
  // after the pause rebuilt the field.
  void drawHeldCrate();

  // Levels.
  void NewGame();
  void NextLevel();

  // Crate generation.
  int NextCrateCode(int chute);

  // Game clock.
  void Timer();
  void LoseGame(int chute, int code);

  // Mouse on the playing field, and pause.
  void MouseDown(Button button, int x, int y);
  void MouseMove(int x);
  void boxMouseUp(int x);
  void boxClick();
  void Pause();

  // Matching.
  void ResolveMatch(int c);
  void RemoveTriple(int c);
  void RemoveSequence(int c);
  void RemovePair(int c);

  // Special crates.
  void TriggerSpecial(int n);

 private:
  // chutes.cpp
  void drawHand(int code) { p_.drawing.drawCrate(slotX(s_.HeldFrom), kHandY, code); }
  // Every crate of every chute dissolves, chute 0 first, each from its top.
  void dissolveAll();

  // levels.cpp

  // generator.cpp

  // clock.cpp
  // A new crate for a random chute, as the clock and the picture press bring it.
  void bringNextCrate();
  // What overflowed the chute. A new crate's overflow empties the hand; the magnet's
  // leaves the crate it holds where it is.
  enum class Overflow { ByNewCrate, ByMagnet };
  // The one game-over sequence: the losing crate pushed in, every crate dissolved, the
  // game-over message and, with points, the high-score table.
  void endGame(int chute, int code, Overflow by);

  // hand.cpp

  // matching.cpp
  // The removal frames of a group whose codes, top first, lie at slots h, h - 1, ...
  void blinkGroup(int c, int h, const int* codes, int n);
  void liftGroup(int c, int h, const int* codes, int n);

  // crate_actions.cpp
  void pull(int n, int k);
  void removeEquals(int n);
  void shuffle(int n);

  Ports p_;
  GameState s_;
};

// The chute under the pointer's x for a press or a move (-1: none) and for a release.
int chuteForPress(int x);
int chuteForRelease(int x);
bool inPictureArea(int x, int y);

}  // namespace quibbix::engine
