#include "lumavex/shell/tools/PointEditing.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "lumavex/curves/BasePoints.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr int kSquareHalf = 5;

struct ScreenPoint {
  int x, y;
};

ScreenPoint OnScreen(const AppState& s, double x, double y) {
  const double z = ViewZoom(s);
  return {static_cast<int>((x + 0.5 - s.view.horizontal.position) * z + 0.5),
          static_cast<int>((y + 0.5 - s.view.vertical.position) * z + 0.5)};
}

void InvertPointSquare(platform::Surface& surface, const platform::Rect& view, ScreenPoint at) {
  const int l = at.x - kSquareHalf, t = at.y - kSquareHalf;
  const int r = at.x + kSquareHalf, b = at.y + kSquareHalf;
  InvertLinePixels(surface, view, l, t, r - 1, t);
  InvertLinePixels(surface, view, r, t, r, b - 1);
  InvertLinePixels(surface, view, r, b, l + 1, b);
  InvertLinePixels(surface, view, l, b, l, t + 1);
}

bool ChainHolds(const common::ChainList& lists, common::ChainHandle chain, const BasePoint* point) {
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link))
    if (PointOf(link) == point) return true;
  return false;
}

}  // namespace

void EnterToolMode(AppState& s, int mode, const std::string& status) {
  s.currentCommand = mode;
  s.modeStatusText = status;
  SetStatusText(s, status);
  Redraw(s);
}

Sample ClampedToPicture(const AppState& s, Sample at) {
  return {std::clamp(at.x, 0.0, double(s.canvas.Width() - 1)),
          std::clamp(at.y, 0.0, double(s.canvas.Height() - 1))};
}

double ViewZoom(const AppState& s) {
  return ScreenPixelsPerCanvasPixel(s.view.zoomCode);
}

void DragPickedPoint(AppState& s, const PickedPoint& picked, common::ChainHandle chain, Sample at) {
  if (!picked || !ChainHolds(s.chains.lists, chain, picked.point)) return;
  const Sample p = ClampedToPicture(s, at);
  picked.point->x = p.x;
  picked.point->y = p.y;
  PaintScrolled(s);
}

void InvertChainMarks(AppState& s, common::ChainHandle chain, bool lines, int splineCount) {
  InvertPointMarks(s, ChainPoints(s.chains.lists, chain), lines, splineCount);
}

void InvertCanvasLine(AppState& s, Sample p, Sample q) {
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  const ScreenPoint a = OnScreen(s, p.x, p.y), b = OnScreen(s, q.x, q.y);
  InvertLinePixels(s.surface, view, a.x, a.y, b.x, b.y);
}

void InvertPointMarks(AppState& s, std::span<const Sample> points, bool lines, int splineCount) {
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  std::optional<ScreenPoint> previous;
  for (const Sample& p : points) {
    const ScreenPoint sp = OnScreen(s, p.x, p.y);
    if (lines && previous) InvertLinePixels(s.surface, view, previous->x, previous->y, sp.x, sp.y);
    InvertPointSquare(s.surface, view, sp);
    previous = sp;
  }
  if (splineCount < 2 || points.size() < 3) return;
  for (const Sample& p : SplineSamples(points, splineCount)) {
    if (p.x < 0 || p.y < 0 || p.x > s.canvas.Width() - 1 || p.y > s.canvas.Height() - 1) continue;
    const ScreenPoint sp = OnScreen(s, p.x, p.y);
    InvertLinePixels(s.surface, view, sp.x, sp.y, sp.x, sp.y);
  }
}

void InvertPointLoop(AppState& s, const std::vector<Sample>& points) {
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  for (size_t i = 0; i < points.size(); ++i) {
    const Sample& p = points[i];
    const Sample& q = points[(i + 1) % points.size()];
    const ScreenPoint a = OnScreen(s, p.x, p.y), b = OnScreen(s, q.x, q.y);
    if (points.size() > 1) InvertLinePixels(s.surface, view, a.x, a.y, b.x, b.y);
    InvertPointSquare(s.surface, view, a);
  }
}

void MoveAllBasePointsIntoPicture(AppState& s) {
  if (!s.canvas.HasPicture()) return;
  auto& c = s.chains;
  for (common::ChainHandle chain : {c.a, c.b, c.ellipse, c.rectangle, c.direction})
    ClampBasePointsIntoPicture(c.lists, chain, s.canvas.Width(), s.canvas.Height());
  Redraw(s);
}

}  // namespace lumavex
