// Expands the input as a ".VTZ" file in a sandbox. Whatever the records say, only
// picture names (".bmp", ".lmv") may appear in the working folder, no planted link
// may be written through and nothing may appear outside the folder.
#include <cctype>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/Sandbox.h"
#include "veltrane/codec/VtzExpand.h"

namespace {

bool EndsWithPictureExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".bmp" || tail == ".lmv";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lumavex::fuzz::Sandbox sandbox({"1.bmp", "2.lmv"});
  sandbox.Prepare(data, size, "input.VTZ");
  platform::TestHost host;
  platform::Allocator allocator(host, lumavex::fuzz::ModestMachine);
  try {
    veltrane::ExpandVtz(sandbox.Work(), "input.VTZ", allocator);
  } catch (const platform::ProcessEnded&) {
    // The program ends itself here (memory exhausted): an answer, not a finding.
  }
  sandbox.Check("input.VTZ", EndsWithPictureExtension);
  return 0;
}
