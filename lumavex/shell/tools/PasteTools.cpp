#include "lumavex/shell/tools/PasteTools.h"

#include <algorithm>
#include <iterator>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/curves/BasePointEditing.h"
#include "lumavex/paint/MemorySurface.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/BorderFiles.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/FillTools.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

struct TransformKey {
  int key;
  PasteTransform transform;
  const char* status;
  bool pastePhasesOnly;
};

constexpr TransformKey kTransformKeys[] = {
    {'5', PasteTransform::Move, "★移動モード", false},
    {'W', PasteTransform::FreeDeformation, "★自由変形モード", false},
    {'E', PasteTransform::Scale, "★拡縮モード", false},
    {'R', PasteTransform::Rotate, "★回転モード", false},
    {'6', PasteTransform::TwoPointMove, "★２点移動モード", true},
    {'7', PasteTransform::FourPointMove, "★４点移動モード", true},
    {'8', PasteTransform::TwoPointScale, "★２点拡縮モード", true},
    {'9', PasteTransform::FourPointScale, "★４点拡縮モード", true},
};

// The memory paste and the continuous paste's phases, where 6 to 9 choose a tool.
constexpr int kPastePhases[] = {
    cmd::kPasteFromMemory,     cmd::kMemoryPastePhase1,   cmd::kMemoryPastePhase2,
    cmd::kSetPasteGroup1,      cmd::kPasteGroup1Phase1,   cmd::kPasteGroup1Phase2,
    cmd::kSetPasteGroup2,      cmd::kPasteGroup2Phase1,   cmd::kPasteGroup2Phase2,
    cmd::kSetPasteGroup3,      cmd::kPasteGroup3Phase1,   cmd::kPasteGroup3Phase2,
    cmd::kPasteSpan1To2Phase1, cmd::kPasteSpan1To2Phase2, cmd::kPasteSpan2To3Phase1,
    cmd::kPasteSpan2To3Phase2, cmd::kPasteSpan3To4Phase1, cmd::kPasteSpan3To4Phase2,
    cmd::kPasteSpan1To2,       cmd::kPasteSpan2To3,       cmd::kPasteSpan3To4,
};

constexpr const char* kPasting = "★ペースト中...";
constexpr const char* kCountsDiffer = "★基点の個数を一致させて下さい。";
constexpr const char* kPaintPrevious = "★以前の画像で塗りつぶし";

const TransformKey* TransformOfMode(int mode) {
  const auto it = std::ranges::find(kTransformKeys, mode, &TransformKey::key);
  return it == std::end(kTransformKeys) ? nullptr : &*it;
}

void EnableMenuItem(AppState& s, int id, bool enabled) {
  s.menu.Enable(id, enabled);
  s.host.MenuChanged(s.menu);
}

}  // namespace

void PasteTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture() || s.memorySurface.Empty()) return;
  s.pasteCurves = s.pasteResetCurves;
  picked_ = {};
  EnterToolMode(s, id, StatusText(id));
}

void PasteTools::LeftPress(AppState& s, Sample at, platform::Modifiers m) {
  if (m.shift && m.ctrl) {
    // A group's position is stored when the mode is left; a span pastes all its
    // pictures.
    if (IsPasteSpanMode(s.currentCommand)) {
      RunPasteSpan(s);
    } else if (!IsPasteGroupMode(s.currentCommand)) {
      Paste(s);
    }
  } else if (!m.shift && !m.ctrl) {
    // A moved paste may go over its last place again.
    ClearMarksForEditing(s.canvas, s.markedRectangle);
    last_ = at;
    picked_ = NearestPastePoint(s.pasteCurves, at, kPickTolerance / ViewZoom(s));
  }
}

void PasteTools::RightPress(AppState& s, Sample, platform::Modifiers m) {
  if (!(m.shift && m.ctrl)) return;
  s.pasteCurves = PasteResetPosition(s);
  picked_ = {};
  Redraw(s);
}

void PasteTools::LeftDrag(AppState& s, Sample at) {
  const TransformKey* tool = TransformOfMode(s.pasteTransformMode);
  if (tool) ApplyPasteTransform(s.pasteCurves, tool->transform, picked_, last_, at);
  last_ = at;
  if (tool) PaintScrolled(s);
}

void PasteTools::PointerMoved(AppState&, Sample at) {
  last_ = at;
}

void PasteTools::InvertPreview(AppState& s) {
  const PasteCurves& c = s.pasteCurves;
  if (c.Empty()) return;
  const int count = s.settings.splinePointCount;
  for (const auto* curve : {&c.curve1, &c.middle, &c.curve2})
    InvertPointMarks(s, *curve, true, count);
  // The band's ends close its outline.
  InvertCanvasLine(s, c.curve1.front(), c.curve2.front());
  InvertCanvasLine(s, c.curve1.back(), c.curve2.back());
}

std::string PasteTools::StatusText(int mode) const {
  return FindCommand(mode)->status;
}

void PasteTools::Paste(AppState& s) {
  if (s.memorySurface.Empty()) return;
  SetStatusText(s, kPasting);
  PaintStep step(s.drawing, true);
  const PixelRect box =
      PasteSurface(step, s.memorySurface, s.pasteCurves,
                   static_cast<uint32_t>(s.settings.maxOpacity), s.allocator, s.fillPicture);
  step.End(false);
  if (!box.Empty()) EnableMenuItem(s, cmd::kPaintPreviousPixels, true);
  RestoreModeStatusText(s);
  PaintScrolled(s);
}

void CopyToMemoryCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  GreyMap border, opacity;
  LoadSurfaceMaps(s, border, opacity);
  const uint64_t available = s.allocator.Status().availablePageFile;
  const uint64_t room = available > platform::Allocator::kGuardBytes
                            ? available - platform::Allocator::kGuardBytes
                            : 0;
  const auto& chains = s.chains;
  const CopyOutcome outcome = CopySurface(s.canvas, ChainPoints(chains.lists, chains.a),
                                          ChainPoints(chains.lists, chains.b),
                                          s.settings.pointSpacing, border, opacity, room,
                                          s.memorySurface);
  if (outcome == CopyOutcome::NoMemory) {
    s.host.ShowMessage(CopyOutcomeText(outcome), "エラー", platform::MessageButtons::Ok,
                       platform::MessageIcon::Exclamation);
    return;
  }
  if (outcome != CopyOutcome::Copied) {
    SetStatusText(s, CopyOutcomeText(outcome));
    return;
  }
  s.pasteResetCurves = CopyPosition(s.memorySurface);
  s.pasteCurves = s.pasteResetCurves;
  ForgetPasteGroupPositions(s);
  EnableMenuItem(s, cmd::kPasteFromMemory, true);
  RestoreModeStatusText(s);
}

void MirrorPasteCommand(AppState& s, int) {
  if (s.pasteCurves.Empty()) return;
  MirrorLeftRight(s.pasteCurves);
  if (s.canvas.HasPicture()) Redraw(s);
}

void PaintPreviousPixelsCommand(AppState& s, int) {
  if (!s.canvas.HasPicture() || !s.fillPicture.Held()) return;
  s.tools.Get<FillTools>().Enter(s, cmd::kFillBitmapInFrame);
  s.modeStatusText = kPaintPrevious;
  SetStatusText(s, kPaintPrevious);
}

bool ChoosePasteTransform(AppState& s, int key) {
  const TransformKey* tool = TransformOfMode(key);
  if (!tool) return false;
  if (tool->pastePhasesOnly && std::ranges::find(kPastePhases, s.currentCommand) ==
                                   std::end(kPastePhases))
    return true;
  if (tool->pastePhasesOnly && s.pasteCurves.curve1.size() != s.pasteCurves.curve2.size()) {
    s.pasteTransformMode = -1;
    SetStatusText(s, kCountsDiffer);
    return true;
  }
  s.pasteTransformMode = key;
  SetStatusText(s, tool->status);
  return true;
}

void FreeMemorySurface(AppState& s) {
  s.memorySurface = {};
  s.pasteCurves = {};
  s.pasteResetCurves = {};
  s.menu.Enable(cmd::kPasteFromMemory, false);
  if (s.currentCommand == cmd::kPasteFromMemory) {
    s.currentCommand = cmd::kNone;
    s.modeStatusText.clear();
  }
  ForgetPasteGroupPositions(s);
}

void GreyMemoryPasteCommands(platform::MenuBar& menu) {
  menu.Enable(cmd::kPasteFromMemory, false);
  menu.Enable(cmd::kPaintPreviousPixels, false);
}

}  // namespace lumavex
