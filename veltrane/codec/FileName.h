#pragma once
// Names read from files the tool did not make itself are checked before anything is
// written under them.

#include <string_view>

namespace veltrane {

// True when `name` names a file directly inside the working folder: not empty, not
// "." or "..", and without a path separator or a NUL byte. Absolute paths always
// contain a separator and are refused with the rest.
bool IsPlainFileName(std::string_view name);

}  // namespace veltrane
