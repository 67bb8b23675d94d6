#include "lumavex/paint/SquareFatten.h"

#include <algorithm>
#include <array>
#include <vector>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/FrameCommit.h"

namespace lumavex {
namespace {

// While the pass runs, a work word holds the maximum over the current square in
// its low byte and the fattened opacity found so far in the byte above it.
constexpr uint32_t kMaxByte = 0xFF;
constexpr int kFoundShift = 8;

uint8_t MaxOf(uint32_t word) {
  return static_cast<uint8_t>(word & kMaxByte);
}
uint8_t FoundOf(uint32_t word) {
  return static_cast<uint8_t>((word >> kFoundShift) & 0xFF);
}
uint32_t Word(uint8_t max, uint8_t found) {
  return static_cast<uint32_t>(max) | (static_cast<uint32_t>(found) << kFoundShift);
}

// The running maximum of radius `k` over `line` (n values), ends clipped, written
// back into `line`: the van Herk / Gil-Werman scheme, three comparisons per value
// whatever the radius. `g` and `h` are scratch space.
void RunningMax(std::vector<uint8_t>& line, int k, std::vector<uint8_t>& g,
                std::vector<uint8_t>& h) {
  const int n = static_cast<int>(line.size());
  k = std::min(k, n - 1);
  if (k <= 0) return;
  const int w = 2 * k + 1, m = n + 2 * k;
  g.resize(m);
  h.resize(m);
  // The line padded with k zeros at each end; 0 never raises a maximum.
  auto padded = [&](int j) { return j >= k && j < k + n ? line[j - k] : uint8_t{0}; };
  for (int j = 0; j < m; ++j) g[j] = j % w == 0 ? padded(j) : std::max(g[j - 1], padded(j));
  for (int j = m - 1; j >= 0; --j)
    h[j] = (j % w == w - 1 || j == m - 1) ? padded(j) : std::max(h[j + 1], padded(j));
  for (int i = 0; i < n; ++i) line[i] = std::max(h[i], g[i + w - 1]);
}

class FattenPass {
 public:
  FattenPass(Canvas& canvas, const PixelRect& area)
      : canvas_(canvas),
        area_(area),
        width_(area.right - area.left + 1),
        height_(area.bottom - area.top + 1) {}

  // The selected pixels' frame opacities, maximised over the square of radius k.
  void CoreMaxima(int k);
  // Grows the square of the maxima by one pixel on every side.
  void GrowByOne();
  // Raises the found opacity to table[maximum] where that is more.
  void Raise(const std::array<uint8_t, 256>& table);
  // Writes the final work words.
  void Finish(uint32_t maxOpacity, uint32_t colour);

 private:
  uint32_t* Row(int y) { return canvas_.work.Row32(y) + area_.left; }

  Canvas& canvas_;
  const PixelRect area_;
  const int width_;
  const int height_;
  std::vector<uint8_t> line_, g_, h_;
};

void FattenPass::CoreMaxima(int k) {
  line_.resize(width_);
  for (int y = area_.top; y <= area_.bottom; ++y) {
    const uint32_t* display = canvas_.display.Row32(y) + area_.left;
    const uint32_t* frame = canvas_.frame.Row32(y) + area_.left;
    for (int i = 0; i < width_; ++i)
      line_[i] = display[i] & kNonSelectedFlag ? 0 : static_cast<uint8_t>(Opacity(frame[i]));
    RunningMax(line_, k, g_, h_);
    uint32_t* work = Row(y);
    for (int i = 0; i < width_; ++i) work[i] = line_[i];
  }
  line_.resize(height_);
  for (int i = 0; i < width_; ++i) {
    for (int j = 0; j < height_; ++j) line_[j] = MaxOf(Row(area_.top + j)[i]);
    RunningMax(line_, k, g_, h_);
    for (int j = 0; j < height_; ++j) Row(area_.top + j)[i] = Word(line_[j], line_[j]);
  }
}

void FattenPass::GrowByOne() {
  line_.resize(width_);
  for (int y = area_.top; y <= area_.bottom; ++y) {
    uint32_t* work = Row(y);
    for (int i = 0; i < width_; ++i) line_[i] = MaxOf(work[i]);
    for (int i = 0; i < width_; ++i) {
      uint8_t v = line_[i];
      if (i > 0) v = std::max(v, line_[i - 1]);
      if (i + 1 < width_) v = std::max(v, line_[i + 1]);
      work[i] = Word(v, FoundOf(work[i]));
    }
  }
  // Up and down: the row above as it stood before this step, the row below not yet
  // changed by it.
  std::vector<uint8_t> above(width_, 0), current(width_);
  for (int y = area_.top; y <= area_.bottom; ++y) {
    uint32_t* work = Row(y);
    const uint32_t* below = y < area_.bottom ? Row(y + 1) : nullptr;
    for (int i = 0; i < width_; ++i) current[i] = MaxOf(work[i]);
    for (int i = 0; i < width_; ++i) {
      uint8_t v = std::max(above[i], current[i]);
      if (below) v = std::max(v, MaxOf(below[i]));
      work[i] = Word(v, FoundOf(work[i]));
    }
    std::swap(above, current);
  }
}

void FattenPass::Raise(const std::array<uint8_t, 256>& table) {
  for (int y = area_.top; y <= area_.bottom; ++y) {
    uint32_t* work = Row(y);
    for (int i = 0; i < width_; ++i) {
      const uint8_t found = std::max(FoundOf(work[i]), table[MaxOf(work[i])]);
      work[i] = Word(MaxOf(work[i]), found);
    }
  }
}

void FattenPass::Finish(uint32_t maxOpacity, uint32_t colour) {
  for (int y = area_.top; y <= area_.bottom; ++y) {
    uint32_t* work = Row(y);
    const uint32_t* display = canvas_.display.Row32(y) + area_.left;
    for (int i = 0; i < width_; ++i) {
      const uint32_t a = Paintable(display[i]) ? Round255(FoundOf(work[i]) * maxOpacity) : 0;
      work[i] = a > 0 ? (a << 24) | (colour & kColourMask) : 0;
    }
  }
}

// What each maximum opacity gives at square distance `distance`.
std::array<uint8_t, 256> RampTable(int distance, FattenWidths widths) {
  std::array<uint8_t, 256> table{};
  for (int v = 0; v < 256; ++v)
    table[v] = static_cast<uint8_t>(FattenedOpacity(v, distance, widths));
  return table;
}

}  // namespace

int FattenedOpacity(int opacity, int distance, FattenWidths widths) {
  const long long f = widths.width, wa = widths.antiAliasWidth, t = f + wa;
  if (distance <= f) return opacity;
  if (distance > t) return 0;
  return static_cast<int>(opacity * (t - distance) / wa);
}

void FattenIntoWorkLayer(Canvas& canvas, const PixelRect& area, FattenWidths widths,
                         uint32_t maxOpacity, uint32_t colour) {
  const PixelRect clipped = area.Intersect(canvas.Bounds());
  if (clipped.Empty()) return;
  widths.width = std::max(widths.width, 0);
  widths.antiAliasWidth = std::max(widths.antiAliasWidth, 0);
  const long long total = static_cast<long long>(widths.width) + widths.antiAliasWidth;
  FattenPass pass(canvas, clipped);
  const int core = widths.width / 100;
  pass.CoreMaxima(core);
  // Beyond the area's longest side every square holds the whole area, so a wider
  // one only weakens what it finds.
  const int side = std::max(clipped.right - clipped.left, clipped.bottom - clipped.top);
  const long long last = std::min<long long>(total / 100, std::max(core, side));
  for (long long d = core + 1; d <= last; ++d) {
    const std::array<uint8_t, 256> table = RampTable(static_cast<int>(d * 100), widths);
    if (table[255] == 0) break;  // farther squares give less still
    pass.GrowByOne();
    pass.Raise(table);
  }
  pass.Finish(maxOpacity, colour);
}

void SquareFatten(DrawingContext& context) {
  const DrawingSettings& settings = context.Settings();
  if (settings.maxOpacity <= 0) return;
  Canvas& canvas = context.Picture();
  const PixelRect area = PaintArea(canvas);
  if (area.Empty()) return;
  context.SetStatusText("★全選択領域正方形太らせ中...");
  FattenIntoWorkLayer(canvas, area, {settings.fattenWidth, settings.fattenAntiAliasWidth},
                      static_cast<uint32_t>(settings.maxOpacity), context.HeadColour());
  CommitFrame(context, FrameFlavour::Normal, area);
}

}  // namespace lumavex
