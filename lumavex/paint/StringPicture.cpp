#include "lumavex/paint/StringPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace lumavex {
namespace {

constexpr char32_t kOpeningBracket = U'「';
constexpr char32_t kClosingBracket = U'」';
constexpr char32_t kIdeographicComma = U'、';
constexpr char32_t kIdeographicFullStop = U'。';

std::vector<char32_t> CodePoints(const std::string& text) {
  std::vector<char32_t> codes;
  for (size_t i = 0; i < text.size();) codes.push_back(platform::NextCodePoint(text, i));
  return codes;
}

// The quarter turn (by -90°) that stands the brackets upright in vertical setting,
// each entry converted to 16.16 fixed point by truncation.
platform::Matrix2x2 QuarterTurn() {
  const double angle = -M_PI / 2;
  const auto fixed = [](double v) { return static_cast<int32_t>(v * 65536); };
  return {fixed(std::cos(angle)), fixed(std::sin(angle)), fixed(-std::sin(angle)),
          fixed(std::cos(angle))};
}

bool Turned(const StringSetting& setting, char32_t c) {
  return setting.vertical && (c == kOpeningBracket || c == kClosingBracket);
}

// A glyph placed in the text: its bitmap and its box's top-left relative to the pen
// position at (0, 0) of the text.
struct PlacedGlyph {
  platform::GlyphBitmap bitmap;
  int left = 0;
  int top = 0;
};

// The placement of the glyphs and the overhangs that keep every box inside the
// picture: where the text sets its glyphs, and the picture's size.
struct Layout {
  std::vector<PlacedGlyph> glyphs;
  int leftOverhang = 0, topOverhang = 0, rightOverhang = 0, bottomOverhang = 0;
  int64_t width = 0, height = 0;
};

bool Lay(const platform::Font& font, const StringSetting& setting, Layout& layout) {
  const platform::FontMetrics& m = font.Metrics();
  const platform::Matrix2x2 turn = QuarterTurn();
  int64_t penX = 0, penY = 0;
  for (char32_t c : CodePoints(setting.text)) {
    if (!font.HasGlyph(c)) return false;
    auto glyph = font.GreyGlyph(c, Turned(setting, c) ? &turn : nullptr);
    if (!glyph) return false;
    const int64_t ox = glyph->originX, oy = glyph->originY, bw = glyph->width, bh = glyph->height;
    int64_t left = 0, top = 0;
    if (!setting.vertical) {
      left = penX + ox, top = penY + m.ascent - oy;
    } else if (Turned(setting, c)) {
      left = penX + ox + m.descent, top = penY - oy;
    } else if (c == kIdeographicComma || c == kIdeographicFullStop) {
      left = penX + (m.ascent - oy) * m.maxCharWidth / m.height;
      top = penY + ox * m.height / std::max(m.maxCharWidth, 1);
    } else {
      left = penX + ((m.maxCharWidth - bw) >> 1), top = penY + m.ascent - oy;
    }
    auto grow = [](int& overhang, int64_t by) {
      overhang = static_cast<int>(std::max<int64_t>(overhang, by));
    };
    if (!setting.vertical) {
      const int64_t next = penX + glyph->advance + setting.spacing;
      grow(layout.leftOverhang, penX - left);
      grow(layout.topOverhang, -top);
      // The box's bottom below the cell, wherever the box starts.
      grow(layout.bottomOverhang, top + bh - m.height);
      grow(layout.rightOverhang, left + bw - next);
      penX = next;
    } else {
      const int64_t next = penY + m.height + setting.spacing;
      grow(layout.leftOverhang, -left);
      grow(layout.topOverhang, penY - top);
      grow(layout.bottomOverhang, top + bh - next);
      grow(layout.rightOverhang, left + bw - m.maxCharWidth);
      penY = next;
    }
    layout.glyphs.push_back({std::move(*glyph), static_cast<int>(left), static_cast<int>(top)});
  }
  layout.width = (setting.vertical ? m.maxCharWidth : penX) + layout.leftOverhang +
                 layout.rightOverhang;
  layout.height = (setting.vertical ? penY : m.height) + layout.topOverhang + layout.bottomOverhang;
  return true;
}

void Draw(const Layout& layout, uint32_t colour, PastePicture& picture) {
  const uint32_t display = (colour & kColourMask) | kDrawAreaFlag;
  for (const PlacedGlyph& g : layout.glyphs)
    for (int r = 0; r < g.bitmap.height; ++r)
      for (int k = 0; k < g.bitmap.width; ++k) {
        const int level = g.bitmap.Level(k, r);
        if (level <= 0) continue;
        const int x = g.left + k + 1 + layout.leftOverhang;
        const int y = g.top + r + 1 + layout.topOverhang;
        if (!picture.area.Contains(x, y)) continue;  // the overhangs hold every box
        const uint32_t alpha = static_cast<uint32_t>(std::min(level, 64) * 4 - 1);
        picture.display.At(x, y) = display;
        picture.frame.At(x, y) = (alpha << 24) | (colour & kColourMask);
      }
}

}  // namespace

StringSetting StringSettingOf(const DrawingSettings& s) {
  return {s.pasteText,  s.characterWidth, s.characterHeight, s.characterSpacing,
          s.fontName,   s.fontWeight,     s.italic,          s.vertical};
}

std::unique_ptr<platform::Font> CreateStringFont(const platform::FontEngine& fonts,
                                                 const StringSetting& setting, int weight) {
  platform::FontRequest request;
  request.face = setting.fontName;
  request.height = setting.characterHeight;
  request.width = setting.characterWidth / 2;
  request.weight = weight;
  request.italic = setting.italic;
  return fonts.CreateFont(request);
}

StringPictureResult MakeStringPicture(const platform::FontEngine& fonts,
                                      const StringSetting& setting, uint32_t colour,
                                      platform::Allocator& allocator, PastePicture& picture) {
  picture.Release();
  const auto font = CreateStringFont(fonts, setting, setting.weight);
  if (!font) return StringPictureResult::NoFont;
  Layout layout;
  if (!Lay(*font, setting, layout)) return StringPictureResult::MissingGlyph;
  if (layout.width < 1 || layout.height < 1) return StringPictureResult::MissingGlyph;
  if (layout.width + 2 > kFarPixel || layout.height + 2 > kFarPixel)
    return StringPictureResult::NoMemory;
  const int w = static_cast<int>(layout.width), h = static_cast<int>(layout.height);
  if (!picture.display.Create(allocator, w + 2, h + 2, 4) ||
      !picture.frame.Create(allocator, w + 2, h + 2, 4)) {
    picture.Release();
    return StringPictureResult::NoMemory;
  }
  std::memset(picture.display.Data(), 0, picture.display.SizeBytes());
  std::memset(picture.frame.Data(), 0, picture.frame.SizeBytes());
  picture.area = {1, 1, w, h};
  Draw(layout, colour, picture);
  return StringPictureResult::Made;
}

bool HasEveryGlyph(const platform::FontEngine& fonts, const StringSetting& setting, int weight) {
  const auto font = CreateStringFont(fonts, setting, weight);
  if (!font) return false;
  for (char32_t c : CodePoints(setting.text))
    if (!font->HasGlyph(c)) return false;
  return true;
}

}  // namespace lumavex
