#pragma once
// Expansion of one ".VTZ" file (format in VtzCompress.h) back into its pictures.

#include <filesystem>
#include <string>

#include "platform/Memory.h"
#include "veltrane/codec/CodecResult.h"

namespace veltrane {

// Writes every picture of the ".VTZ" file `vtzName` of `folder` under its stored
// name in `folder`, replacing files of that name. Stored names that would leave the
// folder are not written and are listed in the result. A file whose records do not
// fit together ends with CodecFailure::Read before anything is read past its end.
CodecResult ExpandVtz(const std::filesystem::path& folder, const std::string& vtzName,
                      platform::Allocator& allocator);

}  // namespace veltrane
