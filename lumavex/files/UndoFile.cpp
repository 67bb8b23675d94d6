#include "lumavex/files/UndoFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace lumavex {

namespace {
constexpr size_t kStreamBufferBytes = 32766;
}  // namespace

UndoFile::UndoFile(UndoFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

UndoFile& UndoFile::operator=(UndoFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    file_ = std::exchange(other.file_, nullptr);
  }
  return *this;
}

UndoFile::~UndoFile() {
  Abandon();
}

bool UndoFile::Open(const std::string& path, Mode mode) {
  Abandon();
  file_ = std::fopen(path.c_str(), mode == Mode::Create ? "w+b" : "r+b");
  if (!file_) return false;
  if (std::setvbuf(file_, nullptr, _IOFBF, kStreamBufferBytes) != 0) {
    Abandon();
    return false;
  }
  return true;
}

bool UndoFile::WriteAt(int64_t offset, const void* data, size_t size) {
  if (!file_ || ::fseeko(file_, offset, SEEK_SET) != 0) return false;
  return std::fwrite(data, 1, size, file_) == size;
}

size_t UndoFile::ReadAt(int64_t offset, void* data, size_t size) {
  if (!file_ || offset < 0 || ::fseeko(file_, offset, SEEK_SET) != 0) return 0;
  return std::fread(data, 1, size, file_);
}

bool UndoFile::Flush() {
  return file_ && std::fflush(file_) == 0;
}

bool UndoFile::Commit() {
  return Flush() && ::fsync(::fileno(file_)) == 0;
}

int64_t UndoFile::Size() {
  struct stat info;
  if (!Flush() || ::fstat(::fileno(file_), &info) != 0) return -1;
  return info.st_size;
}

bool UndoFile::Truncate(int64_t size) {
  return Flush() && ::ftruncate(::fileno(file_), size) == 0;
}

bool UndoFile::Close() {
  if (!file_) return true;
  return std::fclose(std::exchange(file_, nullptr)) == 0;
}

void UndoFile::Abandon() {
  if (file_) std::fclose(std::exchange(file_, nullptr));
}

}  // namespace lumavex
