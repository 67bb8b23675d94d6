// Writes the seed corpora of Lumavex's fuzz targets with the program's own writers:
// small pictures of odd sizes as native, BMP (every depth) and PNG files, settings
// files, session files and journals. Usage: WriteSeeds <folder>; the corpus of each target goes to
// <folder>/<target>.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/Seeds.h"
#include "lumavex/canvas/Canvas.h"
#include "lumavex/files/BmpWrite.h"
#include "lumavex/files/NativeFile.h"
#include "lumavex/files/Png.h"
#include "lumavex/files/SaveFile.h"
#include "lumavex/shell/SettingsFile.h"
#include "platform/Progress.h"
#include "platform/TestHost.h"

using namespace lumavex;
namespace fs = std::filesystem;

namespace {

constexpr size_t kBlockBytes = 1 << 16;

// A picture with a colour ramp and a few frame pixels, so that the rows differ.
Canvas SeedPicture(platform::Allocator& allocator, int width, int height) {
  Canvas canvas;
  platform::NoProgress progress;
  CreateBlankPicture(canvas, allocator, width, height, progress);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      canvas.display.At(x, y) = 0x02000000u | (x * 40u) << 16 | (y * 50u) << 8 | ((x + y) * 30u);
      if ((x + y) % 3 == 0) canvas.frame.At(x, y) = 0x80000000u | (y * 20u);
    }
  return canvas;
}

template <typename Writer>
void Save(const fs::path& path, Writer write) {
  SaveFile file(path.string());
  if (!file.Open() || write(file) != WriteResult::Written || !file.Commit())
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void WritePictures(const fs::path& folder, platform::UiHost& host, platform::Allocator& allocator) {
  std::vector<uint8_t> block(kBlockBytes);
  for (auto [seedWidth, seedHeight] : {std::pair{1, 1}, {2, 3}, {5, 4}, {7, 2}}) {
    const int w = seedWidth, h = seedHeight;  // captured below
    const Canvas canvas = SeedPicture(allocator, w, h);
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    Save(folder / "native" / (size + ".lmv"), [&](SaveFile& file) {
      return WriteNativeFile(file, canvas, {0, 0, w, h}, block.data(), block.size());
    });
    for (int bits : {24, 8, 4, 2, 1})
      Save(folder / "bmp" / (size + "-" + std::to_string(bits) + ".bmp"), [&](SaveFile& file) {
        return WriteBmpFile(file, canvas.display, canvas.pictureHeader, bits, block.data(),
                            block.size());
      });
    for (PngColour colour : {PngColour::Rgb, PngColour::Grey}) {
      const fs::path path =
          folder / "png" / (size + (colour == PngColour::Rgb ? "-rgb" : "-grey") + ".png");
      std::FILE* file = std::fopen(path.c_str(), "wb");
      if (!file) continue;
      WritePng(canvas.display, colour, FileByteSink(file), host);
      std::fclose(file);
    }
  }
}

void WriteSettings(const fs::path& folder) {
  DrawingSettings plain;
  DrawingSettings texts;
  texts.pasteText = "あいう abc";
  texts.fontName = "IPAGothic";
  texts.frameWidth = 12.5;
  texts.splinePointCount = 100000;
  int n = 0;
  for (const DrawingSettings& s : {plain, texts}) {
    const auto bytes = EncodeDrawingSettings(s, {0xFF102030, 0x80405060}, nullptr);
    if (!bytes) continue;
    std::FILE* file =
        std::fopen((folder / "settings" / (std::to_string(n++) + ".draw_define")).c_str(), "wb");
    if (!file) continue;
    std::fwrite(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const fs::path folder = argv[1];
  for (const char* target : {"native", "bmp", "png", "jpeg", "settings", "session", "undo"})
    fs::create_directories(folder / target);
  platform::TestHost host;
  platform::Allocator allocator(host, [] {
    platform::MemoryStatus status;
    status.availablePageFile = status.totalPageFile = 1ull << 30;
    return status;
  });
  WritePictures(folder, host, allocator);
  WriteSettings(folder);
  fuzz::WriteSessionSeeds(folder / "session");
  fuzz::WriteJournalSeeds(folder / "undo");
  return 0;
}
