#include "dialogs/dialog_placement.h"

#include <QWidget>

#include "desktop/placement_frame.h"
#include "desktop/screen_zoom.h"

namespace quibbix::dialogs {

QPoint dialogPosition(const QRect& mainFrame, int mainClientHeight, const QSize& dialogFrame) {
  // C++ integer division truncates toward zero, which is the rounding wanted here.
  const int left = mainFrame.left() + (mainFrame.width() - dialogFrame.width()) / 2;
  const int top =
      mainFrame.top() + mainFrame.height() - (mainClientHeight + dialogFrame.height()) / 2;
  return {left, top};
}

void placeOverMainWindow(QWidget* dialog, QWidget* mainWindow) {
  if (dialog == nullptr || mainWindow == nullptr) return;
  // Outer sizes from the first showing on: the window manager tells the
  // dialog's frame before the dialog is mapped. The formula works in screen
  // pixels at every zoom.
  // The main window's frame first: a dialog not framed yet, whose frame the
  // window manager does not tell, is expected to get one like it.
  const QRect mainFrame = desktop::outerScreenGeometry(*mainWindow);
  desktop::moveFrameToScreen(
      *dialog, dialogPosition(mainFrame, mainWindow->height() * desktop::currentZoom(),
                              desktop::outerScreenSize(*dialog)));
}

}  // namespace quibbix::dialogs
