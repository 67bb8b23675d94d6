#pragma once
// The fourteen zoom levels. A code below 200 magnifies by that whole factor; 200,
// 400, ... 3200 reduce to 1/2 ... 1/32, one screen pixel standing for code/100
// canvas pixels.

#include <optional>

namespace lumavex {

constexpr int kZoomCodes[] = {3200, 1600, 800, 400, 200, 1, 2, 3, 4, 6, 8, 10, 15, 20};

constexpr bool IsReduction(int code) { return code >= 200; }

// Screen pixels per canvas pixel along one axis (magnification), or 1.
constexpr int Magnification(int code) { return IsReduction(code) ? 1 : code; }

// Canvas pixels per screen pixel (reduction), or 1.
constexpr int ReductionFactor(int code) { return IsReduction(code) ? code / 100 : 1; }

// True for the fourteen codes.
bool IsZoomCode(int code);

// The menu command of a zoom code and back.
int ZoomCommand(int code);
std::optional<int> ZoomCodeOfCommand(int command);

// The code the Up or Down key leads to (`shift` for the five-step jump).
int ZoomStep(int code, bool up, bool shift);

}  // namespace lumavex
