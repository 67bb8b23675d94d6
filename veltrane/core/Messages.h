#pragma once
// The texts and captions of the tool's message boxes, and its exit codes.

#include <string>

namespace veltrane::text {

inline constexpr const char* kCaptionError = "エラー";
inline constexpr const char* kCaptionErrorLatin = "ERROR";
inline constexpr const char* kError = "エラー";

inline constexpr const char* kCorruptFile = "ファイル不正、リード不可。";
inline constexpr const char* kArchiverFailed = "SevenZip 関数失敗。";
inline constexpr const char* kOutputBlockFailed = "メモリ確保失敗。";
inline constexpr const char* kListMemoryFailed = "メモリが足りません。";

inline constexpr const char* kBackupMissing = "バックアップフォルダが存在しません。";
inline constexpr const char* kCaptionAborted = "処理中断";
inline constexpr const char* kCaptionTrashFailed = "File をゴミ箱に移動できません";

inline constexpr const char* kCompressed = "圧縮ファイルを作成しました。";
inline constexpr const char* kCaptionCompressed = "圧縮完了";
inline constexpr const char* kArchivesExtracted = "カレントフォルダの全 *.zip を展開しました。";
inline constexpr const char* kPicturesExpanded =
    "カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開しました。";
inline constexpr const char* kCaptionExpanded = "展開完了";
inline constexpr const char* kCaptionHelp = "ヘルプ";

inline std::string OpenFailed(const std::string& name) {
  return "ファイルオープン不可: " + name;
}

// "Compress.ini" is not in the working folder `folder`: the open failure, and a
// second line saying what the file must hold.
inline std::string CompressIniMissing(const std::string& folder) {
  return OpenFailed("Compress.ini") + "\nNo Compress.ini in " + folder +
         ": it must hold a line BackupPath=<folder of earlier archives> (BackupPath= may be "
         "empty); ./tools/run-veltrane.sh starts Veltrane in a ready example folder.";
}

// The archiver failed on the archive `archive`: the failure, and the archive's name
// on a second line.
inline std::string ArchiverFailed(const std::string& archive) {
  return std::string(kArchiverFailed) + "\n" + archive;
}

// A file could not be written completely (a full disk, a vanished folder); the
// command stops and nothing incomplete is left under the file's name.
inline std::string WriteFailed(const std::string& name) {
  return "ファイル書き込み不可: " + name + "\n処理を中断しました。";
}

// A name stored in a ".VTZ" file or an archive that would place a file outside the
// working folder; that one file is skipped.
inline std::string NameRefused(const std::string& name) {
  return "作業フォルダの外を指す名前のため展開しませんでした: " + name;
}
inline constexpr const char* kCaptionNameRefused = "展開スキップ";
inline std::string NameDuplicated(const std::string& name) {
  return "同じ名前のファイルを展開済みのため展開しませんでした: " + name;
}

// A picture whose size the format's 32-bit field cannot hold.
inline std::string PictureTooLarge(const std::string& name) {
  return "4GB 以上のファイルは圧縮できません: " + name + "\n処理を中断しました。";
}

}  // namespace veltrane::text

namespace veltrane {

// The tool's exit codes: the quit command, the fatal ends the tool reports as
// resource failures, and the failures of the archiver.
constexpr int kExitQuit = 1;
constexpr int kExitResourceFailure = 0;
constexpr int kExitArchiverFailure = -1;

}  // namespace veltrane
