#pragma once
// What every fuzz target shares: a host that answers every question with its first
// button, an allocator that refuses what a modest machine would, and the input put
// into a file of the name a reader expects.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
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

// The input as the file `name` in a folder of this process's own.
inline std::string PutInput(const uint8_t* data, size_t size, const std::string& name) {
  static const std::string folder = [] {
    char pattern[] = "/tmp/lumavex-fuzz-XXXXXX";
    return std::string(::mkdtemp(pattern));
  }();
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace lumavex::fuzz
