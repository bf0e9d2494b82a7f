#pragma once
#include <QRect>
#include <future>
#include <optional>
#include <thread>

namespace quibbix::desktop {

// The main window's show effect: dotted rectangles growing from the mouse
// pointer to the window's frame, drawn twice by inverting the screen so the
// second pass wipes out the first. It is drawn on a connection and thread of
// its own, so the window can be built meanwhile: the connection is made on
// construction, the drawing begins with start() and the window is to be
// mapped only after finish(). Draws only on an X11 screen; elsewhere
// (Wayland, offscreen) nothing happens.
class ShowEffect {
 public:
  ShowEffect();
  ~ShowEffect();
  ShowEffect(const ShowEffect&) = delete;
  ShowEffect& operator=(const ShowEffect&) = delete;

  // Draws towards the window's frame, `windowFrame` on the screen (in screen
  // pixels, as placement works in them).
  void start(const QRect& windowFrame);
  // Waits until the last rectangle is off the screen again.
  void finish();

 private:
  std::promise<std::optional<QRect>> target_;
  bool started_ = false;
  std::thread thread_;
};

}  // namespace quibbix::desktop
