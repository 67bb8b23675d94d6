#include "lumavex/shell/KeyTable.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Tools.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

namespace vk = platform::vk;

// The commands of a letter key: plain, Shift, Ctrl, Shift+Ctrl (0: none).
struct LetterKey {
  char key;
  int plain, shift, ctrl, both;
};

constexpr LetterKey kLetterKeys[] = {
    {'A', cmd::kSelectArea, cmd::kSetSelectPen, 0, cmd::kSelectAll},
    {'S', cmd::kCurve, cmd::kColourChangeCurve, cmd::kTransparentCurve, cmd::kEllipse},
    {'Z', cmd::kFadeGentle, cmd::kFadeGloss, cmd::kFadeShadow, 0},
    {'P', cmd::kFillInFrame, cmd::kFillBitmapInFrame, cmd::kFillNonDrawAreaInFrame,
     cmd::kFillOneColour},
    {'G', cmd::kGradationPen, cmd::kDirectionalGradation, cmd::kSetGradationPen, 0},
    {'X', cmd::kFrameGradationPen, 0, cmd::kSetFrameGradationPen, 0},
    {'C', cmd::kColourChangePen, 0, cmd::kSetColourChangePen, 0},
    {'D', cmd::kDeletePen, 0, cmd::kSetDeletePen, 0},
    {'T', cmd::kTransparentDeletePen, 0, cmd::kSetTransparentDeletePen, 0},
    {'N', cmd::kNormalPen, 0, cmd::kSetNormalPen, 0},
    {'M', cmd::kMosaicPen, 0, cmd::kSetMosaicPen, 0},
    {'L', cmd::kSmoothingCurve, cmd::kSmoothingCurve, cmd::kSetSmoothingCurve,
     cmd::kSetSmoothingCurve},
    {'O', cmd::kSetBorderOpacity, cmd::kSetBorderOpacity, cmd::kSetBorderOpacity,
     cmd::kSetBorderOpacity},
    {'B', cmd::kBitmapView, cmd::kBitmapView, cmd::kBitmapView, cmd::kBitmapView},
    {'F', cmd::kFrameView, cmd::kPasteString, cmd::kFrameView, cmd::kPasteString},
    {'U', cmd::kUndo, cmd::kRedo, cmd::kUndoFrameOnly, cmd::kRedo},
};

constexpr int kFunctionKeyCommands[] = {cmd::kSetMaxOpacity, cmd::kSetHeadFade,
                                        cmd::kSetTerminationFade, cmd::kSetSplinePoints,
                                        cmd::kSetFrameWidth};  // F5..F9
constexpr int kLoadPolicyCommands[] = {cmd::kLoadSameSize, cmd::kLoadPolicy2, cmd::kLoadPolicy3,
                                       cmd::kLoadPolicy4};

int Choose(const LetterKey& k, bool shift, bool ctrl) {
  return shift && ctrl ? k.both : shift ? k.shift : ctrl ? k.ctrl : k.plain;
}

// Numeric keypad 8, 2, 4, 6: moves the cursor a screen pixel (ten with Ctrl) and
// drags the picked point there, as if the mouse had moved with the left button down.
void Nudge(AppState& s, int dx, int dy, bool ctrl) {
  if (!IsEditPhase(s.currentCommand)) return;
  const int step = ctrl ? 10 : 1;
  s.view.mouseX += dx * step;
  s.view.mouseY += dy * step;
  s.host.SetCursorPosition(s.view.mouseX, s.view.mouseY);
  const auto [x, y] = ClientToCanvas(s, s.view.mouseX, s.view.mouseY);
  ToolLeftDrag(s, x, y);
}

bool LetterOrFunctionKey(AppState& s, int key, bool shift, bool ctrl) {
  for (const auto& k : kLetterKeys)
    if (k.key == key) {
      if (const int id = Choose(k, shift, ctrl)) SendCommand(s, id);
      return true;
    }
  if (key == 'H') {
    if (shift && ctrl) {
      SendCommand(s, cmd::kDeselectAll);
      SendCommand(s, cmd::kSelectArea);
    } else {
      SendCommand(s, shift ? cmd::kSetDeselectPen : ctrl ? cmd::kReverseArea : cmd::kDeselectArea);
    }
    return true;
  }
  if (key == 'Q') {
    const int id = shift ? cmd::kPaintPreviousPixels : ctrl ? 0 : cmd::kPasteFromMemory;
    if (id && s.menu.Enabled(id)) SendCommand(s, id);
    return true;
  }
  if (key >= vk::kF1 + 4 && key <= vk::kF1 + 8) {
    SendCommand(s, kFunctionKeyCommands[key - vk::kF1 - 4]);
    return true;
  }
  if (key == vk::kF11) {
    if (shift) SendCommand(s, cmd::kSaveBmp);
    if (ctrl) SendCommand(s, cmd::kSaveReducedBmp);
    return true;
  }
  if (key == vk::kF12) {
    if (!shift && !ctrl) SendCommand(s, cmd::kSaveNative);
    return true;
  }
  return false;
}

}  // namespace

void OnKeyDown(AppState& s, const platform::KeyDownEvent& e) {
  if (s.leftHeld || s.rightHeld) return;
  const int key = e.virtualKey;
  const bool shift = e.modifiers.shift, ctrl = e.modifiers.ctrl;
  if (key >= '1' && key <= '4') {
    SendCommand(s, kLoadPolicyCommands[key - '1']);
    return;
  }
  if (!s.canvas.HasPicture()) return;
  if (LetterOrFunctionKey(s, key, shift, ctrl)) return;
  switch (key) {
    case vk::kLeft:
      LoadPreviousPicture(s);
      break;
    case vk::kRight:
      LoadNextPicture(s);
      break;
    case vk::kUp:
      ZoomKey(s, true, shift);
      break;
    case vk::kDown:
      ZoomKey(s, false, shift);
      break;
    case vk::kSpace:
      SpaceZoom(s, s.currentCommand == cmd::kSmoothingCurve);
      break;
    case vk::kF1:
      PickColour(s, true);
      break;
    case vk::kF1 + 1:
      PickColour(s, false);
      break;
    case vk::kF1 + 2:
      MiddleColour(s);
      break;
    case vk::kF1 + 3:
      CopyColour(s, !shift);
      break;
    case vk::kNumpad0 + 8:
      Nudge(s, 0, -1, ctrl);
      break;
    case vk::kNumpad0 + 2:
      Nudge(s, 0, 1, ctrl);
      break;
    case vk::kNumpad0 + 4:
      Nudge(s, -1, 0, ctrl);
      break;
    case vk::kNumpad0 + 6:
      Nudge(s, 1, 0, ctrl);
      break;
    default:
      break;
  }
}

}  // namespace lumavex
