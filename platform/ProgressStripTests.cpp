#include <gtest/gtest.h>

#include "platform/ProgressStrip.h"
#include "platform/TestHost.h"

namespace platform {
namespace {

// The strip's top row, one character per pixel: '#' lit (not black), '.' black.
std::string BarRow(const Surface& s) {
  std::string row;
  for (int x = 0; x < s.Width(); ++x) row += s.At(x, 0) ? '#' : '.';
  return row;
}

TEST(ProgressStrip, SegmentsAreBetween256And511ForLargeTotals) {
  TestHost host;
  Surface surface(1024, 20);
  ProgressStrip bar(surface, host);
  struct Case {
    uint64_t total;
    int shift;
    uint64_t segments;
  };
  for (Case c : {Case{256, 0, 256}, Case{511, 0, 511}, Case{512, 1, 256}, Case{1000, 1, 500},
                 Case{1920000, 12, 468}, Case{100, 0, 100}, Case{1, 0, 1}, Case{0, 0, 0}}) {
    bar.ProgressStart(c.total);
    EXPECT_EQ(bar.Shift(), c.shift) << c.total;
    EXPECT_EQ(bar.Segments(), c.segments) << c.total;
  }
}

TEST(ProgressStrip, InvertsTheRemainderAtOnceAndOneSegmentPerStepGroup) {
  TestHost host;
  Surface surface(11, 12);
  surface.Fill(surface.Bounds(), 0x123456);
  ProgressStrip bar(surface, host);
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
  EXPECT_EQ(host.presented.back(), (Rect{0, 0, 11, 8}));
}

TEST(ProgressStrip, LargeTotalsAdvanceOneSegmentPerPowerOfTwoUnits) {
  TestHost host;
  Surface surface(500, 10);
  ProgressStrip bar(surface, host);
  bar.ProgressStart(1000);  // 500 segments of 1 pixel, 2 units each
  bar.ProgressStep();
  EXPECT_EQ(surface.At(0, 0), 0u);
  bar.ProgressStep();
  EXPECT_NE(surface.At(0, 0), 0u);
  EXPECT_EQ(surface.At(1, 0), 0u);
}

constexpr uint32_t kWhite = 0xFFFFFF;

class BeforeItemTest : public ::testing::Test {
 protected:
  TestHost host;
  Surface surface{20, 12};
  ProgressStrip strip{surface, host};
  void SetUp() override { surface.Fill(surface.Bounds(), kWhite); }
};

TEST_F(BeforeItemTest, SegmentsTurnWhiteOneItemLateAndTheRestAtOnce) {
  strip.ProgressStart(3);  // 3 segments of 6 pixels, 2 pixels left over
  EXPECT_EQ(BarRow(surface), "..................##");
  strip.BeforeItem();
  EXPECT_EQ(BarRow(surface), "..................##");
  strip.BeforeItem();
  EXPECT_EQ(BarRow(surface), "######............##");
  strip.BeforeItem();
  EXPECT_EQ(BarRow(surface), "############......##");
  for (int y = 0; y < ProgressStrip::kHeight; ++y) EXPECT_EQ(surface.At(0, y), kWhite);
  EXPECT_EQ(surface.At(0, ProgressStrip::kHeight), kWhite);  // below the strip: untouched
  strip.ProgressEnd();
  EXPECT_EQ(BarRow(surface), std::string(20, '.'));
  EXPECT_EQ(host.presented.back(), (Rect{0, 0, 20, 8}));
}

TEST_F(BeforeItemTest, LargeRunsAdvanceOnceEvery2PowerCItems) {
  Surface wide(800, 10);
  ProgressStrip big(wide, host);
  big.ProgressStart(600);  // highest bit 9: c = 1, 300 segments of 2 pixels
  EXPECT_EQ(wide.At(599, 0), 0u);
  EXPECT_EQ(wide.At(600, 0), kWhite);
  for (int i = 0; i < 5; ++i) big.BeforeItem();  // done counts 0..4: bit 1 changes at 2 and 4
  EXPECT_EQ(wide.At(3, 0), kWhite);
  EXPECT_EQ(wide.At(4, 0), 0u);
}

TEST_F(BeforeItemTest, EmptyRunOnlyBlackensTheStrip) {
  strip.ProgressStart(0);
  strip.BeforeItem();
  EXPECT_EQ(BarRow(surface), std::string(20, '.'));
}

}  // namespace
}  // namespace platform
