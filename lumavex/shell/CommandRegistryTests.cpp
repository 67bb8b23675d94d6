#include <gtest/gtest.h>

#include <map>
#include <set>

#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/HelpTopics.h"
#include "lumavex/shell/KeyTable.h"
#include "lumavex/shell/MenuTable.h"

namespace lumavex {
namespace {

using IdSet = std::set<int>;

// The lists the dispatcher keeps, written out by number as the command vocabulary
// gives them, so that a row with a wrong flag shows up here.
const IdSet kNeutral = {40008, 40018, 40019, 40020, 40021, 40023, 40025, 40026, 40029, 40030, 40031,
                        40044, 40045, 40048, 40049, 40052, 40061, 40066, 40067, 40075, 40077, 40078,
                        40090, 40092, 40093, 40095, 40096, 40105, 40109, 40111, 40112, 40131, 40132,
                        40136, 40137, 40143, 40144, 40145, 40146, 40147, 40148, 40152, 40153, 40156,
                        40157, 40166, 40167, 40168, 40169, 40174, 40176, 40177, 40178, 40179, 40180,
                        40193, 40194, 40195, 40196, 40197, 40215, 40221, 40284,
                        40301, 40302, 40303, 40304, 40305, 40306};
// The memory paste (40205) is marking, so that leaving it clears the marks its pastes
// leave, and its keypad nudges the paste tools as in the other paste phases.
const IdSet kMarking = {40035, 40050, 40051, 40053, 40064, 40065, 40076, 40086, 40089, 40104,
                        40107, 40120, 40121, 40122, 40123, 40124, 40125, 40127, 40128, 40130,
                        40133, 40134, 40135, 40140, 40151, 40154, 40155, 40158, 40159, 40160,
                        40161, 40163, 40164, 40165, 40182, 40192, 40200, 40205, 40207, 40210, 40212,
                        40214, 40220, 40222, 40223, 40239, 40242, 40245, 40256, 40263, 40267};
const IdSet kNeutralAfterThemselves = {40107, 40135, 40140};
const IdSet kContinuousPastePhases = {40209, 40210, 40238, 40239, 40240, 40241, 40242, 40243,
                                      40244, 40245, 40246, 40250, 40251, 40252, 40256, 40257,
                                      40263, 40264, 40267, 40268};
const IdSet kKeepingArrows = {40035, 40072, 40089, 40130, 40149, 40151, 40163, 40164, 40165,
                              40189, 40191, 40203, 40209, 40210, 40220, 40222, 40233, 40238,
                              40239, 40240, 40241, 40242, 40243, 40244, 40245, 40246, 40250,
                              40251, 40252, 40256, 40257, 40263, 40264, 40267, 40268};
const IdSet kNudging = {40035, 40072, 40089, 40130, 40149, 40151, 40163, 40164, 40165,
                        40189, 40191, 40203, 40205, 40207, 40220, 40222, 40233};
const IdSet kNeedAPicture = {
    40008, 40284, 40180, 40013, 40213, 40230, 40012, 40186, 40185, 40184, 40183, 40173,
    40187, 40070, 40126, 40201, 40232, 40227, 40228, 40229, 40236, 40237, 40238, 40241,
    40244, 40247, 40250, 40251, 40252, 40253, 40066, 40077, 40078, 40031, 40137, 40182,
    40212, 40214, 40044, 40136, 40224, 40086, 40123, 40121, 40122, 40128, 40127, 40104,
    40125, 40134, 40133, 40053, 40124, 40155, 40154, 40158, 40159, 40161, 40160, 40034,
    40150, 40129, 40087, 40223, 40037, 40038, 40162, 40218, 40050, 40051, 40076, 40120,
    40140, 40107, 40135, 40064, 40062, 40065, 40063, 40200, 40188, 40192, 40138,
    40301, 40303};

IdSet RowsWhere(bool (*keep)(const CommandEntry&)) {
  IdSet ids;
  for (const CommandEntry& entry : CommandEntries())
    if (keep(entry)) ids.insert(entry.id);
  return ids;
}

IdSet Union(IdSet a, const IdSet& b) {
  a.insert(b.begin(), b.end());
  return a;
}

std::map<int, int> MenuItemCounts() {
  std::map<int, int> count;
  for (const auto& popup : BuildMenuBar().popups)
    for (const auto& item : popup.items)
      if (!item.IsSeparator()) ++count[item.id];
  return count;
}

TEST(CommandRegistry, EveryIdentifierHasOneRow) {
  std::map<int, int> rows;
  for (const CommandEntry& entry : CommandEntries()) ++rows[entry.id];
  for (const auto& [id, n] : rows) EXPECT_EQ(n, 1) << id;
  EXPECT_EQ(rows.count(cmd::kNone), 0u);
  EXPECT_EQ(FindCommand(cmd::kStatusItem), nullptr);  // a caption, never sent
}

TEST(CommandRegistry, TheMenuKeyAndHelpTablesNameOnlyRegisteredCommands) {
  for (const auto& [id, n] : MenuItemCounts()) EXPECT_NE(FindCommand(id), nullptr) << id;
  for (int id : KeyCommands()) EXPECT_NE(FindCommand(id), nullptr) << id;
  for (const HelpTopic& topic : HelpTopics()) {
    const CommandEntry* entry = FindCommand(topic.command);
    ASSERT_NE(entry, nullptr) << topic.command;
    EXPECT_FALSE(entry->internal) << topic.command;
  }
}

TEST(CommandRegistry, MenuRowsHaveOneMenuItemAndInternalRowsNone) {
  const std::map<int, int> items = MenuItemCounts();
  for (const CommandEntry& entry : CommandEntries()) {
    const auto it = items.find(entry.id);
    const int count = it == items.end() ? 0 : it->second;
    EXPECT_EQ(count, entry.internal ? 0 : 1) << entry.id;
  }
}

TEST(CommandRegistry, DerivedListsAreTheDispatchersLists) {
  EXPECT_EQ(RowsWhere([](const CommandEntry& s) { return s.choice == Choice::Neutral; }), kNeutral);
  EXPECT_EQ(RowsWhere([](const CommandEntry& s) { return IsMarking(s.id); }), kMarking);
  EXPECT_EQ(RowsWhere([](const CommandEntry& s) { return s.choice == Choice::RepeatableMarking; }),
            kNeutralAfterThemselves);
  EXPECT_EQ(RowsWhere([](const CommandEntry& s) { return KeepsArrowKeys(s.id); }), kKeepingArrows);
  EXPECT_EQ(RowsWhere([](const CommandEntry& s) { return NudgesPickedPoint(s.id); }),
            Union(kNudging, kContinuousPastePhases));
  const std::vector<int>& pictures = PictureCommands();
  EXPECT_EQ(IdSet(pictures.begin(), pictures.end()), kNeedAPicture);
  EXPECT_EQ(pictures.size(), kNeedAPicture.size());
}

TEST(CommandRegistry, SettingRowsNameADialogAStatusAndARegisteredFollower) {
  int settings = 0;
  for (const CommandEntry& entry : CommandEntries()) {
    if (entry.settingDialog == 0) {
      EXPECT_EQ(entry.following, cmd::kNone) << entry.id;
      continue;
    }
    ++settings;
    EXPECT_NE(entry.status, nullptr) << entry.id;
    EXPECT_TRUE(entry.following == cmd::kNone || FindCommand(entry.following)) << entry.id;
  }
  EXPECT_EQ(settings, 21);
}

class CommandDispatchTest : public testing::ProgramTest {};

TEST_F(CommandDispatchTest, AnUnknownIdentifierIsAnInternalError) {
  Start();
  try {
    Command(40001);
    FAIL() << "no fatal end";
  } catch (const platform::ProcessEnded& e) {
    EXPECT_EQ(e.exitCode, -1);
  }
  EXPECT_EQ(host.messages.back().text, "エラー");
  EXPECT_EQ(host.messages.back().caption, "エラー");
}

TEST_F(CommandDispatchTest, ACommandWithoutAHandlerRunsOnlyTheCommandChoice) {
  Start();
  NewPicture(20, 10);
  State().markedRectangle = {1, 1, 4, 4};
  const int mode = State().currentCommand;
  const std::string status = app->Menu().StatusText();
  Command(cmd::kMemoryPastePhase1);
  EXPECT_TRUE(State().markedRectangle.Empty());
  EXPECT_EQ(State().currentCommand, mode);
  EXPECT_EQ(app->Menu().StatusText(), status);
  EXPECT_EQ(State().recentCommands.back(), cmd::kMemoryPastePhase1);
}

}  // namespace
}  // namespace lumavex
