#include <gtest/gtest.h>

#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/Main.h"
#include "lumavex/shell/Status.h"
#include "platform/SingleInstanceLock.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;
using platform::DialogAttempt;
using platform::MessageResult;
using platform::ProcessEnded;
using testing::ProgramTest;
using testing::ReadFile;

DialogAttempt Ok(std::string width, std::string height) {
  return {{{1000, std::move(width)}, {1001, std::move(height)}}, {}, true};
}

TEST_F(ProgramTest, StartWritesAFreshSessionAndGreysThePictureCommands) {
  fs::create_directories(folder + "/LMV_Resource");
  std::ofstream(Resource("CurrentFileInfo.ini")) << "stale";
  Start();
  EXPECT_EQ(ReadFile(Resource("CurrentFileInfo.ini")),
            "CurrentFileWidth=01600\r\nCurrentFileHeight=01200\r\nCurrentFileName=./new.lmv\r\n");
  const auto& menu = app->Menu();
  EXPECT_FALSE(menu.Enabled(cmd::kSaveNative));
  EXPECT_FALSE(menu.Enabled(cmd::kCurve));
  EXPECT_TRUE(menu.Enabled(cmd::kNewPicture));
  EXPECT_TRUE(menu.Enabled(cmd::kEnd));
  for (int id : {cmd::kLoadSameSize, cmd::kXyOn, cmd::kSightOn, cmd::kBitmapView, cmd::kZoom100})
    EXPECT_TRUE(menu.Checked(id)) << id;
  EXPECT_TRUE(menu.Contains(cmd::kNewPicture));
  EXPECT_EQ(menu.statusItemId, cmd::kStatusItem);
  EXPECT_EQ(app->Surface().Width(), 400);
  EXPECT_EQ(app->Surface().Height(), 300);
  EXPECT_FALSE(State().canvas.HasPicture());
}

TEST_F(ProgramTest, NewPictureThroughDialog111) {
  Start();
  host.dialogScripts.push_back({Ok("20", "10")});
  Command(cmd::kNewPicture);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].id, 111);
  EXPECT_EQ(host.dialogs[0].title, "新規作成( New.)");
  EXPECT_EQ(host.dialogs[0].startTexts.at(1000), "1600");
  EXPECT_EQ(host.dialogs[0].startTexts.at(1001), "1200");

  const Canvas& canvas = State().canvas;
  ASSERT_TRUE(canvas.HasPicture());
  EXPECT_EQ(canvas.Width(), 20);
  EXPECT_EQ(canvas.Height(), 10);
  EXPECT_EQ(canvas.display.At(19, 9), 0x02FFFFFFu);
  EXPECT_EQ(State().currentFileName, "./new.lmv");
  EXPECT_TRUE(app->Menu().Enabled(cmd::kSaveNative));
  EXPECT_NE(std::find(host.statusTexts.begin(), host.statusTexts.end(), "★新規作成"),
            host.statusTexts.end());
  EXPECT_NE(std::find(host.statusTexts.begin(), host.statusTexts.end(), "★新規作成中..."),
            host.statusTexts.end());
  EXPECT_EQ(app->Menu().StatusText(), "★拡大率  100%");
  // The picture is shown at the top-left, black elsewhere, and the bar was presented.
  EXPECT_EQ(app->Surface().At(10, 5), 0x02FFFFFFu);
  EXPECT_EQ(app->Surface().At(25, 5), 0u);
  EXPECT_GT(host.presented.size(), 2u);
}

TEST_F(ProgramTest, Dialog111RefusesBadSidesInFieldOrderAndStaysOpen) {
  Start();
  host.dialogScripts.push_back({Ok("abc", "x"), Ok("1", "x"), Ok("30001", "x"), Ok("30", "x"),
                                Ok("30", "1"), Ok("30", "-5"), Ok("30", "99999"), Ok(" 30 ", "40")});
  Command(cmd::kNewPicture);
  std::vector<std::string> refusals;
  for (const auto& r : host.dialogs[0].refusals) {
    EXPECT_EQ(r.caption, "指定エラー");
    refusals.push_back(r.text);
  }
  EXPECT_EQ(refusals, (std::vector<std::string>{
                          "数値を入力して下さい。", "２以上の数値を入力して下さい。",
                          "３００００以下の数値を入力して下さい。", "数値を入力して下さい。",
                          "２以上の数値を入力して下さい。", "２以上の数値を入力して下さい。",
                          "３００００以下の数値を入力して下さい。"}));
  EXPECT_EQ(State().canvas.Width(), 30);
  EXPECT_EQ(State().canvas.Height(), 40);
}

TEST_F(ProgramTest, CancelOrRefusedAreaKeepsTheOldPicture) {
  Start();
  host.dialogScripts.push_back({Ok("20", "10")});
  Command(cmd::kNewPicture);
  State().canvas.display.At(0, 0) = 0x02000000;

  host.dialogScripts.push_back({{{}, {}, false}});
  Command(cmd::kNewPicture);
  memory.totalPhysical = 1000000;  // limit 43750 pixels
  host.dialogScripts.push_back({Ok("300", "300")});
  host.messageAnswers.push_back(MessageResult::No);
  Command(cmd::kNewPicture);

  EXPECT_EQ(host.messages.back().caption, "面積制限エラー");
  EXPECT_EQ(State().canvas.Width(), 20);
  EXPECT_EQ(State().canvas.display.At(0, 0), 0x02000000u);
  EXPECT_EQ(State().canvasWidth, 20);
  EXPECT_EQ(app->Menu().StatusText(), "");
}

TEST_F(ProgramTest, NewPictureNameStaysInThePreviousFolder) {
  Start();
  State().currentFileName = "/movies/cut12/0003.lmv";
  host.dialogScripts.push_back({Ok("4", "4")});
  Command(cmd::kNewPicture);
  EXPECT_EQ(State().currentFileName, "/movies/cut12/new.lmv");
}

TEST_F(ProgramTest, EndRecyclesSessionAndUndoFilesAndQuitsWithOne) {
  Start();
  for (const char* name : {"UndoFile00.dat", "UndoFile01.dat", "UndoFile.txt"})
    std::ofstream(Resource(name)) << "x";
  Command(cmd::kEnd);
  EXPECT_EQ(host.quitCode, 1);
  EXPECT_EQ(host.trashed,
            (std::vector<std::string>{"CurrentFileInfo.ini", "UndoFile00.dat", "UndoFile01.dat"}));
  EXPECT_FALSE(fs::exists(Resource("CurrentFileInfo.ini")));
  EXPECT_TRUE(fs::exists(Resource("UndoFile.txt")));
  EXPECT_TRUE(host.messages.empty());
  // After the end the window takes no more commands.
  Command(cmd::kNewPicture);
  EXPECT_TRUE(host.dialogs.empty());
}

TEST_F(ProgramTest, ATrashFailureIsShownWithTheFullPathAndTheEndGoesOn) {
  Start();
  std::ofstream(Resource("UndoFile00.dat")) << "x";
  host.trashFails = true;
  Command(cmd::kEnd);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].caption, "File をゴミ箱に移動できません");
  EXPECT_EQ(host.messages[0].text, fs::weakly_canonical(folder).string() + "/LMV_Resource/CurrentFileInfo.ini");
  EXPECT_EQ(host.messages[1].text, fs::weakly_canonical(folder).string() + "/LMV_Resource/UndoFile*.dat");
  EXPECT_EQ(host.quitCode, 1);
}

TEST_F(ProgramTest, ButtonSoundsPlayOnlyOnAPictureAndASecondPressIsIgnored) {
  Start();
  platform::MouseEvent press{platform::MouseEvent::Kind::Press, platform::MouseButton::Left, 5, 5};
  platform::MouseEvent release = press;
  release.kind = platform::MouseEvent::Kind::Release;
  app->HandleEvent(press);
  app->HandleEvent(release);
  EXPECT_TRUE(host.soundsPlayed.empty());

  host.dialogScripts.push_back({Ok("8", "8")});
  Command(cmd::kNewPicture);
  app->HandleEvent(press);
  app->HandleEvent(press);  // still held
  app->HandleEvent(release);
  press.button = release.button = platform::MouseButton::Right;
  app->HandleEvent(press);
  app->HandleEvent(release);
  ASSERT_EQ(host.soundsPlayed.size(), 2u);
  EXPECT_EQ(host.soundsPlayed[0].rfind("left_button_down", 0), 0u);
  EXPECT_EQ(host.soundsPlayed[1].rfind("right_button_down", 0), 0u);
}

TEST_F(ProgramTest, AMissingSoundFileEndsTheProgramWithItsPath) {
  Start();
  fs::remove(Resource("end.wav"));
  try {
    State().sound.PlayFeedbackSound("end.wav");
    FAIL() << "a missing sound file must end the program";
  } catch (const ProcessEnded& e) {
    EXPECT_EQ(e.exitCode, 0);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, Resource("end.wav"));
  EXPECT_EQ(host.messages[0].caption, "wav ファイルなし。");
}

TEST_F(ProgramTest, ASilentMachineIsReportedOnceAndSoundsAreStillTried) {
  Start();
  host.soundFails = true;
  State().sound.PlayFeedbackSound("end.wav");
  State().sound.PlayFeedbackSound("undo.wav");
  State().sound.PlayRandomFeedbackSound("save");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "他のメディアがWave音源を使用しているので、音無しで実行します。");
  EXPECT_EQ(host.messages[0].caption, "音無し実行");
  EXPECT_EQ(host.soundsPlayed.size(), 3u);
}

TEST_F(ProgramTest, RandomSoundsCoverAllEightFiles) {
  Start();
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) State().sound.PlayRandomFeedbackSound("load");
  seen.insert(host.soundsPlayed.begin(), host.soundsPlayed.end());
  EXPECT_EQ(seen.size(), 8u);
}

TEST_F(ProgramTest, TooLittleMemoryAtStartEndsWithTheGuardMessage) {
  memory.availablePageFile = 10485760;
  EXPECT_THROW(Start(), ProcessEnded);
  EXPECT_EQ(host.messages.at(0).caption, "ERROR");
}

TEST_F(ProgramTest, AMissingResourceFolderEndsTheStartWithTheSessionFileName) {
  fs::remove_all(folder + "/LMV_Resource");
  EXPECT_THROW(Start(), ProcessEnded);
  EXPECT_EQ(host.messages.at(0).text,
            "ファイルオープン不可: " + Resource("CurrentFileInfo.ini") + "\nNo resource folder " +
                folder +
                "/LMV_Resource: Lumavex runs in a working folder that holds LMV_Resource "
                "(sounds, session and undo files); ./tools/run-lumavex.sh makes "
                "run/LMV_Resource and starts it there.");
  EXPECT_EQ(host.messages.at(0).caption, "エラー");
}

TEST_F(ProgramTest, AResourceFolderWithoutRoomForTheSessionFileNamesOnlyTheFile) {
  // The session file's name leads into a folder that does not exist.
  fs::create_symlink(folder + "/nowhere/CurrentFileInfo.ini", Resource("CurrentFileInfo.ini"));
  EXPECT_THROW(Start(), ProcessEnded);
  EXPECT_EQ(host.messages.at(0).text, "ファイルオープン不可: " + Resource("CurrentFileInfo.ini"));
}

TEST_F(ProgramTest, MemoryCleaningShowsItsTextAndPutsTheOldOneBack) {
  memory.totalPhysical = 12288ull * 1000;  // 2000 blocks
  Start();
  SetStatusText(State(), "★before");
  Command(cmd::kCleanMemory);
  EXPECT_NE(std::find(host.statusTexts.begin(), host.statusTexts.end(), "★7MBメモリ掃除中..."),
            host.statusTexts.end());
  EXPECT_EQ(app->Menu().StatusText(), "★before");
  EXPECT_EQ(State().progress.Segments(), 500u);  // 2000 units, two per segment

  memory.availablePageFile = 10485760;  // nothing may be taken: stops at once
  Command(cmd::kCleanMemory);
  EXPECT_EQ(app->Menu().StatusText(), "★before");
}

TEST_F(ProgramTest, FreeMemoryAndMinimise) {
  memory.availablePageFile = 3ull << 30;
  memory.availablePhysical = 1536ull << 20;
  Start();
  Command(cmd::kFreeMemory);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "★仮想メモリ空き容量3072MB\n★物理メモリ空き容量1536MB\n");
  EXPECT_EQ(host.messages[0].caption, "現在の仮想メモリ空き容量");
  Command(cmd::kMinimise);
  EXPECT_EQ(host.minimiseCount, 1);
}

// A window system that creates the window and then plays a list of events.
class ScriptedWindows : public WindowSystem {
 public:
  explicit ScriptedWindows(platform::TestHost& host) : host_(host) {}
  std::vector<platform::WindowEvent> events;
  bool created = false;
  void CreateMainWindow(App& app) override {
    app_ = &app;
    app.Create(300, 200);
    created = true;
  }
  int RunMessageLoop() override {
    for (const auto& e : events) {
      app_->HandleEvent(e);
      if (host_.quitCode) return *host_.quitCode;
    }
    return -1;
  }

 private:
  platform::TestHost& host_;
  App* app_ = nullptr;
};

TEST_F(ProgramTest, ProgramEntryRunsUntilEndAndRefusesASecondCopy) {
  ScriptedWindows windows(host);
  windows.events = {platform::CommandEvent{cmd::kEnd}};
  {
    platform::SingleInstanceLock first(kInstanceLockName, folder);
    EXPECT_EQ(ProgramEntry(host, windows, config), 0);
    EXPECT_FALSE(windows.created);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "二重起動は出来ません。");
    EXPECT_EQ(host.messages[0].caption, "エラー");
  }
  EXPECT_EQ(ProgramEntry(host, windows, config), 1);
  EXPECT_TRUE(windows.created);
  EXPECT_FALSE(fs::exists(Resource("CurrentFileInfo.ini")));
}

}  // namespace
}  // namespace lumavex
