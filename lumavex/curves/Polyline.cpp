#include "lumavex/curves/Polyline.h"

#include <cstddef>

namespace lumavex {

std::vector<Sample> PolylineSamples(std::span<const Sample> points, int m) {
  if (m < 1 || points.empty()) return {};
  if (m == 1 || points.size() == 1) return std::vector<Sample>(m, points.front());
  const int n = static_cast<int>(points.size());
  const double step = static_cast<double>(n - 1) / (m - 1);
  std::vector<Sample> samples(m);
  for (int r = 0; r < m; ++r) {
    const double t = r * step;
    const int i = t >= n - 1 ? n - 2 : static_cast<int>(t);
    const double f = t - i;
    const Sample& p = points[static_cast<size_t>(i)];
    const Sample& q = points[static_cast<size_t>(i) + 1];
    samples[r] = {(1 - f) * p.x + f * q.x, (1 - f) * p.y + f * q.y};
  }
  return samples;
}

}  // namespace lumavex
