#include "lumavex/shell/tools/FillTools.h"

#include <algorithm>

#include "lumavex/files/PictureLoad.h"
#include "lumavex/paint/RegionFill.h"
#include "lumavex/paint/WholeAreaFills.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

struct FillMode {
  int command;
  FillKind kind;
};

constexpr FillMode kModes[] = {
    {cmd::kFillInFrame, FillKind::HeadColour},
    {cmd::kFillNonDrawAreaInFrame, FillKind::NonDraw},
    {cmd::kFillBitmapInFrame, FillKind::Bitmap},
    {cmd::kFillOneColour, FillKind::OneColour},
};

// The fill of a fill mode; the registry sends no other mode here.
FillKind KindOf(int mode) {
  const auto it = std::ranges::find(kModes, mode, &FillMode::command);
  return it == std::end(kModes) ? FillKind::HeadColour : it->kind;
}

// No mode is left: what a cancelled tolerance dialog does.
void LeaveMode(AppState& s) {
  s.currentCommand = cmd::kNone;
  s.modeStatusText.clear();
  SetStatusText(s, "");
}

}  // namespace

void FillTools::Enter(AppState& s, int id) {
  step_.reset();
  EnterToolMode(s, id, StatusText(id));
}

void FillTools::LeftPress(AppState& s, Sample at, platform::Modifiers) {
  step_.emplace(s.drawing, true);
  FillAt(s, at);
}

void FillTools::LeftDrag(AppState& s, Sample at) {
  if (step_) FillAt(s, at);
}

void FillTools::LeftRelease(AppState& s, Sample) {
  if (!step_) return;
  RestoreModeStatusText(s);
  step_->End(true);
  step_.reset();
}

std::string FillTools::StatusText(int mode) const {
  return FindCommand(mode)->status;
}

void FillTools::FillAt(AppState& s, Sample at) {
  RegionFill(*step_, s.drawing, KindOf(s.currentCommand), at.x, at.y, &s.fillPicture);
}

bool ChooseFillPicture(AppState& s) {
  const auto name = AskFileToOpen(
      s, "フレーム内ビットマップ塗りつぶし",
      {"lmv files {*.lmv}", "bmp files {*.bmp}", "png files {*.png}", "jpg files {*.jpg}"});
  if (!name) return false;
  if (*name == s.fillPicture.path && s.fillPicture.Held()) return true;
  FillPicture loaded;
  if (!LoadPastePicture({s.host, s.allocator}, s.Resolve(*name), *name,
                        PasteVariant::SameSizeUnmarked, loaded.display, loaded.frame))
    return false;
  loaded.path = *name;
  s.fillPicture = std::move(loaded);
  return true;
}

void ChooseFillCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  if (id == cmd::kFillOneColour && !AskSetting(s, dialog::kRgbTolerance)) {
    LeaveMode(s);
    return;
  }
  if (id == cmd::kFillBitmapInFrame && !ChooseFillPicture(s)) {
    RestoreModeStatusText(s);
    return;
  }
  EnterTool(s, id);
}

void WholeAreaFillCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  if (id == cmd::kFillOneColourSelection && !AskSetting(s, dialog::kRgbTolerance)) {
    LeaveMode(s);
    return;
  }
  const WholeAreaFill fill = id == cmd::kFillSelection      ? WholeAreaFill::HeadColour
                             : id == cmd::kXorFillSelection ? WholeAreaFill::Invert
                                                            : WholeAreaFill::OneColour;
  // The step of the one-colour fill counts as the command itself, so that the
  // next command clears its marks and choosing it again repaints nothing.
  s.currentCommand = id == cmd::kFillOneColourSelectionStep ? cmd::kFillOneColourSelection : id;
  s.modeStatusText.clear();
  FillWholeArea(s.drawing, fill, s.progress);
  CloseUndoStep(s);
}

}  // namespace lumavex
