#pragma once
// An input mode of the program: what choosing its commands, the mouse buttons and
// the drags do in its phases, and what it draws over the view. One instance of each
// tool belongs to the App; the command registry names the tool of every mode.

#include <string>

#include "lumavex/curves/Spline.h"
#include "platform/Events.h"

namespace lumavex {

class AppState;

class Tool {
 public:
  virtual ~Tool() = default;

  // The command case of `id`, one of the tool's commands or phases.
  virtual void Enter(AppState& state, int id) = 0;

  // A press of the left or right button at canvas position `at` in the current mode.
  virtual void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) {}
  virtual void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) {}
  // A move with the left button held (or a nudge of the numeric keypad) to `at`.
  virtual void LeftDrag(AppState& state, Sample at) {}
  virtual void LeftRelease(AppState& state, Sample at) {}
  // Any move of the mouse over a picture, after the drag step, to `at`: for the
  // marks that follow the mouse.
  virtual void PointerMoved(AppState& state, Sample at) {}

  // Inverts the marks the tool shows over the view (base points, a pen's outline);
  // drawing them twice removes them.
  virtual void InvertPreview(AppState& state) {}

  // The status text of mode `mode`.
  virtual std::string StatusText(int mode) const = 0;
};

}  // namespace lumavex
