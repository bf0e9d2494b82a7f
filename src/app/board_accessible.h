#pragma once
// The playing field for a screen reader. The field is drawn, not built of
// widgets, so what it shows is given to assistive technology as objects of
// its own: the score and the level, each chute as a list of its crates from
// the top, the hand, and the picture. They read the game through a plain
// reading of its state, and every change the game draws is announced once
// the handler that made it is done, without moving the keyboard's focus.
#include <QObject>
#include <array>
#include <functional>

#include "engine/board_reading.h"

class QAccessibleInterface;
class QWidget;

namespace quibbix::app {

class BoardAccessibility : public QObject {
 public:
  struct Source {
    std::function<engine::BoardReading()> read;
    // The field's default action: what the player's resuming click does.
    std::function<void()> resume;
    // The pause began or ended.
    std::function<void()> pauseChanged;
  };

  // For the playing field `field`, which must outlive nothing of this: the
  // field's interface asks for the board every time and finds none once it is gone.
  BoardAccessibility(QWidget* field, Source source);
  ~BoardAccessibility() override;
  BoardAccessibility(const BoardAccessibility&) = delete;
  BoardAccessibility& operator=(const BoardAccessibility&) = delete;

  // Something on the field was drawn: compared with what was read last, and
  // announced, once the event loop runs again (animations hand it nothing between frames).
  void changed();
  // Every name changed with the translation installed.
  void languageChanged();

  // For the interfaces.
  enum class Part { Score, Level, Chute, Hand, Picture, Crate };
  // The field's children in reading order: score, level, the four chutes, hand, picture.
  static constexpr int kFieldChildren = 4 + engine::kChutes;
  QAccessibleInterface* fieldChild(int index) const;
  QAccessibleInterface* chutePart(int chute) const { return chutes_[chute]; }
  QAccessibleInterface* cratePart(int chute, int index) const { return crates_[chute][index]; }
  QWidget* field() const { return field_; }
  engine::BoardReading read() const { return source_.read(); }
  void resume() const { source_.resume(); }
  QString fieldDescription() const;

  // The board of a field widget, or nullptr.
  static BoardAccessibility* of(const QObject* field);

 private:
  void announce();

  QWidget* field_;
  Source source_;
  engine::BoardReading last_;
  bool pending_ = false;
  QAccessibleInterface* score_ = nullptr;
  QAccessibleInterface* level_ = nullptr;
  QAccessibleInterface* hand_ = nullptr;
  QAccessibleInterface* picture_ = nullptr;
  std::array<QAccessibleInterface*, engine::kChutes> chutes_{};
  std::array<std::array<QAccessibleInterface*, engine::kSlots>, engine::kChutes> crates_{};
};

}  // namespace quibbix::app
