#pragma once

class QWidget;

namespace quibbix::desktop {

// Gives the keyboard focus back to `window` after one of the game's dialogs
// has gone, when the focus went nowhere else: a window manager such as twm
// leaves it with nobody (None), and no key works until the pointer leaves and
// enters the window again. The focus of another program is left alone. Only
// on X11; elsewhere the platform does it.
void takeFocusBack(QWidget& window);

// Calls takeFocusBack() when it goes out of scope: around a dialog's showing.
class FocusComesBack {
 public:
  explicit FocusComesBack(QWidget& window) : window_(window) {}
  ~FocusComesBack() { takeFocusBack(window_); }
  FocusComesBack(const FocusComesBack&) = delete;
  FocusComesBack& operator=(const FocusComesBack&) = delete;

 private:
  QWidget& window_;
};

}  // namespace quibbix::desktop
