#include "lumavex/shell/StringPasteDialog.h"

#include <algorithm>
#include <optional>

#include "lumavex/canvas/SettingLimits.h"
#include "lumavex/paint/StringPicture.h"
#include "lumavex/shell/ParameterDialog.h"
#include "platform/TextCodec.h"

namespace lumavex {
namespace {

using platform::ControlKind;
using platform::DialogControl;
using platform::DialogMessage;
using platform::DialogModel;
namespace id = string_dialog;

constexpr int kWeightEntries = 10;  // "0", "100", ... "900"
// The text is kept in a 4096-byte Shift-JIS block with its terminating zero.
constexpr size_t kMaxTextBytes = 4095;

struct SizeField {
  int controlId;
  const char* name;  // "文字幅", as the messages begin
  SettingRange range;
  const char* below;
  const char* above;
};

constexpr SizeField kSizeFields[] = {
    {id::kWidth, "文字幅", limit::kCharacterSide, "２以上", "３００００以下"},
    {id::kHeight, "文字高さ", limit::kCharacterSide, "２以上", "３００００以下"},
    {id::kSpacing, "文字間隔", limit::kCharacterSpacing, "０以上", "３００００以下"},
};

DialogMessage Refusal(const std::string& text) {
  return {text, kInputErrorCaption};
}

// The Shift-JIS length of `text`. A character Shift-JIS lacks counts as two bytes, as
// the double-byte character it would have to be; such text still reaches the glyph
// check, which reports it.
size_t ShiftJisBytes(const std::string& text) {
  if (const auto whole = platform::Utf8ToCp932(text)) return whole->size();
  size_t bytes = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = start + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    const auto one = platform::Utf8ToCp932(std::string_view(text).substr(start, end - start));
    bytes += one ? one->size() : 2;
    start = end;
  }
  return bytes;
}

// The text, the three sizes and the face, checked in order and stored when all pass.
std::optional<DialogMessage> StoreAllButWeight(DialogModel& m, DrawingSettings& s) {
  if (m.Text(id::kText).empty()) return Refusal("文字列を入力して下さい。");
  if (ShiftJisBytes(m.Text(id::kText)) > kMaxTextBytes)
    return Refusal("文字列を４０９５バイト以内にして下さい。");
  int values[3] = {};
  for (int i = 0; i < 3; ++i) {
    const SizeField& f = kSizeFields[i];
    const auto v = ParseDialogInteger(m.Text(f.controlId));
    if (!v) return Refusal(std::string(f.name) + "に数値を入力して下さい。");
    if (*v < *f.range.lower) return Refusal(std::string(f.name) + "に" + f.below + "の数値を入力して下さい。");
    if (*v > *f.range.upper) return Refusal(std::string(f.name) + "に" + f.above + "の数値を入力して下さい。");
    values[i] = *v;
  }
  const DialogControl* face = m.Find(id::kFace);
  if (face->selected < 0) return Refusal("フォント名を選択して下さい。");
  s.pasteText = m.Text(id::kText);
  s.characterWidth = values[0];
  s.characterHeight = values[1];
  s.characterSpacing = values[2];
  s.fontName = face->items[face->selected];
  s.italic = m.Checked(id::kItalic);
  s.vertical = m.Checked(id::kVertical);
  return std::nullopt;
}

platform::DialogControl Edit(int controlId, const char* label, std::string text) {
  return {controlId, ControlKind::Edit, label, std::move(text)};
}

}  // namespace

platform::DialogModel MakeStringPasteDialog(DrawingSettings& s,
                                            const std::vector<std::string>& faces,
                                            const platform::FontEngine& fonts) {
  DialogModel m;
  m.id = 136;
  m.title = "文字列貼り付け( Paste string.)";
  m.controls.push_back(Edit(id::kText, "文字列", s.pasteText));
  m.controls.push_back(Edit(id::kWidth, "文字幅", std::to_string(s.characterWidth)));
  m.controls.push_back(Edit(id::kHeight, "文字高さ", std::to_string(s.characterHeight)));
  m.controls.push_back(Edit(id::kSpacing, "文字間隔", std::to_string(s.characterSpacing)));

  platform::DialogControl face{id::kFace, ControlKind::List, "フォント名"};
  face.items = faces;
  const auto stored = std::find(faces.begin(), faces.end(), s.fontName);
  face.selected = faces.empty() ? -1 : stored != faces.end() ? int(stored - faces.begin()) : 0;
  m.controls.push_back(face);

  platform::DialogControl weight{id::kWeight, ControlKind::List, "文字の太さ"};
  for (int i = 0; i < kWeightEntries; ++i) weight.items.push_back(std::to_string(i * 100));
  weight.selected = std::clamp(s.fontWeight / 100, 0, kWeightEntries - 1);
  m.controls.push_back(weight);

  m.controls.push_back({id::kVertical, ControlKind::Check, "縦", "", s.vertical});
  m.controls.push_back({id::kItalic, ControlKind::Check, "斜体", "", s.italic});
  m.controls.push_back({id::kGlyphCheck, ControlKind::Button, "有無チェック"});

  m.onButton = [&s, &fonts](DialogModel& model, int button) -> std::optional<DialogMessage> {
    if (button != id::kGlyphCheck) return std::nullopt;
    if (auto refusal = StoreAllButWeight(model, s)) return refusal;
    DialogControl* weights = model.Find(id::kWeight);
    const StringSetting setting = StringSettingOf(s);
    for (int w = 900; w >= 0; w -= 100)
      weights->items[w / 100] = HasEveryGlyph(fonts, setting, w) ? std::to_string(w) : "";
    return std::nullopt;
  };
  m.onOk = [&s](DialogModel& model) -> std::optional<DialogMessage> {
    // Nothing is stored until every value has passed.
    DrawingSettings checked = s;
    if (auto refusal = StoreAllButWeight(model, checked)) return refusal;
    const DialogControl* weights = model.Find(id::kWeight);
    if (weights->selected < 0 || weights->items[weights->selected].empty())
      return Refusal("文字の太さを選択して下さい。");
    checked.fontWeight = weights->selected * 100;
    s = checked;
    return std::nullopt;
  };
  return m;
}

}  // namespace lumavex
