#pragma once
// The on-line help: one topic per help command of the menu, each a title (the menu
// caption) and a long text shown in the modeless help dialog.

#include <span>

#include "platform/UiHost.h"

namespace lumavex {

struct HelpTopic {
  int command;        // the help command that shows the topic
  const char* title;  // the menu caption, with its English gloss
  const char* text;   // the user documentation, lines separated by '\n'
};

// The help dialog: a read-only text and an OK button, without cancel.
constexpr int kHelpDialogId = 131;
constexpr int kHelpTextControlId = 1000;

// Every topic, in the order of the help menu.
std::span<const HelpTopic> HelpTopics();

// The topic of `commandId`, or nullptr when it is no help command.
const HelpTopic* FindHelpTopic(int commandId);

// The help dialog showing `topic`: its title line, then its text.
platform::DialogModel HelpDialog(const HelpTopic& topic);

// Opens the help dialog for `commandId` without waiting for it to be closed, so
// that the user can read it while working. False when `commandId` is no help command.
bool ShowHelpTopic(platform::UiHost& host, int commandId);

}  // namespace lumavex
