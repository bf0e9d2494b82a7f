#include <gtest/gtest.h>

#include "desktop/placement.h"
#include "desktop/placement_picture.h"

namespace quibbix::desktop {
namespace {

const QSize kWindow(500, 366);
const QSize kScreen(1024, 768);
const QRect kWhole(QPoint(0, 0), kScreen);
const QPoint kCentre(262, 201);

TEST(Placement, StoredTextGivesCornerOrCentre) {
  struct Case {
    const char* text;
    QPoint expected;
  };
  const Case cases[] = {
      {"200,0,1,10,20,510,386", {10, 20}},
      // The window keeps its own size: stored right and bottom are ignored.
      {"200,2,3,10,20,11,21", {10, 20}},
      {"200,0,1,10,20,510,386,", {10, 20}},
      {"200,0,1,-50,-30,450,336", {0, 0}},  // kept reachable at the left and top too
      {"200,0,1,-50,20,450,386", {0, 20}},
      {"200,0,1,600,20,1100,386", {524, 20}},  // right edge beyond the screen
      {"200,0,1,10,500,510,866", {10, 402}},   // bottom edge beyond the screen
      {"200,0,1,900,700,1400,1066", {524, 402}},
      {"200,0,1,524,402,1024,768", {524, 402}},  // touching the edges is on the screen
      {"200,0,1,2147483647,2147483647,0,0", {524, 402}},
      {"", kCentre},
      {",", kCentre},
      {"200,0,1,10,20,510", kCentre},
      {"200,0,1,10,20,510,386,,", kCentre},
      {"200,0,1,10,20,510,386,7", kCentre},
      {"201,0,1,10,20,510,386", kCentre},
      {" 200,0,1,10,20,510,386", kCentre},
      {"200,0,1,x,20,510,386", kCentre},
      {"200,0,1,10,20,510,3a", kCentre},
      {"200,0,1,10,,510,386", kCentre},
      {"200,0,1,10,20,510,99999999999", kCentre},
      {"200,a,1,10,20,510,386", kCentre},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parsePlacement(QString::fromUtf8(c.text), kWindow, kWhole).value_or(kCentre),
              c.expected);
    if (c.expected == kCentre) {
      EXPECT_FALSE(parsePlacement(c.text, kWindow, kWhole));
    }
  }
}

// A place that would put part of the window under a panel, off the screen or
// on a monitor that is gone comes back inside the work area; one that fits is
// kept to the pixel.
TEST(Placement, AStoredPlaceIsKeptInsideTheWorkArea) {
  struct Case {
    const char* what;
    QRect frame;
    QRect area;
    QPoint expected;
  };
  const QRect underTop(0, 30, 1024, 738);   // a panel of 30 along the top
  const QRect overBottom(0, 0, 1024, 742);  // a task bar of 26 along the bottom
  const QRect rightMonitor(1024, 0, 1280, 1024);
  const Case cases[] = {
      {"fits", QRect(100, 200, 502, 387), overBottom, {100, 200}},
      {"touches the task bar", QRect(100, 355, 502, 387), overBottom, {100, 355}},
      {"under the task bar", QRect(100, 381, 502, 387), overBottom, {100, 355}},
      {"off the bottom", QRect(100, 700, 502, 387), overBottom, {100, 355}},
      {"under the top panel", QRect(100, 10, 502, 387), underTop, {100, 30}},
      {"off the left", QRect(-300, 100, 502, 387), underTop, {0, 100}},
      {"off the right", QRect(900, 100, 502, 387), underTop, {522, 100}},
      {"on the right monitor", QRect(1500, 300, 502, 387), rightMonitor, {1500, 300}},
      {"larger than the area", QRect(50, 50, 1100, 900), overBottom, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(keepInside(c.frame, c.area), c.expected);
  }
  EXPECT_EQ(parsePlacement("200,0,1,100,381,602,768", QSize(502, 387), overBottom),
            QPoint(100, 355));
}

TEST(Placement, CentringRoundsTowardZero) {
  EXPECT_EQ(centredPosition(kWindow, kScreen), kCentre);
  EXPECT_EQ(centredPosition(QSize(500, 366), QSize(1023, 767)), QPoint(261, 200));
  // A screen smaller than the window: -99 / 2 is -49, not -50.
  EXPECT_EQ(centredPosition(QSize(500, 366), QSize(401, 301)), QPoint(-49, -32));
}

TEST(Placement, SavedTextRestoresTheCorner) {
  const QRect frame(37, 58, 500, 366);
  const QString text = formatPlacement(frame);
  EXPECT_EQ(text, "200,0,1,37,58,537,424");
  EXPECT_EQ(parsePlacement(text, kWindow, kWhole), QPoint(37, 58));
  EXPECT_EQ(formatPlacement(QRect(-8, -8, 10, 20), 2, 3), "200,2,3,-8,-8,2,12");
}

TEST(Placement, ShowEffectGrowsFromThePointerToTheFrame) {
  const QRect frame(300, 200, 500, 366);
  const auto rects = showEffectRects(QPoint(100, 100), frame);
  EXPECT_EQ(rects.front(), QRect(105, 102, 12, 9));
  EXPECT_EQ(rects[19], QRect(200, 150, 250, 183));
  EXPECT_EQ(rects.back(), frame);
  // A pointer below and right of the window works the same way.
  EXPECT_EQ(showEffectRects(QPoint(900, 700), frame)[19], QRect(600, 450, 250, 183));
}

// The first picture is handed to the server as 32-bit words of 0x00RRGGBB; a window
// whose format differs in any one respect maps plainly instead.
TEST(FirstPicture, OnlyAnExactlyMatchingFormatTakesIt) {
  struct Case {
    const char* what;
    int depth;
    unsigned long red, green, blue;
    int bitsPerPixel;
    bool takes;
  };
  const Case cases[] = {
      {"24-bit TrueColor in 32-bit pixels", 24, 0xff0000, 0xff00, 0xff, 32, true},
      {"24 bits packed in 24-bit pixels", 24, 0xff0000, 0xff00, 0xff, 24, false},
      {"unknown pixel size", 24, 0xff0000, 0xff00, 0xff, 0, false},
      {"blue and red swapped", 24, 0xff, 0xff00, 0xff0000, 32, false},
      {"16-bit colour", 16, 0xf800, 0x7e0, 0x1f, 16, false},
      {"30-bit colour", 30, 0x3ff00000, 0xffc00, 0x3ff, 32, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(desktop::takesRgbWords(c.depth, c.red, c.green, c.blue, c.bitsPerPixel), c.takes)
        << c.what;
}

}  // namespace
}  // namespace quibbix::desktop
