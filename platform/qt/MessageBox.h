#pragma once
// Modal message boxes for the core's messages.

#include <string>

#include "platform/UiHost.h"

class QWidget;

namespace platform::qt {

// Shows a modal message box over `parent` (or over no window) and returns the button
// chosen; closing the box counts as the last button (Cancel, No, or Ok).
MessageResult ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon);

}  // namespace platform::qt
