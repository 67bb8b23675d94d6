#include "lumavex/paint/PictureFilePaste.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace lumavex {
namespace {

constexpr uint32_t kFlagsByte = 0xFF000000;

// A pasted frame word at canvas position (x, y): a picture position without frame
// carries its own backdrop, which the canvas position's backdrop replaces.
uint32_t PastedFrame(int x, int y, uint32_t frame) {
  return Opacity(frame) > 0 ? frame : BackdropColour(x, y, true, false);
}

// One canvas row and the paste-picture row laid over it, both indexed by canvas x.
struct PasteRow {
  uint32_t* display;
  uint32_t* frame;
  const uint32_t* sourceDisplay;
  const uint32_t* sourceFrame;
  int y;
};

// Pastes the picture pixel over canvas pixel x of the row by the pixel rule.
inline void PasteOne(PaintStep& step, const PasteRow& row, int x) {
  const uint32_t paste = row.sourceDisplay[x], old = row.display[x];
  if (!(paste & kDrawAreaFlag) || !Paintable(old)) return;
  const uint32_t oldFrame = row.frame[x];
  uint32_t newDisplay, newFrame;
  if ((old & kDrawAreaFlag) || Opacity(oldFrame) == 0) {
    // The pasted colour and frame replace the canvas's: PastedPixel's first case.
    const uint32_t pasteFrame = row.sourceFrame[x];
    newDisplay = (old & kFlagsByte) | kDrawAreaFlag | (paste & kColourMask);
    newFrame = Opacity(pasteFrame) > 0                            ? pasteFrame
               : ((static_cast<uint32_t>(x) ^ row.y) & 8) == 0 ? kLandEven
                                                                : kLandOdd;
  } else {
    const PixelPair pasted =
        *PastedPixel(x, row.y, {old, oldFrame}, {paste, row.sourceFrame[x]});
    newDisplay = pasted.display, newFrame = pasted.frame;
  }
  step.PaintHeldFrom(row.display[x], row.frame[x], old, oldFrame, x, row.y, newDisplay, newFrame);
}

// Pastes canvas pixels left..right of the row by the pixel rule, one by one.
void PasteRowSpan(PaintStep& step, const PasteRow& row, int left, int right) {
  for (int x = left; x <= right; ++x) PasteOne(step, row, x);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define LUMAVEX_PASTE_AVX2 1

// Eight words from anywhere in a row.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Load8(const uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// PasteRowSpan eight pixels at a time in 32-byte registers: each group works out the
// replacing case of the pixel rule side by side (the pasted colour under the canvas's
// flags, the pasted frame or the land backdrop) and stores its words at once, the
// pixels the paste leaves alone keeping theirs; the records of the written pixels
// follow in order. A group in which some pixel needs the merge under a canvas frame
// outside the drawing area goes pixel by pixel.
[[gnu::target("avx2")]] void PasteRowSpanAvx2(PaintStep& step, const PasteRow& row, int left,
                                              int right) {
  const bool journaled = step.Journaling();
  const __m256i drawArea = _mm256_set1_epi32(static_cast<int>(kDrawAreaFlag));
  const __m256i untouchable = _mm256_set1_epi32(static_cast<int>(kUntouchable));
  const __m256i flagsByte = _mm256_set1_epi32(static_cast<int>(kFlagsByte));
  const __m256i colourMask = _mm256_set1_epi32(static_cast<int>(kColourMask));
  const __m256i pastedFlags = _mm256_set1_epi32(static_cast<int>(kDrawAreaFlag | kPaintedMark));
  const __m256i landEven = _mm256_set1_epi32(static_cast<int>(kLandEven));
  const __m256i landOdd = _mm256_set1_epi32(static_cast<int>(kLandOdd));
  const __m256i square = _mm256_set1_epi32(8);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i rowSquare = _mm256_set1_epi32(row.y & 8);
  const __m256i step8 = _mm256_set1_epi32(8);
  __m256i xs = _mm256_add_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  int x = left;
  for (; x + 7 <= right; x += 8, xs = _mm256_add_epi32(xs, step8)) {
    const __m256i paste = Load8(row.sourceDisplay + x), old = Load8(row.display + x);
    const __m256i oldFrame = Load8(row.frame + x), pasteFrame = Load8(row.sourceFrame + x);
    const __m256i take =
        _mm256_andnot_si256(_mm256_cmpeq_epi32(_mm256_and_si256(paste, drawArea), zero),
                            _mm256_cmpeq_epi32(_mm256_and_si256(old, untouchable), zero));
    const __m256i replaces =
        _mm256_or_si256(_mm256_cmpeq_epi32(_mm256_and_si256(old, drawArea), drawArea),
                        _mm256_cmpeq_epi32(_mm256_srli_epi32(oldFrame, 24), zero));
    // Carry set when no taken pixel lies outside `replaces`.
    if (!_mm256_testc_si256(replaces, take)) {
      for (int i = 0; i < 8; ++i) PasteOne(step, row, x + i);
      continue;
    }
    const __m256i newDisplay =
        _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(old, flagsByte), pastedFlags),
                        _mm256_and_si256(paste, colourMask));
    const __m256i even = _mm256_cmpeq_epi32(_mm256_and_si256(xs, square), rowSquare);
    const __m256i backdrop = _mm256_blendv_epi8(landOdd, landEven, even);
    const __m256i noFrame = _mm256_cmpeq_epi32(_mm256_srli_epi32(pasteFrame, 24), zero);
    const __m256i newFrame = _mm256_blendv_epi8(pasteFrame, backdrop, noFrame);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row.display + x),
                        _mm256_blendv_epi8(old, newDisplay, take));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row.frame + x),
                        _mm256_blendv_epi8(oldFrame, newFrame, take));
    if (!journaled) continue;
    alignas(32) uint32_t olds[8], oldFrames[8], displays[8], frames[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(olds), old);
    _mm256_store_si256(reinterpret_cast<__m256i*>(oldFrames), oldFrame);
    _mm256_store_si256(reinterpret_cast<__m256i*>(displays), newDisplay);
    _mm256_store_si256(reinterpret_cast<__m256i*>(frames), newFrame);
    for (unsigned taken = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(take)));
         taken != 0; taken &= taken - 1) {
      const int i = std::countr_zero(taken);
      step.HoldWritten(olds[i], oldFrames[i], x + i, row.y, displays[i], frames[i]);
    }
  }
  PasteRowSpan(step, row, x, right);
}
#endif

using RowSpanFunction = void (*)(PaintStep&, const PasteRow&, int, int);

// The row paste: eight pixels at a time where the processor has 32-byte registers.
RowSpanFunction ChooseRowSpan() {
#ifdef LUMAVEX_PASTE_AVX2
  if (__builtin_cpu_supports("avx2")) return PasteRowSpanAvx2;
#endif
  return PasteRowSpan;
}

}  // namespace

void PastePicture::Release() {
  display.Release();
  frame.Release();
  area = {};
  path.clear();
}

std::optional<PixelPair> PastedPixel(int x, int y, PixelPair canvas, PixelPair paste) {
  if (!(paste.display & kDrawAreaFlag)) return std::nullopt;
  const uint32_t flags = (canvas.display & kFlagsByte) | kDrawAreaFlag;
  const uint32_t canvasAlpha = Opacity(canvas.frame);
  if ((canvas.display & kDrawAreaFlag) || canvasAlpha == 0)
    return PixelPair{flags | (paste.display & kColourMask), PastedFrame(x, y, paste.frame)};
  const uint32_t pasteAlpha = Opacity(paste.frame);
  const uint32_t bitmap = Unblend(paste.display, paste.frame, pasteAlpha);
  const uint32_t frame = MergeFrame(canvas.frame, pasteAlpha, paste.frame);
  return PixelPair{flags | Blend(frame, Opacity(frame), bitmap), frame};
}

PixelRect PasteRectangle(PaintStep& step, const PastePicture& picture, int left, int top,
                         platform::Progress& progress) {
  // The placed rectangle in 64 bits, since a typed corner may lie anywhere.
  const PixelRect area = step.Area();
  const int64_t right = int64_t{left} + picture.Width() - 1;
  const int64_t bottom = int64_t{top} + picture.Height() - 1;
  if (area.Empty() || right < area.left || bottom < area.top || left > area.right ||
      top > area.bottom)
    return {};
  const PixelRect rect{std::max(left, area.left), std::max(top, area.top),
                       static_cast<int>(std::min<int64_t>(right, area.right)),
                       static_cast<int>(std::min<int64_t>(bottom, area.bottom))};
  Canvas& canvas = step.Picture();
  const int dx = picture.area.left - left, dy = picture.area.top - top;
  static const RowSpanFunction pasteRowSpan = ChooseRowSpan();
  progress.ProgressStart(static_cast<uint64_t>(rect.bottom - rect.top + 1));
  for (int y = rect.bottom; y >= rect.top; --y) {
    const PasteRow row{canvas.display.Row32(y), canvas.frame.Row32(y),
                       picture.display.Row32(y + dy) + dx, picture.frame.Row32(y + dy) + dx, y};
    pasteRowSpan(step, row, rect.left, rect.right);
    progress.ProgressStep();
  }
  step.FlushRecords();
  step.Widen(rect);
  progress.ProgressEnd();
  return rect;
}

PixelRect PasteQuadrilateral(PaintStep& step, const PastePicture& picture,
                             const PasteCorners& corners, platform::Progress& progress) {
  const PixelRect box = QuadrilateralBox(corners).Intersect(step.Area());
  if (box.Empty()) return {};
  Canvas& canvas = step.Picture();
  const double spanX = picture.Width() - 1, spanY = picture.Height() - 1;
  progress.ProgressStart(static_cast<uint64_t>(box.bottom - box.top + 1));
  ForEachQuadrilateralPixel(
      corners, box,
      [&](int x, int y, double u, double v) {
        uint32_t& display = canvas.display.At(x, y);
        if (!Paintable(display)) return;
        const int sx = picture.area.left + static_cast<int>(std::floor(u * spanX + 0.5));
        const int sy = picture.area.top + static_cast<int>(std::floor(v * spanY + 0.5));
        uint32_t& frame = canvas.frame.At(x, y);
        const auto pasted =
            PastedPixel(x, y, {display, frame}, {picture.display.At(sx, sy), picture.frame.At(sx, sy)});
        if (pasted) step.PaintHeld(display, frame, x, y, pasted->display, pasted->frame);
      },
      [&](int) { progress.ProgressStep(); });
  step.FlushRecords();
  step.Widen(box);
  progress.ProgressEnd();
  return box;
}

PasteCorners RectangleCorners(const PastePicture& picture, int left, int top) {
  const double l = left, t = top, r = left + picture.Width() - 1, b = top + picture.Height() - 1;
  return {Sample{l, t}, Sample{r, t}, Sample{r, b}, Sample{l, b}};
}

std::optional<std::pair<int, int>> UnchangedRectangleAt(const PastePicture& picture,
                                                         const PasteCorners& corners) {
  const double left = corners[0].x, top = corners[0].y;
  if (left != std::floor(left) || top != std::floor(top) || std::fabs(left) > kFarPixel ||
      std::fabs(top) > kFarPixel)
    return std::nullopt;
  const PasteCorners laid = RectangleCorners(picture, static_cast<int>(left), static_cast<int>(top));
  for (size_t i = 0; i < laid.size(); ++i)
    if (laid[i].x != corners[i].x || laid[i].y != corners[i].y) return std::nullopt;
  return std::pair{static_cast<int>(left), static_cast<int>(top)};
}

}  // namespace lumavex
