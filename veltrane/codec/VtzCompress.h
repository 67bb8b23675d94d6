#pragma once
// Compression of a list of pictures into ".VTZ" files.
//
// A ".VTZ" file holds one run of pictures of the same size and extension as records
// of little-endian 32-bit integers and bytes: the first picture as name length,
// name, size S and the S bytes followed by 3 zero bytes; every further picture as
// name length, name, delta length D and the D bytes of its delta (Delta.h) against
// the picture before it. The file is named after the run's first picture with
// ".VTZ" appended.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Memory.h"
#include "veltrane/codec/CodecResult.h"

namespace veltrane {

inline constexpr const char* kVtzSuffix = ".VTZ";

// The largest picture the format's 32-bit size holds together with its 3 zero bytes.
inline constexpr uint64_t kMaxPictureSize = 0xFFFFFFFFull - 3;

// Writes the ".VTZ" files of the pictures `names` of `folder`, taken in the given
// order; a new run starts where the size or the extension changes. `beforePicture`
// runs before each picture is read. One picture is held in memory, and a piece of
// the next while it is compared.
// A failed write leaves no ".VTZ" file of that run behind.
CodecResult CompressPictures(const std::filesystem::path& folder,
                             const std::vector<std::string>& names, platform::Allocator& allocator,
                             const std::function<void()>& beforePicture = {});

}  // namespace veltrane
