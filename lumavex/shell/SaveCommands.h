#pragma once
// The saves that go through the save pipeline besides the native and BMP ones:
// PNG pictures and drawing settings files.

namespace lumavex {

class AppState;

// 40173 "PNGセーブ" and 40187 "PNG２５６色グレービットマップセーブ".
void SavePngCommand(AppState& state, int commandId);

// 40126 "描画設定セーブ": the drawing settings as a ".draw_define" file.
void SaveDrawingSettingsCommand(AppState& state);

}  // namespace lumavex
