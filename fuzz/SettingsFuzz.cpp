// Loads the input as a ".draw_define" file; whatever loads must save and load back to
// the same bytes.
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzSupport.h"
#include "lumavex/shell/SettingsFile.h"

using namespace lumavex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::PutInput(data, size, "input.draw_define");
  platform::TestHost host;
  DrawingSettings settings;
  DrawingColours colours;
  if (!LoadDrawingSettings(host, path, settings, colours)) return 0;
  const auto saved = EncodeDrawingSettings(settings, colours, nullptr);
  if (!saved) return 0;  // a text the file format cannot hold again
  const std::string again = fuzz::PutInput(reinterpret_cast<const uint8_t*>(saved->data()),
                                           saved->size(), "again.draw_define");
  DrawingSettings reloaded;
  DrawingColours reloadedColours;
  if (!LoadDrawingSettings(host, again, reloaded, reloadedColours)) std::abort();
  if (EncodeDrawingSettings(reloaded, reloadedColours, nullptr) != saved) std::abort();
  return 0;
}
