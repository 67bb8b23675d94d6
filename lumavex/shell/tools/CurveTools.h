#pragma once
// The curve tools (S, Ctrl+S, Shift+S): base points placed in list A, then edited,
// and committed as a spline frame or as continuous straight lines.

#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class CurveTools final : public Tool {
 public:
  // The place-points phase with empty lists, or the edit phase when list A holds points.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

 private:
  // The point of list A being dragged in the edit phase.
  PickedPoint picked_;
};

// The commits of the curve tools: the frame through list A in the flavour and shape
// of `command`, a commit of one of the tools; any other command is fatal.
void CommitCurve(AppState& state, int command);

}  // namespace lumavex
