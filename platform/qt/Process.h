#pragma once
// How a Qt program ends: in order through the event loop, or at once.

namespace platform::qt {

// Leaves the event loop; exec() returns `exitCode`.
void QuitEventLoop(int exitCode);

// Ends the process at once with `exitCode` after flushing the C streams: no event
// loop, no destructors. -1 and the other codes outside 0..255 keep their low byte.
[[noreturn]] void EndProcessNow(int exitCode);

}  // namespace platform::qt
