#include "dialogs/splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "app/placement_picture.h"

namespace quibbix::dialogs {

Splash::Splash(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(200, 150);
  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setGeometry(0, 0, 201, 151);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image->setPixmap(QPixmap(QStringLiteral(":/glyphs/splash.png")));
  // A click on the picture is a click on the window.
  image->setAttribute(Qt::WA_TransparentForMouseEvents);

  Timer1_.setInterval(3000);
  connect(&Timer1_, &QTimer::timeout, this, &Splash::Click);
  Timer1_.start();
}

void Splash::Click() {
  if (isVisible()) done(1);
}

void Splash::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
  // The title picture is there the moment the window appears over the board.
  app::paintBeforeMapping(*this);
}

void Splash::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  Click();
}

}  // namespace quibbix::dialogs
