#pragma once
// The continuous paste from memory: the pictures of a movie held in memory as a paste
// file group, the paste curves set at base point groups 1 to 3 on key pictures, and
// the spans between them pasted into every picture with the curves moving along
// their path. The paste tools position the curves in the group and span modes.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/paint/ContinuousPaste.h"
#include "lumavex/paint/MemorySurface.h"

namespace lumavex {

class AppState;

// The movie's pictures in memory and the positions set on them.
struct PasteFileGroup {
  // File k's display and frame layers (no work layer) and its name as the program
  // keeps names; both in file order.
  std::vector<Canvas> pictures;
  std::vector<std::string> names;

  // The positions of base point groups 1 to 3; group 4 is group 1.
  std::array<std::optional<PasteCurves>, 3> positions;
  int k2 = -1;  // the files of groups 2 and 3; −1 until chosen
  int k3 = -1;
  bool loop = false;
  // A span that has run is greyed until one of its groups is set again.
  std::array<bool, 3> spanDone{};

  // The names of a group being created, until its initialisation picture is dropped.
  std::vector<std::string> pendingNames;

  // While a group or span is being set the canvas shows file `shownFile` and the
  // user's own picture waits here with its view; −1 when the canvas is the user's.
  int shownFile = -1;
  Canvas savedCanvas;
  bool workBorrowed = false;  // the shown file uses the saved picture's work layer
  int savedZoom = 1;
  int savedX = 0;
  int savedY = 0;
  // The middle position a span's Shift+Ctrl right click returns to.
  PasteCurves midpoint;

  bool Held() const { return !pictures.empty(); }
  int Count() const { return static_cast<int>(pictures.size()); }
};

// Messages of the checks (most with the title "エラー" or "指定エラー").
inline constexpr char kNoPasteFileGroup[] =
    "[メモリから連続貼り付け対象ファイル郡作成] コマンドを先に実行して下さい。";
inline constexpr char kNoMemorySurface[] = "[曲面をメモリへコピー] コマンドを先に実行して下さい。";
inline constexpr char kNotBetweenGroups[] =
    "貼り付け用ファイル名は前ファイル名と次ファイル名の間でなければなりません。";
inline constexpr char kNoFileChosen[] = "貼り付け用ファイル名を選択して下さい。";
inline constexpr char kLastFileInLoop[] = "貼り付け用ファイル名３は終端であってはなりません。";
inline constexpr char kTooFewFiles[] = "３つ以上の *.lmv ファイルをドロップして下さい。";
inline constexpr char kNotNativeFile[] = "*.lmv ファイルではありません。";

// The names of a group of `count` files from `head` ("walk0001" or "walk0001.lmv"):
// the head's four last digits counted on, "%04d.lmv". Nothing when the head does not
// end in four digits or the numbers would need a fifth digit.
std::optional<std::vector<std::string>> PasteGroupNames(const std::string& head, int count);

// The files in the order they form a group: by the four digits before the extension,
// ties by name. Names without four digits sort first.
std::vector<std::string> InPasteGroupOrder(std::vector<std::string> paths);

// The memory a group of `count` pictures of `width` × `height` takes.
uint64_t PasteGroupBytes(int count, int width, int height);

// 40236: the dialog (head file name, number of files), then the drop of the
// initialisation picture.
void CreatePasteFilesCommand(AppState& state, int id);
// 40237: asks for the files of the group to be dropped.
void LoadPasteFilesCommand(AppState& state, int id);
// The drops of those two modes; the group is replaced only when every check and
// every load has passed. Returns whether a group was made.
bool CreatePasteFilesFromDrop(AppState& state, const std::vector<std::string>& paths);
bool LoadPasteFilesFromDrop(AppState& state, const std::vector<std::string>& paths);
// 40253: writes every picture of the group through the save pipeline; stops at the
// first failure. Returns the number of files written.
int SavePasteFilesCommand(AppState& state);

// 40238, 40241, 40244: shows the group's file and lets the paste tools position the
// curves there; 40247: the loop movie check.
void SetPasteGroupCommand(AppState& state, int id);
void LoopMovieCommand(AppState& state, int id);
// 40250, 40251, 40252: the middle step of the span, from the midpoint.
void PasteSpanCommand(AppState& state, int id);
// Shift+Ctrl left click in a span's middle step: pastes every picture of the span.
void RunPasteSpan(AppState& state);

// True in the modes that position a group (40238, 40241, 40244) or a span's middle.
bool IsPasteGroupMode(int mode);
bool IsPasteSpanMode(int mode);
// Run before every command: leaving a group mode stores its position; leaving a group
// or span mode shows the user's picture again. Neutral commands (zoom, help) leave
// it alone.
void LeavePasteGroupView(AppState& state, int nextCommand);

// Where a Shift+Ctrl right click returns the live curves to in the current mode.
const PasteCurves& PasteResetPosition(const AppState& state);

// A new copy: the group positions belong to the old surface and are forgotten.
void ForgetPasteGroupPositions(AppState& state);
// Greys or enables the group commands by their prerequisites.
void EnableContinuousPasteCommands(AppState& state);

}  // namespace lumavex
