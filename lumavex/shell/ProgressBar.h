#pragma once
// The progress bar: an 8-pixel black strip across the top of the client area whose
// segments are inverted from left to right as the work advances. The next repaint
// restores the picture under it.

#include <cstdint>

#include "platform/Progress.h"
#include "platform/Surface.h"
#include "platform/UiHost.h"

namespace lumavex {

class ProgressBar : public platform::Progress {
 public:
  static constexpr int kHeight = 8;

  ProgressBar(platform::Surface& surface, platform::UiHost& host) : surface_(surface), host_(host) {}

  // Divides `total` units into 256..511 segments (fewer for small totals), each
  // standing for 2^shift units; the part right of the last whole segment is shown
  // inverted at once.
  void ProgressStart(uint64_t total) override;
  void ProgressStep() override;
  void ProgressEnd() override;

  int Shift() const { return shift_; }
  uint64_t Segments() const { return segments_; }
  int SegmentWidth() const { return segmentWidth_; }

 private:
  void InvertAndShow(int left, int right);

  platform::Surface& surface_;
  platform::UiHost& host_;
  int shift_ = 0;
  uint64_t segments_ = 0;
  int segmentWidth_ = 0;
  uint64_t count_ = 0;
};

}  // namespace lumavex
