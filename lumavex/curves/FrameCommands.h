#pragma once
// Command identifiers of the operations that draw frames or commit a work layer.
// Renderer and committer tell the flavours apart by these numbers alone.

namespace lumavex {

// Curves through the base points of list A.
constexpr int kCmdFrameCurve = 40075;
constexpr int kCmdColourChangeCurve = 40132;
constexpr int kCmdTransparentCurve = 40153;

// Continuous straight lines through the base points of list A.
constexpr int kCmdFrameLines = 40109;
constexpr int kCmdColourChangeLines = 40131;
constexpr int kCmdTransparentLines = 40152;

// The smoothing curve of a tablet stroke; drawn as a normal frame.
constexpr int kCmdTabletCurve = 40223;

// The ellipse between the two corner points of the ellipse list.
constexpr int kCmdEllipse = 40090;

// Operations that fill the work layer themselves and commit it here.
constexpr int kCmdSquareFatten = 40192;
constexpr int kCmdFrameGradationPen = 40134;

}  // namespace lumavex
