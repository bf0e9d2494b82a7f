#include "desktop/placement_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "desktop/placement.h"
#include "desktop/placement_frame.h"
#include "desktop/qt_private.h"
#include "desktop/screen_zoom.h"
#include "store/settings.h"

namespace quibbix::desktop {

namespace {

// The free area of the screen that holds most of `frame`, or of the primary
// screen when none holds any of it (a monitor that is gone).
QRect workAreaFor(const QRect& frame) {
  QRect best = availableScreenPixels();
  qint64 most = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect common = qt::platformGeometry(*screen).intersected(frame);
    const qint64 area = qint64{common.width()} * common.height();
    if (area > most) {
      most = area;
      best = qt::platformAvailableGeometry(*screen);
    }
  }
  return best;
}

}  // namespace

// The stored placement and its formulas are in screen pixels, whatever the
// zoom, so a window keeps its place when the zoom changes between runs.

QRect restoreWindowPosition(QWidget& window, store::IniStore& ini) {
  return restoreWindowPosition(window, store::Settings(ini).windowPlace());
}

QRect restoreWindowPosition(QWidget& window, const QString& text) {
  const std::optional<Placement> stored = readPlacementText(text);
  if (stored) {
    // The frame the window had last time, should the manager not tell it
    // before the window is shown: the stored outer size less the client's.
    const QSize client = window.size() * currentZoom();
    // In 64 bits: a hand-edited place may span the whole int range.
    const qint64 dw = qint64{stored->normal.right()} - stored->normal.left() - client.width();
    const qint64 dh = qint64{stored->normal.bottom()} - stored->normal.top() - client.height();
    if (dw >= 0 && dh >= 0 && dw <= 100 && dh <= 200) {
      const int w = static_cast<int>(dw), h = static_cast<int>(dh);
      expectFrame(QMargins(w / 2, h - w / 2, w - w / 2, w / 2));
    }
  }
  // Centring and keeping inside go by the size with the frame.
  const QSize size = outerScreenSize(window);
  const QRect screen = screenPixels();
  const QPoint wanted =
      stored ? stored->normal.topLeft() : screen.topLeft() + centredPosition(size, screen.size());
  const QRect frame = frameAt(wanted, size);
  const QPoint corner = keepInside(frame, workAreaFor(frame));
  moveFrameToScreen(window, corner);
  qCDebug(lcPlacement, "%lld ms: %s placed at %d,%d (asked for %d,%d)", placementClock(),
          qPrintable(window.objectName()), corner.x(), corner.y(), wanted.x(), wanted.y());
  return {corner, size};
}

std::optional<QString> windowPlaceText(QWidget& window) {
  if (!placesWindows()) return std::nullopt;
  // Saved as a normal window: the game keeps no minimised or maximised state.
  return formatPlacement(outerScreenGeometry(window));
}

void saveWindowPosition(QWidget& window, store::IniStore& ini) {
  if (const std::optional<QString> text = windowPlaceText(window))
    store::Settings(ini).setWindowPlace(*text);
}

}  // namespace quibbix::desktop
