#include "desktop/focus.h"

#include <QApplication>
#include <QWidget>

#include "desktop/placement_x11.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so it comes last.
#include <X11/Xlib.h>

namespace quibbix::desktop {

namespace {

// One of the game's own top-level windows, or a window inside one.
bool ours(Display* d, Window w) {
  for (Window at = w; at != 0;) {
    for (const QWidget* top : QApplication::topLevelWidgets())
      if (top->testAttribute(Qt::WA_WState_Created) && static_cast<Window>(top->winId()) == at)
        return true;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, at, &root, &parent, &children, &count)) return false;
    if (children != nullptr) XFree(children);
    if (parent == root) return false;
    at = parent;
  }
  return false;
}

}  // namespace

void takeFocusBack(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isVisible() || !window.testAttribute(Qt::WA_WState_Created)) return;
  const auto own = static_cast<Window>(window.winId());
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, own, &a) || a.map_state != IsViewable) return;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(d, &focus, &revert);
  if (focus == own) return;
  const bool nobody = focus == None || focus == PointerRoot || focus == DefaultRootWindow(d);
  if (!nobody && !ours(d, focus)) return;
  XSetInputFocus(d, own, RevertToParent, CurrentTime);
  XFlush(d);
}

}  // namespace quibbix::desktop
