#include "lumavex/shell/KeyTable.h"

#include <algorithm>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PasteTools.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {
namespace {

namespace vk = platform::vk;

// The commands of a key: plain, Shift, Ctrl, Shift+Ctrl (0: none).
struct KeyRow {
  int key;
  int plain, shift, ctrl, both;
  int bothThen = 0;          // sent after the Shift+Ctrl command
  bool whenEnabled = false;  // only while the command's menu item is enabled
};

constexpr KeyRow kKeyRows[] = {
    {'A', cmd::kSelectArea, cmd::kSetSelectPen, 0, cmd::kSelectAll},
    {'H', cmd::kDeselectArea, cmd::kSetDeselectPen, cmd::kReverseArea, cmd::kDeselectAll,
     cmd::kSelectArea},
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
    {'Q', cmd::kPasteFromMemory, cmd::kPaintPreviousPixels, 0, cmd::kPaintPreviousPixels, 0, true},
    {'L', cmd::kSmoothingCurve, cmd::kSmoothingCurve, cmd::kSetSmoothingCurve,
     cmd::kSetSmoothingCurve},
    {'O', cmd::kSetBorderOpacity, cmd::kSetBorderOpacity, cmd::kSetBorderOpacity,
     cmd::kSetBorderOpacity},
    {'B', cmd::kBitmapView, cmd::kBitmapView, cmd::kBitmapView, cmd::kBitmapView},
    {'F', cmd::kFrameView, cmd::kPasteString, cmd::kFrameView, cmd::kPasteString},
    {'U', cmd::kUndo, cmd::kRedo, cmd::kUndoFrameOnly, cmd::kRedo},
    {'K', cmd::kLightTable, cmd::kLightTable, cmd::kLightTable, cmd::kLightTable},
    {'J', cmd::kFlipbook, cmd::kFlipbook, cmd::kFlipbook, cmd::kFlipbook},
    {vk::kF1 + 4, cmd::kSetMaxOpacity, cmd::kSetMaxOpacity, cmd::kSetMaxOpacity,
     cmd::kSetMaxOpacity},
    {vk::kF1 + 5, cmd::kSetHeadFade, cmd::kSetHeadFade, cmd::kSetHeadFade, cmd::kSetHeadFade},
    {vk::kF1 + 6, cmd::kSetTerminationFade, cmd::kSetTerminationFade, cmd::kSetTerminationFade,
     cmd::kSetTerminationFade},
    {vk::kF1 + 7, cmd::kSetSplinePoints, cmd::kSetSplinePoints, cmd::kSetSplinePoints,
     cmd::kSetSplinePoints},
    {vk::kF1 + 8, cmd::kSetFrameWidth, cmd::kSetFrameWidth, cmd::kSetFrameWidth,
     cmd::kSetFrameWidth},
    {vk::kF11, 0, cmd::kSaveBmp, cmd::kSaveReducedBmp, cmd::kSaveBmp, cmd::kSaveReducedBmp},
    {vk::kF12, cmd::kSaveNative, 0, 0, 0},
};

// The keys 1 to 4, which act without a picture too.
constexpr int kLoadPolicyCommands[] = {cmd::kLoadSameSize, cmd::kLoadPolicy2, cmd::kLoadPolicy3,
                                       cmd::kLoadPolicy4};

int Choose(const KeyRow& k, bool shift, bool ctrl) {
  return shift && ctrl ? k.both : shift ? k.shift : ctrl ? k.ctrl : k.plain;
}

// Numeric keypad 8, 2, 4, 6: moves the cursor a screen pixel (ten with Ctrl) and
// drags the picked point there, as if the mouse had moved with the left button down.
void Nudge(AppState& s, int dx, int dy, bool ctrl) {
  if (!NudgesPickedPoint(s.currentCommand)) return;
  const int step = ctrl ? 10 : 1;
  NoteMousePosition(s, s.view.mouseX + dx * step, s.view.mouseY + dy * step);
  s.host.SetCursorPosition(s.view.mouseX, s.view.mouseY);
  const auto [x, y] = ClientToCanvas(s, s.view.mouseX, s.view.mouseY);
  if (Tool* tool = CurrentTool(s)) tool->LeftDrag(s, {x, y});
}

// Sends the commands of a key of the table; false for the other keys.
bool CommandKey(AppState& s, int key, bool shift, bool ctrl) {
  const auto row = std::ranges::find(kKeyRows, key, &KeyRow::key);
  if (row == std::end(kKeyRows)) return false;
  const int id = Choose(*row, shift, ctrl);
  if (!id || (row->whenEnabled && !s.menu.Enabled(id))) return true;
  SendCommand(s, id);
  if (shift && ctrl && row->bothThen) SendCommand(s, row->bothThen);
  return true;
}

}  // namespace

void OnKeyDown(AppState& s, const platform::KeyDownEvent& e) {
  // Shift marks a turning point also while the left button, standing in for the pen, is held.
  if (e.virtualKey == vk::kShift && s.currentCommand == cmd::kSmoothingCurve) {
    MarkTurningPoint(s);
    return;
  }
  if (s.leftHeld || s.rightHeld) return;
  const int key = e.virtualKey;
  const bool shift = e.modifiers.shift, ctrl = e.modifiers.ctrl;
  if (key >= '1' && key <= '4') {
    SendCommand(s, kLoadPolicyCommands[key - '1']);
    return;
  }
  if (!s.canvas.HasPicture()) return;
  if (CommandKey(s, key, shift, ctrl)) return;
  if (ChoosePasteTransform(s, key)) return;
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

std::vector<int> KeyCommands() {
  std::vector<int> ids(std::begin(kLoadPolicyCommands), std::end(kLoadPolicyCommands));
  for (const KeyRow& k : kKeyRows)
    for (int id : {k.plain, k.shift, k.ctrl, k.both, k.bothThen})
      if (id) ids.push_back(id);
  return ids;
}

}  // namespace lumavex
