#include "lumavex/shell/SettingDialogs.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "lumavex/canvas/SettingLimits.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr const char* kNotNumber = "数値を入力して下さい。";
constexpr const char* kPenWidthLabel = "ペン幅( 0 ～)";

struct Messages {
  std::string notNumber;
  std::string belowLower;
  std::string aboveUpper;
};

// A limit as the refusals write it, in full-width digits ("１００以上").
std::string LimitText(std::optional<int> limit, const char* side) {
  if (!limit) return "";
  std::string text;
  for (char c : std::to_string(*limit))
    text += c == '-' ? std::string("－")
                     : std::string{'\xEF', '\xBC', static_cast<char>('\x90' + (c - '0'))};
  return text + side;
}

// The refusals of a field the dialog title alone describes ("１以上の数値を入力して下さい。").
Messages Plain(const SettingRange& range, const std::string& prefix = "") {
  const auto refusal = [&](std::optional<int> limit, const char* side) {
    return limit ? prefix + LimitText(limit, side) + "の数値を入力して下さい。" : std::string();
  };
  return {prefix + kNotNumber, refusal(range.lower, "以上"), refusal(range.upper, "以下")};
}

// The refusals of a field that its label names ("ペン幅に数値を入力して下さい。").
Messages Named(const std::string& name, const SettingRange& range) {
  return Plain(range, name + "に");
}

IntegerField Field(int controlId, std::string label, int start, const SettingRange& range,
                   Messages messages, std::function<void(int)> store) {
  IntegerField f;
  f.controlId = controlId;
  f.label = std::move(label);
  f.startValue = start;
  f.lower = range.lower;
  f.upper = range.upper;
  f.notNumberMessage = std::move(messages.notNumber);
  f.belowLowerMessage = std::move(messages.belowLower);
  f.aboveUpperMessage = std::move(messages.aboveUpper);
  f.store = std::move(store);
  return f;
}

std::function<void(int)> StoreInto(int& target) {
  return [&target](int v) { target = v; };
}

// A 1/100-pixel field kept in pixels.
std::function<void(int)> StoreHundredths(double& target) {
  return [&target](int v) { target = v / 100.0; };
}

ParameterDialogForm SingleField(int id, std::string title, IntegerField field) {
  ParameterDialogForm form;
  form.id = id;
  form.title = std::move(title);
  form.fields = {std::move(field)};
  return form;
}

ParameterDialogForm PenWidthOnly(int id, std::string title, int& width) {
  return SingleField(id, std::move(title),
                     Field(kFirstField, kPenWidthLabel, width, limit::kPenWidth,
                           Named("ペン幅", limit::kPenWidth), StoreInto(width)));
}

// Pen width and the degree of a gradation pen.
ParameterDialogForm GradationPen(int id, std::string title, int& width, int& degree) {
  ParameterDialogForm form;
  form.id = id;
  form.title = std::move(title);
  form.fields = {Field(kFirstField, kPenWidthLabel, width, limit::kPenWidth,
                       Named("ペン幅", limit::kPenWidth), StoreInto(width)),
                 Field(kSecondField, "ぼかし度合い( 1 ～)", degree, limit::kGradationDegree,
                       Named("ぼかし度合い", limit::kGradationDegree), StoreInto(degree))};
  return form;
}

ParameterDialogForm TwoSides(int id, std::string title, std::string widthLabel,
                             std::string heightLabel, int& width, int& height) {
  const SettingRange& side = limit::kLoadLimitSide;
  ParameterDialogForm form;
  form.id = id;
  form.title = std::move(title);
  form.fields = {
      Field(kFirstField, std::move(widthLabel), width, side, Plain(side), StoreInto(width)),
      Field(kSecondField, std::move(heightLabel), height, side, Plain(side), StoreInto(height))};
  return form;
}

ParameterDialogForm BorderOpacity(DrawingSettings& s) {
  const std::string border = "塗りつぶし境界フレーム不透明度";
  const std::string area = "領域塗りつぶし境界フレーム不透明度";
  ParameterDialogForm form;
  form.id = dialog::kBorderOpacity;
  form.title = border + "( 1 ～ 255)( Set frame border opacity for paint.)";
  const SettingRange& opacity = limit::kBorderOpacity;
  form.fields = {Field(kFirstField, border + "( 1 ～ 255)", s.borderFrameOpacity, opacity,
                       Named(border, opacity), StoreInto(s.borderFrameOpacity)),
                 Field(kSecondField, area + "( 1 ～ 255)", s.areaBorderFrameOpacity, opacity,
                       Named(area, opacity), StoreInto(s.areaBorderFrameOpacity))};
  form.storeEachOnPass = true;
  return form;
}

ParameterDialogForm ColourChangePen(DrawingSettings& s) {
  ParameterDialogForm form =
      PenWidthOnly(dialog::kColourChangePen, "フレーム色変更ペン設定( Set change frame color pen.)",
                   s.colourChangePenWidth);
  form.checkBoxes = {{kDeleteFrameCheck, "フレームを削除", s.colourChangeDeletesFrame,
                      [&s](bool on) { s.colourChangeDeletesFrame = on; }}};
  return form;
}

ParameterDialogForm MosaicPen(DrawingSettings& s) {
  ParameterDialogForm form =
      PenWidthOnly(dialog::kMosaicPen, "モザイクペン設定( Set mosaic pen.)", s.mosaicPenWidth);
  form.fields.push_back(Field(kSecondField, "モザイク幅( 2 ～)", s.mosaicCellWidth,
                              limit::kMosaicCellWidth, Named("モザイク幅", limit::kMosaicCellWidth),
                              StoreInto(s.mosaicCellWidth)));
  return form;
}

ParameterDialogForm SquareFatten(DrawingSettings& s) {
  ParameterDialogForm form;
  form.id = dialog::kSquareFatten;
  form.title = "全選択領域正方形太らせ( All choice area square fatten.)( 100 = 1 ピクセル)";
  form.fields = {Field(kFirstField, "太らせ幅( 100 ～)", s.fattenWidth, limit::kFattenWidth,
                       Named("太らせ幅", limit::kFattenWidth), StoreInto(s.fattenWidth)),
                 Field(kSecondField, "太らせアンチエイリアス幅( 0 ～)", s.fattenAntiAliasWidth,
                       limit::kFattenAntiAliasWidth,
                       Named("太らせアンチエイリアス幅", limit::kFattenAntiAliasWidth),
                       StoreInto(s.fattenAntiAliasWidth))};
  form.okCode = 1;
  form.cancelCode = 2;
  return form;
}

ParameterDialogForm ReductionRatio(DrawingSettings& s) {
  const SettingRange& term = limit::kReductionTerm;
  ParameterDialogForm form;
  form.id = dialog::kReductionRatio;
  form.title = "縮小BMPセーブの縮小率指定";
  form.fields = {Field(kFirstField, "縮小率の分子", s.reductionNumerator, term, Plain(term),
                       StoreInto(s.reductionNumerator)),
                 Field(kSecondField, "縮小率の分母", s.reductionDenominator, term, Plain(term),
                       StoreInto(s.reductionDenominator))};
  form.fields[0].trailingText = "／";
  form.checkTogether = [](const std::vector<int>& v) -> std::optional<std::string> {
    if (v[0] < v[1]) return std::nullopt;
    return "分子＜分母でなければなりません。";
  };
  return form;
}

ParameterDialogForm TabletCurve(DrawingSettings& s, int pressureRange) {
  ParameterDialogForm form;
  form.id = dialog::kTabletCurve;
  form.title = "フレームベジェ＆スプライン曲線設定";
  form.fields = {Field(kFirstField, "最大基点数( 2 ～ 1600。スムージング度。小さいほど強い)",
                       s.tabletMaxBasePoints, limit::kTabletMaxBasePoints,
                       Plain(limit::kTabletMaxBasePoints), StoreInto(s.tabletMaxBasePoints)),
                 Field(kSecondField, "最小筆圧( 0 ～ 99( %))",
                       PressurePercentShown(s.tabletMinPressure, pressureRange),
                       limit::kTabletMinPressurePercent, Plain(limit::kTabletMinPressurePercent),
                       [&s, pressureRange](int percent) {
                         s.tabletMinPressure = RawPressureOfPercent(percent, pressureRange);
                       })};
  return form;
}

platform::DialogModel FileNumberStep(DrawingSettings& s) {
  platform::DialogModel model;
  model.id = dialog::kFileNumberStep;
  model.title = "ファイル名変更規則指定";
  constexpr int kHundredButton = kFirstStepButton + 5;
  for (int i = 0; i < 8; ++i) {
    const int id = kFirstStepButton + i;
    model.controls.push_back({id, platform::ControlKind::Radio,
                              "+" + std::to_string(kFileNumberSteps[i]), "", id == kHundredButton});
  }
  model.focusId = kHundredButton;
  model.okCode = 1;
  model.cancelCode = 2;
  model.onOk = [&s](platform::DialogModel& m) -> std::optional<platform::DialogMessage> {
    for (int i = 0; i < 8; ++i)
      if (m.Checked(kFirstStepButton + i)) s.fileNumberStep = kFileNumberSteps[i];
    return std::nullopt;
  };
  return model;
}

std::optional<ParameterDialogForm> SettingForm(int dialogId, DrawingSettings& s,
                                               int pressureRange) {
  switch (dialogId) {
    case dialog::kSplinePoints:
      return SingleField(dialogId, "スプライン点数( Point number of spline.)( 2 ～)",
                         Field(kFirstField, "", s.splinePointCount, limit::kSplinePointCount,
                               Plain(limit::kSplinePointCount), StoreInto(s.splinePointCount)));
    case dialog::kFrameWidth:
      return SingleField(dialogId, "フレーム幅( Set frame width.)( 0 ～ ( 100 = 1 ピクセル))",
                         Field(kFirstField, "", HundredthsShown(s.frameWidth), limit::kFrameWidth,
                               Plain(limit::kFrameWidth), StoreHundredths(s.frameWidth)));
    case dialog::kMaxOpacity:
      return SingleField(dialogId, "最高不透明度( Max non transparently rate.)( 1～255)",
                         Field(kFirstField, "", s.maxOpacity, limit::kMaxOpacity,
                               Plain(limit::kMaxOpacity), StoreInto(s.maxOpacity)));
    case dialog::kHeadFade:
      return SingleField(
          dialogId,
          "先頭フェード距離( Head fade distance for frame and fade.)( 0 ～ ( 100 = 1 ピクセル))",
          Field(kFirstField, "", HundredthsShownRounded(s.headFade), limit::kFadeDistance,
                Plain(limit::kFadeDistance), StoreHundredths(s.headFade)));
    case dialog::kTerminationFade:
      return SingleField(
          dialogId,
          "終端フェード距離( Termination fade distance for frame and fade.)( 0 ～ ( 100 = 1 "
          "Pixel))",
          Field(kFirstField, "", HundredthsShownRounded(s.terminationFade), limit::kFadeDistance,
                Plain(limit::kFadeDistance), StoreHundredths(s.terminationFade)));
    case dialog::kGradationPen:
      return GradationPen(dialogId, "ぼかしペン設定( Set gradation pen.)", s.gradationPenWidth,
                          s.gradationDegree);
    case dialog::kNormalPen:
      return PenWidthOnly(dialogId, "ペン設定( Set normal pen.)", s.normalPenWidth);
    case dialog::kDeletePen:
      return PenWidthOnly(dialogId, "フレーム削除ペン設定( Set delete frame pen.)",
                          s.frameDeletePenWidth);
    case dialog::kColourChangePen:
      return ColourChangePen(s);
    case dialog::kMosaicPen:
      return MosaicPen(s);
    case dialog::kFrameGradationPen:
      return GradationPen(dialogId, "フレームぼかしペン設定( Set frame gradation pen.)",
                          s.frameGradationPenWidth, s.frameGradationDegree);
    case dialog::kAntiAliasWidth:
      return SingleField(
          dialogId,
          "フレームアンチエイリアス幅( Set anti-alias width.)( 100 ～ ( 100 = 1 ピクセル))",
          Field(kFirstField, "", HundredthsShown(s.antiAliasWidth), limit::kAntiAliasWidth,
                Plain(limit::kAntiAliasWidth), StoreHundredths(s.antiAliasWidth)));
    case dialog::kBorderOpacity:
      return BorderOpacity(s);
    case dialog::kRgbTolerance: {
      ParameterDialogForm form = SingleField(
          dialogId, "RGB許容範囲設定( RGB permissible level.)",
          Field(kFirstField, "許容 RGB 輝度( 0 ～ 255)", s.rgbTolerance, limit::kRgbTolerance,
                Named("許容 RGB 輝度", limit::kRgbTolerance), StoreInto(s.rgbTolerance)));
      form.okCode = 1;
      form.cancelCode = 2;
      return form;
    }
    case dialog::kTransparentDeletePen:
      return PenWidthOnly(dialogId, "透明フレーム削除ペン設定( Set delete frame pen.)",
                          s.transparentDeletePenWidth);
    case dialog::kSelectPen:
      return PenWidthOnly(dialogId, "選択ペン設定( Set area choice pen.)", s.selectPenWidth);
    case dialog::kDeselectPen:
      return PenWidthOnly(dialogId, "非選択ペン設定( Set area non choice pen.)",
                          s.deselectPenWidth);
    case dialog::kLoadSizeLimit:
      return TwoSides(dialogId, "ロード時サイズ指定", "幅( 2 ～)", "高さ( 2 ～)", s.loadLimitWidth,
                      s.loadLimitHeight);
    case dialog::kProcessingSquare:
      return SingleField(
          dialogId, "描画処理正方形( Set draw rectangle.)( 10 ～ 10000 ピクセル)",
          Field(kFirstField, "", s.processingSquareSide, limit::kProcessingSquareSide,
                Named("描画処理正方形", limit::kProcessingSquareSide),
                StoreInto(s.processingSquareSide)));
    case dialog::kSquareFatten:
      return SquareFatten(s);
    case dialog::kPointSpacing:
      return SingleField(dialogId, "描画精度指定( Specify of precision.)( 100 = 1 ピクセル)",
                         Field(kFirstField, "処理点間距離", s.pointSpacing, limit::kPointSpacing,
                               Plain(limit::kPointSpacing), StoreInto(s.pointSpacing)));
    case dialog::kReductionRatio:
      return ReductionRatio(s);
    case dialog::kTabletCurve:
      return TabletCurve(s, pressureRange);
    default:
      return std::nullopt;
  }
}

// Adds `delta` without leaving the range of int.
int Shifted(int value, int delta) {
  const long long shifted = static_cast<long long>(value) + delta;
  return static_cast<int>(std::clamp<long long>(shifted, INT_MIN, INT_MAX));
}

// The square fatten leaves no mode when cancelled; after OK its mode is set for the
// fatten that follows.
void FinishSquareFatten(AppState& state, int commandId, bool ok) {
  if (ok) {
    RestoreModeStatusText(state);
    state.currentCommand = commandId;
    return;
  }
  state.currentCommand = cmd::kNone;
  state.modeStatusText.clear();
  RestoreModeStatusText(state);
  Redraw(state);
  CloseUndoStep(state);
}

}  // namespace

int PressurePercentShown(int rawPressure, int tabletPressureRange) {
  const int span = tabletPressureRange - 2;
  if (span <= 0) return 0;
  return static_cast<int>(rawPressure * 100.0 / span + 0.5);
}

int RawPressureOfPercent(int percent, int tabletPressureRange) {
  const int span = tabletPressureRange - 2;
  if (span <= 0) return 0;
  return static_cast<int>(percent * static_cast<double>(span) / 100 + 0.5);
}

std::optional<platform::DialogModel> MakeSettingDialog(int dialogId, DrawingSettings& settings,
                                                       int tabletPressureRange) {
  if (dialogId == dialog::kFileNumberStep) return FileNumberStep(settings);
  auto form = SettingForm(dialogId, settings, tabletPressureRange);
  if (!form) return std::nullopt;
  return MakeParameterDialog(std::move(*form));
}

platform::DialogModel MakePasteTopLeftDialog(int& x, int& y) {
  const SettingRange anywhere;
  ParameterDialogForm form;
  form.id = dialog::kPasteTopLeft;
  form.title = "ペースト左上座標指定";
  form.fields = {Field(kFirstField, "左上Ｘ座標", Shifted(x, 1), anywhere, Plain(anywhere),
                       [&x](int v) { x = Shifted(v, -1); }),
                 Field(kSecondField, "左上Ｙ座標", Shifted(y, 1), anywhere, Plain(anywhere),
                       [&y](int v) { y = Shifted(v, -1); })};
  form.cancelCode = 2;
  form.cancelText = "CANCEL";
  return MakeParameterDialog(std::move(form));
}

bool AskSetting(AppState& state, int dialogId, int tabletPressureRange) {
  auto model = MakeSettingDialog(dialogId, state.settings, tabletPressureRange);
  if (!model) return false;
  return state.host.RunDialog(*model) == model->okCode;
}

bool RunSettingCommand(AppState& state, int commandId, int tabletPressureRange) {
  const CommandEntry* command = FindCommand(commandId);
  if (!command || command->settingDialog == 0) return false;

  SetStatusText(state, command->status);
  const bool ok = AskSetting(state, command->settingDialog, tabletPressureRange);
  if (command->settingDialog == dialog::kSquareFatten) {
    FinishSquareFatten(state, commandId, ok);
    return true;
  }
  RestoreModeStatusText(state);
  if (command->following != cmd::kNone) SendCommand(state, command->following);
  return true;
}

}  // namespace lumavex
