#include <gtest/gtest.h>

#include <QTest>

#include "platform/qt/SoundPlayer.h"

namespace platform::qt {
namespace {

WavSound Click() {
  WavSound sound;
  sound.path = "end.wav";
  sound.channels = 1;
  sound.sampleRate = 8000;
  sound.bitsPerSample = 8;
  sound.samples.assign(400, 0x80);
  return sound;
}

TEST(SoundPlayer, ASoundWithoutAFormatIsRefusedAtOnce) {
  SoundPlayer player;
  WavSound broken = Click();
  broken.channels = 0;
  broken.sampleRate = 0;
  EXPECT_FALSE(player.Play(broken));
  EXPECT_EQ(player.Playing(), 0);
}

// Whether this machine has an output device or not, a sound either fails at once and
// leaves nothing behind, or plays out and is then cleaned up.
TEST(SoundPlayer, EverySoundEndsWithoutLeavingItsSinkBehind) {
  SoundPlayer player;
  if (!player.Play(Click())) {
    EXPECT_EQ(player.Playing(), 0);
    return;
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.Playing() == 0; }, 5000));
}

}  // namespace
}  // namespace platform::qt
