#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/HelpTopics.h"
#include "lumavex/shell/MenuTable.h"

namespace lumavex {
namespace {

// The visible commands, written out from the command table by number (not through
// the named constants, so that a mistyped constant shows up here).
const std::vector<int> kTableCommands = {
    // files
    40079, 40011, 40013, 40213, 40230, 40012, 40186, 40185, 40184, 40183, 40173, 40187, 40070,
    40126,
    // pastes, memory copy, border and opacity files
    40201, 40232, 40204, 40205, 40286, 40217, 40227, 40228, 40229,
    // continuous paste
    40236, 40237, 40238, 40241, 40244, 40247, 40250, 40251, 40252, 40253,
    // zoom levels
    40194, 40193, 40197, 40196, 40195, 40018, 40019, 40020, 40021, 40023, 40025, 40026, 40105,
    40067,
    // areas
    40063, 40065, 40062, 40064, 40159, 40158, 40160, 40161, 40200,
    // parameter dialogs and load-size policies
    40066, 40077, 40078, 40031, 40137, 40182, 40212, 40214, 40174, 40157, 40176, 40179,
    // base points, widths, curves, ellipse
    40234, 40044, 40136, 40034, 40150, 40129, 40087,
    // frame pens, string paste, fatten, line-art intake
    40125, 40104, 40133, 40134, 40124, 40053, 40154, 40155, 40188, 40192, 40138,
    // fade surfaces, fills, bitmap pens, directional gradation
    40037, 40038, 40162, 40050, 40051, 40076, 40120, 40140, 40107, 40135, 40123, 40086, 40122,
    40121, 40218, 40127, 40128,
    // tablet, undo, memory, window, view
    40223, 40224, 40008, 40284, 40180, 40052, 40112, 40029, 40030, 40048, 40049, 40177, 40178,
    // light table and flipbook
    40301, 40302, 40303, 40304,
    // help
    40061, 40156, 40148, 40096, 40146, 40215, 40282, 40092, 40143, 40144, 40190, 40093, 40095,
    40145, 40225, 40305, 40306,
    // free memory, end
    40181, 40006};

// Points into `bar`, which must outlive the map.
std::map<int, const platform::MenuItem*> ItemsById(const platform::MenuBar& bar) {
  std::map<int, const platform::MenuItem*> items;
  for (const auto& popup : bar.popups)
    for (const auto& item : popup.items)
      if (!item.IsSeparator()) items[item.id] = &item;
  return items;
}

bool IsAsciiUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

// "日本語( Gloss.)": a caption, then the gloss in parentheses opening with a space and
// a capital letter; items end the gloss with a full stop, popup titles do not.
bool HasGloss(const std::string& caption, bool withFullStop) {
  const std::string ending = withFullStop ? ".)" : ")";
  if (caption.size() < ending.size() || !caption.ends_with(ending)) return false;
  const size_t open = caption.rfind("( ");
  if (open == std::string::npos || open == 0 || open + 2 >= caption.size()) return false;
  return IsAsciiUpper(caption[open + 2]);
}

TEST(MenuTable, EveryTableCommandIsInTheMenuExactlyOnce) {
  const platform::MenuBar bar = BuildMenuBar();
  std::map<int, int> count;
  for (const auto& popup : bar.popups)
    for (const auto& item : popup.items)
      if (!item.IsSeparator()) ++count[item.id];
  for (int id : kTableCommands) EXPECT_EQ(count[id], 1) << id;
  for (const auto& [id, n] : count)
    EXPECT_NE(std::find(kTableCommands.begin(), kTableCommands.end(), id), kTableCommands.end())
        << "not a menu command: " << id;
  EXPECT_EQ(count.size(), kTableCommands.size());
}

TEST(MenuTable, InternalPhasesAndTheStatusItemStayOutOfThePopups) {
  const platform::MenuBar bar = BuildMenuBar();
  EXPECT_EQ(bar.statusItemId, 40142);
  for (int id : {40142, 40080, 40014, 40035, 40075, 40109, 40239, 40240, 40226, 40285})
    EXPECT_FALSE(bar.Contains(id)) << id;
}

TEST(MenuTable, EveryCaptionCarriesAnEnglishGloss) {
  const platform::MenuBar bar = BuildMenuBar();
  for (const auto& popup : bar.popups) {
    EXPECT_TRUE(HasGloss(popup.caption, false)) << popup.caption;
    ASSERT_FALSE(popup.items.empty()) << popup.caption;
    EXPECT_FALSE(popup.items.front().IsSeparator()) << popup.caption;
    EXPECT_FALSE(popup.items.back().IsSeparator()) << popup.caption;
    for (const auto& item : popup.items) {
      if (!item.IsSeparator()) {
        EXPECT_TRUE(HasGloss(item.caption, true)) << item.caption;
      }
    }
  }
}

TEST(MenuTable, QuotedCaptionsAreUsedAsGiven) {
  const platform::MenuBar bar = BuildMenuBar();
  const auto items = ItemsById(bar);
  const std::map<int, std::string> expected = {
      {40079, "新規作成( New.)"},
      {40205, "曲面をメモリからペースト( Paste from memory.)"},
      {40140, "全選択領域単色領域塗りつぶし"},
      {40037, "フェード曲面、多角形面描画( 円筒の影を外から描画)"},
      {40236, "メモリから連続貼り付け対象ファイル郡作成( Create paste files on memory.)"},
      {40252, "メモリから連続貼り付け３～４( Pastes from memory 3～4.)"},
      {40176, "BMP, PNG ロード時にビューサイズに拡縮します"},
      {40230, "連続縮小ＢＭＰセーブ"},
      {40133, "ぼかしペン設定"},
      {40134, "ぼかしペン描画"}};
  for (const auto& [id, caption] : expected) {
    ASSERT_TRUE(items.count(id)) << id;
    EXPECT_TRUE(items.at(id)->caption.starts_with(caption)) << items.at(id)->caption;
  }
}

TEST(MenuTable, ShortcutsMatchTheKeys) {
  const platform::MenuBar bar = BuildMenuBar();
  const auto items = ItemsById(bar);
  const std::map<int, std::string> expected = {{40013, "F12"},
                                               {40012, "Shift+F11"},
                                               {40213, "Ctrl+F11"},
                                               {40034, "S"},
                                               {40150, "Ctrl+S"},
                                               {40129, "Shift+S"},
                                               {40087, "Ctrl+Shift+S"},
                                               {40050, "P"},
                                               {40051, "Ctrl+P"},
                                               {40076, "Shift+P"},
                                               {40120, "Ctrl+Shift+P"},
                                               {40062, "Ctrl+Shift+A"},
                                               {40063, "Ctrl+Shift+H"},
                                               {40200, "Ctrl+H"},
                                               {40159, "Shift+A"},
                                               {40160, "Shift+H"},
                                               {40205, "Q"},
                                               {40217, "Shift+Q"},
                                               {40188, "Shift+F"},
                                               {40037, "Ctrl+Z"},
                                               {40038, "Shift+Z"},
                                               {40162, "Z"},
                                               {40218, "Shift+G"},
                                               {40121, "G"},
                                               {40122, "Ctrl+G"},
                                               {40134, "X"},
                                               {40133, "Ctrl+X"},
                                               {40155, "T"},
                                               {40154, "Ctrl+T"},
                                               {40223, "L"},
                                               {40224, "Ctrl+L"},
                                               {40008, "U"},
                                               {40284, "Ctrl+U"},
                                               {40180, "Shift+U"},
                                               {40066, "F5"},
                                               {40077, "F6"},
                                               {40078, "F7"},
                                               {40031, "F8"},
                                               {40044, "F9"},
                                               {40137, "O"},
                                               {40174, "1"},
                                               {40157, "2"},
                                               {40176, "3"},
                                               {40179, "4"},
                                               {40029, "B"},
                                               {40030, "F"},
                                               {40301, "K"},
                                               {40303, "J"},
                                               // no key of their own
                                               {40079, ""},
                                               {40204, ""},
                                               {40158, ""},
                                               {40161, ""},
                                               {40136, ""},
                                               {40182, ""},
                                               {40061, ""}};
  for (const auto& [id, shortcut] : expected) {
    ASSERT_TRUE(items.count(id)) << id;
    EXPECT_EQ(items.at(id)->shortcut, shortcut) << id;
  }
}

TEST(MenuTable, NoTwoItemsShowTheSameShortcut) {
  std::set<std::string> seen;
  const platform::MenuBar bar = BuildMenuBar();
  for (const auto& [id, item] : ItemsById(bar)) {
    if (!item->shortcut.empty()) {
      EXPECT_TRUE(seen.insert(item->shortcut).second) << item->shortcut;
    }
  }
}

TEST(MenuTable, HelpPopupListsTheTopicsInOrder) {
  const platform::MenuBar bar = BuildMenuBar();
  const auto& help = bar.popups.back();
  const auto topics = HelpTopics();
  ASSERT_EQ(help.items.size(), topics.size());
  for (size_t i = 0; i < topics.size(); ++i) {
    EXPECT_EQ(help.items[i].id, topics[i].command);
    EXPECT_EQ(help.items[i].caption, topics[i].title);
  }
}

// The commands the menu state enables once a picture exists, written out by number.
const std::vector<int> kNeedAPicture = {
    40008, 40284, 40180,                                                   // undo, redo
    40013, 40213, 40230, 40012, 40186, 40185, 40184, 40183, 40173, 40187,  // saves
    40070, 40126,                                                          //
    40201, 40232,                                                          // paste from file
    40227, 40228, 40229,                                                   // border, opacity
    40236, 40237, 40238, 40241, 40244, 40247, 40250, 40251, 40252, 40253,  // continuous paste
    40066, 40077, 40078, 40031, 40137, 40182, 40212, 40214, 40044, 40136,  // parameter dialogs
    40125, 40104, 40133, 40134, 40124, 40053, 40154, 40155, 40123, 40086,  // pens
    40122, 40121, 40127, 40128, 40159, 40158, 40160, 40161,                //
    40034, 40150, 40129, 40087, 40037, 40038, 40162,                       // curves, fades
    40050, 40051, 40076, 40120, 40140, 40107, 40135,                       // fills
    40062, 40063, 40064, 40065, 40200,                                     // areas
    40188, 40192, 40138,
    40301, 40303};                                                         // light table, flipbook

// Usable before any picture exists.
const std::vector<int> kWithoutAPicture = {40079, 40011, 40006, 40052, 40181, 40112, 40029,
                                           40030, 40018, 40067, 40048, 40049, 40177, 40178,
                                           40174, 40157, 40176, 40179, 40061, 40225,
                                           40302, 40304};

TEST(PictureCommands, CoverTheMenuStateListAndAreAllInTheMenu) {
  const std::vector<int>& commands = PictureCommands();
  for (int id : kNeedAPicture)
    EXPECT_NE(std::find(commands.begin(), commands.end(), id), commands.end()) << id;
  for (int id : kWithoutAPicture)
    EXPECT_EQ(std::find(commands.begin(), commands.end(), id), commands.end()) << id;
  const platform::MenuBar bar = BuildMenuBar();
  for (int id : commands) EXPECT_TRUE(bar.Contains(id)) << id;
}

TEST(PictureCommands, GreyingAndEnablingLeavesTheOtherCommandsAlone) {
  platform::MenuBar bar = BuildMenuBar();
  EnablePictureCommands(bar, false);
  for (int id : kNeedAPicture) EXPECT_FALSE(bar.Enabled(id)) << id;
  for (int id : kWithoutAPicture) EXPECT_TRUE(bar.Enabled(id)) << id;
  EnablePictureCommands(bar, true);
  for (int id : kNeedAPicture) EXPECT_TRUE(bar.Enabled(id)) << id;
}

}  // namespace
}  // namespace lumavex
