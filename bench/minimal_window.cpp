// The reference for start-up time and memory: the smallest Qt Widgets program
// that shows a window of the game's size, started the same way as the game.
// Its fill colour is what the start-up probe waits for on the screen.
#include <QApplication>
#include <QPalette>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(0x20, 0x60, 0xa0));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  window.setFixedSize(500, 366);
  window.show();
  return QApplication::exec();
}
