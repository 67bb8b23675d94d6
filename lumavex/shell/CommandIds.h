#pragma once
// The program's command vocabulary: menu commands and the internal identifiers of
// tool phases. Logic names these constants, never bare numbers.

namespace lumavex::cmd {

constexpr int kNone = -1;

// File
constexpr int kNewPicture = 40079;
constexpr int kCreateBlankPicture = 40080;  // internal: blank picture of the current size
constexpr int kLoad = 40011;
constexpr int kLoadCurrentFile = 40014;     // internal
constexpr int kReadDrawingSettings = 40015; // internal
constexpr int kSaveNative = 40013;
constexpr int kSaveReducedBmp = 40213;
constexpr int kSaveReducedBmpByDrop = 40230;
constexpr int kReducedSaveStep = 40231;     // internal
constexpr int kSaveBmp = 40012;
constexpr int kSaveGrey256 = 40186;
constexpr int kSaveGrey16 = 40185;
constexpr int kSaveGrey4 = 40184;
constexpr int kSaveGrey2 = 40183;
constexpr int kSavePng = 40173;
constexpr int kSavePngGrey = 40187;
constexpr int kSaveRectangle = 40070;
constexpr int kSaveDrawingSettings = 40126;
constexpr int kDropArrived = 40285;         // internal: sent before a drop is routed

// Memory and program
constexpr int kCleanMemory = 40052;
constexpr int kFreeMemory = 40181;
constexpr int kMinimise = 40112;
constexpr int kEnd = 40006;
constexpr int kStatusItem = 40142;          // the blank right-most menu item

// Undo
constexpr int kUndo = 40008;
constexpr int kUndoFrameOnly = 40284;
constexpr int kRedo = 40180;

// View
constexpr int kZoom1of32 = 40194;
constexpr int kZoom1of16 = 40193;
constexpr int kZoom1of8 = 40197;
constexpr int kZoom1of4 = 40196;
constexpr int kZoom1of2 = 40195;
constexpr int kZoom100 = 40018;
constexpr int kZoom200 = 40019;
constexpr int kZoom300 = 40020;
constexpr int kZoom400 = 40021;
constexpr int kZoom600 = 40023;
constexpr int kZoom800 = 40025;
constexpr int kZoom1000 = 40026;
constexpr int kZoom1500 = 40105;
constexpr int kZoom2000 = 40067;
constexpr int kBitmapView = 40029;
constexpr int kFrameView = 40030;
constexpr int kSightOn = 40048;
constexpr int kSightOff = 40049;
constexpr int kXyOn = 40177;
constexpr int kXyOff = 40178;

// Load-size policies
constexpr int kLoadSameSize = 40174;
constexpr int kLoadPolicy2 = 40157;
constexpr int kLoadPolicy3 = 40176;
constexpr int kLoadPolicy4 = 40179;

// Curve tools and their phases
constexpr int kCurve = 40034;
constexpr int kCurveEdit = 40035;
constexpr int kCurveCommit = 40075;
constexpr int kCurveCommitLines = 40109;
constexpr int kTransparentCurve = 40150;
constexpr int kTransparentCurveEdit = 40151;
constexpr int kTransparentCurveCommit = 40153;
constexpr int kTransparentCurveCommitLines = 40152;
constexpr int kColourChangeCurve = 40129;
constexpr int kColourChangeCurveEdit = 40130;
constexpr int kColourChangeCurveCommit = 40132;
constexpr int kColourChangeCurveCommitLines = 40131;
constexpr int kEllipse = 40087;
constexpr int kEllipseDrag = 40088;
constexpr int kEllipseEdit = 40089;
constexpr int kEllipseDraw = 40090;
constexpr int kRectangleDrag = 40071;
constexpr int kRectangleEdit = 40072;
constexpr int kRectangleSave = 40074;
constexpr int kMoveAllBasePoints = 40234;

// Parameter dialogs
constexpr int kSetMaxOpacity = 40066;
constexpr int kSetHeadFade = 40077;
constexpr int kSetTerminationFade = 40078;
constexpr int kSetSplinePoints = 40031;
constexpr int kSetBorderOpacity = 40137;
constexpr int kSetProcessingSquare = 40182;
constexpr int kSetPointSpacing = 40212;
constexpr int kSetReductionRatio = 40214;
constexpr int kSetFrameWidth = 40044;
constexpr int kSetAntiAliasWidth = 40136;

}  // namespace lumavex::cmd
