#pragma once
// The menu bar as data: popups, items, captions with their English gloss and the
// shortcut texts, plus which commands need a picture.

#include <vector>

#include "platform/Menu.h"

namespace lumavex {

// The program's menu bar with every item enabled and unchecked and a blank status text.
platform::MenuBar BuildMenuBar();

// The commands that only make sense while a picture exists.
const std::vector<int>& PictureCommands();

// Greys or enables every command that needs a picture.
void EnablePictureCommands(platform::MenuBar& menu, bool enabled);

}  // namespace lumavex
