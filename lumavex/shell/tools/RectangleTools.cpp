#include "lumavex/shell/tools/RectangleTools.h"

#include <cmath>

#include "lumavex/curves/FrameRender.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

// The phases of one rectangle tool and the chain it keeps its corners in.
struct RectangleFamily {
  int tool, drag, edit, commit;
  common::ChainHandle BasePointChains::*chain;
  // The commit waits for the release of the Shift+Ctrl click.
  bool commitsAtRelease;
};

constexpr RectangleFamily kFamilies[] = {
    {cmd::kEllipse, cmd::kEllipseDrag, cmd::kEllipseEdit, cmd::kEllipseDraw,
     &BasePointChains::ellipse, false},
    {cmd::kSaveRectangle, cmd::kRectangleDrag, cmd::kRectangleEdit, cmd::kRectangleSave,
     &BasePointChains::rectangle, true},
};

// The family of a tool command or one of its phases; the registry sends no other here.
const RectangleFamily& FamilyOf(int mode) {
  for (const RectangleFamily& f : kFamilies)
    if (mode == f.tool || mode == f.drag || mode == f.edit) return f;
  return kFamilies[0];
}

common::ChainHandle ChainOf(const AppState& s, const RectangleFamily& f) {
  return s.chains.*f.chain;
}

// The corner of the chain's two points nearest to `at`.
BasePoint* NearestCorner(AppState& s, common::ChainHandle chain, Sample at) {
  BasePoint* best = nullptr;
  double bestDistance = 0;
  auto& lists = s.chains.lists;
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link)) {
    BasePoint* p = PointOf(link);
    const double d = std::hypot(p->x - at.x, p->y - at.y);
    if (!best || d < bestDistance) {
      best = p;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace

void RectangleTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  const RectangleFamily& f = FamilyOf(id);
  const bool hasPoints = s.chains.lists.Count(ChainOf(s, f)) > 0;
  picked_ = {};
  EnterToolMode(s, hasPoints ? f.edit : f.tool, StatusText(f.tool));
}

void RectangleTools::LeftPress(AppState& s, Sample at, platform::Modifiers m) {
  const RectangleFamily& f = FamilyOf(s.currentCommand);
  auto& lists = s.chains.lists;
  const common::ChainHandle chain = ChainOf(s, f);
  const Sample p = ClampedToPicture(s, at);
  if (s.currentCommand == f.tool) {
    ClearBasePoints(lists, chain);
    AddBasePoint(lists, chain, p.x, p.y);
    AddBasePoint(lists, chain, p.x, p.y);  // the opposite corner follows the drag
    s.currentCommand = f.drag;
    picked_ = {1, PointOf(lists.Last(chain))};
    PaintScrolled(s);
  } else if (s.currentCommand == f.edit) {
    if (m.shift && m.ctrl) {
      if (f.commitsAtRelease)
        commitAtRelease_ = true;
      else
        SendCommand(s, f.commit);
      return;
    }
    picked_ = {0, NearestCorner(s, chain, p)};
  }
}

void RectangleTools::RightPress(AppState& s, Sample, platform::Modifiers m) {
  if (!m.shift || !m.ctrl) return;
  const RectangleFamily& f = FamilyOf(s.currentCommand);
  ClearBasePoints(s.chains.lists, ChainOf(s, f));
  SendCommand(s, f.tool);
}

void RectangleTools::LeftDrag(AppState& s, Sample at) {
  DragPickedPoint(s, picked_, ChainOf(s, FamilyOf(s.currentCommand)), at);
}

void RectangleTools::LeftRelease(AppState& s, Sample at) {
  const RectangleFamily& f = FamilyOf(s.currentCommand);
  if (s.currentCommand == f.drag) {
    LeftDrag(s, at);
    s.currentCommand = f.edit;
    picked_ = {};
  } else if (commitAtRelease_) {
    commitAtRelease_ = false;
    SendCommand(s, f.commit);
  }
}

void RectangleTools::InvertPreview(AppState& s) {
  if (s.currentCommand == FamilyOf(s.currentCommand).tool) return;
  InvertChainMarks(s, ChainOf(s, FamilyOf(s.currentCommand)), true, 0);
}

std::string RectangleTools::StatusText(int mode) const {
  return FindCommand(FamilyOf(mode).tool)->status;
}

void DrawEllipseCommand(AppState& s) {
  if (!s.canvas.HasPicture()) return;
  DrawEllipse(s.drawing, ChainPoints(s.chains.lists, s.chains.ellipse));
  RestoreModeStatusText(s);
}

}  // namespace lumavex
