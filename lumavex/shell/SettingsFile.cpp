#include "lumavex/shell/SettingsFile.h"

#include <array>
#include <cmath>
#include <memory>

#include "common/LittleEndian.h"
#include "lumavex/canvas/SettingLimits.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "platform/TextCodec.h"

namespace lumavex {
namespace {

constexpr const char* kCheckCaption = "ロードチェック";
constexpr const char* kBadSize = "描画設定ファイルサイズが不正です。";
constexpr const char* kBadContent = "描画設定ファイルが不正です。";

using RecordBytes = std::array<uint8_t, kSettingsRecordBytes>;

bool InRange(int v, int lower, int upper) {
  return v >= lower && v <= upper;
}
// A finite distance in pixels whose 1/100 pixel lies within `range` (a NaN or infinite
// width draws nothing sane).
bool DistanceIn(double v, const SettingRange& range) {
  return std::isfinite(v) && (!range.lower || v >= *range.lower / 100.0) &&
         (!range.upper || v <= *range.upper / 100.0);
}
bool IsFlag(int v) {
  return v == 0 || v == 1;
}

// The record as read, with the block lengths it announces.
struct Record {
  DrawingSettings settings;
  DrawingColours colours;
  int textBlock = 0;
  int fontBlock = 0;
};

// Decodes the record into `r` (the settings the file does not hold keep their values)
// and checks every field in offset order; false at the first field refused.
bool DecodeRecord(const RecordBytes& bytes, Record& r) {
  common::LittleEndianReader in(bytes);
  DrawingSettings& s = r.settings;
  s.processingSquareSide = std::min(in.I32(), *limit::kProcessingSquareSide.upper);
  if (!limit::kProcessingSquareSide.Holds(s.processingSquareSide)) return false;
  s.fattenWidth = in.I32();
  if (!limit::kFattenWidth.Holds(s.fattenWidth)) return false;
  s.fattenAntiAliasWidth = in.I32();
  if (!limit::kFattenAntiAliasWidth.Holds(s.fattenAntiAliasWidth)) return false;
  s.characterWidth = in.I32();
  if (!limit::kCharacterSide.Holds(s.characterWidth)) return false;
  s.characterHeight = in.I32();
  if (!limit::kCharacterSide.Holds(s.characterHeight)) return false;
  s.fontWeight = in.I32();
  if (!limit::kFontWeight.Holds(s.fontWeight)) return false;
  const int italic = in.I32();
  if (!IsFlag(italic)) return false;
  s.italic = italic == 1;
  const int vertical = in.I32();
  if (!IsFlag(vertical)) return false;
  s.vertical = vertical == 1;
  s.characterSpacing = in.I32();
  if (!limit::kCharacterSpacing.Holds(s.characterSpacing)) return false;
  // A negative length would announce a block that cannot exist.
  r.textBlock = in.I32();
  if (!InRange(r.textBlock, 0, kMaxPasteTextBlock)) return false;
  r.fontBlock = in.I32();
  if (!InRange(r.fontBlock, 0, kMaxFontNameBlock)) return false;
  s.loadLimitWidth = in.I32();
  if (!limit::kLoadLimitSide.Holds(s.loadLimitWidth)) return false;
  s.loadLimitHeight = in.I32();
  if (!limit::kLoadLimitSide.Holds(s.loadLimitHeight)) return false;
  r.colours.head = in.U32();
  r.colours.termination = in.U32();
  s.maxOpacity = in.I32();
  if (!limit::kMaxOpacity.Holds(s.maxOpacity)) return false;
  s.headFade = in.F64();
  if (!DistanceIn(s.headFade, limit::kFadeDistance)) return false;
  s.terminationFade = in.F64();
  if (!DistanceIn(s.terminationFade, limit::kFadeDistance)) return false;
  s.splinePointCount = in.I32();
  if (!limit::kSplinePointCount.Holds(s.splinePointCount)) return false;
  s.borderFrameOpacity = in.I32();
  if (!limit::kBorderOpacity.Holds(s.borderFrameOpacity)) return false;
  s.areaBorderFrameOpacity = in.I32();
  if (!limit::kBorderOpacity.Holds(s.areaBorderFrameOpacity)) return false;
  in.U32();  // reserved
  s.frameWidth = in.F64();
  if (!DistanceIn(s.frameWidth, limit::kFrameWidth)) return false;
  s.antiAliasWidth = in.F64();
  if (!DistanceIn(s.antiAliasWidth, limit::kAntiAliasWidth)) return false;
  int* const penWidths[] = {&s.selectPenWidth, &s.deselectPenWidth, &s.frameGradationPenWidth};
  for (int* width : penWidths)
    if (!limit::kPenWidth.Holds(*width = in.I32())) return false;
  if (!limit::kGradationDegree.Holds(s.frameGradationDegree = in.I32())) return false;
  if (!limit::kPenWidth.Holds(s.gradationPenWidth = in.I32())) return false;
  if (!limit::kGradationDegree.Holds(s.gradationDegree = in.I32())) return false;
  if (!limit::kPenWidth.Holds(s.mosaicPenWidth = in.I32())) return false;
  if (!limit::kMosaicCellWidth.Holds(s.mosaicCellWidth = in.I32())) return false;
  int* const morePenWidths[] = {&s.normalPenWidth, &s.frameDeletePenWidth,
                                &s.transparentDeletePenWidth, &s.colourChangePenWidth};
  for (int* width : morePenWidths)
    if (!limit::kPenWidth.Holds(*width = in.I32())) return false;
  s.rgbTolerance = in.I32();
  return limit::kRgbTolerance.Holds(s.rgbTolerance);
}

void EncodeRecord(const DrawingSettings& s, const DrawingColours& c, int textBlock, int fontBlock,
                  RecordBytes& out) {
  common::LittleEndianWriter w(out);
  for (int v : {s.processingSquareSide, s.fattenWidth, s.fattenAntiAliasWidth, s.characterWidth,
                s.characterHeight, s.fontWeight, s.italic ? 1 : 0, s.vertical ? 1 : 0,
                s.characterSpacing, textBlock, fontBlock, s.loadLimitWidth, s.loadLimitHeight})
    w.I32(v);
  w.U32(c.head);
  w.U32(c.termination);
  w.I32(s.maxOpacity);
  w.F64(s.headFade);
  w.F64(s.terminationFade);
  for (int v : {s.splinePointCount, s.borderFrameOpacity, s.areaBorderFrameOpacity, 0}) w.I32(v);
  w.F64(s.frameWidth);
  w.F64(s.antiAliasWidth);
  for (int v : {s.selectPenWidth, s.deselectPenWidth, s.frameGradationPenWidth,
                s.frameGradationDegree, s.gradationPenWidth, s.gradationDegree, s.mosaicPenWidth,
                s.mosaicCellWidth, s.normalPenWidth, s.frameDeletePenWidth,
                s.transparentDeletePenWidth, s.colourChangePenWidth, s.rgbTolerance, 0})
    w.I32(v);
}

// The text of a block: its bytes up to the first zero, converted to UTF-8.
std::optional<std::string> BlockText(const std::string& block) {
  return platform::Cp932ToUtf8(std::string_view(block.c_str()));
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadExactly(std::FILE* in, std::string& out, int length) {
  out.assign(static_cast<size_t>(length), '\0');
  return length == 0 || std::fread(out.data(), 1, out.size(), in) == out.size();
}

}  // namespace

std::optional<std::string> EncodeDrawingSettings(const DrawingSettings& settings,
                                                 const DrawingColours& colours,
                                                 std::string* error) {
  const auto text = platform::Utf8ToCp932(settings.pasteText);
  const auto font = platform::Utf8ToCp932(settings.fontName);
  // A block longer than a reader accepts, or a zero inside a text, would make a file
  // that does not load back as written.
  if (!text || text->size() + 1 > kMaxPasteTextBlock || text->find('\0') != std::string::npos) {
    if (error) *error = "文字列貼り付けの文字列を保存できません。";
    return std::nullopt;
  }
  if (!font || font->size() + 1 > kMaxFontNameBlock || font->find('\0') != std::string::npos) {
    if (error) *error = "フォント名を保存できません。";
    return std::nullopt;
  }
  RecordBytes record{};
  EncodeRecord(settings, colours, static_cast<int>(text->size() + 1),
               static_cast<int>(font->size() + 1), record);
  std::string bytes(record.begin(), record.end());
  bytes.reserve(kSettingsRecordBytes + text->size() + font->size() + 2);
  bytes += *text;
  bytes.push_back('\0');
  bytes += *font;
  bytes.push_back('\0');
  return bytes;
}

bool WriteDrawingSettings(std::FILE* out, const DrawingSettings& settings,
                          const DrawingColours& colours, std::string* error) {
  const auto bytes = EncodeDrawingSettings(settings, colours, error);
  if (!bytes) return false;
  if (std::fwrite(bytes->data(), 1, bytes->size(), out) != bytes->size() || std::fflush(out) != 0) {
    if (error) *error = "別の位置にセーブして下さい。";
    return false;
  }
  return true;
}

bool LoadDrawingSettings(platform::UiHost& host, const std::string& path, DrawingSettings& settings,
                         DrawingColours& colours) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    host.ShowMessage("ファイルオープン不可: " + path, "エラー", platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
    return false;
  }
  RecordBytes record{};
  if (std::fread(record.data(), 1, record.size(), file.get()) != record.size()) {
    host.ShowMessage(kBadSize, kCheckCaption);
    return false;
  }
  Record r{settings, colours};
  if (!DecodeRecord(record, r)) {
    host.ShowMessage(kBadContent, kCheckCaption);
    return false;
  }
  std::string textBlock, fontBlock;
  if (!ReadExactly(file.get(), textBlock, r.textBlock) ||
      !ReadExactly(file.get(), fontBlock, r.fontBlock)) {
    host.ShowMessage(kBadSize, kCheckCaption);
    return false;
  }
  const auto text = BlockText(textBlock);
  const auto font = BlockText(fontBlock);
  if (!text || !font) {
    host.ShowMessage(kBadContent, kCheckCaption);
    return false;
  }
  r.settings.pasteText = *text;
  r.settings.fontName = *font;
  settings = std::move(r.settings);
  colours = r.colours;
  // The file was only read: a failing close loses nothing, so it is reported and the
  // settings stay loaded.
  if (std::fclose(file.release()) != 0) host.ShowMessage("エラー", "エラー");
  return true;
}

void ReadDrawingSettingsCommand(AppState& state, const std::string& path) {
  if (state.canvasWidth == -1) return;
  DrawingColours colours{state.headColour, state.terminationColour};
  if (!LoadDrawingSettings(state.host, state.Resolve(path), state.settings, colours)) return;
  state.headColour = colours.head;
  state.terminationColour = colours.termination;
  RedrawColourPanel(state);
}

}  // namespace lumavex
