#include "dialogs/dialog_placement.h"

#include <QWidget>

#include "app/screen_zoom.h"

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
  // The formula works in screen pixels at every zoom; move() of a top-level
  // window positions its frame, as the formula expects.
  const int zoom = app::currentZoom();
  const QPoint at = dialogPosition(app::screenFrame(*mainWindow), mainWindow->height() * zoom,
                                   app::screenFrame(*dialog).size());
  dialog->move(app::toLogical(at, zoom));
}

}  // namespace quibbix::dialogs
