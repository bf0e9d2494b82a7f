#pragma once
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>

#include "engine/game.h"

namespace quibbix::view {

class FieldCanvas;

// The playing field `box` on screen: shows the canvas and hands the mouse to
// the engine. Moves arrive with or without a button held (mouse tracking), and
// while a button is held Qt's implicit grab delivers moves and the release even
// outside the widget, with x beyond 0..499.
class FieldWidget : public QWidget {
  Q_OBJECT
 public:
  FieldWidget(FieldCanvas& canvas, QWidget* parent = nullptr);

  std::function<void(engine::Button, int x, int y)> onPress;
  std::function<void(int x)> onMove;
  std::function<void(int x)> onRelease;
  // A left press and a left release inside the field; raised before onRelease.
  std::function<void()> onClick;

  // The buttons held down now lose their release and click: a pause that began
  // between a press and its release ends only with a click of its own.
  void forgetHeldButtons();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The field pixel under the pointer, at every zoom.
  QPoint fieldPixel(const QMouseEvent& event) const;

  FieldCanvas& canvas_;
  QPointer<QWindow> watched_;
  QPointF windowPosition_;
  quint64 windowTimestamp_ = 0;
  bool leftPressInside_ = false;
  Qt::MouseButtons held_;
  Qt::MouseButtons forgotten_;
};

}  // namespace quibbix::view
