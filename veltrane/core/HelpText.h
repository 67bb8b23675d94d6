#pragma once
// The text of the help box: how to compress, how to expand, how to install.

#include <string>

namespace veltrane {

const std::string& HelpText();

}  // namespace veltrane
