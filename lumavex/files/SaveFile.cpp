#include "lumavex/files/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/ExclusiveFile.h"

namespace lumavex {
namespace {

constexpr size_t kStreamBuffer = 32766;

// A symbolic link keeps pointing at the saved picture: the file it names is replaced.
std::string RealTarget(const std::string& target) {
  std::error_code ec;
  if (std::filesystem::is_symlink(target, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) return resolved.string();
  }
  return target;
}

// The start of the temporary file's name: hidden beside the target
// ("<folder>/.<name>.<random tag>.saving"), so it never shows among the folder's pictures.
std::string TemporaryPrefix(const std::string& target) {
  const std::filesystem::path path(target);
  return (path.parent_path() / ("." + path.filename().string() + ".")).string();
}

constexpr const char* kTemporarySuffix = ".saving";

// The creation mask of the process, read without changing it.
mode_t CreationMask() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  unsigned mask = 022;
  if (!status) return mask;
  char line[256];
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
  std::fclose(status);
  return mask;
}

}  // namespace

SaveFile::SaveFile(std::string target, SaveFileOptions options)
    : target_(RealTarget(target)), options_(std::move(options)) {}

SaveFile::~SaveFile() { Abandon(); }

bool SaveFile::Open() {
  Abandon();
  // A replaced picture keeps its permissions; a new one gets the usual ones.
  mode_t mode = 0666 & ~CreationMask();
  struct stat existing;
  if (::stat(target_.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  // A name of its own, created exclusively: a file or link someone placed beside the
  // target is neither written through nor removed.
  const platform::ExclusiveFile created =
      platform::CreateExclusiveFile(TemporaryPrefix(target_), kTemporarySuffix, 0600);
  if (created.fd < 0) return false;
  const int fd = created.fd;
  temporary_ = created.path;
  if (::fchmod(fd, mode) != 0 && errno != EPERM) {
    ::close(fd);
    ::unlink(temporary_.c_str());
    return false;
  }
  file_ = ::fdopen(fd, "wb");
  if (!file_ || std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer) != 0) {
    if (file_) std::fclose(file_);
    else ::close(fd);
    file_ = nullptr;
    ::unlink(temporary_.c_str());
    return false;
  }
  return true;
}

bool SaveFile::Write(const void* data, size_t size) {
  if (!file_ || !Allowed()) return false;
  return std::fwrite(data, 1, size, file_) == size;
}

bool SaveFile::Flush() {
  if (!file_ || !Allowed()) return false;
  return std::fflush(file_) == 0;
}

void SaveFile::StartWriteback() {
#ifdef SYNC_FILE_RANGE_WRITE
  // Only a hint: Commit's fsync still decides whether the bytes reached the disk.
  if (file_) ::sync_file_range(::fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool SaveFile::Commit() {
  if (!file_) return false;
  const bool onDisk = Flush() && ::fsync(::fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!onDisk || !closed || !platform::ReplaceByRename(temporary_, target_)) {
    ::unlink(temporary_.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const std::string folder = std::filesystem::path(target_).parent_path().string();
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void SaveFile::Abandon() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  ::unlink(temporary_.c_str());
}

uint8_t* RowPacker::Reserve(size_t bytes) {
  if (bytes > capacity_) return nullptr;
  if (used_ + bytes > capacity_) {
    if (!file_.Write(block_, used_) || !file_.Flush()) return nullptr;
    file_.StartWriteback();
    used_ = 0;
  }
  uint8_t* row = block_ + used_;
  used_ += bytes;
  return row;
}

bool RowPacker::Finish() {
  const bool written = used_ == 0 || file_.Write(block_, used_);
  used_ = 0;
  return written && file_.Flush();
}

}  // namespace lumavex
