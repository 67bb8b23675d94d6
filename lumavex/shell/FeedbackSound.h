#pragma once
// The sounds that confirm clicks, loads, saves and the end of long operations.

#include <cstdint>
#include <string>

#include "platform/UiHost.h"

namespace lumavex {

// The random sequence the program draws from: 0..32767 per draw, as the classic
// C library's linear congruential generator gives it.
class RandomSequence {
 public:
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_ = 1;
};

class FeedbackSound {
 public:
  // `resourceDirectory` is the folder that holds the wav files.
  FeedbackSound(platform::UiHost& host, std::string resourceDirectory)
      : host_(host), resourceDirectory_(std::move(resourceDirectory)) {}

  // Plays `fileName` from the resource folder without waiting for it. A missing
  // file ends the program (its path as the message); when the sound cannot be
  // played, the user is told once that the program goes on silently.
  void PlayFeedbackSound(const std::string& fileName);

  // Plays one of `<family>0.wav` … `<family>7.wav`, chosen at random.
  void PlayRandomFeedbackSound(const std::string& family);

  RandomSequence& Random() { return random_; }
  bool Enabled() const { return enabled_; }

 private:
  platform::UiHost& host_;
  std::string resourceDirectory_;
  RandomSequence random_;
  bool enabled_ = true;
};

}  // namespace lumavex
