#pragma once
// The region fills (P, Ctrl+P, Shift+P, Ctrl+Shift+P): a fill at the press and at
// every move with the left button held, all in one undo step, finished at the
// release. The whole-area fills of the menu run at once.

#include <optional>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class FillTools final : public Tool {
 public:
  // Enters the fill mode `id`.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  std::string StatusText(int mode) const override;

 private:
  void FillAt(AppState& state, Sample at);

  // The operation of the button held down: open from the press to the release.
  std::optional<PaintStep> step_;
};

// The handler of the fill commands: the one-colour fill first asks for the RGB
// tolerance (cancelling leaves no mode), the bitmap fill for its picture file
// (cancelling or a failed load keeps the mode as it was); then the fill mode.
void ChooseFillCommand(AppState& state, int id);

// The bitmap fill's file dialog: loads the chosen picture as the fill picture, with
// its origin at the canvas's top-left, unless it is the one already held. False when
// the user cancelled or the load failed; the fill picture held stays then.
bool ChooseFillPicture(AppState& state);

// 40107, 40135, 40140 (after the RGB tolerance dialog; cancelling leaves no mode)
// and 40226: the fill over the whole selected area of the processing square.
void WholeAreaFillCommand(AppState& state, int id);

}  // namespace lumavex
