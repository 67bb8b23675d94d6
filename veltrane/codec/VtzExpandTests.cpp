#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/VtzCompress.h"
#include "veltrane/codec/VtzExpand.h"

namespace veltrane {
namespace {

using testing::Bytes;
using testing::Concat;
using ::testing::ElementsAre;
using testing::Text;
using testing::Word;

Bytes Record(const std::string& name, uint32_t value, const Bytes& data) {
  return Concat({Word(static_cast<uint32_t>(name.size())), Text(name), Word(value), data});
}

class VtzExpandTest : public ::testing::Test {
 protected:
  CodecResult Expand(const Bytes& vtz) {
    testing::WriteBytes(folder / "x.VTZ", vtz);
    return ExpandVtz(folder.Path(), "x.VTZ", memory.allocator);
  }
  Bytes Get(const std::string& name) { return testing::ReadBytes(folder / name); }

  testing::TempFolder folder;
  testing::TestAllocator memory;
};

TEST_F(VtzExpandTest, OddSizedPicturesComeBackExactlyAndOverwrite) {
  Bytes first = testing::RandomBytes(1001, 7), second = first;
  second[1000] ^= 1;
  second[3] ^= 1;
  testing::WriteBytes(folder / "2.bmp", first);
  testing::WriteBytes(folder / "1.bmp", second);
  ASSERT_TRUE(CompressPictures(folder.Path(), {"2.bmp", "1.bmp"}, memory.allocator).Ok());
  testing::WriteBytes(folder / "2.bmp", Bytes(5000, 0));  // stale copy to be replaced
  std::filesystem::remove(folder / "1.bmp");
  ASSERT_TRUE(ExpandVtz(folder.Path(), "2.bmp.VTZ", memory.allocator).Ok());
  EXPECT_EQ(Get("2.bmp"), first);
  EXPECT_EQ(Get("1.bmp"), second);
}

TEST_F(VtzExpandTest, HostileNamesAreRefusedAndTheRestIsWritten) {
  const Bytes picture(8, 1);
  const Bytes sameDelta = Concat({Word(0)});
  const CodecResult result =
      Expand(Concat({Record("../escape.bmp", 8, Concat({picture, Bytes(3, 0)})),
                     Record("/tmp/absolute.bmp", 4, sameDelta), Record("..", 4, sameDelta),
                     Record("", 4, sameDelta), Record("ok.bmp", 4, sameDelta)}));
  ASSERT_TRUE(result.Ok());
  EXPECT_THAT(result.refusedNames, ElementsAre("../escape.bmp", "/tmp/absolute.bmp", "..", ""));
  EXPECT_THAT(testing::FolderNames(folder.Path()), ElementsAre("ok.bmp", "x.VTZ"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path().parent_path() / "escape.bmp"));
  EXPECT_EQ(Get("ok.bmp"), picture);
}

// Only pictures are ever compressed: a stored name of anything else (the file itself,
// the settings file, the tool) makes the file a foreign one, and nothing of that name
// is written.
TEST_F(VtzExpandTest, NamesThatAreNoPicturesAreRefusedAsAForeignFile) {
  const Bytes picture(8, 1);
  for (const std::string name : {"x.VTZ", "Compress.ini", "Veltrane", "a.bmp.VTZ", "bmp", "a.wav"}) {
    SCOPED_TRACE(name);
    testing::WriteBytes(folder / "Compress.ini", Bytes{'k'});
    const Bytes vtz = Concat({Record("0001.bmp", 8, Concat({picture, Bytes(3, 0)})),
                              Record(name, 4, Concat({Word(0)}))});
    const CodecResult result = Expand(vtz);
    EXPECT_EQ(result.failure, CodecFailure::Read);
    EXPECT_EQ(result.fileName, "x.VTZ");
    EXPECT_EQ(Get("Compress.ini"), Bytes{'k'});
    EXPECT_EQ(Get("x.VTZ"), vtz);
    EXPECT_FALSE(std::filesystem::exists(folder / "Veltrane"));
  }
  for (const std::string name : {"0002.BMP", "0003.Lmv"}) {
    EXPECT_TRUE(Expand(Record(name, 4, Bytes(7, 0))).Ok()) << name;
    EXPECT_TRUE(std::filesystem::exists(folder / name));
  }
}

TEST_F(VtzExpandTest, EveryTruncationIsAReadFailure) {
  const Bytes picture = testing::RandomBytes(300, 8);
  Bytes next = picture;
  next[100] ^= 0xFF;
  testing::WriteBytes(folder / "b.lmv", picture);
  testing::WriteBytes(folder / "a.lmv", next);
  ASSERT_TRUE(CompressPictures(folder.Path(), {"b.lmv", "a.lmv"}, memory.allocator).Ok());
  const Bytes whole = Get("b.lmv.VTZ");
  const size_t firstRecordEnd = 4 + 5 + 4 + 300 + 3;
  for (size_t length = 0; length < whole.size(); ++length) {
    if (length == firstRecordEnd) continue;  // a complete run of one picture
    const CodecResult result = Expand(Bytes(whole.begin(), whole.begin() + length));
    EXPECT_EQ(result.failure, CodecFailure::Read) << length;
    EXPECT_EQ(result.fileName, "x.VTZ");
  }
}

TEST_F(VtzExpandTest, DeltaShorterThanItsMasksAskIsAReadFailure) {
  // The mask announces two changed words, the delta carries one.
  const Bytes vtz =
      Concat({Record("p.bmp", 8, Bytes(11, 0)), Record("q.bmp", 8, Concat({Word(3), Word(9)}))});
  EXPECT_EQ(Expand(vtz).failure, CodecFailure::Read);
  EXPECT_FALSE(std::filesystem::exists(folder / "q.bmp"));
}

TEST_F(VtzExpandTest, SizesThatDoNotFitTheFileAreRefusedBeforeAllocating) {
  // An allocator with little memory ends the process if asked for a large block.
  platform::TestHost host;
  platform::Allocator small(host, [] {
    platform::MemoryStatus status;
    status.availablePageFile = 64 << 20;
    return status;
  });
  const auto expand = [&](const Bytes& vtz) {
    testing::WriteBytes(folder / "x.VTZ", vtz);
    return ExpandVtz(folder.Path(), "x.VTZ", small).failure;
  };
  EXPECT_EQ(expand(Record("p.bmp", 0xFFFFFFF0u, Bytes(16, 0))), CodecFailure::Read);
  EXPECT_EQ(expand(Concat({Word(0xFFFFFFFFu), Text("p.bmp")})), CodecFailure::Read);
  const Bytes first = Record("p.bmp", 4, Bytes(7, 0));
  EXPECT_EQ(expand(Concat({first, Record("q.bmp", 0xFFFFFFF0u, Word(0))})), CodecFailure::Read);
  // A delta longer than any picture of this size could need.
  EXPECT_EQ(expand(Concat({first, Record("q.bmp", 12, Bytes(12, 0))})), CodecFailure::Read);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(VtzExpandTest, EmptyOrMissingFiles) {
  EXPECT_EQ(Expand({}).failure, CodecFailure::Read);
  const CodecResult missing = ExpandVtz(folder.Path(), "none.VTZ", memory.allocator);
  EXPECT_EQ(missing.failure, CodecFailure::Open);
  EXPECT_EQ(missing.fileName, "none.VTZ");
}

TEST_F(VtzExpandTest, EmptyPictureRoundTrips) {
  testing::WriteBytes(folder / "1.bmp", {});
  testing::WriteBytes(folder / "0.bmp", {});
  ASSERT_TRUE(CompressPictures(folder.Path(), {"1.bmp", "0.bmp"}, memory.allocator).Ok());
  std::filesystem::remove(folder / "0.bmp");
  ASSERT_TRUE(ExpandVtz(folder.Path(), "1.bmp.VTZ", memory.allocator).Ok());
  EXPECT_TRUE(Get("0.bmp").empty());
}

}  // namespace
}  // namespace veltrane
