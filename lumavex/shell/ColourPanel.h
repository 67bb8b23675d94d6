#pragma once
// The colour panel at the right edge: swatches and R, G, B and brightness bars of
// the head and termination colours, changed by right-dragging the bars, and the
// small texts drawn over the picture (colours, mouse position, rectangle size).

#include <cstdint>

namespace lumavex {

class AppState;

// A drawing colour: R, G, B in the low 24 bits (red highest) and, in the top byte,
// the brightness, the largest of the three.
uint32_t WithBrightness(uint32_t rgb);

// Rescales a colour to brightness `b`: each component becomes
// (component × b + brightness / 2) / brightness; from brightness 0 all become b.
uint32_t RescaleBrightness(uint32_t colour, int b);

// Draws the strip, swatches and bars into the client area (not shown yet).
void DrawColourPanel(AppState& state);
// Draws the head and termination colour texts.
void DrawColourTexts(AppState& state);
// Draws the mouse's canvas position (when the XY text is on).
void DrawXyText(AppState& state, double x, double y);
// Draws the width and height spanned by two corners (the rectangle tools).
void DrawSizeText(AppState& state, double x1, double y1, double x2, double y2);

// Redraws the panel and the texts and shows them (user message 0x400).
void RedrawColourPanel(AppState& state);
// Updates the XY text for a mouse position and shows it.
void ShowXY(AppState& state, double x, double y);

// A right press at client (x, y): true when it lies on the strip, which then
// follows the right drag through ColourStripDrag.
bool ColourStripPress(AppState& state, int x, int y);
void ColourStripDrag(AppState& state, int x, int y);

// F1 / F2: the colour of the shown layer under the mouse becomes the head or the
// termination colour. F3: both become their middle colour. F4: head to
// termination, or the other way.
void PickColour(AppState& state, bool head);
void MiddleColour(AppState& state);
void CopyColour(AppState& state, bool headToTermination);

}  // namespace lumavex
