#include "app/main_window.h"

#include <QLabel>

#include "view/field_widget.h"

namespace quibbix::app {

MainWindow::MainWindow(std::uint32_t seed, QWidget* parent)
    : QWidget(parent),
      canvas_(view::Sheets::load()),
      random_(seed),
      game_({canvas_, cues_, clock_, random_, *this}) {
  setWindowTitle(QStringLiteral("Quibbix V2.2"));
  setFixedSize(500, 366);
  Panel1_ = new QWidget(this);
  Panel1_->setGeometry(0, 0, 500, 33);
  box_ = new view::FieldWidget(canvas_, this);
  box_->move(0, 33);

  Timer1_.setInterval(100);
  connect(&Timer1_, &QTimer::timeout, this, [this] { game_.Timer(); });
  box_->onPress = [this](engine::Button b, int x, int y) { game_.MouseDown(b, x, y); };
  box_->onMove = [this](int x) { game_.MouseMove(x); };
  box_->onRelease = [this](int x) { game_.boxMouseUp(x); };
  box_->onClick = [this] { game_.boxClick(); };

  game_.Paint();
  game_.NewGame();
}

MainWindow::~MainWindow() = default;

void MainWindow::setTimerEnabled(bool enabled) {
  if (enabled)
    Timer1_.start();
  else
    Timer1_.stop();
}

void MainWindow::setNextLevelLabelVisible(bool) {}
void MainWindow::setPauseTextVisible(bool) {}

}  // namespace quibbix::app
