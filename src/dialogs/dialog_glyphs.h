#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

class QWidget;

namespace quibbix::dialogs {

// A button glyph from a compiled-in picture; empty when the picture is missing.
QIcon singleGlyph(const QString& path);

// A glyph pair laid side by side: the left half is the normal look, the right
// half the disabled one. Empty when the picture is missing.
QIcon pairGlyph(const QString& path);

// The main window's icon at `size` pixels; empty without a main window or icon.
QPixmap mainWindowIcon(const QWidget* mainWindow, int size);

}  // namespace quibbix::dialogs
