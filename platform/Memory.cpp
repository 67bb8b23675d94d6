#include "platform/Memory.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {
namespace {

// Picture layers are tens of megabytes; taken in huge pages, a fresh layer costs a
// handful of page faults instead of thousands, which is most of what creating or
// first loading a large picture would otherwise spend.
uint8_t* AllocateLarge(size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  if (size >= kHugePage && size <= SIZE_MAX - kHugePage) {
    const size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    void* block = std::aligned_alloc(kHugePage, rounded);
    // Only advice: without huge pages the block works the same.
    if (block) ::madvise(block, rounded, MADV_HUGEPAGE);
    return static_cast<uint8_t*>(block);
  }
#endif
  return static_cast<uint8_t*>(std::malloc(size ? size : 1));
}

}  // namespace

Block Allocator::AllocateChecked(uint64_t size) {
  const MemoryStatus status = status_();
  if (size > UINT64_MAX - kGuardBytes || size + kGuardBytes > status.availablePageFile)
    Fatal(host_, "残り仮想メモリ１０ＭＢ以下。\n再起動して下さい。\n", "ERROR", 0,
          MessageIcon::Exclamation);
  if (size > SIZE_MAX) return nullptr;
  return Block(AllocateLarge(static_cast<size_t>(size)));
}

}  // namespace platform
