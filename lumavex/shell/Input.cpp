#include "lumavex/shell/Input.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {
namespace {

using platform::MouseButton;
using platform::MouseEvent;

// The press's canvas position: below -0.5 counts as -1.
std::pair<double, double> PressPosition(const AppState& s, int x, int y) {
  auto [cx, cy] = ClientToCanvas(s, x, y);
  return {cx < -0.5 ? -1.0 : cx, cy < -0.5 ? -1.0 : cy};
}

void OnPress(AppState& s, const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  bool& held = left ? s.leftHeld : s.rightHeld;
  if (held) return;
  held = true;
  if (!s.canvas.HasPicture()) return;
  s.sound.PlayRandomFeedbackSound(left ? "left_button_down" : "right_button_down");
  NoteMousePosition(s, e.x, e.y);
  const auto [x, y] = PressPosition(s, e.x, e.y);
  if (!e.modifiers.shift && !e.modifiers.ctrl) {
    const platform::Rect client = s.surface.Bounds();
    s.host.ClipCursor(&client);
  }
  if (left) {
    if (Tool* tool = CurrentTool(s)) tool->LeftPress(s, {x, y}, e.modifiers);
    return;
  }
  BeginViewDrag(s, e.x, e.y);
  s.view.colourBar = -1;
  ColourStripPress(s, e.x, e.y);
  if (Tool* tool = CurrentTool(s)) tool->RightPress(s, {x, y}, e.modifiers);
}

void OnMove(AppState& s, const MouseEvent& e) {
  if (e.leftDown && !e.rightDown && !s.leftHeld) return;
  if (e.rightDown && !e.leftDown && !s.rightHeld) return;
  if (!s.canvas.HasPicture()) return;
  NoteMousePosition(s, e.x, e.y);
  const auto [cx, cy] = ClientToCanvas(s, e.x, e.y);
  if (e.x < ViewWidth(s)) ShowXY(s, cx, cy);
  if (e.leftDown && !e.rightDown) {
    if (Tool* tool = CurrentTool(s)) tool->LeftDrag(s, {cx, cy});
  } else if (e.rightDown && !e.leftDown && !e.modifiers.shift && !e.modifiers.ctrl) {
    if (s.view.colourBar >= 0) ColourStripDrag(s, e.x, e.y);
    else DragView(s, e.x, e.y);
  }
  if (Tool* tool = CurrentTool(s)) tool->PointerMoved(s, {cx, cy});
}

void OnRelease(AppState& s, const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  bool& held = left ? s.leftHeld : s.rightHeld;
  if (!held) return;
  held = false;
  if (s.canvas.HasPicture()) {
    s.host.ClipCursor(nullptr);
    if (left) {
      const auto [cx, cy] = ClientToCanvas(s, e.x, e.y);
      if (Tool* tool = CurrentTool(s)) tool->LeftRelease(s, {cx, cy});
    } else {
      s.view.dragging = false;
      s.view.colourBar = -1;
      Redraw(s);
    }
  }
  CloseUndoStep(s);
}

}  // namespace

void OnMouse(AppState& s, const MouseEvent& e) {
  s.mouseFromPen = e.fromPen;
  switch (e.kind) {
    case MouseEvent::Kind::Press: OnPress(s, e); break;
    case MouseEvent::Kind::Move: OnMove(s, e); break;
    case MouseEvent::Kind::Release: OnRelease(s, e); break;
  }
}

}  // namespace lumavex
