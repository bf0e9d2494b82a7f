#pragma once
// What the desktop room needs from Qt beyond its public interface: the scale
// factors, the screens and windows as the platform holds them in device pixels,
// and Qt's own pixmap icon engine. That interface holds only for the Qt release
// the game is built against (qt6-base-private-dev), so it is reached from this
// one place, and a new Qt release is checked here first.
#include <QIcon>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QScreen;
class QWidget;

namespace quibbix::desktop::qt {

// Qt's factor for every window, and its own factor for one screen.
void setGlobalScaleFactor(double factor);
void setScreenScaleFactor(QScreen* screen, double factor);

// The platform's own ratio of the screen (1 on X11) and its areas in screen pixels.
double platformRatio(const QScreen& screen);
QRect platformGeometry(const QScreen& screen);
QRect platformAvailableGeometry(const QScreen& screen);

// A window's client area in screen pixels, to the pixel, as the platform placed
// it; nothing before it has a native window.
std::optional<QRect> platformClient(const QWidget& window);
// Places a window that has a native window by its frame's corner, in screen
// pixels, and gives its client area `clientPixels`. The window manager is
// asked, now and at every later showing, for the frame's corner with the
// gravity that says so (north-west): every manager then puts the frame there,
// also one that puts the frame where a client asked to be, and one whose frame
// is not known yet.
void placePlatformFrame(QWidget& window, QPoint frameCorner, QSize clientPixels);
// The frame the platform has seen around a window that has a native window.
QMargins platformFrame(const QWidget& window);

// An icon that holds `picture` (and `disabled`, if not null) and adds the copy
// enlarged by whole blocks for a zoom the first time it is drawn at that zoom.
QIcon blockIcon(const QPixmap& picture, const QPixmap& disabled);

}  // namespace quibbix::desktop::qt
