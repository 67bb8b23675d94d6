#include "platform/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace platform {
namespace {

TEST(SingleInstanceLock, OnlyOneHolderAtATimeAndReleasedOnDestruction) {
  const std::string dir = testing::TempDir();
  {
    SingleInstanceLock first("LockTest", dir);
    ASSERT_TRUE(first.Acquired());
    SingleInstanceLock second("LockTest", dir);
    EXPECT_FALSE(second.Acquired());
    SingleInstanceLock other("OtherLock", dir);
    EXPECT_TRUE(other.Acquired());
  }
  SingleInstanceLock again("LockTest", dir);
  EXPECT_TRUE(again.Acquired());
}

TEST(SingleInstanceLock, AnUnusableFolderRefusesInsteadOfCrashing) {
  SingleInstanceLock lock("LockTest", "/nonexistent/folder/for/lock");
  EXPECT_FALSE(lock.Acquired());
}

}  // namespace
}  // namespace platform
