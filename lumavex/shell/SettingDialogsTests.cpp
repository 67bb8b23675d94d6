#include "lumavex/shell/SettingDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/SettingsFile.h"

namespace lumavex {
namespace {

using platform::DialogAttempt;
using platform::DialogModel;

// Types `texts` and presses OK; the refusal text, or "" when accepted.
std::string TryOk(DialogModel& model, std::map<int, std::string> texts) {
  for (const auto& [id, text] : texts) model.SetText(id, text);
  const auto refusal = model.Accept();
  if (refusal) {
    EXPECT_EQ(refusal->caption, "指定エラー");
  }
  return refusal ? refusal->text : "";
}

DialogModel Dialog(int id, DrawingSettings& settings, int pressureRange = kNoTabletPressureRange) {
  auto model = MakeSettingDialog(id, settings, pressureRange);
  EXPECT_TRUE(model) << id;
  return model ? std::move(*model) : DialogModel{};
}

// One field's refusals: a text that is no number, a value below the lower bound and
// one above the upper bound, each with the message it must bring up.
struct FieldCase {
  int dialogId;
  int controlId;
  std::string notNumber;
  std::optional<int> below;
  std::string belowMessage;
  std::optional<int> above;
  std::string aboveMessage;
};

const std::vector<FieldCase>& FieldCases() {
  const std::string n = "数値を入力して下さい。";
  const std::string pen = "ペン幅に";
  static const std::vector<FieldCase> cases = {
      {106, 1000, n, 1, "２以上の数値を入力して下さい。", {}, ""},
      {107, 1000, n, -1, "０以上の数値を入力して下さい。", {}, ""},
      {108, 1000, n, 0, "１以上の数値を入力して下さい。", 256, "２５５以下の数値を入力して下さい。"},
      {109, 1000, n, -1, "０以上の数値を入力して下さい。", {}, ""},
      {110, 1000, n, -1, "０以上の数値を入力して下さい。", {}, ""},
      {113, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {113, 1001, "ぼかし度合いに" + n, 0, "ぼかし度合いに１以上の数値を入力して下さい。", {}, ""},
      {114, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {115, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {116, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {118, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {118, 1001, "モザイク幅に" + n, 1, "モザイク幅に２以上の数値を入力して下さい。", {}, ""},
      {119, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {119, 1001, "ぼかし度合いに" + n, 0, "ぼかし度合いに１以上の数値を入力して下さい。", {}, ""},
      {120, 1000, n, 99, "１００以上の数値を入力して下さい。", {}, ""},
      {121, 1000, "塗りつぶし境界フレーム不透明度に" + n, 0,
       "塗りつぶし境界フレーム不透明度に１以上の数値を入力して下さい。", 256,
       "塗りつぶし境界フレーム不透明度に２５５以下の数値を入力して下さい。"},
      {121, 1001, "領域塗りつぶし境界フレーム不透明度に" + n, 0,
       "領域塗りつぶし境界フレーム不透明度に１以上の数値を入力して下さい。", 256,
       "領域塗りつぶし境界フレーム不透明度に２５５以下の数値を入力して下さい。"},
      {122, 1000, "許容 RGB 輝度に" + n, -1, "許容 RGB 輝度に０以上の数値を入力して下さい。", 256,
       "許容 RGB 輝度に２５５以下の数値を入力して下さい。"},
      {123, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {127, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {128, 1000, pen + n, -1, "ペン幅に０以上の数値を入力して下さい。", {}, ""},
      {134, 1000, n, 1, "２以上の数値を入力して下さい。", 30001, "３００００以下の数値を入力して下さい。"},
      {134, 1001, n, 1, "２以上の数値を入力して下さい。", 30001, "３００００以下の数値を入力して下さい。"},
      {135, 1000, "描画処理正方形に" + n, 9, "描画処理正方形に１０以上の数値を入力して下さい。", 10001,
       "描画処理正方形に１００００以下の数値を入力して下さい。"},
      {137, 1000, "太らせ幅に" + n, 99, "太らせ幅に１００以上の数値を入力して下さい。", {}, ""},
      {137, 1001, "太らせアンチエイリアス幅に" + n, -1,
       "太らせアンチエイリアス幅に０以上の数値を入力して下さい。", {}, ""},
      {140, 1000, n, 0, "１以上の数値を入力して下さい。", 101, "１００以下の数値を入力して下さい。"},
      {141, 1000, n, 0, "１以上の数値を入力して下さい。", 30001, "３００００以下の数値を入力して下さい。"},
      {141, 1001, n, 0, "１以上の数値を入力して下さい。", 30001, "３００００以下の数値を入力して下さい。"},
      {149, 1000, n, 1, "２以上の数値を入力して下さい。", 1601, "１６００以下の数値を入力して下さい。"},
      {149, 1001, n, -1, "０以上の数値を入力して下さい。", 100, "９９以下の数値を入力して下さい。"},
      // The upper bounds that keep every length and count within what a picture needs.
      {106, 1000, n, {}, "", 100001, "１０００００以下の数値を入力して下さい。"},
      {107, 1000, n, {}, "", 3000001, "３００００００以下の数値を入力して下さい。"},
      {109, 1000, n, {}, "", 10000001, "１０００００００以下の数値を入力して下さい。"},
      {110, 1000, n, {}, "", 10000001, "１０００００００以下の数値を入力して下さい。"},
      {120, 1000, n, {}, "", 3000001, "３００００００以下の数値を入力して下さい。"},
      {113, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {113, 1001, "ぼかし度合いに" + n, {}, "", 30001,
       "ぼかし度合いに３００００以下の数値を入力して下さい。"},
      {114, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {115, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {116, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {118, 1001, "モザイク幅に" + n, {}, "", 30001,
       "モザイク幅に３００００以下の数値を入力して下さい。"},
      {119, 1001, "ぼかし度合いに" + n, {}, "", 30001,
       "ぼかし度合いに３００００以下の数値を入力して下さい。"},
      {123, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {127, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {128, 1000, pen + n, {}, "", 30001, "ペン幅に３００００以下の数値を入力して下さい。"},
      {137, 1000, "太らせ幅に" + n, {}, "", 3000001,
       "太らせ幅に３００００００以下の数値を入力して下さい。"},
      {137, 1001, "太らせアンチエイリアス幅に" + n, {}, "", 3000001,
       "太らせアンチエイリアス幅に３００００００以下の数値を入力して下さい。"},
  };
  return cases;
}

TEST(SettingDialogs, EveryFieldRefusesWithItsOwnMessagesAndStoresNothing) {
  for (const FieldCase& c : FieldCases()) {
    SCOPED_TRACE(::testing::Message() << "dialog " << c.dialogId << " field " << c.controlId);
    DrawingSettings settings;
    const DrawingSettings before = settings;
    DialogModel model = Dialog(c.dialogId, settings);
    // The other field keeps its valid start value (the ratio's second term is made
    // large enough for the first to stay below it).
    if (c.dialogId == 141) model.SetText(1001, "30000");
    for (const char* text : {"", "abc", "1.5", "１２", "9999999999"})
      EXPECT_EQ(TryOk(model, {{c.controlId, text}}), c.notNumber) << text;
    if (c.below) {
      EXPECT_EQ(TryOk(model, {{c.controlId, std::to_string(*c.below)}}), c.belowMessage);
    }
    if (c.above) {
      EXPECT_EQ(TryOk(model, {{c.controlId, std::to_string(*c.above)}}), c.aboveMessage);
    }
    EXPECT_EQ(EncodeDrawingSettings(settings, {}, nullptr),
              EncodeDrawingSettings(before, {}, nullptr));
    EXPECT_EQ(settings.pointSpacing, before.pointSpacing);
    EXPECT_EQ(settings.reductionNumerator, before.reductionNumerator);
    EXPECT_EQ(settings.reductionDenominator, before.reductionDenominator);
    EXPECT_EQ(settings.tabletMaxBasePoints, before.tabletMaxBasePoints);
    EXPECT_EQ(settings.tabletMinPressure, before.tabletMinPressure);
  }
}

TEST(SettingDialogs, TitlesFieldsButtonsAndCloseCodes) {
  DrawingSettings s;
  DialogModel opacity = Dialog(108, s);
  EXPECT_EQ(opacity.title, "最高不透明度( Max non transparently rate.)( 1～255)");
  EXPECT_EQ(opacity.Text(1000), "255");
  EXPECT_EQ(opacity.focusId, 1000);
  EXPECT_EQ(opacity.okText, "OK");
  EXPECT_EQ(opacity.cancelText, "ｷｬﾝｾﾙ");
  EXPECT_EQ(opacity.okCode, 0);
  EXPECT_EQ(opacity.cancelCode, -1);
  EXPECT_EQ(Dialog(137, s).okCode, 1);
  EXPECT_EQ(Dialog(137, s).cancelCode, 2);
  EXPECT_EQ(Dialog(122, s).okCode, 1);
  EXPECT_EQ(Dialog(122, s).cancelCode, 2);
  EXPECT_EQ(Dialog(155, s).okCode, 1);
  EXPECT_EQ(Dialog(155, s).cancelCode, 2);
  DialogModel gradation = Dialog(113, s);
  EXPECT_EQ(gradation.Find(1001)->label, "ぼかし度合い( 1 ～)");
  EXPECT_EQ(gradation.Text(1000), "20");
  EXPECT_EQ(gradation.Text(1001), "5");
  EXPECT_FALSE(MakeSettingDialog(111, s));  // the new picture dialog is built with its command
  EXPECT_FALSE(MakeSettingDialog(136, s));
}

TEST(SettingDialogs, HundredthsOfAPixelAreStoredInPixelsAndShownBack) {
  DrawingSettings s;
  DialogModel width = Dialog(107, s);
  EXPECT_EQ(width.Text(1000), "25");
  EXPECT_EQ(TryOk(width, {{1000, "150"}}), "");
  EXPECT_DOUBLE_EQ(s.frameWidth, 1.5);
  EXPECT_EQ(TryOk(width, {{1000, "25"}}), "");
  EXPECT_DOUBLE_EQ(s.frameWidth, 0.25);
  EXPECT_EQ(Dialog(107, s).Text(1000), "25");

  EXPECT_EQ(Dialog(120, s).Text(1000), "100");
  DialogModel antiAlias = Dialog(120, s);
  EXPECT_EQ(TryOk(antiAlias, {{1000, "250"}}), "");
  EXPECT_DOUBLE_EQ(s.antiAliasWidth, 2.5);

  // 0.29 pixel is a little less than 29 hundredths: widths truncate, fades round.
  s.frameWidth = 0.29;
  s.headFade = 0.29;
  s.terminationFade = 0.29;
  EXPECT_EQ(Dialog(107, s).Text(1000), "28");
  EXPECT_EQ(Dialog(109, s).Text(1000), "29");
  EXPECT_EQ(Dialog(110, s).Text(1000), "29");
  DialogModel fade = Dialog(110, s);
  EXPECT_EQ(TryOk(fade, {{1000, "7"}}), "");
  EXPECT_DOUBLE_EQ(s.terminationFade, 0.07);
}

TEST(SettingDialogs, BorderOpacityKeepsItsFirstFieldWhenTheSecondIsRefused) {
  DrawingSettings s;
  DialogModel model = Dialog(121, s);
  EXPECT_EQ(TryOk(model, {{1000, "200"}, {1001, "0"}}),
            "領域塗りつぶし境界フレーム不透明度に１以上の数値を入力して下さい。");
  EXPECT_EQ(s.borderFrameOpacity, 200);
  EXPECT_EQ(s.areaBorderFrameOpacity, 50);
}

TEST(SettingDialogs, ReductionRatioNeedsANumeratorBelowItsDenominator) {
  DrawingSettings s;
  DialogModel model = Dialog(141, s);
  EXPECT_EQ(model.Text(1000), "1");
  EXPECT_EQ(model.Text(1001), "2");
  EXPECT_EQ(TryOk(model, {{1000, "2"}, {1001, "2"}}), "分子＜分母でなければなりません。");
  EXPECT_EQ(TryOk(model, {{1000, "3"}, {1001, "2"}}), "分子＜分母でなければなりません。");
  EXPECT_EQ(s.reductionNumerator, 1);
  EXPECT_EQ(s.reductionDenominator, 2);
  EXPECT_EQ(TryOk(model, {{1000, "2"}, {1001, "3"}}), "");
  EXPECT_EQ(s.reductionNumerator, 2);
  EXPECT_EQ(s.reductionDenominator, 3);
  const bool strokeShown = std::any_of(model.controls.begin(), model.controls.end(),
                                       [](const auto& c) { return c.label == "／"; });
  EXPECT_TRUE(strokeShown);
}

TEST(SettingDialogs, ColourChangePenStoresItsCheckBoxWithTheWidth) {
  DrawingSettings s;
  DialogModel model = Dialog(116, s);
  ASSERT_NE(model.Find(kDeleteFrameCheck), nullptr);
  EXPECT_EQ(model.Find(kDeleteFrameCheck)->label, "フレームを削除");
  EXPECT_TRUE(model.Checked(kDeleteFrameCheck));
  model.SetChecked(kDeleteFrameCheck, false);
  EXPECT_NE(TryOk(model, {{1000, "x"}}), "");
  EXPECT_TRUE(s.colourChangeDeletesFrame);  // refused: nothing stored
  EXPECT_EQ(TryOk(model, {{1000, "33"}}), "");
  EXPECT_FALSE(s.colourChangeDeletesFrame);
  EXPECT_EQ(s.colourChangePenWidth, 33);
}

TEST(SettingDialogs, PasteTopLeftIsShownOneBased) {
  int x = 0, y = 99;
  DialogModel model = MakePasteTopLeftDialog(x, y);
  EXPECT_EQ(model.Text(1000), "1");
  EXPECT_EQ(model.Text(1001), "100");
  EXPECT_EQ(model.cancelText, "CANCEL");
  EXPECT_EQ(model.cancelCode, 2);
  EXPECT_EQ(model.okCode, 0);
  EXPECT_EQ(TryOk(model, {{1000, "q"}}), "数値を入力して下さい。");
  EXPECT_EQ(TryOk(model, {{1000, "-5"}, {1001, "1"}}), "");
  EXPECT_EQ(x, -6);
  EXPECT_EQ(y, 0);
  int far = 2147483647;
  EXPECT_EQ(MakePasteTopLeftDialog(far, far).Text(1000), "2147483647");
}

TEST(SettingDialogs, TabletPressureIsShownAsARoundedPercentOfTheRange) {
  constexpr int kRange = 1026;  // a tablet reporting 1024 pressure levels
  DrawingSettings s;
  s.tabletMinPressure = 307;
  DialogModel model = Dialog(149, s, kRange);
  EXPECT_EQ(model.Text(1000), "4");
  EXPECT_EQ(model.Text(1001), "30");  // 29.98 rounds up
  EXPECT_EQ(TryOk(model, {{1000, "1600"}, {1001, "99"}}), "");
  EXPECT_EQ(s.tabletMaxBasePoints, 1600);
  EXPECT_EQ(s.tabletMinPressure, 1014);  // 1013.76 rounds up
  EXPECT_EQ(PressurePercentShown(512, kRange), 50);
  EXPECT_EQ(RawPressureOfPercent(0, kRange), 0);
  // Without a tablet there is no range to divide by.
  EXPECT_EQ(PressurePercentShown(307, kNoTabletPressureRange), 0);
  EXPECT_EQ(RawPressureOfPercent(30, 2), 0);
}

TEST(SettingDialogs, FileNumberStepStartsOnPlusHundredAndStoresTheChosenButton) {
  DrawingSettings s;
  DialogModel model = Dialog(155, s);
  EXPECT_EQ(model.title, "ファイル名変更規則指定");
  ASSERT_EQ(model.controls.size(), 8u);
  EXPECT_EQ(model.controls[5].label, "+100");
  EXPECT_EQ(model.controls[7].label, "+0");
  EXPECT_EQ(model.focusId, model.controls[5].id);
  EXPECT_FALSE(model.Accept());
  EXPECT_EQ(s.fileNumberStep, 100);
  model.SetChecked(kFirstStepButton + 7, true);
  EXPECT_FALSE(model.Checked(kFirstStepButton + 5));
  EXPECT_FALSE(model.Accept());
  EXPECT_EQ(s.fileNumberStep, 0);
  model.SetChecked(kFirstStepButton + 6, true);
  EXPECT_FALSE(model.Accept());
  EXPECT_EQ(s.fileNumberStep, 1000);
}

class SettingCommandTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Start();
  }
  bool Run(int commandId, std::vector<DialogAttempt> script) {
    host.dialogScripts.push_back(std::move(script));
    return RunSettingCommand(State(), commandId);
  }
  int LastCommandSent() const {
    return app->State().recentCommands.empty() ? 0 : app->State().recentCommands.back();
  }
};

TEST_F(SettingCommandTest, ZeroOpacityIsRefusedAndTheOldValueStays) {
  State().modeStatusText = "★曲線描画";
  ASSERT_TRUE(Run(cmd::kSetMaxOpacity, {{{{1000, "0"}}}, {{{1000, "0"}}, {}, false}}));
  ASSERT_FALSE(host.dialogs.empty());
  EXPECT_EQ(host.dialogs.back().id, 108);
  EXPECT_EQ(host.dialogs.back().startTexts.at(1000), "255");
  ASSERT_EQ(host.dialogs.back().refusals.size(), 1u);
  EXPECT_EQ(host.dialogs.back().refusals[0],
            (platform::DialogMessage{"１以上の数値を入力して下さい。", "指定エラー"}));
  EXPECT_EQ(State().settings.maxOpacity, 255);
  const auto& texts = host.statusTexts;
  EXPECT_NE(std::find(texts.begin(), texts.end(), "★最高不透明度設定"), texts.end());
  EXPECT_EQ(texts.back(), "★曲線描画");
}

TEST_F(SettingCommandTest, SetPenCommandsEnterTheirPenWhicheverWayTheDialogEnds) {
  const std::pair<int, int> pens[] = {
      {40122, 40121}, {40123, 40086}, {40124, 40053}, {40125, 40104}, {40127, 40128},
      {40133, 40134}, {40154, 40155}, {40159, 40158}, {40160, 40161}, {40224, 40223}};
  for (const auto& [setting, pen] : pens) {
    State().recentCommands.clear();
    EXPECT_TRUE(Run(setting, {{{}, {}, false}})) << setting;
    EXPECT_EQ(LastCommandSent(), pen) << setting;
    EXPECT_TRUE(Run(setting, {DialogAttempt{}})) << setting;
    EXPECT_EQ(LastCommandSent(), pen) << setting;
  }
  EXPECT_EQ(State().settings.normalPenWidth, 0);  // cancel and an unchanged OK keep the width
}

TEST_F(SettingCommandTest, OtherCommandsAreLeftAlone) {
  EXPECT_FALSE(RunSettingCommand(State(), cmd::kCurve));
  EXPECT_FALSE(RunSettingCommand(State(), cmd::kNormalPen));
  EXPECT_TRUE(host.dialogs.empty());
}

TEST_F(SettingCommandTest, SquareFattenCancelLeavesNoModeAndOkArmsTheFatten) {
  State().currentCommand = cmd::kNormalPen;
  EXPECT_TRUE(Run(cmd::kSquareFatten, {{{}, {}, false}}));
  EXPECT_EQ(State().currentCommand, -1);
  EXPECT_EQ(State().settings.fattenWidth, 140);

  EXPECT_TRUE(Run(cmd::kSquareFatten, {{{{1000, "99"}}}, {{{1000, "300"}, {1001, "50"}}}}));
  EXPECT_EQ(host.dialogs.back().refusals.size(), 1u);
  EXPECT_EQ(State().currentCommand, cmd::kSquareFatten);
  EXPECT_EQ(State().settings.fattenWidth, 300);
  EXPECT_EQ(State().settings.fattenAntiAliasWidth, 50);
}

TEST_F(SettingCommandTest, TabletSettingsUseTheGivenPressureRange) {
  host.dialogScripts.push_back({{{{1000, "8"}, {1001, "50"}}}});
  EXPECT_TRUE(RunSettingCommand(State(), cmd::kSetSmoothingCurve, 202));
  EXPECT_EQ(State().settings.tabletMaxBasePoints, 8);
  EXPECT_EQ(State().settings.tabletMinPressure, 100);
  EXPECT_EQ(LastCommandSent(), cmd::kSmoothingCurve);
}

}  // namespace
}  // namespace lumavex
