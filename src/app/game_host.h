#pragma once
// The game as the window holds it: the engine with its ports, the playing field
// and the two texts over it, the game timer, and the answers to the engine's
// host port. The window around it supplies the sound switch and the modal
// windows the engine asks for.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/board_accessible.h"
#include "engine/game.h"
#include "engine/keyboard.h"
#include "engine/system.h"
#include "view/cue_player.h"
#include "view/field_canvas.h"

class QLabel;
class QWidget;

namespace quibbix::view {
class FieldWidget;
}

namespace quibbix::app {

class GameHost : public QObject, private engine::Host {
  Q_OBJECT
 public:
  // What the host asks of the window around it.
  struct Window {
    std::function<bool()> soundOn;
    // The game-over message and the high-score entry, each shown modally.
    std::function<void()> showGameOverMessage;
    std::function<void(int score)> offerHighScore;
    // A modal window is open or on its way: input of every kind waits.
    std::function<bool()> modalOpen;
    // The game was paused or resumed, however that came.
    std::function<void()> pauseChanged;
  };

  GameHost(std::uint32_t seed, Window window);
  ~GameHost() override;

  // The playing field `box` and the texts `PauseText` and `Nextlevellabel` over
  // it, as children of `parent`; once, before the first game.
  void buildField(QWidget* parent);
  // The overlay texts, the scoreboard's captions and the screen reader's names in the
  // language installed.
  void applyLanguage(const QString& pauseText, const QString& nextLevel);

  engine::Game& game() { return game_; }
  const engine::Game& game() const { return game_; }
  engine::Keyboard& keyboard() { return keys_; }
  const engine::Keyboard& keyboard() const { return keys_; }
  view::FieldCanvas& canvas() { return canvas_; }
  view::SdlCuePlayer& cues() { return cues_; }
  view::FieldWidget* field() { return box_; }
  QLabel* pauseText() { return PauseText_; }
  QLabel* nextLevelLabel() { return Nextlevellabel_; }
  QTimer& timer() { return Timer1_; }

  // The pause command.
  void Pause();
  // The field's accessible default action: the resuming click of a paused game.
  void resumeByAction();
  BoardAccessibility* board() { return board_.get(); }

 private:
  // engine::Host
  bool soundOn() override;
  void setTimerEnabled(bool enabled) override;
  void setNextLevelLabelVisible(bool visible) override;
  void setPauseTextVisible(bool visible) override;
  void showGameOverMessage() override;
  void offerHighScore(int score) override;

  // The engine's drawing, handed on to the canvas; each time it reaches the
  // screen, the screen reader's board looks for what changed.
  class ToldDrawing : public engine::Drawing {
   public:
    ToldDrawing(engine::Drawing& to, std::function<void()> presented)
        : to_(to), presented_(std::move(presented)) {}
    void drawCrate(int x, int y, int code) override { to_.drawCrate(x, y, code); }
    void andCrateCell(int x, int y, int column, int row) override {
      to_.andCrateCell(x, y, column, row);
    }
    void drawBackground() override { to_.drawBackground(); }
    void drawScoreboard(int level, int score) override { to_.drawScoreboard(level, score); }
    void drawPicture(int pictureIndex, const std::uint8_t* tileOrder, int coveredCount) override {
      to_.drawPicture(pictureIndex, tileOrder, coveredCount);
    }
    void drawMarker(int x, bool shown) override { to_.drawMarker(x, shown); }
    void present() override {
      to_.present();
      presented_();
    }

   private:
    engine::Drawing& to_;
    std::function<void()> presented_;
  };

  Window window_;
  view::FieldCanvas canvas_;
  ToldDrawing told_;
  view::SdlCuePlayer cues_;
  engine::SystemClock clock_;
  engine::SeededRandom random_;
  engine::Game game_;
  engine::Keyboard keys_;

  view::FieldWidget* box_ = nullptr;
  QLabel* PauseText_ = nullptr;
  QLabel* Nextlevellabel_ = nullptr;
  QTimer Timer1_;
  std::unique_ptr<BoardAccessibility> board_;
};

}  // namespace quibbix::app
