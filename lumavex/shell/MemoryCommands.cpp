#include "lumavex/shell/MemoryCommands.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/tools/PasteTools.h"

namespace lumavex {
namespace {

constexpr size_t kBlockBytes = 4096;
constexpr uint64_t kBlocksPerCheck = 256;  // look at the memory status once a megabyte

// Takes up to `count` blocks of 4096 bytes, touching each so that the system has
// to make room for it, and stops early when a block cannot be had or when less
// than the allocation guard would stay available: on a machine without swap the
// system would otherwise end a program to make room instead of paging.
std::vector<void*> TakeBlocks(AppState& state, uint64_t count) {
  std::vector<void*> blocks;
  blocks.reserve(count + 1);
  for (uint64_t i = 0; i < count; ++i) {
    if (i % kBlocksPerCheck == 0 &&
        state.allocator.Status().availablePageFile <
            platform::Allocator::kGuardBytes + kBlocksPerCheck * kBlockBytes)
      break;
    void* block = std::malloc(kBlockBytes);
    if (!block) break;
    static_cast<volatile char*>(block)[0] = 0;
    blocks.push_back(block);
    state.progress.ProgressStep();
  }
  return blocks;
}

}  // namespace

void CleanMemoryCommand(AppState& state) {
  FreeMemorySurface(state);
  const uint64_t count = state.allocator.Status().totalPhysical * 2 / 12288;
  if (count == 0) return;
  const std::string previous = state.menu.StatusText();
  char text[64];
  std::snprintf(text, sizeof text, "★%dMBメモリ掃除中...", static_cast<int>(count / 256));
  SetStatusText(state, text);

  state.progress.ProgressStart(count);
  std::vector<void*> blocks = TakeBlocks(state, count);
  state.progress.ProgressEnd();
  for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);

  SetStatusText(state, previous);
}

void FlushMemory(AppState& state, int megabytes) {
  const uint64_t count = static_cast<uint64_t>(megabytes) * 256;
  state.progress.ProgressStart(count * 2);
  std::vector<void*> blocks = TakeBlocks(state, count);
  for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
    std::free(*it);
    state.progress.ProgressStep();
  }
  state.progress.ProgressEnd();
}

void FreeMemoryCommand(AppState& state) {
  const platform::MemoryStatus status = state.allocator.Status();
  char text[160];
  std::snprintf(text, sizeof text, "★仮想メモリ空き容量%dMB\n★物理メモリ空き容量%dMB\n",
                static_cast<int>(status.availablePageFile >> 20),
                static_cast<int>(status.availablePhysical >> 20));
  state.host.ShowMessage(text, "現在の仮想メモリ空き容量");
}

}  // namespace lumavex
