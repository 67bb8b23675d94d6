#pragma once
// The progress strip both programs show during long work: an 8-pixel strip across
// the top of the client area. A run of n units splits it into n >> c segments of
// equal width (c keeps the count of segments below 512); the strip starts black,
// the part right of the last whole segment turns white at once, and every 2^c
// units the next segment turns white. The next repaint restores what was under it.

#include <cstdint>

#include "platform/Progress.h"
#include "platform/Surface.h"
#include "platform/UiHost.h"

namespace platform {

class ProgressStrip : public Progress {
 public:
  static constexpr int kHeight = 8;

  ProgressStrip(Surface& surface, UiHost& host) : surface_(surface), host_(host) {}

  // Starts a run of `total` units; an empty run shows only the black strip.
  void ProgressStart(uint64_t total) override;
  // One more unit done.
  void ProgressStep() override;
  // Ends the run: the strip is black again.
  void ProgressEnd() override;

  // For a loop that reports before each item: every item before this one is done.
  void BeforeItem();

  int Shift() const { return shift_; }
  uint64_t Segments() const { return segments_; }
  int SegmentWidth() const { return segmentWidth_; }

 private:
  void InvertAndShow(int left, int right);
  Rect Strip() const { return {0, 0, surface_.Width(), kHeight}; }

  Surface& surface_;
  UiHost& host_;
  int shift_ = 0;
  uint64_t segments_ = 0;
  int segmentWidth_ = 0;
  uint64_t count_ = 0;
  bool itemStarted_ = false;
};

}  // namespace platform
