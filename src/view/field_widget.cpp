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
  // Under a zoom of Z the pointer's screen position divided by Z is a
  // fraction (227 / 2 = 113.5), and the field pixel holding it is the one
  // rounded down, so every zone boundary stays where it is at Z = 1. Qt 6.4
  // rounds the position to the nearest whole number on the way from the
  // window to the widget, so the exact one is taken from the window's own
  // event, which this event was made from (same time, same rounded place).
  const QPointF exact = windowPosition_ - QPointF(mapTo(window(), QPoint(0, 0)));
  if (event.timestamp() == windowTimestamp_ && exact.toPoint() == event.position().toPoint())
    return roundedDown(exact);
  return roundedDown(event.position());
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
