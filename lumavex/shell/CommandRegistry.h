#pragma once
// The command registry: one row for every command identifier, from which the window's
// command case and every list the dispatcher needs are taken.

#include <span>
#include <vector>

#include "lumavex/shell/CommandIds.h"
#include "platform/Menu.h"

namespace lumavex {

class AppState;
class Tool;
class ToolBox;

// What choosing a command does to the processing marks (the command choice).
enum class Choice {
  Ordinary,           // the marked rectangle starts empty
  Neutral,            // marks and marked rectangle stay as they are
  Marking,            // leaves processing marks that the next choice clears
  RepeatableMarking,  // marking; chosen again right after itself it is neutral
};

// The later phases of tools, whose keys act on a picked point or a pasted picture.
enum class Phase {
  None,
  Edit,   // a base point is picked and dragged
  Paste,  // the corners of a picture to paste are picked and dragged
};

// Runs command `id`; one handler may serve several identifiers.
using CommandHandler = void (*)(AppState& state, int id);
// The App's instance of a tool (see ToolOf).
using ToolAccess = Tool& (*)(ToolBox& tools);

struct CommandEntry {
  int id = cmd::kNone;
  // Nothing for the phases their tool enters by itself and for the commands whose
  // tools this build does not have yet: choosing them runs the command choice alone.
  CommandHandler handler = nullptr;
  // The tool that takes the mouse and draws the preview while this is the current
  // command; nothing for the commands that are no mode of a tool.
  ToolAccess tool = nullptr;
  // Greyed in the menu until a picture exists.
  bool needsPicture = false;
  Choice choice = Choice::Ordinary;
  // The numeric keypad nudges the picked point or pasted picture in this mode.
  Phase phase = Phase::None;
  // Left and Right load no picture in this mode.
  bool keepsArrows = false;
  // Never in the menu: sent by the program to itself.
  bool internal = false;
  // The status text the command's mode or dialog shows, where it is fixed.
  const char* status = nullptr;
  // Setting commands: the parameter dialog they open, and the command sent after it
  // whichever way it ended.
  int settingDialog = 0;
  int following = cmd::kNone;
};

// Every row, one per identifier.
std::span<const CommandEntry> CommandEntries();

// The row of `id`, or nullptr when the program has no such command.
const CommandEntry* FindCommand(int id);

// Carries out command `id` as the window's command case does: the command choice,
// then the row's handler. Every path into a tool (menu, key, later phases) comes
// through here; an identifier without a row ends the program as an internal error.
void SendCommand(AppState& state, int id);

// The tool of mode `mode`, or nullptr when no tool takes the input there.
Tool* ToolOfMode(AppState& state, int mode);
// The tool of the current command.
Tool* CurrentTool(AppState& state);
// The handler of a tool's commands and phases: the row's tool enters `id`.
void EnterTool(AppState& state, int id);

// True when `id`'s processing marks are cleared by the next command choice.
bool IsMarking(int id);

// The commands that only make sense while a picture exists.
const std::vector<int>& PictureCommands();
// Greys or enables every command that needs a picture.
void EnablePictureCommands(platform::MenuBar& menu, bool enabled);

// True in the modes whose numeric keypad drags the picked point or pasted picture.
bool NudgesPickedPoint(int mode);
// True in the modes whose arrow keys belong to a picked point or a pasted picture.
bool KeepsArrowKeys(int mode);

}  // namespace lumavex
