// The rows of the command registry, in the order of the command vocabulary.

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/BorderFiles.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/End.h"
#include "lumavex/shell/FilePasteByDrop.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Flipbook.h"
#include "lumavex/shell/HelpTopics.h"
#include "lumavex/shell/LightTable.h"
#include "lumavex/shell/LoadPolicy.h"
#include "lumavex/shell/MemoryCommands.h"
#include "lumavex/shell/NewPicture.h"
#include "lumavex/shell/ReducedSave.h"
#include "lumavex/shell/SaveCommands.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/SettingsFile.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/Zoom.h"
#include "lumavex/shell/tools/AreaTools.h"
#include "lumavex/shell/tools/CurveTools.h"
#include "lumavex/shell/tools/FilePasteTools.h"
#include "lumavex/shell/tools/FillTools.h"
#include "lumavex/shell/tools/PasteTools.h"
#include "lumavex/shell/tools/PenTools.h"
#include "lumavex/shell/tools/PointEditing.h"
#include "lumavex/shell/tools/RectangleTools.h"
#include "lumavex/shell/tools/SurfaceTools.h"
#include "lumavex/shell/tools/TabletTools.h"

namespace lumavex {
namespace {

// A command whose handler needs the state alone.
template <auto F>
void Run(AppState& state, int) {
  F(state);
}

void ReadDrawingSettings(AppState& s, int) {
  ReadDrawingSettingsCommand(s, s.files.drawingSettingsFileName);
}
void Minimise(AppState& s, int) {
  s.host.Minimise();
}
void Undo(AppState& s, int) {
  UndoCommand(s, UndoMode::Full);
}
void UndoFrameOnly(AppState& s, int) {
  UndoCommand(s, UndoMode::FrameOnly);
}
void Zoom(AppState& s, int id) {
  SetZoom(s, *ZoomCodeOfCommand(id), true);
}
void BitmapView(AppState& s, int) {
  SetViewKind(s, ViewKind::Bitmap);
}
void FrameView(AppState& s, int) {
  SetViewKind(s, ViewKind::Frame);
}
void SightOn(AppState& s, int) {
  ShowSight(s, true);
}
void SightOff(AppState& s, int) {
  ShowSight(s, false);
}
void XyOn(AppState& s, int) {
  ShowXyText(s, true);
}
void XyOff(AppState& s, int) {
  ShowXyText(s, false);
}
void Setting(AppState& s, int id) {
  RunSettingCommand(s, id);
}
void Help(AppState& s, int id) {
  ShowHelpTopic(s.host, id);
}

void SavePasteFiles(AppState& s, int) {
  SavePasteFilesCommand(s);
}

// Arms the drop routing for a run over dropped files.
void ArmDropMode(AppState& s, int id) {
  s.currentCommand = id;
  s.modeStatusText = FindCommand(id)->status;
  SetStatusText(s, s.modeStatusText);
}

constexpr Choice kNeutral = Choice::Neutral;
constexpr Choice kMarking = Choice::Marking;
constexpr Choice kRepeatable = Choice::RepeatableMarking;

// A zoom level: neutral, usable without a picture.
constexpr CommandEntry ZoomRow(int id) {
  return {.id = id, .handler = Zoom, .choice = kNeutral};
}
constexpr CommandEntry HelpRow(int id) {
  return {.id = id, .handler = Help, .choice = kNeutral};
}
// A parameter dialog that leaves the marks alone.
constexpr CommandEntry DialogRow(int id, int dialogId, const char* status,
                                 Choice choice = kNeutral) {
  return {.id = id,
          .handler = Setting,
          .needsPicture = true,
          .choice = choice,
          .status = status,
          .settingDialog = dialogId};
}
// A pen's settings dialog, then the pen.
constexpr CommandEntry SetPenRow(int id, int dialogId, const char* status, int pen) {
  return {.id = id,
          .handler = Setting,
          .needsPicture = true,
          .choice = kMarking,
          .status = status,
          .settingDialog = dialogId,
          .following = pen};
}
// A group or span mode of the continuous paste: the paste tools position the curves
// over the group's file, and the arrow keys load nothing meanwhile.
constexpr CommandEntry PasteGroupRow(int id, CommandHandler handler, const char* status) {
  return {.id = id,
          .handler = handler,
          .tool = ToolOf<PasteTools>,
          .needsPicture = true,
          .phase = Phase::Paste,
          .keepsArrows = true,
          .status = status};
}
constexpr CommandEntry Internal(int id, Choice choice = Choice::Ordinary) {
  return {.id = id, .choice = choice, .internal = true};
}
// A tool's own command: it enters the tool, which takes the input in its modes.
constexpr CommandEntry ToolCommand(int id, ToolAccess tool, const char* status) {
  return {.id = id, .handler = EnterTool, .tool = tool, .needsPicture = true, .status = status};
}
// A pen: the pen tool takes the input; its marks last until the next choice.
constexpr CommandEntry PenRow(int id, const char* status) {
  return {.id = id,
          .handler = EnterTool,
          .tool = ToolOf<PenTools>,
          .needsPicture = true,
          .choice = kMarking,
          .status = status};
}
// A fill mode, entered through its handler after what it asks first.
constexpr CommandEntry FillRow(int id, const char* status) {
  return {.id = id,
          .handler = ChooseFillCommand,
          .tool = ToolOf<FillTools>,
          .needsPicture = true,
          .choice = kMarking,
          .status = status};
}
// A select or deselect fill mode; its marks last until the next choice.
constexpr CommandEntry AreaRow(int id, const char* status) {
  return {.id = id,
          .handler = ChooseAreaFillCommand,
          .tool = ToolOf<AreaTools>,
          .needsPicture = true,
          .choice = kMarking,
          .status = status};
}
// A fill over the whole selection, run at once; choosing it again repaints nothing.
constexpr CommandEntry WholeAreaFillRow(int id) {
  return {.id = id, .handler = WholeAreaFillCommand, .needsPicture = true, .choice = kRepeatable};
}
// A later phase of a tool, whose keypad and arrow keys act on what is picked when
// `phase` says so.
constexpr CommandEntry PhaseRow(int id, Phase phase, Choice choice = Choice::Ordinary,
                                ToolAccess tool = nullptr) {
  return {.id = id,
          .tool = tool,
          .choice = choice,
          .phase = phase,
          .keepsArrows = phase != Phase::None,
          .internal = true};
}
// The commit of a tool, sent by the tool itself.
constexpr CommandEntry Commit(int id, CommandHandler handler, Choice choice = kNeutral) {
  return {.id = id, .handler = handler, .choice = choice, .internal = true};
}

// A paste position mode of a picture pasted whole, entered once its picture is held.
constexpr CommandEntry FilePastePhase(int id) {
  return {.id = id,
          .handler = EnterPastePosition,
          .tool = ToolOf<FilePasteTools>,
          .phase = Phase::Paste,
          .keepsArrows = true,
          .internal = true};
}

constexpr CommandEntry kRows[] = {
    // File
    {.id = cmd::kNewPicture, .handler = Run<NewPictureCommand>},
    {.id = cmd::kCreateBlankPicture, .handler = Run<CreateBlankPictureCommand>, .internal = true},
    {.id = cmd::kLoad, .handler = Run<LoadCommand>},
    {.id = cmd::kLoadCurrentFile, .handler = Run<LoadCurrentFile>, .internal = true},
    {.id = cmd::kReadDrawingSettings, .handler = ReadDrawingSettings, .internal = true},
    {.id = cmd::kSaveNative, .handler = Run<SaveNativeCommand>, .needsPicture = true},
    {.id = cmd::kSaveReducedBmp, .handler = Run<SaveReducedBmpCommand>, .needsPicture = true},
    {.id = cmd::kSaveReducedBmpByDrop,
     .handler = ArmDropMode,
     .needsPicture = true,
     .status = "★連続縮小ＢＭＰセーブ"},
    Internal(cmd::kReducedSaveStep),
    {.id = cmd::kSaveBmp, .handler = SaveBmpCommand, .needsPicture = true},
    {.id = cmd::kSaveGrey256, .handler = SaveBmpCommand, .needsPicture = true},
    {.id = cmd::kSaveGrey16, .handler = SaveBmpCommand, .needsPicture = true},
    {.id = cmd::kSaveGrey4, .handler = SaveBmpCommand, .needsPicture = true},
    {.id = cmd::kSaveGrey2, .handler = SaveBmpCommand, .needsPicture = true},
    {.id = cmd::kSavePng, .handler = SavePngCommand, .needsPicture = true},
    {.id = cmd::kSavePngGrey, .handler = SavePngCommand, .needsPicture = true},
    ToolCommand(cmd::kSaveRectangle, ToolOf<RectangleTools>, "★矩形部分セーブ"),
    {.id = cmd::kSaveDrawingSettings,
     .handler = Run<SaveDrawingSettingsCommand>,
     .needsPicture = true},
    Internal(cmd::kDropArrived),

    // Memory and program
    {.id = cmd::kCleanMemory, .handler = Run<CleanMemoryCommand>, .choice = kNeutral},
    {.id = cmd::kFreeMemory, .handler = Run<FreeMemoryCommand>},
    {.id = cmd::kMinimise, .handler = Minimise, .choice = kNeutral},
    {.id = cmd::kEnd, .handler = Run<EndCommand>},

    // Undo
    {.id = cmd::kUndo, .handler = Undo, .needsPicture = true, .choice = kNeutral},
    {.id = cmd::kUndoFrameOnly, .handler = UndoFrameOnly, .needsPicture = true, .choice = kNeutral},
    {.id = cmd::kRedo, .handler = Run<RedoCommand>, .needsPicture = true, .choice = kNeutral},

    // View
    ZoomRow(cmd::kZoom1of32),
    ZoomRow(cmd::kZoom1of16),
    ZoomRow(cmd::kZoom1of8),
    ZoomRow(cmd::kZoom1of4),
    ZoomRow(cmd::kZoom1of2),
    ZoomRow(cmd::kZoom100),
    ZoomRow(cmd::kZoom200),
    ZoomRow(cmd::kZoom300),
    ZoomRow(cmd::kZoom400),
    ZoomRow(cmd::kZoom600),
    ZoomRow(cmd::kZoom800),
    ZoomRow(cmd::kZoom1000),
    ZoomRow(cmd::kZoom1500),
    ZoomRow(cmd::kZoom2000),
    {.id = cmd::kBitmapView, .handler = BitmapView, .choice = kNeutral},
    {.id = cmd::kFrameView, .handler = FrameView, .choice = kNeutral},
    {.id = cmd::kSightOn, .handler = SightOn, .choice = kNeutral},
    {.id = cmd::kSightOff, .handler = SightOff, .choice = kNeutral},
    {.id = cmd::kXyOn, .handler = XyOn, .choice = kNeutral},
    {.id = cmd::kXyOff, .handler = XyOff, .choice = kNeutral},
    {.id = cmd::kLightTable,
     .handler = Run<ToggleLightTable>,
     .needsPicture = true,
     .choice = kNeutral},
    {.id = cmd::kLightTableSettings, .handler = Run<LightTableSettingsCommand>, .choice = kNeutral},
    {.id = cmd::kFlipbook, .handler = Run<PlayFlipbook>, .needsPicture = true, .choice = kNeutral},
    {.id = cmd::kFlipbookSettings, .handler = Run<FlipbookSettingsCommand>, .choice = kNeutral},

    // Load-size policies
    {.id = cmd::kLoadSameSize, .handler = ChooseLoadPolicy, .choice = kNeutral},
    {.id = cmd::kLoadPolicy2, .handler = ChooseLoadPolicy, .choice = kNeutral},
    {.id = cmd::kLoadPolicy3, .handler = ChooseLoadPolicy, .choice = kNeutral},
    {.id = cmd::kLoadPolicy4, .handler = ChooseLoadPolicy, .choice = kNeutral},

    // Curve tools and their phases
    ToolCommand(cmd::kCurve, ToolOf<CurveTools>, "★フレーム曲線描画"),
    PhaseRow(cmd::kCurveEdit, Phase::Edit, kMarking, ToolOf<CurveTools>),
    Commit(cmd::kCurveCommit, CommitCurve),
    Commit(cmd::kCurveCommitLines, CommitCurve),
    ToolCommand(cmd::kTransparentCurve, ToolOf<CurveTools>, "★透明フレーム曲線描画"),
    PhaseRow(cmd::kTransparentCurveEdit, Phase::Edit, kMarking, ToolOf<CurveTools>),
    Commit(cmd::kTransparentCurveCommit, CommitCurve),
    Commit(cmd::kTransparentCurveCommitLines, CommitCurve),
    ToolCommand(cmd::kColourChangeCurve, ToolOf<CurveTools>, "★フレーム色変更曲線描画"),
    PhaseRow(cmd::kColourChangeCurveEdit, Phase::Edit, kMarking, ToolOf<CurveTools>),
    Commit(cmd::kColourChangeCurveCommit, CommitCurve),
    Commit(cmd::kColourChangeCurveCommitLines, CommitCurve),
    ToolCommand(cmd::kEllipse, ToolOf<RectangleTools>, "★楕円描画"),
    PhaseRow(cmd::kEllipseDrag, Phase::None, Choice::Ordinary, ToolOf<RectangleTools>),
    PhaseRow(cmd::kEllipseEdit, Phase::Edit, kMarking, ToolOf<RectangleTools>),
    Commit(cmd::kEllipseDraw, Run<DrawEllipseCommand>),
    PhaseRow(cmd::kRectangleDrag, Phase::None, Choice::Ordinary, ToolOf<RectangleTools>),
    PhaseRow(cmd::kRectangleEdit, Phase::Edit, Choice::Ordinary, ToolOf<RectangleTools>),
    Commit(cmd::kRectangleSave, Run<SaveRectangleCommand>, Choice::Ordinary),
    {.id = cmd::kMoveAllBasePoints, .handler = Run<MoveAllBasePointsIntoPicture>},

    // Parameter dialogs
    DialogRow(cmd::kSetMaxOpacity, dialog::kMaxOpacity, "★最高不透明度設定"),
    DialogRow(cmd::kSetHeadFade, dialog::kHeadFade, "★先頭フェード距離設定"),
    DialogRow(cmd::kSetTerminationFade, dialog::kTerminationFade, "★終端フェード距離設定"),
    DialogRow(cmd::kSetSplinePoints, dialog::kSplinePoints, "★スプライン点数設定"),
    DialogRow(cmd::kSetBorderOpacity, dialog::kBorderOpacity,
              "★塗りつぶし境界フレーム不透明度設定"),
    DialogRow(cmd::kSetProcessingSquare, dialog::kProcessingSquare, "★描画処理正方形設定",
              kMarking),
    DialogRow(cmd::kSetPointSpacing, dialog::kPointSpacing, "★描画精度指定", kMarking),
    DialogRow(cmd::kSetReductionRatio, dialog::kReductionRatio, "★縮小BMPセーブの縮小率指定",
              kMarking),
    DialogRow(cmd::kSetFrameWidth, dialog::kFrameWidth, "★フレーム幅設定"),
    DialogRow(cmd::kSetAntiAliasWidth, dialog::kAntiAliasWidth, "★フレームアンチエイリアス幅設定"),

    // Tablet smoothing curve
    {.id = cmd::kSmoothingCurve,
     .handler = EnterTool,
     .tool = ToolOf<TabletTools>,
     .needsPicture = true,
     .choice = kMarking,
     .status = "★スムージング曲線描画"},
    {.id = cmd::kSetSmoothingCurve,
     .handler = SetSmoothingCurve,
     .needsPicture = true,
     .status = "★フレームベジェ＆スプライン曲線設定",
     .settingDialog = dialog::kTabletCurve,
     .following = cmd::kSmoothingCurve},

    // Frame pens
    PenRow(cmd::kColourChangePen, "★フレーム色変更ペン"),
    SetPenRow(cmd::kSetColourChangePen, dialog::kColourChangePen, "★フレーム色変更ペン設定",
              cmd::kColourChangePen),
    PenRow(cmd::kFrameGradationPen, "★フレームぼかしペン"),
    SetPenRow(cmd::kSetFrameGradationPen, dialog::kFrameGradationPen, "★フレームぼかしペン設定",
              cmd::kFrameGradationPen),
    PenRow(cmd::kDeletePen, "★フレーム削除ペン"),
    SetPenRow(cmd::kSetDeletePen, dialog::kDeletePen, "★フレーム削除ペン設定", cmd::kDeletePen),
    PenRow(cmd::kTransparentDeletePen, "★透明フレーム削除ペン"),
    SetPenRow(cmd::kSetTransparentDeletePen, dialog::kTransparentDeletePen,
              "★透明フレーム削除ペン設定", cmd::kTransparentDeletePen),

    // Bitmap pens
    PenRow(cmd::kNormalPen, "★ビットマップペン"),
    SetPenRow(cmd::kSetNormalPen, dialog::kNormalPen, "★ペン設定", cmd::kNormalPen),
    PenRow(cmd::kGradationPen, "★ビットマップぼかしペン"),
    SetPenRow(cmd::kSetGradationPen, dialog::kGradationPen, "★ぼかしペン設定", cmd::kGradationPen),
    PenRow(cmd::kMosaicPen, "★モザイクペン"),
    SetPenRow(cmd::kSetMosaicPen, dialog::kMosaicPen, "★モザイクペン設定", cmd::kMosaicPen),

    // Fills
    FillRow(cmd::kFillInFrame, "★フレーム内塗りつぶし"),
    FillRow(cmd::kFillNonDrawAreaInFrame, "★フレーム内非描画領域塗りつぶし"),
    FillRow(cmd::kFillBitmapInFrame, "★フレーム内ビットマップ塗りつぶし"),
    FillRow(cmd::kFillOneColour, "★単色領域塗りつぶし"),
    WholeAreaFillRow(cmd::kFillOneColourSelection),
    {.id = cmd::kFillOneColourSelectionStep, .handler = WholeAreaFillCommand, .internal = true},
    WholeAreaFillRow(cmd::kFillSelection),
    WholeAreaFillRow(cmd::kXorFillSelection),

    // Areas
    {.id = cmd::kSelectAll, .handler = ChangeSelectionCommand, .needsPicture = true},
    {.id = cmd::kDeselectAll, .handler = ChangeSelectionCommand, .needsPicture = true},
    AreaRow(cmd::kSelectArea, "★領域選択"),
    AreaRow(cmd::kDeselectArea, "★領域非選択"),
    {.id = cmd::kReverseArea,
     .handler = ChangeSelectionCommand,
     .needsPicture = true,
     .choice = kMarking},
    PenRow(cmd::kSelectPen, "★領域選択ペン"),
    SetPenRow(cmd::kSetSelectPen, dialog::kSelectPen, "★選択ペン設定", cmd::kSelectPen),
    PenRow(cmd::kDeselectPen, "★領域非選択ペン"),
    SetPenRow(cmd::kSetDeselectPen, dialog::kDeselectPen, "★非選択ペン設定", cmd::kDeselectPen),
    {.id = cmd::kSquareFatten,
     .handler = SquareFattenCommand,
     .needsPicture = true,
     .choice = kMarking,
     .status = "★全選択領域正方形太らせ設定",
     .settingDialog = dialog::kSquareFatten},
    {.id = cmd::kColourLineArtIntake, .handler = ColourLineArtIntakeCommand, .needsPicture = true},

    // Fade surfaces and the directional gradation
    ToolCommand(cmd::kFadeShadow, ToolOf<SurfaceTools>, "★フェード曲面描画( 円筒の影を外から描画)"),
    ToolCommand(cmd::kFadeGloss, ToolOf<SurfaceTools>,
                "★フェード曲面描画( 円筒の光沢を内から描画)"),
    ToolCommand(cmd::kFadeGentle, ToolOf<SurfaceTools>, "★フェード曲面描画( なだらかに描画)"),
    ToolCommand(cmd::kDirectionalGradation, ToolOf<SurfaceTools>, "★方向ぼかし"),

    // Memory copy and paste, pastes from files, border and opacity files
    // The copy's two curves are entered as the surfaces' are; the paste and the paint
    // with its image are greyed until there is something to paste (see PasteTools).
    {.id = cmd::kCopyToMemory,
     .handler = EnterTool,
     .tool = ToolOf<SurfaceTools>,
     .status = "★曲面をメモリへコピー"},
    // A marking mode, so that the marks of its pastes are cleared when it is left.
    {.id = cmd::kPasteFromMemory,
     .handler = EnterTool,
     .tool = ToolOf<PasteTools>,
     .choice = kMarking,
     .phase = Phase::Paste,
     .status = "★曲面をメモリからペースト"},
    {.id = cmd::kMirrorOnPaste, .handler = MirrorPasteCommand},
    {.id = cmd::kPaintPreviousPixels, .handler = PaintPreviousPixelsCommand},
    {.id = cmd::kPasteFromFile,
     .handler = PasteFromFileCommand,
     .needsPicture = true,
     .status = "★ファイルから単純ペースト"},
    {.id = cmd::kPasteFromFilesByDrop,
     .handler = PasteFromFilesByDropCommand,
     .needsPicture = true,
     .status = "★連続でファイルから単純ペースト"},
    {.id = cmd::kPasteString, .handler = PasteStringCommand, .needsPicture = true},
    {.id = cmd::kMakeBorderFile, .handler = MakeBorderFileCommand, .needsPicture = true},
    {.id = cmd::kMakeOpacity, .handler = MakeOpacityCommand, .needsPicture = true},
    {.id = cmd::kSaveOpacityFile, .handler = SaveOpacityFileCommand, .needsPicture = true},

    // Continuous paste from memory
    {.id = cmd::kCreatePasteFiles,
     .handler = CreatePasteFilesCommand,
     .needsPicture = true,
     .status = "★メモリから連続貼り付け対象ファイル郡作成"},
    {.id = cmd::kLoadPasteFiles,
     .handler = LoadPasteFilesCommand,
     .needsPicture = true,
     .status = "★メモリから連続貼り付け対象ファイル郡ロード"},
    PasteGroupRow(cmd::kSetPasteGroup1, SetPasteGroupCommand, "★メモリから連続貼り付け用基点郡設定１"),
    PasteGroupRow(cmd::kSetPasteGroup2, SetPasteGroupCommand, "★メモリから連続貼り付け用基点郡設定２"),
    PasteGroupRow(cmd::kSetPasteGroup3, SetPasteGroupCommand, "★メモリから連続貼り付け用基点郡設定３"),
    {.id = cmd::kSetPasteGroup4, .handler = LoopMovieCommand, .needsPicture = true},
    PasteGroupRow(cmd::kPasteSpan1To2, PasteSpanCommand, "★メモリから連続貼り付け１～２"),
    PasteGroupRow(cmd::kPasteSpan2To3, PasteSpanCommand, "★メモリから連続貼り付け２～３"),
    PasteGroupRow(cmd::kPasteSpan3To4, PasteSpanCommand, "★メモリから連続貼り付け３～４"),
    {.id = cmd::kSavePasteFiles, .handler = SavePasteFiles, .needsPicture = true},

    // Help topics
    HelpRow(cmd::kHelpBasics),
    HelpRow(cmd::kHelpFiles),
    HelpRow(cmd::kHelpView),
    HelpRow(cmd::kHelpCurves),
    HelpRow(cmd::kHelpFrameSettings),
    HelpRow(cmd::kHelpEllipse),
    {.id = cmd::kHelpTablet, .handler = Help},
    HelpRow(cmd::kHelpFills),
    HelpRow(cmd::kHelpPens),
    HelpRow(cmd::kHelpAreas),
    {.id = cmd::kHelpFadeSurfaces, .handler = Help},
    HelpRow(cmd::kHelpMemoryPaste),
    HelpRow(cmd::kHelpFilePaste),
    HelpRow(cmd::kHelpContinuousPaste),
    {.id = cmd::kHelpUndo, .handler = Help},
    HelpRow(cmd::kHelpLightTable),
    HelpRow(cmd::kHelpFlipbook),
    {.id = cmd::kHelpRangeUnused, .choice = kNeutral, .internal = true},

    // Two-curve tools: edit phases, commits and second-curve phases
    PhaseRow(cmd::kFadeShadowEdit, Phase::Edit, kMarking, ToolOf<SurfaceTools>),
    PhaseRow(cmd::kFadeGlossEdit, Phase::Edit, kMarking, ToolOf<SurfaceTools>),
    PhaseRow(cmd::kFadeGentleEdit, Phase::Edit, kMarking, ToolOf<SurfaceTools>),
    Commit(cmd::kFadeShadowCommitSurface, CommitFadeSurface),
    Commit(cmd::kFadeShadowCommitPolygon, CommitFadeSurface),
    Commit(cmd::kFadeGlossCommitSurface, CommitFadeSurface),
    Commit(cmd::kFadeGlossCommitPolygon, CommitFadeSurface),
    Commit(cmd::kFadeGentleCommitSurface, CommitFadeSurface),
    Commit(cmd::kFadeGentleCommitPolygon, CommitFadeSurface),
    PhaseRow(cmd::kDirectionalGradationEdit, Phase::Edit, kMarking, ToolOf<SurfaceTools>),
    Commit(cmd::kDirectionalGradationCommit, CommitDirectionalGradation),
    // Sent by the edit phase: checks the curves and starts the direction list.
    {.id = cmd::kDirectionalGradationCommitEdit,
     .handler = DirectionPhaseCommand,
     .tool = ToolOf<SurfaceTools>,
     .choice = kMarking,
     .phase = Phase::Edit,
     .keepsArrows = true,
     .internal = true},
    // The copy's edit phase nudges its points, but Left and Right still load.
    {.id = cmd::kCopyToMemoryEdit,
     .tool = ToolOf<SurfaceTools>,
     .choice = kMarking,
     .phase = Phase::Edit,
     .internal = true},
    Commit(cmd::kCopyToMemoryCommit, CopyToMemoryCommand, Choice::Ordinary),
    PhaseRow(cmd::kFadeShadowSecondCurve, Phase::None, Choice::Ordinary, ToolOf<SurfaceTools>),
    PhaseRow(cmd::kFadeGlossSecondCurve, Phase::None, Choice::Ordinary, ToolOf<SurfaceTools>),
    PhaseRow(cmd::kFadeGentleSecondCurve, Phase::None, Choice::Ordinary, ToolOf<SurfaceTools>),
    PhaseRow(cmd::kDirectionalGradationSecondCurve, Phase::None, Choice::Ordinary,
             ToolOf<SurfaceTools>),
    PhaseRow(cmd::kCopyToMemorySecondCurve, Phase::None, Choice::Ordinary, ToolOf<SurfaceTools>),

    // Paste position modes
    PhaseRow(cmd::kFilePastePosition, Phase::Paste),
    PhaseRow(cmd::kFilePasteAtTopLeft, Phase::Paste),
    FilePastePhase(cmd::kStringPasteAtTopLeft),
    Internal(cmd::kUnavailablePasteAtTopLeft),
    PhaseRow(cmd::kUnavailablePastePosition, Phase::Paste),
    FilePastePhase(cmd::kSimplePastePosition),

    // Phases of the paste from memory and of the continuous paste
    PhaseRow(cmd::kMemoryPastePhase1, Phase::Paste),
    PhaseRow(cmd::kMemoryPastePhase2, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteGroup1Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteGroup1Phase2, Phase::Paste),
    PhaseRow(cmd::kPasteGroup2Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteGroup2Phase2, Phase::Paste),
    PhaseRow(cmd::kPasteGroup3Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteGroup3Phase2, Phase::Paste),
    PhaseRow(cmd::kPasteSpan1To2Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteSpan1To2Phase2, Phase::Paste),
    PhaseRow(cmd::kPasteSpan2To3Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteSpan2To3Phase2, Phase::Paste),
    PhaseRow(cmd::kPasteSpan3To4Phase1, Phase::Paste, kMarking),
    PhaseRow(cmd::kPasteSpan3To4Phase2, Phase::Paste),
};

}  // namespace

std::span<const CommandEntry> CommandEntries() {
  return kRows;
}

}  // namespace lumavex
