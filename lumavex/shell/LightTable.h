#pragma once
// The light table: the pictures before and after the edited one in the folder picture
// list, shown tinted under it in the view (earlier ones red, later ones blue). They are
// read into planes of their own and folded into one plane of light factors that the
// screen buffer multiplies into the composed view; the canvas, the tools, the journal
// and the files never see them. The options live in memory only.

#include <string>
#include <vector>

#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/shell/QuietPictureRead.h"

namespace lumavex {

class AppState;

struct LightTableOptions {
  bool on = false;
  int picturesEachSide = 1;  // 1 or 2
  int opacity = 128;         // 0 … 255, of the nearest neighbours; the second ones get half
};

constexpr int kMaxNeighboursEachSide = 2;

// The light factor word (red, green, blue in bits 16-23, 8-15, 0-7) that neighbour
// pixel `pixel` gives at opacity `opacity`: with lightness L = (R + G + B) / 3 rounded
// down, the tint is (255, L, L) for an earlier picture and (L, L, 255) for a later one,
// and each channel's factor is 255 − round255(opacity × (255 − tint)).
uint32_t NeighbourFactor(uint32_t pixel, bool earlier, int opacity);

// Two factor words multiplied channel by channel with round255.
uint32_t CombineFactors(uint32_t a, uint32_t b);

// One picture beside the edited one.
struct Neighbour {
  int offset = 0;        // −2, −1, 1, 2: its place from the edited picture
  std::string name;      // its name in the folder list
  std::string path;      // the file it was read from
  std::optional<FileStamp> stamp;
  PixelPlane display;    // empty when it failed to read
};

class LightTable {
 public:
  LightTableOptions options;

  // Brings the neighbours up to date with the folder list and the files on disk
  // (reading the new and the changed ones, dropping those no longer beside the edited
  // picture) and returns the light factors for the current canvas, or null when
  // nothing is to be shown under it. A neighbour that fails is left out and its
  // failure shown as a status text.
  const PixelPlane* Refresh(AppState& state);
  // The light factors as the last refresh left them, without looking at the files.
  const PixelPlane* Factors(const AppState& state) const;

  const std::vector<Neighbour>& Neighbours() const { return neighbours_; }
  // Lets the neighbours and the factors go.
  void Release();

 private:
  void Rebuild(AppState& state);

  std::vector<Neighbour> neighbours_;
  PixelPlane factors_;
  bool factorsShown_ = false;
  // What the factors were built from: the canvas size, the opacity, the side count.
  int builtWidth_ = 0, builtHeight_ = 0, builtOpacity_ = -1, builtSides_ = 0;
};

// "ライトテーブル" (K): shows or hides the neighbours and checks the menu item.
void ToggleLightTable(AppState& state);
// "ライトテーブル設定": the dialog of the side count and the opacity, then a redraw.
void LightTableSettingsCommand(AppState& state);
// The light table's dialog over `options`.
platform::DialogModel MakeLightTableDialog(LightTableOptions& options);

}  // namespace lumavex
