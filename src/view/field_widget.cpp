#include "view/field_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "view/field_canvas.h"

namespace quibbix::view {

namespace {

// The field pixel under the pointer. Under a zoom of Z Qt reports the screen
// position divided by Z as a fraction (227 / 2 = 113.5); the pixel holding it
// is the one rounded down, so every zone boundary stays where it is at Z = 1.
QPoint fieldPixel(const QPointF& position) {
  return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

}  // namespace

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
  const QPoint pos = fieldPixel(event->position());
  engine::Button button = engine::Button::Left;
  if (event->button() == Qt::RightButton)
    button = engine::Button::Right;
  else if (event->button() != Qt::LeftButton)
    button = engine::Button::Middle;
  if (button == engine::Button::Left) leftPressInside_ = rect().contains(pos);
  if (onPress) onPress(button, pos.x(), pos.y());
}

void FieldWidget::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(fieldPixel(event->position()).x());
}

void FieldWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = fieldPixel(event->position());
  if (event->button() == Qt::LeftButton) {
    const bool click = leftPressInside_ && rect().contains(pos);
    leftPressInside_ = false;
    if (click && onClick) onClick();
  }
  if (onRelease) onRelease(pos.x());
}

}  // namespace quibbix::view
