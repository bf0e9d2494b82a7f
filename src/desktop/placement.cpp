#include "desktop/placement.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "store/settings_store.h"

namespace quibbix::desktop {

std::optional<Placement> readPlacementText(const QString& text) {
  // A trailing comma closes the last field instead of opening an empty one,
  // and an empty text has no fields at all.
  QStringList fields = text.split(u',');
  if (text.isEmpty() || text.endsWith(u',')) fields.removeLast();
  if (fields.size() != 7 || fields[0] != QLatin1String("200")) return std::nullopt;
  std::array<int, 6> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (!store::parseDecimalInt(fields[static_cast<qsizetype>(i) + 1], numbers[i]))
      return std::nullopt;
  }
  Placement placement;
  placement.flags = numbers[0];
  placement.showState = numbers[1];
  // Right and bottom are kept only as read; a hand-edited text may make
  // them absurd, which is harmless since only the corner is used.
  placement.normal.setCoords(numbers[2], numbers[3], numbers[4], numbers[5]);
  return placement;
}

std::optional<QPoint> parsePlacement(const QString& text, QSize window, const QRect& area) {
  const std::optional<Placement> placement = readPlacementText(text);
  if (!placement) return std::nullopt;
  return keepInside(frameAt(placement->normal.topLeft(), window), area);
}

QRect frameAt(QPoint corner, QSize size) {
  constexpr int kMax = std::numeric_limits<int>::max();
  const int width = std::max(size.width(), 0);
  const int height = std::max(size.height(), 0);
  return {QPoint(std::min(corner.x(), kMax - width), std::min(corner.y(), kMax - height)),
          QSize(width, height)};
}

QPoint keepInside(const QRect& frame, const QRect& area) {
  // 64 bits, so a stored corner near the int limits cannot overflow.
  std::int64_t left = frame.left();
  std::int64_t top = frame.top();
  const std::int64_t areaRight = std::int64_t{area.left()} + area.width();
  const std::int64_t areaBottom = std::int64_t{area.top()} + area.height();
  if (left + frame.width() > areaRight) left = areaRight - frame.width();
  if (top + frame.height() > areaBottom) top = areaBottom - frame.height();
  left = std::max<std::int64_t>(left, area.left());
  top = std::max<std::int64_t>(top, area.top());
  return QPoint(static_cast<int>(left), static_cast<int>(top));
}

QPoint centredPosition(QSize window, QSize screen) {
  // C++ division truncates toward zero, as the centring rule asks when the
  // window is larger than the screen.
  return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

QString formatPlacement(const QRect& frame, int flags, int showState) {
  return QStringLiteral("200,%1,%2,%3,%4,%5,%6")
      .arg(flags)
      .arg(showState)
      .arg(frame.x())
      .arg(frame.y())
      .arg(frame.x() + frame.width())
      .arg(frame.y() + frame.height());
}

std::array<QRect, kShowEffectSteps> showEffectRects(QPoint pointer, const QRect& frame) {
  std::array<QRect, kShowEffectSteps> rects;
  for (int i = 1; i <= kShowEffectSteps; ++i) {
    const int x = pointer.x() + (frame.x() - pointer.x()) * i / kShowEffectSteps;
    const int y = pointer.y() + (frame.y() - pointer.y()) * i / kShowEffectSteps;
    rects[static_cast<std::size_t>(i - 1)] =
        QRect(x, y, frame.width() * i / kShowEffectSteps, frame.height() * i / kShowEffectSteps);
  }
  return rects;
}

}  // namespace quibbix::desktop
