#pragma once
// The area commands: the select and deselect region fills (A, H), which change the
// selection at the press and along the drag without an undo step; select all,
// deselect all and reverse (Ctrl+Shift+A, Ctrl+Shift+H, Ctrl+H) over the processing
// square; the square fatten of the selected area and the colour line-art intake.

#include <optional>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class AreaTools final : public Tool {
 public:
  // Enters the select or deselect fill mode `id`.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  std::string StatusText(int mode) const override;

 private:
  void FillAt(AppState& state, Sample at);

  // The selection change of the button held down: open from the press to the release.
  std::optional<PaintStep> step_;
};

// 40064, 40065: enters the select or deselect fill mode while a picture exists.
void ChooseAreaFillCommand(AppState& state, int id);

// 40062, 40063, 40200: the selection change over the processing square, at once.
void ChangeSelectionCommand(AppState& state, int id);

// 40192: the fatten dialog, then (after OK) the square fatten in one undo step.
// Cancelling leaves no mode.
void SquareFattenCommand(AppState& state, int id);

// 40138: the colour line-art intake in one undo step, with the progress bar; the
// status text shown before it is shown again afterwards.
void ColourLineArtIntakeCommand(AppState& state, int id);

}  // namespace lumavex
