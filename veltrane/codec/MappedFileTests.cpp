#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/MappedFile.h"

namespace veltrane {
namespace {

// A file another program shortens while it is mapped: the read past the new end is a
// failed read, not the end of the process, and reads before it and after it work.
TEST(MappedFileTest, ReadPastAShortenedEndFailsInsteadOfCrashing) {
  testing::TempFolder folder;
  const long page = ::sysconf(_SC_PAGESIZE);
  const testing::Bytes bytes = testing::RandomBytes(static_cast<size_t>(3 * page), 4);
  testing::WriteBytes(folder / "f", bytes);
  const int fd = ::open((folder / "f").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  MappedFile mapped;
  ASSERT_TRUE(mapped.Map(fd, bytes.size()));
  ASSERT_EQ(::ftruncate(fd, page), 0);

  uint8_t first = 0, last = 0;
  EXPECT_TRUE(ReadGuarded([&] { first = mapped.Bytes()[page - 1]; }));
  EXPECT_EQ(first, bytes[static_cast<size_t>(page - 1)]);
  for (int round = 0; round < 2; ++round)
    EXPECT_FALSE(ReadGuarded([&] { last = mapped.Bytes()[2 * page + 5]; }));
  EXPECT_TRUE(ReadGuarded([&] { first = mapped.Bytes()[0]; }));
  EXPECT_EQ(first, bytes[0]);
  ::close(fd);
}

// A bus error that no guarded read caused still ends the process: killed by the
// signal, or reported by whichever handler was there before (a sanitizer's, say).
TEST(MappedFileDeathTest, OtherBusErrorsKeepTheirEffect) {
  ReadGuarded([] {});
  EXPECT_DEATH(::raise(SIGBUS), "");
}

}  // namespace
}  // namespace veltrane
