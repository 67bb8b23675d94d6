#include "lumavex/paint/MemorySurface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "lumavex/paint/FillRules.h"
#include "lumavex/paint/FreeFormPaste.h"
#include "lumavex/paint/PixelRounding.h"
#include "lumavex/paint/SurfaceBand.h"

namespace lumavex {
namespace {

constexpr double kBorderTolerance = 0.001;
// A block whose target is smaller than this on both axes goes to the one pixel
// nearest to its centre: it may hold no pixel centre of its own.
constexpr double kSmallBlock = 2.0 / 3.0;

// The pixels whose integer coordinates lie within the bounds of `points`.
PixelRect PixelBox(double minX, double minY, double maxX, double maxY) {
  return {CeilPixelIndex(minX - kBorderTolerance), CeilPixelIndex(minY - kBorderTolerance),
          FloorPixelIndex(maxX + kBorderTolerance), FloorPixelIndex(maxY + kBorderTolerance)};
}

PixelRect BandBox(const BandSamples& band) {
  double minX = band.a[0].x, maxX = minX, minY = band.a[0].y, maxY = minY;
  for (const auto* curve : {&band.a, &band.b})
    for (const Sample& p : *curve) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  return PixelBox(minX, minY, maxX, maxY);
}

CopyOutcome OutcomeOf(QuadCheck check) {
  return check == QuadCheck::Twisted ? CopyOutcome::Twisted : CopyOutcome::Overlapping;
}

// Fills the empty cells of the pixels inside quadrilateral i of the band.
void CopyQuad(const Canvas& canvas, const BandSamples& band, int i, const GreyMap& border,
              const GreyMap& opacity, MemorySurface& surface) {
  const Sample a = band.a[i], b = band.b[i], c = band.b[i + 1], d = band.a[i + 1];
  const SurfaceQuad quad(a, b, c, d);
  // The patch runs along the curves (f) from A to D and across (v) from A to B.
  const PasteCorners patch{a, d, c, b};
  const PixelRect box = quad.Box().Intersect(surface.box);
  const int width = surface.Width();
  for (int y = box.top; y <= box.bottom; ++y) {
    const auto [left, right] = quad.RowColumns(y, box.left, box.right);
    SurfaceCell* row = &surface.cells[static_cast<size_t>(y - surface.box.top) * width];
    for (int x = left; x <= right; ++x) {
      SurfaceCell& cell = row[x - surface.box.left];
      if (!cell.Empty() || !quad.Contains(x, y)) continue;
      double f = 0, v = 0;
      if (!InverseBilinear(patch, {double(x), double(y)}, f, v)) continue;
      uint32_t display = canvas.display.At(x, y), frame = canvas.frame.At(x, y);
      Select(display, frame);
      cell = {std::clamp(f, 0.0, 1.0), std::clamp(v, 0.0, 1.0), i, display & ~kProcessingMarks,
              frame, border.At(x, y), opacity.At(x, y)};
    }
  }
}

// The point at `v` across on the parabola through curve 1 (v = 0), the middle curve
// (v = ½) and curve 2 (v = 1).
Sample Across(Sample a, Sample m, Sample b, double v) {
  const double la = (1 - v) * (1 - 2 * v), lm = 4 * v * (1 - v), lb = v * (2 * v - 1);
  return {a.x * la + m.x * lm + b.x * lb, a.y * la + m.y * lm + b.y * lb};
}

uint32_t RoundedChannel(double value) {
  return static_cast<uint32_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

// What the warp knows of the blocks: the cells, where each lands and which take part.
struct WarpInput {
  const MemorySurface& surface;
  std::vector<Sample> targets;
  std::vector<uint8_t> takesPart;
};

// The block with top-left cell `k`, interpolated at (u along the row, v down).
void WriteInterpolated(const MemorySurface& surface, size_t k, double u, double v,
                       WarpedPicture& out, size_t at) {
  const size_t w = static_cast<size_t>(surface.Width());
  const SurfaceCell* cells[4] = {&surface.cells[k], &surface.cells[k + 1],
                                 &surface.cells[k + w + 1], &surface.cells[k + w]};
  u = std::clamp(u, 0.0, 1.0);
  v = std::clamp(v, 0.0, 1.0);
  const double weights[4] = {(1 - u) * (1 - v), u * (1 - v), u * v, (1 - u) * v};
  double shown[3] = {0, 0, 0}, framed[3] = {0, 0, 0}, alpha = 0, border = 0, opacity = 0;
  for (int n = 0; n < 4; ++n) {
    const SurfaceCell& c = *cells[n];
    const double wn = weights[n];
    const double an = wn * Opacity(c.frame);
    for (int ch = 0; ch < 3; ++ch) {
      shown[ch] += wn * Channel(c.display, 16 - 8 * ch);
      framed[ch] += an * Channel(c.frame, 16 - 8 * ch);
    }
    alpha += an;
    border += wn * c.border;
    opacity += wn * c.opacity;
  }
  uint32_t display = kDrawAreaFlag, frame = 0;
  const uint32_t a = RoundedChannel(alpha);
  for (int ch = 0; ch < 3; ++ch) {
    display |= RoundedChannel(shown[ch]) << (16 - 8 * ch);
    if (a > 0) frame |= RoundedChannel(framed[ch] / alpha) << (16 - 8 * ch);
  }
  out.display[at] = display;
  out.frame[at] = a > 0 ? (a << 24) | frame : 0;
  out.border[at] = static_cast<uint8_t>(RoundedChannel(border));
  out.opacity[at] = static_cast<uint8_t>(RoundedChannel(opacity));
}

// The target pixels of the block with top-left cell `k`.
void WarpBlock(const WarpInput& in, size_t k, WarpScan scan, WarpedPicture& out) {
  const size_t w = static_cast<size_t>(in.surface.Width());
  const PasteCorners corners{in.targets[k], in.targets[k + 1], in.targets[k + w + 1],
                             in.targets[k + w]};
  double minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
  for (const Sample& c : corners) {
    minX = std::min(minX, c.x), maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
  }
  if (maxX - minX < kSmallBlock && maxY - minY < kSmallBlock) {
    const int x = PixelIndex(std::floor((minX + maxX) / 2 + 0.5));
    const int y = PixelIndex(std::floor((minY + maxY) / 2 + 0.5));
    if (out.box.Contains(x, y) && !out.Covered(x, y))
      WriteInterpolated(in.surface, k, 0.5, 0.5, out, out.Index(x, y));
    return;
  }
  const PixelRect box = PixelBox(minX, minY, maxX, maxY).Intersect(out.box);
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x) {
      const size_t at = out.Index(x, y);
      const bool covered = out.display[at] & kDrawAreaFlag;
      if (covered && scan == WarpScan::Fast) continue;
      double u = 0, v = 0;
      if (!InverseBilinear(corners, {double(x), double(y)}, u, v) || covered) continue;
      WriteInterpolated(in.surface, k, u, v, out, at);
    }
}

// Where every cell lands on the band of the sampled live curves.
bool MapCells(const MemorySurface& surface, const PasteCurves& curves, WarpInput& in) {
  const int n = surface.sampleCount;
  const std::vector<Sample> s1 = SplineSamples(curves.curve1, n);
  const std::vector<Sample> sm = SplineSamples(curves.middle, n);
  const std::vector<Sample> s2 = SplineSamples(curves.curve2, n);
  if (static_cast<int>(s1.size()) != n || sm.size() != s1.size() || s2.size() != s1.size())
    return false;
  in.targets.resize(surface.cells.size());
  in.takesPart.assign(surface.cells.size(), 0);
  for (size_t k = 0; k < surface.cells.size(); ++k) {
    const SurfaceCell& c = surface.cells[k];
    if (c.Empty() || !(c.display & kDrawAreaFlag) || c.segment + 1 >= n) continue;
    const int i = c.segment;
    const Sample p = Across(s1[i], sm[i], s2[i], c.across);
    const Sample q = Across(s1[i + 1], sm[i + 1], s2[i + 1], c.across);
    in.targets[k] = {p.x + c.along * (q.x - p.x), p.y + c.along * (q.y - p.y)};
    in.takesPart[k] = 1;
  }
  return true;
}

PixelRect TargetBox(const WarpInput& in) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (size_t k = 0; k < in.targets.size(); ++k) {
    if (!in.takesPart[k]) continue;
    const Sample t = in.targets[k];
    minX = std::min(minX, t.x), maxX = std::max(maxX, t.x);
    minY = std::min(minY, t.y), maxY = std::max(maxY, t.y);
  }
  if (!(minX <= maxX)) return {};
  return PixelBox(minX, minY, maxX, maxY);
}

}  // namespace

std::string CopyOutcomeText(CopyOutcome outcome) {
  switch (outcome) {
    case CopyOutcome::CountsDiffer: return "★基点個数を一致させて下さい。";
    case CopyOutcome::Overlapping: return QuadCheckMessage(QuadCheck::Overlapping);
    case CopyOutcome::Twisted: return QuadCheckMessage(QuadCheck::Twisted);
    case CopyOutcome::NoMemory: return "メモリが足りません。";
    case CopyOutcome::Copied: break;
  }
  return {};
}

CopyOutcome CopySurface(const Canvas& canvas, std::span<const Sample> curve1,
                        std::span<const Sample> curve2, int pointSpacing, const GreyMap& border,
                        const GreyMap& opacity, uint64_t availableBytes, MemorySurface& surface) {
  if (curve1.size() != curve2.size()) return CopyOutcome::CountsDiffer;
  const BandSamples band = SampleBand(BandShape::Spline, curve1, curve2, pointSpacing);
  if (band.check != QuadCheck::Accepted) return OutcomeOf(band.check);
  if (band.Count() < 2) return CopyOutcome::Overlapping;
  MemorySurface copy;
  copy.box = BandBox(band).Intersect(canvas.Bounds());
  if (copy.box.Empty()) return CopyOutcome::Overlapping;
  const uint64_t count = uint64_t(copy.Width()) * uint64_t(copy.Height());
  if (count * sizeof(SurfaceCell) > availableBytes) return CopyOutcome::NoMemory;
  try {
    copy.cells.resize(count);
  } catch (const std::bad_alloc&) {
    return CopyOutcome::NoMemory;
  }
  copy.curve1.assign(curve1.begin(), curve1.end());
  copy.curve2.assign(curve2.begin(), curve2.end());
  copy.sampleCount = band.Count();
  copy.hasBorder = !border.Empty();
  for (int i = 0; i + 1 < band.Count(); ++i) CopyQuad(canvas, band, i, border, opacity, copy);
  surface = std::move(copy);
  return CopyOutcome::Copied;
}

PasteCurves CopyPosition(const MemorySurface& surface) {
  PasteCurves curves{surface.curve1, {}, surface.curve2};
  for (size_t j = 0; j < curves.curve1.size() && j < curves.curve2.size(); ++j)
    curves.middle.push_back({(curves.curve1[j].x + curves.curve2[j].x) / 2,
                             (curves.curve1[j].y + curves.curve2[j].y) / 2});
  return curves;
}

void MirrorLeftRight(PasteCurves& curves) {
  double sum = 0;
  size_t count = 0;
  for (const auto* curve : {&curves.curve1, &curves.curve2})
    for (const Sample& p : *curve) sum += p.x, ++count;
  if (count == 0) return;
  const double axis = sum / count;
  for (auto* curve : {&curves.curve1, &curves.middle, &curves.curve2})
    for (Sample& p : *curve) p.x = 2 * axis - p.x;
}

WarpedPicture WarpSurface(const MemorySurface& surface, const PasteCurves& curves,
                          const PixelRect& clip, WarpScan scan) {
  WarpedPicture out;
  if (surface.Empty() || surface.Width() < 2 || surface.Height() < 2) return out;
  WarpInput in{surface, {}, {}};
  if (!MapCells(surface, curves, in)) return out;
  const PixelRect box = TargetBox(in).Intersect(clip);
  if (box.Empty()) return out;
  out.box = box;
  const size_t size = size_t(box.right - box.left + 1) * size_t(box.bottom - box.top + 1);
  out.display.assign(size, 0);
  out.frame.assign(size, 0);
  out.border.assign(size, 0);
  out.opacity.assign(size, 0);
  const size_t w = static_cast<size_t>(surface.Width());
  for (int row = 0; row + 1 < surface.Height(); ++row)
    for (size_t k = row * w, end = k + w - 1; k < end; ++k)
      if (in.takesPart[k] && in.takesPart[k + 1] && in.takesPart[k + w] && in.takesPart[k + w + 1])
        WarpBlock(in, k, scan, out);
  return out;
}

void LayInWarpedPicture(PaintStep& step, const WarpedPicture& warped, uint32_t maxOpacity,
                        bool figure) {
  Canvas& canvas = step.Picture();
  const PixelRect area = warped.box.Intersect(step.Area());
  for (int y = area.top; y <= area.bottom; ++y) {
    uint32_t* displayRow = canvas.display.Row32(y);
    uint32_t* frameRow = canvas.frame.Row32(y);
    for (int x = area.left; x <= area.right; ++x) {
      const size_t k = warped.Index(x, y);
      uint32_t& display = displayRow[x];
      uint32_t& frame = frameRow[x];
      if (!(warped.display[k] & kDrawAreaFlag) || (display & (kUntouchable | kQueuedMark)))
        continue;
      const uint32_t b = warped.border[k], o = warped.opacity[k];
      const uint32_t opacity = Round255(maxOpacity * (255 - o));
      if (b == kOutsideBorder || opacity == 0) continue;
      const bool inside = figure && b < kFigureBorder;
      PixelPair under{display, frame};
      if (inside && !(display & kFigureMark) && Opacity(frame) > 0)
        under = {(display & 0xFF000000) | Unblend(display, frame, Opacity(frame)),
                 BackdropFor(x, y, display)};
      PixelPair laid =
          BitmapFillPixel(x, y, under, {warped.display[k], warped.frame[k]}, opacity)
              .value_or(under);
      laid.display |= kQueuedMark | (inside ? kFigureMark : 0);
      if (inside && o < kProtectedOpacity) Deselect(laid.display, laid.frame);
      step.PaintHeld(display, frame, x, y, laid.display, laid.frame);
    }
  }
  step.FlushRecords();
  const PixelRect& box = warped.box;
  step.Widen({box.left - 1, box.top - 1, box.right + 1, box.bottom + 1});
}

PixelRect PasteSurface(PaintStep& step, const MemorySurface& surface, const PasteCurves& curves,
                       uint32_t maxOpacity, platform::Allocator& allocator, FillPicture& image) {
  const WarpedPicture warped = WarpSurface(surface, curves, step.Picture().Bounds());
  if (warped.box.Empty()) return {};
  LayInWarpedPicture(step, warped, maxOpacity, surface.hasBorder);
  const int width = warped.Width(), height = warped.box.bottom - warped.box.top + 1;
  const auto fits = [&](const PixelPlane& plane) {
    return !plane.Empty() && plane.Width() == width && plane.Height() == height &&
           plane.BytesPerPixel() == 4;
  };
  // A paste dragged on gives pictures of one size after another: the last one's
  // planes take the next one's words.
  FillPicture picture;
  FillPicture& into = fits(image.display) && fits(image.frame) ? image : picture;
  if (&into == &image || (picture.display.Create(allocator, width, height, 4) &&
                          picture.frame.Create(allocator, width, height, 4))) {
    const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint32_t);
    for (int y = 0; y < height; ++y) {
      const size_t k = static_cast<size_t>(y) * width;
      std::memcpy(into.display.Row32(y), &warped.display[k], rowBytes);
      std::memcpy(into.frame.Row32(y), &warped.frame[k], rowBytes);
    }
    into.path.clear();
    into.originX = warped.box.left;
    into.originY = warped.box.top;
    if (&into != &image) image = std::move(picture);
  }
  return warped.box;
}

}  // namespace lumavex
