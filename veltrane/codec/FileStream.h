#pragma once
// A stdio stream with the tool's 32766-byte buffer, closed when it goes out of scope.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/MemoryStatus.h"

namespace veltrane {

class FileStream {
 public:
  static constexpr size_t kBufferSize = 32766;

  FileStream() = default;
  ~FileStream();
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // Opens `path` with the stdio `mode` and gives the stream its buffer; false when
  // either step fails.
  bool Open(const std::filesystem::path& path, const char* mode);
  // Takes over the open descriptor `fd` with the stdio `mode` (closing it when that
  // fails) and gives the stream its buffer.
  bool Adopt(int fd, const char* mode);
  bool IsOpen() const { return file_ != nullptr; }
  // The stream's file descriptor; -1 when it is not open.
  int Descriptor() const { return file_ ? fileno(file_) : -1; }

  // The file's length in bytes; empty when it cannot be determined.
  std::optional<uint64_t> Length() const;

  // Reads exactly `size` bytes; false on a short read or a read error.
  bool ReadExact(void* data, size_t size);
  // Reads exactly `size` bytes straight from the file, past the stream buffer, for
  // large reads that the buffer would only copy once more. Only for streams that
  // have not read through the buffer.
  bool ReadDirect(void* data, size_t size);
  // Writes all `size` bytes; false when the stream could not take them.
  bool Write(const void* data, size_t size);
  // Writes, then flushes the stream while the page file is nearly exhausted so that
  // the written data does not sit in memory the system is running out of.
  bool WriteGuarded(const void* data, size_t size, const platform::MemoryStatusSource& status);

  // Pushes buffered data to the system and, with `toDisk`, on to the disk.
  bool Flush(bool toDisk);
  // Closes the stream; false when buffered data could not be written.
  bool Close();

 private:
  // Gives the opened stream its buffer; false (and closed) when there is no stream or
  // the buffer cannot be set.
  bool GiveBuffer();

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace veltrane
