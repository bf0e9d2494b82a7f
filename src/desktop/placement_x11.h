#pragma once
// Qt's own connection to the X server, for what placement needs beyond Qt's reach (frame
// extents, background pixmaps, the root window); nullptr off X11. Xlib's Display is this
// struct, so callers need not pull Xlib's macros into their headers.

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib chose the name

namespace quibbix::desktop {

_XDisplay* x11Display();

}  // namespace quibbix::desktop
