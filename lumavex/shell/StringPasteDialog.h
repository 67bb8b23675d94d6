#pragma once
// Dialog 136 "文字列貼り付け( Paste string.)": the text, its cell size and spacing, the
// face from the installed TrueType families, the weight, italic and vertical setting,
// and "有無チェック", which blanks the weights whose glyphs the face lacks.

#include <string>
#include <vector>

#include "lumavex/canvas/DrawingSettings.h"
#include "platform/DialogModel.h"
#include "platform/FontEngine.h"

namespace lumavex {

namespace string_dialog {
constexpr int kText = 1000;
constexpr int kWidth = 1001;
constexpr int kHeight = 1002;
constexpr int kSpacing = 1003;
constexpr int kFace = 1004;
constexpr int kWeight = 1005;
constexpr int kItalic = 1006;
constexpr int kGlyphCheck = 1007;
constexpr int kVertical = 1009;
}  // namespace string_dialog

// The dialog over `settings`, listing `faces` (the stored face chosen, else the
// first). OK validates text, width, height, spacing, face and weight in that order
// and stores them all; the glyph check stores all but the weight first.
platform::DialogModel MakeStringPasteDialog(DrawingSettings& settings,
                                            const std::vector<std::string>& faces,
                                            const platform::FontEngine& fonts);

}  // namespace lumavex
