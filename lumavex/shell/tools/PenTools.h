#pragma once
// The pens (N, G, M, C, X, D, T and the area pens): a stroke from the press to the
// release, one brush application at each mouse position, and the brush outline that
// follows the mouse, drawn by inversion.

#include <optional>

#include "lumavex/canvas/Rect.h"
#include "lumavex/paint/Pens.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class PenTools final : public Tool {
 public:
  // Activates pen `id`: its width becomes the brush width, its name the status.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  void PointerMoved(AppState& state, Sample at) override;
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

 private:
  PenKind kind_ = PenKind::Normal;
  int width_ = 0;
  // The averaging pens' sums, kept from stroke to stroke.
  NeighbourSums sums_;
  // The stroke of the button held down.
  std::optional<PenStroke> stroke_;
  // The picture pixels the outline shown over the view surrounds.
  std::optional<PixelRect> outline_;
};

// The pen that command `id` activates, with the program's settings and head colour.
Pen PenOfCommand(const AppState& state, int id);

}  // namespace lumavex
