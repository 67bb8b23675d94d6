#pragma once
// The load-size policy of BMP, PNG and JPEG loads: the menu's radio group of four
// items holds it, and each load reads it from there.

#include <optional>
#include <string>

#include "lumavex/files/LoadSize.h"
#include "lumavex/files/PictureLoad.h"

namespace lumavex {

class AppState;

// The policy whose menu item is checked; the same-size policy when none is.
LoadSizePolicy CurrentLoadPolicy(const AppState& state);

// The menu item of a policy, and the policy of a menu item (none for other ids).
int LoadPolicyCommand(LoadSizePolicy policy);
std::optional<LoadSizePolicy> LoadPolicyOfCommand(int commandId);

// Checks the policy item `commandId` alone in its radio group and shows its status text.
void ChooseLoadPolicy(AppState& state, int commandId);

// The sizing of a load of `name` under the current policy. Under the given-size
// policy a BMP, PNG or JPEG load first asks the size with dialog 134; nothing when
// that dialog was cancelled, and the load is then abandoned.
std::optional<LoadSizing> SizingForLoad(AppState& state, const std::string& name);

// After a BMP, PNG or JPEG picture was loaded at its own size: when `sizing` asks to
// enlarge it to the view, shows "★拡大中...", asks the area question for the target
// and pastes the picture enlarged into a new canvas of the target size. False when
// the area question was declined; the canvas then holds no picture.
bool EnlargeLoadedPicture(AppState& state, const std::string& name, const LoadSizing& sizing);

}  // namespace lumavex
