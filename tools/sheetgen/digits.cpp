// White digits on black, and below them their exact negatives, used as the
// masks of the scoreboard's drop shadow. No antialiasing, so both rows stay
// pure black and white.
#include <QFont>
#include <QPainterPath>

#include "art.h"

namespace sheetgen {

QImage makeDigits() {
  constexpr int kW = quibbix::sheets::kDigit.width, kH = quibbix::sheets::kDigit.height;
  QImage img(quibbix::sheets::kDigits.width, quibbix::sheets::kDigits.height, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 0));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setBold(true);
  font.setPixelSize(25);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255));
  for (int d = 0; d < 10; ++d) {
    QPainterPath path;
    path.addText(0, 0, font, QString::number(d));
    const QRectF b = path.boundingRect();
    p.drawPath(path.translated(kW * d + kW / 2.0 - b.center().x(), kH / 2.0 - b.center().y()));
  }
  p.end();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < img.width(); ++x)
      img.setPixel(x, y + kH,
                   img.pixel(x, y) == qRgb(255, 255, 255) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return img;
}

}  // namespace sheetgen
