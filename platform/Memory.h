#pragma once
// Large blocks are allocated only while enough memory would remain for the system
// to keep running; below that the program stops with a message.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/MemoryStatus.h"
#include "platform/UiHost.h"

namespace platform {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using Block = std::unique_ptr<uint8_t[], FreeDeleter>;

class Allocator {
 public:
  // The memory that must remain available after any allocation.
  static constexpr uint64_t kGuardBytes = 10485760;

  Allocator(UiHost& host, MemoryStatusSource status)
      : host_(host), status_(std::move(status)) {}

  // Allocates `size` uninitialised bytes. When fewer than `size` + 10 MB of page
  // file are available, shows "残り仮想メモリ１０ＭＢ以下。..." and ends the
  // process with code 0. A failed allocation returns null; callers that need the
  // block check it.
  Block AllocateChecked(uint64_t size);

  MemoryStatus Status() const { return status_(); }
  UiHost& Host() const { return host_; }

 private:
  UiHost& host_;
  MemoryStatusSource status_;
};

}  // namespace platform
