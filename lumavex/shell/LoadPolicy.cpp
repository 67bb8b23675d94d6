#include "lumavex/shell/LoadPolicy.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Shell.h"

namespace lumavex {
namespace {

struct PolicyItem {
  int command;
  LoadSizePolicy policy;
};

constexpr PolicyItem kPolicyItems[] = {
    {cmd::kLoadSameSize, LoadSizePolicy::SameSize},
    {cmd::kLoadPolicy2, LoadSizePolicy::ReduceToView},
    {cmd::kLoadPolicy3, LoadSizePolicy::FitToView},
    {cmd::kLoadPolicy4, LoadSizePolicy::ReduceToGiven},
};

}  // namespace

LoadSizePolicy CurrentLoadPolicy(const AppState& state) {
  for (const PolicyItem& item : kPolicyItems)
    if (state.menu.Checked(item.command)) return item.policy;
  return LoadSizePolicy::SameSize;
}

int LoadPolicyCommand(LoadSizePolicy policy) {
  for (const PolicyItem& item : kPolicyItems)
    if (item.policy == policy) return item.command;
  return cmd::kLoadSameSize;
}

std::optional<LoadSizePolicy> LoadPolicyOfCommand(int commandId) {
  for (const PolicyItem& item : kPolicyItems)
    if (item.command == commandId) return item.policy;
  return std::nullopt;
}

void ShowLoadPolicyChosen(AppState& state, int commandId) {
  if (const auto policy = LoadPolicyOfCommand(commandId))
    SetStatusText(state, PolicyChosenStatus(*policy));
}

std::optional<LoadSizing> SizingForLoad(AppState& state, const std::string& name) {
  LoadSizing sizing;
  if (!LoadSizeApplies(name)) return sizing;
  sizing.policy = CurrentLoadPolicy(state);
  sizing.view = ViewSizeForClient(state.surface.Width(), state.surface.Height());
  if (sizing.policy == LoadSizePolicy::ReduceToGiven) {
    SetStatusText(state, "★ロード時サイズ指定");
    if (!AskSetting(state, dialog::kLoadSizeLimit)) {
      RestoreModeStatusText(state);
      return std::nullopt;
    }
  }
  sizing.given = {state.settings.loadLimitWidth, state.settings.loadLimitHeight};
  sizing.showStatus = [&state](const std::string& text) { SetStatusText(state, text); };
  return sizing;
}

}  // namespace lumavex
