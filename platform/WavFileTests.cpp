#include "platform/WavFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace platform {
namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

std::vector<uint8_t> Wav(uint16_t format, uint16_t channels, uint16_t bits, uint32_t dataBytes,
                         uint32_t claimedDataBytes) {
  std::vector<uint8_t> b;
  PutTag(b, "RIFF");
  Put32(b, 36 + dataBytes);
  PutTag(b, "WAVE");
  PutTag(b, "LIST");  // an unknown chunk of odd size is skipped with its pad byte
  Put32(b, 3);
  b.insert(b.end(), {1, 2, 3, 0});
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, format);
  Put16(b, channels);
  Put32(b, 22050);
  Put32(b, 22050 * channels * bits / 8);
  Put16(b, static_cast<uint16_t>(channels * bits / 8));
  Put16(b, bits);
  PutTag(b, "data");
  Put32(b, claimedDataBytes);
  for (uint32_t i = 0; i < dataBytes; ++i) b.push_back(static_cast<uint8_t>(i));
  return b;
}

TEST(WavFile, ReadsPcmAfterUnknownChunks) {
  auto sound = ParseWav(Wav(1, 1, 16, 8, 8));
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->channels, 1);
  EXPECT_EQ(sound->sampleRate, 22050);
  EXPECT_EQ(sound->bitsPerSample, 16);
  EXPECT_EQ(sound->samples.size(), 8u);
}

TEST(WavFile, RefusesWhatCannotBePlayedOrRunsPastTheEnd) {
  std::string error;
  EXPECT_FALSE(ParseWav(Wav(3, 1, 32, 8, 8), &error));  // float samples
  EXPECT_EQ(error, "not uncompressed PCM");
  EXPECT_FALSE(ParseWav(Wav(1, 6, 16, 12, 12)));       // six channels
  EXPECT_FALSE(ParseWav(Wav(1, 1, 16, 8, 0xFFFFFFF0), &error));
  EXPECT_EQ(error, "chunk runs past the end of the file");
  EXPECT_FALSE(ParseWav({'R', 'I', 'F', 'F'}));
  EXPECT_FALSE(ReadWav("/nonexistent.wav"));
  auto truncated = Wav(1, 1, 16, 8, 8);
  truncated.resize(30);  // inside the format chunk
  EXPECT_FALSE(ParseWav(truncated));
}

}  // namespace
}  // namespace platform
