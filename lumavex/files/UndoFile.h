#pragma once
// One open undo file: a buffered stream whose commit pushes everything written
// so far through to the disk, so that a committed step survives a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace lumavex {

class UndoFile {
 public:
  enum class Mode {
    Create,  // read/write, truncated to nothing
    Update,  // read/write, the existing contents kept
  };

  UndoFile() = default;
  UndoFile(const UndoFile&) = delete;
  UndoFile& operator=(const UndoFile&) = delete;
  UndoFile(UndoFile&& other) noexcept;
  UndoFile& operator=(UndoFile&& other) noexcept;
  // Closes without reporting failures.
  ~UndoFile();

  // Opens `path` with a 32766-byte stream buffer; false when it cannot be opened.
  bool Open(const std::string& path, Mode mode);
  bool IsOpen() const { return file_ != nullptr; }

  bool WriteAt(int64_t offset, const void* data, size_t size);
  // Reads up to `size` bytes at `offset`; returns how many arrived.
  size_t ReadAt(int64_t offset, void* data, size_t size);

  // Hands buffered bytes to the system.
  bool Flush();
  // Hands buffered bytes to the system and waits until they are on the disk.
  bool Commit();
  // The file's length, buffered bytes included; -1 when it cannot be told.
  int64_t Size();
  bool Truncate(int64_t size);

  // False when closing failed (buffered bytes could not be written).
  bool Close();
  // Closes after a failure, when the outcome no longer matters.
  void Abandon();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace lumavex
