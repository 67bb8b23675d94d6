#pragma once
// Helpers shared by the tests of the codec and the tool: temporary folders, whole
// file reads and writes, and an allocator that always has memory to spare.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Memory.h"
#include "platform/TestHost.h"

namespace veltrane::testing {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);
// Sorted names of every entry of `folder`.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

// While it lives, no file this process writes can grow past `bytes`: a write beyond
// fails as on a full disk (the signal such a write raises is ignored meanwhile).
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(uint64_t bytes);
  ~ScopedFileSizeLimit();
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  uint64_t previousSoft_;
  void (*previousHandler_)(int);
};

// Reproducible pseudo-random bytes.
Bytes RandomBytes(size_t size, uint32_t seed);

// Little-endian encoding of a 32-bit value, for building expected files.
Bytes Word(uint32_t value);
Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text);

// A memory status with plenty of page file, so AllocateChecked never refuses.
platform::MemoryStatus PlentyOfMemory();

// An allocator over a TestHost that always has memory to spare.
struct TestAllocator {
  platform::TestHost host;
  platform::Allocator allocator{host, PlentyOfMemory};
};

}  // namespace veltrane::testing
