#include "lumavex/shell/Drawing.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {

Canvas& ShellDrawing::Picture() {
  return state_.canvas;
}
const DrawingSettings& ShellDrawing::Settings() const {
  return state_.settings;
}
uint32_t ShellDrawing::HeadColour() const {
  return state_.headColour & 0x00FFFFFFu;
}
uint32_t ShellDrawing::TerminationColour() const {
  return state_.terminationColour & 0x00FFFFFFu;
}
JournalSink* ShellDrawing::Journal() {
  return &state_.undoJournal;
}
void ShellDrawing::OpenUndoStep() {
  state_.undoJournal.OpenStep(state_.canvas);
}
PixelRect& ShellDrawing::MarkedRectangle() {
  return state_.markedRectangle;
}
void ShellDrawing::SetStatusText(const std::string& text) {
  lumavex::SetStatusText(state_, text);
}
void ShellDrawing::PlayFeedbackSound(const std::string& fileName) {
  state_.sound.PlayFeedbackSound(fileName);
}
void ShellDrawing::RedrawPicture(const PixelRect& changed) {
  RedrawCanvasRect(state_, changed.left, changed.top, changed.right, changed.bottom);
}
void ShellDrawing::FatalError() {
  platform::Fatal(state_.host, "エラー", "エラー", -1);
}
void ShellDrawing::OutOfMemory(const std::string& text) {
  platform::Fatal(state_.host, text, "エラー", 0);
}

}  // namespace lumavex
