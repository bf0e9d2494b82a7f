#include "app/placement_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/placement.h"
#include "app/settings_store.h"

namespace quibbix::app {

namespace {

QSize primaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().size() : QSize();
}

}  // namespace

void restoreWindowPosition(QWidget& window, IniStore& store) {
  const QString text = store.ReadString(QStringLiteral("common"), QStringLiteral("MainForm"), {});
  const QSize size = window.frameGeometry().size();
  const QSize screen = primaryScreenSize();
  window.move(parsePlacement(text, size, screen).value_or(centredPosition(size, screen)));
}

void saveWindowPosition(const QWidget& window, IniStore& store) {
  // Saved as a normal window: the game keeps no minimised or maximised state.
  store.WriteString(QStringLiteral("common"), QStringLiteral("MainForm"),
                    formatPlacement(window.frameGeometry()));
}

}  // namespace quibbix::app
