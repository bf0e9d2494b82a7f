#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

namespace quibbix::desktop {

// The main window's remembered placement, as kept in the window place setting:
// "200,flags,showState,left,top,right,bottom", right and bottom exclusive.
struct Placement {
  int flags = 0;
  int showState = 1;
  QRect normal;
};

// The placement text's fields; nullopt unless it has exactly seven integer
// fields and the format mark 200 first.
std::optional<Placement> readPlacementText(const QString& text);

// Where the window goes for a stored placement text: its stored top-left,
// moved inside `area` (the screen's work area) when any part of a window of
// that size would lie outside it. nullopt: the text is unusable and the
// window is to be centred.
std::optional<QPoint> parsePlacement(const QString& text, QSize window, const QRect& area);

// The top-left of `frame` moved as little as needed to bring all of it into
// `area`: the player's own place where it fits. A window larger than the area
// keeps its top-left edges (the title bar) inside.
QPoint keepInside(const QRect& frame, const QRect& area);
// The frame of `size` at `corner`, the corner first drawn in so far that the
// frame's far edges are still numbers: a hand-edited place may stand at the
// int limits, and keepInside moves it onto the screen anyway.
QRect frameAt(QPoint corner, QSize size);

// Top-left of a window centred on the screen.
QPoint centredPosition(QSize window, QSize screen);

QString formatPlacement(const QRect& frame, int flags = 0, int showState = 1);

// The show effect's rectangles: step i (1 to kShowEffectSteps) lies i/40 of
// the way from the pointer to the window's top-left and has i/40 of its size.
constexpr int kShowEffectSteps = 40;
std::array<QRect, kShowEffectSteps> showEffectRects(QPoint pointer, const QRect& frame);

}  // namespace quibbix::desktop
