#include "veltrane/core/ProgressStrip.h"

#include <algorithm>
#include <bit>

namespace veltrane {

namespace {
constexpr uint32_t kBlack = 0x000000;
}  // namespace

void ProgressStrip::Begin(size_t count) {
  surface_.Fill(Strip(), kBlack);
  done_ = 0;
  nextSegment_ = 0;
  lastBit_ = false;
  running_ = count > 0;
  if (running_) {
    const int highestBit = std::bit_width(count) - 1;
    shift_ = std::max(0, highestBit - 8);
    const auto segments = static_cast<int>(count >> shift_);
    segmentWidth_ = surface_.Width() / segments;
    Invert(segments * segmentWidth_, surface_.Width());
  }
  host_.Present(surface_, Strip());
}

void ProgressStrip::BeforeItem() {
  if (!running_) return;
  const bool bit = (done_ >> shift_) & 1;
  ++done_;
  if (bit == lastBit_) return;
  lastBit_ = bit;
  const int left = nextSegment_++ * segmentWidth_;
  Invert(left, left + segmentWidth_);
  host_.Present(surface_, Strip());
}

void ProgressStrip::End() {
  running_ = false;
  surface_.Fill(Strip(), kBlack);
  host_.Present(surface_, Strip());
}

void ProgressStrip::Invert(int left, int right) {
  surface_.Invert({left, 0, right, kHeight});
}

}  // namespace veltrane
