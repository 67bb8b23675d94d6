#include "veltrane/core/ResultLine.h"

namespace veltrane::result {

namespace {

// "1 picture", "3 pictures".
std::string Count(size_t n, const std::string& thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

}  // namespace

std::string Compressed(size_t pictures, size_t vtzFiles) {
  return Count(pictures, "picture") + " compressed into " + Count(vtzFiles, ".VTZ file");
}

std::string Archived(size_t kept, size_t identical) {
  return Count(kept, "archive") + " made, " + std::to_string(identical) +
         " skipped as identical to the backup";
}

std::string BackupMissing() {
  return "nothing archived: the backup folder does not exist";
}

std::string Extracted(size_t archives) {
  return Count(archives, "archive") + " extracted";
}

std::string Expanded(size_t vtzFiles) {
  return Count(vtzFiles, ".VTZ file") + " expanded";
}

std::string Stopped(const std::string& what) {
  return what + " stopped at the error shown";
}

std::vector<std::string> StatusLines(const std::string& folder, const std::string& backupPath,
                                     const std::string& lastResult) {
  return {"作業フォルダ( Folder): " + folder,
          "バックアップ( Backup): " + (backupPath.empty() ? std::string("none") : backupPath),
          "結果( Result): " + (lastResult.empty() ? "choose a command of コマンド" : lastResult)};
}

}  // namespace veltrane::result
