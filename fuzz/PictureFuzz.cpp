// Loads the input as a picture of extension LUMAVEX_FUZZ_EXTENSION into the canvas and
// into each paste-source variant. A refusal is an answer; only a crash, a sanitizer
// finding or a hang is a finding.
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "lumavex/files/PictureLoad.h"

using namespace lumavex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      fuzz::PutInput(data, size, std::string("input") + LUMAVEX_FUZZ_EXTENSION);
  platform::TestHost host;
  platform::Allocator allocator(host, fuzz::ModestMachine);
  const LoadServices services{host, allocator};
  try {
    Canvas canvas;
    LoadCanvasPicture(services, path, "input", canvas);
    for (PasteVariant variant :
         {PasteVariant::SameSize, PasteVariant::SameSizeUnmarked, PasteVariant::Bordered}) {
      PixelPlane display, frame;
      LoadPastePicture(services, path, "input", variant, display, frame);
    }
  } catch (const platform::ProcessEnded&) {
    // The program ends itself here (memory exhausted): an answer, not a finding.
  }
  return 0;
}
