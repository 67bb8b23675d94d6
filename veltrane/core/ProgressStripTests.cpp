#include <gtest/gtest.h>

#include "platform/TestHost.h"
#include "veltrane/core/ProgressStrip.h"

namespace veltrane {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// The strip as one character per pixel of its top row: '#' black, '.' white.
std::string StripRow(const platform::Surface& surface) {
  std::string row;
  for (int x = 0; x < surface.Width(); ++x) row += surface.At(x, 0) == 0 ? '#' : '.';
  return row;
}

class ProgressStripTest : public ::testing::Test {
 protected:
  platform::TestHost host;
  platform::Surface surface{20, 12};
  ProgressStrip strip{surface, host};
  void SetUp() override { surface.Fill(surface.Bounds(), kWhite); }
};

TEST_F(ProgressStripTest, SegmentsTurnWhiteOneItemLateAndTheRestAtOnce) {
  strip.Begin(3);  // 3 segments of 6 pixels, 2 pixels left over
  EXPECT_EQ(StripRow(surface), "##################..");
  strip.BeforeItem();
  EXPECT_EQ(StripRow(surface), "##################..");
  strip.BeforeItem();
  EXPECT_EQ(StripRow(surface), "......############..");
  strip.BeforeItem();
  EXPECT_EQ(StripRow(surface), "............######..");
  for (int y = 0; y < ProgressStrip::kHeight; ++y) EXPECT_EQ(surface.At(0, y), kWhite);
  EXPECT_EQ(surface.At(0, ProgressStrip::kHeight), kWhite);  // below the strip: untouched
  strip.End();
  EXPECT_EQ(StripRow(surface), std::string(20, '#'));
  EXPECT_EQ(host.presented.back(), (platform::Rect{0, 0, 20, 8}));
}

TEST_F(ProgressStripTest, LargeRunsAdvanceOnceEvery2PowerCItems) {
  platform::Surface wide(800, 10);
  ProgressStrip big(wide, host);
  big.Begin(600);  // highest bit 9: c = 1, 300 segments of 2 pixels
  EXPECT_EQ(wide.At(599, 0), 0u);
  EXPECT_EQ(wide.At(600, 0), kWhite);
  for (int i = 0; i < 5; ++i) big.BeforeItem();  // done counts 0..4: bit 1 changes at 2 and 4
  EXPECT_EQ(wide.At(3, 0), kWhite);
  EXPECT_EQ(wide.At(4, 0), 0u);
}

TEST_F(ProgressStripTest, EmptyRunOnlyBlackensTheStrip) {
  strip.Begin(0);
  strip.BeforeItem();
  EXPECT_EQ(StripRow(surface), std::string(20, '#'));
}

}  // namespace
}  // namespace veltrane
