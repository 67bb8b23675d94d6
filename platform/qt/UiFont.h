#pragma once
// The Japanese user-interface font of both programs.

class QFont;

namespace platform::qt {

// IPAPGothic 9 pt, the font of menus, dialogs and message boxes.
QFont UiFont();

// Makes UiFont() the application's default font.
void ApplyUiFont();

}  // namespace platform::qt
