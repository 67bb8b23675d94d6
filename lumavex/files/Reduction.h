#pragma once
// Area-weighted reduction of a picture in 11-bit fixed point (one target pixel is
// 2048 units), fed one source line at a time from the bottom up, so that a reduced
// load never holds the full-size picture: only two accumulator rows of the target
// are kept, whatever the picture height.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/files/LoadSize.h"

namespace lumavex {

// Source line `y` (counted from the top) as `width` words 0x..RRGGBB; the top byte
// is ignored. Asked for y = height − 1 down to 0, each once. Null stops the
// reduction (a read failure). The pointer need only stay valid until the next call.
using ReductionRowSource = std::function<const uint32_t*(int y)>;

// The fixed-point position (2048 units a target pixel) of source column or line
// `index` on a target side: max(0, index × 2048 × (target − 1) / (source − 2) − 1).
// The last source column and line are not used. Needs a source side of 3 or more.
uint32_t ReductionPosition(int index, int sourceSide, int targetSide);

class Reduction {
 public:
  // Prepares the reduction of a `sourceWidth` × `sourceHeight` picture into
  // `target`, which already holds the target size (at least 2 × 2, not larger than
  // the source on either side) at 4 bytes a pixel. Every target pixel is written
  // as (R << 16) | (G << 8) | B | draw-area flag. False when the sizes do not fit.
  //
  // A source narrower or lower than 3 pixels is not resampled (the mapping would
  // divide by zero): each target pixel then copies source pixel
  // (X × w / W, Y × h / H), which for equal sizes is a plain copy.
  bool Start(int sourceWidth, int sourceHeight, PixelPlane& target);

  // The next source line, bottom line first.
  void AddLine(const uint32_t* line);

  // Writes the target rows still held; call once after the last line.
  void Finish();

 private:
  void AddResampledLine(const uint32_t* line, int y);
  void AddNearestLine(const uint32_t* line, int y);
  void FinishRow(int row, const uint32_t* sums);
  void FinishWideRow(int row, const uint64_t* sums);
  void AdvanceTo(int lowestTouched);

  PixelPlane* target_ = nullptr;
  int w_ = 0, h_ = 0, targetW_ = 0, targetH_ = 0;
  int nextY_ = 0;           // the source line AddLine expects
  int lowestUnfinished_ = 0;
  bool nearest_ = false;
  bool wide_ = false;       // 64-bit sums: the ratio could overflow 32-bit ones
  bool vector_ = false;     // the AVX2 loop is used
  std::vector<uint32_t> column_;     // target column c of each source column
  std::vector<uint32_t> fraction_;   // fx of each source column
  std::vector<uint32_t> columnWeights_;  // per source column: 2048 − fx (×4), fx (×4)
  // Per target pixel: blue, green, red sums and the weight sum, for the rows
  // touched by the current line (upper = row r, lower = row r + 1).
  std::vector<uint32_t> upper_, lower_;
  std::vector<uint64_t> upperWide_, lowerWide_;
};

// Reduces a `sourceWidth` × `sourceHeight` picture read through `source` into
// `target` (see Reduction::Start). False when the sizes do not fit or the source
// stopped.
bool ReducePicture(const ReductionRowSource& source, int sourceWidth, int sourceHeight,
                   PixelPlane& target);

// The size of a reduced BMP save, or why there is none.
struct ReducedSaveSize {
  bool ok = false;
  PictureSize size;
  const char* message = nullptr;  // shown with kReducedSaveErrorCaption when !ok
};

inline constexpr char kReducedSaveErrorCaption[] = "エラー";
inline constexpr char kWidthNotDivisible[] = "★縮小率で幅が割り切れません";
inline constexpr char kHeightNotDivisible[] = "★縮小率で高さが割り切れません";

// W = w × numerator / denominator and likewise H, each of which must divide
// exactly (the width is checked first); both sides are then at least 2.
ReducedSaveSize ReducedSaveTarget(PictureSize picture, int numerator, int denominator);

// The continuous reduced save takes native files only.
inline constexpr char kNotAllNativeFiles[] = "*.lmv ファイル以外が含まれています。";
inline constexpr char kNotAllNativeFilesCaption[] = "エラー";

// True when every name ends in ".lmv" (the case of the extension is ignored).
bool AllNativeFileNames(const std::vector<std::string>& names);

}  // namespace lumavex
