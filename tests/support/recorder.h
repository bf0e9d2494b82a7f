#pragma once
// One recording fake for every port of the engine. It logs draws, cues, waits and
// host calls in order, each with the fake clock's time, so a test can check an
// animation frame by frame. The clock advances 1 ms on every read, so a busy wait
// for ms milliseconds shows as one Wait event lasting ms + 1 (it waits *more* than ms).

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/ports.h"

namespace quibbix::test {

enum class Ev {
  Crate,       // a = x, b = y, c = code
  And,         // a = x, b = y, c = row of column 4
  Background,  //
  Scoreboard,  // a = level, b = score
  Picture,     // a = picture, b = covered count
  Present,     //
  Cue,         // a = cue
  Wait,        // a = measured length in ms
  Timer,       // a = 1 enabled, 0 disabled
  Label,       // a = 1 shown, 0 hidden
  PauseText,   // a = 1 shown, 0 hidden
  GameOverMsg,
  HighScore,  // a = score
  Marker,     // a = x of the chute, b = 1 drawn, 0 erased
};

struct Event {
  Ev kind;
  int a = 0, b = 0, c = 0;
  std::uint32_t t = 0;
  bool operator==(const Event& o) const {
    return kind == o.kind && a == o.a && b == o.b && c == o.c;
  }
};

inline const char* evName(Ev k) {
  switch (k) {
    case Ev::Crate: return "Crate";
    case Ev::And: return "And";
    case Ev::Background: return "Background";
    case Ev::Scoreboard: return "Scoreboard";
    case Ev::Picture: return "Picture";
    case Ev::Present: return "Present";
    case Ev::Cue: return "Cue";
    case Ev::Wait: return "Wait";
    case Ev::Timer: return "Timer";
    case Ev::Label: return "Label";
    case Ev::PauseText: return "PauseText";
    case Ev::GameOverMsg: return "GameOverMsg";
    case Ev::HighScore: return "HighScore";
    case Ev::Marker: return "Marker";
  }
  return "?";
}

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
  return os << evName(e.kind) << "(" << e.a << "," << e.b << "," << e.c << ")@" << e.t;
}

// Shorthands for expected events.
inline Event crate(int x, int y, int code) { return {Ev::Crate, x, y, code}; }
inline Event slot(int chute, int s, int code) {
  return {Ev::Crate, engine::slotX(chute), engine::slotY(s), code};
}
inline Event hand(int chute, int code) { return {Ev::Crate, engine::slotX(chute), 16, code}; }
inline Event cue(int n) { return {Ev::Cue, n}; }
inline Event wait(int ms) { return {Ev::Wait, ms + 1}; }
inline Event timer(bool on) { return {Ev::Timer, on ? 1 : 0}; }

class Recorder : public engine::Drawing,
                 public engine::CuePlayer,
                 public engine::Clock,
                 public engine::RandomSource,
                 public engine::Host {
 public:
  std::vector<Event> log;
  std::uint32_t now = 0;
  bool sound = true;
  bool timerEnabled = false;
  std::deque<int> scripted;  // values handed out by below() before the generator
  std::mt19937 generator{12345};
  std::vector<int> randomCalls;  // the n of every below(n)
  // Called while a modal dialog would be open, e.g. to check the state then.
  std::function<void()> onGameOverMessage, onHighScore;

  engine::Ports ports() { return {*this, *this, *this, *this, *this}; }

  void clear() { log.clear(); }
  void script(std::initializer_list<int> values) { scripted.insert(scripted.end(), values); }

  // The log without the kinds a test does not care about.
  std::vector<Event> only(std::initializer_list<Ev> kinds) const {
    std::vector<Event> out;
    for (const auto& e : log)
      for (Ev k : kinds)
        if (e.kind == k) out.push_back(e);
    return out;
  }
  int count(Ev kind, int a) const {
    int n = 0;
    for (const auto& e : log) n += e.kind == kind && e.a == a;
    return n;
  }
  int count(Ev kind) const {
    int n = 0;
    for (const auto& e : log) n += e.kind == kind;
    return n;
  }

  // Drawing
  void drawCrate(int x, int y, int code) override { add({Ev::Crate, x, y, code}); }
  void andCrateCell(int x, int y, int column, int row) override {
    (void)column;
    add({Ev::And, x, y, row});
  }
  void drawBackground() override { add({Ev::Background}); }
  void drawScoreboard(int level, int score) override { add({Ev::Scoreboard, level, score}); }
  void drawPicture(int picture, const std::uint8_t*, int covered) override {
    add({Ev::Picture, picture, covered});
  }
  void drawMarker(int x, bool shown) override { add({Ev::Marker, x, shown ? 1 : 0}); }
  void present() override { add({Ev::Present}); }
  // Cues
  void play(int n) override { add({Ev::Cue, n}); }
  // Clock: every read advances 1 ms; consecutive reads form one Wait event.
  std::uint32_t tickMs() override {
    if (!log.empty() && log.back().kind == Ev::Wait && inWait_) {
      ++now;
      log.back().a = static_cast<int>(now - log.back().t);
    } else {
      add({Ev::Wait, 0});
      inWait_ = true;
    }
    return now;
  }
  // Random
  int below(int n) override {
    randomCalls.push_back(n);
    if (!scripted.empty()) {
      const int v = scripted.front();
      scripted.pop_front();
      return v;
    }
    return static_cast<int>(generator() % static_cast<std::uint32_t>(n));
  }
  // Host
  bool soundOn() override { return sound; }
  void setTimerEnabled(bool on) override {
    timerEnabled = on;
    add({Ev::Timer, on ? 1 : 0});
  }
  void setNextLevelLabelVisible(bool v) override { add({Ev::Label, v ? 1 : 0}); }
  void setPauseTextVisible(bool v) override { add({Ev::PauseText, v ? 1 : 0}); }
  void showGameOverMessage() override {
    add({Ev::GameOverMsg});
    if (onGameOverMessage) onGameOverMessage();
  }
  void offerHighScore(int score) override {
    add({Ev::HighScore, score});
    if (onHighScore) onHighScore();
  }

 private:
  void add(Event e) {
    e.t = now;
    inWait_ = false;
    log.push_back(e);
  }
  bool inWait_ = false;
};

// A game wired to a recorder, with helpers to lay out chutes directly.
struct Fixture {
  Recorder rec;
  engine::Game game{rec.ports()};
  engine::GameState& st = game.state();

  // Chute contents bottom first.
  void setChute(int c, std::initializer_list<int> codes) {
    st.Stacks[c].fill(0);
    int i = 0;
    for (int code : codes) st.Stacks[c][i++] = code;
    st.StackHeight[c] = i;
  }
  std::vector<int> chute(int c) const {
    return {st.Stacks[c].begin(), st.Stacks[c].begin() + st.StackHeight[c]};
  }
  // A picture with `tiles` tiles of which `covered` are still covered.
  void setPicture(int tiles, int covered) {
    st.PictureTileCount = tiles;
    st.CoveredCount = covered;
    for (int i = 0; i < tiles; ++i) st.TileOrder[i] = static_cast<std::uint8_t>(i);
  }
};

}  // namespace quibbix::test
