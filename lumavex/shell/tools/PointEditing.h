#pragma once
// What the base point tools share: entering a mode, holding points inside the
// picture, dragging the picked point, and the marks that show a chain over the view.

#include <span>
#include <string>
#include <vector>

#include "common/ChainList.h"
#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

class AppState;

// Makes `mode` the current command with `status` as its status text and redraws.
void EnterToolMode(AppState& state, int mode, const std::string& status);

// (x, y) held inside the picture.
Sample ClampedToPicture(const AppState& state, Sample at);

// Screen pixels per canvas pixel at the current zoom.
double ViewZoom(const AppState& state);

// Moves the picked point of `chain` to `at` (held inside the picture) and shows it.
// Nothing when no point is picked or the point has left the chain.
void DragPickedPoint(AppState& state, const PickedPoint& picked, common::ChainHandle chain,
                     Sample at);

// Inverts squares at the points of `chain`, with `lines` the lines between them and,
// with `splineCount`, the spline's samples as single pixels.
void InvertChainMarks(AppState& state, common::ChainHandle chain, bool lines, int splineCount);
// The same marks for the base points `points`.
void InvertPointMarks(AppState& state, std::span<const Sample> points, bool lines,
                      int splineCount);
// Inverts the line between canvas positions `p` and `q` over the view.
void InvertCanvasLine(AppState& state, Sample p, Sample q);

// Inverts squares at `points` with the lines between them, the last joined to the
// first: the corners of a paste.
void InvertPointLoop(AppState& state, const std::vector<Sample>& points);

// 40234: every base point of every chain back into the picture.
void MoveAllBasePointsIntoPicture(AppState& state);

}  // namespace lumavex
