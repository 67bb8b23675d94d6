#include "lumavex/shell/NewPicture.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

IntegerField SideField(int controlId, const std::string& label, int start, int& out) {
  IntegerField f;
  f.controlId = controlId;
  f.label = label;
  f.startValue = start;
  f.lower = kMinPictureSide;
  f.upper = kMaxPictureSide;
  f.notNumberMessage = "数値を入力して下さい。";
  f.belowLowerMessage = "２以上の数値を入力して下さい。";
  f.aboveUpperMessage = "３００００以下の数値を入力して下さい。";
  f.store = [&out](int v) { out = v; };
  return f;
}

// "new.lmv" in the folder of `previous`.
std::string NewFileNameBeside(const std::string& previous) {
  const size_t slash = previous.find_last_of('/');
  return (slash == std::string::npos ? std::string("./") : previous.substr(0, slash + 1)) +
         "new.lmv";
}

}  // namespace

void NewPictureCommand(AppState& state) {
  SetStatusText(state, "★新規作成");
  int width = state.canvasWidth;
  int height = state.canvasHeight;
  ParameterDialogForm form;
  form.id = 111;
  form.title = "新規作成( New.)";
  form.fields = {SideField(kFirstField, "幅( 2 ～ 30000)", width, width),
                 SideField(kSecondField, "高さ( 2 ～ 30000)", height, height)};
  platform::DialogModel dialog = MakeParameterDialog(std::move(form));
  const bool ok = state.host.RunDialog(dialog) == dialog.okCode;
  if (!ok || !ConfirmPictureArea(state.host, state.allocator.Status(), width, height)) {
    RestoreModeStatusText(state);
    return;
  }
  state.canvasWidth = width;
  state.canvasHeight = height;
  state.currentFileName = NewFileNameBeside(state.currentFileName);
  SendCreateBlankPicture(state);
}

void SendCreateBlankPicture(AppState& state) {
  SendCommand(state, cmd::kCreateBlankPicture);
}

void CreateBlankPictureCommand(AppState& state) {
  SetStatusText(state, "★新規作成中...");
  if (!CreateBlankPicture(state.canvas, state.allocator, state.canvasWidth, state.canvasHeight,
                          state.progress))
    OutOfMemory(state);
  state.chains.ClearAll();
  EnablePictureCommands(state.menu, true);
  EnableContinuousPasteCommands(state);
  ResetUndoJournal(state);
  // The view of the new picture starts at its top-left corner.
  state.view.lastSquare.reset();
  state.view.vertical.position = 0;
  state.view.horizontal.position = 0;
  SetZoom(state, state.view.zoomCode, true);
}

}  // namespace lumavex
