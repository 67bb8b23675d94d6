#pragma once
// The paste from memory (Q): the three live curves of the paste shown over the view,
// shaped with the paste tools (5 move, W free deformation, E scale, R rotate, 6 and 7
// two- and four-point move, 8 and 9 two- and four-point scale) by a left drag,
// Shift+Ctrl left click to paste, Shift+Ctrl right click to go back to the copy
// position. The copy (40208) that fills the memory surface, the mirror (40286) and the
// paint with the pasted image (Shift+Q) belong here too.

#include "lumavex/paint/PasteTransforms.h"
#include "lumavex/shell/tools/Tool.h"
#include "platform/Menu.h"

namespace lumavex {

class PasteTools final : public Tool {
 public:
  // 40205: the live curves at the copy position; nothing without a copy.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void PointerMoved(AppState& state, Sample at) override;
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

 private:
  void Paste(AppState& state);

  // Where the last drag step (or mouse move) was: the next step goes from there.
  Sample last_;
  PastePoint picked_;
};

// 40208: copies the band between lists A and B into the memory surface, with the
// border and opacity maps found beside the current picture; refusals show their
// status text and copy nothing.
void CopyToMemoryCommand(AppState& state, int id);

// 40286: mirrors the live paste curves left to right and redraws.
void MirrorPasteCommand(AppState& state, int id);

// 40217 (Shift+Q): the bitmap fill with the image of the last paste, tiled from its
// box's corner.
void PaintPreviousPixelsCommand(AppState& state, int id);

// The keys W, E, R and 5 to 9: choose the paste tool and show its status text. 6 to 9
// act only in the paste phases. False for the other keys.
bool ChoosePasteTransform(AppState& state, int key);

// Frees the memory surface and greys the paste; memory cleaning does it.
void FreeMemorySurface(AppState& state);

// Greys the commands that need a copy (the paste) or a paste (the paint with its
// image), as at the start.
void GreyMemoryPasteCommands(platform::MenuBar& menu);

}  // namespace lumavex
