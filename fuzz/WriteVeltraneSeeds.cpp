// Writes the seed corpora of Veltrane's fuzz targets with the tool's own writers:
// ".VTZ" files of runs of small BMP and native pictures, and zip archives the
// archiver packs. Usage: WriteVeltraneSeeds <folder>; the corpora go to
// <folder>/vtz and <folder>/zip.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Memory.h"
#include "platform/TestHost.h"
#include "veltrane/codec/VtzCompress.h"
#include "veltrane/core/Archiver.h"

namespace fs = std::filesystem;

namespace {

// A picture of `size` bytes, `variant` changing a few of them.
void WritePicture(const fs::path& path, size_t size, int variant) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + (i % 11 == 0) * variant);
  std::ofstream(path, std::ios::binary) << bytes;
}

platform::MemoryStatus Plenty() {
  platform::MemoryStatus status;
  status.totalPhysical = status.availablePhysical = 1ull << 30;
  status.totalPageFile = status.availablePageFile = 1ull << 30;
  return status;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "cannot write the seed %s\n", what.c_str());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const fs::path seeds = argv[1];
  fs::create_directories(seeds / "vtz");
  fs::create_directories(seeds / "zip");
  char pattern[] = "/tmp/veltrane-seeds-XXXXXX";
  const fs::path work = ::mkdtemp(pattern);
  // Two runs: three BMP pictures of one size, then two native pictures of another.
  const std::vector<std::string> names = {"1.bmp", "2.bmp", "3.bmp", "4.lmv", "5.lmv"};
  for (size_t i = 0; i < names.size(); ++i) WritePicture(work / names[i], i < 3 ? 70 : 45, int(i));
  platform::TestHost host;
  platform::Allocator allocator(host, Plenty);
  if (!veltrane::CompressPictures(work, names, allocator).Ok()) Fail("pictures");
  for (const char* vtz : {"1.bmp.VTZ", "4.lmv.VTZ"})
    fs::copy_file(work / vtz, seeds / "vtz" / vtz, fs::copy_options::overwrite_existing);

  const veltrane::Archiver archiver(work);
  const bool packed = archiver.Run("u one.zip 1.bmp.VTZ").Ok() &&
                      archiver.Run("u two.zip 1.bmp.VTZ").Ok() &&
                      archiver.Run("u two.zip 4.lmv").Ok();
  if (!packed) Fail("archives");
  for (const char* zip : {"one.zip", "two.zip"})
    fs::copy_file(work / zip, seeds / "zip" / zip, fs::copy_options::overwrite_existing);
  fs::remove_all(work);
  return 0;
}
