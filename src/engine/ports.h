#pragma once
// The engine reaches the outside world only through these interfaces. The Qt
// program implements them with real widgets, a real clock and SDL audio; the
// tests implement them with recording fakes and a fake clock.

#include <cstdint>

namespace quibbix::engine {

// Raster drawing on the 500 x 333 playing field. Every call changes the field
// at once; present() pushes what changed to the screen synchronously.
class Drawing {
 public:
  virtual ~Drawing() = default;
  // Copies the 55 x 20 cell of the crate sheet that shows `code` to (x, y).
  virtual void drawCrate(int x, int y, int code) = 0;
  // AND-combines cell (column, row) of the crate sheet onto (x, y).
  virtual void andCrateCell(int x, int y, int column, int row) = 0;
  // Copies the whole background sheet over the field.
  virtual void drawBackground() = 0;
  virtual void drawScoreboard(int level, int score) = 0;
  // The first `coveredCount` entries of `tileOrder` are drawn covered.
  virtual void drawPicture(int pictureIndex, const std::uint8_t* tileOrder, int coveredCount) = 0;
  // The keyboard's chute marker in the wall strip below the chutes (field rows 316..332),
  // under the chute whose slots start at x: the background of that 55 x 17 strip is
  // restored, then the marker is drawn in it when `shown`. Nothing else changes.
  virtual void drawMarker(int x, bool shown) = 0;
  virtual void present() = 0;
};

class CuePlayer {
 public:
  virtual ~CuePlayer() = default;
  // Starts cue n (1..18) and returns at once, cutting off a cue still playing.
  virtual void play(int n) = 0;
};

// Milliseconds since some fixed moment, wrapping at 2^32.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t tickMs() = 0;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Uniform integer in 0..n-1; only called with n >= 1.
  virtual int below(int n) = 0;
};

// What the engine needs from the window that hosts it.
class Host {
 public:
  virtual ~Host() = default;
  // The sound switch of the tool bar, read at every cue.
  virtual bool soundOn() = 0;
  // The game timer (100 ms). Enabling it restarts its interval.
  virtual void setTimerEnabled(bool enabled) = 0;
  // Shows or hides the next-level text; the change is on screen when this returns.
  virtual void setNextLevelLabelVisible(bool visible) = 0;
  virtual void setPauseTextVisible(bool visible) = 0;
  // The game-over message (message kind 7); returns when it is closed.
  virtual void showGameOverMessage() = 0;
  // The high-score dialog offered `score` for entry; returns when it is closed.
  virtual void offerHighScore(int score) = 0;
};

struct Ports {
  Drawing& drawing;
  CuePlayer& cues;
  Clock& clock;
  RandomSource& random;
  Host& host;
};

}  // namespace quibbix::engine
