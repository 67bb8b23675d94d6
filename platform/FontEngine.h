#pragma once
// System fonts sized and rendered the way the Windows logical font does it:
// faces found through fontconfig, glyphs rasterised by FreeType into 65-level
// coverage bitmaps, and plain text drawn onto a Surface.

#include <platform/Surface.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The largest cell height and average width a font may be created with.
inline constexpr int kMaxFontSize = 30000;

struct FontRequest {
  std::string face;  // family name in UTF-8
  int height = 0;    // cell height in pixels (win ascent + win descent), 1..kMaxFontSize
  int width = 0;  // average character width in pixels, 0..kMaxFontSize; 0 keeps the face's aspect
  int weight = 400;  // 0..1000; 0 means normal (400)
  bool italic = false;
};

// Text metrics of a created font, in whole pixels; ascent + descent == height.
struct FontMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int maxCharWidth = 0;
  int averageCharWidth = 0;
};

// A glyph transform in 16.16 fixed point, applied in glyph space (y up) as
// x' = x·m11 + y·m21, y' = x·m12 + y·m22. The default is the identity.
struct Matrix2x2 {
  int32_t m11 = 0x10000;
  int32_t m12 = 0;
  int32_t m21 = 0;
  int32_t m22 = 0x10000;
};

// The coverage of one character's black box. A blank glyph (a space) has a
// 0 × 0 box and no levels.
struct GlyphBitmap {
  int originX = 0;  // from the pen position right to the box's left edge
  int originY = 0;  // from the baseline up to the box's top edge
  int width = 0;    // black box size in pixels
  int height = 0;
  int advance = 0;              // horizontal pen advance to the next character
  int stride = 0;               // bytes per row: width rounded up to a multiple of 4
  std::vector<uint8_t> levels;  // height rows of stride bytes, top row first; 0..64

  int Level(int x, int y) const { return levels[static_cast<size_t>(y) * stride + x]; }
};

// The code point of UTF-8 `text` at byte `i` (which must lie inside it), moving `i`
// past it; a malformed sequence gives U+FFFD and moves `i` by one byte.
char32_t NextCodePoint(std::string_view text, size_t& i);

// Defined in FontEngine.cpp: the FreeType library and fontconfig
// configuration shared by an engine and its fonts, and one sized face.
struct FontLibrary;
struct FontFace;

// One face at one size. A font keeps its engine's library alive, so it may
// outlive the FontEngine that made it. Not safe for concurrent use: every call
// renders through the face's single glyph slot.
class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontMetrics& Metrics() const;

  // The family fontconfig chose for the request, e.g. "IPAGothic".
  const std::string& Family() const;

  // Whether the face's character map has the character.
  bool HasGlyph(char32_t c) const;

  // Renders the character (the face's missing-glyph box when it has none;
  // see HasGlyph). Nothing when the rasteriser fails or the box would exceed
  // the memory a glyph may take.
  std::optional<GlyphBitmap> GreyGlyph(char32_t c, const Matrix2x2* transform = nullptr) const;

  // Draws UTF-8 text with (x, y) the top-left of the first character cell:
  // each cell (advance × height) is filled with the background, then the
  // glyphs are blended over it in the foreground colour. Returns the
  // rectangle changed on the surface (empty when nothing was).
  Rect DrawText(Surface& surface, int x, int y, std::string_view utf8,
                uint32_t foreground = 0xFFFFFF, uint32_t background = 0x000000) const;

 private:
  friend class FontEngine;
  explicit Font(std::unique_ptr<FontFace> face);

  std::unique_ptr<FontFace> face_;
};

// Font matching and creation. Construction reads the system's font
// configuration (tens of milliseconds with a warm font cache), so a program
// keeps one engine for its whole run.
class FontEngine {
 public:
  FontEngine();
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  // Nothing when the request is out of range (height outside
  // 1..kMaxFontSize, width outside 0..kMaxFontSize) or no scalable face can
  // be loaded. A face name fontconfig does not know gives its fallback face.
  std::unique_ptr<Font> CreateFont(const FontRequest& request) const;

  // Families of the installed TrueType and OpenType fonts, sorted, without
  // names that begin with "@".
  std::vector<std::string> TrueTypeFamilies() const;

 private:
  std::shared_ptr<FontLibrary> library_;
};

}  // namespace platform
