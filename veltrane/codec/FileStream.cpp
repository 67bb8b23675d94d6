#include "veltrane/codec/FileStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace veltrane {

namespace {
// Below this much available page file, written data is flushed at once.
constexpr uint64_t kFlushThreshold = 0xA00000;
}  // namespace

FileStream::~FileStream() {
  Close();
}

bool FileStream::Open(const std::filesystem::path& path, const char* mode) {
  Close();
  file_ = std::fopen(path.c_str(), mode);
  return GiveBuffer();
}

bool FileStream::Adopt(int fd, const char* mode) {
  Close();
  file_ = fdopen(fd, mode);
  if (!file_) close(fd);
  return GiveBuffer();
}

bool FileStream::GiveBuffer() {
  if (!file_) return false;
  buffer_ = std::make_unique<char[]>(kBufferSize);
  if (std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize) != 0) {
    Close();
    return false;
  }
  return true;
}

std::optional<uint64_t> FileStream::Length() const {
  struct stat info {};
  if (!file_ || fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

bool FileStream::ReadExact(void* data, size_t size) {
  return file_ && std::fread(data, 1, size, file_) == size;
}

bool FileStream::ReadDirect(void* data, size_t size) {
  if (!file_) return false;
  auto* target = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t got = read(fileno(file_), target, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    target += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

bool FileStream::Write(const void* data, size_t size) {
  return file_ && std::fwrite(data, 1, size, file_) == size;
}

bool FileStream::WriteGuarded(const void* data, size_t size,
                              const platform::MemoryStatusSource& status) {
  if (!Write(data, size)) return false;
  if (status && status().availablePageFile < kFlushThreshold) return Flush(false);
  return true;
}

bool FileStream::Flush(bool toDisk) {
  if (!file_ || std::fflush(file_) != 0) return false;
  return !toDisk || fsync(fileno(file_)) == 0;
}

bool FileStream::Close() {
  if (!file_) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  buffer_.reset();
  return ok;
}

}  // namespace veltrane
