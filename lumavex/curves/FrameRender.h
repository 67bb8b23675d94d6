#pragma once
// Frame rendering: a curve becomes an anti-aliased band of the frame width with a
// linear edge ramp, fades at head and end, the maximum opacity and a colour running
// from the head colour to the termination colour. The band is rendered into the work
// layer (the larger alpha wins where pieces overlap) and then committed as one step.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/curves/FrameCommit.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

// Whether a frame follows the spline through its base points or the straight lines
// between them.
enum class FrameShape { Spline, Lines };

// Draws the spline through the base points (at least two of them) or the straight
// lines between them as a frame of `flavour`, and commits it.
void RenderFrame(DrawingContext& context, FrameFlavour flavour, FrameShape shape,
                 std::span<const Sample> points);

// Renders ready samples (the tablet smoothing curve hands its own) and commits them.
// Curves of length 0.001 pixel or less draw nothing and open no undo step.
void RenderFrameSamples(DrawingContext& context, FrameFlavour flavour,
                        std::span<const Sample> samples);

// Draws the ellipse inside the first two corner points as a normal frame curve;
// fewer than two corners draw nothing.
void DrawEllipse(DrawingContext& context, std::span<const Sample> corners);

// The 361 outline points of the ellipse with corner points `p` and `q`.
std::vector<Sample> EllipseOutline(Sample p, Sample q);

// Arc length at every sample, 0 at the first.
std::vector<double> CumulativeLengths(std::span<const Sample> samples);

// Renders the samples into the work layer without committing; returns the changed
// rectangle (empty when the curve is too short to draw).
PixelRect RenderFrameWork(DrawingContext& context, FrameFlavour flavour,
                          std::span<const Sample> samples);

// ---- The per-pixel rules, shared by the renderer's loops and their tests. ----

// The constants of one rendering.
struct FrameStroke {
  FrameFlavour flavour = FrameFlavour::Normal;
  double radius = 0;       // R: core half-width plus the anti-alias width
  double antiAlias = 1;    // E
  double coreOpacity = 0;  // maximum opacity / 255
  double slope = 0;        // opacity lost per pixel across the ramp
  double headFade = 0;
  double terminationFade = 0;
  double length = 0;  // L, the arc length of the whole curve
  uint32_t headColour = 0;
  uint32_t terminationColour = 0;
};

FrameStroke MakeFrameStroke(const DrawingContext& context, FrameFlavour flavour, double length);

// The alpha (0-255) of opacity `opacity` at arc position `arc` after the fades.
int FadeAlpha(const FrameStroke& stroke, double opacity, double arc);

// The colour at arc position `arc`, as 0xRRGGBB.
uint32_t RampColour(const FrameStroke& stroke, double arc);

// What a pixel would receive: alpha 0 means nothing.
struct PixelShade {
  int alpha = 0;
  double arc = 0;
};

// Lays `shade` into the work pixel when its alpha is larger than the one held there.
void OfferWork(const FrameStroke& stroke, uint32_t& work, PixelShade shade);

// The rectangle of one straight piece from `a` to `b`: corners a1, b1, b2, a2 in
// order around it, each edge with its inward unit normal.
struct BandSegment {
  Sample a;
  Sample b;
  std::array<Sample, 4> corners;
  std::array<Sample, 4> normals;
  double length = 0;  // |AB|
  double endArc = 0;  // arc position of b
  bool vertical = false;
  bool horizontal = false;
  bool pointLike = false;  // a and b coincide within 0.001
};

// The band of the piece ending at arc `endArc`; nothing when two corners coincide.
std::optional<BandSegment> MakeBandSegment(Sample a, Sample b, double radius, double endArc);

// The corners' bounding box, each bound truncated; not yet clipped.
PixelRect BandBox(const BandSegment& band);

// The bounding box of the disc of `radius` around `centre`; not yet clipped.
PixelRect DiscBox(Sample centre, double radius);

// The pixel centre lies inside the band rectangle or on its boundary.
bool InsideBand(const BandSegment& band, double x, double y);

// The shade that band and disc give pixel (x, y) with the words held there.
PixelShade BandPixel(const FrameStroke& stroke, const BandSegment& band, int x, int y,
                     uint32_t display, uint32_t frame);
PixelShade DiscPixel(const FrameStroke& stroke, Sample centre, double arc, int x, int y,
                     uint32_t display, uint32_t frame);

// The largest alpha any pixel can get with arc positions in [arcFrom, arcTo].
int MaxAlpha(const FrameStroke& stroke, double arcFrom, double arcTo);

}  // namespace lumavex
