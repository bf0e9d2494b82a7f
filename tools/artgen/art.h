#pragma once

#include <QImage>

namespace artgen {

// Tool-bar glyphs.
QImage bombGlyph();
QImage coffeeGlyph();
QImage speakerGlyph();
QImage podiumGlyph(bool withTrophy);
QImage blueDoorGlyph();
QImage lipsGlyph();
QImage paragraphGlyph();
QImage infoGlyph();
QImage zorvyGlyph();

// Dialog glyphs and pictures.
QImage smileyGlyph();
QImage arrowGlyph();
QImage crossGlyph();
QImage openDoorGlyph();
QImage darkTexture();
QImage trophyPicture();
QImage flagsEnglish();
QImage flagsGerman();

// Title pictures and icons.
QImage aboutLogo();
QImage splashPicture();
QImage windowIcon(int size);

}  // namespace artgen
