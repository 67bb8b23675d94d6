#include "lumavex/files/UndoPosition.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

#include "common/LittleEndian.h"

namespace lumavex {
namespace {

constexpr size_t kPositionBytes = 12;

}  // namespace

bool WriteUndoPosition(const std::string& path, const UndoPosition& position) {
  std::array<uint8_t, kPositionBytes> bytes{};
  common::LittleEndianWriter out(bytes);
  out.I32(position.file);
  out.I32(position.offset);
  out.I32(position.noneApplied ? 1 : 0);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  bool ok = fd >= 0 && ::pwrite(fd, bytes.data(), bytes.size(), 0) ==
                           static_cast<ssize_t>(bytes.size()) &&
            ::ftruncate(fd, bytes.size()) == 0 && ::fdatasync(fd) == 0;
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (!ok) RemoveUndoPosition(path);
  return ok;
}

std::optional<UndoPosition> ReadUndoPosition(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::array<uint8_t, kPositionBytes + 1> bytes{};
  const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
  ::close(fd);
  if (got != static_cast<ssize_t>(kPositionBytes)) return std::nullopt;
  common::LittleEndianReader in(std::span<const uint8_t>(bytes.data(), kPositionBytes));
  UndoPosition position;
  position.file = in.I32();
  position.offset = in.I32();
  const int32_t none = in.I32();
  if (position.file < 0 || position.offset < 0 || (none != 0 && none != 1)) return std::nullopt;
  position.noneApplied = none == 1;
  return position;
}

void RemoveUndoPosition(const std::string& path) {
  ::unlink(path.c_str());
}

}  // namespace lumavex
