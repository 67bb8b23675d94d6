#include "lumavex/paint/FreeFormPaste.h"

#include <algorithm>
#include <cmath>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {
namespace {

constexpr double kBorderTolerance = 0.001;

double Cross(const Sample& a, const Sample& b) { return a.x * b.y - a.y * b.x; }
Sample Minus(const Sample& a, const Sample& b) { return {a.x - b.x, a.y - b.y}; }

bool Fraction(double t) { return t >= -kBorderTolerance && t <= 1 + kBorderTolerance; }

// The source colour at (sx, sy): the four pixels around it weighted by closeness,
// only those of the drawing area counting. False when none counts.
bool SampleAt(const PixelPlane& source, double sx, double sy, uint32_t& word) {
  const int x0 = PixelIndex(std::floor(sx)), y0 = PixelIndex(std::floor(sy));
  const double fx = sx - x0, fy = sy - y0;
  double sum[3] = {0, 0, 0}, weightSum = 0;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const int x = x0 + i, y = y0 + j;
      const double weight = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
      if (x < 0 || y < 0 || x >= source.Width() || y >= source.Height() || weight <= 0) continue;
      const uint32_t pixel = source.At(x, y);
      if (!(pixel & kDrawAreaFlag)) continue;
      for (int c = 0; c < 3; ++c) sum[c] += weight * Channel(pixel, 16 - 8 * c);
      weightSum += weight;
    }
  if (weightSum <= 0) return false;
  word = kDrawAreaFlag;
  for (int c = 0; c < 3; ++c)
    word |= static_cast<uint32_t>(std::min(255.0, sum[c] / weightSum + 0.5)) << (16 - 8 * c);
  return true;
}

}  // namespace

bool InverseBilinear(const PasteCorners& q, const Sample& p, double& u, double& v) {
  // p = A + u (B - A) + v (D - A) + u v (A - B + C - D), solved for u and v.
  const Sample e = Minus(q[1], q[0]), f = Minus(q[3], q[0]);
  const Sample g = {q[0].x - q[1].x + q[2].x - q[3].x, q[0].y - q[1].y + q[2].y - q[3].y};
  const Sample h = Minus(p, q[0]);
  const double k2 = Cross(g, f), k1 = Cross(e, f) + Cross(h, g), k0 = Cross(h, e);
  if (k2 == 0) {
    if (k1 == 0) return false;
    v = -k0 / k1;
  } else {
    // k2 v² + k1 v + k0 = 0, solved without cancellation: for a near-parallelogram
    // k2 is only rounding noise and the root k0 / q is the one that matters.
    const double disc = k1 * k1 - 4 * k0 * k2;
    if (disc < 0) return false;
    const double q = -0.5 * (k1 + std::copysign(std::sqrt(disc), k1));
    const double near = q != 0 ? k0 / q : -k1 / (2 * k2);
    v = Fraction(near) ? near : q / k2;
  }
  const double dx = e.x + g.x * v, dy = e.y + g.y * v;
  u = std::fabs(dx) > std::fabs(dy) ? (h.x - f.x * v) / dx : (h.y - f.y * v) / dy;
  return Fraction(u) && Fraction(v);
}

PixelRect QuadrilateralBox(const PasteCorners& q) {
  double minX = q[0].x, maxX = q[0].x, minY = q[0].y, maxY = q[0].y;
  for (const Sample& c : q) {
    minX = std::min(minX, c.x), maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
  }
  return {PixelIndex(std::floor(minX)), PixelIndex(std::floor(minY)), PixelIndex(std::ceil(maxX)),
          PixelIndex(std::ceil(maxY))};
}

void PasteIntoQuadrilateral(const PixelPlane& source, const PasteCorners& q, PixelPlane& target) {
  const double spanX = source.Width() - 1, spanY = source.Height() - 1;
  const PixelRect whole{0, 0, target.Width() - 1, target.Height() - 1};
  ForEachQuadrilateralPixel(
      q, whole,
      [&](int x, int y, double u, double v) {
        uint32_t word = 0;
        if (SampleAt(source, u * spanX, v * spanY, word)) {
          uint32_t& pixel = target.At(x, y);
          pixel = (pixel & ~kColourMask) | word;
        }
      },
      [](int) {});
}

}  // namespace lumavex
