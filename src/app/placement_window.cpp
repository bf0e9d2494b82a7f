#include "app/placement_window.h"

#include <QWidget>

#include "app/placement.h"
#include "app/placement_frame.h"
#include "app/screen_zoom.h"
#include "app/settings_store.h"

namespace quibbix::app {

// The stored placement and its formulas are in screen pixels, whatever the
// zoom, so a window keeps its place when the zoom changes between runs.

QRect restoreWindowPosition(QWidget& window, IniStore& store) {
  const QString text = store.ReadString(QStringLiteral("common"), QStringLiteral("MainForm"), {});
  // Centring and keeping on the screen go by the size with the frame, which
  // the window manager tells before the window is shown.
  const QSize size = outerScreenSize(window);
  const QSize screen = screenPixels().size();
  const QPoint corner = parsePlacement(text, size, screen).value_or(centredPosition(size, screen));
  moveFrameToScreen(window, corner);
  return {corner, size};
}

void saveWindowPosition(QWidget& window, IniStore& store) {
  // Saved as a normal window: the game keeps no minimised or maximised state.
  store.WriteString(QStringLiteral("common"), QStringLiteral("MainForm"),
                    formatPlacement(outerScreenGeometry(window)));
}

}  // namespace quibbix::app
