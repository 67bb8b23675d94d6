#include "lumavex/shell/LoadPolicy.h"

#include <cstring>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/FreeFormPaste.h"
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

}  // namespace lumavex

namespace lumavex {

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
  // The picture with a one-pixel border outside the drawing area, so that the edge
  // pixels keep their own colour up to the edge of the enlarged picture.
  PixelPlane bordered;
  if (!bordered.Create(state.allocator, picture.width + 2, picture.height + 2, 4)) OutOfMemory(state);
  std::memset(bordered.Data(), 0, bordered.SizeBytes());
  for (int y = 0; y < picture.height; ++y) {
    const uint32_t* from = canvas.display.Row32(y);
    uint32_t* to = bordered.Row32(y + 1) + 1;
    for (int x = 0; x < picture.width; ++x) to[x] = TrueDisplayColour(from[x]) | kDrawAreaFlag;
  }
  platform::NoProgress progress;
  if (!CreateBlankPicture(canvas, state.allocator, plan.target.width, plan.target.height, progress))
    OutOfMemory(state);
  const auto corners = EnlargementCorners(picture, plan.target);
  PasteCorners quad;
  for (size_t i = 0; i < corners.size(); ++i) quad[i] = {corners[i].x, corners[i].y};
  PasteIntoQuadrilateral(bordered, quad, canvas.display);
  state.canvasWidth = canvas.Width();
  state.canvasHeight = canvas.Height();
  return true;
}

}  // namespace lumavex
