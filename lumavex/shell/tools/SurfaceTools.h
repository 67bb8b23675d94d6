#pragma once
// The two-curve surface tools: the fade surfaces (Ctrl+Z, Shift+Z, Z), the
// directional gradation (Shift+G) and the copy to memory. The fade curve goes into list A, the width curve
// into list B; both are then edited and drawn as a curved or a polygon surface. The
// directional gradation adds a direction list, started a third of the way from
// curve 1 to curve 2 and edited before the drawing.

#include "common/ChainList.h"
#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class SurfaceTools final : public Tool {
 public:
  // The tool commands choose the phase from the lists that exist; 40222 checks the
  // two curves and starts the direction list.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

 private:
  void EnterDirectionPhase(AppState& state, int tool);
  void EditPress(AppState& state, Sample at, platform::Modifiers modifiers);

  // The point being dragged and the list that holds it.
  PickedPoint picked_;
  common::ChainHandle pickedChain_ = common::kNoChain;
};

// The commits of the fade surfaces: the curved (40045, 40168, 40169) or the polygon
// surface (40111, 40166, 40167) between lists A and B; any other command is fatal.
void CommitFadeSurface(AppState& state, int command);

// 40222, sent by the directional gradation's edit phase: the count check, then the
// direction phase with its list started.
void DirectionPhaseCommand(AppState& state, int command);

// 40221: the directional gradation of lists A and B along the direction list.
void CommitDirectionalGradation(AppState& state, int command);

}  // namespace lumavex
