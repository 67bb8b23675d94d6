#pragma once
// The machine's memory as the program sizes its work by it. The "page file" is the
// memory a program can commit: physical memory plus swap.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

struct MemoryStatus {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
};

using MemoryStatusSource = std::function<MemoryStatus()>;

// Reads /proc/meminfo.
MemoryStatus ReadMemoryStatus();

// Parses the text of /proc/meminfo (values in kB). Missing fields count as 0.
MemoryStatus ParseMeminfo(const std::string& text);

}  // namespace platform
