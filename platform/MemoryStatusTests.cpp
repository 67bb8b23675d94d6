#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace platform {
namespace {

bool operator==(const MemoryStatus& a, const MemoryStatus& b) {
  return a.totalPhysical == b.totalPhysical && a.availablePhysical == b.availablePhysical &&
         a.totalPageFile == b.totalPageFile && a.availablePageFile == b.availablePageFile;
}

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

// The scanner against the token reader, on this machine's file and on texts with
// lines the kernel does not write: values without a unit, a missing last newline,
// repeated keys, keys that only start like a kept one, and a value that is no number,
// which ends both readers at that line.
TEST(MemoryStatus, TheScannerReadsWhatTheTokenReaderReads) {
  std::ifstream file("/proc/meminfo");
  std::stringstream machine;
  machine << file.rdbuf();
  const std::string texts[] = {
      machine.str(),
      "",
      "\n\n",
      "MemTotal: 5\nMemAvailable: 3",
      "MemTotal:\t\t7 kB\r\nSwapTotal: 2 kB\nSwapFree: 1\nHugePages_Total: 0\n",
      "MemTotal: 1 kB\nMemTotal: 2 kB\nMemAvailableX: 9 kB\nMemAvailable: 4 kB\n",
      "MemTotal: 8 kB\nBroken: x kB\nMemAvailable: 6 kB\n",
      "MemTotal: 8 kB\nMemAvailable:\n  6 kB\n",
      "  MemTotal: 12 kB trailing words\nSwapFree: 3kB\n",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(ParseMeminfo(text) == ParseMeminfoPlain(text));
  }
  EXPECT_GT(ParseMeminfo(machine.str()).totalPhysical, 0u);
}

}  // namespace
}  // namespace platform
