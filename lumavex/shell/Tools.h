#pragma once
// The input modes of the curve and rectangle tools: which phase a tool is in, what
// a press, a drag and a release do there, and the marks that show its base points.

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "platform/Events.h"

namespace lumavex {

class AppState;

// Curve tools (S, Ctrl+S, Shift+S): enter the place-points phase with empty chains,
// or the edit phase when list A already holds points.
void EnterCurveTool(AppState& state, int tool);
// Rectangle tools (ellipse, rectangle save): the edit phase when the tool's chain
// holds points, else the first phase.
void EnterRectangleTool(AppState& state, int tool);

// The commits of the curve tools and the ellipse.
void CommitCurve(AppState& state, int command);
void DrawEllipseCommand(AppState& state);
// 40234: every base point of every chain back into the picture.
void MoveAllBasePointsIntoPicture(AppState& state);

// A press, a move with the left button held, a release, in the current mode.
// `x`, `y` are the press's canvas position.
void ToolLeftPress(AppState& state, double x, double y, platform::Modifiers modifiers);
void ToolRightPress(AppState& state, double x, double y, platform::Modifiers modifiers);
void ToolLeftDrag(AppState& state, double x, double y);
void ToolLeftRelease(AppState& state, double x, double y);

// Inverts the base point marks of the current mode (squares, lines, spline dots);
// drawing them twice removes them.
void InvertBasePointMarks(AppState& state);

}  // namespace lumavex
