#include "lumavex/shell/ScreenBuffer.h"

#include <gtest/gtest.h>

#include <random>

#include "lumavex/canvas/PixelPlane.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

// A 37 × 23 layer whose every pixel tells its own position.
class ScreenBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(layer.Create(allocator, 37, 23, 4));
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x) layer.At(x, y) = 0x01000000u | (x << 8) | y;
  }

  // The slow obvious view: what the screen pixel (vx, vy) must show, with the light
  // factors of the placement multiplied in one pixel at a time.
  uint32_t Expected(const ViewPlacement& p, int vx, int vy) const {
    const int n = Magnification(p.zoomCode), f = ReductionFactor(p.zoomCode);
    const long cx = p.positionX + (n > 1 ? vx / n : long{vx} * f);
    const long cy = p.positionY + (n > 1 ? vy / n : long{vy} * f);
    const PixelPlane& shown = *p.layer;
    if (cx < 0 || cy < 0 || cx >= shown.Width() || cy >= shown.Height()) return 0;
    const uint32_t pixel = shown.At(static_cast<int>(cx), static_cast<int>(cy));
    if (!p.light) return pixel;
    return ApplyLightFactor(pixel, p.light->At(static_cast<int>(cx), static_cast<int>(cy)));
  }

  void ExpectShows(const ScreenBuffer& buffer, const ViewPlacement& p) {
    platform::Surface surface(buffer.Width() + 5, buffer.Height());
    const auto parts = buffer.CopyTo(surface);
    EXPECT_LE(parts.size(), 4u);
    for (int y = 0; y < buffer.Height(); ++y)
      for (int x = 0; x < buffer.Width(); ++x)
        ASSERT_EQ(surface.At(x, y), Expected(p, x, y))
            << "zoom " << p.zoomCode << " at " << x << "," << y << " pos " << p.positionX << ","
            << p.positionY;
  }

  platform::TestHost host;
  platform::Allocator allocator{host, [] {
    platform::MemoryStatus m;
    m.availablePageFile = 1ull << 40;
    return m;
  }};
  PixelPlane layer;
};

TEST_F(ScreenBufferTest, ComposedViewEqualsTheLayerAtEveryZoom) {
  ScreenBuffer buffer;
  buffer.Resize(61, 29);
  for (int code : kZoomCodes)
    for (int px : {-7, 0, 5})
      for (int py : {-3, 0, 4}) {
        ViewPlacement p{&layer, code, px, py};
        buffer.Update(p);
        ExpectShows(buffer, p);
      }
}

TEST_F(ScreenBufferTest, ScrollingRecomposesOnlyTheExposedBands) {
  ScreenBuffer buffer;
  buffer.Resize(60, 40);
  ViewPlacement p{&layer, 20, 0, 0};
  EXPECT_EQ(buffer.Update(p), 60u * 40u);
  p.positionX = 1;  // one canvas pixel at 2000 % is a 20-pixel band
  EXPECT_EQ(buffer.Update(p), 20u * 40u);
  ExpectShows(buffer, p);
  p.positionY = -1;
  EXPECT_EQ(buffer.Update(p), 20u * 60u);
  ExpectShows(buffer, p);

  // Many small scrolls in both directions keep the torus consistent.
  p.zoomCode = 1;
  buffer.Update(p);
  for (int step = 0; step < 50; ++step) {
    p.positionX += (step % 7) - 3;
    p.positionY += (step % 5) - 2;
    EXPECT_LE(buffer.Update(p), 60u * 7 + 40u * 7);
    ExpectShows(buffer, p);
  }
}

TEST_F(ScreenBufferTest, ReducedScrollsOffTheSampleGridRecomposeEverything) {
  ScreenBuffer buffer;
  buffer.Resize(20, 10);
  ViewPlacement p{&layer, 200, 0, 0};
  buffer.Update(p);
  p.positionX = 2;
  EXPECT_EQ(buffer.Update(p), 1u * 10u);
  p.positionX = 3;
  EXPECT_EQ(buffer.Update(p), 20u * 10u);
  ExpectShows(buffer, p);
}

TEST_F(ScreenBufferTest, DirtyRectanglesAndLayerChangesAreRecomposed) {
  ScreenBuffer buffer;
  buffer.Resize(30, 20);
  ViewPlacement p{&layer, 1, 0, 0};
  buffer.Update(p);
  layer.At(3, 4) = 0xABCDEF;
  buffer.Update(p);
  EXPECT_NE(buffer.At(3, 4), 0xABCDEFu);  // not told: the buffer keeps its pixels
  EXPECT_EQ(buffer.Update(p, {3, 4, 4, 5}), 1u);
  EXPECT_EQ(buffer.At(3, 4), 0xABCDEFu);
  PixelPlane other;
  ASSERT_TRUE(other.Create(allocator, 2, 2, 4));
  other.At(0, 0) = 7;
  EXPECT_EQ(buffer.Update({&other, 1, 0, 0}), 30u * 20u);  // another layer: everything
  EXPECT_EQ(buffer.At(0, 0), 7u);
}

// Random pixels under random factors: the lit view at every zoom, and after the scrolls
// and dirty rectangles that compose parts of it next to the wrap of the buffer.
TEST_F(ScreenBufferTest, LightFactorsAreMultipliedIntoTheViewAtEveryZoom) {
  std::mt19937 random(7);
  PixelPlane pixels, light;
  ASSERT_TRUE(pixels.Create(allocator, 37, 23, 4));
  ASSERT_TRUE(light.Create(allocator, 37, 23, 4));
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      pixels.At(x, y) = random();
      light.At(x, y) = random();
    }
  ScreenBuffer buffer;
  buffer.Resize(61, 29);
  for (int code : kZoomCodes)
    for (int px : {-7, 0, 5})
      for (int py : {-3, 0, 4}) {
        ViewPlacement p{&pixels, code, px, py, &light};
        buffer.Update(p);
        ExpectShows(buffer, p);
      }
  for (int code : {1, 2, 200}) {
    ViewPlacement p{&pixels, code, 0, 0, &light};
    buffer.Update(p);
    for (int step = 0; step < 30; ++step) {
      p.positionX += ((step % 7) - 3) * ReductionFactor(code);
      p.positionY += ((step % 5) - 2) * ReductionFactor(code);
      buffer.Update(p, {step, step / 2, step + 9, step / 2 + 4});
      ExpectShows(buffer, p);
    }
  }
  // Factors of another size are not shown.
  PixelPlane small;
  ASSERT_TRUE(small.Create(allocator, 36, 23, 4));
  ViewPlacement p{&pixels, 1, 0, 0, &small};
  buffer.Update(p);
  p.light = nullptr;
  ExpectShows(buffer, p);
}

}  // namespace
}  // namespace lumavex
