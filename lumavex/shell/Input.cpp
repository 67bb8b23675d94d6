#include "lumavex/shell/Input.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/Shell.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

using platform::MouseButton;
using platform::MouseEvent;
namespace vk = platform::vk;

constexpr int kTabletSmoothing = 40223;

void OnPress(AppState& s, const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  bool& held = left ? s.leftHeld : s.rightHeld;
  if (held) return;
  held = true;
  if (!s.canvas.HasPicture()) return;
  s.sound.PlayRandomFeedbackSound(left ? "left_button_down" : "right_button_down");
  s.view.mouseX = e.x;
  s.view.mouseY = e.y;
  if (!e.modifiers.shift && !e.modifiers.ctrl) {
    const platform::Rect client = s.surface.Bounds();
    s.host.ClipCursor(&client);
  }
  if (!left) {
    BeginViewDrag(s, e.x, e.y);
    s.view.colourBar = -1;
    ColourStripPress(s, e.x, e.y);
  }
}

void OnMove(AppState& s, const MouseEvent& e) {
  if (e.leftDown && !e.rightDown && !s.leftHeld) return;
  if (e.rightDown && !e.leftDown && !s.rightHeld) return;
  if (!s.canvas.HasPicture()) return;
  s.view.mouseX = e.x;
  s.view.mouseY = e.y;
  if (e.x < ViewWidth(s)) {
    const auto [cx, cy] = ClientToCanvas(s, e.x, e.y);
    ShowXY(s, cx, cy);
  }
  if (e.rightDown && !e.leftDown && !e.modifiers.shift && !e.modifiers.ctrl) {
    if (s.view.colourBar >= 0) ColourStripDrag(s, e.x, e.y);
    else DragView(s, e.x, e.y);
  }
}

void OnRelease(AppState& s, const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  bool& held = left ? s.leftHeld : s.rightHeld;
  if (!held) return;
  held = false;
  if (!s.canvas.HasPicture()) return;
  s.host.ClipCursor(nullptr);
  if (!left) {
    s.view.dragging = false;
    s.view.colourBar = -1;
    Redraw(s);
  }
}

}  // namespace

void OnMouse(AppState& s, const MouseEvent& e) {
  switch (e.kind) {
    case MouseEvent::Kind::Press: OnPress(s, e); break;
    case MouseEvent::Kind::Move: OnMove(s, e); break;
    case MouseEvent::Kind::Release: OnRelease(s, e); break;
  }
}

void OnKeyDown(AppState& s, const platform::KeyDownEvent& e) {
  if (s.leftHeld || s.rightHeld || !s.canvas.HasPicture()) return;
  const bool shift = e.modifiers.shift;
  switch (e.virtualKey) {
    case vk::kUp: ZoomKey(s, true, shift); break;
    case vk::kDown: ZoomKey(s, false, shift); break;
    case vk::kSpace: SpaceZoom(s, s.currentCommand == kTabletSmoothing); break;
    case 'B': SendCommand(s, cmd::kBitmapView); break;
    case 'F':
      if (!shift) SendCommand(s, cmd::kFrameView);
      break;
    case vk::kF1: PickColour(s, true); break;
    case vk::kF1 + 1: PickColour(s, false); break;
    case vk::kF1 + 2: MiddleColour(s); break;
    case vk::kF1 + 3: CopyColour(s, !shift); break;
    default: break;
  }
}

}  // namespace lumavex
