#include <cmath>
#include <optional>

#include "lumavex/curves/Spline.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/Tools.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr int kSquareHalf = 5;

struct ScreenPoint {
  int x, y;
};

ScreenPoint OnScreen(const AppState& s, double x, double y) {
  const double z = ScreenPixelsPerCanvasPixel(s.view.zoomCode);
  return {static_cast<int>((x + 0.5 - s.view.horizontal.position) * z + 0.5),
          static_cast<int>((y + 0.5 - s.view.vertical.position) * z + 0.5)};
}

// Squares at the points, lines between them and, with `splineCount`, the spline's
// samples as single pixels.
void InvertChainMarks(AppState& s, common::ChainHandle chain, bool lines, int splineCount) {
  const std::vector<Sample> points = ChainPoints(s.chains.lists, chain);
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  std::optional<ScreenPoint> previous;
  for (const Sample& p : points) {
    const ScreenPoint sp = OnScreen(s, p.x, p.y);
    if (lines && previous) InvertLinePixels(s.surface, view, previous->x, previous->y, sp.x, sp.y);
    const int l = sp.x - kSquareHalf, t = sp.y - kSquareHalf;
    const int r = sp.x + kSquareHalf, b = sp.y + kSquareHalf;
    InvertLinePixels(s.surface, view, l, t, r - 1, t);
    InvertLinePixels(s.surface, view, r, t, r, b - 1);
    InvertLinePixels(s.surface, view, r, b, l + 1, b);
    InvertLinePixels(s.surface, view, l, b, l, t + 1);
    previous = sp;
  }
  if (splineCount < 2 || points.size() < 3) return;
  for (const Sample& p : SplineSamples(points, splineCount)) {
    if (p.x < 0 || p.y < 0 || p.x > s.canvas.Width() - 1 || p.y > s.canvas.Height() - 1) continue;
    const ScreenPoint sp = OnScreen(s, p.x, p.y);
    InvertLinePixels(s.surface, view, sp.x, sp.y, sp.x, sp.y);
  }
}

}  // namespace

void InvertBasePointMarks(AppState& s) {
  const auto& chains = s.chains;
  switch (s.currentCommand) {
    case cmd::kCurve:
    case cmd::kCurveEdit:
    case cmd::kTransparentCurve:
    case cmd::kTransparentCurveEdit:
    case cmd::kColourChangeCurve:
    case cmd::kColourChangeCurveEdit:
      InvertChainMarks(s, chains.a, true, s.settings.splinePointCount);
      break;
    case cmd::kEllipseDrag:
    case cmd::kEllipseEdit:
      InvertChainMarks(s, chains.ellipse, true, 0);
      break;
    case cmd::kRectangleDrag:
    case cmd::kRectangleEdit:
      InvertChainMarks(s, chains.rectangle, true, 0);
      break;
    default:
      break;
  }
}

}  // namespace lumavex
