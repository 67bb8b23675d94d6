#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "common/LittleEndian.h"

namespace common {
namespace {

TEST(LittleEndian, FieldsReadLowByteFirstWithoutSignExtension) {
  const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0x80};
  EXPECT_EQ(ReadLe16(bytes), 0x5678u);
  EXPECT_EQ(ReadLe32(bytes), 0x12345678u);
  EXPECT_EQ(ReadLe32(bytes + 4), 0x80FFFFFFu);
  EXPECT_EQ(ReadLe64(bytes), 0x80FFFFFF12345678ull);
}

TEST(LittleEndian, ReaderTakesFieldsInOrderAndDoublesAsTheirBits) {
  // 1.25 is 0x3FF4000000000000.
  const std::vector<uint8_t> bytes = {0x4D, 0x42, 0xFE, 0xFF, 0xFF, 0xFF, 0,    0,
                                      0,    0,    0,    0,    0xF4, 0x3F, 0x2A, 0};
  LittleEndianReader in(bytes);
  EXPECT_EQ(in.U16(), 0x424Du);
  EXPECT_EQ(in.I32(), -2);
  EXPECT_EQ(in.F64(), 1.25);
  EXPECT_EQ(in.U16(), 42u);
  EXPECT_EQ(in.Position(), bytes.size());
  EXPECT_FALSE(in.Overrun());
}

TEST(LittleEndian, ReaderNeverReadsPastItsBytes) {
  const std::array<uint8_t, 6> bytes = {1, 0, 0, 0, 2, 0};
  LittleEndianReader in(bytes);
  EXPECT_EQ(in.U32(), 1u);
  EXPECT_EQ(in.U32(), 0u);  // only two bytes left
  EXPECT_TRUE(in.Overrun());
  EXPECT_EQ(in.U16(), 0u);  // an overrun reader stays overrun
  EXPECT_EQ(in.Position(), 4u);
}

TEST(LittleEndian, WriterPutsTheBytesTheReaderTakes) {
  std::array<uint8_t, 18> bytes{};
  LittleEndianWriter out(bytes);
  out.U16(0x424D);
  out.I32(-2);
  out.F64(-0.5);
  out.U32(0xA1B2C3D4);
  EXPECT_FALSE(out.Overrun());
  const std::array<uint8_t, 18> expected = {0x4D, 0x42, 0xFE, 0xFF, 0xFF, 0xFF, 0,    0,    0,
                                            0,    0,    0,    0xE0, 0xBF, 0xD4, 0xC3, 0xB2, 0xA1};
  EXPECT_EQ(bytes, expected);
}

TEST(LittleEndian, WriterLeavesOutAFieldThatDoesNotFit) {
  std::array<uint8_t, 6> bytes{};
  bytes.fill(0xEE);
  LittleEndianWriter out(bytes);
  out.U32(0);
  out.U32(0x01020304);
  EXPECT_TRUE(out.Overrun());
  EXPECT_EQ(bytes[4], 0xEE);
  EXPECT_EQ(bytes[5], 0xEE);
}

}  // namespace
}  // namespace common
