#pragma once
// Puts the tool's core behind its window: the creation message, the event loop.

namespace veltrane {
class VeltraneApp;
}

namespace veltrane::qt {

class VeltraneHost;
class VeltraneWindow;

// Attaches `window` to `host`, shows it at its place, sends the creation message
// (VeltraneApp::Start) with the client area's size, then forwards the window's
// events to `app`. All three must outlive the event loop.
void OpenMainWindow(VeltraneWindow& window, VeltraneHost& host, VeltraneApp& app);

// Runs the event loop until the core quits or the window is closed and returns the
// exit code; at once when the core already asked to quit. Afterwards the window's
// events no longer reach the core.
int RunMessageLoop(VeltraneWindow& window, const VeltraneHost& host);

}  // namespace veltrane::qt
