#pragma once
// How a compression or an expansion ended. The codec never shows anything itself:
// the caller turns a failure into the tool's message.

#include <string>
#include <vector>

namespace veltrane {

enum class CodecFailure {
  None,
  Open,      // a file could not be opened or created
  Read,      // a short read, or a ".VTZ" file whose contents do not fit together
  Write,     // a file could not be written completely; nothing was left under its name
  Memory,    // a picture buffer could not be allocated
  TooLarge,  // a picture too large for the format's 32-bit size
};

struct CodecResult {
  CodecFailure failure = CodecFailure::None;
  std::string fileName;  // the file the failure concerns
  // Names stored in a ".VTZ" file that were not written because they would leave
  // the working folder.
  std::vector<std::string> refusedNames;

  bool Ok() const { return failure == CodecFailure::None; }
};

inline CodecResult Failed(CodecFailure failure, std::string fileName) {
  return {failure, std::move(fileName), {}};
}

}  // namespace veltrane
