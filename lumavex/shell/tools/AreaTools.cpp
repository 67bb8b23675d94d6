#include "lumavex/shell/tools/AreaTools.h"

#include <string>

#include "lumavex/paint/LineArtIntake.h"
#include "lumavex/paint/RegionFill.h"
#include "lumavex/paint/Selection.h"
#include "lumavex/paint/SquareFatten.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

FillKind KindOf(int mode) {
  return mode == cmd::kDeselectArea ? FillKind::Deselect : FillKind::Select;
}

struct SelectionCommand {
  int command;
  SelectionChange change;
  const char* status;  // shown while it runs
};

constexpr SelectionCommand kSelectionCommands[] = {
    {cmd::kSelectAll, SelectionChange::SelectAll, "★全領域選択中..."},
    {cmd::kDeselectAll, SelectionChange::DeselectAll, "★全領域非選択中..."},
    {cmd::kReverseArea, SelectionChange::Reverse, "★領域反転"},
};

}  // namespace

void AreaTools::Enter(AppState& s, int id) {
  step_.reset();
  EnterToolMode(s, id, StatusText(id));
}

void AreaTools::LeftPress(AppState& s, Sample at, platform::Modifiers) {
  // Selection changes are no picture changes: the press opens no undo step.
  step_.emplace(s.drawing, false);
  FillAt(s, at);
}

void AreaTools::LeftDrag(AppState& s, Sample at) {
  if (step_) FillAt(s, at);
}

void AreaTools::LeftRelease(AppState& s, Sample) {
  if (!step_) return;
  RestoreModeStatusText(s);
  step_->End(true);
  step_.reset();
}

std::string AreaTools::StatusText(int mode) const {
  return FindCommand(mode)->status;
}

void AreaTools::FillAt(AppState& s, Sample at) {
  RegionFill(*step_, s.drawing, KindOf(s.currentCommand), at.x, at.y);
}

void ChooseAreaFillCommand(AppState& s, int id) {
  if (s.canvas.HasPicture()) EnterTool(s, id);
}

// The mode chosen before stays: the reduced save selects everything on its way, and
// Ctrl+Shift+H goes on into the select fill.
void ChangeSelectionCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  const SelectionCommand* chosen = &kSelectionCommands[0];
  for (const SelectionCommand& command : kSelectionCommands)
    if (command.command == id) chosen = &command;
  SetStatusText(s, chosen->status);
  const PixelRect area = PaintArea(s.canvas);
  ChangeSelection(s.canvas, chosen->change, area);
  if (id == cmd::kReverseArea) s.drawing.PlayFeedbackSound("end.wav");
  RestoreModeStatusText(s);
  if (!area.Empty()) s.drawing.RedrawPicture(area);
}

void SquareFattenCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  RunSettingCommand(s, id);
  // OK leaves the fatten's mode set; a cancelled dialog leaves none.
  if (s.currentCommand != id) return;
  s.modeStatusText.clear();
  SquareFatten(s.drawing);
  SetStatusText(s, "");
  CloseUndoStep(s);
}

void ColourLineArtIntakeCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  const std::string before = s.menu.StatusText();
  SetStatusText(s, "★カラー線画取り込み中...");
  TakeInColourLineArt(s.drawing, s.progress);
  SetStatusText(s, before);
  CloseUndoStep(s);
}

}  // namespace lumavex
