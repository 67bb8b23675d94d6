#include "platform/ProgressStrip.h"

#include <bit>

namespace platform {

void ProgressStrip::ProgressStart(uint64_t total) {
  const int highestBit = total ? static_cast<int>(std::bit_width(total)) - 1 : 0;
  shift_ = highestBit > 8 ? highestBit - 8 : 0;
  segments_ = total >> shift_;
  count_ = 0;
  itemStarted_ = false;
  const int width = surface_.Width();
  segmentWidth_ = segments_ ? static_cast<int>(width / segments_) : 0;

  surface_.Fill(Strip(), 0);
  if (segments_) {
    const int wholeSegments = static_cast<int>(segments_ * segmentWidth_);
    surface_.Invert({wholeSegments, 0, width, kHeight});
  }
  host_.Present(surface_, Strip());
}

void ProgressStrip::ProgressStep() {
  ++count_;
  if (count_ & ((uint64_t{1} << shift_) - 1)) return;
  const uint64_t segment = (count_ >> shift_) - 1;
  if (segment >= segments_ || segmentWidth_ == 0) return;
  const int left = static_cast<int>(segment) * segmentWidth_;
  InvertAndShow(left, left + segmentWidth_);
}

void ProgressStrip::ProgressEnd() {
  surface_.Fill(Strip(), 0);
  host_.Present(surface_, Strip());
}

void ProgressStrip::BeforeItem() {
  if (itemStarted_) ProgressStep();
  itemStarted_ = true;
}

void ProgressStrip::InvertAndShow(int left, int right) {
  const Rect r{left, 0, right, kHeight};
  surface_.Invert(r);
  host_.Present(surface_, r);
}

}  // namespace platform
