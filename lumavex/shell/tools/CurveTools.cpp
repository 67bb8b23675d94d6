#include "lumavex/shell/tools/CurveTools.h"

#include <algorithm>

#include "lumavex/curves/FrameRender.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

// The phases and commits of one curve tool.
struct CurveFamily {
  int tool, edit, commit, lines;
  FrameFlavour flavour;
};

constexpr CurveFamily kFamilies[] = {
    {cmd::kCurve, cmd::kCurveEdit, cmd::kCurveCommit, cmd::kCurveCommitLines, FrameFlavour::Normal},
    {cmd::kTransparentCurve, cmd::kTransparentCurveEdit, cmd::kTransparentCurveCommit,
     cmd::kTransparentCurveCommitLines, FrameFlavour::Transparent},
    {cmd::kColourChangeCurve, cmd::kColourChangeCurveEdit, cmd::kColourChangeCurveCommit,
     cmd::kColourChangeCurveCommitLines, FrameFlavour::ColourChange},
};

// The family of a tool command or an edit phase; the registry sends no other here.
const CurveFamily& FamilyOf(int mode) {
  for (const CurveFamily& f : kFamilies)
    if (mode == f.tool || mode == f.edit) return f;
  return kFamilies[0];
}

// Re-entering goes through the command, so that the marks of what was drawn in the
// edit phase end as with any other command choice.
void ClearChainsAndEnter(AppState& s, int tool) {
  ClearBasePoints(s.chains.lists, s.chains.a);
  ClearBasePoints(s.chains.lists, s.chains.b);
  SendCommand(s, tool);
}

}  // namespace

void CurveTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  const CurveFamily& f = FamilyOf(id);
  auto& chains = s.chains;
  picked_ = {};
  if (chains.lists.Count(chains.a) == 0) {
    ClearBasePoints(chains.lists, chains.a);
    ClearBasePoints(chains.lists, chains.b);
    EnterToolMode(s, f.tool, StatusText(f.tool));
  } else {
    EnterToolMode(s, f.edit, StatusText(f.edit));
  }
}

void CurveTools::LeftPress(AppState& s, Sample at, platform::Modifiers m) {
  const CurveFamily& f = FamilyOf(s.currentCommand);
  auto& chains = s.chains;
  const bool both = m.shift && m.ctrl;
  if (s.currentCommand == f.tool) {
    if (both) {
      if (chains.lists.Count(chains.a) >= 2) {
        picked_ = {};
        EnterToolMode(s, f.edit, StatusText(f.edit));
      }
      return;
    }
    if (m.shift || m.ctrl) return;
    const Sample p = ClampedToPicture(s, at);
    AddBasePoint(chains.lists, chains.a, p.x, p.y);
    PaintScrolled(s);
    return;
  }
  if (both) {
    SendCommand(s, f.commit);
  } else if (m.shift) {
    InsertBasePoint(chains.lists, chains.a, at.x, at.y, ViewZoom(s));
    PaintScrolled(s);
  } else if (m.ctrl) {
    DeleteBasePoint(chains.lists, chains.a, at.x, at.y, ViewZoom(s), picked_);
    PaintScrolled(s);
  } else {
    ClearMarksForEditing(s.canvas, s.markedRectangle);
    picked_ = FindBasePoint(chains.lists, chains.a, at.x, at.y, ViewZoom(s), kPickTolerance);
  }
}

void CurveTools::RightPress(AppState& s, Sample, platform::Modifiers m) {
  const CurveFamily& f = FamilyOf(s.currentCommand);
  if (m.shift && m.ctrl) {
    ClearChainsAndEnter(s, f.tool);
  } else if (m.shift && s.currentCommand == f.edit) {
    SendCommand(s, f.lines);
    Redraw(s);
  }
}

void CurveTools::LeftDrag(AppState& s, Sample at) {
  DragPickedPoint(s, picked_, s.chains.a, at);
}

void CurveTools::InvertPreview(AppState& s) {
  InvertChainMarks(s, s.chains.a, true, s.settings.splinePointCount);
}

std::string CurveTools::StatusText(int mode) const {
  return FindCommand(FamilyOf(mode).tool)->status;
}

void CommitCurve(AppState& s, int command) {
  const auto f = std::ranges::find_if(kFamilies, [command](const CurveFamily& c) {
    return command == c.commit || command == c.lines;
  });
  if (f == std::end(kFamilies)) s.drawing.FatalError();
  if (!s.canvas.HasPicture()) return;
  const FrameShape shape = command == f->lines ? FrameShape::Lines : FrameShape::Spline;
  RenderFrame(s.drawing, f->flavour, shape, ChainPoints(s.chains.lists, s.chains.a));
  RestoreModeStatusText(s);
}

}  // namespace lumavex
