#include "platform/MemoryStatus.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

namespace platform {

namespace {

struct MeminfoFields {
  uint64_t memTotal = 0, memAvailable = 0, swapTotal = 0, swapFree = 0;

  MemoryStatus Status() const {
    MemoryStatus s;
    s.totalPhysical = memTotal * 1024;
    s.availablePhysical = memAvailable * 1024;
    s.totalPageFile = (memTotal + swapTotal) * 1024;
    s.availablePageFile = (memAvailable + swapFree) * 1024;
    return s;
  }
  // The field a key (colon included) names; null for the keys not kept.
  uint64_t* Field(std::string_view key) {
    if (key == "MemTotal:") return &memTotal;
    if (key == "MemAvailable:") return &memAvailable;
    if (key == "SwapTotal:") return &swapTotal;
    if (key == "SwapFree:") return &swapFree;
    return nullptr;
  }
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

// Each line is a key, blanks and a decimal value; a later line of the same key wins,
// as in the token reader. A line whose value is not a number ends the scan.
MemoryStatus ParseMeminfo(std::string_view text) {
  MeminfoFields fields;
  size_t at = 0;
  while (true) {
    while (at < text.size() && IsSpace(text[at])) ++at;
    const size_t keyStart = at;
    while (at < text.size() && !IsSpace(text[at])) ++at;
    if (at == keyStart) break;
    const std::string_view key = text.substr(keyStart, at - keyStart);
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at == text.size() || text[at] < '0' || text[at] > '9') break;
    uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
      value = value * 10 + static_cast<uint64_t>(text[at] - '0');
    if (uint64_t* field = fields.Field(key)) *field = value;
    const size_t lineEnd = text.find('\n', at);
    if (lineEnd == std::string_view::npos) break;
    at = lineEnd + 1;
  }
  return fields.Status();
}

MemoryStatus ParseMeminfoPlain(const std::string& text) {
  MeminfoFields fields;
  std::istringstream lines(text);
  std::string key;
  uint64_t kb = 0;
  std::string unit;
  while (lines >> key >> kb) {
    std::getline(lines, unit);
    if (uint64_t* field = fields.Field(key)) *field = kb;
  }
  return fields.Status();
}

MemoryStatus ReadMemoryStatus() {
  const int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  // The file is about 1.5 kB, and the four fields are among its first twenty lines.
  char buffer[8192];
  size_t used = 0;
  while (used < sizeof buffer) {
    const ssize_t got = ::read(fd, buffer + used, sizeof buffer - used);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    used += static_cast<size_t>(got);
  }
  ::close(fd);
  return ParseMeminfo({buffer, used});
}

}  // namespace platform
