#pragma once
// Names read from files the tool did not make itself are checked before anything is
// written under them.

#include <string_view>

namespace veltrane {

// True when `name` names a file directly inside the working folder: not empty, not
// "." or "..", and without a path separator or a NUL byte. Absolute paths always
// contain a separator and are refused with the rest.
bool IsPlainFileName(std::string_view name);

// Whether `name` ends in ".bmp" or ".lmv" (any case): the only pictures the tool
// compresses, and so the only names an expansion may write.
bool IsPictureName(std::string_view name);

}  // namespace veltrane
