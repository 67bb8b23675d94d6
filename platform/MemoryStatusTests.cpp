#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(MemoryStatus, PageFileIsPhysicalMemoryPlusSwap) {
  const MemoryStatus s = ParseMeminfo(
      "MemTotal:       16000000 kB\n"
      "MemFree:         1000000 kB\n"
      "MemAvailable:    9000000 kB\n"
      "Buffers:          100 kB\n"
      "SwapTotal:       2000000 kB\n"
      "SwapFree:        1500000 kB\n");
  EXPECT_EQ(s.totalPhysical, 16000000ull * 1024);
  EXPECT_EQ(s.availablePhysical, 9000000ull * 1024);
  EXPECT_EQ(s.totalPageFile, 18000000ull * 1024);
  EXPECT_EQ(s.availablePageFile, 10500000ull * 1024);
}

TEST(MemoryStatus, MissingFieldsCountAsZeroAndTheMachineIsReadable) {
  const MemoryStatus s = ParseMeminfo("MemTotal: 1024 kB\n");
  EXPECT_EQ(s.totalPhysical, 1024ull * 1024);
  EXPECT_EQ(s.availablePageFile, 0u);
  const MemoryStatus here = ReadMemoryStatus();
  EXPECT_GT(here.totalPhysical, 0u);
  EXPECT_GE(here.totalPageFile, here.totalPhysical);
}

}  // namespace
}  // namespace platform
