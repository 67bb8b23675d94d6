#include "lumavex/curves/SmoothingStroke.h"

#include "lumavex/curves/FrameRender.h"

namespace lumavex {

std::optional<PenState> StepPen(PenState state, int input) {
  const bool pressed = input > 0;
  switch (state) {
    case PenState::Initial:
      return pressed ? PenState::WentDown : PenState::Up;
    case PenState::WentDown:
      return PenState::Held;
    case PenState::Held:
      return pressed ? PenState::Held : PenState::WentUp;
    case PenState::WentUp:
      return PenState::Up;
    case PenState::Up:
      return pressed ? PenState::WentDown : PenState::Up;
  }
  return std::nullopt;
}

void StrokeBuffer::Append(const TabletSample& sample) {
  if (blocks_.empty()) blocks_.push_back(std::make_unique<Block>());
  Block& block = *blocks_[current_];
  block.samples[block.end++] = sample;
  if (block.end < kBlockSamples) return;
  ++current_;
  if (current_ == blocks_.size()) blocks_.push_back(std::make_unique<Block>());
  blocks_[current_]->end = 0;
}

void StrokeBuffer::OverwriteLast(const TabletSample& sample) {
  if (Size() == 0) return Append(sample);
  // A block left as full is followed by an empty one: the last sample is in the one before.
  Block& block = blocks_[current_]->end > 0 ? *blocks_[current_] : *blocks_[current_ - 1];
  block.samples[block.end - 1] = sample;
}

void StrokeBuffer::Reset() {
  current_ = 0;
  if (!blocks_.empty()) blocks_.front()->end = 0;
}

size_t StrokeBuffer::Size() const {
  if (blocks_.empty()) return 0;
  return current_ * kBlockSamples + blocks_[current_]->end;
}

std::vector<TabletSample> StrokeBuffer::Samples() const {
  std::vector<TabletSample> samples;
  samples.reserve(Size());
  for (size_t i = 0; i < blocks_.size() && i <= current_; ++i)
    samples.insert(samples.end(), blocks_[i]->samples.begin(),
                   blocks_[i]->samples.begin() + blocks_[i]->end);
  return samples;
}

namespace {

// The non-marker samples of [from, to).
std::vector<TabletSample> WithoutMarkers(std::span<const TabletSample> samples, size_t from,
                                         size_t to) {
  std::vector<TabletSample> stretch;
  for (size_t i = from; i < to; ++i)
    if (!IsTurningPoint(samples[i])) stretch.push_back(samples[i]);
  return stretch;
}

// Keeps about kMaxStretchSamples evenly spread samples, the step accumulated by addition,
// and the last sample whatever the rounding left out.
std::vector<TabletSample> Thinned(const std::vector<TabletSample>& stretch) {
  const size_t last = stretch.size() - 1;
  const double step = last / double(kMaxStretchSamples - 1);
  std::vector<TabletSample> kept;
  kept.reserve(kMaxStretchSamples + 1);
  size_t keptIndex = 0;
  for (double u = 0;; u += step) {
    const size_t index = static_cast<size_t>(u + 0.5);
    if (index > last) break;
    kept.push_back(stretch[index]);
    keptIndex = index;
  }
  if (keptIndex != last) kept.push_back(stretch[last]);
  return kept;
}

// Samples of a stretch that the trimming drops after its first and before its last.
constexpr size_t kTrimmed = 5;
constexpr size_t kTrimFrom = 14;
// Turning points are looked for from this sample on.
constexpr size_t kFirstSplitSample = 5;

}  // namespace

std::vector<std::vector<TabletSample>> SplitIntoStretches(std::span<const TabletSample> samples) {
  std::vector<std::vector<TabletSample>> stretches;
  auto add = [&stretches](std::vector<TabletSample> stretch) {
    if (stretch.empty()) return;
    stretches.push_back(stretch.size() > size_t(kMaxStretchSamples) ? Thinned(stretch)
                                                                    : std::move(stretch));
  };
  const size_t n = samples.size();
  size_t start = 0;
  if (n > kFirstSplitSample) {
    // 0: no marker seen, 1: a marker, 2: a marker and one sample after it.
    int state = 0;
    for (size_t i = kFirstSplitSample; i < n; ++i) {
      if (IsTurningPoint(samples[i])) {
        state = 1;
      } else if (state == 1) {
        state = 2;
      } else if (state == 2) {
        add(WithoutMarkers(samples, start, i - 1));
        start = i - 1;
        state = 0;
      }
    }
  }
  add(WithoutMarkers(samples, start, n));
  return stretches;
}

std::vector<TabletSample> TrimStretch(std::span<const TabletSample> stretch) {
  const size_t c = stretch.size();
  if (c < kTrimFrom) return {stretch.begin(), stretch.end()};
  std::vector<TabletSample> trimmed;
  trimmed.reserve(c - 2 * kTrimmed);
  trimmed.push_back(stretch.front());
  trimmed.insert(trimmed.end(), stretch.begin() + 1 + kTrimmed, stretch.end() - 1 - kTrimmed);
  trimmed.push_back(stretch.back());
  return trimmed;
}

std::vector<TabletSample> SmoothStretch(DrawingContext& context, const BezierTables& tables,
                                        std::span<const TabletSample> stretch, int basePoints) {
  if (stretch.empty() || basePoints < 1) context.FatalError();
  if (stretch.size() == 1) return std::vector<TabletSample>(basePoints, stretch.front());
  const std::vector<TabletSample> control = TrimStretch(stretch);
  std::vector<TabletSample> points = BezierSamples(tables, control, basePoints);
  if (points.empty()) context.FatalError();
  return points;
}

std::vector<std::vector<TabletSample>> SmoothStroke(DrawingContext& context,
                                                    const BezierTables& tables,
                                                    std::span<const TabletSample> samples,
                                                    int basePoints) {
  std::vector<std::vector<TabletSample>> blocks = SplitIntoStretches(samples);
  for (std::vector<TabletSample>& block : blocks)
    block = SmoothStretch(context, tables, block, basePoints);
  return blocks;
}

void RenderSmoothingStroke(DrawingContext& context, const BezierTables& tables,
                           std::span<const TabletSample> samples, int basePoints) {
  context.SetStatusText("★ベジェ＆スプライン曲線計算中...");
  std::vector<std::vector<TabletSample>> blocks;
  try {
    blocks = SmoothStroke(context, tables, samples, basePoints);
  } catch (const std::bad_alloc&) {
    context.FatalError();
  }
  const int m = FrameSampleCountOfBlocks(context, blocks, context.Settings().pointSpacing);
  const std::vector<Sample> curve = BlockSpline(context, blocks, m);
  RenderFrameSamples(context, FrameFlavour::Normal, curve);
}

}  // namespace lumavex
