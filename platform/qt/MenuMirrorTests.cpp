#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include "platform/qt/MenuMirror.h"

namespace platform::qt {
namespace {

constexpr int kNew = 40080;
constexpr int kEnd = 40006;
constexpr int kBitmapView = 40029;
constexpr int kStatus = 40142;

MenuBar SmallMenu() {
  MenuBar menu;
  menu.statusItemId = kStatus;
  menu.popups = {
      {"ファイル( File)",
       {{kNew, "新規作成( New.)", "Ctrl+N"}, {0, "", ""}, {kEnd, "終了( End.)", ""}}},
      {"表示( View)", {{kBitmapView, "ビットマップ表示( Bitmap view.)", "B"}}},
  };
  return menu;
}

class MenuMirrorTest : public testing::Test {
 protected:
  MenuMirrorTest()
      : mirror(
            *bar, [this](int id) { commands.push_back(id); },
            [this](bool entering) { menuLoop.push_back(entering); }) {
    window.resize(640, 200);
  }

  QMenu* Popup(int index) const { return bar->actions().at(index)->menu(); }

  QWidget window;
  QMenuBar* bar = new QMenuBar(&window);
  std::vector<int> commands;
  std::vector<bool> menuLoop;
  MenuMirror mirror;
};

TEST_F(MenuMirrorTest, BuildsOnePopupPerTableEntryWithItsItemsInOrder) {
  mirror.Update(SmallMenu());

  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("ファイル( File)"));
  EXPECT_EQ(bar->actions()[1]->text(), QStringLiteral("表示( View)"));
  const QList<QAction*> file = Popup(0)->actions();
  ASSERT_EQ(file.size(), 3);
  EXPECT_EQ(file[0]->text(), QStringLiteral("新規作成( New.)\tCtrl+N"));
  EXPECT_TRUE(file[1]->isSeparator());
  EXPECT_EQ(file[2]->text(), QStringLiteral("終了( End.)"));
  EXPECT_EQ(mirror.Action(kEnd), file[2]);
  EXPECT_EQ(mirror.Action(12345), nullptr);
}

TEST_F(MenuMirrorTest, ShortcutsAreShownButNeverRegistered) {
  mirror.Update(SmallMenu());
  for (QAction* popup : bar->actions())
    for (QAction* action : popup->menu()->actions()) {
      EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
      EXPECT_TRUE(action->shortcuts().isEmpty());
    }
  // The key still reaches the window instead of triggering the item.
  window.show();
  QTest::keyClick(&window, Qt::Key_B);
  QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(commands.empty());
}

TEST_F(MenuMirrorTest, TriggeredItemReportsItsCommandIdentifier) {
  mirror.Update(SmallMenu());
  mirror.Action(kBitmapView)->trigger();
  mirror.Action(kNew)->trigger();
  EXPECT_EQ(commands, (std::vector<int>{kBitmapView, kNew}));
}

TEST_F(MenuMirrorTest, MirrorsEnabledAndCheckedStatesAfterAChange) {
  MenuBar menu = SmallMenu();
  mirror.Update(menu);
  EXPECT_TRUE(mirror.Action(kNew)->isEnabled());
  EXPECT_FALSE(mirror.Action(kBitmapView)->isChecked());

  menu.Enable(kNew, false);
  menu.Check(kBitmapView, true);
  mirror.Update(menu);
  EXPECT_FALSE(mirror.Action(kNew)->isEnabled());
  EXPECT_TRUE(mirror.Action(kBitmapView)->isCheckable());
  EXPECT_TRUE(mirror.Action(kBitmapView)->isChecked());

  menu.Enable(kNew, true);
  menu.Check(kBitmapView, false);
  mirror.Update(menu);
  EXPECT_TRUE(mirror.Action(kNew)->isEnabled());
  EXPECT_FALSE(mirror.Action(kBitmapView)->isChecked());
}

TEST_F(MenuMirrorTest, GreyedItemCannotBeChosen) {
  MenuBar menu = SmallMenu();
  menu.Enable(kEnd, false);
  mirror.Update(menu);
  mirror.Action(kEnd)->trigger();
  EXPECT_TRUE(commands.empty());
}

TEST_F(MenuMirrorTest, StateChangesKeepTheBuiltActionsAndTableChangesRebuild) {
  MenuBar menu = SmallMenu();
  mirror.Update(menu);
  QAction* before = mirror.Action(kNew);
  menu.Enable(kNew, false);
  menu.SetStatusText("★新規作成");
  mirror.Update(menu);
  EXPECT_EQ(mirror.Action(kNew), before);

  menu.popups[0].items[0].caption = "新規( New.)";
  mirror.Update(menu);
  ASSERT_NE(mirror.Action(kNew), nullptr);
  EXPECT_EQ(mirror.Action(kNew)->text(), QStringLiteral("新規( New.)\tCtrl+N"));
  EXPECT_FALSE(mirror.Action(kNew)->isEnabled());
  EXPECT_EQ(bar->actions().size(), 2);
}

TEST_F(MenuMirrorTest, StatusTextStandsAtTheFarRightAndIsLaidOutAtOnce) {
  window.show();
  MenuBar menu = SmallMenu();
  menu.SetStatusText("★新規作成中...");
  mirror.Update(menu);

  QLabel* label = mirror.StatusLabel();
  EXPECT_EQ(bar->cornerWidget(Qt::TopRightCorner), label);
  EXPECT_EQ(label->text(), QStringLiteral("★新規作成中..."));
  EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
  // No event loop pass in between: the label already has room for the whole text.
  EXPECT_GE(label->width(), label->sizeHint().width());
  EXPECT_GE(label->geometry().right(), bar->width() - 2 - label->contentsMargins().right());

  menu.SetStatusText("★");
  mirror.Update(menu);
  EXPECT_EQ(label->text(), QStringLiteral("★"));
}

TEST_F(MenuMirrorTest, OpeningAndClosingAPopupReportsTheMenuLoop) {
  mirror.Update(SmallMenu());
  window.show();
  Popup(0)->popup(QPoint(0, 20));
  Popup(0)->hide();
  EXPECT_EQ(menuLoop, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace platform::qt
