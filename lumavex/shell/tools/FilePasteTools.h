#pragma once
// The paste position modes of the pictures pasted whole: the picture from a file
// (40233, entered by 40201) and the string picture (40191, entered by 40188). The
// picture is shown inside its four corner points, which the left button picks and
// drags; Shift+Ctrl left click pastes, Shift+Ctrl right click leaves the mode.

#include <string>

#include "lumavex/paint/PictureFilePaste.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class FilePasteTools final : public Tool {
 public:
  // Enters paste position mode `id` with the held picture at its last position.
  void Enter(AppState& state, int id) override;
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void RightPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  // Shows the picture inside its corners, and the corners and the edges inverted.
  void InvertPreview(AppState& state) override;
  std::string StatusText(int mode) const override;

  // The picture the paste commands hold; the file paste and the string paste share it.
  PastePicture& Picture() { return picture_; }
  const PasteCorners& Corners() const { return corners_; }

  // The open dialog of the file pastes: loads the chosen picture unless it is the one
  // already held. False when the user cancelled or the load failed.
  bool ChoosePicture(AppState& state, const std::string& title);

  // Dialog 142 from the last paste position, then paste position mode `mode` with
  // the picture laid there. False when the dialog was cancelled.
  bool AskPosition(AppState& state, int mode);

 private:
  // Pastes the picture into its corners in an undo step of its own.
  void Paste(AppState& state);

  PastePicture picture_;
  PasteCorners corners_{};
  int picked_ = -1;  // the corner the left button drags
  // The last paste position, 0-based; dialog 142 starts from it.
  int lastLeft_ = 0;
  int lastTop_ = 0;
};

// 40201 "ファイルから単純ペースト": 100 % zoom, the picture file, the top-left dialog,
// then the paste position mode 40233.
void PasteFromFileCommand(AppState& state, int id);

// 40188 "文字列貼り付け" (Shift+F): dialog 136, the string picture in the head colour,
// the top-left dialog, then the paste position mode 40191. A character the font
// lacks shows "▼フォントデータに無いサイズの文字があります。" and pastes nothing.
void PasteStringCommand(AppState& state, int id);

// The handler of the paste position modes 40233 and 40191, sent once the picture is
// held and placed: the tool enters the mode.
void EnterPastePosition(AppState& state, int id);

// Leaves a paste or drop mode: no current command, no status text.
void LeavePasteMode(AppState& state);

}  // namespace lumavex
