#pragma once
// The file lists the tool works through: the files of the working folder with one
// three-letter extension, in the order the tool processes them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// Compares two names byte by byte with ASCII letters folded to lower case.
int CompareNoCase(std::string_view a, std::string_view b);

// True when `name` ends in "." followed by exactly `extension` (three letters,
// compared without regard to case): "0001.BMP" has the extension "bmp", "a.bmpx" not.
bool HasExactExtension(std::string_view name, std::string_view extension);

// True when the last three characters of both names agree without regard to case.
bool SameExtension(std::string_view a, std::string_view b);

// The regular files of `folder` with the three-letter `extension`, in descending
// case-insensitive name order (0099 before 0098). An unreadable folder lists nothing.
std::vector<std::string> ListFiles(const std::filesystem::path& folder, std::string_view extension);

}  // namespace veltrane
