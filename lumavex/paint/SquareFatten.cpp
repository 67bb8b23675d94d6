#include "lumavex/paint/SquareFatten.h"

#include <algorithm>
#include <array>
#include <vector>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/FrameCommit.h"

namespace lumavex {
namespace {

// The running maximum of radius `k` (window [i − k, i + k], ends clipped) over `n`
// positions of `lanes` bytes each, lanes side by side: positions are rows of a strip
// of columns, or single values of a line with lanes = 1. `padded` holds the values
// from position k on, with k positions of zeros before and after them (0 never
// raises a maximum); `out` receives the n results. The van Herk / Gil-Werman
// scheme: blocks of 2k + 1 positions, a forward and a backward maximum within each,
// three comparisons per value whatever the radius. `g` and `h` are scratch space.
void RunningMax(const uint8_t* padded, uint8_t* out, int n, int k, int lanes,
                std::vector<uint8_t>& g, std::vector<uint8_t>& h) {
  const size_t stride = static_cast<size_t>(lanes);
  if (k <= 0) {
    std::copy(padded, padded + stride * n, out);
    return;
  }
  const int w = 2 * k + 1, m = n + 2 * k;
  g.resize(stride * m);
  h.resize(stride * m);
  for (int b = 0; b < m; b += w) {
    const int e = std::min(b + w, m);
    std::copy(padded + stride * b, padded + stride * (b + 1), &g[stride * b]);
    for (int j = b + 1; j < e; ++j) {
      const uint8_t* p = padded + stride * j;
      const uint8_t* before = &g[stride * (j - 1)];
      uint8_t* to = &g[stride * j];
      for (size_t l = 0; l < stride; ++l) to[l] = std::max(before[l], p[l]);
    }
    std::copy(padded + stride * (e - 1), padded + stride * e, &h[stride * (e - 1)]);
    for (int j = e - 2; j >= b; --j) {
      const uint8_t* p = padded + stride * j;
      const uint8_t* after = &h[stride * (j + 1)];
      uint8_t* to = &h[stride * j];
      for (size_t l = 0; l < stride; ++l) to[l] = std::max(after[l], p[l]);
    }
  }
  for (int i = 0; i < n; ++i) {
    const uint8_t* back = &h[stride * i];
    const uint8_t* front = &g[stride * (i + w - 1)];
    uint8_t* to = out + stride * i;
    for (size_t l = 0; l < stride; ++l) to[l] = std::max(back[l], front[l]);
  }
}

// While the pass runs, the work words of each row of the area hold, as bytes, the
// row's maxima over the current square followed by the fattened opacities found so
// far; so the pass needs no memory of the area's size besides the work layer, and
// its loops run over plain bytes.
class FattenPass {
 public:
  FattenPass(Canvas& canvas, const PixelRect& area)
      : canvas_(canvas),
        area_(area),
        width_(area.right - area.left + 1),
        height_(area.bottom - area.top + 1) {}

  // The selected pixels' frame opacities, maximised over the square of radius k;
  // the found opacities start as those maxima.
  void CoreMaxima(int k);
  // Grows the square of the maxima by one pixel on every side and raises each found
  // opacity to table[maximum] where that is more.
  void GrowAndRaise(const std::array<uint8_t, 256>& table);
  // Writes the final work words.
  void Finish(uint32_t maxOpacity, uint32_t colour);

 private:
  // The columns of a strip the vertical running maximum handles at a time.
  static constexpr int kStripColumns = 64;

  uint8_t* Maxima(int row) {
    return reinterpret_cast<uint8_t*>(canvas_.work.Row32(area_.top + row) + area_.left);
  }
  uint8_t* Found(int row) { return Maxima(row) + width_; }

  Canvas& canvas_;
  const PixelRect area_;
  const int width_;
  const int height_;
  std::vector<uint8_t> padded_, result_, g_, h_;
};

void FattenPass::CoreMaxima(int k) {
  const int rowRadius = std::min(k, width_ - 1);
  padded_.assign(static_cast<size_t>(width_) + 2 * rowRadius, 0);
  for (int row = 0; row < height_; ++row) {
    const uint32_t* display = canvas_.display.Row32(area_.top + row) + area_.left;
    const uint32_t* frame = canvas_.frame.Row32(area_.top + row) + area_.left;
    uint8_t* values = padded_.data() + rowRadius;
    for (int i = 0; i < width_; ++i)
      values[i] = display[i] & kNonSelectedFlag ? 0 : static_cast<uint8_t>(Opacity(frame[i]));
    RunningMax(padded_.data(), Maxima(row), width_, rowRadius, 1, g_, h_);
  }
  // Down the columns a strip at a time, so that each row is read and written in
  // pieces of whole cache lines.
  const int columnRadius = std::min(k, height_ - 1);
  for (int left = 0; left < width_; left += kStripColumns) {
    const int lanes = std::min(kStripColumns, width_ - left);
    const size_t stride = static_cast<size_t>(lanes);
    padded_.assign(stride * (height_ + 2 * columnRadius), 0);
    result_.resize(stride * height_);
    for (int row = 0; row < height_; ++row)
      std::copy_n(Maxima(row) + left, lanes, &padded_[stride * (row + columnRadius)]);
    RunningMax(padded_.data(), result_.data(), height_, columnRadius, lanes, g_, h_);
    for (int row = 0; row < height_; ++row) {
      std::copy_n(&result_[stride * row], lanes, Maxima(row) + left);
      std::copy_n(&result_[stride * row], lanes, Found(row) + left);
    }
  }
}

void FattenPass::GrowAndRaise(const std::array<uint8_t, 256>& table) {
  // Along the rows: each maximum takes its two neighbours in.
  std::vector<uint8_t>& line = padded_;
  line.assign(static_cast<size_t>(width_) + 2, 0);
  for (int row = 0; row < height_; ++row) {
    uint8_t* maxima = Maxima(row);
    std::copy_n(maxima, width_, line.data() + 1);
    for (int i = 0; i < width_; ++i)
      maxima[i] = std::max(std::max(line[i], line[i + 1]), line[i + 2]);
  }
  // Down the columns: the row above as it stood before this step, the row below not
  // yet changed by it; then the raise of the row's found opacities.
  std::vector<uint8_t> above(width_, 0), current(width_);
  for (int row = 0; row < height_; ++row) {
    uint8_t* maxima = Maxima(row);
    std::copy_n(maxima, width_, current.data());
    if (row + 1 < height_) {
      const uint8_t* below = Maxima(row + 1);
      for (int i = 0; i < width_; ++i)
        maxima[i] = std::max(std::max(above[i], current[i]), below[i]);
    } else {
      for (int i = 0; i < width_; ++i) maxima[i] = std::max(above[i], current[i]);
    }
    uint8_t* found = Found(row);
    for (int i = 0; i < width_; ++i) found[i] = std::max(found[i], table[maxima[i]]);
    std::swap(above, current);
  }
}

void FattenPass::Finish(uint32_t maxOpacity, uint32_t colour) {
  std::vector<uint8_t>& found = padded_;
  found.resize(width_);
  for (int row = 0; row < height_; ++row) {
    std::copy_n(Found(row), width_, found.data());
    uint32_t* work = canvas_.work.Row32(area_.top + row) + area_.left;
    const uint32_t* display = canvas_.display.Row32(area_.top + row) + area_.left;
    for (int i = 0; i < width_; ++i) {
      const uint32_t a = Paintable(display[i]) ? Round255(found[i] * maxOpacity) : 0;
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
    pass.GrowAndRaise(table);
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
