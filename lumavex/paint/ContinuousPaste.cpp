#include "lumavex/paint/ContinuousPaste.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

void MidpointsOf(const std::vector<Sample>& a, const std::vector<Sample>& b,
                 std::vector<Sample>& out) {
  out.resize(std::min(a.size(), b.size()));
  for (size_t j = 0; j < out.size(); ++j) out[j] = {(a[j].x + b[j].x) / 2, (a[j].y + b[j].y) / 2};
}

// The interpolating quadratic through three places at s = 0, 1, 2 (s = 2t).
void OnPath(const std::vector<Sample>& s0, const std::vector<Sample>& s1,
            const std::vector<Sample>& s2, double t, std::vector<Sample>& out) {
  const size_t count = std::min({s0.size(), s1.size(), s2.size()});
  if (t == 0 || t == 1) {
    const std::vector<Sample>& exact = t == 0 ? s0 : s2;
    out.assign(exact.begin(), exact.begin() + static_cast<std::ptrdiff_t>(count));
    return;
  }
  out.resize(count);
  const double s = 2 * t;
  const double w0 = (1 - s) * (2 - s) / 2;
  const double w1 = s * (2 - s);
  const double w2 = s * (s - 1) / 2;
  for (size_t j = 0; j < count; ++j)
    out[j] = {s0[j].x * w0 + s1[j].x * w1 + s2[j].x * w2,
              s0[j].y * w0 + s1[j].y * w1 + s2[j].y * w2};
}

}  // namespace

std::vector<SpanStep> SpanSchedule(int startFile, int endFile, int firstFile, int lastFile) {
  std::vector<SpanStep> steps;
  if (endFile <= startFile || firstFile < startFile || lastFile > endFile) return steps;
  const double step = 1.0 / (endFile - startFile);
  double t = 0;
  for (int k = startFile; k <= lastFile; ++k) {
    if (k == endFile) t = 1;
    if (k >= firstFile) steps.push_back({k, t});
    t += step;
  }
  return steps;
}

std::vector<SpanStep> ScheduleOfSpan(PasteSpan span, int k2, int k3, int count) {
  switch (span) {
    case PasteSpan::OneToTwo:
      if (k2 <= 0 || k2 >= count) return {};
      return SpanSchedule(0, k2, 0, k2);
    case PasteSpan::TwoToThree:
      if (k2 <= 0 || k3 <= k2 || k3 >= count) return {};
      return SpanSchedule(k2, k3, k2 + 1, k3);
    case PasteSpan::ThreeToFour:
      if (k3 <= 0 || k3 >= count - 1) return {};
      return SpanSchedule(k3, count, k3 + 1, count - 1);
  }
  return {};
}

PasteCurves MidpointCurves(const PasteCurves& start, const PasteCurves& end) {
  PasteCurves mid;
  MidpointsOf(start.curve1, end.curve1, mid.curve1);
  MidpointsOf(start.middle, end.middle, mid.middle);
  MidpointsOf(start.curve2, end.curve2, mid.curve2);
  return mid;
}

void CurvesOnPath(const PasteCurves& start, const PasteCurves& middle, const PasteCurves& end,
                  double t, PasteCurves& out) {
  OnPath(start.curve1, middle.curve1, end.curve1, t, out.curve1);
  OnPath(start.middle, middle.middle, end.middle, t, out.middle);
  OnPath(start.curve2, middle.curve2, end.curve2, t, out.curve2);
}

int PasteAlongSpan(DrawingContext& context, std::span<Canvas> pictures, PixelPlane& work,
                   std::span<const SpanStep> schedule, const PasteCurves& start,
                   const PasteCurves& middle, const PasteCurves& end, const MemorySurface& surface,
                   uint32_t maxOpacity, platform::Allocator& allocator,
                   platform::Progress& progress) {
  Canvas& stage = context.Picture();
  PasteCurves curves;
  FillPicture image;
  int pasted = 0;
  progress.ProgressStart(schedule.size());
  for (const SpanStep& at : schedule) {
    if (at.file < 0 || static_cast<size_t>(at.file) >= pictures.size()) break;
    Canvas& picture = pictures[at.file];
    stage = std::move(picture);
    stage.work = std::move(work);
    CurvesOnPath(start, middle, end, at.t, curves);
    PixelRect box;
    {
      PaintStep step(context, false);
      box = PasteSurface(step, surface, curves, maxOpacity, allocator, image);
      step.End(false);
    }
    if (!box.Empty()) {
      ClearMarks(stage, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1},
                 kProcessingMarks);
      ++pasted;
    }
    work = std::move(stage.work);
    picture = std::move(stage);
    stage = Canvas{};
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  return pasted;
}

}  // namespace lumavex
