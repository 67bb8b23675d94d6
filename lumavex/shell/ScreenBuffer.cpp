#include "lumavex/shell/ScreenBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lumavex/canvas/PixelPlane.h"

namespace lumavex {
namespace {

int Wrap(int value, int size) {
  const int r = value % size;
  return r < 0 ? r + size : r;
}

// Fills `out` with view columns [viewX, viewX + count) of one canvas row `src`
// (null: outside the canvas), magnified by `n` or point-sampled every `f` pixels.
void FillColumns(const uint32_t* src, int canvasWidth, int positionX, int n, int f, int viewX,
                 int count, uint32_t* out) {
  if (!src) {
    std::fill_n(out, count, 0u);
    return;
  }
  if (n == 1 && f == 1) {
    // 100 %: black, then one copy of the canvas part, then black.
    const int first = positionX + viewX;
    const int insideFrom = std::clamp(-first, 0, count);
    const int insideTo = std::clamp(canvasWidth - first, insideFrom, count);
    std::fill_n(out, insideFrom, 0u);
    std::memcpy(out + insideFrom, src + first + insideFrom,
                static_cast<size_t>(insideTo - insideFrom) * sizeof(uint32_t));
    std::fill_n(out + insideTo, count - insideTo, 0u);
    return;
  }
  if (f > 1) {
    for (int i = 0; i < count; ++i) {
      const int64_t cx = positionX + int64_t{viewX + i} * f;
      out[i] = cx >= 0 && cx < canvasWidth ? src[cx] : 0u;
    }
    return;
  }
  for (int v = viewX, end = viewX + count; v < end;) {
    const int cx = positionX + v / n;
    const int run = std::min(n - v % n, end - v);
    std::fill_n(out, run, cx >= 0 && cx < canvasWidth ? src[cx] : 0u);
    out += run;
    v += run;
  }
}

// FillColumns at 100 % with the light factors row `factors` multiplied in on the way:
// the canvas part goes from both rows straight into `out` in one pass, and the black
// outside stays black under any factor.
void FillLitColumns(const uint32_t* src, const uint32_t* factors, int canvasWidth, int positionX,
                    int viewX, int count, uint32_t* out) {
  const int first = positionX + viewX;
  const int insideFrom = std::clamp(-first, 0, count);
  const int insideTo = std::clamp(canvasWidth - first, insideFrom, count);
  std::fill_n(out, insideFrom, 0u);
  if (insideTo > insideFrom)
    ApplyLightRow(src + first + insideFrom, factors + first + insideFrom, out + insideFrom,
                  insideTo - insideFrom);
  std::fill_n(out + insideTo, count - insideTo, 0u);
}

}  // namespace

void ScreenBuffer::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  originX_ = originY_ = 0;
  valid_ = false;
}

uint64_t ScreenBuffer::Update(const ViewPlacement& p, platform::Rect dirty) {
  if (width_ == 0 || height_ == 0) return 0;
  const platform::Rect all{0, 0, width_, height_};
  uint64_t composed = 0;
  auto compose = [&](platform::Rect r) {
    r = platform::Intersect(r, all);
    if (r.Empty()) return;
    Compose(p, r);
    composed += static_cast<uint64_t>(r.Width()) * r.Height();
  };

  bool full = !valid_ || !p.SameScale(last_);
  int dx = 0, dy = 0;
  if (!full) {
    const int n = Magnification(p.zoomCode), f = ReductionFactor(p.zoomCode);
    const int64_t canvasDx = int64_t{p.positionX} - last_.positionX;
    const int64_t canvasDy = int64_t{p.positionY} - last_.positionY;
    full = canvasDx % f != 0 || canvasDy % f != 0;
    const int64_t screenDx = canvasDx * n / f, screenDy = canvasDy * n / f;
    full = full || std::llabs(screenDx) >= width_ || std::llabs(screenDy) >= height_;
    dx = static_cast<int>(screenDx);
    dy = static_cast<int>(screenDy);
  }
  if (full) {
    originX_ = originY_ = 0;
    last_ = p;
    compose(all);
  } else {
    originX_ = Wrap(originX_ + dx, width_);
    originY_ = Wrap(originY_ + dy, height_);
    last_ = p;
    if (dx > 0) compose({width_ - dx, 0, width_, height_});
    if (dx < 0) compose({0, 0, -dx, height_});
    if (dy > 0) compose({0, height_ - dy, width_, height_});
    if (dy < 0) compose({0, 0, width_, -dy});
  }
  valid_ = true;
  if (!dirty.Empty()) compose(dirty);
  return composed;
}

const uint32_t* ScreenBuffer::SourceRow(const ViewPlacement& p, int viewY) const {
  if (!p.layer || p.layer->Empty()) return nullptr;
  const int n = Magnification(p.zoomCode), f = ReductionFactor(p.zoomCode);
  const int64_t cy = p.positionY + (n > 1 ? viewY / n : int64_t{viewY} * f);
  if (cy < 0 || cy >= p.layer->Height()) return nullptr;
  return p.layer->Row32(static_cast<int>(cy));
}

void ScreenBuffer::Compose(const ViewPlacement& p, platform::Rect area) {
  const int n = Magnification(p.zoomCode), f = ReductionFactor(p.zoomCode);
  const int canvasWidth = p.layer ? p.layer->Width() : 0;
  // The light factors take the same way from the canvas to the view as the pixels.
  const PixelPlane* light = p.light && p.layer && !p.light->Empty() &&
                                    p.light->Width() == p.layer->Width() &&
                                    p.light->Height() == p.layer->Height()
                                ? p.light
                                : nullptr;
  if (light && lightRow_.size() < static_cast<size_t>(width_)) lightRow_.resize(width_);
  ViewPlacement lightPlacement = p;
  lightPlacement.layer = light;
  // The area's columns lie in the buffer as one part, or two where the buffer wraps.
  const int bx = Wrap(originX_ + area.left, width_);
  const int firstPart = std::min(area.Width(), width_ - bx);
  const int secondPart = area.Width() - firstPart;
  int by = Wrap(originY_ + area.top, height_);
  const uint32_t* previous = nullptr;
  for (int y = area.top; y < area.bottom; ++y) {
    uint32_t* row = &pixels_[static_cast<size_t>(by) * width_];
    if (n > 1 && previous && y % n != 0) {
      // A magnified canvas row covers n view rows: compose its first, copy the rest.
      std::memcpy(row + bx, previous + bx, firstPart * sizeof(uint32_t));
      std::memcpy(row, previous, secondPart * sizeof(uint32_t));
    } else {
      const uint32_t* src = SourceRow(p, y);
      if (light && src && n == 1 && f == 1) {
        const uint32_t* factors = SourceRow(lightPlacement, y);
        FillLitColumns(src, factors, canvasWidth, p.positionX, area.left, firstPart, row + bx);
        if (secondPart)
          FillLitColumns(src, factors, canvasWidth, p.positionX, area.left + firstPart,
                         secondPart, row);
      } else {
        FillColumns(src, canvasWidth, p.positionX, n, f, area.left, firstPart, row + bx);
        if (secondPart)
          FillColumns(src, canvasWidth, p.positionX, n, f, area.left + firstPart, secondPart,
                      row);
        if (light && src) {
          // Magnified or reduced: the factors are spread or sampled like the pixels,
          // then multiplied in.
          const uint32_t* factors = SourceRow(lightPlacement, y);
          uint32_t* scratch = lightRow_.data();
          FillColumns(factors, canvasWidth, p.positionX, n, f, area.left, firstPart, scratch);
          ApplyLightRow(row + bx, scratch, row + bx, firstPart);
          if (secondPart) {
            FillColumns(factors, canvasWidth, p.positionX, n, f, area.left + firstPart,
                        secondPart, scratch);
            ApplyLightRow(row, scratch, row, secondPart);
          }
        }
      }
    }
    previous = row;
    if (++by == height_) by = 0;
  }
}

std::vector<platform::Rect> ScreenBuffer::CopyTo(platform::Surface& surface) const {
  std::vector<platform::Rect> parts;
  const int splitX = width_ - originX_, splitY = height_ - originY_;
  const int xs[3] = {0, splitX, width_}, ys[3] = {0, splitY, height_};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const platform::Rect r =
          platform::Intersect({xs[i], ys[j], xs[i + 1], ys[j + 1]}, surface.Bounds());
      if (r.Empty()) continue;
      for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* from =
            &pixels_[static_cast<size_t>(Wrap(originY_ + y, height_)) * width_ +
                     Wrap(originX_ + r.left, width_)];
        std::memcpy(surface.Row(y) + r.left, from, r.Width() * sizeof(uint32_t));
      }
      parts.push_back(r);
    }
  return parts;
}

uint32_t ScreenBuffer::At(int x, int y) const {
  return pixels_[static_cast<size_t>(Wrap(originY_ + y, height_)) * width_ +
                 Wrap(originX_ + x, width_)];
}

}  // namespace lumavex
