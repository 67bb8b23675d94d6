#include "lumavex/shell/CommandRegistry.h"

#include "lumavex/paint/Selection.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandChoice.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/End.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/HelpTopics.h"
#include "lumavex/shell/LoadPolicy.h"
#include "lumavex/shell/MemoryCommands.h"
#include "lumavex/shell/NewPicture.h"
#include "lumavex/shell/ReducedSave.h"
#include "lumavex/shell/SaveCommands.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/SettingsFile.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Tools.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/Zoom.h"

namespace lumavex {
namespace {

// Arms the drop routing for a run over dropped files.
void ArmDropMode(AppState& state, int id, const char* status) {
  state.currentCommand = id;
  state.modeStatusText = status;
  SetStatusText(state, status);
}

}  // namespace

void SendCommand(AppState& state, int id) {
  constexpr size_t kHistory = 64;
  state.recentCommands.push_back(id);
  if (state.recentCommands.size() > kHistory) state.recentCommands.pop_front();
  NoteCommand(state, state.currentCommand, id);
  if (ShowHelpTopic(state.host, id)) return;
  if (RunSettingCommand(state, id)) return;
  if (const auto zoom = ZoomCodeOfCommand(id)) {
    SetZoom(state, *zoom, true);
    return;
  }
  switch (id) {
    case cmd::kCurve:
    case cmd::kTransparentCurve:
    case cmd::kColourChangeCurve:
      EnterCurveTool(state, id);
      break;
    case cmd::kCurveCommit:
    case cmd::kCurveCommitLines:
    case cmd::kTransparentCurveCommit:
    case cmd::kTransparentCurveCommitLines:
    case cmd::kColourChangeCurveCommit:
    case cmd::kColourChangeCurveCommitLines:
      CommitCurve(state, id);
      break;
    case cmd::kEllipse:
    case cmd::kSaveRectangle:
      EnterRectangleTool(state, id);
      break;
    case cmd::kEllipseDraw:
      DrawEllipseCommand(state);
      break;
    case cmd::kMoveAllBasePoints:
      MoveAllBasePointsIntoPicture(state);
      break;
    case cmd::kLoadSameSize:
    case cmd::kLoadPolicy2:
    case cmd::kLoadPolicy3:
    case cmd::kLoadPolicy4:
      ChooseLoadPolicy(state, id);
      break;
    case cmd::kSaveReducedBmp:
      SaveReducedBmpCommand(state);
      break;
    case cmd::kSelectAll:
      if (state.canvas.HasPicture()) {
        SelectAll(state.canvas);
        Redraw(state);
      }
      break;
    case cmd::kSaveReducedBmpByDrop:
      ArmDropMode(state, id, "★連続縮小ＢＭＰセーブ");
      break;
    case cmd::kNewPicture:
      NewPictureCommand(state);
      break;
    case cmd::kCreateBlankPicture:
      CreateBlankPictureCommand(state);
      break;
    case cmd::kCleanMemory:
      CleanMemoryCommand(state);
      break;
    case cmd::kFreeMemory:
      FreeMemoryCommand(state);
      break;
    case cmd::kMinimise:
      state.host.Minimise();
      break;
    case cmd::kEnd:
      EndCommand(state);
      break;
    case cmd::kLoad:
      LoadCommand(state);
      break;
    case cmd::kLoadCurrentFile:
      LoadCurrentFile(state);
      break;
    case cmd::kReadDrawingSettings:
      ReadDrawingSettingsCommand(state, state.files.drawingSettingsFileName);
      break;
    case cmd::kSaveNative:
      SaveNativeCommand(state);
      break;
    case cmd::kSaveBmp:
    case cmd::kSaveGrey256:
    case cmd::kSaveGrey16:
    case cmd::kSaveGrey4:
    case cmd::kSaveGrey2:
      SaveBmpCommand(state, id);
      break;
    case cmd::kSavePng:
    case cmd::kSavePngGrey:
      SavePngCommand(state, id);
      break;
    case cmd::kSaveDrawingSettings:
      SaveDrawingSettingsCommand(state);
      break;
    case cmd::kRectangleSave:
      SaveRectangleCommand(state);
      break;
    case cmd::kUndo:
      UndoCommand(state, UndoMode::Full);
      break;
    case cmd::kUndoFrameOnly:
      UndoCommand(state, UndoMode::FrameOnly);
      break;
    case cmd::kRedo:
      RedoCommand(state);
      break;
    case cmd::kBitmapView:
      SetViewKind(state, ViewKind::Bitmap);
      break;
    case cmd::kFrameView:
      SetViewKind(state, ViewKind::Frame);
      break;
    case cmd::kSightOn:
      ShowSight(state, true);
      break;
    case cmd::kSightOff:
      ShowSight(state, false);
      break;
    case cmd::kXyOn:
      ShowXyText(state, true);
      break;
    case cmd::kXyOff:
      ShowXyText(state, false);
      break;
    default:
      break;  // commands of tools this build does not have yet
  }
}

}  // namespace lumavex
