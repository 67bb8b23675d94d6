#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTest>

#include "platform/qt/SurfaceWidget.h"

namespace platform::qt {
namespace {

// A 6 x 5 'F' (no symmetry, so a flipped or shifted picture shows): 'X' red, '.' blue.
Surface FSurface() {
  const char* rows[] = {"XXXXX.", "X.....", "XXXX..", "X.....", "X....."};
  Surface surface(6, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) surface.At(x, y) = rows[y][x] == 'X' ? 0xFF0000 : 0x0000FF;
  return surface;
}

QRgb Rgb(uint32_t word) {
  return 0xFF000000u | word;
}

TEST(SurfaceWidget, ShowsTheSurfaceTopRowFirstAndBlackBeyondIt) {
  Surface surface = FSurface();
  SurfaceWidget widget;
  widget.resize(8, 7);
  widget.SetSurface(&surface);
  const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(8, 7));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(shown.pixel(x, y), Rgb(surface.At(x, y))) << x << "," << y;
  EXPECT_EQ(shown.pixel(6, 0), Rgb(0));
  EXPECT_EQ(shown.pixel(0, 5), Rgb(0));
  EXPECT_EQ(shown.pixel(7, 6), Rgb(0));
}

TEST(SurfaceWidget, WithoutASurfaceItIsBlack) {
  SurfaceWidget widget;
  widget.resize(4, 4);
  const QImage shown = widget.grab().toImage();
  EXPECT_EQ(shown.pixel(2, 2), Rgb(0));
}

TEST(SurfaceWidget, PresentingPaintsAtOnceAndDoesNotCountAsAnExposure) {
  Surface surface = FSurface();
  SurfaceWidget widget;
  int exposures = 0;
  widget.SetExposedHandler([&] { ++exposures; });
  widget.resize(6, 5);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QTest::qWait(20);
  exposures = 0;
  widget.SetSurface(&surface);
  widget.PresentNow({0, 0, 6, 5});
  widget.PresentNow({2, 2, 40, 40});  // reaching past the widget is cut, not an error
  QCoreApplication::processEvents();
  EXPECT_EQ(exposures, 0);
}

TEST(SurfaceWidget, RepaintsByQtAreReportedOnceFromTheEventLoop) {
  SurfaceWidget widget;
  int exposures = 0;
  widget.SetExposedHandler([&] { ++exposures; });
  widget.resize(6, 5);
  widget.grab();
  widget.grab();
  EXPECT_EQ(exposures, 0);  // never from inside a paint
  QCoreApplication::processEvents();
  EXPECT_EQ(exposures, 1);
}

}  // namespace
}  // namespace platform::qt
