#include "dialogs/splash.h"

#include <QLabel>
#include <QMouseEvent>

#include "desktop/crisp_glyphs.h"
#include "desktop/placement_picture.h"
#include "desktop/screen_zoom.h"
#include "dialogs/modal.h"
#include "view/png.h"

namespace quibbix::dialogs {

Splash::Splash(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(200, 150);
  image_ = new desktop::PictureLabel(this);
  image_->setObjectName(QStringLiteral("Image1"));
  image_->setGeometry(0, 0, 201, 151);
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image_->setPixmap(view::readPngPixmap(QStringLiteral(":/glyphs/splash.png")));
  // The title picture names the game and its version to a screen reader, as it
  // shows them; the name is the same in every language.
  setAccessibleName(QStringLiteral("Quibbix V2.2"));
  image_->setAccessibleName(QStringLiteral("Quibbix V2.2"));
  // A click on the picture is a click on the window.
  image_->setAttribute(Qt::WA_TransparentForMouseEvents);

  Timer1_.setInterval(3000);
  connect(&Timer1_, &QTimer::timeout, this, &Splash::Click);
  Timer1_.start();
}

void Splash::Click() {
  if (isVisible()) done(modal::kOk);
}

void Splash::done(int result) {
  QDialog::done(result);
  // The splash is shown once per run: its picture is not needed again.
  image_->clear();
}

void Splash::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred in screen pixels, as at every zoom.
  const int zoom = desktop::currentZoom();
  const QRect area = desktop::screenPixels(this);
  if (!area.isEmpty()) {
    const QSize size = this->size() * zoom;
    move(desktop::toLogical(area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                                    (area.height() - size.height()) / 2),
                            zoom));
  }
  // The title picture is there the moment the window appears over the board.
  desktop::paintBeforeMapping(*this);
}

void Splash::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  Click();
}

}  // namespace quibbix::dialogs
