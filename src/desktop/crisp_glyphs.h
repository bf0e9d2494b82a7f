#pragma once
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QStyle>

class QWidget;

namespace quibbix::desktop {

// An icon that shows `picture` at every zoom with each pixel a 2 x 2, 3 x 3 or
// 4 x 4 block; `disabled`, if given, is its disabled look. Qt would otherwise
// enlarge a glyph smoothly, and a blurred glyph beside a crisp field looks
// broken. The enlarged copy for a zoom is made when the icon is first drawn at
// it, so the start pays only for the zoom in use. Null without a picture.
QIcon crispIcon(const QPixmap& picture, const QPixmap& disabled = {});

// The style's standard icon `which`, asked of the style only once something draws
// it: the style reads its pictures with Qt's format detection, which loads every
// image decoder Qt has, and a button of a dialog that is not open need not wait for
// that at the start.
QIcon styleIcon(const QStyle* style, QStyle::StandardPixmap which);

// A button glyph from a compiled-in picture; empty when the picture is missing.
QIcon singleGlyph(const QString& path);

// A glyph pair laid side by side: the left half is the normal look, the right
// half the disabled one. Empty when the picture is missing.
QIcon pairGlyph(const QString& path);

// A label showing a picture with each of its pixels as a whole block at every
// zoom; a plain QLabel enlarges its picture smoothly, which blurs it.
class PictureLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The main window's icon at `size` pixels; empty without a main window or icon.
QPixmap mainWindowIcon(const QWidget* mainWindow, int size);

}  // namespace quibbix::desktop
