#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quibbix::dialogs {

// Where a dialog goes over the main window: centred horizontally, and vertically
// about the middle of the main window's client area. Frames are outer sizes;
// the divisions round toward zero.
QPoint dialogPosition(const QRect& mainFrame, int mainClientHeight, const QSize& dialogFrame);

// Moves `dialog` over `mainWindow` by dialogPosition(); nothing without a main window.
void placeOverMainWindow(QWidget* dialog, QWidget* mainWindow);

}  // namespace quibbix::dialogs
