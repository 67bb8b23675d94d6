#pragma once
// The memory commands: paging other programs out and showing the free memory.

namespace lumavex {

class AppState;

// 40052: frees the surface copied to memory, then pages other programs out by
// briefly taking two thirds of physical memory.
void CleanMemoryCommand(AppState& state);
// The small form run before file dialogs: takes and frees `megabytes`.
void FlushMemory(AppState& state, int megabytes);
// 40181: shows the free page file and physical memory.
void FreeMemoryCommand(AppState& state);

}  // namespace lumavex
