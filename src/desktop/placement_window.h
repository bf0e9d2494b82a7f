#pragma once

#include <QRect>

class QWidget;

namespace quibbix::store {
class IniStore;
}

namespace quibbix::desktop {

// Puts a window that is about to be shown where the stored window place says,
// kept on the primary screen, or centres it there when there is no usable
// value. Returns the rectangle it will cover, frame included, in screen
// pixels (as the stored placement is, whatever the zoom).
QRect restoreWindowPosition(QWidget& window, store::IniStore& ini);
// The same for a stored window place already read.
QRect restoreWindowPosition(QWidget& window, const QString& placeText);

// Stores the window's frame rectangle as the window place.
void saveWindowPosition(QWidget& window, store::IniStore& ini);
// The window place to store: the frame rectangle of a normal window.
QString windowPlaceText(QWidget& window);

}  // namespace quibbix::desktop
