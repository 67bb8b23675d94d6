#include "lumavex/shell/CommandChoice.h"

#include <algorithm>
#include <array>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

// Commands that leave the marks and the marked rectangle alone: undo, zoom, view
// switches, help, parameter dialogs without a following mode, the commits of
// curves and surfaces, redo and the load-size policy.
constexpr std::array kNeutral = {cmd::kUndo,
                                 cmd::kZoom100,
                                 cmd::kZoom200,
                                 cmd::kZoom300,
                                 cmd::kZoom400,
                                 cmd::kZoom600,
                                 cmd::kZoom800,
                                 cmd::kZoom1000,
                                 cmd::kBitmapView,
                                 cmd::kFrameView,
                                 cmd::kSetSplinePoints,
                                 cmd::kSetFrameWidth,
                                 cmd::kFadeShadowCommitSurface,
                                 cmd::kSightOn,
                                 cmd::kSightOff,
                                 cmd::kCleanMemory,
                                 cmd::kHelpBasics,
                                 cmd::kSetMaxOpacity,
                                 cmd::kZoom2000,
                                 cmd::kCurveCommit,
                                 cmd::kSetHeadFade,
                                 cmd::kSetTerminationFade,
                                 cmd::kEllipseDraw,
                                 cmd::kHelpFills,
                                 cmd::kHelpMemoryPaste,
                                 cmd::kHelpFilePaste,
                                 cmd::kHelpCurves,
                                 cmd::kZoom1500,
                                 cmd::kCurveCommitLines,
                                 cmd::kFadeShadowCommitPolygon,
                                 cmd::kMinimise,
                                 cmd::kColourChangeCurveCommitLines,
                                 cmd::kColourChangeCurveCommit,
                                 cmd::kSetAntiAliasWidth,
                                 cmd::kSetBorderOpacity,
                                 cmd::kHelpPens,
                                 cmd::kHelpAreas,
                                 cmd::kHelpContinuousPaste,
                                 cmd::kHelpFrameSettings,
                                 40147,  // in the help range, with no command of its own
                                 cmd::kHelpView,
                                 cmd::kTransparentCurveCommitLines,
                                 cmd::kTransparentCurveCommit,
                                 cmd::kHelpFiles,
                                 cmd::kLoadPolicy2,
                                 cmd::kFadeGlossCommitPolygon,
                                 cmd::kFadeGentleCommitPolygon,
                                 cmd::kFadeGlossCommitSurface,
                                 cmd::kFadeGentleCommitSurface,
                                 cmd::kLoadSameSize,
                                 cmd::kLoadPolicy3,
                                 cmd::kXyOn,
                                 cmd::kXyOff,
                                 cmd::kLoadPolicy4,
                                 cmd::kRedo,
                                 cmd::kZoom1of16,
                                 cmd::kZoom1of32,
                                 cmd::kZoom1of2,
                                 cmd::kZoom1of4,
                                 cmd::kZoom1of8,
                                 cmd::kHelpEllipse,
                                 cmd::kDirectionalGradationCommit,
                                 cmd::kUndoFrameOnly};

// Commands whose processing marks the next command choice clears. The bare numbers
// are phases of the continuous paste, which has no named commands yet.
constexpr std::array kMarking = {cmd::kCurveEdit,
                                 cmd::kFillInFrame,
                                 cmd::kFillNonDrawAreaInFrame,
                                 cmd::kDeletePen,
                                 cmd::kSelectArea,
                                 cmd::kDeselectArea,
                                 cmd::kFillBitmapInFrame,
                                 cmd::kNormalPen,
                                 cmd::kEllipseEdit,
                                 cmd::kColourChangePen,
                                 cmd::kFillSelection,
                                 cmd::kFillOneColour,
                                 cmd::kGradationPen,
                                 cmd::kSetGradationPen,
                                 cmd::kSetNormalPen,
                                 cmd::kSetDeletePen,
                                 cmd::kSetColourChangePen,
                                 cmd::kSetMosaicPen,
                                 cmd::kMosaicPen,
                                 cmd::kColourChangeCurveEdit,
                                 cmd::kSetFrameGradationPen,
                                 cmd::kFrameGradationPen,
                                 cmd::kXorFillSelection,
                                 cmd::kFillOneColourSelection,
                                 cmd::kTransparentCurveEdit,
                                 cmd::kSetTransparentDeletePen,
                                 cmd::kTransparentDeletePen,
                                 cmd::kSelectPen,
                                 cmd::kSetSelectPen,
                                 cmd::kSetDeselectPen,
                                 cmd::kDeselectPen,
                                 cmd::kFadeShadowEdit,
                                 cmd::kFadeGlossEdit,
                                 cmd::kFadeGentleEdit,
                                 cmd::kSetProcessingSquare,
                                 cmd::kSquareFatten,
                                 cmd::kReverseArea,
                                 cmd::kCopyToMemoryEdit,
                                 40210,
                                 cmd::kSetPointSpacing,
                                 cmd::kSetReductionRatio,
                                 cmd::kDirectionalGradationEdit,
                                 cmd::kDirectionalGradationCommitEdit,
                                 cmd::kSmoothingCurve,
                                 40239,
                                 40242,
                                 40245,
                                 40256,
                                 40263,
                                 40267};

template <size_t N>
bool In(const std::array<int, N>& list, int id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

}  // namespace

void NoteCommand(AppState& state, int previous, int id) {
  if (In(kNeutral, id)) return;
  if (id == previous && (id == cmd::kFillSelection || id == cmd::kXorFillSelection ||
                         id == cmd::kFillOneColourSelection))
    return;
  if (In(kMarking, previous)) ClearProcessingMarks(state.canvas, state.markedRectangle);
  state.markedRectangle = PixelRect{};
}

void ClearProcessingMarks(Canvas& canvas, const PixelRect& marked) {
  if (!canvas.HasPicture() || marked.Empty()) return;
  const int left = std::max(marked.left, 0), right = std::min(marked.right, canvas.Width() - 1);
  const int top = std::max(marked.top, 0), bottom = std::min(marked.bottom, canvas.Height() - 1);
  for (int y = top; y <= bottom; ++y) {
    uint32_t* row = canvas.display.Row32(y);
    for (int x = left; x <= right; ++x) row[x] &= ~kProcessingMarks;
  }
}

}  // namespace lumavex
