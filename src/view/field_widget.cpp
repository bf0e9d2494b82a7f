#include "view/field_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "view/field_canvas.h"

namespace quibbix::view {

namespace {

QPoint roundedDown(const QPointF& position) {
  return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// A screen pixel's coordinate back from Qt's logical one (the screen
// coordinate times 1 / zoom): whole screen coordinates come back as
// themselves, where the product may miss them by a rounding step.
int screenCoordinate(double logical, int zoom) {
  const double screen = logical * zoom;
  const double nearest = std::round(screen);
  return static_cast<int>(std::abs(screen - nearest) < 1e-6 ? nearest : std::floor(screen));
}

}  // namespace

FieldWidget::FieldWidget(FieldCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setFixedSize(kFieldW, kFieldH);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  canvas_.setScreen(this);
}

void FieldWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  QWindow* window = this->window()->windowHandle();
  if (window != nullptr && window != watched_) {
    if (watched_ != nullptr) watched_->removeEventFilter(this);
    watched_ = window;
    window->installEventFilter(this);
  }
}

bool FieldWidget::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      windowPosition_ = mouse->position();
      windowTimestamp_ = mouse->timestamp();
      break;
    }
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

QPoint FieldWidget::fieldPixel(const QMouseEvent& event) const {
  // Under a zoom of Z the field pixel under the pointer is the screen
  // position divided by Z and rounded down (screen x 227 at Z = 2 is field
  // x 113), so every zone boundary stays where it is at Z = 1. Qt 6.4 rounds
  // the position to the nearest whole number on the way from the window to
  // the widget, so the exact one is taken from the window's own event, which
  // this event was made from (same time, same rounded place). With a window
  // ratio of exactly Z that position is the screen position times 1 / Z, and
  // the division is done again in whole screen pixels, where nothing rounds.
  const QPointF exact = windowPosition_ - QPointF(mapTo(window(), QPoint(0, 0)));
  if (event.timestamp() != windowTimestamp_ || exact.toPoint() != event.position().toPoint())
    return roundedDown(event.position());
  const QWindow* handle = window()->windowHandle();
  const double ratio = handle != nullptr ? handle->devicePixelRatio() : 1.0;
  if (!(ratio >= 1 && ratio <= 16) || ratio != std::floor(ratio)) return roundedDown(exact);
  const int zoom = static_cast<int>(ratio);
  const QPoint corner = mapTo(window(), QPoint(0, 0)) * zoom;
  return {floorDiv(screenCoordinate(windowPosition_.x(), zoom) - corner.x(), zoom),
          floorDiv(screenCoordinate(windowPosition_.y(), zoom) - corner.y(), zoom)};
}

void FieldWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  for (const QRect& r : event->region()) p.drawImage(r.topLeft(), canvas_.image(), r);
}

void FieldWidget::mousePressEvent(QMouseEvent* event) {
  forgotten_ &= ~event->button();
  held_ |= event->button();
  const QPoint pos = fieldPixel(*event);
  engine::Button button = engine::Button::Left;
  if (event->button() == Qt::RightButton)
    button = engine::Button::Right;
  else if (event->button() != Qt::LeftButton)
    button = engine::Button::Middle;
  if (button == engine::Button::Left) leftPressInside_ = rect().contains(pos);
  if (onPress) onPress(button, pos.x(), pos.y());
}

void FieldWidget::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(fieldPixel(*event).x());
}

void FieldWidget::forgetHeldButtons() {
  forgotten_ = held_;
  if (forgotten_ & Qt::LeftButton) leftPressInside_ = false;
}

void FieldWidget::mouseReleaseEvent(QMouseEvent* event) {
  held_ &= ~event->button();
  if (forgotten_ & event->button()) {
    forgotten_ &= ~event->button();
    return;
  }
  const QPoint pos = fieldPixel(*event);
  if (event->button() == Qt::LeftButton) {
    const bool click = leftPressInside_ && rect().contains(pos);
    leftPressInside_ = false;
    if (click && onClick) onClick();
  }
  if (onRelease) onRelease(pos.x());
}

}  // namespace quibbix::view
