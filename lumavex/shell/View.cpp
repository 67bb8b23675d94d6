#include "lumavex/shell/View.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Zoom.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {
namespace {

int CanvasWidthForView(const AppState& s) {
  return s.canvas.HasPicture() ? s.canvas.Width() : s.canvasWidth;
}
int CanvasHeightForView(const AppState& s) {
  return s.canvas.HasPicture() ? s.canvas.Height() : s.canvasHeight;
}

int Page(int screenPixels, int code) {
  return IsReduction(code) ? screenPixels * ReductionFactor(code) : screenPixels / code;
}

// Rebuilds one axis's record around `centre` for the current zoom.
void RebuildRecord(ScrollRecord& r, int screenPixels, int canvasSize, int code, int centre) {
  r.page = Page(screenPixels, code);
  r.minimum = -(r.page / 2);
  r.maximum = canvasSize + r.page / 2 - 1;
  r.position = std::clamp(centre - r.page / 2, r.minimum, r.maximum);
}

void RebuildRecords(AppState& s, int centreX, int centreY) {
  RebuildRecord(s.view.horizontal, ViewWidth(s), CanvasWidthForView(s), s.view.zoomCode, centreX);
  RebuildRecord(s.view.vertical, s.surface.Height(), CanvasHeightForView(s), s.view.zoomCode,
                centreY);
}

std::string ZoomStatusText(int code) {
  switch (code) {
    case 200: return "★拡大率 50%";
    case 400: return "★拡大率 25%";
    case 800: return "★拡大率 12.5%";
    case 1600: return "★拡大率 6.25%";
    case 3200: return "★拡大率 3.125%";
    default: {
      char text[48];
      std::snprintf(text, sizeof text, "★拡大率 %4d%%", code * 100);
      return text;
    }
  }
}

void CheckZoomItem(AppState& s, int code) {
  for (int c : kZoomCodes) s.menu.Check(ZoomCommand(c), c == code);
}

}  // namespace

platform::Rect InvertLinePixels(platform::Surface& surface, platform::Rect clip, int x1, int y1,
                                int x2, int y2) {
  clip = platform::Intersect(clip, surface.Bounds());
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (int x = x1, y = y1;;) {
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
      surface.At(x, y) ^= 0x00FFFFFF;
    if (x == x2 && y == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
  return platform::Intersect({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                              std::max(y1, y2) + 1},
                             clip);
}

namespace {

// The L-shaped corners of the processing square and the sight at the aim point.
void InvertSightMarks(AppState& s) {
  const platform::Rect view{0, 0, ViewWidth(s), s.surface.Height()};
  const PixelRect& q = s.canvas.processingSquare;
  const int l = CanvasToClientX(s, q.left), t = CanvasToClientY(s, q.top);
  const int r = CanvasToClientX(s, q.right + 1) - 1, b = CanvasToClientY(s, q.bottom + 1) - 1;
  constexpr int kArm = 19;  // 20-pixel arms
  struct Corner { int x, y, dx, dy; };
  for (Corner c : {Corner{l, t, 1, 1}, Corner{r, t, -1, 1}, Corner{l, b, 1, -1}, Corner{r, b, -1, -1}}) {
    InvertLinePixels(s.surface, view, c.x, c.y, c.x + c.dx * kArm, c.y);
    InvertLinePixels(s.surface, view, c.x, c.y + c.dy, c.x, c.y + c.dy * kArm);
  }
  const int cx = ViewWidth(s) / 2, cy = s.surface.Height() / 2;
  InvertLinePixels(s.surface, view, cx - 10, cy, cx + 10, cy);
  InvertLinePixels(s.surface, view, cx, cy - 10, cx, cy - 1);
  InvertLinePixels(s.surface, view, cx, cy + 1, cx, cy + 10);
}

enum class Recompose { Scrolled, Whole };

void Paint(AppState& s, Recompose mode, platform::Rect dirty = {}) {
  if (s.surface.Width() == 0 || s.surface.Height() == 0) return;
  ViewState& v = s.view;
  const bool picture = s.canvas.HasPicture();
  // The view area is copied whole from the screen buffer, which never holds the
  // inverted marks, so the previous marks need no erasing.
  if (picture) PlaceProcessingSquare(s);

  ViewPlacement placement;
  if (picture) placement.layer = v.kind == ViewKind::Bitmap ? &s.canvas.display : &s.canvas.frame;
  placement.zoomCode = v.zoomCode;
  placement.positionX = v.horizontal.position;
  placement.positionY = v.vertical.position;
  // Only a whole recomposition looks at the neighbours' files; the others reuse the
  // light factors as they are.
  placement.light = mode == Recompose::Whole ? s.lightTable.Refresh(s) : s.lightTable.Factors(s);
  if (mode == Recompose::Whole) v.buffer.Invalidate();
  v.buffer.Update(placement, dirty);
  const std::vector<platform::Rect> parts = v.buffer.CopyTo(s.surface);

  DrawColourPanel(s);
  DrawColourTexts(s);
  if (v.xyShown && picture) {
    const auto [x, y] = ClientToCanvas(s, v.xyMouseX, v.xyMouseY);
    DrawXyText(s, x, y);
  }
  if (Tool* tool = CurrentTool(s); picture && tool) tool->InvertPreview(s);
  if (picture && v.sightShown) InvertSightMarks(s);

  for (const auto& part : parts) s.host.Present(s.surface, part);
  s.host.Present(s.surface, {ViewWidth(s), 0, s.surface.Width(), s.surface.Height()});
}

}  // namespace

int ViewWidth(const AppState& s) {
  return std::max(s.surface.Width() - kColourStripWidth, 0);
}

void NoteMousePosition(AppState& s, int x, int y) {
  s.view.mouseX = x;
  s.view.mouseY = y;
  if (x >= ViewWidth(s)) return;
  s.view.xyMouseX = x;
  s.view.xyMouseY = y;
}

double ScreenPixelsPerCanvasPixel(int code) {
  return IsReduction(code) ? 1.0 / ReductionFactor(code) : code;
}

void SetZoom(AppState& s, int code, bool updateScrollBars) {
  if (!IsZoomCode(code)) platform::Fatal(s.host, "エラー", "エラー", -1);
  ViewState& v = s.view;
  const int centreX = v.horizontal.position + v.horizontal.page / 2;
  const int centreY = v.vertical.position + v.vertical.page / 2;
  v.zoomCode = code;
  RebuildRecords(s, centreX, centreY);
  if (updateScrollBars) {
    UpdateScrollBars(s);
    Redraw(s);
  }
  CheckZoomItem(s, code);
  SetStatusText(s, ZoomStatusText(code));
}

std::pair<double, double> ClientToCanvas(const AppState& s, int x, int y) {
  const int code = s.view.zoomCode;
  const double px = s.view.horizontal.position, py = s.view.vertical.position;
  if (IsReduction(code)) {
    const int f = ReductionFactor(code);
    return {double(x) * f + px, double(y) * f + py};
  }
  if (code == 1) return {x + px, y + py};
  const double scale = 1.0 / code;
  return {x * scale + px - 0.5, y * scale + py - 0.5};
}

std::pair<double, double> ClientToCanvasAt(const AppState& s, double x, double y) {
  const int code = s.view.zoomCode;
  const double px = s.view.horizontal.position, py = s.view.vertical.position;
  if (IsReduction(code) || code == 1) {
    const double scale = CanvasPixelsPerScreenPixel(code);
    return {x * scale + px, y * scale + py};
  }
  const double scale = 1.0 / code;
  return {x * scale + px - 0.5, y * scale + py - 0.5};
}

double CanvasPixelsPerScreenPixel(int code) {
  return IsReduction(code) ? ReductionFactor(code) : 1.0 / code;
}

int CanvasToClientX(const AppState& s, double cx) {
  return static_cast<int>(std::floor((cx - s.view.horizontal.position) *
                                     ScreenPixelsPerCanvasPixel(s.view.zoomCode)));
}

int CanvasToClientY(const AppState& s, double cy) {
  return static_cast<int>(std::floor((cy - s.view.vertical.position) *
                                     ScreenPixelsPerCanvasPixel(s.view.zoomCode)));
}

void Redraw(AppState& s) { Paint(s, Recompose::Whole); }

void RedrawCanvasRect(AppState& s, int left, int top, int right, int bottom) {
  const platform::Rect dirty{CanvasToClientX(s, left), CanvasToClientY(s, top),
                             CanvasToClientX(s, right + 1) + 1, CanvasToClientY(s, bottom + 1) + 1};
  Paint(s, Recompose::Scrolled, dirty);
}

void PaintScrolled(AppState& s) { Paint(s, Recompose::Scrolled); }

void UpdateScrollBars(AppState& s) {
  using Axis = platform::ScrollEvent::Axis;
  const ScrollRecord& h = s.view.horizontal;
  const ScrollRecord& v = s.view.vertical;
  s.host.SetScrollBar(Axis::Horizontal, h.minimum, h.maximum, h.page, h.position);
  s.host.SetScrollBar(Axis::Vertical, v.minimum, v.maximum, v.page, v.position);
}

void OnScroll(AppState& s, const platform::ScrollEvent& e) {
  if (!s.canvas.HasPicture()) return;
  using Request = platform::ScrollEvent::Request;
  ScrollRecord& r = e.axis == platform::ScrollEvent::Axis::Horizontal ? s.view.horizontal
                                                                       : s.view.vertical;
  const int last = r.maximum - r.page + 1;
  switch (e.request) {
    case Request::LineUp: r.position = std::max(r.position - 1, std::min(r.minimum, r.position)); break;
    case Request::LineDown: if (r.position + 1 <= last) ++r.position; break;
    case Request::PageUp: r.position = std::max(r.position - r.page, std::min(r.minimum, r.position)); break;
    case Request::PageDown: r.position = std::max(r.position, std::min(r.position + r.page, last)); break;
    case Request::ThumbPosition:
    case Request::ThumbTrack: r.position = e.position; break;
    case Request::End: return;
  }
  UpdateScrollBars(s);
  PaintScrolled(s);
}

void OnClientResized(AppState& s, int clientWidth, int clientHeight) {
  if (clientWidth <= 0) return;
  const int centreX = s.view.horizontal.position + s.view.horizontal.page / 2;
  const int centreY = s.view.vertical.position + s.view.vertical.page / 2;
  try {
    s.surface.Resize(clientWidth, clientHeight);
    s.view.buffer.Resize(ViewWidth(s), clientHeight);
  } catch (const std::bad_alloc&) {
    platform::Fatal(s.host, "画面バッファが確保出来ません。", "エラー", 0);
  }
  RebuildRecords(s, centreX, centreY);
  UpdateScrollBars(s);
  Redraw(s);
}

void BeginViewDrag(AppState& s, int x, int y) {
  ViewState& v = s.view;
  v.dragging = true;
  v.dragPressX = x;
  v.dragPressY = y;
  v.dragPositionX = v.horizontal.position;
  v.dragPositionY = v.vertical.position;
}

void DragView(AppState& s, int x, int y) {
  ViewState& v = s.view;
  if (!v.dragging) return;
  const double perCanvas = ScreenPixelsPerCanvasPixel(v.zoomCode);
  auto follow = [perCanvas](ScrollRecord& r, int kept, int press, int now, int size) {
    const int moved = static_cast<int>(std::lround((press - now) / perCanvas));
    r.position = std::clamp(kept + moved, -(r.page / 2), std::max(size - r.page / 2 - 1, -(r.page / 2)));
  };
  follow(v.horizontal, v.dragPositionX, v.dragPressX, x, CanvasWidthForView(s));
  follow(v.vertical, v.dragPositionY, v.dragPressY, y, CanvasHeightForView(s));
  UpdateScrollBars(s);
  PaintScrolled(s);
}

void ZoomKey(AppState& s, bool up, bool shift) {
  const int next = ZoomStep(s.view.zoomCode, up, shift);
  if (next != s.view.zoomCode) SetZoom(s, next, true);
}

void SpaceZoom(AppState& s, bool tabletMode) {
  ViewState& v = s.view;
  const auto [cx, cy] = ClientToCanvas(s, v.mouseX, v.mouseY);
  if (!v.spaceZoom) {
    const double perCanvas = ScreenPixelsPerCanvasPixel(v.zoomCode);
    v.spaceZoomCode = v.zoomCode;
    v.spaceOffsetX = (cx + 0.5 - v.horizontal.position) * perCanvas;
    v.spaceOffsetY = (cy + 0.5 - v.vertical.position) * perCanvas;
    SetZoom(s, 20, false);
    if (tabletMode) {
      v.horizontal.position = static_cast<int>(std::floor(cx + 0.5 - v.spaceOffsetX / 20));
      v.vertical.position = static_cast<int>(std::floor(cy + 0.5 - v.spaceOffsetY / 20));
    } else {
      // The point goes to the view's centre and the cursor onto that point's pixel.
      const int pointX = static_cast<int>(std::lround(cx)), pointY = static_cast<int>(std::lround(cy));
      v.horizontal.position = pointX - v.horizontal.page / 2;
      v.vertical.position = pointY - v.vertical.page / 2;
      NoteMousePosition(s, (v.horizontal.page / 2) * 20 + 10, (v.vertical.page / 2) * 20 + 10);
      s.host.SetCursorPosition(v.mouseX, v.mouseY);
    }
    v.spaceZoom = true;
  } else {
    SetZoom(s, v.spaceZoomCode, false);
    const double perCanvas = ScreenPixelsPerCanvasPixel(v.zoomCode);
    v.horizontal.position = static_cast<int>(std::lround(cx + 0.5 - v.spaceOffsetX / perCanvas));
    v.vertical.position = static_cast<int>(std::lround(cy + 0.5 - v.spaceOffsetY / perCanvas));
    NoteMousePosition(s, static_cast<int>(std::lround(v.spaceOffsetX - 0.5 * perCanvas)),
                      static_cast<int>(std::lround(v.spaceOffsetY - 0.5 * perCanvas)));
    s.host.SetCursorPosition(v.mouseX, v.mouseY);
    v.spaceZoom = false;
  }
  UpdateScrollBars(s);
  Redraw(s);
}

namespace {

// The radio pairs of the view, each checked by its part of the view state.
void CheckViewKind(AppState& s) {
  s.menu.Check(cmd::kBitmapView, s.view.kind == ViewKind::Bitmap);
  s.menu.Check(cmd::kFrameView, s.view.kind != ViewKind::Bitmap);
}
void CheckSight(AppState& s) {
  s.menu.Check(cmd::kSightOn, s.view.sightShown);
  s.menu.Check(cmd::kSightOff, !s.view.sightShown);
}
void CheckXy(AppState& s) {
  s.menu.Check(cmd::kXyOn, s.view.xyShown);
  s.menu.Check(cmd::kXyOff, !s.view.xyShown);
}

// Shows the menu after a view switch and redraws the view.
void ShowViewSwitch(AppState& s) {
  s.host.MenuChanged(s.menu);
  Redraw(s);
}

}  // namespace

void SetViewKind(AppState& s, ViewKind kind) {
  s.view.kind = kind;
  CheckViewKind(s);
  ShowViewSwitch(s);
}

void ShowSight(AppState& s, bool shown) {
  s.view.sightShown = shown;
  CheckSight(s);
  ShowViewSwitch(s);
}

void ShowXyText(AppState& s, bool shown) {
  s.view.xyShown = shown;
  CheckXy(s);
  ShowViewSwitch(s);
}

void CheckViewItems(AppState& s) {
  CheckViewKind(s);
  CheckSight(s);
  CheckXy(s);
  CheckZoomItem(s, s.view.zoomCode);
  s.menu.Check(cmd::kLightTable, s.lightTable.options.on);
}

void InvertLine(AppState& s, int x1, int y1, int x2, int y2) {
  const platform::Rect r = InvertLinePixels(s.surface, s.surface.Bounds(), x1, y1, x2, y2);
  if (!r.Empty()) s.host.Present(s.surface, r);
}

void InvertSquare(AppState& s, int x, int y, int side) {
  const platform::Rect r = platform::Intersect({x, y, x + side, y + side}, s.surface.Bounds());
  if (r.Empty()) return;
  s.surface.Invert(r);
  s.host.Present(s.surface, r);
}

void PlaceProcessingSquare(AppState& s) {
  Canvas& canvas = s.canvas;
  const int side = s.settings.processingSquareSide;
  const int aimX = s.view.horizontal.position + s.view.horizontal.page / 2;
  const int aimY = s.view.vertical.position + s.view.vertical.page / 2;
  PixelRect q;
  q.left = aimX - side / 2;
  q.top = aimY - side / 2;
  q.right = q.left + side - 1;
  q.bottom = q.top + side - 1;
  q.left = std::max(q.left, 0);
  q.top = std::max(q.top, 0);
  q.right = std::min(q.right, canvas.Width() - 1);
  q.bottom = std::min(q.bottom, canvas.Height() - 1);
  if (s.view.lastSquare && *s.view.lastSquare != q)
    ClearMarksLeftBehind(canvas, *s.view.lastSquare, q, kPaintingMarks);
  canvas.processingSquare = q;
  s.view.lastSquare = q;
}

}  // namespace lumavex
