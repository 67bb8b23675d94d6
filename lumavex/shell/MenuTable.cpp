#include "lumavex/shell/MenuTable.h"

#include "lumavex/shell/CommandIds.h"

namespace lumavex {

platform::MenuBar BuildMenuBar() {
  platform::MenuBar bar;
  bar.statusItemId = cmd::kStatusItem;
  bar.popups = {
      {"ファイル( File)",
       {
           {cmd::kNewPicture, "新規作成( New.)", ""},
           {0, "", ""},
           {cmd::kEnd, "終了( End.)", ""},
       }},
      {"表示( View)",
       {
           {cmd::kBitmapView, "ビットマップ( Bitmap view.)", "B"},
           {cmd::kFrameView, "フレーム( Frame view.)", "F"},
           {0, "", ""},
           {cmd::kZoom1of32, "1/32( Zoom 1/32.)", ""},
           {cmd::kZoom1of16, "1/16( Zoom 1/16.)", ""},
           {cmd::kZoom1of8, "1/8( Zoom 1/8.)", ""},
           {cmd::kZoom1of4, "1/4( Zoom 1/4.)", ""},
           {cmd::kZoom1of2, "1/2( Zoom 1/2.)", ""},
           {cmd::kZoom100, "100%( Zoom 100%.)", ""},
           {cmd::kZoom200, "200%( Zoom 200%.)", ""},
           {cmd::kZoom300, "300%( Zoom 300%.)", ""},
           {cmd::kZoom400, "400%( Zoom 400%.)", ""},
           {cmd::kZoom600, "600%( Zoom 600%.)", ""},
           {cmd::kZoom800, "800%( Zoom 800%.)", ""},
           {cmd::kZoom1000, "1000%( Zoom 1000%.)", ""},
           {cmd::kZoom1500, "1500%( Zoom 1500%.)", ""},
           {cmd::kZoom2000, "2000%( Zoom 2000%.)", ""},
           {0, "", ""},
           {cmd::kSightOn, "照準、描画処理正方形あり( Sight and processing square on.)", ""},
           {cmd::kSightOff, "照準、描画処理正方形なし( Sight and processing square off.)", ""},
           {cmd::kXyOn, "ＸＹ座標あり( XY on.)", ""},
           {cmd::kXyOff, "ＸＹ座標なし( XY off.)", ""},
           {0, "", ""},
           {cmd::kMinimise, "最小化( Minimize.)", ""},
       }},
      {"メモリ( Memory)",
       {
           {cmd::kCleanMemory, "メモリ掃除( Clean memory.)", ""},
           {cmd::kFreeMemory, "現在の仮想メモリ空き容量( Free memory.)", ""},
       }},
  };
  return bar;
}

const std::vector<int>& PictureCommands() {
  static const std::vector<int> kCommands = [] {
    std::vector<int> ids = {
        // undo and redo
        40008, 40284, 40180,
        // saves
        40013, 40213, 40230, 40012, 40186, 40185, 40184, 40183, 40173, 40187, 40070, 40126,
        // pastes from files, border and opacity files
        40201, 40232, 40227, 40228, 40229,
        // parameter dialogs
        40066, 40077, 40078, 40031, 40137, 40182, 40212, 40214, 40044, 40136,
        // pens and their settings
        40125, 40104, 40133, 40134, 40124, 40053, 40154, 40155, 40123, 40086, 40122, 40121,
        40127, 40128, 40159, 40158, 40160, 40161,
        // curves, ellipse, fade surfaces, fills, areas
        40034, 40150, 40129, 40087, 40037, 40038, 40162, 40218, 40050, 40051, 40076, 40120,
        40140, 40107, 40135, 40063, 40065, 40062, 40064, 40200,
        // string paste, square fatten, colour line-art intake
        40188, 40192, 40138};
    for (int id = 40236; id <= 40253; ++id) ids.push_back(id);  // continuous paste
    return ids;
  }();
  return kCommands;
}

void EnablePictureCommands(platform::MenuBar& menu, bool enabled) {
  for (int id : PictureCommands()) menu.Enable(id, enabled);
}

}  // namespace lumavex
