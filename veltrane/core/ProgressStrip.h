#pragma once
// The progress bar: a strip 8 pixels high along the top of the client area. A run
// of n items splits the strip into n >> c segments of equal width (c keeps the
// count of segments below 512); the strip starts black, the part right of the last
// segment turns white at once, and every 2^c items the next segment turns white.

#include <cstddef>

#include "platform/Surface.h"
#include "platform/UiHost.h"

namespace veltrane {

class ProgressStrip {
 public:
  static constexpr int kHeight = 8;

  ProgressStrip(platform::Surface& surface, platform::UiHost& host)
      : surface_(surface), host_(host) {}

  // Starts a run of `count` items.
  void Begin(size_t count);
  // Called before each item is processed.
  void BeforeItem();
  // Ends the run: the strip is black again.
  void End();

 private:
  void Invert(int left, int right);
  platform::Rect Strip() const { return {0, 0, surface_.Width(), kHeight}; }

  platform::Surface& surface_;
  platform::UiHost& host_;
  int shift_ = 0;
  int segmentWidth_ = 0;
  int nextSegment_ = 0;
  size_t done_ = 0;
  bool lastBit_ = false;
  bool running_ = false;
};

}  // namespace veltrane
