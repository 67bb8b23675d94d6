#pragma once
// The flipbook: plays the pictures of the folder picture list in order in the view, at
// the current zoom and scroll position, on the ticks of the host's timer. Pictures are
// read ahead one tick early and kept composed at view size, so that a replay shows
// them without reading again. The edited picture is shown as it is in the canvas;
// nothing of the canvas, the view or the files changes. The options live in memory.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lumavex/shell/ScreenBuffer.h"
#include "platform/DialogModel.h"

namespace lumavex {

class AppState;

struct FlipbookOptions {
  int picturesPerSecond = 12;  // 6, 12 or 24
  int first = 1;               // the first picture's place in the folder list, from 1
  int last = 0;                // the last one's place; 0 for the end of the list
  bool loop = false;
};

// The composed pictures kept during one play are at most this many bytes.
constexpr uint64_t kFlipbookKeptBytes = 512ull << 20;

class Flipbook {
 public:
  FlipbookOptions options;

  bool Playing() const { return playing_; }
  // The place in the play of the picture shown (0 for the first of the range).
  size_t Shown() const { return shown_; }
  size_t Count() const { return names_.size(); }
  // The folder-list names of the pictures played, in order.
  const std::vector<std::string>& Names() const { return names_; }

 private:
  friend void PlayFlipbook(AppState&);
  friend void FlipbookTick(AppState&);
  friend void StopFlipbook(AppState&);
  friend void ShowFlipbookPicture(AppState&);
  friend bool PrepareFlipbookPicture(AppState&, size_t);

  struct Picture {
    bool prepared = false;
    bool failed = false;
    ScreenBuffer view;  // the picture composed at view size
  };

  bool playing_ = false;
  size_t shown_ = 0;
  std::vector<std::string> names_;
  std::vector<std::string> paths_;
  std::string statusBefore_;  // the status text shown when the play started
  std::optional<size_t> edited_;  // the place of the edited picture, shown from the canvas
  std::vector<Picture> pictures_;
  uint64_t keptBytes_ = 0;
  int viewWidth_ = 0, viewHeight_ = 0;
};

// "パラパラ再生" (J): starts playing the range of the folder list from its first picture.
void PlayFlipbook(AppState& state);
// One timer beat: the next picture, then the one after it read ahead. At the end of
// the range a loop starts again, otherwise the play stops.
void FlipbookTick(AppState& state);
// Stops the timer, lets the pictures go and shows the edited picture as it was.
void StopFlipbook(AppState& state);
// Shows the picture the play stands at again (an exposure while playing).
void ShowFlipbookPicture(AppState& state);
// Reads and composes picture `index` of the play unless it is kept; false when it
// could not be read.
bool PrepareFlipbookPicture(AppState& state, size_t index);

// "パラパラ再生設定": the rate, the range and the loop.
void FlipbookSettingsCommand(AppState& state);
platform::DialogModel MakeFlipbookDialog(FlipbookOptions& options);

}  // namespace lumavex
