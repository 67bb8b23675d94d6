// Extracts the input as a zip archive in a sandbox. Whatever the entries are called,
// only plain files may appear in the working folder, no planted link may be written
// through and nothing may appear outside the folder.
#include <cstdint>
#include <string>

#include "fuzz/Sandbox.h"
#include "veltrane/core/ZipExtract.h"

namespace {

// Left behind only by an extraction that did not clean up after a failure.
bool IsTemporaryName(const std::string& name) {
  return name.find(".vtmp") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lumavex::fuzz::Sandbox sandbox({"1.bmp", "Compress.ini"});
  const auto archive = sandbox.Prepare(data, size, "input.zip");
  veltrane::ExtractFlattened(archive, sandbox.Work());
  sandbox.Check("input.zip", [](const std::string& name) { return !IsTemporaryName(name); });
  return 0;
}
