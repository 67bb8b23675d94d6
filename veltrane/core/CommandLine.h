#pragma once
// The archiver's command lines: arguments separated by blanks, an argument in
// double quotes may hold blanks, and inside quotes a backslash takes the next
// character literally.

#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

std::vector<std::string> SplitCommandLine(std::string_view line);

// `argument` as it must appear in a command line: unchanged when it holds no blank,
// quote or backslash, else quoted with its quotes and backslashes escaped.
std::string QuoteArgument(std::string_view argument);

}  // namespace veltrane
