#pragma once
// The program as the drawing operations see it.

#include "lumavex/canvas/DrawingContext.h"

namespace lumavex {

class AppState;

class ShellDrawing : public DrawingContext {
 public:
  explicit ShellDrawing(AppState& state) : state_(state) {}

  Canvas& Picture() override;
  const DrawingSettings& Settings() const override;
  uint32_t HeadColour() const override;
  uint32_t TerminationColour() const override;
  JournalSink* Journal() override;
  void OpenUndoStep() override;
  PixelRect& MarkedRectangle() override;
  void SetStatusText(const std::string& text) override;
  void PlayFeedbackSound(const std::string& fileName) override;
  void RedrawPicture(const PixelRect& changed) override;
  [[noreturn]] void FatalError() override;
  [[noreturn]] void OutOfMemory(const std::string& text) override;

 private:
  AppState& state_;
};

}  // namespace lumavex
