#pragma once
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

namespace quibbix::desktop {

// The whole-number zoom: every logical pixel of every window becomes a
// Z x Z block of screen pixels. Rules, hit zones and drawing stay in logical
// pixels; only the final picture is enlarged.
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 4;

// The value of --zoom: 1 to 4, anything else is refused (nullopt).
std::optional<int> parseZoomOption(const QString& text);

// The player's stored choice: 1 to 4, or 0 ("follow the desktop") for a
// missing, 0 or unreadable value.
int storedZoomChoice(const QString& text);

// The largest desktop ratio taken at its word; no screen is that dense.
constexpr double kMaxDesktopRatio = 16;

// A desktop ratio as the game takes it: one that is not finite, not above 0 or
// beyond kMaxDesktopRatio (QT_SCREEN_SCALE_FACTORS=inf, 0, nan) counts as 1.
double plausibleRatio(double ratio);

// The desktop's device pixel ratio as a whole factor: nearest, halves up, at
// least 1 and at most kMaxZoom (1.25 gives 1, 1.5 and 1.75 give 2); an
// implausible ratio gives 1.
int desktopZoom(double ratio);

// The largest factor up to `wanted` at which a window of `client` logical
// pixels, plus its frame of `decoration` screen pixels (the window manager's
// frame does not grow with the zoom), fits into `screen` screen pixels; at least 1.
int fittingZoom(int wanted, QSize client, QSize decoration, QSize screen);

// The factor to start with: --zoom if given, else the stored choice (0: none),
// else the desktop's; then lowered until the window fits. `decoration` is asked
// for only when more than the smallest factor is wanted, which is taken
// whether it fits or not: asking the window manager takes a round trip.
int chooseZoom(std::optional<int> commandLine, int storedChoice, double desktopRatio, QSize client,
               const std::function<QSize()>& decoration, QSize screen);

}  // namespace quibbix::desktop
