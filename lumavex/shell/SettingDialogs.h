#pragma once
// The parameter dialogs through which the user changes the drawing settings, and the
// setting commands that run them.

#include <optional>

#include "lumavex/canvas/DrawingSettings.h"
#include "platform/DialogModel.h"

namespace lumavex {

class AppState;

// The dialog identifiers of the setting dialogs.
namespace dialog {
constexpr int kSplinePoints = 106;
constexpr int kFrameWidth = 107;
constexpr int kMaxOpacity = 108;
constexpr int kHeadFade = 109;
constexpr int kTerminationFade = 110;
constexpr int kGradationPen = 113;
constexpr int kNormalPen = 114;
constexpr int kDeletePen = 115;
constexpr int kColourChangePen = 116;
constexpr int kMosaicPen = 118;
constexpr int kFrameGradationPen = 119;
constexpr int kAntiAliasWidth = 120;
constexpr int kBorderOpacity = 121;
constexpr int kRgbTolerance = 122;
constexpr int kTransparentDeletePen = 123;
constexpr int kSelectPen = 127;
constexpr int kDeselectPen = 128;
constexpr int kLoadSizeLimit = 134;
constexpr int kProcessingSquare = 135;
constexpr int kSquareFatten = 137;
constexpr int kPointSpacing = 140;
constexpr int kReductionRatio = 141;
constexpr int kPasteTopLeft = 142;
constexpr int kTabletCurve = 149;
constexpr int kFileNumberStep = 155;
}  // namespace dialog

// The check box of the colour-change pen dialog.
constexpr int kDeleteFrameCheck = 1006;
// The eight buttons of the file number step dialog, "+10" first and "+0" last.
constexpr int kFirstStepButton = 1000;
constexpr int kFileNumberSteps[] = {10, 20, 30, 40, 50, 100, 1000, 0};

// The pressure range a tablet reports (its maximum pressure + 2); without a tablet
// there is no range, and the minimum pressure shows and stores as 0.
constexpr int kNoTabletPressureRange = 0;

// The dialog `dialogId` over `settings`: opens with their current values, and OK
// stores what passes. Nothing when `dialogId` is no setting dialog of this file
// (the string paste dialog has lists and is built with its tool).
std::optional<platform::DialogModel> MakeSettingDialog(
    int dialogId, DrawingSettings& settings, int tabletPressureRange = kNoTabletPressureRange);

// The paste top-left dialog: shows `x`, `y` 1-based and stores the typed values 0-based.
platform::DialogModel MakePasteTopLeftDialog(int& x, int& y);

// The minimum pen pressure as the percent the tablet dialog shows, and back, each
// rounded by adding 0.5 and truncating.
int PressurePercentShown(int rawPressure, int tabletPressureRange);
int RawPressureOfPercent(int percent, int tabletPressureRange);

// Runs the setting command `commandId` (a parameter dialog, then the pen mode of a
// set-pen command, or the square fatten's mode). False when `commandId` is not a
// setting command; nothing happens then.
bool RunSettingCommand(AppState& state, int commandId,
                       int tabletPressureRange = kNoTabletPressureRange);

// Runs setting dialog `dialogId` over the program's settings without a status text;
// true when it ended with OK. For the tools that ask a setting before they start
// (the one-colour fills, the load under the size limit, the paste from files).
bool AskSetting(AppState& state, int dialogId,
                int tabletPressureRange = kNoTabletPressureRange);

}  // namespace lumavex
