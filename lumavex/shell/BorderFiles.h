#pragma once
// The border and opacity pictures that a copy to memory reads beside the source
// picture: "<name>.border.bmp" (black inside the figure, white where nothing may be
// pasted) and "<name>.opacity.bmp" (white where the paste is transparent), with the
// commands that make and save them.

#include <string>

#include "lumavex/paint/MemorySurface.h"

namespace lumavex {

class AppState;

// `name` with its extension (from the last "." of its file part) replaced by `extension`.
std::string SiblingName(const std::string& name, const std::string& extension);

// The border and opacity maps of the current picture: each loaded when its file exists
// beside the picture and has the picture's size (the opacity map only with a border
// map); otherwise empty. A file that cannot be read shows why and is left out.
void LoadSurfaceMaps(AppState& state, GreyMap& border, GreyMap& opacity);

// 40227: after "ＬＭＶセーブしましたか？", selects everything, runs the one-colour fill over
// the whole selection and saves the picture as a 256-level grey "<name>.border.bmp".
void MakeBorderFileCommand(AppState& state, int id);

// 40228: a loaded "*.border.bmp" without frames is selected whole, filled as above and
// renamed "*.opacity.bmp", ready to be shaded.
void MakeOpacityCommand(AppState& state, int id);

// 40229: saves a "*.opacity.bmp" picture through the 256-level grey save.
void SaveOpacityFileCommand(AppState& state, int id);

}  // namespace lumavex
