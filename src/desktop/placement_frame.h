#pragma once
#include <QLoggingCategory>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>
#include <optional>

class QWidget;

Q_DECLARE_LOGGING_CATEGORY(lcPlacement)

namespace quibbix::desktop {

// A top-level window's place and size with the frame the window manager puts
// around it (title bar and edges), in screen pixels whatever the zoom: the
// client area enlarged and the frame, which does not grow with the zoom. The
// frame is read from the window itself once the manager has framed it
// (_NET_FRAME_EXTENTS, or where its parent lies); before that the manager is
// asked what it will give a window of these flags, if it says it answers and
// does so in time, or else the frame last seen around a window of the game
// (or the one told by expectFrame()) is taken. No frame off X11, or without
// a window manager.
QSize outerScreenSize(QWidget& window);
QRect outerScreenGeometry(QWidget& window);

// Puts the frame's corner there: whatever frame the manager puts around the
// window, also one not known yet. A window lands on whole screen pixels on
// X11; elsewhere on whole logical pixels, so up to zoom - 1 screen pixels
// above and left of a corner that is no multiple of the zoom.
void moveFrameToScreen(QWidget& window, QPoint corner);

// The same for a window whose client area becomes `clientPixels` screen
// pixels large at once (a change of zoom). A manager that puts a shown
// window's frame a few pixels off the place asked for is asked again, and
// from then on with that difference.
void placeFrame(QWidget& window, QPoint corner, QSize clientPixels);

// The frame, in screen pixels, that the window manager will put around a new
// top-level window with these flags, asked with a stand-in window that is
// never shown: what the first showing will have. Empty off X11, without a
// window manager, or when it does not answer in time.
QSize newWindowFrame(Qt::WindowFlags flags);

// Sends that question at once, so that the answer is on its way while the
// program builds its windows, for a window of this fixed size (in logical
// pixels; a manager gives a window the player cannot resize no handles). A
// manager that promised answers and gave none in a short while is not asked
// again in this run.
void askNewWindowFrame(Qt::WindowFlags flags, QSize fixedSize);

// A frame likely for windows of this run (the one around the main window last
// time), taken while no window of the game has been framed yet and the
// manager does not tell.
void expectFrame(const QMargins& frame);

// The frame the window manager has put around the window by now, read from
// the window without waiting; nullopt while it is not framed.
std::optional<QMargins> knownScreenFrame(QWidget& window);

// Whether windows here have a place the game can read and set: not under
// Wayland, where the compositor alone places them.
bool placesWindows();

// Milliseconds since the run's first placement message, for the debug log of
// the category below.
qint64 placementClock();

}  // namespace quibbix::desktop
