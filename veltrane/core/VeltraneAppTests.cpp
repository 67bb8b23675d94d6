// The tool driven through its menu commands in a temporary folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "platform/TestHost.h"
#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/core/CommandIds.h"
#include "veltrane/core/VeltraneApp.h"

namespace veltrane {
namespace {

using testing::Bytes;
using testing::Concat;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Text;
using testing::Word;

class VeltraneAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    std::filesystem::create_directory(work);
    host.trashDirectory = (folder / "trash").string();
  }

  VeltraneApp& StartWith(const std::string& ini) {
    Put(kIni, Text(ini));
    app =
        std::make_unique<VeltraneApp>(host, VeltraneConfig{work.string(), testing::PlentyOfMemory});
    app->Start();
    return *app;
  }
  void Put(const std::string& name, const Bytes& bytes) { testing::WriteBytes(work / name, bytes); }
  Bytes Get(const std::string& name) { return testing::ReadBytes(work / name); }
  std::vector<std::string> Names() { return testing::FolderNames(work); }
  const platform::ShownMessage& Last() { return host.messages.back(); }
  // Runs a command that must end the tool; returns the exit code.
  int EndingCommand(int id) {
    try {
      app->HandleCommand(id);
    } catch (const platform::ProcessEnded& ended) {
      return ended.exitCode;
    }
    ADD_FAILURE() << "the tool did not end";
    return 99;
  }

  static constexpr const char* kIni = "Compress.ini";
  testing::TempFolder folder;
  std::filesystem::path work = folder / "work";
  platform::TestHost host;
  std::unique_ptr<VeltraneApp> app;
};

TEST_F(VeltraneAppTest, WithoutCompressIniTheToolReportsAndEnds) {
  VeltraneApp tool(host, VeltraneConfig{work.string(), testing::PlentyOfMemory});
  try {
    tool.Start();
    FAIL() << "the tool did not end";
  } catch (const platform::ProcessEnded& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(Last().text, "ファイルオープン不可: Compress.ini\nNo Compress.ini in " +
                             std::filesystem::absolute(work).string() +
                             ": it must hold a line BackupPath=<folder of earlier archives> "
                             "(BackupPath= may be empty); ./tools/run-veltrane.sh starts "
                             "Veltrane in a ready example folder.");
  EXPECT_EQ(Last().caption, "エラー");
  EXPECT_EQ(Last().icon, platform::MessageIcon::Exclamation);
}

TEST_F(VeltraneAppTest, TheWindowShowsTheFolderTheBackupAndEachCommandsResult) {
  std::filesystem::create_directories(work / "backup");
  StartWith("BackupPath=backup\r\n");
  const std::string folderLine =
      "作業フォルダ( Folder): " + std::filesystem::absolute(work).string();
  EXPECT_THAT(app->StatusLines(), ElementsAre(folderLine, "バックアップ( Backup): backup",
                                              "結果( Result): choose a command of コマンド"));
  // Black text on the window colour in the first line's rows, under the strip.
  auto inked = [&](int top) {
    int count = 0;
    for (int y = top; y < top + kStatusLineHeight; ++y)
      for (int x = 0; x < 400; ++x) count += app->Surface().At(x, y) != kWindowColour;
    return count;
  };
  EXPECT_GT(inked(kStatusTop), 50);
  EXPECT_EQ(inked(kStatusTop + 3 * kStatusLineHeight), 0);

  for (const char* name : {"0000.bmp", "0001.bmp"}) Put(name, Bytes(100, 1));
  Put("0002.bmp", Bytes(60, 2));  // another size: a run of its own
  app->HandleCommand(cmd::kCompressPictures);
  EXPECT_EQ(app->StatusLines()[2], "結果( Result): 3 pictures compressed into 2 .VTZ files");
  app->HandleCommand(cmd::kArchiveAll);
  EXPECT_EQ(app->StatusLines()[2],
            "結果( Result): 2 archives made, 0 skipped as identical to the backup");
  // The same archives in the backup folder: both are left out the next time.
  for (const char* name : {"0001.bmp.VTZ.zip", "0002.bmp.VTZ.zip"})
    std::filesystem::copy_file(work / name, work / "backup" / name);
  app->HandleCommand(cmd::kArchiveAll);
  EXPECT_EQ(app->StatusLines()[2],
            "結果( Result): 0 archives made, 2 skipped as identical to the backup");
  app->HandleCommand(cmd::kExpandPictures);
  EXPECT_EQ(app->StatusLines()[2], "結果( Result): 2 .VTZ files expanded");
  app->HandleCommand(cmd::kExtractArchives);
  EXPECT_EQ(app->StatusLines()[2], "結果( Result): 0 archives extracted");
  EXPECT_GT(inked(kStatusTop + 2 * kStatusLineHeight), 50);
}

TEST_F(VeltraneAppTest, WithoutBackupPathTheWindowSaysNone) {
  StartWith("BackupPath=\r\n");
  EXPECT_EQ(app->StatusLines()[1], "バックアップ( Backup): none");
}

TEST_F(VeltraneAppTest, StartReadsTheBackupPathAndPublishesTheMenu) {
  StartWith("BackupPath=Q:\\ZipBackup\r\n");
  EXPECT_EQ(app->BackupPath(), "Q:\\ZipBackup");
  ASSERT_EQ(app->Menu().popups.size(), 1u);
  const auto& popup = app->Menu().popups[0];
  EXPECT_EQ(popup.caption, "コマンド");
  std::vector<int> ids;
  for (const auto& item : popup.items) ids.push_back(item.id);
  EXPECT_THAT(ids, ElementsAre(40009, 40008, 40007, 40004, 40003, 40002));
  EXPECT_EQ(popup.items[0].caption, "カレントフォルダの全 *.bmp *.lmv を *.VTZ に圧縮");
  EXPECT_EQ(popup.items[3].caption, "カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開");
  EXPECT_EQ(host.lastMenu, &app->Menu());
  EXPECT_EQ(app->Surface().Width(), 800);
  EXPECT_EQ(app->Surface().At(0, 0), kWindowColour);
}

TEST_F(VeltraneAppTest, CompressRecyclesOldFilesAndMakesOneFilePerRun) {
  StartWith("");
  for (const char* name : {"0000.bmp", "0001.bmp", "0002.bmp"}) Put(name, Bytes(100, 1));
  Put("0001.lmv", Bytes(10, 2));
  Put("old.VTZ", {0});
  app->HandleCommand(cmd::kCompressPictures);
  EXPECT_THAT(host.trashed, ElementsAre("old.VTZ"));
  EXPECT_THAT(Names(), ElementsAre("0000.bmp", "0001.bmp", "0001.lmv", "0001.lmv.VTZ", "0002.bmp",
                                   "0002.bmp.VTZ", "Compress.ini"));
  EXPECT_EQ(Last().text, "圧縮ファイルを作成しました。");
  EXPECT_EQ(Last().caption, "圧縮完了");
  EXPECT_EQ(app->Surface().At(0, 0), 0u);  // the strip ends black
  EXPECT_FALSE(host.presented.empty());
}

TEST_F(VeltraneAppTest, CompressOfAnEmptyFolderStillReportsSuccess) {
  StartWith("");
  Put("old.vtz", {0});
  app->HandleCommand(cmd::kCompressPictures);
  EXPECT_THAT(host.trashed, ElementsAre("old.vtz"));
  EXPECT_EQ(Last().text, "圧縮ファイルを作成しました。");
}

TEST_F(VeltraneAppTest, FailedRecycleIsReportedWithThePathAndTheCommandGoesOn) {
  StartWith("");
  Put("old.VTZ", {0});
  host.trashFails = true;
  app->HandleCommand(cmd::kCompressPictures);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, (work / "old.VTZ").string());
  EXPECT_EQ(host.messages[0].caption, "File をゴミ箱に移動できません");
  EXPECT_EQ(host.messages[1].text, "圧縮ファイルを作成しました。");
}

TEST_F(VeltraneAppTest, FailedWriteIsReportedInsteadOfSuccess) {
  StartWith("");
  Put("0000.lmv", testing::RandomBytes(100000, 1));
  {
    const testing::ScopedFileSizeLimit full(4096);
    app->HandleCommand(cmd::kCompressPictures);
  }
  EXPECT_THAT(host.MessageTexts(),
              ElementsAre("ファイル書き込み不可: 0000.lmv.VTZ\n処理を中断しました。"));
  EXPECT_THAT(Names(), ElementsAre("0000.lmv", "Compress.ini"));
}

TEST_F(VeltraneAppTest, ExpandOverwritesAndReports) {
  StartWith("");
  const Bytes first = testing::RandomBytes(1001, 2);
  Bytes second = first;
  second[500] ^= 1;
  Put("0001.lmv", first);
  Put("0000.lmv", second);
  app->HandleCommand(cmd::kCompressPictures);
  Put("0001.lmv", {0});
  std::filesystem::remove(work / "0000.lmv");
  app->HandleCommand(cmd::kExpandPictures);
  EXPECT_EQ(Get("0001.lmv"), first);
  EXPECT_EQ(Get("0000.lmv"), second);
  EXPECT_EQ(Last().text, "カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開しました。");
  EXPECT_EQ(Last().caption, "展開完了");
}

TEST_F(VeltraneAppTest, HostileVtzNameIsRefusedWithAMessage) {
  StartWith("");
  Put("evil.VTZ", Concat({Word(12), Text("../owned.bmp"), Word(1), Bytes(4, 0)}));
  app->HandleCommand(cmd::kExpandPictures);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_THAT(host.messages[0].text, HasSubstr("../owned.bmp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "owned.bmp"));
  EXPECT_EQ(Last().caption, "展開完了");
}

TEST_F(VeltraneAppTest, CorruptVtzEndsTheTool) {
  StartWith("");
  Put("bad.VTZ", Concat({Word(5), Text("a.bmp"), Word(1000), Bytes(10, 0)}));
  EXPECT_EQ(EndingCommand(cmd::kExpandPictures), 0);
  EXPECT_EQ(Last().text, "ファイル不正、リード不可。");
  EXPECT_EQ(Last().caption, "ERROR");
  EXPECT_FALSE(std::filesystem::exists(work / "a.bmp"));
}

TEST_F(VeltraneAppTest, MissingBackupFolderStopsTheArchiveCommand) {
  StartWith("BackupPath=" + (folder / "nowhere").string() + "\r\n");
  Put("old.zip", {0});
  Put("a.VTZ", {1});
  app->HandleCommand(cmd::kArchiveAll);
  EXPECT_THAT(host.MessageTexts(), ElementsAre("バックアップフォルダが存在しません。"));
  EXPECT_EQ(Last().caption, "処理中断");
  EXPECT_TRUE(host.trashed.empty());
  EXPECT_FALSE(std::filesystem::exists(work / "a.VTZ.zip"));
}

TEST_F(VeltraneAppTest, ArchivesIdenticalToTheBackupAreRecycled) {
  std::filesystem::create_directory(folder / "backup");
  StartWith("BackupPath=" + (folder / "backup").string() + "\r\n");
  Put("same.VTZ", testing::RandomBytes(5000, 3));
  Put("changed.wav", testing::RandomBytes(5000, 4));
  Put("old.zip", {0});
  app->HandleCommand(cmd::kArchiveAll);
  EXPECT_THAT(host.trashed, ElementsAre("old.zip"));
  for (const char* name : {"same.VTZ.zip", "changed.wav.zip"})
    std::filesystem::copy_file(work / name, folder / "backup" / name);
  Put("changed.wav", testing::RandomBytes(5000, 5));
  app->HandleCommand(cmd::kArchiveAll);
  EXPECT_THAT(host.trashed,
              ElementsAre("old.zip", "same.VTZ.zip", "changed.wav.zip", "same.VTZ.zip"));
  EXPECT_TRUE(std::filesystem::exists(work / "changed.wav.zip"));
  EXPECT_FALSE(std::filesystem::exists(work / "same.VTZ.zip"));
  EXPECT_EQ(Last().text, "圧縮ファイルを作成しました。");
}

TEST_F(VeltraneAppTest, WholeCycleGivesThePicturesBack) {
  StartWith("");
  std::vector<std::pair<std::string, Bytes>> pictures;
  for (int i = 0; i < 5; ++i)
    pictures.emplace_back("000" + std::to_string(i) + (i < 3 ? ".lmv" : ".bmp"),
                          testing::RandomBytes(i == 4 ? 77 : 4000, i < 3 ? 1 : 9));
  for (const auto& [name, bytes] : pictures) Put(name, bytes);
  Put("voice.wav", {1, 2, 3});
  app->HandleCommand(cmd::kCompressPictures);
  app->HandleCommand(cmd::kArchiveAll);
  for (const std::string& name : Names())
    if (name.size() < 4 || name.substr(name.size() - 4) != ".zip")
      std::filesystem::remove(work / name);
  app->HandleCommand(cmd::kExtractArchives);
  EXPECT_EQ(Last().text, "カレントフォルダの全 *.zip を展開しました。");
  app->HandleCommand(cmd::kExpandPictures);
  for (const auto& [name, bytes] : pictures) EXPECT_EQ(Get(name), bytes) << name;
  EXPECT_EQ(Get("voice.wav"), (Bytes{1, 2, 3}));
}

TEST_F(VeltraneAppTest, CorruptArchiveEndsTheToolAfterTwoMessages) {
  StartWith("");
  Put("broken.zip", testing::RandomBytes(300, 6));
  EXPECT_EQ(EndingCommand(cmd::kExtractArchives), -1);
  EXPECT_THAT(host.MessageTexts(), ElementsAre("SevenZip 関数失敗。\nbroken.zip", "エラー"));
}

TEST_F(VeltraneAppTest, HelpAndQuit) {
  StartWith("");
  app->HandleCommand(cmd::kHelp);
  EXPECT_EQ(Last().caption, "ヘルプ");
  for (const char* section : {"★圧縮方法", "★展開方法", "★インストール方法", "BackupPath="})
    EXPECT_THAT(Last().text, HasSubstr(section));
  app->HandleCommand(cmd::kQuit);
  EXPECT_EQ(host.quitCode, 1);
  app->HandleEvent(platform::CommandEvent{12345});
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace veltrane
