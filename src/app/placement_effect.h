#pragma once
#include <QRect>

namespace quibbix::app {

// The main window's show effect: dotted rectangles growing from the mouse
// pointer to windowFrame, drawn twice by inverting the screen so the second
// pass wipes out the first. Draws only on an X11 screen; elsewhere (Wayland,
// offscreen) nothing happens. Blocks for roughly a fifth of a second.
void playShowEffect(const QRect& windowFrame);

}  // namespace quibbix::app
