#include "lumavex/shell/CommandRegistry.h"

#include <algorithm>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandChoice.h"
#include "lumavex/shell/tools/Tool.h"

namespace lumavex {
namespace {

// The identifiers of the rows that `keep` accepts, in table order.
template <class Keep>
std::vector<int> IdsWhere(Keep keep) {
  std::vector<int> ids;
  for (const CommandSpec& spec : CommandSpecs())
    if (keep(spec)) ids.push_back(spec.id);
  return ids;
}

}  // namespace

const CommandSpec* FindCommand(int id) {
  const auto specs = CommandSpecs();
  const auto it = std::ranges::find(specs, id, &CommandSpec::id);
  return it == specs.end() ? nullptr : &*it;
}

void SendCommand(AppState& state, int id) {
  const CommandSpec* spec = FindCommand(id);
  if (!spec) platform::Fatal(state.host, "エラー", "エラー", -1);
  constexpr size_t kHistory = 64;
  state.recentCommands.push_back(id);
  if (state.recentCommands.size() > kHistory) state.recentCommands.pop_front();
  NoteCommand(state, state.currentCommand, id);
  if (spec->handler) spec->handler(state, id);
}

Tool* ToolOfMode(AppState& state, int mode) {
  const CommandSpec* spec = FindCommand(mode);
  return spec && spec->tool ? &spec->tool(state.tools) : nullptr;
}

Tool* CurrentTool(AppState& state) {
  return ToolOfMode(state, state.currentCommand);
}

void EnterTool(AppState& state, int id) {
  ToolOfMode(state, id)->Enter(state, id);
}

bool IsMarking(int id) {
  const CommandSpec* spec = FindCommand(id);
  return spec && (spec->choice == Choice::Marking || spec->choice == Choice::RepeatableMarking);
}

const std::vector<int>& PictureCommands() {
  static const std::vector<int> kCommands =
      IdsWhere([](const CommandSpec& spec) { return spec.needsPicture; });
  return kCommands;
}

void EnablePictureCommands(platform::MenuBar& menu, bool enabled) {
  for (int id : PictureCommands()) menu.Enable(id, enabled);
}

bool NudgesPickedPoint(int mode) {
  const CommandSpec* spec = FindCommand(mode);
  return spec && spec->phase != Phase::None;
}

bool KeepsArrowKeys(int mode) {
  const CommandSpec* spec = FindCommand(mode);
  return spec && spec->keepsArrows;
}

}  // namespace lumavex
