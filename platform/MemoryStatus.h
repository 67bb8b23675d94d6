#pragma once
// The machine's memory as the program sizes its work by it. The "page file" is the
// memory a program can commit: physical memory plus swap.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

struct MemoryStatus {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
};

using MemoryStatusSource = std::function<MemoryStatus()>;

// Reads /proc/meminfo. Cheap enough to ask before every block a journal or a save
// writes: one read of the file into a buffer on the stack, scanned once.
MemoryStatus ReadMemoryStatus();

// Parses the text of /proc/meminfo (lines "Key: value kB"). Missing fields count
// as 0.
MemoryStatus ParseMeminfo(std::string_view text);

// The same through a string stream, token by token, for comparing against the
// scanner above.
MemoryStatus ParseMeminfoPlain(const std::string& text);

}  // namespace platform
