#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

namespace quibbix::desktop {

// Qt's own scaling, driven as one whole-number factor for every window of the
// program: every window's device pixel ratio is exactly that number, on every
// screen, also after it moves to another one. Call initScreenZoom() once,
// after the application object is made and before any window exists.
void initScreenZoom();

// The first screen's device pixel ratio as Qt found it at start, from the
// desktop's settings and the QT_* scaling variables.
double desktopPixelRatio();

// The factor in force (1 before initScreenZoom()).
int currentZoom();

// Makes every window `zoom` times as large. Shown windows change size at
// once, keep their frame's top-left screen pixel where the screen leaves room,
// and are drawn afresh.
void applyZoom(int zoom);

// The free area of the window's screen (the first screen without a window) in
// screen pixels.
QRect availableScreenPixels(const QWidget* window = nullptr);

// The whole of the window's screen (the first screen without a window) in screen pixels.
QRect screenPixels(const QWidget* window = nullptr);

// The factor, `first` or a few units in the last place from it, for which
// `ratioFor` gives exactly `zoom`: `ratioFor` applies a factor and returns the
// device pixel ratio that results, a product of doubles. Empty if no factor
// nearby gives exactly `zoom`.
std::optional<double> exactFactor(double first, int zoom,
                                  const std::function<double(double)>& ratioFor);

// A screen-pixel position as the logical pixel that holds it (rounded down).
QPoint toLogical(QPoint screen, int zoom);

}  // namespace quibbix::desktop
