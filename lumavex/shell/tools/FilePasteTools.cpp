#include "lumavex/shell/tools/FilePasteTools.h"

#include <cmath>

#include "lumavex/files/PictureLoad.h"
#include "lumavex/paint/StringPicture.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/StringPasteDialog.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/Zoom.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

constexpr char kPositionStatus[] = "★ペースト位置指定";
constexpr char kZoomTo100Status[] = "★表示倍率を１００％にして下さい。";
constexpr char kFilePastingStatus[] = "★ファイルからペースト中...";
constexpr char kStringPastingStatus[] = "★ペースト中...";
constexpr char kMissingGlyphStatus[] = "▼フォントデータに無いサイズの文字があります。";
constexpr int kZoom100 = 1;

// A typed corner held far enough inside int that the picture's far side fits too.
int HeldPosition(int v) {
  return std::clamp(v, -kFarPixel, kFarPixel);
}

// Draws the picture's drawing-area pixels over the view where the paste would put
// them: each shown canvas pixel takes the picture pixel the paste would lay there.
void ShowPicture(AppState& s, const PastePicture& picture, const PasteCorners& corners) {
  const double zoom = ScreenPixelsPerCanvasPixel(s.view.zoomCode);
  const int px = s.view.horizontal.position, py = s.view.vertical.position;
  const PixelRect box = QuadrilateralBox(corners);
  const bool frameView = s.view.kind == ViewKind::Frame;
  const int left = std::max(0, CanvasToClientX(s, box.left));
  const int top = std::max(0, CanvasToClientY(s, box.top));
  const int right = std::min(ViewWidth(s), CanvasToClientX(s, box.right + 1) + 1);
  const int bottom = std::min(s.surface.Height(), CanvasToClientY(s, box.bottom + 1) + 1);
  const double spanX = picture.Width() - 1, spanY = picture.Height() - 1;
  for (int y = top; y < bottom; ++y) {
    const int cy = py + static_cast<int>(std::floor(y / zoom));
    for (int x = left; x < right; ++x) {
      const int cx = px + static_cast<int>(std::floor(x / zoom));
      double u = 0, v = 0;
      if (!InverseBilinear(corners, {double(cx), double(cy)}, u, v)) continue;
      const int sx = picture.area.left + static_cast<int>(std::floor(std::clamp(u, 0.0, 1.0) * spanX + 0.5));
      const int sy = picture.area.top + static_cast<int>(std::floor(std::clamp(v, 0.0, 1.0) * spanY + 0.5));
      const uint32_t display = picture.display.At(sx, sy);
      if (!(display & kDrawAreaFlag)) continue;
      s.surface.At(x, y) = (frameView ? picture.frame.At(sx, sy) : display) & kColourMask;
    }
  }
}

}  // namespace

void LeavePasteMode(AppState& s) {
  s.currentCommand = cmd::kNone;
  s.modeStatusText.clear();
  SetStatusText(s, "");
}

void FilePasteTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture() || !picture_.Held()) return;
  corners_ = RectangleCorners(picture_, lastLeft_, lastTop_);
  picked_ = -1;
  EnterToolMode(s, id, StatusText(id));
}

bool FilePasteTools::ChoosePicture(AppState& s, const std::string& title) {
  const auto name = AskFileToOpen(
      s, title,
      {kPictureFilesFilter, "lmv files {*.lmv}", "bmp files {*.bmp}", "png files {*.png}",
       "jpg files {*.jpg}"});
  if (!name) return false;
  if (*name == picture_.path && picture_.Held()) return true;
  // The picture held gives way before the next one is read.
  picture_.Release();
  if (!LoadPastePicture({s.host, s.allocator}, s.Resolve(*name), *name,
                        PasteVariant::SameSizeUnmarked, picture_.display, picture_.frame))
    return false;
  picture_.area = {0, 0, picture_.display.Width() - 1, picture_.display.Height() - 1};
  picture_.path = *name;
  return true;
}

bool FilePasteTools::AskPosition(AppState& s, int mode) {
  SetStatusText(s, kPositionStatus);
  int left = lastLeft_, top = lastTop_;
  platform::DialogModel model = MakePasteTopLeftDialog(left, top);
  if (s.host.RunDialog(model) != model.okCode) return false;
  lastLeft_ = HeldPosition(left);
  lastTop_ = HeldPosition(top);
  SendCommand(s, mode);
  return true;
}

void FilePasteTools::LeftPress(AppState& s, Sample at, platform::Modifiers m) {
  if (m.shift && m.ctrl) {
    if (s.currentCommand == cmd::kSimplePastePosition && s.view.zoomCode != kZoom100) {
      SetStatusText(s, kZoomTo100Status);
      return;
    }
    Paste(s);
    return;
  }
  double best = 0;
  picked_ = -1;
  for (int i = 0; i < 4; ++i) {
    const double d = std::hypot(corners_[i].x - at.x, corners_[i].y - at.y);
    if (picked_ < 0 || d < best) picked_ = i, best = d;
  }
}

void FilePasteTools::RightPress(AppState& s, Sample, platform::Modifiers m) {
  if (!m.shift || !m.ctrl) return;
  picked_ = -1;
  LeavePasteMode(s);
  Redraw(s);
}

void FilePasteTools::LeftDrag(AppState& s, Sample at) {
  if (picked_ < 0) return;
  corners_[picked_] = {std::round(at.x), std::round(at.y)};
  Redraw(s);
}

void FilePasteTools::LeftRelease(AppState&, Sample) {
  picked_ = -1;
}

void FilePasteTools::Paste(AppState& s) {
  if (!picture_.Held()) return;
  const bool simple = s.currentCommand == cmd::kSimplePastePosition;
  SetStatusText(s, simple ? kFilePastingStatus : kStringPastingStatus);
  PaintStep step(s.drawing, true);
  if (const auto at = UnchangedRectangleAt(picture_, corners_))
    PasteRectangle(step, picture_, at->first, at->second, s.progress);
  else
    PasteQuadrilateral(step, picture_, corners_, s.progress);
  step.End(true);
  lastLeft_ = HeldPosition(PixelIndex(std::floor(corners_[0].x + 0.5)));
  lastTop_ = HeldPosition(PixelIndex(std::floor(corners_[0].y + 0.5)));
  if (simple) {
    LeavePasteMode(s);
    Redraw(s);
  } else {
    RestoreModeStatusText(s);
  }
}

void FilePasteTools::InvertPreview(AppState& s) {
  if (!picture_.Held() || !ToolOfMode(s, s.currentCommand)) return;
  ShowPicture(s, picture_, corners_);
  InvertPointLoop(s, {corners_.begin(), corners_.end()});
}

std::string FilePasteTools::StatusText(int) const {
  return kPositionStatus;
}

void EnterPastePosition(AppState& s, int id) {
  s.tools.Get<FilePasteTools>().Enter(s, id);
}

void PasteFromFileCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  SetStatusText(s, FindCommand(id)->status);
  SetZoom(s, kZoom100, true);
  FilePasteTools& tool = s.tools.Get<FilePasteTools>();
  if (!tool.ChoosePicture(s, "ファイルから単純ペースト") ||
      !tool.AskPosition(s, cmd::kSimplePastePosition))
    LeavePasteMode(s);
}

}  // namespace lumavex

namespace lumavex {

void PasteStringCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  platform::DialogModel dialog =
      MakeStringPasteDialog(s.settings, s.fonts.TrueTypeFamilies(), s.fonts);
  if (s.host.RunDialog(dialog) != dialog.okCode) {
    LeavePasteMode(s);
    return;
  }
  FilePasteTools& tool = s.tools.Get<FilePasteTools>();
  const StringPictureResult made = MakeStringPicture(
      s.fonts, StringSettingOf(s.settings), s.headColour & kColourMask, s.allocator, tool.Picture());
  if (made != StringPictureResult::Made) {
    LeavePasteMode(s);
    if (made == StringPictureResult::NoMemory)
      s.host.ShowMessage("メモリが確保出来ません。", "エラー", platform::MessageButtons::Ok,
                         platform::MessageIcon::Exclamation);
    else
      SetStatusText(s, kMissingGlyphStatus);
    return;
  }
  if (!tool.AskPosition(s, cmd::kStringPasteAtTopLeft)) LeavePasteMode(s);
}

}  // namespace lumavex
