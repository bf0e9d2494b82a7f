#pragma once
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quibbix::app {

// The borders the window manager puts around a top-level window (its frame:
// title bar and edges), in the window's own pixels. A window that has never
// been shown has no frame yet; the window manager is then asked what it will
// give, so that placement can use the outer size from the very first showing.
// Zero off X11, without a window manager, or when it does not answer.
QMargins frameMargins(QWidget& window);

// The window's size with its frame.
QSize outerSize(QWidget& window);

// The rectangle a shown window covers on the screen, frame included.
QRect outerGeometry(QWidget& window);

// Puts the top-left corner of the window's frame at `corner`, whether the
// window has been shown before or not.
void moveFrameTo(QWidget& window, QPoint corner);

// The same in screen pixels, whatever the zoom: the client area enlarged and
// the frame as the window manager draws it, which does not grow with the zoom.
// A window lands on whole logical pixels, so up to zoom - 1 screen pixels
// above and left of a corner that is no multiple of the zoom.
QSize outerScreenSize(QWidget& window);
QRect outerScreenGeometry(QWidget& window);
void moveFrameToScreen(QWidget& window, QPoint corner);

}  // namespace quibbix::app
