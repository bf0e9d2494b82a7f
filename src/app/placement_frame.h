#pragma once
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quibbix::app {

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

}  // namespace quibbix::app
