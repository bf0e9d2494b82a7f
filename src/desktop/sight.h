#pragma once
// Whether the player can see the game's window: the window manager takes it out
// of sight by minimising it, by showing another workspace, or by hiding it any
// other way it likes, and each manager tells it differently.

#include <QObject>
#include <functional>
#include <optional>

class QWidget;

namespace quibbix::desktop {

// What the X server and the window manager say about a top-level window.
struct ManagerView {
  // ICCCM's WM_STATE; None until a manager has taken the window.
  enum class State { None, Withdrawn, Normal, Iconic };
  State state = State::None;
  // _NET_WM_STATE holds _NET_WM_STATE_HIDDEN or _NET_WM_STATE_SHADED.
  bool hidden = false;
  // The window's workspace and the one shown (_NET_WM_DESKTOP, _NET_CURRENT_DESKTOP).
  std::optional<unsigned long> desktop;
  std::optional<unsigned long> currentDesktop;
  // The window and all its ancestors are mapped.
  bool viewable = true;
};

// Out of sight: the manager says it put the window away, and the window cannot
// be seen (a compositing manager may keep a minimised window mapped).
bool outOfSight(const ManagerView& view);

// Calls `lost` each time `window` goes out of the player's sight. On X11 this is
// read from the manager's own words (see outOfSight), never from the window
// being unmapped alone: a manager that starts, restarts or reparents the window
// unmaps it for a moment and means nothing by it. Elsewhere the platform's
// exposure tells.
class SightWatch : public QObject {
 public:
  SightWatch(QWidget& window, std::function<void()> lost);
  ~SightWatch() override;

 private:
  class Impl;
  Impl* impl_;
};

}  // namespace quibbix::desktop
