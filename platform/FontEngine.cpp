#include <ft2build.h>
#include <platform/FontEngine.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The face-name rules of platform/fonts/lumavex-fonts.conf, embedded at build time.
constexpr char kFontRules[] =
#include "FontRules.inc"
    ;

// Glyphs are always loaded as outlines: embedded bitmaps would give only two
// levels and could not be emboldened, slanted or turned.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP;

// Shear of a synthesised italic, about 12 degrees, in 16.16.
constexpr FT_Fixed kItalicShear = 0x0366A;

// A request at or above this weight is drawn bold.
constexpr int kBoldWeight = 600;
constexpr int kNormalWeight = 400;

// FreeType keeps pixels per em in 16 bits.
constexpr double kMaxPixelsPerEm = 65535.0;

// A glyph whose box would exceed this many pixels is refused instead of allocated.
constexpr int64_t kMaxGlyphPixels = int64_t{1} << 28;

constexpr char32_t kReplacementCharacter = 0xFFFD;

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

const FcChar8* FcText(const std::string& s) {
  return reinterpret_cast<const FcChar8*>(s.c_str());
}

std::string PatternString(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

// The system configuration with our face-name rules added. A rule that fails
// to parse is reported on stderr by fontconfig; the fonts stay usable.
FcConfig* LoadConfig() {
  FcConfig* config = FcInitLoadConfig();
  if (!config) return nullptr;
  FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontRules), FcTrue);
  if (!FcConfigBuildFonts(config)) {
    FcConfigDestroy(config);
    return nullptr;
  }
  return config;
}

struct MatchedFace {
  std::string file;
  int index = 0;
  std::string family;
};

std::optional<MatchedFace> MatchFace(FcConfig* config, const FontRequest& request, int weight) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  if (!request.face.empty()) FcPatternAddString(pattern.get(), FC_FAMILY, FcText(request.face));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return std::nullopt;
  MatchedFace face;
  face.file = PatternString(match.get(), FC_FILE);
  if (face.file.empty()) return std::nullopt;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &face.index);
  face.family = PatternString(match.get(), FC_FAMILY);
  return face;
}

// Vertical and horizontal proportions of a face in font units, as the
// Windows font mapper reads them from the OS/2 table.
struct DesignMetrics {
  double unitsPerEm = 0;
  double winAscent = 0;
  double winDescent = 0;
  double averageWidth = 0;
  double maxAdvance = 0;
  int weight = kNormalWeight;
};

DesignMetrics ReadDesignMetrics(FT_Face face) {
  DesignMetrics d;
  d.unitsPerEm = face->units_per_EM;
  d.maxAdvance = face->max_advance_width;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    d.winAscent = os2->usWinAscent;
    d.winDescent = os2->usWinDescent;
    d.averageWidth = os2->xAvgCharWidth;
    d.weight = os2->usWeightClass;
  } else if (face->style_flags & FT_STYLE_FLAG_BOLD) {
    d.weight = 700;
  }
  // Faces without usable OS/2 values fall back on the horizontal header, then the bounding box.
  if (d.winAscent + d.winDescent <= 0) {
    d.winAscent = face->ascender;
    d.winDescent = -face->descender;
  }
  if (d.winAscent + d.winDescent <= 0) {
    d.winAscent = face->bbox.yMax;
    d.winDescent = -face->bbox.yMin;
  }
  if (d.averageWidth <= 0) d.averageWidth = d.unitsPerEm / 2;
  if (d.maxAdvance <= 0) d.maxAdvance = d.unitsPerEm;
  return d;
}

int RoundPixels(FT_Pos v26_6) {
  return static_cast<int>((v26_6 + 32) >> 6);
}

// (v × 64 + 127) / 255 is round(v × 64 / 255) for v in 0..255.
uint8_t ToLevel65(uint8_t v) {
  return static_cast<uint8_t>((v * 64 + 127) / 255);
}

FT_Matrix ToFtMatrix(const Matrix2x2& m) {
  FT_Matrix f;
  f.xx = m.m11;
  f.xy = m.m21;
  f.yx = m.m12;
  f.yy = m.m22;
  return f;
}

bool FitsGlyphLimit(const FT_Outline& outline) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const int64_t width = ((box.xMax + 63) >> 6) - (box.xMin >> 6);
  const int64_t height = ((box.yMax + 63) >> 6) - (box.yMin >> 6);
  return width <= kMaxGlyphPixels / std::max<int64_t>(height, 1);
}

// Copies the slot's 256-level bitmap into a 65-level box with 4-byte rows.
std::optional<GlyphBitmap> ToGlyphBitmap(const FT_GlyphSlot slot, FT_Pos advance) {
  const FT_Bitmap& bitmap = slot->bitmap;
  GlyphBitmap glyph;
  glyph.advance = RoundPixels(advance);
  if (bitmap.width == 0 || bitmap.rows == 0) return glyph;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256) return std::nullopt;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.originX = slot->bitmap_left;
  glyph.originY = slot->bitmap_top;
  glyph.stride = (glyph.width + 3) & ~3;
  glyph.levels.assign(static_cast<size_t>(glyph.stride) * glyph.height, 0);
  const int pitch = std::abs(bitmap.pitch);
  for (int y = 0; y < glyph.height; ++y) {
    // A negative pitch stores the bottom row first.
    const int sourceRow = bitmap.pitch >= 0 ? y : glyph.height - 1 - y;
    const uint8_t* source = bitmap.buffer + static_cast<size_t>(sourceRow) * pitch;
    uint8_t* target = glyph.levels.data() + static_cast<size_t>(y) * glyph.stride;
    for (int x = 0; x < glyph.width; ++x) target[x] = ToLevel65(source[x]);
  }
  return glyph;
}

}  // namespace

char32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07;
  } else {
    return kReplacementCharacter;
  }
  size_t j = i;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80)
      return kReplacementCharacter;
    code = (code << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return kReplacementCharacter;
  i = j;
  return code;
}

namespace {

Rect Union(const Rect& a, const Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

uint32_t BlendLevel(uint32_t below, uint32_t colour, int level) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t b = (below >> shift) & 0xFF;
    const uint32_t c = (colour >> shift) & 0xFF;
    out |= ((b * (64 - level) + c * level + 32) >> 6) << shift;
  }
  return out;
}

// Blends the glyph's coverage in `colour` over the surface with its box's
// top-left at (left, top); returns the unclipped box.
Rect BlendGlyph(Surface& surface, const GlyphBitmap& glyph, int left, int top, uint32_t colour) {
  const Rect box{left, top, left + glyph.width, top + glyph.height};
  const Rect visible = Intersect(box, surface.Bounds());
  for (int y = visible.top; y < visible.bottom; ++y) {
    for (int x = visible.left; x < visible.right; ++x) {
      const int level = glyph.Level(x - left, y - top);
      if (level > 0) surface.At(x, y) = BlendLevel(surface.At(x, y), colour, level);
    }
  }
  return box;
}

}  // namespace

struct FontLibrary {
  FT_Library freetype = nullptr;
  FcConfig* config = nullptr;

  FontLibrary() = default;
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;
  ~FontLibrary() {
    if (config) FcConfigDestroy(config);
    if (freetype) FT_Done_FreeType(freetype);
  }
};

struct FontFace {
  std::shared_ptr<FontLibrary> library;  // released after the face
  FT_Face face = nullptr;
  std::string family;
  FontMetrics metrics;
  FT_Pos boldStrength = 0;  // horizontal widening in 26.6 when bold is synthesised
  bool slant = false;       // italic is synthesised

  FontFace() = default;
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;
  ~FontFace() {
    if (face) FT_Done_Face(face);
  }

  // Sizes the face so that win ascent + win descent spans `request.height`
  // pixels and the average character width spans `request.width` pixels.
  bool SetSize(const FontRequest& request, int weight) {
    const DesignMetrics d = ReadDesignMetrics(face);
    const double yPixelsPerEm = request.height * d.unitsPerEm / (d.winAscent + d.winDescent);
    const double xPixelsPerEm =
        request.width > 0 ? request.width * d.unitsPerEm / d.averageWidth : yPixelsPerEm;
    if (!(yPixelsPerEm <= kMaxPixelsPerEm && xPixelsPerEm <= kMaxPixelsPerEm)) return false;
    const auto ToCharSize = [](double ppem) {
      return std::max<FT_F26Dot6>(64, std::llround(ppem * 64));
    };
    if (FT_Set_Char_Size(face, ToCharSize(xPixelsPerEm), ToCharSize(yPixelsPerEm), 72, 72))
      return false;

    if (weight >= kBoldWeight && d.weight < kBoldWeight)
      boldStrength = std::max<FT_Pos>(64, std::llround(xPixelsPerEm * 64 / 24));
    slant = request.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);

    metrics.height = request.height;
    metrics.ascent =
        static_cast<int>(std::lround(request.height * d.winAscent / (d.winAscent + d.winDescent)));
    metrics.descent = metrics.height - metrics.ascent;
    metrics.averageCharWidth =
        request.width > 0
            ? request.width
            : static_cast<int>(std::lround(d.averageWidth * xPixelsPerEm / d.unitsPerEm));
    metrics.maxCharWidth =
        static_cast<int>(std::lround(d.maxAdvance * xPixelsPerEm / d.unitsPerEm)) +
        RoundPixels(boldStrength);
    return true;
  }

  // Applies synthesised bold and italic to a loaded outline.
  void Synthesise(FT_Outline& outline, FT_Pos& advance) const {
    if (boldStrength > 0) {
      FT_Outline_EmboldenXY(&outline, boldStrength, 0);
      advance += boldStrength;
    }
    if (slant) {
      const FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
      FT_Outline_Transform(&outline, &shear);
    }
  }
};

Font::Font(std::unique_ptr<FontFace> face) : face_(std::move(face)) {}

Font::~Font() = default;

const FontMetrics& Font::Metrics() const {
  return face_->metrics;
}

const std::string& Font::Family() const {
  return face_->family;
}

bool Font::HasGlyph(char32_t c) const {
  return FT_Get_Char_Index(face_->face, c) != 0;
}

std::optional<GlyphBitmap> Font::GreyGlyph(char32_t c, const Matrix2x2* transform) const {
  FT_Face face = face_->face;
  if (FT_Load_Glyph(face, FT_Get_Char_Index(face, c), kLoadFlags)) return std::nullopt;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return std::nullopt;

  FT_Vector advance{slot->advance.x, 0};
  face_->Synthesise(slot->outline, advance.x);
  if (transform) {
    const FT_Matrix matrix = ToFtMatrix(*transform);
    FT_Outline_Transform(&slot->outline, &matrix);
    FT_Vector_Transform(&advance, &matrix);
  }
  if (!FitsGlyphLimit(slot->outline)) return std::nullopt;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) return std::nullopt;
  return ToGlyphBitmap(slot, advance.x);
}

Rect Font::DrawText(Surface& surface, int x, int y, std::string_view utf8, uint32_t foreground,
                    uint32_t background) const {
  struct Placed {
    int penX;
    GlyphBitmap glyph;
  };
  std::vector<Placed> placed;
  int penX = x;
  for (size_t i = 0; i < utf8.size();) {
    std::optional<GlyphBitmap> glyph = GreyGlyph(NextCodePoint(utf8, i));
    if (!glyph) continue;
    const int advance = glyph->advance;
    placed.push_back({penX, std::move(*glyph)});
    penX += advance;
  }

  // Cells first, so that a glyph reaching into its neighbour's cell is not painted over.
  Rect changed;
  for (const Placed& p : placed) {
    const Rect cell{p.penX, y, p.penX + p.glyph.advance, y + face_->metrics.height};
    const Rect visible = Intersect(cell, surface.Bounds());
    if (!visible.Empty()) surface.Fill(visible, background);
    changed = Union(changed, cell);
  }
  for (const Placed& p : placed) {
    const int left = p.penX + p.glyph.originX;
    const int top = y + face_->metrics.ascent - p.glyph.originY;
    changed = Union(changed, BlendGlyph(surface, p.glyph, left, top, foreground));
  }
  changed = Intersect(changed, surface.Bounds());
  return changed.Empty() ? Rect{} : changed;
}

FontEngine::FontEngine() {
  auto library = std::make_shared<FontLibrary>();
  if (FT_Init_FreeType(&library->freetype)) {
    library->freetype = nullptr;
    return;
  }
  library->config = LoadConfig();
  if (library->config) library_ = std::move(library);
}

FontEngine::~FontEngine() = default;

std::unique_ptr<Font> FontEngine::CreateFont(const FontRequest& request) const {
  if (!library_) return nullptr;
  if (request.height < 1 || request.height > kMaxFontSize) return nullptr;
  if (request.width < 0 || request.width > kMaxFontSize) return nullptr;
  const int weight = request.weight <= 0 ? kNormalWeight : std::min(request.weight, 1000);

  const std::optional<MatchedFace> match = MatchFace(library_->config, request, weight);
  if (!match) return nullptr;
  auto face = std::make_unique<FontFace>();
  face->library = library_;
  face->family = match->family;
  if (FT_New_Face(library_->freetype, match->file.c_str(), match->index, &face->face)) {
    face->face = nullptr;
    return nullptr;
  }
  if (!FT_IS_SCALABLE(face->face) || !face->SetSize(request, weight)) return nullptr;
  return std::unique_ptr<Font>(new Font(std::move(face)));
}

std::vector<std::string> FontEngine::TrueTypeFamilies() const {
  std::vector<std::string> families;
  if (!library_) return families;
  PatternPtr pattern(FcPatternCreate());
  ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FONTFORMAT, nullptr));
  if (!pattern || !objects) return families;
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FontSetPtr fonts(FcFontList(library_->config, pattern.get(), objects.get()));
  if (!fonts) return families;

  for (int i = 0; i < fonts->nfont; ++i) {
    // "CFF" is OpenType with PostScript outlines; Type 1 and bitmap formats are left out.
    const std::string format = PatternString(fonts->fonts[i], FC_FONTFORMAT);
    if (format != "TrueType" && format != "CFF") continue;
    std::string family = PatternString(fonts->fonts[i], FC_FAMILY);
    if (!family.empty() && family[0] != '@') families.push_back(std::move(family));
  }
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end()), families.end());
  return families;
}

}  // namespace platform
