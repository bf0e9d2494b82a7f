#include "app/placement_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/placement.h"
#include "app/placement_frame.h"
#include "app/settings_store.h"

namespace quibbix::app {

namespace {

QSize primaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().size() : QSize();
}

}  // namespace

QRect restoreWindowPosition(QWidget& window, IniStore& store) {
  const QString text = store.ReadString(QStringLiteral("common"), QStringLiteral("MainForm"), {});
  // Centring and keeping on the screen go by the size with the frame, which
  // the window manager tells before the window is shown.
  const QSize size = outerSize(window);
  const QSize screen = primaryScreenSize();
  const QPoint corner = parsePlacement(text, size, screen).value_or(centredPosition(size, screen));
  moveFrameTo(window, corner);
  return {corner, size};
}

void saveWindowPosition(QWidget& window, IniStore& store) {
  // Saved as a normal window: the game keeps no minimised or maximised state.
  store.WriteString(QStringLiteral("common"), QStringLiteral("MainForm"),
                    formatPlacement(outerGeometry(window)));
}

}  // namespace quibbix::app
