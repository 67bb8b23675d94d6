#pragma once
// The rectangle tools (the ellipse, Ctrl+Shift+S, and the rectangle save): two
// opposite corners dragged out, then edited, then committed.

#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class RectangleTools final : public Tool {
 public:
  // The edit phase when the tool's chain holds points, else the first phase.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

 private:
  // The corner being dragged: the opposite corner in the drag phase, the nearest
  // corner in the edit phase.
  PickedPoint picked_;
  // A Shift+Ctrl click in the edit phase of a tool that commits at the release.
  bool commitAtRelease_ = false;
};

// 40090: the ellipse between the two corners of the ellipse list.
void DrawEllipseCommand(AppState& state);

}  // namespace lumavex
