#include "app/placement_window.h"

#include <QWidget>

#include "app/placement.h"
#include "app/screen_zoom.h"
#include "app/settings_store.h"

namespace quibbix::app {

// The stored placement and its formulas are in screen pixels, whatever the
// zoom, so a window keeps its place when the zoom changes between runs.

void restoreWindowPosition(QWidget& window, IniStore& store) {
  const QString text = store.ReadString(QStringLiteral("common"), QStringLiteral("MainForm"), {});
  const QSize size = screenFrame(window).size();
  const QSize screen = screenPixels().size();
  const QPoint at = parsePlacement(text, size, screen).value_or(centredPosition(size, screen));
  window.move(toLogical(at, currentZoom()));
}

void saveWindowPosition(const QWidget& window, IniStore& store) {
  // Saved as a normal window: the game keeps no minimised or maximised state.
  store.WriteString(QStringLiteral("common"), QStringLiteral("MainForm"),
                    formatPlacement(screenFrame(window)));
}

}  // namespace quibbix::app
