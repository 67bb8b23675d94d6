#include "lumavex/shell/ProgressBar.h"

#include <gtest/gtest.h>

#include "platform/TestHost.h"

namespace lumavex {
namespace {

// The columns of the bar's top row that are inverted (non-black).
std::string BarRow(const platform::Surface& s) {
  std::string row;
  for (int x = 0; x < s.Width(); ++x) row += s.At(x, 0) ? '#' : '.';
  return row;
}

TEST(ProgressBar, SegmentsAreBetween256And511ForLargeTotals) {
  platform::TestHost host;
  platform::Surface surface(1024, 20);
  ProgressBar bar(surface, host);
  struct Case { uint64_t total; int shift; uint64_t segments; };
  for (Case c : {Case{256, 0, 256}, Case{511, 0, 511}, Case{512, 1, 256}, Case{1000, 1, 500},
                 Case{1920000, 12, 468}, Case{100, 0, 100}, Case{1, 0, 1}, Case{0, 0, 0}}) {
    bar.ProgressStart(c.total);
    EXPECT_EQ(bar.Shift(), c.shift) << c.total;
    EXPECT_EQ(bar.Segments(), c.segments) << c.total;
  }
}

TEST(ProgressBar, InvertsTheRemainderAtOnceAndOneSegmentPerStepGroup) {
  platform::TestHost host;
  platform::Surface surface(11, 12);
  surface.Fill(surface.Bounds(), 0x123456);
  ProgressBar bar(surface, host);
  bar.ProgressStart(5);  // five segments of 2 pixels; the 11th column is the remainder
  EXPECT_EQ(BarRow(surface), "..........#");
  EXPECT_EQ(surface.At(0, 8), 0x123456u);  // only 8 rows high
  bar.ProgressStep();
  bar.ProgressStep();
  EXPECT_EQ(BarRow(surface), "####......#");
  for (int i = 0; i < 10; ++i) bar.ProgressStep();  // steps past the total change nothing
  EXPECT_EQ(BarRow(surface), "###########");
  bar.ProgressEnd();
  EXPECT_EQ(BarRow(surface), "...........");
  EXPECT_EQ(host.presented.back(), (platform::Rect{0, 0, 11, 8}));
}

TEST(ProgressBar, LargeTotalsAdvanceOneSegmentPerPowerOfTwoUnits) {
  platform::TestHost host;
  platform::Surface surface(500, 10);
  ProgressBar bar(surface, host);
  bar.ProgressStart(1000);  // 500 segments of 1 pixel, 2 units each
  bar.ProgressStep();
  EXPECT_EQ(surface.At(0, 0), 0u);
  bar.ProgressStep();
  EXPECT_NE(surface.At(0, 0), 0u);
  EXPECT_EQ(surface.At(1, 0), 0u);
}

}  // namespace
}  // namespace lumavex
