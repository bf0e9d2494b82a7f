#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>

#include "paintkit.h"
#include "sheet_sizes.h"

namespace sheetgen {

using paintkit::clamp255;
using paintkit::closedPath;
using paintkit::mix;
using paintkit::outlined;
using paintkit::ri;
using paintkit::Rng;
using paintkit::shade;
using paintkit::smooth;

QImage makeBackground();
QImage makeCrates();
QImage makePictures(const QImage& background);
QImage makeDigits();
// The keyboard's chute marker over its mask.
QImage makeMarker();
constexpr int kMarkerW = quibbix::sheets::kMarker.width;
constexpr int kMarkerH = quibbix::sheets::kMarker.height;

// Where the picture lies on the background.
constexpr int kPictureX = 354;
constexpr int kPictureY = 190;

}  // namespace sheetgen
