#include "lumavex/shell/Zoom.h"

#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

struct ZoomRow {
  int code;
  int command;
  int up, shiftUp, down, shiftDown;
};

constexpr ZoomRow kZoomTable[] = {
    {3200, cmd::kZoom1of32, 1600, 800, 3200, 3200},
    {1600, cmd::kZoom1of16, 800, 800, 3200, 3200},
    {800, cmd::kZoom1of8, 400, 1, 1600, 3200},
    {400, cmd::kZoom1of4, 200, 1, 800, 800},
    {200, cmd::kZoom1of2, 1, 1, 400, 800},
    {1, cmd::kZoom100, 2, 6, 200, 800},
    {2, cmd::kZoom200, 3, 6, 1, 1},
    {3, cmd::kZoom300, 4, 6, 2, 1},
    {4, cmd::kZoom400, 6, 6, 3, 1},
    {6, cmd::kZoom600, 8, 20, 4, 1},
    {8, cmd::kZoom800, 10, 20, 6, 6},
    {10, cmd::kZoom1000, 15, 20, 8, 6},
    {15, cmd::kZoom1500, 20, 20, 10, 6},
    {20, cmd::kZoom2000, 20, 20, 15, 6},
};

const ZoomRow* Row(int code) {
  for (const auto& row : kZoomTable)
    if (row.code == code) return &row;
  return nullptr;
}

}  // namespace

bool IsZoomCode(int code) { return Row(code) != nullptr; }

int ZoomCommand(int code) {
  const ZoomRow* row = Row(code);
  return row ? row->command : 0;
}

std::optional<int> ZoomCodeOfCommand(int command) {
  for (const auto& row : kZoomTable)
    if (row.command == command) return row.code;
  return std::nullopt;
}

int ZoomStep(int code, bool up, bool shift) {
  const ZoomRow* row = Row(code);
  if (!row) return code;
  return up ? (shift ? row->shiftUp : row->up) : (shift ? row->shiftDown : row->down);
}

}  // namespace lumavex
