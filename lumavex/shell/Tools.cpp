#include "lumavex/shell/Tools.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/curves/FrameRender.h"
#include "lumavex/curves/Spline.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

// The phases and commits of one curve tool.
struct CurveTool {
  int tool, edit, commit, lines;
  const char* status;
};

constexpr CurveTool kCurveTools[] = {
    {cmd::kCurve, cmd::kCurveEdit, cmd::kCurveCommit, cmd::kCurveCommitLines,
     "★フレーム曲線描画"},
    {cmd::kTransparentCurve, cmd::kTransparentCurveEdit, cmd::kTransparentCurveCommit,
     cmd::kTransparentCurveCommitLines, "★透明フレーム曲線描画"},
    {cmd::kColourChangeCurve, cmd::kColourChangeCurveEdit, cmd::kColourChangeCurveCommit,
     cmd::kColourChangeCurveCommitLines, "★フレーム色変更曲線描画"},
};

// The phases of one rectangle tool and the chain it keeps its corners in.
struct RectangleTool {
  int tool, drag, edit, commit;
  const char* status;
};

constexpr RectangleTool kRectangleTools[] = {
    {cmd::kEllipse, cmd::kEllipseDrag, cmd::kEllipseEdit, cmd::kEllipseDraw, "★楕円描画"},
    {cmd::kSaveRectangle, cmd::kRectangleDrag, cmd::kRectangleEdit, cmd::kRectangleSave,
     "★矩形部分セーブ"},
};

const CurveTool* CurveToolOf(int command) {
  for (const auto& t : kCurveTools)
    if (command == t.tool || command == t.edit) return &t;
  return nullptr;
}

const RectangleTool* RectangleToolOf(int command) {
  for (const auto& t : kRectangleTools)
    if (command == t.tool || command == t.drag || command == t.edit) return &t;
  return nullptr;
}

common::ChainHandle RectangleChain(AppState& s, const RectangleTool& t) {
  return t.tool == cmd::kEllipse ? s.chains.ellipse : s.chains.rectangle;
}

double Zoom(const AppState& s) { return ScreenPixelsPerCanvasPixel(s.view.zoomCode); }

// Base points stay inside the picture.
Sample Clamped(const AppState& s, double x, double y) {
  return {std::clamp(x, 0.0, double(s.canvas.Width() - 1)),
          std::clamp(y, 0.0, double(s.canvas.Height() - 1))};
}

void EnterMode(AppState& s, int command, const char* status) {
  s.currentCommand = command;
  s.modeStatusText = status;
  s.picked = {};
  SetStatusText(s, status);
  Redraw(s);
}

// Re-entering goes through the command, so that the marks of what was drawn in the
// edit phase end as with any other command choice.
void ClearChainsAndEnter(AppState& s, int tool) {
  ClearBasePoints(s.chains.lists, s.chains.a);
  ClearBasePoints(s.chains.lists, s.chains.b);
  SendCommand(s, tool);
}

void CurveLeftPress(AppState& s, const CurveTool& t, double x, double y, platform::Modifiers m) {
  auto& chains = s.chains;
  const bool both = m.shift && m.ctrl;
  if (s.currentCommand == t.tool) {
    if (both) {
      if (chains.lists.Count(chains.a) >= 2) EnterMode(s, t.edit, t.status);
      return;
    }
    if (m.shift || m.ctrl) return;
    const Sample p = Clamped(s, x, y);
    AddBasePoint(chains.lists, chains.a, p.x, p.y);
    PaintScrolled(s);
    return;
  }
  if (both) {
    SendCommand(s, t.commit);
  } else if (m.shift) {
    InsertBasePoint(chains.lists, chains.a, x, y, Zoom(s));
    PaintScrolled(s);
  } else if (m.ctrl) {
    DeleteBasePoint(chains.lists, chains.a, x, y, Zoom(s), s.picked);
    PaintScrolled(s);
  } else {
    ClearMarksForEditing(s.canvas, s.markedRectangle);
    s.picked = FindBasePoint(chains.lists, chains.a, x, y, Zoom(s), kPickTolerance);
  }
}

void CurveRightPress(AppState& s, const CurveTool& t, platform::Modifiers m) {
  if (m.shift && m.ctrl) {
    ClearChainsAndEnter(s, t.tool);
  } else if (m.shift && s.currentCommand == t.edit) {
    SendCommand(s, t.lines);
    Redraw(s);
  }
}

// The corner of the chain's two points nearest to (x, y).
BasePoint* NearestCorner(AppState& s, common::ChainHandle chain, double x, double y) {
  BasePoint* best = nullptr;
  double bestDistance = 0;
  auto& lists = s.chains.lists;
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link)) {
    BasePoint* p = PointOf(link);
    const double d = std::hypot(p->x - x, p->y - y);
    if (!best || d < bestDistance) {
      best = p;
      bestDistance = d;
    }
  }
  return best;
}

void RectangleLeftPress(AppState& s, const RectangleTool& t, double x, double y,
                        platform::Modifiers m) {
  auto& lists = s.chains.lists;
  const common::ChainHandle chain = RectangleChain(s, t);
  const Sample p = Clamped(s, x, y);
  if (s.currentCommand == t.tool) {
    ClearBasePoints(lists, chain);
    AddBasePoint(lists, chain, p.x, p.y);
    AddBasePoint(lists, chain, p.x, p.y);  // the opposite corner follows the drag
    s.currentCommand = t.drag;
    s.picked = {1, PointOf(lists.Last(chain))};
    PaintScrolled(s);
  } else if (s.currentCommand == t.edit) {
    if (m.shift && m.ctrl) {
      if (t.tool == cmd::kEllipse) SendCommand(s, t.commit);
      else s.pendingRectangleSave = true;
      return;
    }
    s.picked = {0, NearestCorner(s, chain, p.x, p.y)};
  }
}

}  // namespace

void EnterCurveTool(AppState& s, int tool) {
  const CurveTool* t = CurveToolOf(tool);
  if (!t || !s.canvas.HasPicture()) return;
  auto& chains = s.chains;
  if (chains.lists.Count(chains.a) == 0) {
    ClearBasePoints(chains.lists, chains.a);
    ClearBasePoints(chains.lists, chains.b);
    EnterMode(s, t->tool, t->status);
  } else {
    EnterMode(s, t->edit, t->status);
  }
}

void EnterRectangleTool(AppState& s, int tool) {
  const RectangleTool* t = RectangleToolOf(tool);
  if (!t || !s.canvas.HasPicture()) return;
  const bool hasPoints = s.chains.lists.Count(RectangleChain(s, *t)) > 0;
  EnterMode(s, hasPoints ? t->edit : t->tool, t->status);
}

void CommitCurve(AppState& s, int command) {
  if (!s.canvas.HasPicture()) return;
  RenderFrame(s.drawing, command, ChainPoints(s.chains.lists, s.chains.a));
  RestoreModeStatusText(s);
}

void DrawEllipseCommand(AppState& s) {
  if (!s.canvas.HasPicture()) return;
  DrawEllipse(s.drawing, ChainPoints(s.chains.lists, s.chains.ellipse));
  RestoreModeStatusText(s);
}

void MoveAllBasePointsIntoPicture(AppState& s) {
  if (!s.canvas.HasPicture()) return;
  auto& c = s.chains;
  for (common::ChainHandle chain : {c.a, c.b, c.ellipse, c.rectangle})
    ClampBasePointsIntoPicture(c.lists, chain, s.canvas.Width(), s.canvas.Height());
  Redraw(s);
}

void ToolLeftPress(AppState& s, double x, double y, platform::Modifiers m) {
  if (const CurveTool* t = CurveToolOf(s.currentCommand)) CurveLeftPress(s, *t, x, y, m);
  else if (const RectangleTool* r = RectangleToolOf(s.currentCommand)) RectangleLeftPress(s, *r, x, y, m);
}

void ToolRightPress(AppState& s, double x, double y, platform::Modifiers m) {
  if (const CurveTool* t = CurveToolOf(s.currentCommand)) {
    CurveRightPress(s, *t, m);
  } else if (const RectangleTool* r = RectangleToolOf(s.currentCommand); r && m.shift && m.ctrl) {
    ClearBasePoints(s.chains.lists, RectangleChain(s, *r));
    SendCommand(s, r->tool);
  }
}

void ToolLeftDrag(AppState& s, double x, double y) {
  if (!s.picked) return;
  const Sample p = Clamped(s, x, y);
  s.picked.point->x = p.x;
  s.picked.point->y = p.y;
  PaintScrolled(s);
}

void ToolLeftRelease(AppState& s, double x, double y) {
  if (const RectangleTool* r = RectangleToolOf(s.currentCommand)) {
    if (s.currentCommand == r->drag) {
      ToolLeftDrag(s, x, y);
      s.currentCommand = r->edit;
      s.picked = {};
    } else if (s.pendingRectangleSave) {
      s.pendingRectangleSave = false;
      SendCommand(s, r->commit);
    }
  }
}

}  // namespace lumavex
