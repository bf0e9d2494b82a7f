#include "engine/board_reading.h"

#include <algorithm>
#include <cstdlib>

namespace quibbix::engine {

BoardReading readBoard(const GameState& s, int cursor) {
  BoardReading r;
  r.level = s.Level;
  r.score = s.Score;
  r.paused = s.Paused;
  r.gameOver = s.GameOver;
  for (int c = 0; c < kChutes; ++c) {
    const int height = std::clamp(s.StackHeight[c], 0, kSlots);
    r.count[c] = height;
    for (int i = 0; i < height; ++i) r.crates[c][i] = std::abs(s.Stacks[c][height - 1 - i]);
  }
  r.held = std::abs(s.HeldCrate);
  r.heldOver = validChute(s.HeldFrom) ? s.HeldFrom : 0;
  r.cursor = validChute(cursor) ? cursor : 0;
  r.covered = s.CoveredCount;
  r.tiles = s.PictureTileCount;
  return r;
}

bool BoardChanges::any() const {
  return score || level || state || hand || cursor || picture ||
         std::any_of(chute.begin(), chute.end(), [](bool b) { return b; });
}

BoardChanges compare(const BoardReading& a, const BoardReading& b) {
  BoardChanges d;
  d.score = a.score != b.score;
  d.level = a.level != b.level;
  d.state = a.paused != b.paused || a.gameOver != b.gameOver;
  for (int c = 0; c < kChutes; ++c)
    d.chute[c] = a.count[c] != b.count[c] || a.crates[c] != b.crates[c];
  // Over which chute an empty hand is, nobody can tell.
  d.hand = a.held != b.held || (b.held != 0 && a.heldOver != b.heldOver);
  d.cursor = a.cursor != b.cursor;
  d.picture = a.covered != b.covered || a.tiles != b.tiles;
  return d;
}

}  // namespace quibbix::engine
