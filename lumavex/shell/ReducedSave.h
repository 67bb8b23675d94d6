#pragma once
// The reduced BMP save: the shown picture reduced by the ratio of the drawing
// settings and saved as a 24-bit BMP, once from the menu or for a dropped batch of
// native files.

#include <string>
#include <vector>

namespace lumavex {

class AppState;

// Saves the picture reduced by settings.reductionNumerator / reductionDenominator as
// a 24-bit BMP. With `ask` the save dialog proposes the current name with ".bmp";
// without it the file goes beside the current file under that name. The canvas is
// not changed; non-selected pixels are reduced in the colour they truly have. A
// ratio that does not divide a side, or a refused area question, saves nothing.
// Returns success.
bool SaveReducedBmp(AppState& state, bool ask);

// 40213 "縮小BMPセーブ" (Ctrl+F11).
void SaveReducedBmpCommand(AppState& state);

// The continuous reduced save of dropped files: every name must be a native file,
// otherwise nothing happens. Each in turn becomes the current file, is loaded and is
// saved reduced beside itself without asking. Returns the number of files saved.
int SaveReducedBatch(AppState& state, const std::vector<std::string>& names);

}  // namespace lumavex
