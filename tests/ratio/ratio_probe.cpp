// The zoom as a player meets it on one set-up of screens (Qt's platform and
// scaling variables, given by the caller): for every zoom and every screen it
// prints the ratio of a window moved onto that screen, and the field pixel
// that a press on each given screen pixel reaches, delivered as the platform
// delivers a real press, in screen pixels.
//
//   ratio_probe SCREEN_X...
// prints, per zoom and screen:
//   ratio ZOOM SCREEN RATIO DPI     (DPI: the screen's logical dots per inch)
//   press ZOOM SCREEN SCREEN_X FIELD_X

#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <climits>
#include <cstdio>

#include "desktop/screen_zoom.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"
#include "view/sheets.h"

namespace {

// The field lies below the tool bar, as in the main window.
constexpr int kFieldTop = 33;

// Lets Qt handle what the platform reported until `done` holds.
template <typename F>
bool settle(const F& done) {
  for (int i = 0; i < 1000 && !done(); ++i) QCoreApplication::processEvents();
  return done();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quibbix;
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  desktop::initScreenZoom();

  view::FieldCanvas canvas(view::Sheets::load());
  QWidget top;
  top.setFixedSize(view::kFieldW, kFieldTop + view::kFieldH);
  auto* field = new view::FieldWidget(canvas, &top);
  field->move(0, kFieldTop);
  int pressed = INT_MIN;
  field->onPress = [&](engine::Button, int x, int) { pressed = x; };
  top.show();
  QWindow* window = top.windowHandle();
  if (window == nullptr || !settle([&] { return top.isVisible(); })) return 3;

  const QList<QScreen*> screens = QGuiApplication::screens();
  for (int zoom = 1; zoom <= 4; ++zoom) {
    desktop::applyZoom(zoom);
    for (int s = 0; s < screens.size(); ++s) {
      // Placed as the player would drag it: by its place on the screen.
      top.move(screens[s]->geometry().topLeft() + QPoint(10, 10));
      if (!settle([&] { return window->screen() == screens[s]; })) {
        std::printf("stays %d %d\n", zoom, s);
        continue;
      }
      std::printf("ratio %d %d %.17g %.17g\n", zoom, s, window->devicePixelRatio(),
                  screens[s]->logicalDotsPerInch());
      const QPoint corner = window->handle()->geometry().topLeft();
      for (int i = 1; i < argc; ++i) {
        const int x = QString::fromLatin1(argv[i]).toInt();
        const QPointF local(x, (kFieldTop + 200) * zoom);
        pressed = INT_MIN;
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, local, local + corner, Qt::LeftButton, Qt::LeftButton,
            QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, local, local + corner, Qt::NoButton, Qt::LeftButton,
            QEvent::MouseButtonRelease);
        std::printf("press %d %d %d %d\n", zoom, s, x, pressed);
      }
    }
  }
  std::fflush(stdout);
  return 0;
}
