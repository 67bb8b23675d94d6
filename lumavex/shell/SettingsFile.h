#pragma once
// The drawing settings file (".draw_define"): a fixed 168-byte little-endian record,
// then the string paste text and the font name as zero-terminated Shift-JIS blocks.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "lumavex/canvas/DrawingSettings.h"
#include "platform/UiHost.h"

namespace lumavex {

class AppState;

constexpr size_t kSettingsRecordBytes = 168;
// The largest blocks a reader accepts, terminating zero included.
constexpr int kMaxPasteTextBlock = 4096;
constexpr int kMaxFontNameBlock = 260;

// The head and termination colours travel with the settings, as kept in memory.
struct DrawingColours {
  uint32_t head = 0;
  uint32_t termination = 0;
};

// The whole file's bytes; nothing, with the reason in `error`, when the text or the
// font name cannot be written as Shift-JIS or does not fit its block.
std::optional<std::string> EncodeDrawingSettings(const DrawingSettings& settings,
                                                 const DrawingColours& colours,
                                                 std::string* error);

// Writes the record and both blocks to `out` at its position; false with the reason in
// `error` when the texts cannot be encoded or the stream refuses the bytes.
bool WriteDrawingSettings(std::FILE* out, const DrawingSettings& settings,
                          const DrawingColours& colours, std::string* error);

// Reads `path` into `settings` and `colours`, showing any problem itself: a file that
// cannot be opened, a record or block shorter than stated, a field out of range or a
// text that is not Shift-JIS. Nothing is changed unless the whole file is good.
bool LoadDrawingSettings(platform::UiHost& host, const std::string& path,
                         DrawingSettings& settings, DrawingColours& colours);

// The settings read of the program (command 40015): loads `path` into the program's
// settings and colours and shows the new colours. Does nothing before the canvas
// size is known.
void ReadDrawingSettingsCommand(AppState& state, const std::string& path);

}  // namespace lumavex
