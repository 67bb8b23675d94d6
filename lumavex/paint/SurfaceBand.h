#pragma once
// The band machinery the surfaces share: two curves sampled at the point spacing,
// the band between them cut into quadrilaterals, each checked, and the pixels of
// each quadrilateral visited once, by the first quadrilateral that contains them.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/curves/Spline.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define LUMAVEX_BAND_SIMD
#endif

namespace lumavex {

// Whether a surface follows the splines through its base points or the straight
// lines between them.
enum class BandShape { Spline, Polygon };

// How the pixels of a quadrilateral's box are found: Spans tests, row by row, only
// the pixels near the quadrilateral's span on that row; WholeBox, the slow and
// obvious form, tests every pixel of the box. Both visit the same pixels.
enum class QuadScan { Spans, WholeBox };

// The samples of two curves through their points in `shape`, `count` samples each.
std::pair<std::vector<Sample>, std::vector<Sample>> BandCurvePair(BandShape shape,
                                                                  std::span<const Sample> curveA,
                                                                  std::span<const Sample> curveB,
                                                                  int count);

// Checks the quadrilateral A B C D of a band: coinciding corners (within 1e-8 on
// both axes) first, then opposite edges (AB and CD, BC and DA) that cross. A concave
// quadrilateral whose edges do not cross is accepted.
QuadCheck CheckSurfaceQuad(Sample a, Sample b, Sample c, Sample d);

// The two curves sampled for a surface: each first at 100 samples, every
// quadrilateral of those checked, then both at n = trunc(max(L1, L2) × 100 / spacing)
// samples, L being the lengths of the 100-sample polylines.
struct BandSamples {
  QuadCheck check = QuadCheck::Accepted;  // the first rejected 100-sample quadrilateral
  std::vector<Sample> a;
  std::vector<Sample> b;
  int Count() const { return static_cast<int>(a.size()); }
};
BandSamples SampleBand(BandShape shape, std::span<const Sample> curveA,
                       std::span<const Sample> curveB, int pointSpacing);

// One quadrilateral of a band, ready for the inside test: corners A, B, C, D in order.
class SurfaceQuad {
 public:
  SurfaceQuad(Sample a, Sample b, Sample c, Sample d);

 private:
  struct Edge {
    double px, py;     // start corner
    double ex, ey;     // direction, start to end
    double tolerance;  // 0.001 × |edge|, with the orientation folded in
  };

 public:
  // Where the quadrilateral lies along one kind of line, rows or columns: on each line
  // a range outside which no pixel is contained; it may hold pixels that are not.
  class Bounds {
   public:
    Bounds() = default;
    Bounds(const std::array<Edge, 6>& edges, bool concave, bool columns);
    // The range on line `v` (row y or column x); empty (lo > hi) when the line misses.
    [[gnu::always_inline]] std::pair<double, double> Span(double v) const {
      if (!concave_) return parts_[0].SpanAt(v);
      const auto [lo1, hi1] = parts_[0].SpanAt(v);
      const auto [lo2, hi2] = parts_[1].SpanAt(v);
      if (!(lo1 <= hi1)) return {lo2, hi2};
      if (!(lo2 <= hi2)) return {lo1, hi1};
      return {std::min(lo1, lo2), std::max(hi1, hi2)};
    }
    // The whole positions of Span(v) inside [min, max]; first > last when none.
    [[gnu::always_inline]] std::pair<int, int> Whole(int v, int min, int max) const {
      const auto [lo, hi] = Span(v);
      if (!(lo <= hi)) return {1, 0};
      return {CeilWithin(lo, min, max + 1), FloorWithin(hi, min - 1, max)};
    }

    // Whole(v + i, min, max) for the `count` lines from `v` (i < count): the first and
    // last positions of line v + i in firsts[i] and lasts[i], and in `having` the indices
    // i of the lines that hold any, in order. Returns how many do. The three arrays
    // have room for `count` rounded up to a multiple of four; the entries past `count`
    // (and in `having` past the returned number) mean nothing.
    int Lines(int v, int count, int min, int max, int* firsts, int* lasts, int* having) const;
    // Lines line by line, the plain form the quicker one is held to.
    int LinesPlain(int v, int count, int min, int max, int* firsts, int* lasts, int* having) const;

   private:
#ifdef LUMAVEX_BAND_SIMD
    // Lines four lines at a time, for a convex quadrilateral.
    [[gnu::target("avx2")]] int LinesAvx2(int v, int count, int min, int max, int* firsts,
                                          int* lasts, int* having) const;
#endif
    // Where an edge holds along one line, row y (or column x): x >= slope·y + offset (a
    // lower bound) or x <= it (y against x for a column).
    struct Line {
      double slope = 0, offset = 0;
      double At(double v) const { return slope * v + offset; }
    };
    // Two bounds of one convex part (the quadrilateral or one of its triangles): of the
    // edges that are not nearly level with the lines, the lower and the upper bound
    // reaching over the most lines. Leaving the other edges out keeps every contained
    // pixel inside the span, and the exact test sorts out the few extra ones near the
    // short edges; a thin quadrilateral's span is then two multiply-adds per line.
    struct Part {
      Line lower{0, -std::numeric_limits<double>::infinity()};
      Line upper{0, std::numeric_limits<double>::infinity()};
      double lowerReach = -1, upperReach = -1;  // the lines each chosen edge spans
      // Offers edge `e` as a bound along rows or, with `columns`, along columns.
      void Add(const Edge& e, bool columns);
      // The positions where both bounds hold, widened by a margin against rounding.
      [[gnu::always_inline]] std::pair<double, double> SpanAt(double v) const {
        return {lower.At(v) - kSpanMargin, upper.At(v) + kSpanMargin};
      }
    };
    static constexpr double kSpanMargin = 0.01;  // how far a span reaches past its ends
    // The smallest integer >= v, for v clamped to [min, max] (small integers): the
    // conversions of a plain cast, without a library call or a branch.
    [[gnu::always_inline]] static int CeilWithin(double v, int min, int max) {
      v = std::min(std::max(v, static_cast<double>(min)), static_cast<double>(max));
      const int t = static_cast<int>(v);
      return t + (static_cast<double>(t) < v);
    }
    // The largest integer <= v, for v clamped likewise.
    [[gnu::always_inline]] static int FloorWithin(double v, int min, int max) {
      v = std::min(std::max(v, static_cast<double>(min)), static_cast<double>(max));
      const int t = static_cast<int>(v);
      return t - (static_cast<double>(t) > v);
    }

    std::array<Part, 2> parts_{};
    bool concave_ = false;
  };

  const std::array<Sample, 4>& Corners() const {
    return corners_;
  }
  // The pixels whose integer coordinates lie between the smallest and largest corner
  // coordinates, within 0.001; not clipped.
  const PixelRect& Box() const {
    return box_;
  }
  // Whether (x, y) lies inside the quadrilateral or on its border, within 0.001.
  bool Contains(double x, double y) const {
    if (!concave_) return PassesAll(edges_.data(), 4, x, y);
    return PassesAll(edges_.data(), 3, x, y) || PassesAll(edges_.data() + 3, 3, x, y);
  }
  // Whether the quadrilateral is small and its box taller than wide, so that scanning
  // it by columns crosses fewer lines than by rows.
  bool ByColumns() const {
    return byColumns_;
  }
  // The bounds along columns when ByColumns, else along rows, made with the quadrilateral.
  const Bounds& ScanBounds() const {
    return scan_;
  }
  // The bounds along rows or, with `columns`, along columns, made on each call.
  Bounds BoundsAlong(bool columns) const {
    return Bounds(edges_, concave_, columns);
  }

  // The range of columns on row `y` outside which no pixel is contained, and its whole
  // columns inside [left, right]; likewise the rows of column `x`.
  std::pair<double, double> RowSpan(double y) const {
    return Along(false).Span(y);
  }
  std::pair<int, int> RowColumns(int y, int left, int right) const {
    return Along(false).Whole(y, left, right);
  }
  std::pair<double, double> ColumnSpan(double x) const {
    return Along(true).Span(x);
  }
  std::pair<int, int> ColumnRows(int x, int top, int bottom) const {
    return Along(true).Whole(x, top, bottom);
  }

 private:
  Bounds Along(bool columns) const {
    return columns == byColumns_ ? scan_ : BoundsAlong(columns);
  }
  // An edge from corner i to corner j, oriented so that inside is >= 0.
  Edge MakeEdge(int i, int j) const;
  static bool Passes(const Edge& e, double x, double y) {
    return e.ex * (y - e.py) - e.ey * (x - e.px) >= -e.tolerance;
  }
  static bool PassesAll(const Edge* edges, int count, double x, double y) {
    for (int i = 0; i < count; ++i)
      if (!Passes(edges[i], x, y)) return false;
    return true;
  }

  std::array<Sample, 4> corners_;
  double orientation_ = 1;
  // Convex: the four edges. Concave: two triangles (edges 0-2 and 3-5) split along the
  // diagonal from the reflex corner.
  std::array<Edge, 6> edges_{};
  PixelRect box_;
  bool concave_ = false;
  bool byColumns_ = false;
  Bounds scan_;
};

namespace band_detail {

// The most pixels a quadrilateral scanned by columns may hold: its candidates wait in
// a buffer of this many on the stack to be put in row order.
constexpr int kColumnPixels = 512;

// Sorts the positions `keys` (row above column, in 16 bits each) of pixels gathered
// column by column into rows from top to bottom, each left to right. Column order of a
// thin quadrilateral leaves them in row order, in reversed row order or with a few
// neighbours swapped, so a reversal and an insertion sort do.
inline void SortIntoRows(uint32_t* keys, int count) {
  if (count > 1 && keys[0] > keys[count - 1]) std::reverse(keys, keys + count);
  for (int i = 1; i < count; ++i) {
    const uint32_t key = keys[i];
    int j = i;
    for (; j > 0 && keys[j - 1] > key; --j) keys[j] = keys[j - 1];
    keys[j] = key;
  }
}

}  // namespace band_detail

// Visits every pixel of `quad`'s box inside `area` that is selected, carries no
// queued mark and lies inside the quadrilateral, rows from top to bottom, each left
// to right: gives it the queued mark, then calls visit(x, y, display, frame) with its
// words. Returns the box inside `area` when some pixel got the mark, else an empty
// rectangle.
template <class Visit>
PixelRect ForEachQuadPixel(Canvas& canvas, const SurfaceQuad& quad, const PixelRect& area,
                           QuadScan scan, Visit&& visit) {
  const PixelRect box = quad.Box().Intersect(area);
  if (box.Empty()) return {};
  // The planes keep their rows one after another from the bottom up, so the words of
  // the row below lie one plane width before; the box's words are reached from its top
  // row's without the row table.
  uint32_t* const displayTop = canvas.display.Row32(box.top);
  uint32_t* const frameTop = canvas.frame.Row32(box.top);
  const ptrdiff_t displayDown = -static_cast<ptrdiff_t>(canvas.display.Width());
  const ptrdiff_t frameDown = -static_cast<ptrdiff_t>(canvas.frame.Width());
  bool marked = false;
  auto visitRow = [&](int y, int left, int right) {
    uint32_t* display = displayTop + (y - box.top) * displayDown;
    uint32_t* frame = frameTop + (y - box.top) * frameDown;
    for (int x = left; x <= right; ++x) {
      if (display[x] & (kNonSelectedFlag | kQueuedMark)) continue;
      if (!quad.Contains(x, y)) continue;
      display[x] |= kQueuedMark;
      marked = true;
      visit(x, y, display[x], frame[x]);
    }
  };
  if (scan == QuadScan::WholeBox) {
    for (int y = box.top; y <= box.bottom; ++y) visitRow(y, box.left, box.right);
    return marked ? box : PixelRect{};
  }
  // A small quadrilateral with fewer columns than rows, the steep ones of a thin band,
  // goes by columns. Its pixels are found column by column,
  // nothing changed yet, then put in row order and visited. One holding more pixels
  // than the buffer (a sliver along a column) goes by rows after all.
  if (quad.ByColumns()) {
    const SurfaceQuad::Bounds& bounds = quad.ScanBounds();
    std::array<uint32_t, band_detail::kColumnPixels> keys;
    int count = 0;
    // Columns in runs as rows below, the columns without any rows left out.
    constexpr int kColumns = 64;
    std::array<int, kColumns> tops, bottoms, having;
    for (int left = box.left; left <= box.right && count >= 0; left += kColumns) {
      const int run = std::min(kColumns, box.right - left + 1);
      const int columns =
          bounds.Lines(left, run, box.top, box.bottom, tops.data(), bottoms.data(), having.data());
      for (int i = 0; i < columns && count >= 0; ++i) {
        const int x = left + having[i], first = tops[having[i]], last = bottoms[having[i]];
        const uint32_t* display = displayTop + (first - box.top) * displayDown + x;
        for (int y = first; y <= last; ++y, display += displayDown) {
          if (*display & (kNonSelectedFlag | kQueuedMark)) continue;
          if (!quad.Contains(x, y)) continue;
          if (count == band_detail::kColumnPixels) {
            count = -1;
            break;
          }
          keys[count++] =
              static_cast<uint32_t>(y - box.top) << 16 | static_cast<uint32_t>(x - box.left);
        }
      }
    }
    if (count >= 0) {
      band_detail::SortIntoRows(keys.data(), count);
      for (int i = 0; i < count; ++i) {
        const int row = static_cast<int>(keys[i] >> 16);
        const int x = box.left + static_cast<int>(keys[i] & 0xFFFF);
        uint32_t& display = displayTop[row * displayDown + x];
        display |= kQueuedMark;
        visit(x, box.top + row, display, frameTop[row * frameDown + x]);
      }
      return count > 0 ? box : PixelRect{};
    }
  }
  // The columns of a run of rows first, then the rows among them that have any: most
  // rows of a thin quadrilateral's box have none, and finding them without a branch
  // per row keeps the loop from guessing wrong at every few rows.
  SurfaceQuad::Bounds rowBounds;
  if (quad.ByColumns()) rowBounds = quad.BoundsAlong(false);
  const SurfaceQuad::Bounds& bounds = quad.ByColumns() ? rowBounds : quad.ScanBounds();
  constexpr int kRows = 64;
  std::array<int, kRows> firsts, lasts, having;
  for (int top = box.top; top <= box.bottom; top += kRows) {
    const int count = std::min(kRows, box.bottom - top + 1);
    const int rows =
        bounds.Lines(top, count, box.left, box.right, firsts.data(), lasts.data(), having.data());
    // Asked for now, the words of all these rows arrive together rather than one row's
    // after another's.
    for (int i = 0; i < rows; ++i) {
      const ptrdiff_t down = top + having[i] - box.top;
      __builtin_prefetch(displayTop + down * displayDown + firsts[having[i]]);
      __builtin_prefetch(frameTop + down * frameDown + firsts[having[i]]);
    }
    for (int i = 0; i < rows; ++i) {
      const int r = having[i];
      visitRow(top + r, firsts[r], lasts[r]);
    }
  }
  return marked ? box : PixelRect{};
}

}  // namespace lumavex
