// Random folders of pictures compressed and expanded back byte for byte.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/FolderList.h"
#include "veltrane/codec/VtzCompress.h"
#include "veltrane/codec/VtzExpand.h"

namespace veltrane {
namespace {

using testing::Bytes;

// A movie-like folder: runs of numbered pictures that change a little from one to
// the next, with now and then a picture of another size.
std::map<std::string, Bytes> MakeFolder(std::mt19937& random) {
  std::map<std::string, Bytes> files;
  const size_t sizes[] = {0, 1, 3, 130, 1001, 4096, 9999};
  for (const char* extension : {".lmv", ".bmp"}) {
    Bytes picture;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      if (picture.empty() || random() % 4 == 0)
        picture = testing::RandomBytes(sizes[random() % 7], static_cast<uint32_t>(random()));
      for (size_t n = random() % 20; picture.size() && n > 0; --n)
        picture[random() % picture.size()] = static_cast<uint8_t>(random());
      char name[16];
      std::snprintf(name, sizeof name, "%04d%s", i, extension);
      files[name] = picture;
    }
  }
  return files;
}

TEST(VtzRoundTripTest, RandomFoldersComeBackByteForByte) {
  std::mt19937 random(2024);
  for (int round = 0; round < 40; ++round) {
    testing::TempFolder folder;
    testing::TestAllocator memory;
    const auto files = MakeFolder(random);
    for (const auto& [name, bytes] : files) testing::WriteBytes(folder / name, bytes);
    for (const char* extension : {"bmp", "lmv"})
      ASSERT_TRUE(
          CompressPictures(folder.Path(), ListFiles(folder.Path(), extension), memory.allocator)
              .Ok());
    for (const auto& [name, bytes] : files) std::filesystem::remove(folder / name);
    for (const std::string& vtz : ListFiles(folder.Path(), "VTZ"))
      ASSERT_TRUE(ExpandVtz(folder.Path(), vtz, memory.allocator).Ok());
    for (const auto& [name, bytes] : files)
      ASSERT_EQ(testing::ReadBytes(folder / name), bytes) << "round " << round << " " << name;
  }
}

}  // namespace
}  // namespace veltrane
