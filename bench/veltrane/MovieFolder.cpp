#include "MovieFolder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

namespace veltrane::bench {

namespace {

using Picture = std::vector<uint32_t>;  // per line: kWidth display words, kWidth frame words

constexpr size_t kLineWords = 2 * MovieFolder::kWidth;
constexpr uint32_t kDrawArea = 1u << 25;

uint32_t& Display(Picture& p, int x, int y) {
  return p[y * kLineWords + x];
}
uint32_t& Frame(Picture& p, int x, int y) {
  return p[y * kLineWords + MovieFolder::kWidth + x];
}

// Paints a filled rectangle of one colour, with an opaque outline in the frame layer.
void PaintPatch(Picture& p, std::mt19937& random, int patchWidth, int patchHeight) {
  const int left = static_cast<int>(random() % (MovieFolder::kWidth - patchWidth));
  const int top = static_cast<int>(random() % (MovieFolder::kHeight - patchHeight));
  const uint32_t colour = (random() & 0xFFFFFF) | kDrawArea;
  const uint32_t outline = 0xFF000000u | (random() & 0xFFFFFF);
  for (int y = top; y < top + patchHeight; ++y)
    for (int x = left; x < left + patchWidth; ++x) {
      const bool edge =
          y == top || x == left || y == top + patchHeight - 1 || x == left + patchWidth - 1;
      Display(p, x, y) = edge ? (outline & 0xFFFFFF) | kDrawArea : colour;
      Frame(p, x, y) = edge ? outline : Frame(p, x, y);
    }
}

Picture FirstPicture(std::mt19937& random) {
  Picture p(kLineWords * MovieFolder::kHeight);
  for (int y = 0; y < MovieFolder::kHeight; ++y)
    for (int x = 0; x < MovieFolder::kWidth; ++x) {
      Display(p, x, y) = 0xF0F0F0 | kDrawArea;
      Frame(p, x, y) = ((x / 8 + y / 8) & 1) ? 0x00C0C0C0 : 0x00E0E0E0;  // backdrop checker
    }
  for (int i = 0; i < 200; ++i) PaintPatch(p, random, 40 + random() % 200, 40 + random() % 200);
  return p;
}

// Changes about 5 % of the pixels: 80 patches of 40 x 30.
void NextPicture(Picture& p, std::mt19937& random) {
  for (int i = 0; i < 80; ++i) PaintPatch(p, random, 40, 30);
}

void WritePicture(const std::filesystem::path& path, const Picture& p) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  uint8_t header[54] = {'B', 'M'};
  const bool ok = file && std::fwrite(header, 1, sizeof header, file) == sizeof header &&
                  std::fwrite(p.data(), 4, p.size(), file) == p.size();
  if (!file || std::fclose(file) != 0 || !ok)
    throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

MovieFolder::MovieFolder(int count) {
  std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
  std::mt19937 random(7);
  Picture picture = FirstPicture(random);
  for (int i = 0; i < count; ++i) {
    if (i > 0) NextPicture(picture, random);
    char name[16];
    std::snprintf(name, sizeof name, "%04d.lmv", i);
    WritePicture(path_ / name, picture);
    names_.insert(names_.begin(), name);
  }
}

MovieFolder::~MovieFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

}  // namespace veltrane::bench
