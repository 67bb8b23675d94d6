#include "lumavex/shell/ColourPanel.h"

#include <algorithm>
#include <cstdio>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
// Baselines of the bars and the rows of the two colours' controls.
constexpr int kHeadBase = 287;
constexpr int kTerminationOffset = 400;
// Bars left to right: brightness, red, green, blue; their left edges from the right.
constexpr int kBarLeft[4] = {39, 29, 19, 9};
constexpr int kBarWidth = 9;
constexpr uint32_t kBarColour[4] = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};

int Component(uint32_t colour, int bar) {
  switch (bar) {
    case 0: return static_cast<int>(colour >> 24);
    case 1: return static_cast<int>((colour >> 16) & 0xFF);
    case 2: return static_cast<int>((colour >> 8) & 0xFF);
    default: return static_cast<int>(colour & 0xFF);
  }
}

uint32_t WithComponent(uint32_t colour, int bar, int value) {
  if (bar == 0) return RescaleBrightness(colour, value);
  const int shift = bar == 1 ? 16 : bar == 2 ? 8 : 0;
  return WithBrightness((colour & ~(0xFFu << shift)) | (static_cast<uint32_t>(value) << shift));
}

void DrawColourControls(AppState& s, uint32_t colour, int offset) {
  platform::Surface& surface = s.surface;
  const int w = surface.Width();
  surface.Fill({w - 28, 2 + offset, w - 2, 28 + offset}, colour & kColourMask);
  surface.Fill({w - 30, 30 + offset, w, 32 + offset}, kWhite);
  for (int bar = 0; bar < 4; ++bar) {
    const int base = kHeadBase + offset;
    const int left = w - kBarLeft[bar];
    surface.Fill({left, base - Component(colour, bar), left + kBarWidth, base}, kBarColour[bar]);
  }
}

void Text(AppState& s, int x, int y, const std::string& text) {
  if (s.screenFont) s.screenFont->DrawText(s.surface, x, y, text);
}

std::string ColourText(uint32_t colour) {
  char text[32];
  std::snprintf(text, sizeof text, "R:%03d G:%03d B:%03d", Component(colour, 1),
                Component(colour, 2), Component(colour, 3));
  return text;
}

void Show(AppState& s, platform::Rect r) {
  r = platform::Intersect(r, s.surface.Bounds());
  if (!r.Empty()) s.host.Present(s.surface, r);
}

}  // namespace

uint32_t WithBrightness(uint32_t rgb) {
  rgb &= kColourMask;
  const uint32_t b = std::max({rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF});
  return rgb | b << 24;
}

uint32_t RescaleBrightness(uint32_t colour, int b) {
  const int old = static_cast<int>(colour >> 24);
  if (old == 0) return WithBrightness(static_cast<uint32_t>(b) * 0x010101);
  uint32_t rgb = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const int c = static_cast<int>((colour >> shift) & 0xFF);
    rgb |= static_cast<uint32_t>((c * b + old / 2) / old) << shift;
  }
  return WithBrightness(rgb);
}

void DrawColourPanel(AppState& s) {
  const int w = s.surface.Width();
  s.surface.Fill({w - kColourStripWidth, 0, w, s.surface.Height()}, 0);
  DrawColourControls(s, s.headColour, 0);
  DrawColourControls(s, s.terminationColour, kTerminationOffset);
}

void DrawColourTexts(AppState& s) {
  const int w = s.surface.Width();
  Text(s, w - 110, 0, "-先頭色-");
  Text(s, w - 170, 16, ColourText(s.headColour));
  Text(s, w - 110, 399, "-終端色-");
  Text(s, w - 170, 415, ColourText(s.terminationColour));
}

void DrawXyText(AppState& s, double x, double y) {
  const int w = s.surface.Width();
  char text[32];
  Text(s, w - 35, 303, "-X-");
  std::snprintf(text, sizeof text, "%08.2f", x);
  Text(s, w - 69, 319, text);
  Text(s, w - 35, 351, "-Y-");
  std::snprintf(text, sizeof text, "%08.2f", y);
  Text(s, w - 69, 367, text);
}

void DrawSizeText(AppState& s, double x1, double y1, double x2, double y2) {
  const int w = s.surface.Width();
  char text[32];
  Text(s, w - 35, 399, "-幅-");
  std::snprintf(text, sizeof text, "%07.2f", std::abs(x2 - x1) + 1);
  Text(s, w - 60, 415, text);
  Text(s, w - 35, 447, "-高-");
  std::snprintf(text, sizeof text, "%07.2f", std::abs(y2 - y1) + 1);
  Text(s, w - 60, 463, text);
}

void RedrawColourPanel(AppState& s) {
  DrawColourPanel(s);
  DrawColourTexts(s);
  const int w = s.surface.Width();
  Show(s, {w - 170, 0, w, s.surface.Height()});
}

void ShowXY(AppState& s, double x, double y) {
  if (!s.view.xyShown) return;
  DrawXyText(s, x, y);
  const int w = s.surface.Width();
  Show(s, {w - 69, 303, w, 383});
}

bool ColourStripPress(AppState& s, int x, int y) {
  const int w = s.surface.Width();
  if (x < w - kColourStripWidth) return false;
  const int fromRight = w - x;
  int bar = 3;
  for (int i = 0; i < 3; ++i)
    if (fromRight > kBarLeft[i + 1] + 1) {
      bar = i;
      break;
    }
  s.view.colourBar = bar;
  ColourStripDrag(s, x, y);
  return true;
}

void ColourStripDrag(AppState& s, int, int y) {
  const int bar = s.view.colourBar;
  if (bar < 0) return;
  uint32_t* colour = nullptr;
  int base = kHeadBase;
  if (y >= 22 && y <= 297) {
    colour = &s.headColour;
  } else if (y >= 22 + kTerminationOffset && y <= 297 + kTerminationOffset) {
    colour = &s.terminationColour;
    base += kTerminationOffset;
  }
  if (!colour) return;
  *colour = WithComponent(*colour, bar, std::clamp(base - y, 0, 255));
  RedrawColourPanel(s);
}

void PickColour(AppState& s, bool head) {
  if (!s.canvas.HasPicture()) return;
  const auto [cx, cy] = ClientToCanvas(s, s.view.mouseX, s.view.mouseY);
  const int x = static_cast<int>(cx + 0.5), y = static_cast<int>(cy + 0.5);
  if (cx < -0.5 || cy < -0.5 || x >= s.canvas.Width() || y >= s.canvas.Height()) return;
  if (s.view.mouseX >= ViewWidth(s)) return;
  const uint32_t display = s.canvas.display.At(x, y);
  const uint32_t picked = s.view.kind == ViewKind::Bitmap
                              ? TrueDisplayColour(display)
                              : TrueFrameWord(s.canvas.frame.At(x, y), display) & kColourMask;
  (head ? s.headColour : s.terminationColour) = WithBrightness(picked);
  RedrawColourPanel(s);
}

void MiddleColour(AppState& s) {
  uint32_t rgb = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const uint32_t a = (s.headColour >> shift) & 0xFF, b = (s.terminationColour >> shift) & 0xFF;
    rgb |= ((a + b) / 2) << shift;
  }
  s.headColour = s.terminationColour = WithBrightness(rgb);
  RedrawColourPanel(s);
}

void CopyColour(AppState& s, bool headToTermination) {
  if (headToTermination) s.terminationColour = s.headColour;
  else s.headColour = s.terminationColour;
  RedrawColourPanel(s);
}

}  // namespace lumavex
