#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Input.h"
#include "lumavex/shell/Shell.h"
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
    {'A', 40064, 40159, 0, 40062},     {'S', 40034, 40129, 40150, 40087},
    {'Z', 40162, 40038, 40037, 0},     {'P', 40050, 40076, 40051, 40120},
    {'G', 40121, 40218, 40122, 0},     {'X', 40134, 0, 40133, 0},
    {'C', 40104, 0, 40125, 0},         {'D', 40053, 0, 40124, 0},
    {'T', 40155, 0, 40154, 0},         {'N', 40086, 0, 40123, 0},
    {'M', 40128, 0, 40127, 0},         {'L', 40223, 40223, 40224, 40224},
    {'O', 40137, 40137, 40137, 40137}, {'B', 40029, 40029, 40029, 40029},
    {'F', 40030, 40188, 40030, 40188}, {'U', 40008, 40180, 40284, 40180},
};

constexpr int kFunctionKeyCommands[] = {40066, 40077, 40078, 40031, 40044};  // F5..F9
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
      SendCommand(s, 40063);
      SendCommand(s, 40064);
    } else {
      SendCommand(s, shift ? 40160 : ctrl ? 40200 : 40065);
    }
    return true;
  }
  if (key == 'Q') {
    const int id = shift ? 40217 : ctrl ? 0 : 40205;
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
    case vk::kLeft: LoadPreviousPicture(s); break;
    case vk::kRight: LoadNextPicture(s); break;
    case vk::kUp: ZoomKey(s, true, shift); break;
    case vk::kDown: ZoomKey(s, false, shift); break;
    case vk::kSpace: SpaceZoom(s, s.currentCommand == 40223); break;
    case vk::kF1: PickColour(s, true); break;
    case vk::kF1 + 1: PickColour(s, false); break;
    case vk::kF1 + 2: MiddleColour(s); break;
    case vk::kF1 + 3: CopyColour(s, !shift); break;
    case vk::kNumpad0 + 8: Nudge(s, 0, -1, ctrl); break;
    case vk::kNumpad0 + 2: Nudge(s, 0, 1, ctrl); break;
    case vk::kNumpad0 + 4: Nudge(s, -1, 0, ctrl); break;
    case vk::kNumpad0 + 6: Nudge(s, 1, 0, ctrl); break;
    default: break;
  }
}

}  // namespace lumavex
