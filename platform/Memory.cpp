#include "platform/Memory.h"

namespace platform {

Block Allocator::AllocateChecked(uint64_t size) {
  const MemoryStatus status = status_();
  if (size > UINT64_MAX - kGuardBytes || size + kGuardBytes > status.availablePageFile)
    Fatal(host_, "残り仮想メモリ１０ＭＢ以下。\n再起動して下さい。\n", "ERROR", 0,
          MessageIcon::Exclamation);
  if (size > SIZE_MAX) return nullptr;
  return Block(static_cast<uint8_t*>(std::malloc(size ? static_cast<size_t>(size) : 1)));
}

}  // namespace platform
