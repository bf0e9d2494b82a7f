#include "dialogs/type_ahead.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "desktop/placement_x11.h"

// Xlib's header would bring macros that clash with Qt's event names.
extern "C" int XSync(_XDisplay* display, int discard);

namespace quibbix::dialogs {

namespace {

class InputDropper : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel: return true;
      default: return false;
    }
  }
};

}  // namespace

void dropPendingInput() {
  // One round trip to the X server: every event it made before now is then
  // in our queue, where the loop below finds it.
  if (_XDisplay* display = desktop::x11Display()) XSync(display, 0);
  InputDropper dropper;
  QCoreApplication::instance()->installEventFilter(&dropper);
  // The first pass reads the window system's queue, the second delivers
  // what that pass queued for Qt's windows.
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(&dropper);
}

}  // namespace quibbix::dialogs
