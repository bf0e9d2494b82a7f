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
// client area enlarged and the frame, which does not grow with the zoom. A
// window that has never been shown has no frame yet; the window manager is then
// asked what it will give, so that placement uses the outer size from the very
// first showing. No frame off X11, without a window manager, or when it does not
// answer. A window lands on whole logical pixels, so up to zoom - 1 screen
// pixels above and left of a corner that is no multiple of the zoom.
QSize outerScreenSize(QWidget& window);
QRect outerScreenGeometry(QWidget& window);
void moveFrameToScreen(QWidget& window, QPoint corner);

// The frame, in screen pixels, that the window manager will put around a new
// top-level window with these flags, asked with a stand-in window that is
// never shown: what the first showing will have. Empty off X11, without a
// window manager, or when it does not answer.
QSize newWindowFrame(Qt::WindowFlags flags);

// The frame the window manager has set on the window by now, without asking or
// waiting; nullopt while it is unknown.
std::optional<QMargins> knownScreenFrame(QWidget& window);

// Milliseconds since the run's first placement message, for the debug log of
// the category below.
qint64 placementClock();

}  // namespace quibbix::desktop
