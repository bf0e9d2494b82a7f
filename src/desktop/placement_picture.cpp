#include "desktop/placement_picture.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <thread>

#include "desktop/placement_x11.h"

namespace {
// X11 has a macro of this name.
constexpr QEvent::Type kExposeEvent = QEvent::Expose;
}  // namespace

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quibbix::desktop {

namespace {

// Longer than a window manager takes to frame and map a window on a busy
// machine; after that the program goes on regardless.
constexpr std::chrono::milliseconds kMappingTime{100};

// Once Qt has painted the window for real, exposures go back to Qt alone: a
// kept background would flash the start-up picture wherever the window is
// uncovered later.
class DropBackgroundAfterFirstPaint : public QObject {
 public:
  DropBackgroundAfterFirstPaint(QWindow* window, Display* display, Window id)
      : QObject(window), display_(display), id_(id) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Qt paints and flushes an exposed window while handling the event, so
    // the next turn of the event loop comes after the first real picture.
    if (event->type() == kExposeEvent && static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        XSetWindowBackgroundPixmap(display_, id_, 0L);
        XFlush(display_);
        deleteLater();
      });
    }
    return false;
  }

 private:
  Display* display_;
  Window id_;
};

}  // namespace

bool takesRgbWords(int depth, unsigned long redMask, unsigned long greenMask,
                   unsigned long blueMask, int bitsPerPixel) {
  return depth == 24 && redMask == 0xff0000 && greenMask == 0xff00 && blueMask == 0xff &&
         bitsPerPixel == 32;
}

void paintBeforeMapping(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isWindow()) return;
  const auto id = static_cast<Window>(window.winId());
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, id, &attributes) || attributes.visual == nullptr) return;
  const Visual* visual = attributes.visual;
  // The server stores a depth in pixels of its own size; only 32 bits a pixel
  // hold the words unchanged. Anything else keeps the plain showing.
  int bitsPerPixel = 0;
  int formats = 0;
  if (XPixmapFormatValues* list = XListPixmapFormats(d, &formats)) {
    for (int i = 0; i < formats; ++i)
      if (list[i].depth == attributes.depth) bitsPerPixel = list[i].bits_per_pixel;
    XFree(list);
  }
  if (!takesRgbWords(attributes.depth, visual->red_mask, visual->green_mask, visual->blue_mask,
                     bitsPerPixel))
    return;
  QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (picture.width() != attributes.width || picture.height() != attributes.height) return;

  XImage* image =
      XCreateImage(d, attributes.visual, 24, ZPixmap, 0, reinterpret_cast<char*>(picture.bits()),
                   static_cast<unsigned>(picture.width()), static_cast<unsigned>(picture.height()),
                   32, static_cast<int>(picture.bytesPerLine()));
  if (image == nullptr) return;
  // The words are in this machine's order; Xlib turns them round for a server
  // of the other kind.
  image->byte_order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? LSBFirst : MSBFirst;
  const Pixmap pixmap = XCreatePixmap(d, id, static_cast<unsigned>(picture.width()),
                                      static_cast<unsigned>(picture.height()), 24);
  GC gc = XCreateGC(d, pixmap, 0, nullptr);
  XPutImage(d, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(picture.width()),
            static_cast<unsigned>(picture.height()));
  XFreeGC(d, gc);
  XSetWindowBackgroundPixmap(d, id, pixmap);
  // The window holds on to the pixmap as long as it is its background.
  XFreePixmap(d, pixmap);
  image->data = nullptr;  // the pixels belong to `picture`
  XDestroyImage(image);
  XFlush(d);

  if (QWindow* handle = window.windowHandle()) new DropBackgroundAfterFirstPaint(handle, d, id);
}

void waitUntilMapped(QWidget& window) {
  Display* d = x11Display();
  if (d == nullptr || !window.isWindow() || !window.testAttribute(Qt::WA_WState_Created)) return;
  const auto id = static_cast<Window>(window.winId());
  const auto end = std::chrono::steady_clock::now() + kMappingTime;
  XWindowAttributes attributes;
  while (XGetWindowAttributes(d, id, &attributes) && attributes.map_state != IsViewable &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

}  // namespace quibbix::desktop
