#pragma once
// The applied position of the undo journal, kept in a small file of its own beside
// the undo files ("UndoFilePosition.dat", so the undo files' pattern takes it to the
// trash with them). Recovery rebuilds the picture up to this position and leaves the
// steps after it to be redone. Without the file the whole journal is replayed.

#include <cstdint>
#include <optional>
#include <string>

namespace lumavex {

struct UndoPosition {
  int32_t file = 0;    // undo file number of the current step
  int32_t offset = 0;  // offset of the current step's header in that file
  bool noneApplied = false;  // every step undone: the current step is the first, not applied

  bool operator==(const UndoPosition&) const = default;
};

inline constexpr const char* kUndoPositionFileName = "UndoFilePosition.dat";

// Writes the position and waits until it is on the disk; false when it could not be
// written, in which case no position file is left (a stale one would stop recovery
// at the wrong step).
bool WriteUndoPosition(const std::string& path, const UndoPosition& position);
// The position in the file; empty when there is none or it is not 12 well-formed bytes.
std::optional<UndoPosition> ReadUndoPosition(const std::string& path);
void RemoveUndoPosition(const std::string& path);

}  // namespace lumavex
