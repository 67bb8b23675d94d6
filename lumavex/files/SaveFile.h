#pragma once
// Saving without ever destroying the previous good file: the bytes go to a
// temporary file in the target's folder, which is flushed to the disk and only then
// renamed over the target. A failure at any point leaves the target as it was.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace lumavex {

struct SaveFileOptions {
  // Asked before every write to the system; false makes that write fail as a full
  // disk would. Empty: only the file system decides.
  std::function<bool()> writeAllowed;
};

class SaveFile {
 public:
  explicit SaveFile(std::string target, SaveFileOptions options = {});
  SaveFile(const SaveFile&) = delete;
  SaveFile& operator=(const SaveFile&) = delete;
  // Removes the temporary file of a save that was not committed.
  ~SaveFile();

  // Creates the temporary file with a 32766-byte stream buffer; false when it cannot.
  bool Open();
  bool Write(const void* data, size_t size);
  // Hands buffered bytes to the system.
  bool Flush();
  // Asks the system to start putting what it was handed on the disk, without waiting,
  // so that the wait in Commit is shorter.
  void StartWriteback();
  // Flushes, waits until the bytes are on the disk and puts the file in the target's
  // place. False when any step fails; the target is then untouched.
  bool Commit();
  // Drops the temporary file.
  void Abandon();

  const std::string& Target() const { return target_; }
  const std::string& TemporaryPath() const { return temporary_; }

 private:
  bool Allowed() const { return !options_.writeAllowed || options_.writeAllowed(); }

  std::string target_;
  std::string temporary_;
  SaveFileOptions options_;
  std::FILE* file_ = nullptr;
};

// How a writer ended. A failure in the rows comes after the headers reached the file.
enum class WriteResult { Written, HeadersFailed, RowsFailed };

// Packs rows one after another into a block and writes the block in one call (then
// flushes) whenever the next row would not fit.
class RowPacker {
 public:
  RowPacker(SaveFile& file, uint8_t* block, size_t capacity)
      : file_(file), block_(block), capacity_(capacity) {}

  // Room for the next row of `bytes` bytes; null when the block could not be
  // written or the row is larger than the block.
  uint8_t* Reserve(size_t bytes);
  // Writes and flushes what remains.
  bool Finish();

 private:
  SaveFile& file_;
  uint8_t* block_;
  size_t capacity_;
  size_t used_ = 0;
};

}  // namespace lumavex
