#include <gtest/gtest.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/core/CompressIni.h"

namespace veltrane {
namespace {

IniSettings ReadText(const std::string& text) {
  testing::TempFolder folder;
  testing::WriteBytes(folder / kCompressIniName, testing::Text(text));
  return ReadCompressIni(folder / kCompressIniName);
}

TEST(CompressIniTest, LineEndingIsCutFromTheBackupPath) {
  EXPECT_EQ(BackupPathFromLine("BackupPath=Q:\\ZipBackup\r\n"), "Q:\\ZipBackup");
  EXPECT_EQ(BackupPathFromLine("BackupPath=/srv/backup\n"), "/srv/backup");
  EXPECT_EQ(BackupPathFromLine("BackupPath=/srv/backup"), "/srv/backup");
  EXPECT_EQ(BackupPathFromLine("BackupPath=\r\n"), "");
  EXPECT_EQ(BackupPathFromLine("backuppath=/x\n"), std::nullopt);
  EXPECT_EQ(BackupPathFromLine(" BackupPath=/x\n"), std::nullopt);
}

TEST(CompressIniTest, LastBackupPathLineWins) {
  const IniSettings settings =
      ReadText("; settings\r\nBackupPath=Q:\\Old\r\nOther=1\r\nBackupPath=Q:\\ZipBackup\r\n");
  EXPECT_EQ(settings.status, IniStatus::Ok);
  EXPECT_EQ(settings.backupPath, "Q:\\ZipBackup");
  EXPECT_EQ(ReadText("").backupPath, "");
}

TEST(CompressIniTest, OverlongLinesAreReadInPiecesOf1023) {
  const std::string tail(1023, 'x');
  // The key at the start of the second piece counts as a line of its own.
  const IniSettings settings = ReadText(tail + "BackupPath=/piece\r\n");
  EXPECT_EQ(settings.backupPath, "/piece");
  EXPECT_EQ(ReadText("BackupPath=" + std::string(2000, 'a') + "\r\n").backupPath,
            std::string(1023 - 11, 'a'));
}

TEST(CompressIniTest, MissingFileIsAnOpenFailure) {
  testing::TempFolder folder;
  EXPECT_EQ(ReadCompressIni(folder / kCompressIniName).status, IniStatus::OpenFailed);
}

}  // namespace
}  // namespace veltrane
