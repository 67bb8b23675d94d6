#include "lumavex/curves/FrameRender.h"

#include <algorithm>
#include <cmath>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/curves/FrameCommit.h"

namespace lumavex {

namespace {

// Coordinates, lengths and arc positions closer than this count as equal.
constexpr double kTolerance = 0.001;
// Alpha of opacity 1; trunc(o × kAlphaScale) never reaches 256.
constexpr double kAlphaScale = 255.9999;
constexpr double kFullAngle = 6.28318530717958;
constexpr double kDegree = 0.0174532925199432;

// The flavour's own condition on a pixel. Transparent frames go only where the
// drawing area has no frame; colour changes only where a frame is.
bool Eligible(FrameFlavour flavour, uint32_t display, uint32_t frame, bool disc) {
  switch (flavour) {
    case FrameFlavour::Normal:
      return true;
    case FrameFlavour::Transparent:
      return (display & kDrawAreaFlag) && Opacity(frame) == 0;
    case FrameFlavour::ColourChange:
      return Opacity(frame) > 0 && (!disc || (display & kDrawAreaFlag));
  }
  return false;
}

double Distance(Sample a, Sample b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

std::vector<double> CumulativeLengths(std::span<const Sample> samples) {
  std::vector<double> lengths(samples.size(), 0.0);
  for (size_t i = 1; i < samples.size(); ++i)
    lengths[i] = lengths[i - 1] + Distance(samples[i - 1], samples[i]);
  return lengths;
}

FrameStroke MakeFrameStroke(const DrawingContext& context, FrameFlavour flavour, double length) {
  const DrawingSettings& settings = context.Settings();
  FrameStroke stroke;
  stroke.flavour = flavour;
  stroke.antiAlias = settings.antiAliasWidth;
  stroke.radius = settings.frameWidth + settings.antiAliasWidth;
  stroke.coreOpacity = settings.maxOpacity / 255.0;
  stroke.slope = settings.maxOpacity / (settings.antiAliasWidth * 255.0);
  stroke.headFade = settings.headFade;
  stroke.terminationFade = settings.terminationFade;
  stroke.length = length;
  stroke.headColour = context.HeadColour();
  stroke.terminationColour = context.TerminationColour();
  return stroke;
}

int FadeAlpha(const FrameStroke& stroke, double opacity, double arc) {
  if (!(opacity > 0)) return 0;
  const double o = std::min(opacity, 1.0);
  const double h = stroke.headFade;
  const double t = stroke.terminationFade;
  const double l = stroke.length;
  // The head ramp is tested first: where the two fades overlap it rules up to H.
  double a = 0;
  if (arc < h - kTolerance)
    a = o * kAlphaScale * arc / h;
  else if (arc <= l - t + kTolerance)
    a = o * kAlphaScale;
  else
    a = (l - arc) * o * kAlphaScale / t;
  if (!(a > 0)) return 0;
  return a >= 255 ? 255 : static_cast<int>(a);
}

uint32_t RampColour(const FrameStroke& stroke, double arc) {
  const double u = arc / stroke.length;
  uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double head = Channel(stroke.headColour, shift);
    const double end = Channel(stroke.terminationColour, shift);
    const double v = std::clamp(head * (1 - u) + end * u + 0.5, 0.0, 255.0);
    colour |= static_cast<uint32_t>(v) << shift;
  }
  return colour;
}

void OfferWork(const FrameStroke& stroke, uint32_t& work, PixelShade shade) {
  if (shade.alpha > static_cast<int>(work >> 24))
    work = (static_cast<uint32_t>(shade.alpha) << 24) | RampColour(stroke, shade.arc);
}

int MaxAlpha(const FrameStroke& stroke, double arcFrom, double arcTo) {
  // A hair above the core opacity covers rounding in the ramp's opacities.
  const double o = std::min(1.0, stroke.coreOpacity + 1e-9);
  const double headEnd = stroke.headFade - kTolerance;
  // Each fade is monotonic and never above the flat alpha.
  if (arcTo < headEnd) return FadeAlpha(stroke, o, arcTo);
  if (arcFrom >= headEnd && arcFrom > stroke.length - stroke.terminationFade + kTolerance)
    return FadeAlpha(stroke, o, arcFrom);
  return std::min(255, static_cast<int>(o * kAlphaScale));
}

namespace {

// The four corners at distance `radius` on the perpendiculars through a and b.
std::array<Sample, 4> BandCorners(Sample a, Sample b, double radius) {
  const double dy = b.y - a.y;
  if (std::fabs(dy) <= kTolerance)
    return {Sample{a.x, a.y + radius}, Sample{b.x, b.y + radius}, Sample{b.x, b.y - radius},
            Sample{a.x, a.y - radius}};
  const double s = (b.x - a.x) / dy;
  const double ox = radius / std::sqrt(1 + s * s);
  return {Sample{a.x + ox, a.y - ox * s}, Sample{b.x + ox, b.y - ox * s},
          Sample{b.x - ox, b.y + ox * s}, Sample{a.x - ox, a.y + ox * s}};
}

bool AnyTwoEqual(const std::array<Sample, 4>& c) {
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if (c[i].x == c[j].x && c[i].y == c[j].y) return true;
  return false;
}

}  // namespace

std::optional<BandSegment> MakeBandSegment(Sample a, Sample b, double radius, double endArc) {
  BandSegment band;
  band.corners = BandCorners(a, b, radius);
  if (AnyTwoEqual(band.corners)) return std::nullopt;
  band.a = a;
  band.b = b;
  band.length = Distance(a, b);
  band.endArc = endArc;
  band.vertical = std::fabs(b.x - a.x) <= kTolerance;
  band.horizontal = std::fabs(b.y - a.y) <= kTolerance;
  band.pointLike = band.vertical && band.horizontal;
  Sample centre;
  for (const Sample& c : band.corners) {
    centre.x += c.x / 4;
    centre.y += c.y / 4;
  }
  for (int i = 0; i < 4; ++i) {
    const Sample p = band.corners[i];
    const Sample q = band.corners[(i + 1) % 4];
    const double edge = Distance(p, q);
    Sample n{-(q.y - p.y) / edge, (q.x - p.x) / edge};
    if (n.x * (centre.x - p.x) + n.y * (centre.y - p.y) < 0) n = {-n.x, -n.y};
    band.normals[i] = n;
  }
  return band;
}

PixelRect BandBox(const BandSegment& band) {
  double left = band.corners[0].x, right = left;
  double top = band.corners[0].y, bottom = top;
  for (const Sample& c : band.corners) {
    left = std::min(left, c.x);
    right = std::max(right, c.x);
    top = std::min(top, c.y);
    bottom = std::max(bottom, c.y);
  }
  return {PixelIndex(left), PixelIndex(top), PixelIndex(right), PixelIndex(bottom)};
}

PixelRect DiscBox(Sample centre, double radius) {
  return {PixelIndex(centre.x - radius + 0.499), PixelIndex(centre.y - radius + 0.499),
          PixelIndex(centre.x + radius + 0.501), PixelIndex(centre.y + radius + 0.501)};
}

bool InsideBand(const BandSegment& band, double x, double y) {
  for (int i = 0; i < 4; ++i) {
    const Sample p = band.corners[i];
    const Sample n = band.normals[i];
    if (n.x * (x - p.x) + n.y * (y - p.y) < -kTolerance) return false;
  }
  return true;
}

PixelShade BandPixel(const FrameStroke& stroke, const BandSegment& band, int x, int y,
                     uint32_t display, uint32_t frame) {
  if (!Paintable(display) || band.pointLike) return {};
  if (!InsideBand(band, x, y) || !Eligible(stroke.flavour, display, frame, false)) return {};
  const double ex = x - band.a.x;
  const double ey = y - band.a.y;
  double d = 0;
  double along = 0;
  if (band.vertical) {
    d = std::fabs(ex);
    along = std::fabs(ey);
  } else if (band.horizontal) {
    d = std::fabs(ey);
    along = std::fabs(ex);
  } else {
    const double dx = band.b.x - band.a.x;
    const double dy = band.b.y - band.a.y;
    d = std::fabs(ex * dy - ey * dx) / band.length;
    along = std::fabs(ex * dx + ey * dy) / band.length;
  }
  const double o = d <= stroke.radius - stroke.antiAlias ? stroke.coreOpacity
                                                         : (stroke.radius - d) * stroke.slope;
  const double arc = band.endArc - (band.length - along);
  return {FadeAlpha(stroke, o, arc), arc};
}

PixelShade DiscPixel(const FrameStroke& stroke, Sample centre, double arc, int x, int y,
                     uint32_t display, uint32_t frame) {
  if (!Paintable(display)) return {};
  const double dx = x - centre.x;
  const double dy = y - centre.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d >= stroke.radius || !Eligible(stroke.flavour, display, frame, true)) return {};
  const double o = d > stroke.radius - stroke.antiAlias ? (stroke.radius - d) * stroke.slope
                                                        : stroke.coreOpacity;
  return {FadeAlpha(stroke, o, arc), arc};
}

namespace {

// Slack added to the analytic row spans so that they never cut off a pixel that
// the exact per-pixel test would accept.
constexpr double kSpanSlack = 1e-6;

struct Span {
  int from = 0;
  int to = -1;
};

// The pixels of row y in `box` that can lie inside the band.
Span BandRowSpan(const BandSegment& band, int y, const PixelRect& box) {
  double lo = box.left;
  double hi = box.right;
  for (int i = 0; i < 4; ++i) {
    const Sample p = band.corners[i];
    const Sample n = band.normals[i];
    if (std::fabs(n.x) <= 1e-3) continue;
    const double edgeX = p.x + (-kTolerance - n.y * (y - p.y)) / n.x;
    if (n.x > 0)
      lo = std::max(lo, edgeX - kSpanSlack);
    else
      hi = std::min(hi, edgeX + kSpanSlack);
  }
  if (lo > hi) return {};
  return {PixelIndex(std::ceil(lo)), PixelIndex(std::floor(hi))};
}

// The pixels of row y in `box` that can lie within `radius` of `centre`.
Span DiscRowSpan(Sample centre, double radius, int y, const PixelRect& box) {
  const double dy = y - centre.y;
  const double rest = radius * radius - dy * dy;
  const double slack = kSpanSlack * (1 + radius);
  if (rest < -slack) return {};
  const double half = std::sqrt(std::max(rest, 0.0)) + slack;
  return {std::max(box.left, PixelIndex(std::ceil(centre.x - half))),
          std::min(box.right, PixelIndex(std::floor(centre.x + half)))};
}

class WorkRenderer {
 public:
  WorkRenderer(Canvas& canvas, const FrameStroke& stroke)
      : canvas_(canvas), stroke_(stroke), area_(PaintArea(canvas)) {}

  void Disc(Sample centre, double arc) {
    const PixelRect box = DiscBox(centre, stroke_.radius).Intersect(area_);
    if (box.Empty()) return;
    changed.Merge(box);
    const int bound = MaxAlpha(stroke_, arc, arc);
    if (bound == 0) return;
    for (int y = box.bottom; y >= box.top; --y) {
      const Span span = DiscRowSpan(centre, stroke_.radius, y, box);
      Row(y, span, bound, [&](int x, uint32_t display, uint32_t frame) {
        return DiscPixel(stroke_, centre, arc, x, y, display, frame);
      });
    }
  }

  void Band(const BandSegment& band, double startArc) {
    const PixelRect box = BandBox(band).Intersect(area_);
    if (box.Empty()) return;
    changed.Merge(box);
    if (band.pointLike) return;
    const int bound = MaxAlpha(stroke_, startArc - 10 * kTolerance, band.endArc + 10 * kTolerance);
    if (bound == 0) return;
    for (int y = box.bottom; y >= box.top; --y) {
      const Span span = BandRowSpan(band, y, box);
      Row(y, span, bound, [&](int x, uint32_t display, uint32_t frame) {
        return BandPixel(stroke_, band, x, y, display, frame);
      });
    }
  }

  PixelRect changed;

 private:
  // Shades the span's pixels whose work alpha is still below `bound`, the most
  // this piece can give; the others cannot change.
  template <typename Shade>
  void Row(int y, Span span, int bound, Shade shade) {
    if (span.from > span.to) return;
    uint32_t* work = canvas_.work.Row32(y);
    const uint32_t* display = canvas_.display.Row32(y);
    const uint32_t* frame = canvas_.frame.Row32(y);
    const uint32_t limit = static_cast<uint32_t>(bound) << 24;
    for (int x = span.from; x <= span.to; ++x) {
      if (work[x] >= limit) continue;
      OfferWork(stroke_, work[x], shade(x, display[x], frame[x]));
    }
  }

  Canvas& canvas_;
  const FrameStroke& stroke_;
  const PixelRect area_;  // the pixels drawing may change
};

}  // namespace

PixelRect RenderFrameWork(DrawingContext& context, FrameFlavour flavour,
                          std::span<const Sample> samples) {
  if (samples.size() < 2) return {};
  const std::vector<double> lengths = CumulativeLengths(samples);
  if (lengths.back() <= kTolerance) return {};
  const FrameStroke stroke = MakeFrameStroke(context, flavour, lengths.back());
  WorkRenderer renderer(context.Picture(), stroke);
  for (size_t i = 1; i < samples.size(); ++i) {
    const std::optional<BandSegment> band =
        MakeBandSegment(samples[i - 1], samples[i], stroke.radius, lengths[i]);
    if (!band) continue;
    renderer.Disc(samples[i - 1], lengths[i - 1]);
    renderer.Band(*band, lengths[i - 1]);
  }
  renderer.Disc(samples.back(), lengths.back());
  return renderer.changed;
}

void RenderFrameSamples(DrawingContext& context, FrameFlavour flavour,
                        std::span<const Sample> samples) {
  const PixelRect changed = RenderFrameWork(context, flavour, samples);
  if (!changed.Empty()) CommitFrame(context, flavour, changed);
  context.SetStatusText("");
}

namespace {

// The spline through `points` at the point spacing, rendered and committed.
void RenderCurve(DrawingContext& context, FrameFlavour flavour, std::span<const Sample> points) {
  if (points.size() < 2) {
    context.SetStatusText("");
    return;
  }
  const int count = FrameSampleCount(points, context.Settings().pointSpacing);
  const std::vector<Sample> samples = SplineSamples(points, count);
  RenderFrameSamples(context, flavour, samples);
}

}  // namespace

void RenderFrame(DrawingContext& context, FrameFlavour flavour, FrameShape shape,
                 std::span<const Sample> points) {
  context.SetStatusText("★スプライン曲線計算中...");
  if (shape == FrameShape::Lines)
    RenderFrameSamples(context, flavour, points);
  else
    RenderCurve(context, flavour, points);
}

std::vector<Sample> EllipseOutline(Sample p, Sample q) {
  const double a = (std::fabs(p.x - q.x) + 1) / 2;
  const double b = (std::fabs(p.y - q.y) + 1) / 2;
  const double cx = std::min(p.x, q.x) + a;
  const double cy = std::min(p.y, q.y) + b;
  std::vector<Sample> outline;
  // The angle is accumulated step by step, so its rounding decides the last point.
  for (double theta = 0; theta <= kFullAngle; theta += kDegree)
    outline.push_back({cx + a * std::cos(theta), cy + b * std::sin(theta)});
  return outline;
}

void DrawEllipse(DrawingContext& context, std::span<const Sample> corners) {
  if (corners.size() < 2) return;
  const std::vector<Sample> outline = EllipseOutline(corners[0], corners[1]);
  context.SetStatusText("★スプライン曲線計算中...");
  RenderCurve(context, FrameFlavour::Normal, outline);
}

}  // namespace lumavex
