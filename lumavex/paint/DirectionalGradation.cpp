#include "lumavex/paint/DirectionalGradation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/Pens.h"

namespace lumavex {
namespace {

// More samples on each side than a pixel of a 30000-pixel picture can use.
constexpr double kMaxSide = 1 << 24;

struct Cell {
  int x0, y0, x1, y1;
  double fx, fy;
};

// The cell of q: its top-left pixel floor(q), the pixel right and below (held in
// the picture where q lies on its last column or row) and q's place in it.
std::optional<Cell> CellOf(const Canvas& canvas, double qx, double qy) {
  if (!(qx >= 0 && qy >= 0 && qx <= canvas.Width() - 1 && qy <= canvas.Height() - 1))
    return std::nullopt;
  const int x0 = static_cast<int>(qx), y0 = static_cast<int>(qy);
  return Cell{
      x0,      y0,     std::min(x0 + 1, canvas.Width() - 1), std::min(y0 + 1, canvas.Height() - 1),
      qx - x0, qy - y0};
}

uint32_t BitmapAt(const Canvas& canvas, int x, int y) {
  const uint32_t frame = canvas.frame.At(x, y);
  return Unblend(canvas.display.At(x, y), frame, Opacity(frame));
}

struct ColourSums {
  int64_t channel[3] = {};
  int64_t count = 0;
};

// Adds the bilinear colour at the cell's point; false when a pixel of the cell is
// not selected.
bool AddBilinear(const Canvas& canvas, const Cell& c, ColourSums& sums) {
  const int xs[4] = {c.x0, c.x1, c.x0, c.x1}, ys[4] = {c.y0, c.y0, c.y1, c.y1};
  const double w[4] = {(1 - c.fx) * (1 - c.fy), c.fx * (1 - c.fy), (1 - c.fx) * c.fy, c.fx * c.fy};
  uint32_t colours[4];
  for (int i = 0; i < 4; ++i) {
    if (canvas.display.At(xs[i], ys[i]) & kNonSelectedFlag) return false;
    colours[i] = BitmapAt(canvas, xs[i], ys[i]);
  }
  for (int ch = 0; ch < 3; ++ch) {
    double v = 0;
    for (int i = 0; i < 4; ++i) v += w[i] * Channel(colours[i], 16 - 8 * ch);
    sums.channel[ch] += static_cast<int64_t>(v + 0.5);
  }
  ++sums.count;
  return true;
}

Sample Minus(Sample p, Sample q) {
  return {p.x - q.x, p.y - q.y};
}

}  // namespace

DirectionSteps StepsOf(Sample v, double spacing) {
  const double length = std::hypot(v.x, v.y);
  if (!(length >= 1)) return {};
  return {static_cast<int>(std::min(length, kMaxSide)),
          {v.x / length * spacing, v.y / length * spacing}};
}

std::optional<uint32_t> DirectionalAverage(const Canvas& canvas, int x, int y, int k, Sample u) {
  ColourSums sums;
  for (int j = 0; j <= 2 * k; ++j) {
    const double qx = x - k * u.x + j * u.x, qy = y - k * u.y + j * u.y;
    if (const auto cell = CellOf(canvas, qx, qy)) AddBilinear(canvas, *cell, sums);
  }
  if (sums.count == 0) return std::nullopt;
  uint32_t colour = 0;
  for (int ch = 0; ch < 3; ++ch)
    colour |= static_cast<uint32_t>(sums.channel[ch] / sums.count) << (16 - 8 * ch);
  return colour;
}

std::vector<Sample> InitialDirectionPoints(std::span<const Sample> curve1,
                                           std::span<const Sample> curve2) {
  std::vector<Sample> points;
  const size_t count = std::min(curve1.size(), curve2.size());
  for (size_t j = 0; j < count; ++j)
    points.push_back({curve1[j].x + (curve2[j].x - curve1[j].x) / 3,
                      curve1[j].y + (curve2[j].y - curve1[j].y) / 3});
  return points;
}

QuadCheck DrawDirectionalGradation(DrawingContext& context, std::span<const Sample> curve1,
                                   std::span<const Sample> curve2,
                                   std::span<const Sample> direction, platform::Progress& progress,
                                   QuadScan scan) {
  const DrawingSettings& settings = context.Settings();
  const BandSamples band = SampleBand(BandShape::Spline, curve1, curve2, settings.pointSpacing);
  if (band.check != QuadCheck::Accepted) {
    context.SetStatusText(QuadCheckMessage(band.check));
    return band.check;
  }
  const int n = band.Count();
  const std::vector<Sample> e = SplineSamples(direction, n);
  if (n < 3 || static_cast<int>(e.size()) != n) return QuadCheck::Accepted;
  Canvas& canvas = context.Picture();
  const PixelRect area = PaintArea(canvas);
  const double spacing = settings.pointSpacing / 100.0;
  PixelRect boxes;
  QuadCheck check = QuadCheck::Accepted;
  progress.ProgressStart(static_cast<uint64_t>(n - 1));
  for (int i = 0; i + 1 < n && check == QuadCheck::Accepted; ++i) {
    const Sample a = band.a[i], b = band.b[i], c = band.b[i + 1], d = band.a[i + 1];
    check = CheckSurfaceQuad(a, b, c, d);
    if (check == QuadCheck::Accepted) {
      const Sample va = Minus(a, e[i]), vd = Minus(d, e[i + 1]);
      const DirectionSteps steps = StepsOf({(va.x + vd.x) / 2, (va.y + vd.y) / 2}, spacing);
      boxes.Merge(ForEachQuadPixel(
          canvas, SurfaceQuad(a, b, c, d), area, scan, [&](int x, int y, uint32_t&, uint32_t&) {
            if (const auto average = DirectionalAverage(canvas, x, y, steps.k, steps.u))
              canvas.work.At(x, y) = 0xFF000000u | *average;
          }));
    }
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  PutWorkIntoBitmap(context, boxes);
  context.SetStatusText(QuadCheckMessage(check));
  return check;
}

}  // namespace lumavex
