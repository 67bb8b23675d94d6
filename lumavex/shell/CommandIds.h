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

// Tablet smoothing curve
constexpr int kSmoothingCurve = 40223;
constexpr int kSetSmoothingCurve = 40224;

// Frame pens: pen mode / its settings dialog
constexpr int kColourChangePen = 40104;
constexpr int kSetColourChangePen = 40125;
constexpr int kFrameGradationPen = 40134;
constexpr int kSetFrameGradationPen = 40133;
constexpr int kDeletePen = 40053;
constexpr int kSetDeletePen = 40124;
constexpr int kTransparentDeletePen = 40155;
constexpr int kSetTransparentDeletePen = 40154;

// Bitmap pens: pen mode / its settings dialog
constexpr int kNormalPen = 40086;
constexpr int kSetNormalPen = 40123;
constexpr int kGradationPen = 40121;
constexpr int kSetGradationPen = 40122;
constexpr int kMosaicPen = 40128;
constexpr int kSetMosaicPen = 40127;

// Fills
constexpr int kFillInFrame = 40050;
constexpr int kFillNonDrawAreaInFrame = 40051;
constexpr int kFillBitmapInFrame = 40076;
constexpr int kFillOneColour = 40120;
constexpr int kFillOneColourSelection = 40140;
constexpr int kFillOneColourSelectionStep = 40226;  // internal
constexpr int kFillSelection = 40107;
constexpr int kXorFillSelection = 40135;

// Areas
constexpr int kSelectAll = 40062;
constexpr int kDeselectAll = 40063;
constexpr int kSelectArea = 40064;
constexpr int kDeselectArea = 40065;
constexpr int kReverseArea = 40200;
constexpr int kSelectPen = 40158;
constexpr int kSetSelectPen = 40159;
constexpr int kDeselectPen = 40161;
constexpr int kSetDeselectPen = 40160;
constexpr int kSquareFatten = 40192;
constexpr int kColourLineArtIntake = 40138;

// Fade surfaces and the directional gradation
constexpr int kFadeShadow = 40037;     // the shadow of a cylinder, drawn from outside
constexpr int kFadeGloss = 40038;      // the gloss of a cylinder, drawn from inside
constexpr int kFadeGentle = 40162;     // a gentle slope
constexpr int kDirectionalGradation = 40218;

// Memory copy and paste, pastes from files, border and opacity files
constexpr int kCopyToMemory = 40204;
constexpr int kPasteFromMemory = 40205;
constexpr int kMirrorOnPaste = 40286;
constexpr int kPaintPreviousPixels = 40217;
constexpr int kPasteFromFile = 40201;
constexpr int kPasteFromFilesByDrop = 40232;
constexpr int kPasteString = 40188;
constexpr int kMakeBorderFile = 40227;
constexpr int kMakeOpacity = 40228;
constexpr int kSaveOpacityFile = 40229;

// Continuous paste from memory (the ids between these are the phases of the groups)
constexpr int kCreatePasteFiles = 40236;
constexpr int kLoadPasteFiles = 40237;
constexpr int kSetPasteGroup1 = 40238;
constexpr int kSetPasteGroup2 = 40241;
constexpr int kSetPasteGroup3 = 40244;
constexpr int kSetPasteGroup4 = 40247;  // the loop movie check
constexpr int kPasteSpan1To2 = 40250;
constexpr int kPasteSpan2To3 = 40251;
constexpr int kPasteSpan3To4 = 40252;
constexpr int kSavePasteFiles = 40253;

// Light table and flipbook (the view's neighbours and the play of the folder)
constexpr int kLightTable = 40301;
constexpr int kLightTableSettings = 40302;
constexpr int kFlipbook = 40303;
constexpr int kFlipbookSettings = 40304;

// Help topics, each shown in the modeless help dialog
constexpr int kHelpBasics = 40061;
constexpr int kHelpFiles = 40156;
constexpr int kHelpView = 40148;
constexpr int kHelpCurves = 40096;
constexpr int kHelpFrameSettings = 40146;
constexpr int kHelpEllipse = 40215;
constexpr int kHelpTablet = 40282;
constexpr int kHelpFills = 40092;
constexpr int kHelpPens = 40143;
constexpr int kHelpAreas = 40144;
constexpr int kHelpFadeSurfaces = 40190;
constexpr int kHelpMemoryPaste = 40093;
constexpr int kHelpFilePaste = 40095;
constexpr int kHelpContinuousPaste = 40145;
constexpr int kHelpUndo = 40225;
constexpr int kHelpLightTable = 40305;
constexpr int kHelpFlipbook = 40306;
constexpr int kHelpRangeUnused = 40147;  // in the help range, with no topic of its own

// Fade surfaces, directional gradation and copy to memory: edit phases and commits
constexpr int kFadeShadowEdit = 40163;
constexpr int kFadeGlossEdit = 40164;
constexpr int kFadeGentleEdit = 40165;
constexpr int kFadeShadowCommitSurface = 40045;
constexpr int kFadeShadowCommitPolygon = 40111;
constexpr int kFadeGlossCommitSurface = 40168;
constexpr int kFadeGlossCommitPolygon = 40166;
constexpr int kFadeGentleCommitSurface = 40169;
constexpr int kFadeGentleCommitPolygon = 40167;
constexpr int kDirectionalGradationEdit = 40220;
constexpr int kDirectionalGradationCommit = 40221;
constexpr int kDirectionalGradationCommitEdit = 40222;
constexpr int kCopyToMemoryEdit = 40207;
constexpr int kCopyToMemoryCommit = 40208;

// Second-curve phases of the two-curve tools: the width points go into list B
constexpr int kFadeShadowSecondCurve = 40170;
constexpr int kFadeGlossSecondCurve = 40171;
constexpr int kFadeGentleSecondCurve = 40172;
constexpr int kDirectionalGradationSecondCurve = 40219;
constexpr int kCopyToMemorySecondCurve = 40206;

// Paste position modes: the picture to paste shown inside its four corner points
constexpr int kFilePastePosition = 40149;
constexpr int kFilePasteAtTopLeft = 40189;    // asks the top-left corner, then its mode
constexpr int kStringPasteAtTopLeft = 40191;  // asks the top-left corner, then its mode
constexpr int kUnavailablePasteAtTopLeft = 40202;
constexpr int kUnavailablePastePosition = 40203;
constexpr int kSimplePastePosition = 40233;  // pastes at 100 % zoom only, then leaves

// Phases of the paste from memory and of the continuous paste's groups and spans
constexpr int kMemoryPastePhase1 = 40209;
constexpr int kMemoryPastePhase2 = 40210;
constexpr int kPasteGroup1Phase1 = 40239;
constexpr int kPasteGroup1Phase2 = 40240;
constexpr int kPasteGroup2Phase1 = 40242;
constexpr int kPasteGroup2Phase2 = 40243;
constexpr int kPasteGroup3Phase1 = 40245;
constexpr int kPasteGroup3Phase2 = 40246;
constexpr int kPasteSpan1To2Phase1 = 40256;
constexpr int kPasteSpan1To2Phase2 = 40257;
constexpr int kPasteSpan2To3Phase1 = 40263;
constexpr int kPasteSpan2To3Phase2 = 40264;
constexpr int kPasteSpan3To4Phase1 = 40267;
constexpr int kPasteSpan3To4Phase2 = 40268;

}  // namespace lumavex::cmd
