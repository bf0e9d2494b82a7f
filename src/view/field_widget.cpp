#include "view/field_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "view/field_canvas.h"

namespace quibbix::view {

FieldWidget::FieldWidget(FieldCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setFixedSize(kFieldW, kFieldH);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  canvas_.setScreen(this);
}

void FieldWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  for (const QRect& r : event->region()) p.drawImage(r.topLeft(), canvas_.image(), r);
}

void FieldWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  engine::Button button = engine::Button::Left;
  if (event->button() == Qt::RightButton)
    button = engine::Button::Right;
  else if (event->button() != Qt::LeftButton)
    button = engine::Button::Middle;
  if (button == engine::Button::Left) leftPressInside_ = rect().contains(pos);
  if (onPress) onPress(button, pos.x(), pos.y());
}

void FieldWidget::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event->position().toPoint().x());
}

void FieldWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    const bool click = leftPressInside_ && rect().contains(pos);
    leftPressInside_ = false;
    if (click && onClick) onClick();
  }
  if (onRelease) onRelease(pos.x());
}

}  // namespace quibbix::view
