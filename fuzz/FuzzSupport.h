#pragma once
// What every fuzz target shares: a host that answers every question with its first
// button, an allocator that refuses what a modest machine would, and the input put
// into a file of the name a reader expects.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Memory.h"
#include "platform/TestHost.h"

namespace lumavex::fuzz {

// 512 MB of page file: larger pictures are refused the way the program refuses them.
inline platform::MemoryStatus ModestMachine() {
  platform::MemoryStatus status;
  status.availablePageFile = 512ull << 20;
  status.availablePhysical = 512ull << 20;
  status.totalPhysical = 1ull << 30;
  status.totalPageFile = 1ull << 30;
  return status;
}

// A new folder named `prefix` + a unique tag, in memory (/dev/shm) where the system
// has it: the targets that sync their files to the disk run many times faster there.
inline std::string ScratchFolder(const std::string& prefix) {
  const std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
  std::string pattern = base + prefix + "-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  return pattern;
}

// The input as the file `name` in a folder of this process's own.
inline std::string PutInput(const uint8_t* data, size_t size, const std::string& name) {
  static const std::string folder = ScratchFolder("lumavex-fuzz");
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace lumavex::fuzz
