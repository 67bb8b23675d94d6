#include "lumavex/shell/FolderPictureList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace lumavex {
namespace {

namespace fs = std::filesystem;

class FolderPictureListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("lumavex-folder-list-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* name : {"b.lmv", "A.bmp", "c.PNG", "d.jpg", "e.jpeg", "f.lmvx", "g.txt",
                             "0001.lmv", "0000.LMV", ".bmp", "x.bmp.tmp"})
      std::ofstream(folder / name) << "x";
    fs::create_directory(folder / "sub.lmv");
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  FolderPictureList list;
};

TEST_F(FolderPictureListTest, ListsExactThreeLetterPictureExtensionsInCaseFreeOrder) {
  EXPECT_FALSE(list.Exists());
  list.Rebuild(folder.string(), "b.lmv");
  ASSERT_TRUE(list.Exists());
  EXPECT_EQ(list.Names(),
            (std::vector<std::string>{".bmp", "0000.LMV", "0001.lmv", "A.bmp", "b.lmv", "c.PNG", "d.jpg"}));
  EXPECT_EQ(list.CurrentIndex(), 4u);
  EXPECT_EQ(list.Previous(), "A.bmp");
  EXPECT_EQ(list.Next(), "c.PNG");
}

TEST_F(FolderPictureListTest, StopsAtTheEnds) {
  list.Rebuild(folder.string(), "d.jpg");
  EXPECT_EQ(list.Next(), std::nullopt);
  list.Rebuild(folder.string(), ".bmp");
  EXPECT_EQ(list.Previous(), std::nullopt);
  EXPECT_EQ(list.Next(), "0000.LMV");
}

TEST_F(FolderPictureListTest, AnUnlistedNameStandsWhereItWouldBeSorted) {
  list.Rebuild(folder.string(), "B0.lmv");
  EXPECT_EQ(list.CurrentIndex(), std::nullopt);
  EXPECT_EQ(list.Previous(), "b.lmv");
  EXPECT_EQ(list.Next(), "c.PNG");
}

TEST_F(FolderPictureListTest, NamesAtOffsetsCountAsPreviousAndNextDo) {
  EXPECT_EQ(list.NameAt(1), std::nullopt);  // no list yet
  list.Rebuild(folder.string(), "A.bmp");
  EXPECT_EQ(list.NameAt(-2), "0000.LMV");
  EXPECT_EQ(list.NameAt(-1), list.Previous());
  EXPECT_EQ(list.NameAt(1), list.Next());
  EXPECT_EQ(list.NameAt(3), "d.jpg");
  EXPECT_EQ(list.NameAt(4), std::nullopt);
  EXPECT_EQ(list.NameAt(-5), std::nullopt);
  EXPECT_EQ(list.NameAt(0), std::nullopt);
  // An unlisted name between b.lmv and c.PNG: one step back is b.lmv, one on is c.PNG.
  list.Rebuild(folder.string(), "B0.lmv");
  EXPECT_EQ(list.NameAt(-1), "b.lmv");
  EXPECT_EQ(list.NameAt(-2), "A.bmp");
  EXPECT_EQ(list.NameAt(1), "c.PNG");
  EXPECT_EQ(list.NameAt(2), "d.jpg");
}

TEST_F(FolderPictureListTest, CaseFreeOrderComparesFoldedBytes) {
  EXPECT_TRUE(PictureNameLess("a.bmp", "B.bmp"));
  EXPECT_TRUE(PictureNameLess("ab.bmp", "AB.bmpx"));
  EXPECT_TRUE(PictureNameLess("A.bmp", "a.bmp"));  // equal when folded: exact bytes decide
  EXPECT_FALSE(PictureNameLess("a.bmp", "A.bmp"));
  // Letters are folded to lower case, so '_' comes before every letter.
  EXPECT_TRUE(PictureNameLess("_.bmp", "Z.bmp"));
}

TEST_F(FolderPictureListTest, AMissingFolderGivesAnEmptyList) {
  list.Rebuild((folder / "none").string(), "a.lmv");
  EXPECT_TRUE(list.Exists());
  EXPECT_TRUE(list.Names().empty());
  EXPECT_EQ(list.Next(), std::nullopt);
  EXPECT_EQ(list.Previous(), std::nullopt);
}

}  // namespace
}  // namespace lumavex
