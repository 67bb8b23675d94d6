#include "lumavex/curves/BasePointEditing.h"

#include <algorithm>
#include <cmath>

#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

bool Under(const BasePoint& p, double x, double y, double zoom, double tolerance) {
  return std::fabs(p.x * zoom - x * zoom) <= tolerance &&
         std::fabs(p.y * zoom - y * zoom) <= tolerance;
}

bool Near(const Sample& a, const Sample& b) {
  return std::fabs(a.x - b.x) <= 1e-8 && std::fabs(a.y - b.y) <= 1e-8;
}

// The sign of the turn a → b → c, 0 when they are collinear within the tolerance.
int Turn(const Sample& a, const Sample& b, const Sample& c) {
  const double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  return cross > 1e-8 ? 1 : cross < -1e-8 ? -1 : 0;
}

bool Within(double v, double a, double b) {
  return v >= std::min(a, b) - 1e-8 && v <= std::max(a, b) + 1e-8;
}

// True when segments a-b and c-d share a point (touching counts).
bool SegmentsMeet(const Sample& a, const Sample& b, const Sample& c, const Sample& d) {
  const int t1 = Turn(a, b, c), t2 = Turn(a, b, d), t3 = Turn(c, d, a), t4 = Turn(c, d, b);
  if (t1 * t2 < 0 && t3 * t4 < 0) return true;
  // An end on the other segment's line: they meet when it lies within that segment.
  auto onSegment = [](const Sample& p, const Sample& q, const Sample& r) {
    return Within(r.x, p.x, q.x) && Within(r.y, p.y, q.y);
  };
  return (t1 == 0 && onSegment(a, b, c)) || (t2 == 0 && onSegment(a, b, d)) ||
         (t3 == 0 && onSegment(c, d, a)) || (t4 == 0 && onSegment(c, d, b));
}

}  // namespace

PickedPoint FindBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                          double zoom, double tolerance) {
  if (chain == common::kNoChain) return {};
  int index = 0;
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link), ++index)
    if (Under(*PointOf(link), x, y, zoom, tolerance)) return {index, PointOf(link)};
  return {};
}

void ClearMarksForEditing(Canvas& canvas, PixelRect& marked) {
  ClearMarks(canvas, marked, kPaintingMarks);
  marked = PixelRect{};
}

bool InsertBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                     double zoom) {
  const PickedPoint at = FindBasePoint(lists, chain, x, y, zoom, kEditTolerance);
  if (!at) return false;
  auto* copy = new BasePoint;
  copy->x = at.point->x;
  copy->y = at.point->y;
  lists.InsertAfter(chain, &at.point->link, &copy->link);
  return true;
}

bool DeleteBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                     double zoom, PickedPoint& picked) {
  if (chain == common::kNoChain || lists.Count(chain) < 3) return false;
  const PickedPoint at = FindBasePoint(lists, chain, x, y, zoom, kEditTolerance);
  if (!at) return false;
  if (picked.point == at.point) picked = {};
  lists.Remove(chain, &at.point->link);
  return true;
}

int ClampBasePointsIntoPicture(common::ChainList& lists, common::ChainHandle chain, int width,
                               int height) {
  if (chain == common::kNoChain) return 0;
  int moved = 0;
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link)) {
    BasePoint& p = *PointOf(link);
    const double x = std::clamp(p.x, 0.0, double(width - 1));
    const double y = std::clamp(p.y, 0.0, double(height - 1));
    if (x != p.x || y != p.y) ++moved;
    p.x = x;
    p.y = y;
  }
  return moved;
}

QuadCheck CheckQuad(const Sample& p0, const Sample& p1, const Sample& p2, const Sample& p3) {
  const Sample points[4] = {p0, p1, p2, p3};
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if (Near(points[i], points[j])) return QuadCheck::Overlapping;
  return SegmentsMeet(p0, p2, p1, p3) ? QuadCheck::Accepted : QuadCheck::Twisted;
}

std::string QuadCheckMessage(QuadCheck result) {
  switch (result) {
    case QuadCheck::Overlapping: return "★基点が重なっています。";
    case QuadCheck::Twisted: return "★基点がねじれています。";
    default: return {};
  }
}

}  // namespace lumavex
