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
  for (const CommandEntry& entry : CommandEntries())
    if (keep(entry)) ids.push_back(entry.id);
  return ids;
}

}  // namespace

const CommandEntry* FindCommand(int id) {
  const auto specs = CommandEntries();
  const auto it = std::ranges::find(specs, id, &CommandEntry::id);
  return it == specs.end() ? nullptr : &*it;
}

void SendCommand(AppState& state, int id) {
  const CommandEntry* entry = FindCommand(id);
  if (!entry) platform::Fatal(state.host, "エラー", "エラー", -1);
  constexpr size_t kHistory = 64;
  state.recentCommands.push_back(id);
  if (state.recentCommands.size() > kHistory) state.recentCommands.pop_front();
  LeavePasteGroupView(state, id);
  NoteCommand(state, state.currentCommand, id);
  if (entry->handler) entry->handler(state, id);
}

Tool* ToolOfMode(AppState& state, int mode) {
  const CommandEntry* entry = FindCommand(mode);
  return entry && entry->tool ? &entry->tool(state.tools) : nullptr;
}

Tool* CurrentTool(AppState& state) {
  return ToolOfMode(state, state.currentCommand);
}

void EnterTool(AppState& state, int id) {
  ToolOfMode(state, id)->Enter(state, id);
}

bool IsMarking(int id) {
  const CommandEntry* entry = FindCommand(id);
  return entry && (entry->choice == Choice::Marking || entry->choice == Choice::RepeatableMarking);
}

const std::vector<int>& PictureCommands() {
  static const std::vector<int> kCommands =
      IdsWhere([](const CommandEntry& entry) { return entry.needsPicture; });
  return kCommands;
}

void EnablePictureCommands(platform::MenuBar& menu, bool enabled) {
  for (int id : PictureCommands()) menu.Enable(id, enabled);
}

bool NudgesPickedPoint(int mode) {
  const CommandEntry* entry = FindCommand(mode);
  return entry && entry->phase != Phase::None;
}

bool KeepsArrowKeys(int mode) {
  const CommandEntry* entry = FindCommand(mode);
  return entry && entry->keepsArrows;
}

}  // namespace lumavex
