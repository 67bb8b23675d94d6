#include "lumavex/paint/PasteTransforms.h"

#include <cmath>
#include <vector>

namespace lumavex {
namespace {

std::vector<Sample>& CurveOf(PasteCurves& c, int curve) {
  return curve == 0 ? c.curve1 : curve == 1 ? c.middle : c.curve2;
}

// The base points a tool moves: every point, or the cross lines [first, last].
struct Selection {
  int first = 0;
  int last = -1;
};

template <class F>
void ForEachPoint(PasteCurves& c, Selection lines, F&& f) {
  for (int curve = 0; curve < 3; ++curve) {
    std::vector<Sample>& points = CurveOf(c, curve);
    for (int j = lines.first; j <= lines.last && j < static_cast<int>(points.size()); ++j)
      f(points[j]);
  }
}

Sample Centre(PasteCurves& c, Selection lines) {
  double x = 0, y = 0;
  int n = 0;
  ForEachPoint(c, lines, [&](Sample& p) { x += p.x, y += p.y, ++n; });
  return n ? Sample{x / n, y / n} : Sample{};
}

void Move(PasteCurves& c, Selection lines, Sample from, Sample to) {
  ForEachPoint(c, lines, [&](Sample& p) { p = {p.x + to.x - from.x, p.y + to.y - from.y}; });
}

void Scale(PasteCurves& c, Selection lines, Sample from, Sample to) {
  const Sample o = Centre(c, lines);
  const double before = std::hypot(from.x - o.x, from.y - o.y);
  if (before < 1e-9) return;
  const double r = std::hypot(to.x - o.x, to.y - o.y) / before;
  ForEachPoint(c, lines, [&](Sample& p) { p = {o.x + (p.x - o.x) * r, o.y + (p.y - o.y) * r}; });
}

void Rotate(PasteCurves& c, Selection lines, Sample from, Sample to) {
  const Sample o = Centre(c, lines);
  if (std::hypot(from.x - o.x, from.y - o.y) < 1e-9 || std::hypot(to.x - o.x, to.y - o.y) < 1e-9)
    return;
  const double angle =
      std::atan2(to.y - o.y, to.x - o.x) - std::atan2(from.y - o.y, from.x - o.x);
  const double cs = std::cos(angle), sn = std::sin(angle);
  ForEachPoint(c, lines, [&](Sample& p) {
    const double dx = p.x - o.x, dy = p.y - o.y;
    p = {o.x + dx * cs - dy * sn, o.y + dx * sn + dy * cs};
  });
}

}  // namespace

PastePoint NearestPastePoint(const PasteCurves& curves, Sample at, double tolerance) {
  PastePoint best;
  double bestDistance = 0;
  const std::vector<Sample>* all[3] = {&curves.curve1, &curves.middle, &curves.curve2};
  for (int curve = 0; curve < 3; ++curve)
    for (int j = 0; j < static_cast<int>(all[curve]->size()); ++j) {
      const Sample p = (*all[curve])[j];
      if (std::fabs(p.x - at.x) > tolerance || std::fabs(p.y - at.y) > tolerance) continue;
      const double d = std::hypot(p.x - at.x, p.y - at.y);
      if (!best || d < bestDistance) best = {curve, j}, bestDistance = d;
    }
  return best;
}

void ApplyPasteTransform(PasteCurves& c, PasteTransform transform, PastePoint picked, Sample from,
                         Sample to) {
  const int count = static_cast<int>(c.curve1.size());
  const Selection all{0, count - 1};
  Selection one{picked.index, picked.index};
  Selection two = one;
  if (picked.index + 1 < count) ++two.last;
  else --two.first;
  switch (transform) {
    case PasteTransform::Move: return Move(c, all, from, to);
    case PasteTransform::Scale: return Scale(c, all, from, to);
    case PasteTransform::Rotate: return Rotate(c, all, from, to);
    default: break;
  }
  if (!picked || picked.index >= count) return;
  switch (transform) {
    case PasteTransform::FreeDeformation: {
      std::vector<Sample>& points = CurveOf(c, picked.curve);
      if (picked.index >= static_cast<int>(points.size())) return;
      Sample& p = points[picked.index];
      p = {p.x + to.x - from.x, p.y + to.y - from.y};
      return;
    }
    case PasteTransform::TwoPointMove: return Move(c, one, from, to);
    case PasteTransform::FourPointMove: return Move(c, two, from, to);
    case PasteTransform::TwoPointScale: return Scale(c, one, from, to);
    case PasteTransform::FourPointScale: return Scale(c, two, from, to);
    default: return;
  }
}

}  // namespace lumavex
