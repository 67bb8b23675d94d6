#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/FolderList.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;

TEST(FolderListTest, ExtensionMustBeExactlyThreeLettersAfterADot) {
  EXPECT_TRUE(HasExactExtension("0001.bmp", "bmp"));
  EXPECT_TRUE(HasExactExtension("0001.BMP", "bmp"));
  EXPECT_TRUE(HasExactExtension("x.vtz", "VTZ"));
  EXPECT_TRUE(HasExactExtension(".bmp", "bmp"));
  EXPECT_FALSE(HasExactExtension("0001.bmpx", "bmp"));
  EXPECT_FALSE(HasExactExtension("0001xbmp", "bmp"));
  EXPECT_FALSE(HasExactExtension("bmp", "bmp"));
  EXPECT_FALSE(HasExactExtension("0001.lmv", "bmp"));
}

TEST(FolderListTest, ListsMatchingFilesInDescendingOrderIgnoringCase) {
  testing::TempFolder folder;
  for (const char* name :
       {"0001.bmp", "0003.BMP", "0002.bmp", "a.bmp", "B.bmp", "x.lmv", "y.bmpx", "z.bmp.vtmp"})
    testing::WriteBytes(folder / name, {1});
  std::filesystem::create_directory(folder / "dir.bmp");
  EXPECT_THAT(ListFiles(folder.Path(), "bmp"),
              ElementsAre("B.bmp", "a.bmp", "0003.BMP", "0002.bmp", "0001.bmp"));
  EXPECT_THAT(ListFiles(folder.Path(), "lmv"), ElementsAre("x.lmv"));
  EXPECT_TRUE(ListFiles(folder / "missing", "bmp").empty());
}

TEST(FolderListTest, CaseInsensitiveOrderComparesFoldedBytes) {
  EXPECT_EQ(CompareNoCase("ABC", "abc"), 0);
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  // Letters fold to lower case, so '_' (0x5F) sorts before every letter.
  EXPECT_LT(CompareNoCase("_", "A"), 0);
  EXPECT_TRUE(SameExtension("a.BMP", "b.bmp"));
  EXPECT_FALSE(SameExtension("a.lmv", "b.bmp"));
}

}  // namespace
}  // namespace veltrane
