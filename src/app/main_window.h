#pragma once
#include <QTimer>
#include <QWidget>
#include <memory>

#include "engine/game.h"
#include "engine/system.h"
#include "view/field_canvas.h"

class QLabel;

namespace quibbix::view {
class FieldWidget;
}

namespace quibbix::app {

// The program's one main window: the tool-bar panel over the playing field,
// hosting the game.
class MainWindow : public QWidget, private engine::Host {
  Q_OBJECT
 public:
  explicit MainWindow(std::uint32_t seed, QWidget* parent = nullptr);
  ~MainWindow() override;

  engine::Game& game() { return game_; }
  view::FieldCanvas& canvas() { return canvas_; }
  view::FieldWidget* field() { return box_; }
  QTimer& timer() { return Timer1_; }

 private:
  // engine::Host
  bool soundOn() override { return true; }
  void setTimerEnabled(bool enabled) override;
  void setNextLevelLabelVisible(bool visible) override;
  void setPauseTextVisible(bool visible) override;
  void showGameOverMessage() override {}
  void offerHighScore(int) override {}

  view::FieldCanvas canvas_;
  engine::SystemClock clock_;
  engine::SeededRandom random_;
  class SilentCues : public engine::CuePlayer {
    void play(int) override {}
  } cues_;
  engine::Game game_;
  QWidget* Panel1_ = nullptr;
  view::FieldWidget* box_ = nullptr;
  QLabel* PauseText_ = nullptr;
  QLabel* Nextlevellabel_ = nullptr;
  QTimer Timer1_;
};

}  // namespace quibbix::app
