#include "lumavex/shell/Main.h"

#include "platform/SingleInstanceLock.h"

namespace lumavex {

int ProgramEntry(platform::UiHost& host, WindowSystem& windows, const AppConfig& config) {
  platform::SingleInstanceLock lock(kInstanceLockName, config.lockDirectory);
  if (!lock.Acquired()) {
    host.ShowMessage("二重起動は出来ません。", "エラー");
    return 0;
  }
  App app(host, config);
  windows.CreateMainWindow(app);
  return windows.RunMessageLoop();
}

}  // namespace lumavex
