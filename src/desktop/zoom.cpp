#include "desktop/zoom.h"

#include <algorithm>
#include <cmath>

#include "store/settings_store.h"

namespace quibbix::desktop {

std::optional<int> parseZoomOption(const QString& text) {
  int zoom = 0;
  if (!store::parseDecimalInt(text, zoom) || zoom < kMinZoom || zoom > kMaxZoom)
    return std::nullopt;
  return zoom;
}

int storedZoomChoice(const QString& text) { return parseZoomOption(text).value_or(0); }

double plausibleRatio(double ratio) {
  return std::isfinite(ratio) && ratio > 0 && ratio <= kMaxDesktopRatio ? ratio : 1.0;
}

int desktopZoom(double ratio) {
  ratio = plausibleRatio(ratio);
  if (ratio < 1.5) return kMinZoom;
  return static_cast<int>(std::min(std::floor(ratio + 0.5), double{kMaxZoom}));
}

int fittingZoom(int wanted, QSize client, QSize decoration, QSize screen) {
  int zoom = std::clamp(wanted, kMinZoom, kMaxZoom);
  while (zoom > kMinZoom && (client.width() * zoom + decoration.width() > screen.width() ||
                             client.height() * zoom + decoration.height() > screen.height()))
    --zoom;
  return zoom;
}

int chooseZoom(std::optional<int> commandLine, int storedChoice, double desktopRatio, QSize client,
               const std::function<QSize()>& decoration, QSize screen) {
  int wanted = commandLine.value_or(storedChoice);
  if (wanted == 0) wanted = desktopZoom(desktopRatio);
  if (wanted <= kMinZoom) return kMinZoom;
  return fittingZoom(wanted, client, decoration(), screen);
}

}  // namespace quibbix::desktop
