#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(TextCodec, JapaneseAndAsciiRoundTrip) {
  // "あ" is 0x82A0, "漢" 0x8ABF, the half-width "ｷ" the single byte 0xB7.
  const std::string utf8 = "A あ漢ｷ";
  const auto cp932 = Utf8ToCp932(utf8);
  ASSERT_TRUE(cp932);
  EXPECT_EQ(*cp932, std::string("A \x82\xA0\x8A\xBF\xB7"));
  EXPECT_EQ(Cp932ToUtf8(*cp932), utf8);
}

TEST(TextCodec, CodePage932CharactersOutsideShiftJis) {
  // The full-width tilde and the circled one exist only in the Windows code page.
  EXPECT_EQ(Utf8ToCp932("～①"), std::string("\x81\x60\x87\x40"));
  EXPECT_EQ(Cp932ToUtf8("\x81\x60\x87\x40"), "～①");
}

TEST(TextCodec, LongTextsConvertWhole) {
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += "字a";
  const auto cp932 = Utf8ToCp932(utf8);
  ASSERT_TRUE(cp932);
  EXPECT_EQ(cp932->size(), 9000u);
  EXPECT_EQ(Cp932ToUtf8(*cp932), utf8);
}

TEST(TextCodec, UnrepresentableOrBrokenTextFails) {
  EXPECT_FALSE(Utf8ToCp932("😀"));          // no such character in the code page
  EXPECT_FALSE(Utf8ToCp932("ok\xC3"));       // cut UTF-8 sequence
  EXPECT_FALSE(Utf8ToCp932("\xFF"));         // not UTF-8 at all
  EXPECT_FALSE(Cp932ToUtf8("ok\x82"));       // lead byte without its trail byte
  EXPECT_FALSE(Cp932ToUtf8("\x82\x20"));     // invalid trail byte
}

}  // namespace
}  // namespace platform
