#include "lumavex/shell/LightTable.h"

#include <algorithm>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr int kLightTableDialogId = 160;
constexpr uint32_t kNoLight = 0x00FFFFFFu;

std::string FolderOf(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// A reader's message on one line, for the status text.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace

uint32_t NeighbourFactor(uint32_t pixel, bool earlier, int opacity) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(opacity, 0, 255));
  const uint32_t lightness = (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
  const uint32_t red = earlier ? 255 : lightness, blue = earlier ? lightness : 255;
  auto factor = [a](uint32_t tint) { return 255 - Round255(a * (255 - tint)); };
  return factor(red) << 16 | factor(lightness) << 8 | factor(blue);
}

uint32_t CombineFactors(uint32_t a, uint32_t b) {
  auto channel = [&](int shift) {
    return Round255(((a >> shift) & 0xFF) * ((b >> shift) & 0xFF)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

const PixelPlane* LightTable::Refresh(AppState& s) {
  const FolderPictureList& list = s.files.folderPictures;
  if (!options.on || !s.canvas.HasPicture() || !list.Exists()) {
    Release();
    return nullptr;
  }
  const std::string folder = FolderOf(s.currentFileName);
  const int sides = std::clamp(options.picturesEachSide, 1, kMaxNeighboursEachSide);
  std::vector<Neighbour> kept;
  bool changed = false;
  for (int offset = -sides; offset <= sides; ++offset) {
    const auto name = list.NameAt(offset);
    if (!name) continue;
    const std::string path = s.Resolve(folder + *name);
    const auto stamp = StampOf(path);
    auto old = std::ranges::find(neighbours_, path, &Neighbour::path);
    if (old != neighbours_.end() && old->stamp == stamp) {
      changed = changed || old->offset != offset;
      old->offset = offset;
      kept.push_back(std::move(*old));
      neighbours_.erase(old);
      continue;
    }
    if (old != neighbours_.end()) neighbours_.erase(old);
    changed = true;
    Neighbour n;
    n.offset = offset;
    n.name = *name;
    n.path = path;
    n.stamp = stamp;
    std::string failure;
    if (!ReadPictureQuietly(s.host, s.allocator, path, *name, n.display, failure))
      SetStatusText(s, "★ライトテーブル：" + *name + " を読み込めません。(" + OneLine(failure) +
                           ")");
    kept.push_back(std::move(n));
  }
  changed = changed || !neighbours_.empty();  // some are no longer beside the picture
  neighbours_ = std::move(kept);
  if (changed || builtWidth_ != s.canvas.Width() || builtHeight_ != s.canvas.Height() ||
      builtOpacity_ != options.opacity || builtSides_ != sides)
    Rebuild(s);
  return Factors(s);
}

const PixelPlane* LightTable::Factors(const AppState& s) const {
  if (!options.on || !factorsShown_ || !s.canvas.HasPicture() ||
      factors_.Width() != s.canvas.Width() || factors_.Height() != s.canvas.Height())
    return nullptr;
  return &factors_;
}

void LightTable::Rebuild(AppState& s) {
  builtWidth_ = s.canvas.Width();
  builtHeight_ = s.canvas.Height();
  builtOpacity_ = options.opacity;
  builtSides_ = std::clamp(options.picturesEachSide, 1, kMaxNeighboursEachSide);
  factorsShown_ = std::ranges::any_of(neighbours_, [](const Neighbour& n) {
    return !n.display.Empty();
  });
  if (!factorsShown_) {
    factors_.Release();
    return;
  }
  if (factors_.Width() != builtWidth_ || factors_.Height() != builtHeight_) {
    factors_.Release();
    if (!factors_.Create(s.allocator, builtWidth_, builtHeight_, 4)) {
      factorsShown_ = false;
      return;
    }
  }
  for (int y = 0; y < builtHeight_; ++y) std::fill_n(factors_.Row32(y), builtWidth_, kNoLight);
  // Nearest last, so that the earlier and later pictures next to this one lie on top.
  std::vector<const Neighbour*> order;
  for (const Neighbour& n : neighbours_)
    if (!n.display.Empty()) order.push_back(&n);
  std::ranges::sort(order, [](const Neighbour* a, const Neighbour* b) {
    return std::abs(a->offset) > std::abs(b->offset) ||
           (std::abs(a->offset) == std::abs(b->offset) && a->offset < b->offset);
  });
  for (const Neighbour* n : order) {
    const int opacity = std::abs(n->offset) == 1 ? options.opacity : options.opacity / 2;
    const bool earlier = n->offset < 0;
    const int width = std::min(builtWidth_, n->display.Width());
    const int height = std::min(builtHeight_, n->display.Height());
    for (int y = 0; y < height; ++y) {
      const uint32_t* from = n->display.Row32(y);
      uint32_t* to = factors_.Row32(y);
      for (int x = 0; x < width; ++x)
        to[x] = CombineFactors(to[x], NeighbourFactor(from[x], earlier, opacity));
    }
  }
}

void LightTable::Release() {
  neighbours_.clear();
  factors_.Release();
  factorsShown_ = false;
  builtWidth_ = builtHeight_ = builtSides_ = 0;
  builtOpacity_ = -1;
}

void ToggleLightTable(AppState& s) {
  LightTableOptions& o = s.lightTable.options;
  o.on = !o.on;
  s.menu.Check(cmd::kLightTable, o.on);
  SetStatusText(s, o.on ? "★ライトテーブル オン" : "★ライトテーブル オフ");
  if (o.on && !s.files.folderPictures.Exists())
    SetStatusText(s, "★ライトテーブル：保存またはロードした画像の前後を表示します。");
  Redraw(s);
}

platform::DialogModel MakeLightTableDialog(LightTableOptions& options) {
  ParameterDialogForm form;
  form.id = kLightTableDialogId;
  form.title = "ライトテーブル設定";
  IntegerField sides;
  sides.controlId = kFirstField;
  sides.label = "前後の枚数( 1 ～ 2)";
  sides.startValue = options.picturesEachSide;
  sides.lower = 1;
  sides.upper = kMaxNeighboursEachSide;
  sides.notNumberMessage = "前後の枚数に数値を入力して下さい。";
  sides.belowLowerMessage = sides.aboveUpperMessage = "前後の枚数には１か２を入力して下さい。";
  sides.store = [&options](int v) { options.picturesEachSide = v; };
  IntegerField opacity;
  opacity.controlId = kSecondField;
  opacity.label = "不透明度( 0 ～ 255)";
  opacity.startValue = options.opacity;
  opacity.lower = 0;
  opacity.upper = 255;
  opacity.notNumberMessage = "不透明度に数値を入力して下さい。";
  opacity.belowLowerMessage = "不透明度に０以上の数値を入力して下さい。";
  opacity.aboveUpperMessage = "不透明度に２５５以下の数値を入力して下さい。";
  opacity.store = [&options](int v) { options.opacity = v; };
  form.fields = {std::move(sides), std::move(opacity)};
  return MakeParameterDialog(std::move(form));
}

void LightTableSettingsCommand(AppState& s) {
  platform::DialogModel model = MakeLightTableDialog(s.lightTable.options);
  s.host.RunDialog(model);
  if (s.canvas.HasPicture()) Redraw(s);
}

}  // namespace lumavex
