#pragma once
// A line of text set in a system font as a picture to paste: the glyphs' coverage
// becomes frame opacity in the head colour, horizontally or in vertical setting.

#include <cstdint>
#include <string>

#include "lumavex/canvas/DrawingSettings.h"
#include "lumavex/paint/PictureFilePaste.h"
#include "platform/FontEngine.h"
#include "platform/Memory.h"

namespace lumavex {

enum class StringPictureResult {
  Made,
  MissingGlyph,  // the font has no glyph for a character (or cannot render it)
  NoFont,        // no font could be created for the settings
  NoMemory,      // the layers could not be allocated
};

// What the text is set with: the string paste settings.
struct StringSetting {
  std::string text;  // UTF-8
  int characterWidth = 40;
  int characterHeight = 40;
  int spacing = 0;
  std::string fontName;
  int weight = 400;
  bool italic = false;
  bool vertical = true;
};

StringSetting StringSettingOf(const DrawingSettings& settings);

// The font of the setting: cell height = character height, average width = half the
// character width (rounded toward zero), with the weight and the italic flag.
std::unique_ptr<platform::Font> CreateStringFont(const platform::FontEngine& fonts,
                                                 const StringSetting& setting, int weight);

// Sets the text into `picture` (any picture held is released first) in `colour`
// (0xRRGGBB). Covered positions get the display word colour | drawing area and the
// frame word (alpha << 24) | colour with alpha = level × 4 − 1 for coverage levels
// 1..64; the rest stays 0. The planes have a one-pixel empty border around the
// picture. On failure nothing is held.
StringPictureResult MakeStringPicture(const platform::FontEngine& fonts,
                                      const StringSetting& setting, uint32_t colour,
                                      platform::Allocator& allocator, PastePicture& picture);

// Whether every character of the text has a glyph in the setting's face and size at
// `weight`.
bool HasEveryGlyph(const platform::FontEngine& fonts, const StringSetting& setting, int weight);

}  // namespace lumavex
