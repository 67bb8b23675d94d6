#include "lumavex/files/LoadSize.h"

#include <gtest/gtest.h>

namespace lumavex {
namespace {

constexpr PictureSize kView{1200, 900};
constexpr PictureSize kGiven{640, 480};

TEST(LoadSizeTest, ReduceToViewShrinksOnlyLargerPictures) {
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToView, {2400, 1200}, kView, kGiven).target,
            (PictureSize{1200, 600}));
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToView, {2400, 1200}, kView, kGiven).resize,
            LoadResize::Reduce);
  // Only the height is too large: the height decides.
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToView, {1000, 1800}, kView, kGiven).target,
            (PictureSize{500, 900}));
  const LoadSizePlan small = PlanLoadSize(LoadSizePolicy::ReduceToView, {1200, 900}, kView, kGiven);
  EXPECT_EQ(small.resize, LoadResize::None);
  EXPECT_EQ(small.target, (PictureSize{1200, 900}));
}

TEST(LoadSizeTest, FitToViewEnlargesSmallerPicturesEvenAtTheirOwnSize) {
  const LoadSizePlan same = PlanLoadSize(LoadSizePolicy::FitToView, {1200, 900}, kView, kGiven);
  EXPECT_EQ(same.resize, LoadResize::Enlarge);
  EXPECT_EQ(same.target, (PictureSize{1200, 900}));
  const LoadSizePlan up = PlanLoadSize(LoadSizePolicy::FitToView, {300, 300}, kView, kGiven);
  EXPECT_EQ(up.resize, LoadResize::Enlarge);
  EXPECT_EQ(up.target, (PictureSize{900, 900}));
  const LoadSizePlan down = PlanLoadSize(LoadSizePolicy::FitToView, {4000, 1000}, kView, kGiven);
  EXPECT_EQ(down.resize, LoadResize::Reduce);
  EXPECT_EQ(down.target, (PictureSize{1200, 300}));
}

TEST(LoadSizeTest, GivenSizeAndSameSize) {
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToGiven, {1280, 1280}, kView, kGiven).target,
            (PictureSize{480, 480}));
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToGiven, {640, 480}, kView, kGiven).resize,
            LoadResize::None);
  const LoadSizePlan same = PlanLoadSize(LoadSizePolicy::SameSize, {9000, 7}, kView, kGiven);
  EXPECT_EQ(same.resize, LoadResize::None);
  EXPECT_EQ(same.target, (PictureSize{9000, 7}));
}

TEST(LoadSizeTest, FittedSidesNeverFallBelowTwo) {
  // 30000 × 2 into 100 wide would be 100 × 0.
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToGiven, {30000, 2}, kView, {100, 100}).target,
            (PictureSize{100, 2}));
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::ReduceToView, {30000, 2}, kView, kGiven).target,
            (PictureSize{1200, 2}));
  // A view squeezed to nothing still gives a picture.
  EXPECT_EQ(PlanLoadSize(LoadSizePolicy::FitToView, {50, 50}, ViewSizeForClient(41, 0), kGiven)
                .target,
            (PictureSize{2, 2}));
}

TEST(LoadSizeTest, FitIntoBoxUses64BitProducts) {
  EXPECT_EQ(FitIntoBox({30000, 29999}, {30000, 30000}), (PictureSize{30000, 29999}));
  EXPECT_EQ(FitIntoBox({2400, 1200}, {1200, 900}), (PictureSize{1200, 600}));
}

TEST(LoadSizeTest, ViewAndEnlargementCorners) {
  EXPECT_EQ(ViewSizeForClient(1241, 900), kView);
  const auto corners = EnlargementCorners({100, 50}, {200, 100});
  EXPECT_DOUBLE_EQ(corners[0].x, -2.0);
  EXPECT_DOUBLE_EQ(corners[0].y, -2.0);
  EXPECT_DOUBLE_EQ(corners[2].x, 201.0);
  EXPECT_DOUBLE_EQ(corners[2].y, 101.0);
  EXPECT_DOUBLE_EQ(corners[3].x, -2.0);
  EXPECT_STREQ(PolicyChosenStatus(LoadSizePolicy::FitToView), "★ビューサイズに拡縮");
}

}  // namespace
}  // namespace lumavex
