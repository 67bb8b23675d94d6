#include "lumavex/shell/tools/PenTools.h"

#include <algorithm>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

struct PenMode {
  int command;
  PenKind kind;
};

constexpr PenMode kModes[] = {
    {cmd::kNormalPen, PenKind::Normal},
    {cmd::kGradationPen, PenKind::Gradation},
    {cmd::kMosaicPen, PenKind::Mosaic},
    {cmd::kColourChangePen, PenKind::ColourChange},
    {cmd::kFrameGradationPen, PenKind::FrameGradation},
    {cmd::kDeletePen, PenKind::Delete},
    {cmd::kTransparentDeletePen, PenKind::TransparentDelete},
    {cmd::kSelectPen, PenKind::Select},
    {cmd::kDeselectPen, PenKind::Deselect},
};

// The pen of a pen mode; the registry sends no other mode here.
PenKind KindOf(int mode) {
  const auto it = std::ranges::find(kModes, mode, &PenMode::command);
  return it == std::end(kModes) ? PenKind::Normal : it->kind;
}

int WidthOf(const DrawingSettings& s, PenKind kind) {
  switch (kind) {
    case PenKind::Normal:
      return s.normalPenWidth;
    case PenKind::Gradation:
      return s.gradationPenWidth;
    case PenKind::Mosaic:
      return s.mosaicPenWidth;
    case PenKind::ColourChange:
      return s.colourChangePenWidth;
    case PenKind::FrameGradation:
      return s.frameGradationPenWidth;
    case PenKind::Delete:
      return s.frameDeletePenWidth;
    case PenKind::TransparentDelete:
      return s.transparentDeletePenWidth;
    case PenKind::Select:
      return s.selectPenWidth;
    case PenKind::Deselect:
      return s.deselectPenWidth;
  }
  return 0;
}

int DegreeOf(const DrawingSettings& s, PenKind kind) {
  switch (kind) {
    case PenKind::Gradation:
      return s.gradationDegree;
    case PenKind::Mosaic:
      return s.mosaicCellWidth;
    case PenKind::FrameGradation:
      return s.frameGradationDegree;
    default:
      return 1;
  }
}

// Inverts the horizontal run [x1, x2] of row y and the vertical run [y1, y2] of
// column x, cut to `view` first so that a huge brush costs no more than the view.
void InvertRow(AppState& s, const platform::Rect& view, int x1, int x2, int y) {
  if (y < view.top || y >= view.bottom) return;
  x1 = std::max(x1, view.left), x2 = std::min(x2, view.right - 1);
  if (x1 <= x2) InvertLinePixels(s.surface, view, x1, y, x2, y);
}
void InvertColumn(AppState& s, const platform::Rect& view, int x, int y1, int y2) {
  if (x < view.left || x >= view.right) return;
  y1 = std::max(y1, view.top), y2 = std::min(y2, view.bottom - 1);
  if (y1 <= y2) InvertLinePixels(s.surface, view, x, y1, x, y2);
}

// Inverts the outline of the screen rectangle that shows picture pixels `rect`,
// at least one screen pixel wide at every zoom; returns the part of the view touched.
platform::Rect InvertOutline(AppState& s, const PixelRect& rect) {
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  // Far outside the picture nothing is shown, and client coordinates stay small.
  constexpr int kFar = 1 << 16;
  const auto cx = [&](int v) { return std::clamp(v, -kFar, s.canvas.Width() + kFar); };
  const auto cy = [&](int v) { return std::clamp(v, -kFar, s.canvas.Height() + kFar); };
  const int l = CanvasToClientX(s, cx(rect.left));
  const int t = CanvasToClientY(s, cy(rect.top));
  const int r = std::max(l, CanvasToClientX(s, cx(rect.right) + 1) - 1);
  const int b = std::max(t, CanvasToClientY(s, cy(rect.bottom) + 1) - 1);
  InvertRow(s, view, l, r, t);
  if (b > t) InvertRow(s, view, l, r, b);
  InvertColumn(s, view, l, t + 1, b - 1);
  if (r > l) InvertColumn(s, view, r, t + 1, b - 1);
  return platform::Intersect({l, t, r + 1, b + 1}, view);
}

platform::Rect Union(const platform::Rect& a, const platform::Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

Pen PenOfCommand(const AppState& s, int id) {
  const PenKind kind = KindOf(id);
  return {.kind = kind,
          .width = WidthOf(s.settings, kind),
          .degree = DegreeOf(s.settings, kind),
          .deletesFrame = s.settings.colourChangeDeletesFrame,
          .colour = s.headColour,
          .opacity = static_cast<uint32_t>(std::clamp(s.settings.maxOpacity, 1, 255))};
}

void PenTools::Enter(AppState& s, int id) {
  stroke_.reset();
  outline_.reset();
  kind_ = KindOf(id);
  width_ = WidthOf(s.settings, kind_);
  EnterToolMode(s, id, StatusText(id));
}

void PenTools::LeftPress(AppState& s, Sample at, platform::Modifiers) {
  Pen pen = PenOfCommand(s, s.currentCommand);
  pen.width = width_;
  stroke_.emplace(s.drawing, pen, sums_);
  stroke_->Apply(at.x, at.y);
}

void PenTools::LeftDrag(AppState&, Sample at) {
  if (stroke_) stroke_->Apply(at.x, at.y);
}

void PenTools::LeftRelease(AppState&, Sample) {
  if (!stroke_) return;
  stroke_->Finish();
  stroke_.reset();
}

void PenTools::PointerMoved(AppState& s, Sample at) {
  platform::Rect touched;
  if (outline_) touched = InvertOutline(s, *outline_);
  outline_ = BrushRect(BrushPixel(at.x), BrushPixel(at.y), width_);
  touched = Union(touched, InvertOutline(s, *outline_));
  if (!touched.Empty()) s.host.Present(s.surface, touched);
}

void PenTools::InvertPreview(AppState& s) {
  if (outline_) InvertOutline(s, *outline_);
}

std::string PenTools::StatusText(int mode) const {
  return FindCommand(mode)->status;
}

}  // namespace lumavex
