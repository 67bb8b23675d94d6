#include "lumavex/shell/Status.h"

#include "lumavex/shell/AppState.h"

namespace lumavex {

void SetStatusText(AppState& state, const std::string& text) {
  state.menu.SetStatusText(text);
  state.host.MenuChanged(state.menu);
}

void RestoreModeStatusText(AppState& state) { SetStatusText(state, state.modeStatusText); }

void OutOfMemory(AppState& state) {
  platform::Fatal(state.host, "メモリが確保出来ません。", "エラー", 0);
}

}  // namespace lumavex
