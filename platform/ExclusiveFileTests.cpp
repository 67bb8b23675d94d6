#include "platform/ExclusiveFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace platform {
namespace {

namespace fs = std::filesystem;

class ExclusiveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/exclusive-XXXXXX";
    folder = ::mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string folder;
};

TEST_F(ExclusiveFileTest, EachFileIsNewUnderItsOwnName) {
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const ExclusiveFile file = CreateExclusiveFile(folder + "/a.", ".tmp");
    ASSERT_GE(file.fd, 0);
    ::close(file.fd);
    EXPECT_TRUE(file.path.starts_with(folder + "/a."));
    EXPECT_TRUE(file.path.ends_with(".tmp"));
    names.insert(file.path);
  }
  EXPECT_EQ(names.size(), 20u);
}

TEST_F(ExclusiveFileTest, RenameReplacesALinkAtTheTargetWithoutWritingThroughIt) {
  const std::string outside = folder + "/outside";
  std::ofstream(outside) << "keep";
  fs::create_symlink(outside, folder + "/target");
  const ExclusiveFile file = CreateExclusiveFile(folder + "/target.", "");
  ASSERT_GE(file.fd, 0);
  ASSERT_EQ(::write(file.fd, "new", 3), 3);
  ::close(file.fd);
  ASSERT_TRUE(ReplaceByRename(file.path, folder + "/target"));
  EXPECT_FALSE(fs::is_symlink(folder + "/target"));
  std::string text;
  std::ifstream(outside) >> text;
  EXPECT_EQ(text, "keep");
  std::ifstream(folder + "/target") >> text;
  EXPECT_EQ(text, "new");
}

TEST_F(ExclusiveFileTest, AFolderThatCannotHoldTheFileGivesNoFile) {
  const ExclusiveFile file = CreateExclusiveFile(folder + "/missing/a.", ".tmp");
  EXPECT_EQ(file.fd, -1);
}

}  // namespace
}  // namespace platform
