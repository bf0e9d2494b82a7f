#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace quibbix::store {
class IniStore;
}

namespace quibbix::desktop {

// Puts a window that is about to be shown where the stored window place says,
// or centres it on the primary screen when there is no usable value; either
// way moved inside the work area of its screen (clear of panels, on a monitor
// that is there) when any part of it would lie outside. Returns the rectangle
// it will cover, frame included, in screen pixels (as the stored placement
// is, whatever the zoom).
QRect restoreWindowPosition(QWidget& window, store::IniStore& ini);
// The same for a stored window place already read.
QRect restoreWindowPosition(QWidget& window, const QString& placeText);

// The window place to store for the window's frame rectangle; nullopt where
// the game cannot read its windows' places (Wayland): the stored one stays.
std::optional<QString> windowPlaceText(QWidget& window);

// Stores windowPlaceText(), when there is one, as the window place.
void saveWindowPosition(QWidget& window, store::IniStore& ini);

}  // namespace quibbix::desktop
