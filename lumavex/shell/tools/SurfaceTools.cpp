#include "lumavex/shell/tools/SurfaceTools.h"

#include <algorithm>
#include <vector>

#include "lumavex/curves/BasePoints.h"
#include "lumavex/paint/DirectionalGradation.h"
#include "lumavex/paint/FadeSurface.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

// The phases and commits of one surface tool. The directional gradation has no
// polygon; its `surface` is the direction phase, which commits with `direction`.
struct SurfaceFamily {
  int tool, second, edit, surface, polygon;
  FadeProfile profile;
  int directionEdit = cmd::kNone;
  int direction = cmd::kNone;
};

constexpr SurfaceFamily kFamilies[] = {
    {cmd::kFadeShadow, cmd::kFadeShadowSecondCurve, cmd::kFadeShadowEdit,
     cmd::kFadeShadowCommitSurface, cmd::kFadeShadowCommitPolygon, FadeProfile::Shadow},
    {cmd::kFadeGloss, cmd::kFadeGlossSecondCurve, cmd::kFadeGlossEdit, cmd::kFadeGlossCommitSurface,
     cmd::kFadeGlossCommitPolygon, FadeProfile::Gloss},
    {cmd::kFadeGentle, cmd::kFadeGentleSecondCurve, cmd::kFadeGentleEdit,
     cmd::kFadeGentleCommitSurface, cmd::kFadeGentleCommitPolygon, FadeProfile::Gentle},
    {cmd::kDirectionalGradation, cmd::kDirectionalGradationSecondCurve,
     cmd::kDirectionalGradationEdit, cmd::kDirectionalGradationCommitEdit, cmd::kNone,
     FadeProfile::Gentle, cmd::kDirectionalGradationCommitEdit, cmd::kDirectionalGradationCommit},
    // The copy to memory places and edits its two curves as the surfaces do.
    {cmd::kCopyToMemory, cmd::kCopyToMemorySecondCurve, cmd::kCopyToMemoryEdit,
     cmd::kCopyToMemoryCommit, cmd::kNone, FadeProfile::Gentle},
};

constexpr const char* kCountsDiffer = "★基点数が異なります";
constexpr const char* kDirectionStatus = "★方向ぼかし幅基点設定";

bool IsDirectional(const SurfaceFamily& f) {
  return f.directionEdit != cmd::kNone;
}

// The family of a mode or command; the registry sends no other here.
const SurfaceFamily& FamilyOf(int id) {
  for (const SurfaceFamily& f : kFamilies)
    if (id == f.tool || id == f.second || id == f.edit || id == f.directionEdit) return f;
  return kFamilies[0];
}

int Count(const AppState& s, common::ChainHandle chain) {
  return static_cast<int>(s.chains.lists.Count(chain));
}

void ClearSurfaceLists(AppState& s) {
  for (common::ChainHandle chain : {s.chains.a, s.chains.b, s.chains.direction})
    ClearBasePoints(s.chains.lists, chain);
}

// The lists a phase edits, the first tried first.
std::vector<common::ChainHandle> EditedLists(const AppState& s, int mode) {
  if (mode == FamilyOf(mode).directionEdit) return {s.chains.direction, s.chains.a, s.chains.b};
  return {s.chains.a, s.chains.b};
}

// The press that places points in `chain`: plain adds one, Shift+Ctrl goes on to
// `next` once the list holds two.
void PlacePress(AppState& s, common::ChainHandle chain, int next, const std::string& status,
                Sample at, platform::Modifiers m) {
  if (m.shift && m.ctrl) {
    if (Count(s, chain) >= 2) EnterToolMode(s, next, status);
    return;
  }
  if (m.shift || m.ctrl) return;
  const Sample p = ClampedToPicture(s, at);
  AddBasePoint(s.chains.lists, chain, p.x, p.y);
  PaintScrolled(s);
}

}  // namespace

void SurfaceTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  const SurfaceFamily& f = FamilyOf(id);
  picked_ = {};
  if (id == f.directionEdit) {
    EnterDirectionPhase(s, f.tool);
  } else if (Count(s, s.chains.a) == 0) {
    ClearSurfaceLists(s);
    EnterToolMode(s, f.tool, StatusText(f.tool));
  } else if (Count(s, s.chains.b) == 0) {
    EnterToolMode(s, f.second, StatusText(f.second));
  } else if (IsDirectional(f) && Count(s, s.chains.direction) > 0) {
    EnterToolMode(s, f.directionEdit, StatusText(f.directionEdit));
  } else {
    EnterToolMode(s, f.edit, StatusText(f.edit));
  }
}

void SurfaceTools::EnterDirectionPhase(AppState& s, int tool) {
  auto& chains = s.chains;
  if (Count(s, chains.a) != Count(s, chains.b)) {
    ClearSurfaceLists(s);
    EnterToolMode(s, tool, StatusText(tool));
    SetStatusText(s, kCountsDiffer);
    return;
  }
  if (Count(s, chains.direction) == 0) {
    for (const Sample& p : InitialDirectionPoints(ChainPoints(chains.lists, chains.a),
                                                  ChainPoints(chains.lists, chains.b)))
      AddBasePoint(chains.lists, chains.direction, p.x, p.y);
  }
  EnterToolMode(s, FamilyOf(tool).directionEdit, kDirectionStatus);
}

void SurfaceTools::LeftPress(AppState& s, Sample at, platform::Modifiers m) {
  const SurfaceFamily& f = FamilyOf(s.currentCommand);
  if (s.currentCommand == f.tool) {
    PlacePress(s, s.chains.a, f.second, StatusText(f.second), at, m);
  } else if (s.currentCommand == f.second) {
    PlacePress(s, s.chains.b, f.edit, StatusText(f.edit), at, m);
  } else if (m.shift && m.ctrl) {
    SendCommand(s, s.currentCommand == f.directionEdit ? f.direction : f.surface);
  } else {
    EditPress(s, at, m);
  }
}

void SurfaceTools::EditPress(AppState& s, Sample at, platform::Modifiers m) {
  auto& lists = s.chains.lists;
  const double zoom = ViewZoom(s);
  const std::vector<common::ChainHandle> chains = EditedLists(s, s.currentCommand);
  if (!m.shift && !m.ctrl) {
    ClearMarksForEditing(s.canvas, s.markedRectangle);
    for (common::ChainHandle chain : chains) {
      picked_ = FindBasePoint(lists, chain, at.x, at.y, zoom, kPickTolerance);
      pickedChain_ = chain;
      if (picked_) return;
    }
    return;
  }
  for (common::ChainHandle chain : chains) {
    const bool done = m.shift ? InsertBasePoint(lists, chain, at.x, at.y, zoom)
                              : DeleteBasePoint(lists, chain, at.x, at.y, zoom, picked_);
    if (done) break;
  }
  PaintScrolled(s);
}

void SurfaceTools::RightPress(AppState& s, Sample, platform::Modifiers m) {
  const SurfaceFamily& f = FamilyOf(s.currentCommand);
  if (m.shift && m.ctrl) {
    ClearSurfaceLists(s);
    SendCommand(s, f.tool);
  } else if (m.shift && s.currentCommand == f.edit && f.polygon != cmd::kNone) {
    SendCommand(s, f.polygon);
    Redraw(s);
  }
}

void SurfaceTools::LeftDrag(AppState& s, Sample at) {
  DragPickedPoint(s, picked_, pickedChain_, at);
}

void SurfaceTools::InvertPreview(AppState& s) {
  const int count = s.settings.splinePointCount;
  InvertChainMarks(s, s.chains.a, true, count);
  InvertChainMarks(s, s.chains.b, true, count);
  if (s.currentCommand == FamilyOf(s.currentCommand).directionEdit)
    InvertChainMarks(s, s.chains.direction, true, count);
}

std::string SurfaceTools::StatusText(int mode) const {
  const SurfaceFamily& f = FamilyOf(mode);
  if (mode == f.directionEdit) return kDirectionStatus;
  return FindCommand(f.tool)->status;
}

void CommitFadeSurface(AppState& s, int command) {
  const auto f = std::ranges::find_if(kFamilies, [command](const SurfaceFamily& c) {
    return !IsDirectional(c) && (command == c.surface || command == c.polygon);
  });
  if (f == std::end(kFamilies)) s.drawing.FatalError();
  if (!s.canvas.HasPicture()) return;
  const BandShape shape = command == f->polygon ? BandShape::Polygon : BandShape::Spline;
  const auto& chains = s.chains;
  if (DrawFadeSurface(s.drawing, f->profile, shape, ChainPoints(chains.lists, chains.a),
                      ChainPoints(chains.lists, chains.b), s.progress) == QuadCheck::Accepted)
    RestoreModeStatusText(s);
}

void DirectionPhaseCommand(AppState& s, int command) {
  s.tools.Get<SurfaceTools>().Enter(s, command);
}

void CommitDirectionalGradation(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  const auto& chains = s.chains;
  if (DrawDirectionalGradation(
          s.drawing, ChainPoints(chains.lists, chains.a), ChainPoints(chains.lists, chains.b),
          ChainPoints(chains.lists, chains.direction), s.progress) == QuadCheck::Accepted)
    RestoreModeStatusText(s);
}

}  // namespace lumavex
