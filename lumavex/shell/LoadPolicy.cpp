#include "lumavex/shell/LoadPolicy.h"

#include "lumavex/paint/Enlargement.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"

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

void ChooseLoadPolicy(AppState& state, int commandId) {
  for (const PolicyItem& item : kPolicyItems)
    state.menu.Check(item.command, item.command == commandId);
  state.host.MenuChanged(state.menu);
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

bool EnlargeLoadedPicture(AppState& state, const std::string& name, const LoadSizing& sizing) {
  Canvas& canvas = state.canvas;
  if (!canvas.HasPicture() || !LoadSizeApplies(name)) return true;
  const PictureSize picture{canvas.Width(), canvas.Height()};
  const LoadSizePlan plan = PlanLoadSize(sizing.policy, picture, sizing.view, sizing.given);
  // A reduced picture already fits; one the size of its target needs no paste (at
  // scale 1 the paste copies every pixel as it is).
  if (plan.resize != LoadResize::Enlarge ||
      (plan.target.width <= picture.width && plan.target.height <= picture.height))
    return true;
  SetStatusText(state, kEnlargingStatus);
  if (!ConfirmPictureArea(state.host, state.allocator.Status(), plan.target.width,
                          plan.target.height)) {
    canvas.Release();
    return false;
  }
  if (!EnlargePicture(canvas, state.allocator, plan.target)) OutOfMemory(state);
  state.canvasWidth = canvas.Width();
  state.canvasHeight = canvas.Height();
  return true;
}

}  // namespace lumavex
