#include "desktop/placement_window.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "desktop/placement.h"
#include "desktop/placement_frame.h"
#include "desktop/placement_x11.h"
#include "desktop/screen_zoom.h"
#include "store/settings.h"

namespace quibbix::desktop {

namespace {

// A window placed while its frame was still unknown landed as if it had none:
// its client area sits where the frame's corner belongs, one frame size off,
// and saving that frame rectangle would move the next start by the frame again,
// start after start. This happened when the window manager's answer came after
// the wait (a loaded machine, a slow sanitized build), and always under a
// manager that never answers. The window is put right as soon as the frame is
// known: when the manager sets it, which it does at the latest when it takes
// the window and moves it into the frame.
class FrameWatcher : public QObject {
 public:
  FrameWatcher(QWidget& window, QPoint corner)
      : QObject(&window), window_(window), corner_(corner) {
    window.installEventFilter(this);
    watchHandle();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    // A manager that puts the frame around the client where the client
    // already is moves nothing, so no Move comes; the window's exposure after
    // the manager mapped it in its frame is then the first sign.
    const bool exposed = watched == window_.windowHandle() && type == QEvent::Expose;
    if (watched != &window_ && !exposed) return false;
    if (type == QEvent::Show)
      qCDebug(lcPlacement, "%lld ms: %s shown", placementClock(), qPrintable(window_.objectName()));
    if (!exposed && type != QEvent::Show && type != QEvent::Move && type != QEvent::WinIdChange)
      return false;
    watchHandle();
    if (const auto frame = knownScreenFrame(window_)) {
      qCDebug(lcPlacement, "%lld ms: frame of %s known late (%d,%d,%d,%d); put back at %d,%d",
              placementClock(), qPrintable(window_.objectName()), frame->left(), frame->top(),
              frame->right(), frame->bottom(), corner_.x(), corner_.y());
      window_.removeEventFilter(this);
      if (handle_ != nullptr) handle_->removeEventFilter(this);
      moveFrameToScreen(window_, corner_);
      deleteLater();
    }
    return false;
  }

 private:
  void watchHandle() {
    if (handle_ != nullptr || window_.windowHandle() == nullptr) return;
    handle_ = window_.windowHandle();
    handle_->installEventFilter(this);
  }

  QWidget& window_;
  QPoint corner_;
  QPointer<QWindow> handle_;
};

}  // namespace

// The stored placement and its formulas are in screen pixels, whatever the
// zoom, so a window keeps its place when the zoom changes between runs.

QRect restoreWindowPosition(QWidget& window, store::IniStore& ini) {
  return restoreWindowPosition(window, store::Settings(ini).windowPlace());
}

QRect restoreWindowPosition(QWidget& window, const QString& text) {
  // Centring and keeping on the screen go by the size with the frame, which
  // the window manager tells before the window is shown.
  const QSize size = outerScreenSize(window);
  const QSize screen = screenPixels().size();
  const QPoint corner = parsePlacement(text, size, screen).value_or(centredPosition(size, screen));
  const bool frameKnown = knownScreenFrame(window).has_value();
  moveFrameToScreen(window, corner);
  qCDebug(lcPlacement, "%lld ms: %s placed at %d,%d, frame %s", placementClock(),
          qPrintable(window.objectName()), corner.x(), corner.y(),
          frameKnown ? "known" : "unknown");
  if (!frameKnown && x11Display() != nullptr) new FrameWatcher(window, corner);
  return {corner, size};
}

void saveWindowPosition(QWidget& window, store::IniStore& ini) {
  store::Settings(ini).setWindowPlace(windowPlaceText(window));
}

QString windowPlaceText(QWidget& window) {
  // Saved as a normal window: the game keeps no minimised or maximised state.
  return formatPlacement(outerScreenGeometry(window));
}

}  // namespace quibbix::desktop
