#include "lumavex/files/SaveFile.h"

#include <sys/stat.h>

#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureTestSupport.h"

namespace lumavex::testing {
namespace {

using SaveFileTest = PictureFileTest;

TEST_F(SaveFileTest, CommitPutsTheNewBytesInPlaceAndLeavesNoTemporaryFile) {
  WriteBytes(Path("a.lmv"), Bytes{1, 2, 3});
  SaveFile file(Path("a.lmv"));
  ASSERT_TRUE(file.Open());
  EXPECT_EQ(fs::path(file.TemporaryPath()).parent_path(), folder);
  ASSERT_TRUE(file.Write("xyz", 3));
  EXPECT_EQ(ReadBytes(Path("a.lmv")), (Bytes{1, 2, 3}));  // untouched until the commit
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadBytes(Path("a.lmv")), (Bytes{'x', 'y', 'z'}));
  EXPECT_FALSE(fs::exists(file.TemporaryPath()));
}

TEST_F(SaveFileTest, AFailedWriteKeepsThePreviousFile) {
  NewPicture(300, 900);  // more rows than one work block holds
  const Bytes previous = {9, 9, 9, 9};
  for (int allowed : {0, 1, 2, 3, 5}) {
    SCOPED_TRACE(allowed);
    WriteBytes(Path("a.lmv"), previous);
    int writes = 0;
    SaveFile file(Path("a.lmv"), {[&] { return writes++ < allowed; }});
    ASSERT_TRUE(file.Open());
    const WriteResult result =
        WriteNativeFile(file, canvas, {0, 0, 300, 900}, block.data(), block.size());
    EXPECT_NE(result, WriteResult::Written);
    EXPECT_EQ(result, allowed < 2 ? WriteResult::HeadersFailed : WriteResult::RowsFailed);
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadBytes(Path("a.lmv")), previous);
    EXPECT_FALSE(fs::exists(file.TemporaryPath()));
  }
}

// Each save has a temporary file of its own: a link placed at a predictable name is
// left alone, and two saves of one picture open at once do not take each other's file.
TEST_F(SaveFileTest, TemporaryFilesAreExclusiveToTheirSave) {
  WriteBytes(Path("victim"), Bytes{7});
  fs::create_symlink(Path("victim"), Path(".a.lmv.saving"));
  SaveFile first(Path("a.lmv"));
  SaveFile second(Path("a.lmv"));
  ASSERT_TRUE(first.Open());
  ASSERT_TRUE(second.Open());
  EXPECT_NE(first.TemporaryPath(), second.TemporaryPath());
  ASSERT_TRUE(first.Write("1", 1));
  ASSERT_TRUE(second.Write("22", 2));
  ASSERT_TRUE(first.Commit());
  EXPECT_EQ(ReadBytes(Path("a.lmv")), (Bytes{'1'}));
  ASSERT_TRUE(second.Commit());
  EXPECT_EQ(ReadBytes(Path("a.lmv")), (Bytes{'2', '2'}));
  EXPECT_TRUE(fs::is_symlink(Path(".a.lmv.saving")));
  EXPECT_EQ(ReadBytes(Path("victim")), (Bytes{7}));
}

TEST_F(SaveFileTest, AbandonedSaveRemovesItsTemporaryFile) {
  std::string temporary;
  {
    SaveFile file(Path("b.bmp"));
    ASSERT_TRUE(file.Open());
    temporary = file.TemporaryPath();
    ASSERT_TRUE(file.Write("abc", 3));
  }
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_FALSE(fs::exists(Path("b.bmp")));
}

TEST_F(SaveFileTest, ReplacedFileKeepsItsPermissions) {
  WriteBytes(Path("m.lmv"), Bytes{1});
  ::chmod(Path("m.lmv").c_str(), 0640);
  SaveFile file(Path("m.lmv"));
  ASSERT_TRUE(file.Open());
  ASSERT_TRUE(file.Commit());
  struct stat status;
  ASSERT_EQ(::stat(Path("m.lmv").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(SaveFileTest, AMissingFolderCannotBeOpened) {
  SaveFile file(Path("no/such/folder.lmv"));
  EXPECT_FALSE(file.Open());
  EXPECT_FALSE(file.Commit());
}

TEST_F(SaveFileTest, ASymbolicLinkKeepsPointingAtTheSavedPicture) {
  WriteBytes(Path("real.lmv"), Bytes{1});
  fs::create_symlink(Path("real.lmv"), Path("link.lmv"));
  SaveFile file(Path("link.lmv"));
  ASSERT_TRUE(file.Open());
  ASSERT_TRUE(file.Write("n", 1));
  ASSERT_TRUE(file.Commit());
  EXPECT_TRUE(fs::is_symlink(Path("link.lmv")));
  EXPECT_EQ(ReadBytes(Path("real.lmv")), (Bytes{'n'}));
}

}  // namespace
}  // namespace lumavex::testing
