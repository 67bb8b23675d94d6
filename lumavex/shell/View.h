#pragma once
// The view of the picture: zoom, scroll positions, the conversion between window
// and canvas, and the paint that puts the shown layer, the colour panel, the texts
// and the inverted marks into the client area.

#include <cstdint>
#include <optional>
#include <utility>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/shell/ScreenBuffer.h"
#include "platform/Events.h"

namespace lumavex {

class AppState;

enum class ViewKind { Bitmap = 1, Frame = 2 };

// One scroll bar's record, in canvas pixels.
struct ScrollRecord {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;
};

struct ViewState {
  int zoomCode = 1;
  ViewKind kind = ViewKind::Bitmap;
  bool sightShown = true;
  bool xyShown = true;
  ScrollRecord horizontal;
  ScrollRecord vertical;
  ScreenBuffer buffer;

  // The processing square placed by the last paint, for clearing marks that leave it.
  std::optional<PixelRect> lastSquare;

  // Space zoom: the zoom and the mouse's screen offset from the view origin before it.
  bool spaceZoom = false;
  int spaceZoomCode = 1;
  double spaceOffsetX = 0;
  double spaceOffsetY = 0;

  // Right drag of the view: the press and the scroll positions at the press.
  bool dragging = false;
  int dragPressX = 0;
  int dragPressY = 0;
  int dragPositionX = 0;
  int dragPositionY = 0;

  // Colour bar being changed by a right drag: 0 none, else (1 head | 2 end) * 4 + bar.
  int colourBar = -1;

  // The last mouse position in client pixels, for the colour pick and the Space zoom.
  int mouseX = 0;
  int mouseY = 0;
  // The last mouse position over the view area: the XY text reads it, so that it
  // stands still while the mouse is over the colour strip.
  int xyMouseX = 0;
  int xyMouseY = 0;
};

// The width of the view area (the client area left of the colour strip).
int ViewWidth(const AppState& state);

// Keeps a mouse position: always for the colour pick and the Space zoom, and for
// the XY text only over the view area.
void NoteMousePosition(AppState& state, int x, int y);

// Screen pixels per canvas pixel (below 1 when reduced).
double ScreenPixelsPerCanvasPixel(int zoomCode);

// Sets the zoom, keeping the view centre, optionally sets the scroll bars and
// redraws; checks the zoom's menu item and shows the zoom status text. A code that
// is not one of the fourteen ends the program.
void SetZoom(AppState& state, int code, bool updateScrollBars);

// The canvas position under client position (x, y).
std::pair<double, double> ClientToCanvas(const AppState& state, int x, int y);
// The same for a position between client pixels (a pen's).
std::pair<double, double> ClientToCanvasAt(const AppState& state, double x, double y);
// Canvas pixels per screen pixel of the current view.
double CanvasPixelsPerScreenPixel(int zoomCode);

// Client position of the left/top edge of canvas pixel column `cx` / row `cy`.
int CanvasToClientX(const AppState& state, double cx);
int CanvasToClientY(const AppState& state, double cy);

// Recomposes and shows the whole client area at once.
void Redraw(AppState& state);
// Recomposes and shows the part of the view that shows canvas pixels
// [left, right] × [top, bottom].
void RedrawCanvasRect(AppState& state, int left, int top, int right, int bottom);
// Shows the view after a scroll, recomposing only the newly exposed bands.
void PaintScrolled(AppState& state);

// Sets both scroll bars of the host from the records.
void UpdateScrollBars(AppState& state);

void OnScroll(AppState& state, const platform::ScrollEvent& event);
void OnClientResized(AppState& state, int clientWidth, int clientHeight);

// Right drag of the view (press off the colour strip, moves with the right button).
void BeginViewDrag(AppState& state, int x, int y);
void DragView(AppState& state, int x, int y);

// Up / Down keys and the Space zoom.
void ZoomKey(AppState& state, bool up, bool shift);
void SpaceZoom(AppState& state, bool tabletMode);

// Checks the view's radio items (bitmap or frame view, sight, XY, zoom level) as the
// view state says, without showing the menu.
void CheckViewItems(AppState& state);

// View commands: bitmap / frame view, sight on / off, XY on / off.
void SetViewKind(AppState& state, ViewKind kind);
void ShowSight(AppState& state, bool shown);
void ShowXyText(AppState& state, bool shown);

// Inverts the pixels of a line inside `clip` without showing them (a single pixel
// when both ends are equal); returns the rectangle touched.
platform::Rect InvertLinePixels(platform::Surface& surface, platform::Rect clip, int x1, int y1,
                                int x2, int y2);

// Overlays drawn by inverting the client area; drawing one twice removes it.
void InvertLine(AppState& state, int x1, int y1, int x2, int y2);
void InvertSquare(AppState& state, int x, int y, int side);

// Places the processing square around the aim point for the current view and
// clears the marks (bits 26-29) of the pixels that left it.
void PlaceProcessingSquare(AppState& state);

}  // namespace lumavex
