#include "lumavex/shell/MenuTable.h"

#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/HelpTopics.h"

namespace lumavex {
namespace {

using platform::MenuItem;
using platform::MenuPopup;

const MenuItem kSeparator{0, "", ""};

MenuPopup FilePopup() {
  return {
      "ファイル( File)",
      {
          {cmd::kNewPicture, "新規作成( New.)", ""},
          {cmd::kLoad, "ロード( Load.)", ""},
          kSeparator,
          {cmd::kSaveNative, "LMVセーブ( Save LMV file.)", "F12"},
          {cmd::kSaveBmp, "BMPセーブ( Save BMP file.)", "Shift+F11"},
          {cmd::kSavePng, "PNGセーブ( Save PNG file.)", ""},
          kSeparator,
          {cmd::kSaveReducedBmp, "縮小BMPセーブ( Save reduced BMP file.)", "Ctrl+F11"},
          {cmd::kSaveReducedBmpByDrop, "連続縮小ＢＭＰセーブ( Save reduced BMP files by drop.)",
           ""},
          kSeparator,
          {cmd::kSaveGrey256, "２５６色グレービットマップセーブ( Save 256 grey levels BMP.)", ""},
          {cmd::kSaveGrey16, "１６色グレービットマップセーブ( Save 16 grey levels BMP.)", ""},
          {cmd::kSaveGrey4, "４色グレービットマップセーブ( Save 4 grey levels BMP.)", ""},
          {cmd::kSaveGrey2, "２色グレービットマップセーブ( Save 2 grey levels BMP.)", ""},
          {cmd::kSavePngGrey, "PNG２５６色グレービットマップセーブ( Save 256 grey levels PNG.)",
           ""},
          kSeparator,
          {cmd::kSaveRectangle, "矩形部分セーブ( Save rectangle.)", ""},
          {cmd::kSaveDrawingSettings, "描画設定セーブ( Save drawing settings.)", ""},
          kSeparator,
          {cmd::kEnd, "終了( End.)", ""},
      }};
}

MenuPopup EditPopup() {
  return {"編集( Edit)",
          {
              {cmd::kUndo, "アンドゥー( Undo.)", "U"},
              {cmd::kUndoFrameOnly, "フレームのみアンドゥー( Undo frame only.)", "Ctrl+U"},
              {cmd::kRedo, "リドゥー( Redo.)", "Shift+U"},
          }};
}

MenuPopup BitmapPopup() {
  return {
      "ビットマップ( Bitmap)",
      {
          {cmd::kNormalPen, "ノーマルペン( Normal pen.)", "N"},
          {cmd::kSetNormalPen, "ノーマルペン設定( Set normal pen.)", "Ctrl+N"},
          {cmd::kGradationPen, "ぼかしペン( Gradation pen.)", "G"},
          {cmd::kSetGradationPen, "ぼかしペン設定( Set gradation pen.)", "Ctrl+G"},
          {cmd::kMosaicPen, "モザイクペン( Mosaic pen.)", "M"},
          {cmd::kSetMosaicPen, "モザイクペン設定( Set mosaic pen.)", "Ctrl+M"},
          kSeparator,
          {cmd::kFillInFrame, "フレーム内塗りつぶし( Paint head color in frame.)", "P"},
          {cmd::kFillNonDrawAreaInFrame,
           "フレーム内非描画領域塗りつぶし( Paint non draw area in frame.)", "Ctrl+P"},
          {cmd::kFillBitmapInFrame, "フレーム内ビットマップ塗りつぶし( Paint bitmap in frame.)",
           "Shift+P"},
          {cmd::kFillOneColour,
           "単色領域塗りつぶし( Paint head color in one color or non draw area.)", "Ctrl+Shift+P"},
          kSeparator,
          {cmd::kFillSelection, "全選択領域塗りつぶし( Paint head color on select all area.)", ""},
          {cmd::kFillOneColourSelection,
           "全選択領域単色領域塗りつぶし( Paint head color in one color on select all area.)", ""},
          {cmd::kXorFillSelection, "全選択領域 XOR 塗りつぶし( Paint xor on select all area.)", ""},
          kSeparator,
          {cmd::kColourLineArtIntake, "カラー線画取り込み( Take in color line drawing.)", ""},
      }};
}

MenuPopup FramePopup() {
  return {
      "フレーム( Frame)",
      {
          {cmd::kCurve, "曲線、連続直線描画( Draw frame spline or lines.)", "S"},
          {cmd::kTransparentCurve,
           "透明曲線、透明連続直線描画( Draw transparent frame spline or lines.)", "Ctrl+S"},
          {cmd::kColourChangeCurve,
           "色変更の曲線、連続直線描画( Draw color change frame spline or lines.)", "Shift+S"},
          {cmd::kEllipse, "楕円描画( Draw ellipse.)", "Ctrl+Shift+S"},
          {cmd::kSmoothingCurve, "スムージング曲線描画( Draw smoothing curve by tablet.)", "L"},
          kSeparator,
          {cmd::kColourChangePen, "色変更ペン描画( Change frame color pen.)", "C"},
          {cmd::kSetColourChangePen, "色変更ペン設定( Set change frame color pen.)", "Ctrl+C"},
          {cmd::kFrameGradationPen, "ぼかしペン描画( Frame gradation pen.)", "X"},
          {cmd::kSetFrameGradationPen, "ぼかしペン設定( Set frame gradation pen.)", "Ctrl+X"},
          {cmd::kDeletePen, "削除ペン描画( Delete frame pen.)", "D"},
          {cmd::kSetDeletePen, "削除ペン設定( Set delete frame pen.)", "Ctrl+D"},
          {cmd::kTransparentDeletePen, "透明削除ペン描画( Transparent delete frame pen.)", "T"},
          {cmd::kSetTransparentDeletePen, "透明削除ペン設定( Set transparent delete frame pen.)",
           "Ctrl+T"},
          kSeparator,
          {cmd::kSetFrameWidth, "幅設定( Set frame width.)", "F9"},
          {cmd::kSetAntiAliasWidth, "アンチエイリアス幅設定( Set anti-alias width.)", ""},
          kSeparator,
          {cmd::kMoveAllBasePoints, "画像内全基点移動( Move all base points into picture.)", ""},
      }};
}

MenuPopup AreaPopup() {
  return {"領域( Area)",
          {
              {cmd::kSelectArea, "領域選択( Make selection area.)", "A"},
              {cmd::kSelectAll, "全領域選択( Make selection all area.)", "Ctrl+Shift+A"},
              {cmd::kDeselectArea, "領域非選択( Make deselection area.)", "H"},
              {cmd::kDeselectAll, "全領域非選択( Make deselection all area.)", "Ctrl+Shift+H"},
              {cmd::kReverseArea, "領域反転( Reverse area.)", "Ctrl+H"},
              kSeparator,
              {cmd::kSelectPen, "領域選択ペン( Area choice pen.)", ""},
              {cmd::kSetSelectPen, "領域選択ペン設定( Set area choice pen.)", "Shift+A"},
              {cmd::kDeselectPen, "領域非選択ペン( Area non choice pen.)", ""},
              {cmd::kSetDeselectPen, "領域非選択ペン設定( Set area non choice pen.)", "Shift+H"},
              kSeparator,
              {cmd::kSquareFatten, "全選択領域正方形太らせ( All choice area square fatten.)", ""},
          }};
}

MenuPopup SurfacePastePopup() {
  return {
      "曲面、貼り付け( Surface and paste)",
      {
          {cmd::kFadeShadow,
           "フェード曲面、多角形面描画( 円筒の影を外から描画)( Draw fade spline.)", "Ctrl+Z"},
          {cmd::kFadeGloss,
           "フェード曲面、多角形面描画( 円筒の光沢を内から描画)( Draw fade spline.)", "Shift+Z"},
          {cmd::kFadeGentle, "フェード曲面、多角形面描画( なだらかに描画)( Draw fade spline.)",
           "Z"},
          {cmd::kDirectionalGradation, "方向ぼかし曲面( Gradation with direction.)", "Shift+G"},
          kSeparator,
          {cmd::kCopyToMemory, "曲面をメモリへコピー( Copy to memory.)", ""},
          {cmd::kPasteFromMemory, "曲面をメモリからペースト( Paste from memory.)", "Q"},
          {cmd::kMirrorOnPaste,
           "曲面をメモリからペースト時に図形の左右反転( Turn over of paste from memory.)", ""},
          {cmd::kPaintPreviousPixels, "以前の画像で塗りつぶし( Paint undo pixels.)", "Shift+Q"},
          kSeparator,
          {cmd::kPasteFromFile, "ファイルから単純ペースト( Simple paste from *.bmp or *.lmv file.)",
           ""},
          {cmd::kPasteFromFilesByDrop,
           "連続でファイルから単純ペースト( Simple paste from *.bmp or *.lmv file by drop.)", ""},
          {cmd::kPasteString, "文字列貼り付け( Paste string.)", "Shift+F"},
          kSeparator,
          {cmd::kMakeBorderFile, "フレーム境界作成、セーブ( Make and save border file.)", ""},
          {cmd::kMakeOpacity, "ブレンド不透明度作成( Make opacity.)", ""},
          {cmd::kSaveOpacityFile, "ブレンド不透明度セーブ( Save opacity file.)", ""},
      }};
}

MenuPopup ContinuousPastePopup() {
  return {
      "連続貼り付け( Continuous paste)",
      {
          {cmd::kCreatePasteFiles,
           "メモリから連続貼り付け対象ファイル郡作成( Create paste files on memory.)", ""},
          {cmd::kLoadPasteFiles,
           "メモリから連続貼り付け対象ファイル郡ロード( Load paste files on memory.)", ""},
          kSeparator,
          {cmd::kSetPasteGroup1,
           "メモリから連続貼り付け用基点郡設定１( Set base point1 for pastes.)", ""},
          {cmd::kSetPasteGroup2,
           "メモリから連続貼り付け用基点郡設定２( Set base point2 for pastes.)", ""},
          {cmd::kSetPasteGroup3,
           "メモリから連続貼り付け用基点郡設定３( Set base point3 for pastes.)", ""},
          {cmd::kSetPasteGroup4,
           "メモリから連続貼り付け用基点郡設定４( Set base point4 for pastes.)", ""},
          kSeparator,
          {cmd::kPasteSpan1To2, "メモリから連続貼り付け１～２( Pastes from memory 1～2.)", ""},
          {cmd::kPasteSpan2To3, "メモリから連続貼り付け２～３( Pastes from memory 2～3.)", ""},
          {cmd::kPasteSpan3To4, "メモリから連続貼り付け３～４( Pastes from memory 3～4.)", ""},
          kSeparator,
          {cmd::kSavePasteFiles,
           "メモリから連続貼り付け対象ファイル郡セーブ( Save files for pastes from memory.)", ""},
      }};
}

MenuPopup ViewPopup() {
  return {"表示( View)",
          {
              {cmd::kBitmapView, "ビットマップ( Bitmap view.)", "B"},
              {cmd::kFrameView, "フレーム( Frame view.)", "F"},
              kSeparator,
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
              kSeparator,
              {cmd::kSightOn, "照準、描画処理正方形あり( Sight and processing square on.)", ""},
              {cmd::kSightOff, "照準、描画処理正方形なし( Sight and processing square off.)", ""},
              {cmd::kXyOn, "ＸＹ座標あり( XY on.)", ""},
              {cmd::kXyOff, "ＸＹ座標なし( XY off.)", ""},
              kSeparator,
              {cmd::kLightTable, "ライトテーブル( Light table.)", "K"},
              {cmd::kLightTableSettings, "ライトテーブル設定( Set light table.)", ""},
              {cmd::kFlipbook, "パラパラ再生( Play flipbook.)", "J"},
              {cmd::kFlipbookSettings, "パラパラ再生設定( Set flipbook.)", ""},
              kSeparator,
              {cmd::kMinimise, "最小化( Minimize.)", ""},
          }};
}

MenuPopup SettingsPopup() {
  return {
      "設定( Settings)",
      {
          {cmd::kSetMaxOpacity, "最高不透明度( Max non transparently rate.)", "F5"},
          {cmd::kSetHeadFade, "先頭フェード距離( Head fade distance for frame and fade.)", "F6"},
          {cmd::kSetTerminationFade,
           "終端フェード距離( Termination fade distance for frame and fade.)", "F7"},
          {cmd::kSetSplinePoints, "スプライン点数( Point number of spline.)", "F8"},
          {cmd::kSetBorderOpacity, "境界フレーム不透明度( Set frame border opacity for paint.)",
           "O"},
          kSeparator,
          {cmd::kSetPointSpacing, "描画精度指定( Specify of precision.)", ""},
          {cmd::kSetProcessingSquare, "描画処理正方形( Set draw rectangle.)", ""},
          {cmd::kSetReductionRatio, "縮小BMPセーブ指定( Set ratio of reduced BMP save.)", ""},
          {cmd::kSetSmoothingCurve, "スムージング曲線設定( Set smoothing curve.)", "Ctrl+L"},
          kSeparator,
          {cmd::kLoadSameSize,
           "BMP, PNG ロード時に同じサイズで読み込みます( Load in the same size.)", "1"},
          {cmd::kLoadPolicy2,
           "BMP, PNG ロード時にビューサイズより大きいものを縮小します( Reduce larger than view.)",
           "2"},
          {cmd::kLoadPolicy3, "BMP, PNG ロード時にビューサイズに拡縮します( Scale to view.)", "3"},
          {cmd::kLoadPolicy4,
           "BMP, PNG ロード時に指定サイズより大きいものを縮小します( Reduce larger than given "
           "size.)",
           "4"},
      }};
}

MenuPopup MemoryPopup() {
  return {"メモリ( Memory)",
          {
              {cmd::kCleanMemory, "メモリ掃除( Clean memory.)", ""},
              {cmd::kFreeMemory, "現在の仮想メモリ空き容量( Free memory.)", ""},
          }};
}

MenuPopup HelpPopup() {
  MenuPopup popup{"ヘルプ( Help)", {}};
  for (const HelpTopic& topic : HelpTopics())
    popup.items.push_back({topic.command, topic.title, ""});
  return popup;
}

}  // namespace

platform::MenuBar BuildMenuBar() {
  platform::MenuBar bar;
  bar.statusItemId = cmd::kStatusItem;
  bar.popups = {FilePopup(),
                EditPopup(),
                BitmapPopup(),
                FramePopup(),
                AreaPopup(),
                SurfacePastePopup(),
                ContinuousPastePopup(),
                ViewPopup(),
                SettingsPopup(),
                MemoryPopup(),
                HelpPopup()};
  return bar;
}

}  // namespace lumavex
