#pragma once
// The menu bar as data: popups, items, captions with their English gloss and the
// shortcut texts.

#include "platform/Menu.h"

namespace lumavex {

// The program's menu bar with every item enabled and unchecked and a blank status text.
platform::MenuBar BuildMenuBar();

}  // namespace lumavex
