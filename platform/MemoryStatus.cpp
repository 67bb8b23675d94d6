#include "platform/MemoryStatus.h"

#include <cstdio>
#include <sstream>

namespace platform {

MemoryStatus ParseMeminfo(const std::string& text) {
  uint64_t memTotal = 0, memAvailable = 0, swapTotal = 0, swapFree = 0;
  std::istringstream lines(text);
  std::string key;
  uint64_t kb = 0;
  std::string unit;
  while (lines >> key >> kb) {
    std::getline(lines, unit);
    if (key == "MemTotal:") memTotal = kb;
    else if (key == "MemAvailable:") memAvailable = kb;
    else if (key == "SwapTotal:") swapTotal = kb;
    else if (key == "SwapFree:") swapFree = kb;
  }
  MemoryStatus s;
  s.totalPhysical = memTotal * 1024;
  s.availablePhysical = memAvailable * 1024;
  s.totalPageFile = (memTotal + swapTotal) * 1024;
  s.availablePageFile = (memAvailable + swapFree) * 1024;
  return s;
}

MemoryStatus ReadMemoryStatus() {
  std::FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return {};
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return ParseMeminfo(text);
}

}  // namespace platform
