#include "app/game_host.h"

#include <QLabel>
#include <QMouseEvent>
#include <utility>

#include "view/field_widget.h"
#include "view/fonts.h"

namespace quibbix::app {

namespace {

// A label that passes a click on to the field's click handler.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
  void mouseReleaseEvent(QMouseEvent* e) override {
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
    pressed_ = false;
    if (click && onClick) onClick();
  }

 private:
  bool pressed_ = false;
};

}  // namespace

GameHost::GameHost(std::uint32_t seed, Window window)
    : window_(std::move(window)),
      canvas_(view::Sheets::load()),
      told_(canvas_,
            [this] {
              if (board_) board_->changed();
            }),
      random_(seed),
      game_({told_, cues_, clock_, random_, *this}),
      keys_(game_, told_) {
  Timer1_.setInterval(100);
  connect(&Timer1_, &QTimer::timeout, this, [this] { game_.Timer(); });
}

GameHost::~GameHost() {
  Timer1_.stop();
  board_.reset();
}

void GameHost::buildField(QWidget* parent) {
  box_ = new view::FieldWidget(canvas_, parent);
  box_->setObjectName(QStringLiteral("box"));
  box_->move(0, 33);
  box_->onPress = [this](engine::Button b, int x, int y) {
    keys_.mouseUsed();
    game_.MouseDown(b, x, y);
  };
  box_->onMove = [this](int x) {
    game_.MouseMove(x);
    keys_.mouseMoved();
  };
  box_->onRelease = [this](int x) { game_.boxMouseUp(x); };
  box_->onClick = [this] { game_.boxClick(); };

  auto* pauseText = new ClickLabel(parent);
  pauseText->onClick = [this] {
    keys_.mouseUsed();
    game_.boxClick();
  };
  PauseText_ = pauseText;
  PauseText_->setObjectName(QStringLiteral("PauseText"));
  PauseText_->setGeometry(100, 160, 181, 69);
  PauseText_->setAlignment(Qt::AlignCenter);
  PauseText_->setWordWrap(true);
  PauseText_->setFont(view::pixelFont(19));
  PauseText_->setAutoFillBackground(true);
  PauseText_->setStyleSheet(QStringLiteral("color: #0000ff; background-color: #000000;"));
  PauseText_->hide();

  Nextlevellabel_ = new QLabel(parent);
  Nextlevellabel_->setObjectName(QStringLiteral("Nextlevellabel"));
  Nextlevellabel_->setGeometry(72, 180, 237, 33);
  Nextlevellabel_->setAlignment(Qt::AlignCenter);
  Nextlevellabel_->setFont(view::pixelFont(27));
  Nextlevellabel_->setAutoFillBackground(true);
  Nextlevellabel_->setStyleSheet(QStringLiteral("color: #ff0000; background-color: #000000;"));
  Nextlevellabel_->hide();

  board_ = std::make_unique<BoardAccessibility>(
      box_, BoardAccessibility::Source{
                [this] { return engine::readBoard(game_.state(), keys_.cursor()); },
                [this] { resumeByAction(); },
                [this] {
                  if (window_.pauseChanged) window_.pauseChanged();
                }});
}

void GameHost::applyLanguage(const QString& pauseText, const QString& nextLevel) {
  PauseText_->setText(pauseText);
  Nextlevellabel_->setText(nextLevel);
  canvas_.setCaptions(tr("Level:"), tr("Score:"));
  game_.DrawScoreboard();
  canvas_.present();
  if (board_) board_->languageChanged();
}

void GameHost::Pause() {
  game_.Pause();
  keys_.fieldRepainted();
}

// As a key would: through the same guard, as the same click on the field.
void GameHost::resumeByAction() {
  if (window_.modalOpen && window_.modalOpen()) return;
  if (game_.state().Paused) keys_.press(engine::GameKey::Pause);
}

bool GameHost::soundOn() { return window_.soundOn(); }

void GameHost::setTimerEnabled(bool enabled) {
  if (enabled)
    Timer1_.start();
  else
    Timer1_.stop();
}

void GameHost::setNextLevelLabelVisible(bool visible) {
  // Painted at once: the busy wait that follows shows it without handling events.
  if (visible) {
    Nextlevellabel_->show();
    Nextlevellabel_->raise();
    Nextlevellabel_->repaint();
  } else {
    Nextlevellabel_->hide();
    box_->repaint(Nextlevellabel_->geometry().translated(-box_->pos()));
  }
}

void GameHost::setPauseTextVisible(bool visible) {
  if (visible) {
    // Every pause comes this way: a button held down since before it must not
    // resume the game, nor drop a crate, with its release.
    box_->forgetHeldButtons();
    PauseText_->show();
    PauseText_->raise();
    PauseText_->repaint();
  } else {
    PauseText_->hide();
    box_->repaint(PauseText_->geometry().translated(-box_->pos()));
  }
}

void GameHost::showGameOverMessage() { window_.showGameOverMessage(); }

void GameHost::offerHighScore(int score) { window_.offerHighScore(score); }

}  // namespace quibbix::app
