#pragma once
// The two commands between pictures and ".VTZ" files.

#include "veltrane/core/ToolContext.h"

namespace veltrane {

// Moves the old ".VTZ" files to the recycle bin, then compresses the "*.bmp" and
// then the "*.lmv" pictures, each kind with its own progress run.
// Returns the one-line result.
std::string CompressAllPictures(ToolContext& tool);

// Expands every ".VTZ" file of the working folder, overwriting the pictures.
// Returns the one-line result.
std::string ExpandAllPictures(ToolContext& tool);

}  // namespace veltrane
