#include <gtest/gtest.h>

#include <sstream>

#include "platform/TabletPacket.h"

namespace platform {
namespace {

TEST(TabletPacket, LogReadsBackWhatWasWritten) {
  const std::vector<LoggedPacket> packets{{0, {100, 32000, 700, 0}, false},
                                          {8, {120, 31990, 0, 1}, true}};
  std::istringstream in("\n" + WritePacketLog(packets) + "  \n");
  const auto read = ReadPacketLog(in, nullptr);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[1].time, 8);
  EXPECT_EQ((*read)[1].packet.y, 31990);
  EXPECT_EQ((*read)[1].packet.buttons, 1);
  EXPECT_TRUE((*read)[1].shift);
  EXPECT_EQ((*read)[0].packet.pressure, 700);
}

TEST(TabletPacket, MalformedLinesAreNamed) {
  for (const char* bad : {"0 1 2 3 4\n", "0 1 2 3 4 5\n", "0 1 2 x 4 0\n", "0 1 2 3 4 0 9\n"}) {
    std::istringstream in(std::string("# header\n0 1 2 3 0 0\n") + bad);
    std::string error;
    EXPECT_FALSE(ReadPacketLog(in, &error)) << bad;
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace platform
