#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>

#include "paintkit.h"

namespace artgen {

using paintkit::beginPainter;
using paintkit::closedPath;
using paintkit::darker;
using paintkit::lighter;
using paintkit::mix;
using paintkit::outlined;
using paintkit::Rng;

// The dark outline every picture shares with the sprite sheets.
inline const QColor kInk(28, 24, 36);
inline QPen inkPen(double width = 1.0) {
  return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Mascot colours; the pair crates show the same figure.
inline const QColor kZorvyFace(255, 154, 42);
inline const QColor kZorvyHair(30, 40, 140);
inline const QColor kZorvyGrin(220, 30, 40);

// Transparent canvas for glyphs and icons.
QImage transparentCanvas(int width, int height);
// Opaque canvas for pictures that always fill their rectangle.
QImage opaqueCanvas(int width, int height, QColor fill);

// The classic "disabled" rendering: the shape as a flat grey with a white relief one pixel
// right and down, so a button glyph reads as switched off.
QImage disabledLook(const QImage& normal);

// Places two images of equal size side by side (normal and disabled button glyphs).
QImage sideBySide(const QImage& left, const QImage& right);

// Zorvy's head, filling `box` (designed for 26 x 20, scales to any size). `outline` is
// the ink width in pixels.
void paintZorvy(QPainter& painter, const QRectF& box, double outline);

// The game's own crates, cut from the crate sheet that sheetgen paints, so the
// title pictures and icons show only crates that really occur in play.
// `loadCrateSheet` must succeed before `paintGameCrate` is used.
bool loadCrateSheet(const QString& path);
// Crate `code` (1..36, 50..62) drawn into `rect`: at 1:1 when the rectangle is 55 x 20,
// smoothly scaled otherwise.
void paintGameCrate(QPainter& painter, const QRectF& rect, int code);

// The blue pair-crate tile with Zorvy on it (logo, icons, splash).
void paintZorvyTile(QPainter& painter, const QRect& rect, double line = 0);

// The game's multicoloured title word, centred on `centre`, with the given pixel height.
void paintTitle(QPainter& painter, const QString& text, QPointF centre, double pixelSize,
                double outline);

// Bold text centred on `centre`, filled with `fill` and ringed with ink.
void paintOutlinedText(QPainter& painter, const QString& text, QPointF centre, double pixelSize,
                       QColor fill, double outline);

// Bold sans text path (Liberation Sans Bold), baseline-left at `origin`.
QPainterPath textPath(const QString& text, QPointF origin, double pixelSize);

}  // namespace artgen
