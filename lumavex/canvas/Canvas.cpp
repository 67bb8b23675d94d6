#include "lumavex/canvas/Canvas.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

void Canvas::Release() {
  display.Release();
  frame.Release();
  work.Release();
}

namespace {

// One row of the land checker for rows whose cell parity is `rowParity`.
std::vector<uint32_t> LandRow(int width, int rowParity) {
  std::vector<uint32_t> row(width);
  for (int x = 0; x < width; ++x) row[x] = ((x >> 3) & 1) == rowParity ? kLandEven : kLandOdd;
  return row;
}

}  // namespace

bool CreateBlankPicture(Canvas& canvas, platform::Allocator& allocator, int width, int height,
                        platform::Progress& progress) {
  canvas.Release();
  if (!canvas.display.Create(allocator, width, height, 4) ||
      !canvas.frame.Create(allocator, width, height, 4) ||
      !canvas.work.Create(allocator, width, height, 4)) {
    canvas.Release();
    return false;
  }

  // The work layer is cleared in one piece; the two coloured layers row by row,
  // each layer on its own, so that the stores stream through one block at a time.
  std::memset(canvas.work.Data(), 0, canvas.work.SizeBytes());
  const std::vector<uint32_t> landRows[2] = {LandRow(width, 0), LandRow(width, 1)};
  const size_t rowBytes = canvas.display.RowBytes();
  progress.ProgressStart(static_cast<uint64_t>(height) * 2);
  for (int y = 0; y < height; ++y) {
    uint32_t* display = canvas.display.Row32(y);
    std::fill(display, display + width, kNewDisplayPixel);
    progress.ProgressStep();
  }
  for (int y = 0; y < height; ++y) {
    std::memcpy(canvas.frame.Row(y), landRows[(y >> 3) & 1].data(), rowBytes);
    progress.ProgressStep();
  }
  progress.ProgressEnd();

  canvas.pictureHeader = MakePictureHeader(width, height);
  canvas.fileHeader = MakeFileHeader(width, height);
  return true;
}

void ClearWorkLayer(Canvas& canvas) {
  if (canvas.work.Empty()) return;
  std::memset(canvas.work.Data(), 0, canvas.work.SizeBytes());
}

uint64_t PictureAreaLimit(const platform::MemoryStatus& memory) {
  return memory.totalPhysical * 7 / 160;
}

bool ConfirmPictureArea(platform::UiHost& host, const platform::MemoryStatus& memory, int width,
                        int height) {
  const uint64_t limit = PictureAreaLimit(memory);
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= limit) return true;

  uint64_t side = static_cast<uint64_t>(std::sqrt(static_cast<double>(limit)));
  while (side * side > limit) --side;
  while ((side + 1) * (side + 1) <= limit) ++side;
  char text[512];
  std::snprintf(text, sizeof text,
                "面積が %d × %d ピクセル以下でなければなりません。\n"
                "仮想メモリスワップが起きて極端に実行スピードが遅くなる可能性があります。\n"
                "続行しますか？\n",
                static_cast<int>(side), static_cast<int>(side));
  return host.ShowMessage(text, "面積制限エラー", platform::MessageButtons::YesNo,
                          platform::MessageIcon::Question) == platform::MessageResult::Yes;
}

}  // namespace lumavex
