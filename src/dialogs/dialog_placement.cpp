#include "dialogs/dialog_placement.h"

#include <QWidget>

namespace quibbix::dialogs {

QPoint dialogPosition(const QRect& mainFrame, int mainClientHeight, const QSize& dialogFrame) {
  // C++ integer division truncates toward zero, which is the rounding wanted here.
  const int left = mainFrame.left() + (mainFrame.width() - dialogFrame.width()) / 2;
  const int top =
      mainFrame.top() + mainFrame.height() - (mainClientHeight + dialogFrame.height()) / 2;
  return {left, top};
}

void placeOverMainWindow(QWidget* dialog, const QWidget* mainWindow) {
  if (dialog == nullptr || mainWindow == nullptr) return;
  // move() of a top-level window positions its frame, as the formula expects.
  dialog->move(dialogPosition(mainWindow->frameGeometry(), mainWindow->height(),
                              dialog->frameGeometry().size()));
}

}  // namespace quibbix::dialogs
