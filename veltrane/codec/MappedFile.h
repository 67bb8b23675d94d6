#pragma once
// A file's bytes mapped read-only into memory, so that they can be compared where the
// system keeps them instead of being copied out first.
//
// Another program may shorten the file while it is mapped; touching a page past the
// new end then raises a bus error instead of returning fewer bytes. Reads through the
// mapping therefore run inside ReadGuarded, which turns that error into a failed read.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace veltrane {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile() { Unmap(); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the first `size` bytes of the open descriptor `fd`; false when the system
  // cannot map it (the caller then reads the file the ordinary way).
  bool Map(int fd, uint64_t size);
  void Unmap();

  const uint8_t* Bytes() const { return bytes_; }
  uint64_t Size() const { return size_; }

 private:
  const uint8_t* bytes_ = nullptr;
  uint64_t size_ = 0;
};

// Runs `read`, which reads through a mapping; false when a read raised a bus error
// because the mapped file had been shortened. `read` is cut off at that point, so it
// must not own anything that needs cleaning up. A bus error outside such a call is
// handled as it would have been without it.
bool ReadGuarded(const std::function<void()>& read);

}  // namespace veltrane
