#pragma once

class QWidget;

namespace quibbix::desktop {

// Call just before a top-level window is mapped (before show(), or from its
// showEvent). Renders the window and hands the picture to the X server as the
// native window's background, so the server fills the window with it the
// moment it appears: no frame ever shows it empty while Qt's first paint is on
// its way. After that paint the window gets its usual empty background back.
// Does nothing off X11 or on a screen format it does not know.
void paintBeforeMapping(QWidget& window);

// Whether a window of this depth, colour masks and server pixmap format takes
// the picture as it is handed over: 32-bit words of 0x00RRGGBB.
bool takesRgbWords(int depth, unsigned long redMask, unsigned long greenMask,
                   unsigned long blueMask, int bitsPerPixel);

// Call after show(): returns once the window is on the screen (the window
// manager maps it in its own time), or after a short while at most. Work that
// follows then leaves the processor to the X server and the window manager
// until the window is up.
void waitUntilMapped(QWidget& window);

}  // namespace quibbix::desktop
