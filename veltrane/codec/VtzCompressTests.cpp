#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/Delta.h"
#include "veltrane/codec/FolderList.h"
#include "veltrane/codec/VtzCompress.h"

namespace veltrane {
namespace {

using testing::Bytes;
using testing::Concat;
using ::testing::ElementsAre;
using testing::Text;
using testing::Word;

class VtzCompressTest : public ::testing::Test {
 protected:
  CodecResult Compress(const std::string& extension) {
    return CompressPictures(folder.Path(), ListFiles(folder.Path(), extension), memory.allocator);
  }
  void Put(const std::string& name, const Bytes& bytes) {
    testing::WriteBytes(folder / name, bytes);
  }
  Bytes Get(const std::string& name) { return testing::ReadBytes(folder / name); }

  static Bytes FirstRecord(const std::string& name, const Bytes& picture) {
    return Concat({Word(static_cast<uint32_t>(name.size())), Text(name),
                   Word(static_cast<uint32_t>(picture.size())), picture, Bytes(3, 0)});
  }

  testing::TempFolder folder;
  testing::TestAllocator memory;
};

TEST_F(VtzCompressTest, RunOfOnePictureStoresItWholeWithThreeZeroBytes) {
  const Bytes picture = testing::RandomBytes(777, 3);
  Put("0099.lmv", picture);
  ASSERT_TRUE(Compress("lmv").Ok());
  const Bytes file = Get("0099.lmv.VTZ");
  EXPECT_EQ(file.size(), 4u + 8 + 4 + 777 + 3);
  EXPECT_EQ(file, FirstRecord("0099.lmv", picture));
}

TEST_F(VtzCompressTest, IdenticalPicturesGiveZeroMasks) {
  const Bytes picture = testing::RandomBytes(1000, 4);
  Put("a.bmp", picture);
  Put("b.bmp", picture);
  ASSERT_TRUE(Compress("bmp").Ok());
  EXPECT_EQ(Get("b.bmp.VTZ"), Concat({FirstRecord("b.bmp", picture), Word(5), Text("a.bmp"),
                                      Word(32), Bytes(32, 0)}));
}

TEST_F(VtzCompressTest, NumberedPicturesFormOneFileNamedAfterTheHighest) {
  Bytes pictures[3];
  for (int i = 0; i < 3; ++i) {
    pictures[i] = Bytes(128, 0);
    pictures[i][4 * i] = static_cast<uint8_t>(i + 1);
    Put("000" + std::to_string(i) + ".bmp", pictures[i]);
  }
  ASSERT_TRUE(Compress("bmp").Ok());
  EXPECT_THAT(testing::FolderNames(folder.Path()),
              ElementsAre("0000.bmp", "0001.bmp", "0002.bmp", "0002.bmp.VTZ"));
  // 0001 against 0002: word 1 becomes 2, word 2 becomes 0; 0000 against 0001: word 0
  // becomes 1, word 1 becomes 0.
  EXPECT_EQ(Get("0002.bmp.VTZ"),
            Concat({FirstRecord("0002.bmp", pictures[2]), Word(8), Text("0001.bmp"), Word(12),
                    Word(0b110), Word(2), Word(0), Word(8), Text("0000.bmp"), Word(12), Word(0b011),
                    Word(1), Word(0)}));
}

TEST_F(VtzCompressTest, SizeChangeStartsANewFileThatLaterPicturesContinue) {
  const Bytes big(64, 1), small(60, 2);
  Put("0004.lmv", big);
  Put("0003.lmv", big);
  Put("0002.lmv", small);
  Put("0001.lmv", small);
  Put("0000.lmv", big);
  ASSERT_TRUE(Compress("lmv").Ok());
  EXPECT_THAT(ListFiles(folder.Path(), "VTZ"),
              ElementsAre("0004.lmv.VTZ", "0002.lmv.VTZ", "0000.lmv.VTZ"));
  EXPECT_EQ(Get("0004.lmv.VTZ"),
            Concat({FirstRecord("0004.lmv", big), Word(8), Text("0003.lmv"), Word(4), Word(0)}));
  EXPECT_EQ(Get("0002.lmv.VTZ"),
            Concat({FirstRecord("0002.lmv", small), Word(8), Text("0001.lmv"), Word(4), Word(0)}));
  EXPECT_EQ(Get("0000.lmv.VTZ"), FirstRecord("0000.lmv", big));
}

TEST_F(VtzCompressTest, ExtensionChangeStartsANewRun) {
  Put("b.lmv", Bytes(8, 1));
  Put("a.bmp", Bytes(8, 1));
  ASSERT_TRUE(CompressPictures(folder.Path(), {"b.lmv", "a.bmp"}, memory.allocator).Ok());
  EXPECT_EQ(Get("b.lmv.VTZ"), FirstRecord("b.lmv", Bytes(8, 1)));
  EXPECT_EQ(Get("a.bmp.VTZ"), FirstRecord("a.bmp", Bytes(8, 1)));
}

TEST_F(VtzCompressTest, EmptyListWritesNothingAndProgressRunsOncePerPicture) {
  EXPECT_TRUE(Compress("bmp").Ok());
  EXPECT_TRUE(testing::FolderNames(folder.Path()).empty());
  Put("1.bmp", Bytes(4, 1));
  Put("2.bmp", Bytes(8, 1));
  int calls = 0;
  ASSERT_TRUE(
      CompressPictures(folder.Path(), ListFiles(folder.Path(), "bmp"), memory.allocator, [&] {
        ++calls;
      }).Ok());
  EXPECT_EQ(calls, 2);
}

// Pictures of megabytes, one ending inside a delta block and one on a block's end:
// the file holds the deltas of the whole pictures made the plain way.
TEST_F(VtzCompressTest, LargePicturesGiveThePlainDeltasOfWholePictures) {
  for (const size_t size : {size_t{1} << 21, (size_t{3} << 19) + 1001}) {
    SCOPED_TRACE(size);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
      std::filesystem::remove(entry.path());
    Bytes pictures[3];
    pictures[2] = testing::RandomBytes(size, 11);
    for (int i = 1; i >= 0; --i) {
      pictures[i] = pictures[i + 1];
      for (size_t at = static_cast<size_t>(i) * 7; at < size; at += 4093)
        pictures[i][at] = static_cast<uint8_t>(at * 31 + static_cast<size_t>(i));
    }
    for (int i = 0; i < 3; ++i) Put("000" + std::to_string(i) + ".bmp", pictures[i]);
    ASSERT_TRUE(Compress("bmp").Ok());

    Bytes expected = FirstRecord("0002.bmp", pictures[2]);
    Bytes previous = pictures[2];
    previous.resize(size + 3, 0);
    for (int i = 1; i >= 0; --i) {
      Bytes current = pictures[i];
      current.resize(size + 3, 0);
      Bytes delta(MaxDeltaLength(size));
      delta.resize(
          EncodeDeltaPlain(previous.data(), current.data(), WordCount(size), delta.data()));
      const std::string name = "000" + std::to_string(i) + ".bmp";
      expected = Concat({expected, Word(static_cast<uint32_t>(name.size())), Text(name),
                         Word(static_cast<uint32_t>(delta.size())), delta});
    }
    EXPECT_EQ(Get("0002.bmp.VTZ"), expected);
  }
}

TEST_F(VtzCompressTest, MissingPictureIsAnOpenFailureNamingIt) {
  const CodecResult result = CompressPictures(folder.Path(), {"gone.bmp"}, memory.allocator);
  EXPECT_EQ(result.failure, CodecFailure::Open);
  EXPECT_EQ(result.fileName, "gone.bmp");
}

TEST_F(VtzCompressTest, FailedWriteIsReportedAndLeavesNoVtzBehind) {
  Put("0001.bmp", testing::RandomBytes(100000, 5));
  Put("0000.bmp", testing::RandomBytes(100000, 6));
  // The run's temporary file cannot grow as far as the pictures need.
  const testing::ScopedFileSizeLimit full(4096);
  const CodecResult result = Compress("bmp");
  EXPECT_EQ(result.failure, CodecFailure::Write);
  EXPECT_EQ(result.fileName, "0001.bmp.VTZ");
  EXPECT_THAT(testing::FolderNames(folder.Path()), ElementsAre("0000.bmp", "0001.bmp"));
}

// A link planted where a fixed temporary name would be is neither written through
// nor removed; the file it points at keeps its bytes.
TEST_F(VtzCompressTest, ALinkPlantedAtTheTemporaryNameIsNotFollowed) {
  testing::TempFolder outside;
  const testing::Bytes kept = testing::RandomBytes(10, 1);
  testing::WriteBytes(outside / "victim", kept);
  Put("0001.bmp", testing::RandomBytes(1000, 5));
  Put("0000.bmp", testing::RandomBytes(1000, 6));
  std::filesystem::create_symlink(outside / "victim", folder / "0001.bmp.VTZ.vtmp");
  EXPECT_EQ(Compress("bmp").failure, CodecFailure::None);
  EXPECT_EQ(testing::ReadBytes(outside / "victim"), kept);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "0001.bmp.VTZ.vtmp"));
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "0001.bmp.VTZ"));
}

}  // namespace
}  // namespace veltrane
