#include <gtest/gtest.h>

#include <vector>

#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;
using platform::KeyDownEvent;
using platform::MessageResult;
using platform::MouseButton;
using platform::MouseEvent;

class SessionTest : public testing::ProgramTest {
 protected:
  // A curve through the points, drawn as a user draws it.
  void DrawCurve(std::vector<std::pair<int, int>> points) {
    Key('S');
    for (auto [x, y] : points) Click(x, y);
    Click(0, 0, {true, true});
    Click(0, 0, {true, true});
    Click(0, 0, {true, true}, MouseButton::Right);  // clear the points for the next curve
  }
  std::vector<uint32_t> Layers() {
    const Canvas& c = State().canvas;
    std::vector<uint32_t> words;
    for (const PixelPlane* plane : {&c.display, &c.frame})
      for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) words.push_back(plane->At(x, y) & 0xC3FFFFFF);
    return words;
  }
};

TEST_F(SessionTest, TheFirstStepOfAFreshJournalRewritesTheSessionInPlace) {
  Start();
  NewPicture(800, 60);
  const std::string session = Resource("CurrentFileInfo.ini");
  EXPECT_EQ(testing::ReadFile(session),
            "CurrentFileWidth=01600\r\nCurrentFileHeight=01200\r\nCurrentFileName=./new.lmv\r\n");
  State().currentFileName = "./a.lmv";  // shorter: the old bytes stay behind the new line end
  DrawCurve({{10, 10}, {60, 30}});
  EXPECT_EQ(testing::ReadFile(session),
            "CurrentFileWidth=00800\r\nCurrentFileHeight=00060\r\nCurrentFileName=./a.lmv\r\n\r\n");
  EXPECT_TRUE(fs::exists(Resource("UndoFile00.dat")));
}

TEST_F(SessionTest, ARunThatDidNotEndIsRebuiltAtTheNextStart) {
  Start();
  NewPicture(120, 80);
  DrawCurve({{10, 10}, {60, 30}, {100, 70}});
  app->HandleEvent(KeyDownEvent{'S', {false, true}});  // a transparent curve too
  DrawCurve({{5, 70}, {110, 5}});
  app->HandleEvent(KeyDownEvent{'S', {true, true}});
  Click(20, 20);  // an ellipse dragged from (20, 20) to (60, 50)
  app->HandleEvent(MouseEvent{MouseEvent::Kind::Press, MouseButton::Left, 20, 20, true, false, {}});
  app->HandleEvent(MouseEvent{MouseEvent::Kind::Move, MouseButton::Left, 60, 50, true, false, {}});
  app->HandleEvent(MouseEvent{MouseEvent::Kind::Release, MouseButton::Left, 60, 50, false, false, {}});
  Click(0, 0, {true, true});
  const std::vector<uint32_t> before = Layers();
  app.reset();  // the process dies: no End command

  host.messages.clear();
  host.messageAnswers = {MessageResult::Ok};
  Start();
  ASSERT_GE(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "前回フリーズしています。\nリドゥー復帰機能を使用しますか？\n");
  EXPECT_EQ(host.messages[0].caption, "リドゥー復帰機能");
  ASSERT_TRUE(State().canvas.HasPicture());
  EXPECT_EQ(State().canvas.Width(), 120);
  EXPECT_EQ(Layers(), before);
  EXPECT_TRUE(app->Menu().Enabled(cmd::kUndo));
}

TEST_F(SessionTest, DecliningRecoveryStartsAfreshAndRetiresTheOldJournal) {
  Start();
  NewPicture(50, 40);
  DrawCurve({{10, 10}, {40, 30}});
  app.reset();
  host.messageAnswers = {MessageResult::Cancel};
  Start();
  EXPECT_FALSE(State().canvas.HasPicture());
  EXPECT_FALSE(fs::exists(Resource("UndoFile00.dat")));
  EXPECT_EQ(testing::ReadFile(Resource("CurrentFileInfo.ini")),
            "CurrentFileWidth=01600\r\nCurrentFileHeight=01200\r\nCurrentFileName=./new.lmv\r\n");
}

// Layouts the reader accepts but the in-place update cannot write over (line feeds
// alone, numbers not of five digits) get a whole new file, and the next crash is
// still recovered from it.
TEST_F(SessionTest, ASessionFileOfAnotherLayoutIsWrittenAnewAndStillRecovers) {
  const std::string layouts[] = {
      "CurrentFileWidth=64\nCurrentFileHeight=48\nCurrentFileName=./new.lmv\n",
      "CurrentFileWidth=00064\nCurrentFileHeight=00048\nCurrentFileName=./new.lmv\n",
      "CurrentFileWidth=0000064\r\nCurrentFileHeight=48\r\nCurrentFileName=./new.lmv\r\n",
  };
  for (const std::string& layout : layouts) {
    SCOPED_TRACE(layout);
    for (const auto& entry : fs::directory_iterator(folder + "/LMV_Resource"))
      if (entry.path().filename().string().starts_with("UndoFile")) fs::remove(entry.path());
    fs::remove(Resource("CurrentFileInfo.ini"));
    host.messages.clear();
    Start();
    NewPicture(64, 48);
    std::ofstream(Resource("CurrentFileInfo.ini"), std::ios::binary) << layout;
    DrawCurve({{10, 10}, {50, 30}});
    EXPECT_EQ(testing::ReadFile(Resource("CurrentFileInfo.ini")),
              "CurrentFileWidth=00064\r\nCurrentFileHeight=00048\r\nCurrentFileName=./new.lmv\r\n");
    const std::vector<uint32_t> before = Layers();
    app.reset();

    host.messages.clear();
    host.messageAnswers = {MessageResult::Ok};
    Start();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(Resource("UndoFile00.dat")));
    ASSERT_TRUE(State().canvas.HasPicture());
    EXPECT_EQ(Layers(), before);
    app.reset();
  }
}

TEST_F(SessionTest, AGarbledSessionFileIsReportedAndIgnored) {
  fs::create_directories(folder + "/LMV_Resource");
  std::ofstream(Resource("CurrentFileInfo.ini")) << "CurrentFileWidth=99999\r\nx\r\n";
  host.messageAnswers = {MessageResult::Ok};
  Start();
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "カレントファイル情報ファイルが不正です。");
  EXPECT_FALSE(State().canvas.HasPicture());
}

}  // namespace
}  // namespace lumavex
