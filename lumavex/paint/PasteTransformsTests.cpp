#include <gtest/gtest.h>

#include "lumavex/paint/PasteTransforms.h"

namespace lumavex {
namespace {

// Three cross lines: curve 1 at y = 0, the middle at y = 5, curve 2 at y = 10.
PasteCurves Band() {
  return {{{0, 0}, {10, 0}, {20, 0}}, {{0, 5}, {10, 5}, {20, 5}}, {{0, 10}, {10, 10}, {20, 10}}};
}

void ExpectPoint(Sample p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(PasteTransforms, WholeBandToolsMoveScaleAndRotateAboutTheCentre) {
  PasteCurves c = Band();
  ApplyPasteTransform(c, PasteTransform::Move, {}, {3, 3}, {5, 4});
  ExpectPoint(c.curve1[0], 2, 1);
  ExpectPoint(c.curve2[2], 22, 11);

  c = Band();  // centre (10, 5)
  ApplyPasteTransform(c, PasteTransform::Scale, {}, {14, 5}, {18, 5});
  ExpectPoint(c.curve1[0], -10, -5);
  ExpectPoint(c.middle[1], 10, 5);

  c = Band();
  ApplyPasteTransform(c, PasteTransform::Rotate, {}, {20, 5}, {10, 15});  // a quarter turn
  ExpectPoint(c.curve1[0], 15, -5);
  ExpectPoint(c.curve2[2], 5, 15);
}

TEST(PasteTransforms, PointToolsActOnThePickedPointOrCrossLines) {
  PasteCurves c = Band();
  const PastePoint picked = NearestPastePoint(c, {19, 9}, 2);
  EXPECT_EQ(picked.curve, 2);
  EXPECT_EQ(picked.index, 2);
  EXPECT_FALSE(NearestPastePoint(c, {15, 2.5}, 2));

  ApplyPasteTransform(c, PasteTransform::FreeDeformation, picked, {0, 0}, {1, 2});
  ExpectPoint(c.curve2[2], 21, 12);
  ExpectPoint(c.curve1[2], 20, 0);

  c = Band();
  ApplyPasteTransform(c, PasteTransform::TwoPointMove, {0, 1}, {0, 0}, {0, 3});
  ExpectPoint(c.curve1[1], 10, 3);
  ExpectPoint(c.curve2[1], 10, 13);
  ExpectPoint(c.curve1[0], 0, 0);

  c = Band();  // at the last line the four points are the last two lines
  ApplyPasteTransform(c, PasteTransform::FourPointMove, {1, 2}, {0, 0}, {1, 0});
  ExpectPoint(c.middle[1], 11, 5);
  ExpectPoint(c.middle[2], 21, 5);
  ExpectPoint(c.middle[0], 0, 5);

  c = Band();  // line 0 about (0, 5): twice as wide
  ApplyPasteTransform(c, PasteTransform::TwoPointScale, {0, 0}, {0, 7}, {0, 9});
  ExpectPoint(c.curve1[0], 0, -5);
  ExpectPoint(c.curve2[0], 0, 15);
  ExpectPoint(c.curve2[1], 10, 10);

  c = Band();  // lines 0 and 1 about (5, 5)
  ApplyPasteTransform(c, PasteTransform::FourPointScale, {0, 0}, {6, 5}, {7, 5});
  ExpectPoint(c.curve1[0], -5, -5);
  ExpectPoint(c.curve1[1], 15, -5);
  ExpectPoint(c.curve1[2], 20, 0);

  c = Band();  // without a picked point the point tools do nothing
  ApplyPasteTransform(c, PasteTransform::TwoPointMove, {}, {0, 0}, {5, 5});
  ExpectPoint(c.curve1[1], 10, 0);
}

}  // namespace
}  // namespace lumavex
