#pragma once
#include <QImage>
#include <QPixmap>
#include <QString>

namespace quibbix::view {

// Every picture the program reads is a PNG, so it is read as one: Qt would
// otherwise look for the format by the file's content and load its gif, ico and
// jpeg decoders at the first picture just to rule them out. Null when the file
// is missing or not a PNG.
QImage readPng(const QString& path);
// Read the same way, and unlike QPixmap(path) kept out of Qt's pixmap cache: the
// picture lives only as long as its users.
QPixmap readPngPixmap(const QString& path);

}  // namespace quibbix::view
