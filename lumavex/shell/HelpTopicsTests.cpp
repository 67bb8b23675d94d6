#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumavex/shell/HelpTopics.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

// The help commands, written out from the command table by number.
const int kHelpCommands[] = {40061, 40156, 40148, 40096, 40146, 40215, 40282, 40092,
                             40143, 40144, 40190, 40093, 40095, 40145, 40225, 40305, 40306};

const HelpTopic& Topic(int command) {
  const HelpTopic* topic = FindHelpTopic(command);
  if (!topic) throw std::runtime_error("no topic for " + std::to_string(command));
  return *topic;
}

TEST(HelpTopics, EveryHelpCommandHasOneTopicWithATitleAndALongText) {
  std::set<int> commands;
  for (const HelpTopic& topic : HelpTopics()) EXPECT_TRUE(commands.insert(topic.command).second);
  EXPECT_EQ(commands, std::set<int>(std::begin(kHelpCommands), std::end(kHelpCommands)));
  std::set<std::string> titles;
  for (int command : kHelpCommands) {
    const HelpTopic* topic = FindHelpTopic(command);
    ASSERT_NE(topic, nullptr) << command;
    EXPECT_TRUE(titles.insert(topic->title).second) << topic->title;
    EXPECT_GT(std::string(topic->text).size(), 1000u) << topic->title;
  }
}

TEST(HelpTopics, OtherCommandsHaveNoTopic) {
  for (int command : {40034, 40142, 40006, 40060, 40226, -1, 0})
    EXPECT_EQ(FindHelpTopic(command), nullptr) << command;
}

// Spot checks that the topics document what the user needs from them.
TEST(HelpTopics, TopicsNameTheirKeysAndGestures) {
  const struct {
    int command;
    std::vector<std::string> mentions;
  } checks[] = {
      {40096,
       {"Shift+Ctrl+左クリック", "Shift+左クリック", "Ctrl+左クリック", "Shift+右クリック",
        "Shift+Ctrl+右クリック", "テンキー"}},
      {40148,
       {"Space", "Shift+↑", "右ボタンでドラッグ", "F1", "F2", "F3", "F4", "ビットマップ画面",
        "フレーム画面"}},
      {40156, {".lmv", "BMP", "PNG", "JPEG", "プログレッシブ", "F12", "1～4"}},
      {40225, {"U", "Ctrl+U", "Shift+U", "リドゥー復帰機能", "終了"}},
      {40145, {"基点郡設定１", "ループ", "Shift+Ctrl+左クリック"}},
      {40282, {"Shift", "最大基点数", "Ctrl+L"}},
  };
  for (const auto& check : checks) {
    const std::string text = Topic(check.command).text;
    for (const auto& word : check.mentions)
      EXPECT_NE(text.find(word), std::string::npos) << Topic(check.command).title << ": " << word;
  }
}

TEST(ShowHelpTopic, OpensTheModelessHelpDialogWithTheTopic) {
  platform::TestHost host;
  ASSERT_TRUE(ShowHelpTopic(host, 40096));
  ASSERT_EQ(host.modelessDialogs.size(), 1u);
  const auto& shown = host.modelessDialogs[0];
  EXPECT_EQ(shown.id, 131);
  EXPECT_EQ(shown.title, "ヘルプ");
  EXPECT_NE(shown.text.find(Topic(40096).title), std::string::npos);
  EXPECT_NE(shown.text.find("Shift+Ctrl+右クリック"), std::string::npos);
  EXPECT_TRUE(host.dialogs.empty());  // nothing modal was run
}

TEST(ShowHelpTopic, SeveralTopicsCanBeOpenAtOnce) {
  platform::TestHost host;
  for (int command : kHelpCommands) EXPECT_TRUE(ShowHelpTopic(host, command)) << command;
  ASSERT_EQ(host.modelessDialogs.size(), std::size(kHelpCommands));
  for (size_t i = 0; i < std::size(kHelpCommands); ++i)
    EXPECT_NE(host.modelessDialogs[i].text.find(Topic(kHelpCommands[i]).title), std::string::npos);
}

TEST(ShowHelpTopic, ANonHelpCommandOpensNothing) {
  platform::TestHost host;
  EXPECT_FALSE(ShowHelpTopic(host, 40034));
  EXPECT_TRUE(host.modelessDialogs.empty());
}

TEST(HelpDialog, IsAReadOnlyTextWithOkOnly) {
  const platform::DialogModel model = HelpDialog(Topic(40061));
  EXPECT_EQ(model.id, kHelpDialogId);
  EXPECT_FALSE(model.hasCancelButton);
  EXPECT_EQ(model.okText, "OK");
  ASSERT_EQ(model.controls.size(), 1u);
  EXPECT_EQ(model.controls[0].kind, platform::ControlKind::ReadOnlyText);
  const std::string& text = model.controls[0].text;
  EXPECT_TRUE(text.starts_with("【基本操作( Basic operations.)】\n\n")) << text.substr(0, 60);
  EXPECT_NE(text[text.find("\n\n") + 2], '\n');  // no blank line from the source layout
}

}  // namespace
}  // namespace lumavex
